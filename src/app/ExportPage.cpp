#include "ExportPage.h"

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

    connect(m_dcfl1, &QRadioButton::toggled, this, [this](bool checked) { m_tab.byUnit = checked; });
    connect(m_pushButton5, &QPushButton::clicked, this, &ExportPage::onPushButton5Clicked);
    connect(m_pushButton4, &QPushButton::clicked, this, &ExportPage::onPushButton4Clicked);
}

void ExportPage::pullFromWidgets()
{
    m_tab.byUnit = m_dcfl1->isChecked();
}

void ExportPage::pushToWidgets()
{
    (m_tab.byUnit ? m_dcfl1 : m_dcfl2)->setChecked(true);
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

} // namespace sedilo::gui
