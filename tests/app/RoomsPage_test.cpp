#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>

#include "ControlChecks.h"
#include "WindowFixture.h"
#include "support/TempDir.h"

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

void press(QWidget* root, const char* name)
{
    auto* button = root->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces the text of a box as typing over a selection does (QTest types Latin-1 only).
void type(QWidget* root, const char* name, const std::string& text)
{
    auto* edit = root->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY2(edit, name);
    edit->selectAll();
    edit->insert(QString::fromStdString(text));
}

QPoint cellCentre(QTableView* grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// A double click as the window system delivers it: a click, then the double-click event.
void doubleClick(QTableView* grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
}

QStringList roomList(const QTableView* grid)
{
    QStringList rows;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        rows << grid->model()->index(row, 0).data().toString() + QLatin1Char('|')
                    + grid->model()->index(row, 1).data().toString();
    return rows;
}

QWidget* shownToolTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return widget;
    return nullptr;
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
        // The flat edit boxes take the window's font, as the plain sjlj does.
        CONTROL(sjlj, QLineEdit, &window, "sjlj");
        for (const char* name : {"ksname", "ksmbpath", "ksoutpath"}) {
            auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
            QCOMPARE(edit->font(), sjlj->font());
            QCOMPARE(QFontInfo(edit->font()).family(), QFontInfo(sjlj->font()).family());
        }
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

    void enterPressesTheFocusedButton()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        for (QPushButton* button : window.findChildren<QPushButton*>())
            QVERIFY2(button->autoDefault(), qPrintable(button->objectName()));
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        type(page, "ksmbpath", test::dataPath("ksmb.xlsx"));
        CONTROL(szksbt2, QPushButton, page, "szksbt2");
        szksbt2->setFocus();
        QTest::keyClick(szksbt2, Qt::Key_Return);
        QCOMPARE(page->findChild<QLabel*>(QStringLiteral("kstjstr"))->text(), QStringLiteral("当前共有1间考室"));
    }

    void longTooltipWrapsInsideTheWindow()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(1);
        CONTROL(szksbt, QPushButton, &window, "szksbt");
        const QPoint at = szksbt->rect().center();
        QHelpEvent hover(QEvent::ToolTip, at, szksbt->mapToGlobal(at));
        QCoreApplication::sendEvent(szksbt, &hover);
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = shownToolTip()));
        const QRect frame = window.frameGeometry();
        QVERIFY2(tip->width() <= frame.width() * 2 / 3, qPrintable(QString::number(tip->width())));
        QVERIFY(tip->geometry().left() >= frame.left() && tip->geometry().right() <= frame.right());
        QVERIFY(tip->height() >= 2 * tip->fontMetrics().height()); // more than one line
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
        QVERIFY(ksgrid->columnWidth(1) >= 513); // 7700 twips, and the spare width
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

    void seatingRuleStartsOffAndFollowsItsClicks()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        CONTROL(frame3, QGroupBox, page, "Frame3");
        QCOMPARE(frame3->title(), QStringLiteral("座位规则"));
        test::checkControls(frame3, {
            {"tdwcheck", "QCheckBox", "同单位不相邻",
             "生成时让同一单位的考生不坐在相邻座位：前后左右或周围八格，按模板的座位单元格计算"},
            {"xlfs1", "QRadioButton", "前后左右"},
            {"xlfs2", "QRadioButton", "周围八格"},
        });
        CONTROL(tdwcheck, QCheckBox, frame3, "tdwcheck");
        CONTROL(xlfs1, QRadioButton, frame3, "xlfs1");
        CONTROL(xlfs2, QRadioButton, frame3, "xlfs2");
        const auto& rule = window.session().rooms.seatingRule;
        QVERIFY(!tdwcheck->isChecked());
        QVERIFY(xlfs1->isChecked());
        QVERIFY(!rule.apart);

        click(page, "tdwcheck");
        QTest::mouseClick(xlfs2, Qt::LeftButton, {}, QPoint(8, xlfs2->height() / 2));
        QVERIFY(rule.apart);
        QCOMPARE(rule.neighbourhood, rooms::Neighbourhood::Around);
        QTest::mouseClick(xlfs1, Qt::LeftButton, {}, QPoint(8, xlfs1->height() / 2));
        click(page, "tdwcheck");
        QVERIFY(!rule.apart);
        QCOMPARE(rule.neighbourhood, rooms::Neighbourhood::Side);
        // Nothing on the page hides it.
        QVERIFY(frame3->geometry().bottom() < page->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->height());
        QVERIFY(frame3->geometry().top() > page->findChild<QGroupBox*>(QStringLiteral("Frame2"))->geometry().bottom());
    }

    void droppedWorkbooksBecomeTheTemplateOrNewRoomsAndTheLastRoomIsShown()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        CONTROL(ksgrid, QTableView, page, "ksgrid");
        CONTROL(ksmbpath, QLineEdit, page, "ksmbpath");
        const QString sample = QString::fromStdString(test::dataPath("ksmb.xlsx"));

        QVERIFY(test::dropFiles(ksmbpath, {sample}));
        QCOMPARE(ksmbpath->text(), sample);
        QVERIFY(!test::dropFiles(ksmbpath, {sample, sample}));
        QVERIFY(!test::dropFiles(ksmbpath, {QStringLiteral("/tmp/notes.txt")}));
        QCOMPARE(ksmbpath->text(), sample);

        // More rooms than the grid shows at once: the last one comes into view.
        QStringList templates;
        for (int room = 0; room < 12; ++room)
            templates << QStringLiteral("/srv/rooms/%1.xlsx").arg(room);
        templates << QStringLiteral("/srv/rooms/readme.txt");
        QVERIFY(test::dropFiles(ksgrid->viewport(), templates));
        QCOMPARE(ksgrid->model()->rowCount(), 12);
        QCOMPARE(ksgrid->model()->index(11, 0).data().toString(), QStringLiteral("第12考室"));
        QCOMPARE(ksgrid->model()->index(11, 1).data().toString(), QStringLiteral("/srv/rooms/11.xlsx"));
        QVERIFY(ksgrid->viewport()->rect().contains(ksgrid->visualRect(ksgrid->model()->index(11, 0))));
        QCOMPARE(ksmbpath->text(), sample);
        QVERIFY(fixture.prompt.shown().empty());
    }

    void roomsAreAddedModifiedDeletedAndClearedByTheButtons()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        CONTROL(ksgrid, QTableView, page, "ksgrid");
        CONTROL(ksname, QLineEdit, page, "ksname");
        CONTROL(ksmbpath, QLineEdit, page, "ksmbpath");
        CONTROL(kstjstr, QLabel, page, "kstjstr");
        const std::string sample = test::dataPath("ksmb.xlsx");

        press(page, "szksbt2"); // no template yet
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"考室名称、考室模板没设置！"});
        fixture.dialogs.nextFile("  " + sample + " ");
        press(page, "szksbt");
        QCOMPARE(ksmbpath->text(), QString::fromStdString(sample));
        QCOMPARE(fixture.dialogs.titles, std::vector<std::string>{"选择Excel模板文件"});
        for (int room = 0; room < 3; ++room)
            press(page, "szksbt2");
        const QString path = QString::fromStdString(sample);
        QCOMPARE(roomList(ksgrid), (QStringList{"第1考室|" + path, "第2考室|" + path, "第3考室|" + path}));
        QCOMPARE(ksname->text(), QStringLiteral("第4考室"));
        QCOMPARE(kstjstr->text(), QStringLiteral("当前共有3间考室"));

        fixture.prompt.clear();
        type(page, "ksname", " 第2考室 ");
        press(page, "szksbt2");
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"\"第2考室\"考室已经存在!"});
        QCOMPARE(ksgrid->model()->rowCount(), 3);
        QCOMPARE(ksname->text(), QStringLiteral(" 第2考室 "));

        // A click selects the room into the boxes; the buttons then work on it.
        QTest::mouseClick(ksgrid->viewport(), Qt::LeftButton, {}, cellCentre(ksgrid, 1, 1));
        QCOMPARE(ksname->text(), QStringLiteral("第2考室"));
        type(page, "ksname", "A101");
        type(page, "ksmbpath", "/srv/模板/a101.xlsx");
        press(page, "PushButton8");
        QCOMPARE(roomList(ksgrid)[1], QStringLiteral("A101|/srv/模板/a101.xlsx"));
        QTest::mouseClick(ksgrid->viewport(), Qt::LeftButton, {}, cellCentre(ksgrid, 0, 0));
        press(page, "PushButton10");
        QCOMPARE(roomList(ksgrid), (QStringList{"A101|/srv/模板/a101.xlsx", "第3考室|" + path}));
        QCOMPARE(kstjstr->text(), QStringLiteral("当前共有2间考室"));

        // A double click hands an existing template to the desktop and names a missing one.
        fixture.prompt.clear();
        doubleClick(ksgrid, 1, 0);
        QCOMPARE(fixture.dialogs.openedDocuments, std::vector<std::string>{sample});
        doubleClick(ksgrid, 0, 0);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"“/srv/模板/a101.xlsx”模板文件不存在！"});

        fixture.prompt.clear();
        fixture.prompt.answerNext(PromptAnswer::No);
        press(page, "PushButton18");
        QCOMPARE(ksgrid->model()->rowCount(), 2);
        fixture.prompt.answerNext(PromptAnswer::Yes);
        press(page, "PushButton18");
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{"确实要清空列表吗?", "确实要清空列表吗?"}));
        QCOMPARE(roomList(ksgrid), QStringList{"|"});
        QCOMPARE(ksgrid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("考室模板文件"));
        QCOMPARE(kstjstr->text(), QStringLiteral("当前共有0间考室"));

        // The tab guard reads the same list: with none, the generation tab is refused.
        fixture.db.addBaseData({{"1001", 90}});
        fixture.prompt.clear();
        fixture.clickTab(2);
        QCOMPARE(window.tabControl()->currentIndex(), 1);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"没设置考室参数，请先设置考室参数！"});
    }

    void roomsAreSavedAndLoadedWithMissingTemplatesInRed()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        window.selectTabWithoutGuard(1);
        QWidget* page = window.tabControl()->widget(1);
        CONTROL(ksgrid, QTableView, page, "ksgrid");
        CONTROL(kstjstr, QLabel, page, "kstjstr");
        test::TempDir folder;
        const std::string kept = test::dataPath("ksmb.xlsx");
        const std::string gone = folder.file("moved-away.xlsx");

        fixture.prompt.clear();
        press(page, "PushButton13");
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"列表中无数据，保存失败"});
        press(page, "PushButton14");
        QCOMPARE(fixture.prompt.texts().back(), std::string("数据库中无考室数据！"));

        type(page, "ksmbpath", kept);
        press(page, "szksbt2");
        type(page, "ksmbpath", gone);
        press(page, "szksbt2");
        type(page, "ksmbpath", kept);
        press(page, "szksbt2");
        fixture.prompt.clear();
        press(page, "PushButton13");
        press(page, "PushButton13"); // saving again replaces, never duplicates
        QCOMPARE(fixture.prompt.texts(), (std::vector<std::string>{"考室数据保存至数据库成功", "考室数据保存至数据库成功"}));
        QCOMPARE(fixture.db.onDisk("select 考室 from ksdata"), (std::vector<std::string>{"第1考室", "第2考室", "第3考室"}));

        fixture.prompt.answerNext(PromptAnswer::Yes);
        press(page, "PushButton18");
        fixture.prompt.clear();
        press(page, "PushButton14");
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"考室数据载入成功"});
        const QString keptText = QString::fromStdString(kept);
        QCOMPARE(roomList(ksgrid), (QStringList{"第1考室|" + keptText, "第2考室|" + QString::fromStdString(gone),
                                             "第3考室|" + keptText}));
        auto colour = [&](int row, int column) {
            return ksgrid->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(colour(1, 1), QColor(255, 0, 0));
        QVERIFY(!colour(0, 1).isValid() && !colour(2, 1).isValid() && !colour(1, 0).isValid());
        QCOMPARE(kstjstr->text(), QStringLiteral("当前共有3间考室，红色显示的考室模板表示该模板文件可能不存在！"));
        QCOMPARE(ksgrid->currentIndex().row(), 2); // the last loaded row is the current one

        // Loading again appends the saved rooms after those in the list.
        press(page, "PushButton14");
        QCOMPARE(ksgrid->model()->rowCount(), 6);
        QCOMPARE(colour(4, 1), QColor(255, 0, 0));
    }

    void templateSampleMissingBesideTheProgramIsReported()
    {
        // The test program's folder holds no sample: the click reports it with its cause.
        test::WindowFixture fixture;
        auto& window = fixture.open();
        fixture.prompt.clear();
        window.selectTabWithoutGuard(1);
        press(window.tabControl()->widget(1), "PushButton9");
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"你的电脑可能没安装完整版的Excel！"});
        QVERIFY(fixture.prompt.shown()[0].detail.find("ksmb.xlsx") != std::string::npos);
        QVERIFY(fixture.dialogs.openedDocuments.empty());
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
