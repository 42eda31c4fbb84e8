#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "app/Session.h"
#include "app/TabGuard.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

class QLabel;
class QTabWidget;

namespace sedilo::gui {

class BaseDataPage;
class ExportPage;
class GeneratePage;
class RoomsPage;

// The form `main`: the banner across the top and TabControl1 with one page
// per step of the work. It owns the session every operation works on.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Sedilo V1.0";

    MainWindow(const std::string& databasePath, Prompt& prompt, ShellDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What happens once when the window loads, before the user can act.
    void start();

    // Selects a tab as a program would, without the tab guard.
    void selectTabWithoutGuard(int index);

    // Copies every page's typed texts into the session, and back.
    void pullFromWidgets();
    void pushToWidgets();

    session::Session& session() { return *m_session; }
    QTabWidget* tabControl() const { return m_tabControl; }

private slots:
    void onTabChanged(int index);

private:
    Prompt& m_prompt;
    std::unique_ptr<session::Session> m_session;
    std::unique_ptr<session::TabGuard> m_guard;
    QLabel* m_image1;
    QTabWidget* m_tabControl;
    BaseDataPage* m_baseDataPage;
    RoomsPage* m_roomsPage;
    GeneratePage* m_generatePage;
    ExportPage* m_exportPage;
};

} // namespace sedilo::gui
