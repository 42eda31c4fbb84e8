#pragma once

#include <QWidget>

#include "app/Session.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace sedilo::gui {

class BackgroundRun;
class ProgressBinding;

// Tab index 3, "考生查询数据导出": the query workbooks. They go to the output
// folder chosen on the generation tab, and so do the print-ready sheets of the
// group "打印用表". Both are background runs.
class ExportPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "考生查询数据导出";

    ExportPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
               QWidget* parent = nullptr);

    // Copies the chosen mode and sheets into the tab's state, and back.
    void pullFromWidgets();
    void pushToWidgets();

private slots:
    void onPushButton5Clicked(); // export the query workbooks
    void onPushButton4Clicked(); // open the output folder
    void onDyscbtClicked();      // write the print-ready sheets

private:
    session::Session& m_session;
    exporting::ExportTab& m_tab;
    const arrange::GenerateTab& m_generateTab;
    const rooms::RoomGrid& m_rooms;
    ShellDialogs& m_dialogs;
    Prompt& m_prompt;
    BackgroundRun& m_run;
    QGroupBox* m_gr;
    QRadioButton* m_dcfl1;
    QLabel* m_label1;
    QRadioButton* m_dcfl2;
    QLabel* m_label6;
    QLabel* m_label10;
    QPushButton* m_pushButton5;
    QPushButton* m_pushButton4;
    QProgressBar* m_cxdcscpro;
    QLabel* m_cxdcscts;
    ProgressBinding* m_progressBinding;
    QGroupBox* m_dyyb;   // 打印用表
    QCheckBox* m_dyqdb;  // 考场签到表
    QCheckBox* m_dymtb;  // 考场门贴
    QCheckBox* m_dyzwb;  // 考生座位表
    QPushButton* m_dyscbt;
};

} // namespace sedilo::gui
