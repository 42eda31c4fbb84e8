#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>

#include "ControlChecks.h"
#include "WindowFixture.h"
#include "support/TempDir.h"

using namespace sedilo;

namespace {

const std::string kDoNotOperate = "生成过程中请勿进行任何操作（更不能启动或打开任何Excel表）！";

// The file names in a folder, sorted.
QStringList filesIn(const std::filesystem::path& folder)
{
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names << QString::fromStdString(entry.path().filename().string());
    names.sort();
    return names;
}

} // namespace

class GenerateAndExportPagesTest : public QObject {
    Q_OBJECT
private slots:
    void generationTabControls()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QCOMPARE(window.tabControl()->tabText(2), QStringLiteral("生成考室编排表"));
        test::checkControls(window.tabControl()->widget(2), {
            {"Label13", "QLabel", "考室编排文件生成路径"},
            {"ksoutpath", "QLineEdit", ""},
            {"PushButton3", "QPushButton", "选择路径"},
            {"Label9", "QLabel", "方法：选择生成路径-->点击生成编排文件按钮。"},
            {"PushButton7", "QPushButton", "生成编排文件"},
            {"ksscpro", "QProgressBar"},
            {"scts", "QLabel", ""},
            {"PushButton11", "QPushButton", "打开输出文件夹"},
        });
        CONTROL(label9, QLabel, &window, "Label9");
        QCOMPARE(label9->font().family(), QStringLiteral("宋体"));
        QCOMPARE(label9->font().pointSizeF(), 10.5);
    }

    void exportTabControls()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QCOMPARE(window.tabControl()->tabText(3), QStringLiteral("考生查询数据导出"));
        QWidget* page = window.tabControl()->widget(3);
        CONTROL(gr, QGroupBox, page, "gr");
        QCOMPARE(gr->title(), QStringLiteral("分类关键字"));
        QCOMPARE(gr->size(), QSize(529, 145)); // 7935 x 2175 twips
        test::checkControls(gr, {
            {"dcfl1", "QRadioButton", "按单位分类导出"},
            {"Label1", "QLabel", "(一个单位生成一个Excel文件，将会生成若干个Excel文件)"},
            {"dcfl2", "QRadioButton", "不进行分类导出"},
            {"Label6", "QLabel", "(所有考生生成一个Excel文件，将会生成一个Excel文件)"},
        });
        test::checkControls(page, {
            {"Label10", "QLabel", "注：所有生成的文件都将保存到“考室编排文件生成路径”下。"},
            {"PushButton5", "QPushButton", "生成查询数据文件"},
            {"PushButton4", "QPushButton", "打开输出文件夹"},
            {"cxdcscpro", "QProgressBar"},
            {"cxdcscts", "QLabel", ""},
        });
        CONTROL(dcfl1, QRadioButton, gr, "dcfl1");
        CONTROL(dcfl2, QRadioButton, gr, "dcfl2");
        CONTROL(label1, QLabel, gr, "Label1");
        CONTROL(label10, QLabel, page, "Label10");
        QVERIFY(dcfl1->isChecked());
        QVERIFY(!dcfl2->isChecked());
        QVERIFY(label1->x() > dcfl1->geometry().right()); // beside its radio button
        QCOMPARE(label10->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        for (QWidget* widget : std::initializer_list<QWidget*>{gr, dcfl1, dcfl2})
            QCOMPARE(test::backgroundOf(widget), QColor(255, 192, 128));
    }

    void exportModeFollowsTheRadioButtons()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(3);
        CONTROL(dcfl1, QRadioButton, &window, "dcfl1");
        CONTROL(dcfl2, QRadioButton, &window, "dcfl2");
        QVERIFY(window.session().exporting.byUnit);
        QTest::mouseClick(dcfl2, Qt::LeftButton, {}, QPoint(8, dcfl2->height() / 2));
        QVERIFY(!window.session().exporting.byUnit);
        QVERIFY(!dcfl1->isChecked());
        QTest::mouseClick(dcfl1, Qt::LeftButton, {}, QPoint(8, dcfl1->height() / 2));
        QVERIFY(window.session().exporting.byUnit);
    }

    void importRoomsGenerateAndExportEndToEnd()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        test::TempDir out;

        // Tab 0: the shipped demo list, 70 examinees in three units.
        fixture.dialogs.nextFile(test::dataPath("demo-examinees.xlsx"));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("PushButton2")), Qt::LeftButton);
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        QCOMPARE(fixture.prompt.texts().back(), std::string("导入成功完成。"));

        // Tab 1: three rooms of 30 seats.
        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 1);
        CONTROL(ksmbpath, QLineEdit, &window, "ksmbpath");
        QTest::keyClicks(ksmbpath, QString::fromStdString(test::dataPath("ksmb.xlsx")));
        for (int room = 0; room < 3; ++room)
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("szksbt2")), Qt::LeftButton);

        // Tab 2: the output folder, then the run.
        fixture.clickTab(2);
        QCOMPARE(window.tabControl()->currentIndex(), 2);
        fixture.dialogs.nextFolder(out.path().string());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("PushButton3")), Qt::LeftButton);
        CONTROL(ksscpro, QProgressBar, &window, "ksscpro");
        CONTROL(scts, QLabel, &window, "scts");
        CONTROL(generate, QPushButton, &window, "PushButton7");
        std::vector<bool> lockedWhileShown;
        QString progressBehindLastBox;
        fixture.prompt.whileShown = [&](const std::string&) {
            lockedWhileShown.push_back(!generate->isEnabled() && !window.tabControl()->tabBar()->isEnabled());
            progressBehindLastBox = QStringLiteral("%1/%2 %3").arg(ksscpro->value()).arg(ksscpro->maximum()).arg(scts->text());
        };
        fixture.prompt.clear();
        QVERIFY(fixture.clickAndWaitForRun("PushButton7"));
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{kDoNotOperate, "所有考室生成完成！"}));
        QCOMPARE(lockedWhileShown, (std::vector<bool>{true, true}));
        QCOMPARE(progressBehindLastBox, QStringLiteral("70/70 正在生成第70位考生考室数据"));
        QCOMPARE(fixture.prompt.offUiThread, 0);
        QVERIFY(generate->isEnabled() && window.tabControl()->tabBar()->isEnabled());
        QCOMPARE(filesIn(out.path()), (QStringList{"第1考室.xlsx", "第2考室.xlsx", "第3考室.xlsx"}));
        QVERIFY(!ksscpro->isHidden() && !scts->isHidden());
        QCOMPARE(ksscpro->maximum(), 70);
        QCOMPARE(ksscpro->value(), 70);
        QCOMPARE(scts->text(), QStringLiteral("所有考室生成完成！"));
        QCOMPARE(fixture.db.onDisk("select count(*) from jcdatatp where 考室 = '第3考室'"), std::vector<std::string>{"10"});

        // Tab 3: open now that an arrangement exists; one workbook per unit, then one for all.
        fixture.prompt.whileShown = {};
        fixture.prompt.clear();
        fixture.clickTab(3);
        QCOMPARE(window.tabControl()->currentIndex(), 3);
        CONTROL(cxdcscts, QLabel, &window, "cxdcscts");
        CONTROL(cxdcscpro, QProgressBar, &window, "cxdcscpro");
        QVERIFY(cxdcscts->isHidden());
        QVERIFY(fixture.clickAndWaitForRun("PushButton5"));
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{kDoNotOperate, "所有考生查询数据导出完毕！"}));
        QCOMPARE(filesIn(out.path()), (QStringList{"初三一班.xlsx", "初三三班.xlsx", "初三二班.xlsx", "第1考室.xlsx",
                                                   "第2考室.xlsx", "第3考室.xlsx"}));
        QVERIFY(!cxdcscts->isHidden());
        QCOMPARE(cxdcscts->text(), QStringLiteral("所有考生查询数据导出完毕！"));
        QCOMPARE(cxdcscpro->value(), cxdcscpro->maximum());

        CONTROL(dcfl2, QRadioButton, &window, "dcfl2");
        QTest::mouseClick(dcfl2, Qt::LeftButton, {}, QPoint(8, dcfl2->height() / 2));
        QVERIFY(fixture.clickAndWaitForRun("PushButton5"));
        QVERIFY(filesIn(out.path()).contains(QStringLiteral("所有考生查询数据导出.xlsx")));
        QCOMPARE(fixture.prompt.texts().back(), std::string("所有考生查询数据导出完毕！"));

        // The print-ready sheets: all three ticked at first; the unticked one is not written.
        CONTROL(dymtb, QCheckBox, &window, "dymtb");
        for (const char* box : {"dyqdb", "dymtb", "dyzwb"})
            QVERIFY(window.findChild<QCheckBox*>(QString::fromLatin1(box))->isChecked());
        dymtb->click();
        QVERIFY(fixture.clickAndWaitForRun("dyscbt"));
        QCOMPARE(fixture.prompt.texts().back(), std::string("打印用表（考场签到表、考生座位表）生成完毕！"));
        QVERIFY(filesIn(out.path()).contains(QStringLiteral("考场签到表.xlsx")));
        QVERIFY(filesIn(out.path()).contains(QStringLiteral("考生座位表.xlsx")));
        QVERIFY(!filesIn(out.path()).contains(QStringLiteral("考场门贴.xlsx")));
        QCOMPARE(fixture.prompt.offUiThread, 0);
    }

    void generationStopsAtAMissingTemplateAndLeavesTheExportTabClosed()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.findChild<QLineEdit*>(QStringLiteral("sjlj"))
            ->setText(QString::fromStdString(test::fixturePath("basedata-examinees.xlsx")));
        QVERIFY(fixture.clickAndWaitForRun("PushButton1"));
        test::TempDir out;
        auto& rooms = window.session().rooms;
        rooms.ksgrid.setTextMatrix(1, 0, "第1考室");
        rooms.ksgrid.setTextMatrix(1, 1, out.file("none.xlsx"));
        fixture.clickTab(1);
        fixture.clickTab(2);
        QCOMPARE(window.tabControl()->currentIndex(), 2);
        fixture.prompt.clear();
        QVERIFY(fixture.clickAndWaitForRun("PushButton7")); // no output folder yet
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"没选择考室文件生成路径！"});

        QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("ksoutpath")), QString::fromStdString(out.folderText()));
        fixture.prompt.clear();
        QVERIFY(fixture.clickAndWaitForRun("PushButton7"));
        const std::string missing = "“" + out.file("none.xlsx") + "”模板文件不存在！";
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{kDoNotOperate, missing}));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("scts"))->text(), QString::fromStdString(missing));
        QVERIFY(filesIn(out.path()).isEmpty());

        fixture.prompt.clear();
        fixture.clickTab(3);
        QCOMPARE(window.tabControl()->currentIndex(), 2);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"没生成考室编排表，请先生成考室编排表！"});
    }

    void choosingTheOutputFolderAddsTheSeparatorAndCancelKeepsTheText()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(2);
        CONTROL(button, QPushButton, &window, "PushButton3");
        CONTROL(ksoutpath, QLineEdit, &window, "ksoutpath");
        fixture.dialogs.nextFolder("/home/exam/考场");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(ksoutpath->text(), QStringLiteral("/home/exam/考场/"));
        QCOMPARE(window.session().generate.ksoutpath, std::string("/home/exam/考场/"));
        QCOMPARE(fixture.dialogs.titles, std::vector<std::string>{"选择考室编排文件生成路径"});

        QTest::mouseClick(button, Qt::LeftButton); // cancelled
        QCOMPARE(ksoutpath->text(), QStringLiteral("/home/exam/考场/"));
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"是否清空上次保留的基础数据？"}); // no other box
    }

    void theTwoOpenFolderButtonsTreatEmptyTextDifferently()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        CONTROL(ksoutpath, QLineEdit, &window, "ksoutpath");
        CONTROL(open11, QPushButton, &window, "PushButton11");
        CONTROL(open4, QPushButton, &window, "PushButton4");

        window.selectTabWithoutGuard(2);
        QTest::mouseClick(open11, Qt::LeftButton);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"没选择考室文件生成路径！"});
        QCOMPARE(fixture.prompt.shown()[0].style, PromptStyle::Error);
        window.selectTabWithoutGuard(3);
        QTest::mouseClick(open4, Qt::LeftButton);
        QCOMPARE(fixture.prompt.shown().size(), size_t(1));
        QVERIFY(fixture.dialogs.openedFolders.empty());

        // Text typed without the separator goes to the file browser as typed, from both tabs.
        window.selectTabWithoutGuard(2);
        QTest::keyClicks(ksoutpath, "/srv/out");
        QTest::mouseClick(open11, Qt::LeftButton);
        window.selectTabWithoutGuard(3);
        QTest::mouseClick(open4, Qt::LeftButton);
        QCOMPARE(fixture.dialogs.openedFolders, (std::vector<std::string>{"/srv/out", "/srv/out"}));
    }
};

QTEST_MAIN(GenerateAndExportPagesTest)
#include "GenerateAndExportPages_test.moc"
