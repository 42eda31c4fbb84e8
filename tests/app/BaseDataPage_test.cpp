#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <thread>

#include "ControlChecks.h"
#include "WindowFixture.h"

using namespace sedilo;

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
            QCOMPARE(sjgrid->columnWidth(column), widths[column]);
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
