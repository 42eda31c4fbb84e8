#include "ExportPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "BackgroundRun.h"
#include "Controls.h"
#include "ProgressBinding.h"
#include "Twips.h"
#include "UiStyle.h"
#include "export/QueryExport.h"
#include "export/print/PrintSheets.h"
#include "services/ShellFolders.h"

namespace sedilo::gui {

namespace {
constexpr int kLeft = 240;
constexpr int kButtonWidth = 1695;
constexpr int kButtonHeight = 495;
constexpr int kRadioWidth = 1860;
constexpr int kRowHeight = 330;
} // namespace

ExportPage::ExportPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
                       QWidget* parent)
    : QWidget(parent), m_session(session), m_tab(session.exporting), m_generateTab(session.generate),
      m_rooms(session.rooms.ksgrid),
      m_dialogs(dialogs), m_prompt(prompt), m_run(run)
{
    const QColor orange(255, 192, 128);
    m_gr = makeGroupBox(this, "gr", "分类关键字", pageRect(kLeft, 840, 7935, 2175));
    setBackgroundColor(m_gr, orange);
    m_dcfl1 = makeRadioButton(m_gr, "dcfl1", "按单位分类导出", m_tab.byUnit, twipsRect(240, 600, kRadioWidth, kRowHeight));
    m_label1 = makeLabel(m_gr, "Label1", "(一个单位生成一个Excel文件，将会生成若干个Excel文件)",
                         twipsRect(240 + kRadioWidth, 600, 5700, kRowHeight));
    m_dcfl2 = makeRadioButton(m_gr, "dcfl2", "不进行分类导出", !m_tab.byUnit, twipsRect(240, 1320, kRadioWidth, kRowHeight));
    m_label6 = makeLabel(m_gr, "Label6", "(所有考生生成一个Excel文件，将会生成一个Excel文件)",
                         twipsRect(240 + kRadioWidth, 1320, 5700, kRowHeight));
    setBackgroundColor(m_dcfl1, orange);
    setBackgroundColor(m_dcfl2, orange);

    m_label10 = makeLabel(this, "Label10", "注：所有生成的文件都将保存到“考室编排文件生成路径”下。",
                          pageRect(kLeft, 3240, 9000, kRowHeight));
    setTextColor(m_label10, QColor(255, 0, 0));

    const int actionsTop = 3780;
    m_pushButton5 = makeButton(this, "PushButton5", "生成查询数据文件", pageRect(kLeft, actionsTop, kButtonWidth, kButtonHeight));
    m_pushButton4 = makeButton(this, "PushButton4", "打开输出文件夹",
                               pageRect(kLeft + kButtonWidth + 120, actionsTop, kButtonWidth, kButtonHeight));

    m_cxdcscpro = makeProgressBar(this, "cxdcscpro", pageRect(kLeft, 4500, 11640, 255));
    m_cxdcscts = makeLabel(this, "cxdcscts", "", pageRect(kLeft, 4860, 11640, kRowHeight));
    m_progressBinding = new ProgressBinding(m_tab.cxdcscpro, m_cxdcscpro, m_cxdcscts, this);

    // Beside the export's mode, the same height; the sheets go to the same folder.
    const int printLeft = kLeft + 7935 + 240;
    m_dyyb = makeGroupBox(this, "dyyb", "打印用表", pageRect(printLeft, 840, 3225, 2175));
    m_dyqdb = makeCheckBox(m_dyyb, "dyqdb", "考场签到表", m_tab.printSheets.signIn, twipsRect(240, 360, 2700, kRowHeight));
    m_dymtb = makeCheckBox(m_dyyb, "dymtb", "考场门贴", m_tab.printSheets.door, twipsRect(240, 780, 2700, kRowHeight));
    m_dyzwb = makeCheckBox(m_dyyb, "dyzwb", "考生座位表", m_tab.printSheets.lookup, twipsRect(240, 1200, 2700, kRowHeight));
    m_dyscbt = makeButton(m_dyyb, "dyscbt", "生成打印用表", twipsRect(240, 1560, kButtonWidth, kButtonHeight));

    connect(m_dcfl1, &QRadioButton::toggled, this, [this](bool checked) { m_tab.byUnit = checked; });
    connect(m_pushButton5, &QPushButton::clicked, this, &ExportPage::onPushButton5Clicked);
    connect(m_pushButton4, &QPushButton::clicked, this, &ExportPage::onPushButton4Clicked);
    connect(m_dyscbt, &QPushButton::clicked, this, &ExportPage::onDyscbtClicked);
}

void ExportPage::pullFromWidgets()
{
    m_tab.byUnit = m_dcfl1->isChecked();
    m_tab.printSheets = {m_dyqdb->isChecked(), m_dymtb->isChecked(), m_dyzwb->isChecked()};
}

void ExportPage::pushToWidgets()
{
    (m_tab.byUnit ? m_dcfl1 : m_dcfl2)->setChecked(true);
    m_dyqdb->setChecked(m_tab.printSheets.signIn);
    m_dymtb->setChecked(m_tab.printSheets.door);
    m_dyzwb->setChecked(m_tab.printSheets.lookup);
    m_progressBinding->apply();
}

void ExportPage::onPushButton4Clicked()
{
    OpenOutputFolder(OutputFolderButton::PushButton4, m_generateTab.ksoutpath, m_dialogs, m_prompt);
}

void ExportPage::onPushButton5Clicked()
{
    pullFromWidgets();
    m_run.start(
        [this, folder = m_generateTab.ksoutpath] {
            exporting::ExportQueryWorkbooks(m_tab, folder, m_session.database, m_prompt);
        },
        [this] { pushToWidgets(); });
}

void ExportPage::onDyscbtClicked()
{
    pullFromWidgets();
    // The room list is read here: the run itself must not touch the window's state.
    m_run.start(
        [this, folder = m_generateTab.ksoutpath, rooms = m_rooms.roomNames(), choice = m_tab.printSheets] {
            exporting::WritePrintSheets(choice, folder, rooms, m_session.database, m_prompt);
        },
        [this] { pushToWidgets(); });
}

} // namespace sedilo::gui
