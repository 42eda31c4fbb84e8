#include "RoomsPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "Controls.h"
#include "ResizeAnchors.h"
#include "RoomGridModel.h"
#include "Twips.h"
#include "UiStyle.h"
#include "WorkbookDrop.h"
#include "rooms/DroppedTemplates.h"
#include "rooms/RoomEditor.h"
#include "rooms/RoomPersistence.h"
#include "rooms/TemplateSample.h"

namespace sedilo::gui {

namespace {
constexpr int kEntryRowTop = 1200;
constexpr int kEntryHeight = 315;
constexpr int kFramesTop = 4920;
constexpr int kFrameHeight = 840;
constexpr int kBoxTop = 360;
constexpr int kBoxHeight = 330;
constexpr int kRuleBoxTop = 240;
constexpr int kSideButtonLeft = 11220;
constexpr int kSideButtonWidth = 570;
constexpr int kSideButtonHeight = 495;
constexpr int kBottomButtonWidth = 2415;
constexpr int kBottomButtonHeight = 495;
constexpr int kColumnWidths[] = {2500, 7700};
} // namespace

RoomsPage::RoomsPage(session::Session& session, Prompt& prompt, ShellDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_session(session), m_tab(session.rooms), m_prompt(prompt), m_dialogs(dialogs)
{
    const QColor olive(192, 192, 0);
    // The group box reaches down to the tab control's bottom edge, which Qt's page frame takes a little of.
    m_groupBox1 = makeGroupBox(this, "GroupBox1", "考场参数", pageRect(120, 840, 11895, 6420));
    setBackgroundColor(m_groupBox1, olive);
    QWidget* box = m_groupBox1;

    m_label7 = makeLabel(box, "Label7", "设置方法：输入考室名称-->选择模板文件-->点击新增按钮。",
                         twipsRect(240, 600, 9000, 360));
    m_label7->setFont(songTi(12));

    m_label5 = makeLabel(box, "Label5", "考室名称", twipsRect(240, kEntryRowTop, 780, kEntryHeight));
    m_ksname = makeEdit(box, "ksname", m_tab.ksname.c_str(), twipsRect(1020, kEntryRowTop, 1275, kEntryHeight));
    m_label8 = makeLabel(box, "Label8", "考室模板", twipsRect(2385, kEntryRowTop, 780, kEntryHeight));
    m_ksmbpath = makeEdit(box, "ksmbpath", "", twipsRect(3165, kEntryRowTop, 7095, kEntryHeight));
    setGrows(m_ksmbpath, Qt::Horizontal);
    for (QLineEdit* edit : {m_ksname, m_ksmbpath})
        makeFlat(edit);
    m_szksbt = makeButton(box, "szksbt", "...", twipsRect(10320, kEntryRowTop - 30, 450, 375),
                          "选择Excel模板文件，第1行设置考室名称，从第2开始设置考生，保证每个考生单元格内必须要有姓名，"
                          "不会制作模板文件，请打开模板样例。");
    m_szksbt2 = makeButton(box, "szksbt2", "新  增", twipsRect(10830, kEntryRowTop - 30, 930, 375), "新增一个考室");

    m_ksgrid = makeGrid(box, "ksgrid", twipsRect(120, 1680, 11055, 2655));
    m_ksgrid->setToolTip(QStringLiteral("双击鼠标左键可打开模板文件"));
    m_ksgrid->setFont(songTi(9));
    m_ksgridModel = new RoomGridModel(m_tab.ksgrid, this);
    m_ksgrid->setModel(m_ksgridModel);

    m_pushButton8 = makeButton(box, "PushButton8", "修改", twipsRect(kSideButtonLeft, 2040, kSideButtonWidth, kSideButtonHeight),
                               "修改选择的考室");
    m_pushButton10 = makeButton(box, "PushButton10", "删除",
                                twipsRect(kSideButtonLeft, 2700, kSideButtonWidth, kSideButtonHeight), "删除选择的考室");
    m_pushButton18 = makeButton(box, "PushButton18", "清空",
                                twipsRect(kSideButtonLeft, 3360, kSideButtonWidth, kSideButtonHeight));

    m_kstjstr = makeLabel(box, "kstjstr", m_tab.kstjstr.c_str(), twipsRect(240, 4500, 11400, 330));

    m_frame1 = makeGroupBox(box, "Frame1", "排列方式(所有考室)", twipsRect(120, kFramesTop, 3480, kFrameHeight));
    m_frame2 = makeGroupBox(box, "Frame2", "排序方式(所有考生)", twipsRect(3720, kFramesTop, 8055, kFrameHeight));
    m_fillBoxes = {
        makeCheckBox(m_frame1, "plfscheck1", "横向S形排列", false, twipsRect(180, kBoxTop, 1620, kBoxHeight)),
        makeCheckBox(m_frame1, "plfscheck2", "纵向S形排列", true, twipsRect(1800, kBoxTop, 1620, kBoxHeight)),
    };
    m_orderingBoxes = {
        makeCheckBox(m_frame2, "pxfschek1", "姓名", false, twipsRect(240, kBoxTop, 1200, kBoxHeight)),
        makeCheckBox(m_frame2, "pxfschek2", "考号", false, twipsRect(1680, kBoxTop, 1200, kBoxHeight)),
        makeCheckBox(m_frame2, "pxfschek3", "成绩降序", true, twipsRect(3120, kBoxTop, 1500, kBoxHeight)),
        makeCheckBox(m_frame2, "pxfschek4", "成绩升序", false, twipsRect(4800, kBoxTop, 1500, kBoxHeight)),
        makeCheckBox(m_frame2, "pxfschek5", "随机排序", false, twipsRect(6480, kBoxTop, 1500, kBoxHeight)),
    };
    setBackgroundColor(m_frame1, olive);
    setBackgroundColor(m_frame2, olive);
    for (QCheckBox* check : m_fillBoxes)
        setBackgroundColor(check, olive);
    for (QCheckBox* check : m_orderingBoxes)
        setBackgroundColor(check, olive);

    // The seating rule sits with the other options, beside the bottom buttons.
    m_frame3 = makeGroupBox(box, "Frame3", "座位规则", twipsRect(7725, 5775, 4050, 615));
    m_tdwcheck = makeCheckBox(m_frame3, "tdwcheck", "同单位不相邻", m_tab.seatingRule.apart,
                              twipsRect(120, kRuleBoxTop, 1560, kBoxHeight));
    const bool side = m_tab.seatingRule.neighbourhood == rooms::Neighbourhood::Side;
    m_xlfs1 = makeRadioButton(m_frame3, "xlfs1", "前后左右", side, twipsRect(1740, kRuleBoxTop, 1140, kBoxHeight));
    m_xlfs2 = makeRadioButton(m_frame3, "xlfs2", "周围八格", !side, twipsRect(2880, kRuleBoxTop, 1140, kBoxHeight));
    m_tdwcheck->setToolTip(QStringLiteral("生成时让同一单位的考生不坐在相邻座位：前后左右或周围八格，按模板的座位单元格计算"));
    setBackgroundColor(m_frame3, olive);
    for (QWidget* control : std::initializer_list<QWidget*>{m_tdwcheck, m_xlfs1, m_xlfs2})
        setBackgroundColor(control, olive);

    const int bottomTop = 5880;
    m_pushButton9 = makeButton(box, "PushButton9", "模板文件样例",
                               twipsRect(120, bottomTop, kBottomButtonWidth, kBottomButtonHeight));
    m_pushButton13 = makeButton(box, "PushButton13", "保存考室数据到数据库",
                                twipsRect(2655, bottomTop, kBottomButtonWidth, kBottomButtonHeight));
    m_pushButton14 = makeButton(box, "PushButton14", "载入数据库的考室数据",
                                twipsRect(5190, bottomTop, kBottomButtonWidth, kBottomButtonHeight));

    WorkbookDrop::install(m_ksmbpath, WorkbookDrop::Count::One, [this](const QStringList& paths) {
        pullFromWidgets();
        m_tab.ksmbpath = paths.first().toStdString();
        pushToWidgets();
    });
    WorkbookDrop::install(m_ksgrid->viewport(), WorkbookDrop::Count::Several, [this](const QStringList& paths) {
        pullFromWidgets();
        std::vector<std::string> files;
        for (const QString& path : paths)
            files.push_back(path.toStdString());
        rooms::AddDroppedTemplates(m_tab, files, m_prompt);
        pushToWidgets();
        scrollToLastRoom();
    });

    connect(m_ksname, &QLineEdit::textChanged, this, [this](const QString& text) { m_tab.ksname = text.toStdString(); });
    connect(m_ksmbpath, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_tab.ksmbpath = text.toStdString(); });
    // Only a click applies the options' rule; a value set from code does not.
    for (int box = 0; box < static_cast<int>(m_fillBoxes.size()); ++box)
        connect(m_fillBoxes[box], &QCheckBox::clicked, this, [this, box] { onFillBoxClicked(box); });
    for (int box = 0; box < static_cast<int>(m_orderingBoxes.size()); ++box)
        connect(m_orderingBoxes[box], &QCheckBox::clicked, this, [this, box] { onOrderingBoxClicked(box); });
    for (QAbstractButton* control : std::initializer_list<QAbstractButton*>{m_tdwcheck, m_xlfs1, m_xlfs2})
        connect(control, &QAbstractButton::clicked, this, &RoomsPage::onSeatingRuleClicked);
    connect(m_szksbt, &QPushButton::clicked, this, &RoomsPage::onSzksbtClicked);
    connect(m_szksbt2, &QPushButton::clicked, this, &RoomsPage::onSzksbt2Clicked);
    connect(m_pushButton8, &QPushButton::clicked, this, &RoomsPage::onPushButton8Clicked);
    connect(m_pushButton10, &QPushButton::clicked, this, &RoomsPage::onPushButton10Clicked);
    connect(m_pushButton18, &QPushButton::clicked, this, &RoomsPage::onPushButton18Clicked);
    connect(m_pushButton9, &QPushButton::clicked, this, &RoomsPage::onPushButton9Clicked);
    connect(m_pushButton13, &QPushButton::clicked, this, &RoomsPage::onPushButton13Clicked);
    connect(m_pushButton14, &QPushButton::clicked, this, &RoomsPage::onPushButton14Clicked);
    connect(m_ksgrid, &QTableView::clicked, this, &RoomsPage::onKsgridClicked);
    connect(m_ksgrid, &QTableView::doubleClicked, this, &RoomsPage::onKsgridDoubleClicked);
    connect(m_ksgrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { followCurrentCell(current); });
    showOptions();
}

void RoomsPage::pullFromWidgets()
{
    m_tab.ksname = m_ksname->text().toStdString();
    m_tab.ksmbpath = m_ksmbpath->text().toStdString();
}

void RoomsPage::pushToWidgets()
{
    m_ksname->setText(QString::fromStdString(m_tab.ksname));
    m_ksmbpath->setText(QString::fromStdString(m_tab.ksmbpath));
    m_kstjstr->setText(QString::fromStdString(m_tab.kstjstr));
    m_ksgridModel->refresh();
    const int row = m_tab.ksgrid.Row() - 1;
    if (row >= 0 && row < m_ksgridModel->rowCount())
        m_ksgrid->setCurrentIndex(m_ksgridModel->index(row, m_tab.ksgrid.Col()));
    showOptions();
}

void RoomsPage::writeGridHeaders()
{
    rooms::writeRoomGridHeaders(m_tab.ksgrid);
    for (int column = 0; column < 2; ++column)
        m_ksgrid->setColumnWidth(column, twips(kColumnWidths[column]));
}

void RoomsPage::onFillBoxClicked(int box)
{
    m_tab.options.clickFillBox(box);
    showOptions();
}

void RoomsPage::onOrderingBoxClicked(int box)
{
    m_tab.options.clickOrderingBox(box);
    showOptions();
}

void RoomsPage::onSeatingRuleClicked()
{
    m_tab.seatingRule.apart = m_tdwcheck->isChecked();
    m_tab.seatingRule.neighbourhood = m_xlfs2->isChecked() ? rooms::Neighbourhood::Around : rooms::Neighbourhood::Side;
    showOptions();
}

void RoomsPage::showOptions()
{
    for (int box = 0; box < static_cast<int>(m_fillBoxes.size()); ++box)
        m_fillBoxes[box]->setChecked(m_tab.options.fillBox(box));
    for (int box = 0; box < static_cast<int>(m_orderingBoxes.size()); ++box)
        m_orderingBoxes[box]->setChecked(m_tab.options.orderingBox(box));
    m_tdwcheck->setChecked(m_tab.seatingRule.apart);
    (m_tab.seatingRule.neighbourhood == rooms::Neighbourhood::Around ? m_xlfs2 : m_xlfs1)->setChecked(true);
}

void RoomsPage::followCurrentCell(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    m_tab.ksgrid.setRow(index.row() + 1);
    m_tab.ksgrid.setCol(index.column());
}

void RoomsPage::onSzksbtClicked()
{
    pullFromWidgets();
    rooms::ChooseRoomTemplate(m_tab, m_dialogs);
    pushToWidgets();
}

void RoomsPage::onSzksbt2Clicked()
{
    pullFromWidgets();
    rooms::AddRoom(m_tab, m_prompt);
    pushToWidgets();
    scrollToLastRoom();
}

void RoomsPage::onPushButton8Clicked()
{
    pullFromWidgets();
    rooms::ModifyRoom(m_tab, m_prompt);
    pushToWidgets();
}

void RoomsPage::onPushButton10Clicked()
{
    rooms::DeleteRoom(m_tab, m_prompt);
    pushToWidgets();
}

void RoomsPage::onPushButton18Clicked()
{
    rooms::ClearRooms(m_tab, m_prompt);
    pushToWidgets();
}

void RoomsPage::onPushButton9Clicked()
{
    rooms::OpenTemplateSample(QCoreApplication::applicationDirPath().toStdString(), m_dialogs, m_prompt);
}

void RoomsPage::onPushButton13Clicked()
{
    rooms::SaveRooms(m_tab, m_session.database, m_prompt);
}

void RoomsPage::onPushButton14Clicked()
{
    rooms::LoadRooms(m_tab, m_session.database, m_prompt);
    pushToWidgets();
    // The loaded list is seen from its first room.
    m_ksgrid->scrollToTop();
}

void RoomsPage::scrollToLastRoom()
{
    const int rows = m_ksgridModel->rowCount();
    if (rows == 0)
        return;
    // The refreshed rows are laid out later; scrolling needs them now.
    m_ksgrid->doItemsLayout();
    m_ksgrid->scrollTo(m_ksgridModel->index(rows - 1, 0));
}

void RoomsPage::onKsgridClicked(const QModelIndex& index)
{
    followCurrentCell(index);
    pullFromWidgets();
    rooms::SelectRoom(m_tab);
    pushToWidgets();
}

void RoomsPage::onKsgridDoubleClicked(const QModelIndex& index)
{
    followCurrentCell(index);
    rooms::OpenRoomTemplate(m_tab, m_dialogs, m_prompt);
}

} // namespace sedilo::gui
