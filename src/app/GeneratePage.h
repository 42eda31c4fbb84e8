#pragma once

#include <QWidget>

#include "app/Session.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace sedilo::gui {

class BackgroundRun;
class ProgressBinding;

// Tab index 2, "生成考室编排表": the output folder and the generation run,
// which is a background run.
class GeneratePage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "生成考室编排表";

    GeneratePage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
                 QWidget* parent = nullptr);

    // Copies the texts typed into the page into the tab's state, and back.
    void pullFromWidgets();
    void pushToWidgets();

    // The seats of the room list against the examinees, before the run.
    void showCapacity();

private slots:
    void onPushButton3Clicked();  // choose the output folder
    void onPushButton7Clicked();  // generate the room workbooks
    void onPushButton11Clicked(); // open the output folder

private:
    session::Session& m_session;
    arrange::GenerateTab& m_tab;
    ShellDialogs& m_dialogs;
    Prompt& m_prompt;
    BackgroundRun& m_run;
    QLabel* m_label9;
    QLabel* m_label13;
    QLineEdit* m_ksoutpath;
    QPushButton* m_pushButton3;
    QPushButton* m_pushButton7;
    QPushButton* m_pushButton11;
    QProgressBar* m_ksscpro;
    QLabel* m_scts;
    QLabel* m_zwtjstr2; // the seats against the examinees, before the run
    ProgressBinding* m_progressBinding;
};

} // namespace sedilo::gui
