#include "BaseDataPage.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include "BackgroundRun.h"
#include "Controls.h"
#include "ExamineeGridModel.h"
#include "ProgressBinding.h"
#include "ResizeAnchors.h"
#include "Twips.h"
#include "UiStyle.h"
#include "WorkbookDrop.h"
#include "basedata/BaseDataImport.h"
#include "basedata/ClearBaseData.h"

namespace sedilo::gui {

namespace {
constexpr int kLeft = 120;
constexpr int kButtonRowTop = 1800;
constexpr int kButtonWidth = 1695;
constexpr int kButtonHeight = 495;
constexpr int kEditHeight = 315;
constexpr int kColumnWidths[] = {1000, 2149, 2149, 2149, 2149};
} // namespace

BaseDataPage::BaseDataPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, BackgroundRun& run,
                           QWidget* parent)
    : QWidget(parent), m_session(session), m_tab(session.baseData), m_prompt(prompt), m_dialogs(dialogs), m_run(run)
{
    const QColor blue(0, 0, 255);
    m_label2 = makeLabel(this, "Label2",
                         "说明：基础数据源是一个包含有姓名、考号、单位、成绩四个字段的Excel表，"
                         "该表必须是一个规范的表，不能包含有合并单元格,",
                         pageRect(kLeft, 840, 11880, 330));
    m_label3 = makeLabel(this, "Label3",
                         "且第一行为字段名称行，顺序为A列：姓名(必填），B列:考号（必填）,C列:单位，"
                         "D列:成绩(无成绩则默认为0)。",
                         pageRect(kLeft, 1320, 11880, 330));
    for (QLabel* label : {m_label2, m_label3}) {
        label->setFont(songTi(10.5));
        setTextColor(label, blue);
    }

    const int editTop = kButtonRowTop + (kButtonHeight - kEditHeight) / 2;
    m_label4 = makeLabel(this, "Label4", "数据源路径", pageRect(kLeft, editTop, 1000, kEditHeight));
    m_sjlj = makeEdit(this, "sjlj", "", pageRect(1140, editTop, 3975, kEditHeight));
    setGrows(m_sjlj, Qt::Horizontal);

    int left = 5175;
    auto nextButton = [&](const char* name, const char* text) {
        QPushButton* button = makeButton(this, name, text, pageRect(left, kButtonRowTop, kButtonWidth, kButtonHeight));
        left += kButtonWidth + 15;
        return button;
    };
    m_pushButton2 = nextButton("PushButton2", "选择数据源文件");
    m_pushButton1 = nextButton("PushButton1", "开始导入");
    m_pushButton6 = nextButton("PushButton6", "查看基础数据模板");
    m_pushButton12 = nextButton("PushButton12", "清空已导入的数据");

    m_prbar = makeProgressBar(this, "Prbar", pageRect(kLeft, 2400, 11880, 255));
    m_prbarBinding = new ProgressBinding(m_tab.Prbar, m_prbar, nullptr, this);

    m_sjgrid = makeGrid(this, "sjgrid", pageRect(kLeft, 2760, 11880, 4455));
    m_sjgrid->setFont(songTi(11.25));
    QPalette palette = m_sjgrid->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0, 128, 128));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    m_sjgrid->setPalette(palette);
    m_sjgridModel = new ExamineeGridModel(m_tab.sjgrid, this);
    m_sjgrid->setModel(m_sjgridModel);

    // A workbook dropped anywhere on the tab is the one to import.
    for (QWidget* target : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_sjlj)})
        WorkbookDrop::install(target, WorkbookDrop::Count::One, [this](const QStringList& paths) {
            m_tab.sjlj = paths.first().toStdString();
            pushToWidgets();
        });

    connect(m_sjlj, &QLineEdit::textChanged, this, [this](const QString& text) { m_tab.sjlj = text.toStdString(); });
    connect(m_pushButton2, &QPushButton::clicked, this, &BaseDataPage::onPushButton2Clicked);
    connect(m_pushButton1, &QPushButton::clicked, this, &BaseDataPage::onPushButton1Clicked);
    connect(m_pushButton6, &QPushButton::clicked, this, &BaseDataPage::onPushButton6Clicked);
    connect(m_pushButton12, &QPushButton::clicked, this, &BaseDataPage::onPushButton12Clicked);
}

void BaseDataPage::pullFromWidgets()
{
    m_tab.sjlj = m_sjlj->text().toStdString();
}

void BaseDataPage::pushToWidgets()
{
    m_sjlj->setText(QString::fromStdString(m_tab.sjlj));
    m_sjgridModel->refresh();
    m_prbarBinding->apply();
}

void BaseDataPage::writeGridHeaders()
{
    m_tab.sjgrid.reset();
    for (int column = 0; column < 5; ++column)
        m_sjgrid->setColumnWidth(column, twips(kColumnWidths[column]));
}

void BaseDataPage::onPushButton2Clicked()
{
    basedata::ChooseDataFile(m_tab, m_dialogs);
    pushToWidgets();
}

void BaseDataPage::onPushButton1Clicked()
{
    pullFromWidgets();
    // The import replaces the grid from its thread at the end.
    m_sjgridModel->suspend();
    const bool started = m_run.start(
        [this] { basedata::ImportBaseData(m_tab, m_session.database, m_session.cipher, m_prompt); },
        [this] {
            m_sjgridModel->resume();
            pushToWidgets();
        });
    if (!started)
        m_sjgridModel->resume();
}

void BaseDataPage::onPushButton6Clicked()
{
    m_sample.show(m_dialogs, m_prompt);
}

void BaseDataPage::onPushButton12Clicked()
{
    basedata::ClearBaseData(m_tab, m_session.database, m_prompt);
    pushToWidgets();
}

} // namespace sedilo::gui
