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

class BackgroundRun;
class BaseDataPage;
class ExportPage;
class GeneratePage;
class RoomsPage;
class UiThreadPrompt;

// The form `main`: the banner across the top and TabControl1 with one page
// per step of the work. It owns the session every operation works on. While a
// long operation runs off the user-interface thread the controls are disabled
// and closing waits for the run's end.
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
    // The long operations; its `finished` signal tells when one has ended.
    BackgroundRun& backgroundRun() { return *m_run; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void onTabChanged(int index);

private:
    void setControlsEnabled(bool enabled);
    // The banner, the tab control and every page's controls for the window's size.
    void placeControls();
    void onRunFinished();

    // Every message box goes through this, whichever thread shows it.
    UiThreadPrompt* m_prompt;
    BackgroundRun* m_run;
    bool m_closeWhenRunEnds = false;
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
