#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>

#include "ControlChecks.h"
#include "WindowFixture.h"

using namespace sedilo;

namespace {

const char* const kFillBoxes[] = {"plfscheck1", "plfscheck2"};
const char* const kOrderingBoxes[] = {"pxfschek1", "pxfschek2", "pxfschek3", "pxfschek4", "pxfschek5"};

QString tickedBoxes(const QWidget* root)
{
    QStringList ticked;
    for (const char* name : kFillBoxes)
        if (root->findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked())
            ticked << QString::fromLatin1(name);
    for (const char* name : kOrderingBoxes)
        if (root->findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked())
            ticked << QString::fromLatin1(name);
    return ticked.join(QLatin1Char(' '));
}

// A click on the box's indicator, as the user makes it.
void click(QWidget* root, const char* name)
{
    auto* box = root->findChild<QCheckBox*>(QString::fromLatin1(name));
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

} // namespace

class RoomsPageTest : public QObject {
    Q_OBJECT
private slots:
    void controlsHaveTheirNamesKindsTextsAndTooltips()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QWidget* page = window.tabControl()->widget(1);
        QCOMPARE(window.tabControl()->tabText(1), QStringLiteral("设置考室参数"));
        CONTROL(groupBox1, QGroupBox, page, "GroupBox1");
        QCOMPARE(groupBox1->title(), QStringLiteral("考场参数"));
        test::checkControls(groupBox1, {
            {"Label5", "QLabel", "考室名称"},
            {"ksname", "QLineEdit", "第1考室"},
            {"Label8", "QLabel", "考室模板"},
            {"ksmbpath", "QLineEdit", ""},
            {"szksbt", "QPushButton", "...",
             "选择Excel模板文件，第1行设置考室名称，从第2开始设置考生，保证每个考生单元格内必须要有姓名，不会制作模板文件，请打开模板样例。"},
            {"szksbt2", "QPushButton", "新  增", "新增一个考室"},
            {"Label7", "QLabel", "设置方法：输入考室名称-->选择模板文件-->点击新增按钮。"},
            {"ksgrid", "QTableView", nullptr, "双击鼠标左键可打开模板文件"},
            {"PushButton8", "QPushButton", "修改", "修改选择的考室"},
            {"PushButton10", "QPushButton", "删除", "删除选择的考室"},
            {"PushButton18", "QPushButton", "清空"},
            {"kstjstr", "QLabel", "当前共有0考室"},
            {"Frame1", "QGroupBox", "排列方式(所有考室)"},
            {"Frame2", "QGroupBox", "排序方式(所有考生)"},
            {"PushButton9", "QPushButton", "模板文件样例"},
            {"PushButton13", "QPushButton", "保存考室数据到数据库"},
            {"PushButton14", "QPushButton", "载入数据库的考室数据"},
        });
        CONTROL(frame1, QGroupBox, page, "Frame1");
        CONTROL(frame2, QGroupBox, page, "Frame2");
        test::checkControls(frame1, {{"plfscheck1", "QCheckBox", "横向S形排列"}, {"plfscheck2", "QCheckBox", "纵向S形排列"}});
        test::checkControls(frame2, {
            {"pxfschek1", "QCheckBox", "姓名"},
            {"pxfschek2", "QCheckBox", "考号"},
            {"pxfschek3", "QCheckBox", "成绩降序"},
            {"pxfschek4", "QCheckBox", "成绩升序"},
            {"pxfschek5", "QCheckBox", "随机排序"},
        });
        QCOMPARE(tickedBoxes(page), QStringLiteral("plfscheck2 pxfschek3"));
    }

