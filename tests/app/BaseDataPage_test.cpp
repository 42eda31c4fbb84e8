#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>
#include <thread>

#include "ControlChecks.h"
#include "WindowFixture.h"
#include "support/TempDir.h"

using namespace sedilo;

namespace {

QStringList gridRow(const QTableView* grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        cells << grid->model()->index(row, column).data().toString();
    return cells;
}

// The controls the user could act on during a run, one of each kind.
bool userControlsEnabled(const gui::MainWindow& window)
{
    for (const char* name : {"PushButton1", "PushButton12", "sjlj", "sjgrid", "szksbt2", "pxfschek1", "PushButton7",
                             "ksoutpath", "dcfl2", "PushButton5"}) {
        if (!window.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled())
            return false;
    }
    return window.tabControl()->tabBar()->isEnabled();
}

bool userControlsDisabled(const gui::MainWindow& window)
{
    for (const char* name : {"PushButton1", "PushButton12", "sjlj", "sjgrid", "szksbt2", "pxfschek1", "PushButton7",
                             "ksoutpath", "dcfl2", "PushButton5"}) {
        if (window.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled())
            return false;
    }
    return !window.tabControl()->tabBar()->isEnabled();
}

} // namespace

class BaseDataPageTest : public QObject {
    Q_OBJECT
private slots:
    void controlsHaveTheirNamesKindsAndTexts()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QWidget* page = window.tabControl()->widget(0);
        QCOMPARE(window.tabControl()->tabText(0), QStringLiteral("导入基础数据"));
        test::checkControls(page, {
            {"Label2", "QLabel", "说明：基础数据源是一个包含有姓名、考号、单位、成绩四个字段的Excel表，该表必须是一个规范的表，不能包含有合并单元格,"},
            {"Label3", "QLabel", "且第一行为字段名称行，顺序为A列：姓名(必填），B列:考号（必填）,C列:单位，D列:成绩(无成绩则默认为0)。"},
            {"Label4", "QLabel", "数据源路径"},
            {"sjlj", "QLineEdit", ""},
            {"PushButton2", "QPushButton", "选择数据源文件"},
            {"PushButton1", "QPushButton", "开始导入"},
            {"PushButton6", "QPushButton", "查看基础数据模板"},
            {"PushButton12", "QPushButton", "清空已导入的数据"},
            {"Prbar", "QProgressBar"},
            {"sjgrid", "QTableView"},
        });
    }

    void helpLinesAreBlueSongTi()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        for (const char* name : {"Label2", "Label3"}) {
            auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(label);
            QCOMPARE(label->font().family(), QStringLiteral("宋体"));
            QCOMPARE(label->font().pointSizeF(), 10.5);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        }
    }

    void layoutFollowsTheGivenSizesAndOrder()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(label2, QLabel, &window, "Label2");
        CONTROL(label3, QLabel, &window, "Label3");
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        CONTROL(prbar, QProgressBar, &window, "Prbar");
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        QCOMPARE(sjlj->width(), 265); // 3975 twips
        QCOMPARE(prbar->size(), QSize(792, 17));
        QCOMPARE(sjgrid->size(), QSize(792, 297));
        QCOMPARE(label3->y() - label2->y(), 32); // 1320 - 840 twips
        QCOMPARE(sjgrid->y() - prbar->y(), 24); // 2760 - 2400 twips

        int previousRight = sjlj->geometry().right();
        for (const char* name : {"PushButton2", "PushButton1", "PushButton6", "PushButton12"}) {
            auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
            QVERIFY(button);
            QCOMPARE(button->size(), QSize(113, 33));
            QVERIFY2(button->x() > previousRight, name);
            QVERIFY(button->geometry().bottom() < prbar->y());
            previousRight = button->geometry().right();
        }
    }

    void oneDroppedWorkbookAnywhereOnTheTabIsTheOneToImport()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QWidget* page = window.tabControl()->widget(0);
        CONTROL(sjlj, QLineEdit, page, "sjlj");
        CONTROL(sjgrid, QTableView, page, "sjgrid");
        QVERIFY(test::dropFiles(sjgrid, {QStringLiteral("/srv/名单.XLSX")}));
        QCOMPARE(sjlj->text(), QStringLiteral("/srv/名单.XLSX"));
        QVERIFY(test::dropFiles(sjlj, {QStringLiteral("/srv/b.xls")}));
        QCOMPARE(sjlj->text(), QStringLiteral("/srv/b.xls"));
        QVERIFY(!test::dropFiles(page, {QStringLiteral("/srv/a.xls"), QStringLiteral("/srv/b.xls")}));
        QVERIFY(!test::dropFiles(page, {QStringLiteral("/srv/a.csv")}));
        QCOMPARE(sjlj->text(), QStringLiteral("/srv/b.xls"));
        QCOMPARE(window.session().baseData.sjlj, std::string("/srv/b.xls"));
    }

    void gridShowsItsHeaderRowAndOneBlankRow()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        auto* model = sjgrid->model();
        QCOMPARE(model->columnCount(), 5);
        QCOMPARE(model->rowCount(), 1);
        const QStringList headers{"序 号", "姓   名", "考   号", "单   位", "成   绩"};
        const int widths[] = {67, 143, 143, 143, 143}; // 1000 and 2149 twips
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), headers[column]);
            // The last column takes the spare width besides its own.
            if (column < 4)
                QCOMPARE(sjgrid->columnWidth(column), widths[column]);
            else
                QVERIFY(sjgrid->columnWidth(column) >= widths[column]);
            QCOMPARE(model->index(0, column).data().toString(), QString());
        }
        QVERIFY(sjgrid->verticalHeader()->isHidden());
        QCOMPARE(sjgrid->font().family(), QStringLiteral("宋体"));
        QCOMPARE(sjgrid->font().pointSizeF(), 11.25);
        QCOMPARE(sjgrid->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(sjgrid->palette().color(QPalette::Highlight), QColor(0, 128, 128));
    }

    void gridAndProgressFollowTheCoreEvenFromAWorkerThread()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        CONTROL(prbar, QProgressBar, &window, "Prbar");
        auto& tab = window.session().baseData;

        std::thread worker([&tab] {
            tab.sjgrid.assign({basedata::ExamineeGrid::kHeaders, {"1", "张三", "1001", "一中", "95"},
                               {"2", "李四", "1002", "二中", ""}, {" ", "", "", "", ""}});
            tab.Prbar.setRange(0, 3);
            for (int value = 1; value <= 3; ++value)
                tab.Prbar.setValue(value);
        });
        worker.join();
        QTRY_COMPARE(sjgrid->model()->rowCount(), 3);
        QCOMPARE(sjgrid->model()->index(1, 1).data().toString(), QStringLiteral("李四"));
        QTRY_COMPARE(prbar->value(), 3);
        QCOMPARE(prbar->maximum(), 3);
    }

    void importFromAWorkbookRunsInTheBackgroundAndFillsTheGrid()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        CONTROL(prbar, QProgressBar, &window, "Prbar");
        CONTROL(choose, QPushButton, &window, "PushButton2");

        const std::string workbook = test::fixturePath("basedata-examinees.xlsx");
        fixture.dialogs.nextFile(workbook);
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(sjlj->text(), QString::fromStdString(workbook));
        QCOMPARE(fixture.dialogs.titles, std::vector<std::string>{"选择Excel文件"});

        // Every box of the run comes up while the window is locked, and none of them while the grid is read.
        std::vector<bool> lockedWhileShown;
        fixture.prompt.whileShown = [&](const std::string&) { lockedWhileShown.push_back(userControlsDisabled(window)); };
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{"导入过程中请勿进行任何操作！", "导入成功完成。"}));
        QCOMPARE(fixture.prompt.offUiThread, 0);
        QCOMPARE(lockedWhileShown, (std::vector<bool>{true, true}));
        QVERIFY(userControlsEnabled(window));

        QCOMPARE(sjgrid->model()->rowCount(), 4);
        QCOMPARE(gridRow(sjgrid, 0), (QStringList{"1", "张三", "20140001", "一班", "89"}));
        QCOMPARE(gridRow(sjgrid, 1), (QStringList{"2", "李四", "20140002", "", "89.5"}));
        QCOMPARE(gridRow(sjgrid, 2), (QStringList{"3", "王五", "20140003", "三班", ""}));
        QCOMPARE(gridRow(sjgrid, 3), (QStringList{" ", "", "", "", ""}));
        QCOMPARE(sjgrid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓   名"));
        QCOMPARE(prbar->maximum(), 6); // the last used row of the worksheet
        QCOMPARE(prbar->value(), 6);
        QCOMPARE(fixture.db.onDisk("select 考号, 单位, 成绩 from jcdata order by 考号"),
                 (std::vector<std::string>{"20140001|一班|89", "20140002||89.5", "20140003|三班|0"}));

        // The base data now let the user onto the room tab.
        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 1);
    }

    void aSecondImportReplacesTheRowsAndAFailedOneKeepsThem()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        QTest::keyClicks(sjlj, QString::fromStdString(test::fixturePath("basedata-examinees.xlsx")));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        sjlj->clear();
        QTest::keyClicks(sjlj, QString::fromStdString(test::fixturePath("basedata-blank-name.xlsx")));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QCOMPARE(sjgrid->model()->rowCount(), 3); // two examinees and the " " row, nothing of the first import
        QCOMPARE(gridRow(sjgrid, 1), (QStringList{"2", "乙", "1002", "一班", "91"}));
        QCOMPARE(gridRow(sjgrid, 2).first(), QStringLiteral(" "));

        fixture.prompt.clear();
        sjlj->clear();
        QTest::keyClicks(sjlj, QString::fromStdString(test::fixturePath("basedata-error-row50.xlsx")));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QCOMPARE(fixture.prompt.texts().back(), std::string("基础数据导入失败！"));
        QVERIFY(!fixture.prompt.shown().back().detail.empty());
        QCOMPARE(sjgrid->model()->rowCount(), 3);
        QCOMPARE(gridRow(sjgrid, 0), (QStringList{"1", "甲", "1001", "一班", "90"}));
        QCOMPARE(fixture.db.onDisk("select 考号 from jcdata order by 考号"), (std::vector<std::string>{"1001", "1002"}));
        QVERIFY(userControlsEnabled(window));

        fixture.prompt.clear();
        sjlj->setText(QStringLiteral("   "));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"没选择数据源文件！"});
    }

    void closingDuringAnImportWaitsForItsEnd()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        sjlj->setText(QString::fromStdString(test::fixturePath("basedata-examinees.xlsx")));
        bool closedDuringRun = true;
        fixture.prompt.whileShown = [&](const std::string& text) {
            if (text == "导入过程中请勿进行任何操作！") {
                window.close();
                closedDuringRun = !window.isVisible();
            }
        };
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QVERIFY(!closedDuringRun);
        QVERIFY(!window.isVisible()); // closed once the run had ended
        QCOMPARE(fixture.db.onDisk("select count(*) from jcdata"), std::vector<std::string>{"3"});

        // Destroying the window while a run goes on waits for the run, answering its boxes meanwhile.
        window.show();
        fixture.prompt.whileShown = {};
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("PushButton1")), Qt::LeftButton);
        QVERIFY(window.backgroundRun().isRunning());
        fixture.window.reset();
        QCOMPARE(fixture.prompt.texts().back(), std::string("导入成功完成。"));
    }

    void clearingEmptiesTheBaseDataAndTheGrid()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        sjlj->setText(QString::fromStdString(test::fixturePath("basedata-examinees.xlsx")));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        fixture.prompt.clear();

        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("PushButton12")), Qt::LeftButton);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"基础数据已清空！"});
        QCOMPARE(sjgrid->model()->rowCount(), 1);
        QCOMPARE(gridRow(sjgrid, 0), (QStringList{"", "", "", "", ""}));
        QCOMPARE(sjgrid->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("成   绩"));
        QCOMPARE(fixture.db.onDisk("select count(*) from jcdata"), std::vector<std::string>{"0"});
        QCOMPARE(sjlj->text(), QString::fromStdString(test::fixturePath("basedata-examinees.xlsx")));

        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 0);
        QCOMPARE(fixture.prompt.texts().back(), std::string("基础数据没导入，请先导入基础数据！"));
    }

    void sampleWorkbookGoesToTheDesktop()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        CONTROL(sample, QPushButton, &window, "PushButton6");
        QTest::mouseClick(sample, Qt::LeftButton);
        QTest::mouseClick(sample, Qt::LeftButton);
        QCOMPARE(fixture.dialogs.openedDocuments.size(), size_t(2));
        QVERIFY(fixture.dialogs.openedDocuments[0] != fixture.dialogs.openedDocuments[1]);
        for (const std::string& document : fixture.dialogs.openedDocuments)
            QVERIFY(std::filesystem::is_regular_file(document));
        QVERIFY(fixture.prompt.shown().empty());
    }

    void pathBoxAndStateStayInStep()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        QTest::keyClicks(sjlj, "/tmp/names.xlsx"); // typed as the user types
        QCOMPARE(window.session().baseData.sjlj, std::string("/tmp/names.xlsx"));
        window.session().baseData.sjlj = "/srv/名单.xls";
        window.pushToWidgets();
        QCOMPARE(sjlj->text(), QStringLiteral("/srv/名单.xls"));
    }
};

QTEST_MAIN(BaseDataPageTest)
#include "BaseDataPage_test.moc"
