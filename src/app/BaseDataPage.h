#pragma once

#include <QWidget>

#include "app/Session.h"
#include "basedata/BaseDataSample.h"
#include "services/Prompt.h"
#include "services/ShellDialogs.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace sedilo::gui {

class BackgroundRun;
class ExamineeGridModel;
class ProgressBinding;

// Tab index 0, "导入基础数据": importing the examinees. The import runs as a
// background run; the grid shows nothing of it until it has ended.
class BaseDataPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "导入基础数据";

    BaseDataPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
                 QWidget* parent = nullptr);

    // Copies the texts typed into the page into the tab's state, and back.
    void pullFromWidgets();
    void pushToWidgets();

    // Start-up: the header texts of sjgrid and its column widths.
    void writeGridHeaders();

private slots:
    void onPushButton2Clicked(); // choose the base-data workbook
    void onPushButton1Clicked(); // import
    void onPushButton6Clicked(); // show the sample workbook
    void onPushButton12Clicked(); // clear the base data

private:
    session::Session& m_session;
    basedata::BaseDataTab& m_tab;
    Prompt& m_prompt;
    ShellDialogs& m_dialogs;
    BackgroundRun& m_run;
    basedata::BaseDataSample m_sample;
    QLabel* m_label2;
    QLabel* m_label3;
    QLabel* m_label4;
    QLineEdit* m_sjlj;
    QPushButton* m_pushButton2;
    QPushButton* m_pushButton1;
    QPushButton* m_pushButton6;
    QPushButton* m_pushButton12;
    QProgressBar* m_prbar;
    QTableView* m_sjgrid;
    ExamineeGridModel* m_sjgridModel;
    ProgressBinding* m_prbarBinding;
};

} // namespace sedilo::gui