    void fontsColoursAndSizes()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(label7, QLabel, &window, "Label7");
        CONTROL(ksgrid, QTableView, &window, "ksgrid");
        QCOMPARE(label7->font().family(), QStringLiteral("宋体"));
        QCOMPARE(label7->font().pointSizeF(), 12.0);
        QCOMPARE(ksgrid->font().pointSizeF(), 9.0);
        QCOMPARE(ksgrid->size(), QSize(737, 177)); // 11055 x 2655 twips
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("ksmbpath"))->width(), 473);
        for (const char* name : {"PushButton9", "PushButton13", "PushButton14"})
            QCOMPARE(window.findChild<QWidget*>(QString::fromLatin1(name))->size(), QSize(161, 33));

        const QColor olive(192, 192, 0);
        for (const char* name : {"GroupBox1", "Frame1", "Frame2", "plfscheck1", "plfscheck2", "pxfschek1",
                                 "pxfschek2", "pxfschek3", "pxfschek4", "pxfschek5"}) {
            auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(widget->autoFillBackground(), name);
            QCOMPARE(test::backgroundOf(widget), olive);
        }

        // The three side buttons stand at the grid's right, one above the other.
        int previousBottom = ksgrid->y();
        for (const char* name : {"PushButton8", "PushButton10", "PushButton18"}) {
            auto* button = window.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(button->x() > ksgrid->geometry().right(), name);
            QVERIFY2(button->y() > previousBottom, name);
            previousBottom = button->geometry().bottom();
        }
    }

    void gridShowsItsHeaderRowWithTheGivenWidths()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(ksgrid, QTableView, &window, "ksgrid");
        QCOMPARE(ksgrid->model()->columnCount(), 2);
        QCOMPARE(ksgrid->model()->rowCount(), 1);
        QCOMPARE(ksgrid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("考室名称"));
        QCOMPARE(ksgrid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("考室模板文件"));
        QCOMPARE(ksgrid->columnWidth(0), 167); // 2500 twips
        QCOMPARE(ksgrid->columnWidth(1), 513); // 7700 twips
    }

    void gridShowsRoomsWithTheirColoursAndFollowsTheCurrentCell()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(ksgrid, QTableView, &window, "ksgrid");
        auto& grid = window.session().rooms.ksgrid;
        grid.setRows(3);
        grid.setTextMatrix(1, 0, "第1考室");
        grid.setTextMatrix(2, 0, "第2考室");
        grid.setTextMatrix(2, 1, "/tmp/缺失.xlsx");
        grid.setRow(2);
        grid.setCol(1);
        grid.setCurrentCellColor(0xFF0000);
        QCOMPARE(ksgrid->model()->rowCount(), 2);
        QCOMPARE(ksgrid->model()->index(1, 0).data().toString(), QStringLiteral("第2考室"));
        QCOMPARE(ksgrid->model()->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!ksgrid->model()->index(0, 1).data(Qt::ForegroundRole).isValid());

        window.selectTabWithoutGuard(1);
        QTest::mouseClick(ksgrid->viewport(), Qt::LeftButton, {}, ksgrid->visualRect(ksgrid->model()->index(0, 0)).center());
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.Col(), 0);
    }

    void optionRuleRunsOnClicksOnly()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        const auto& options = window.session().rooms.options;

        click(page, "plfscheck1");
        QCOMPARE(tickedBoxes(page), QStringLiteral("plfscheck1 pxfschek3"));
        QCOMPARE(options.fillDirection(), rooms::FillDirection::Horizontal);
        click(page, "plfscheck2");
        QCOMPARE(tickedBoxes(page), QStringLiteral("plfscheck2 pxfschek3"));
        click(page, "plfscheck2"); // unticking the ticked box leaves none: vertical all the same
        QCOMPARE(tickedBoxes(page), QStringLiteral("pxfschek3"));
        QCOMPARE(options.fillDirection(), rooms::FillDirection::Vertical);

        click(page, "pxfschek5");
        QCOMPARE(tickedBoxes(page), QStringLiteral("pxfschek5"));
        QCOMPARE(options.ordering(), rooms::ExamineeOrdering::Random);
        for (const char* name : kOrderingBoxes) {
            click(page, name);
            QCOMPARE(tickedBoxes(page), QString::fromLatin1(name));
        }
        click(page, "pxfschek5"); // the last one ticked
        QCOMPARE(tickedBoxes(page), QString());
        QVERIFY(!options.ordering());

        // A value set from code is not a click: the rule does not run and the state does not change.
        page->findChild<QCheckBox*>(QStringLiteral("pxfschek1"))->setChecked(true);
        page->findChild<QCheckBox*>(QStringLiteral("pxfschek2"))->setChecked(true);
        QCOMPARE(tickedBoxes(page), QStringLiteral("pxfschek1 pxfschek2"));
        QVERIFY(!options.ordering());
        window.pushToWidgets();
        QCOMPARE(tickedBoxes(page), QString());
    }

    void entryBoxesAndStateStayInStep()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(ksname, QLineEdit, &window, "ksname");
        CONTROL(kstjstr, QLabel, &window, "kstjstr");
        ksname->clear();
        QTest::keyClicks(ksname, "A101");
        QCOMPARE(window.session().rooms.ksname, std::string("A101"));
        window.session().rooms.ksname = "第2考室";
        window.session().rooms.kstjstr = "当前共有1间考室";
        window.pushToWidgets();
        QCOMPARE(ksname->text(), QStringLiteral("第2考室"));
        QCOMPARE(kstjstr->text(), QStringLiteral("当前共有1间考室"));
    }
};

QTEST_MAIN(RoomsPageTest)
#include "RoomsPage_test.moc"
