#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <set>

#include "LaunchOptions.h"
#include "Screenshots.h"
#include "WindowFixture.h"
#include "support/TempDir.h"

using namespace sedilo;

namespace {

const std::string kNoBaseData = "基础数据没导入，请先导入基础数据！";
const std::string kNoRooms = "没设置考室参数，请先设置考室参数！";
const std::string kNoArrangement = "没生成考室编排表，请先生成考室编排表！";

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowBannerAndTabControl()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QCOMPARE(window.objectName(), QStringLiteral("main"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Sedilo V1.0"));
        QCOMPARE(window.size(), QSize(808, 557)); // 12120 x 8355 twips
        CONTROL(image1, QLabel, &window, "Image1");
        QCOMPARE(image1->geometry(), QRect(-24, 0, 850, 70));
        QCOMPARE(image1->pixmap().size(), QSize(850, 70));
        const QImage banner = image1->pixmap().toImage();
        QVERIFY(banner.pixelColor(2, 2).blue() > banner.pixelColor(2, 2).red()); // a blue picture

        QCOMPARE(window.tabControl()->objectName(), QStringLiteral("TabControl1"));
        QCOMPARE(window.tabControl()->geometry(), QRect(0, 68, 808, 489));
        QCOMPARE(window.tabControl()->count(), 4);
        QCOMPARE(window.tabControl()->currentIndex(), 0);
    }

    void everyControlShowsItsWholeText()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        QVERIFY(window.tabControl()->tabBar()->sizeHint().width() <= window.width());
        for (int tab = 0; tab < window.tabControl()->count(); ++tab) {
            window.selectTabWithoutGuard(tab);
            QWidget* page = window.tabControl()->widget(tab);
            for (QWidget* control : page->findChildren<QWidget*>()) {
                const bool hasText = qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control);
                if (!hasText || control->objectName().isEmpty())
                    continue;
                const QString name = control->objectName();
                // A push button's size hint has a minimum width of its own; what counts is its text.
                const auto* button = qobject_cast<QPushButton*>(control);
                const int needed = button ? button->fontMetrics().horizontalAdvance(button->text()) + 6
                                          : control->sizeHint().width();
                QVERIFY2(needed <= control->width(), qPrintable(name + " is too narrow"));
                QVERIFY2(control->sizeHint().height() <= control->height() + 2, qPrintable(name + " is too low"));
                const QRect inParent = control->geometry();
                QVERIFY2(control->parentWidget()->rect().contains(inParent), qPrintable(name + " is clipped"));
            }
        }
    }

    void aLargerWindowGrowsTheGridsBoxesAndBarsWithoutOverlaps()
    {
        test::WindowFixture fixture;
        auto& window = fixture.open();
        // The tab control sizes a page when it shows it.
        auto showEveryPage = [&] {
            for (int tab = window.tabControl()->count() - 1; tab >= 0; --tab)
                window.selectTabWithoutGuard(tab);
            QCoreApplication::processEvents();
        };
        showEveryPage();
        // Every control and its place at the default size, with its siblings.
        std::vector<std::pair<QWidget*, QRect>> before;
        std::set<QWidget*> fitBefore; // (the group box of tab 1 reaches into the page frame)
        std::vector<QWidget*> containers;
        for (int tab = 0; tab < window.tabControl()->count(); ++tab)
            containers.push_back(window.tabControl()->widget(tab));
        for (std::size_t next = 0; next < containers.size(); ++next) {
            for (QWidget* control : containers[next]->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                before.emplace_back(control, control->geometry());
                if (containers[next]->rect().contains(control->geometry()))
                    fitBefore.insert(control);
                if (qobject_cast<QGroupBox*>(control))
                    containers.push_back(control);
            }
        }

        window.resize(1200, 800);
        showEveryPage();
        QCOMPARE(window.size(), QSize(1200, 800));
        const QSize extra(1200 - 808, 800 - 557);
        auto placeBefore = [&](QWidget* control) {
            for (const auto& [widget, place] : before)
                if (widget == control)
                    return place;
            return QRect();
        };
        for (const char* name : {"sjgrid", "ksgrid"}) {
            auto* grid = window.findChild<QTableView*>(QString::fromLatin1(name));
            QVERIFY2(grid, name);
            QCOMPARE(grid->size(), placeBefore(grid).size() + extra);
            const QHeaderView* header = grid->horizontalHeader();
            QCOMPARE(header->sectionPosition(header->count() - 1) + header->sectionSize(header->count() - 1),
                     header->viewport()->width()); // the last column takes the spare width
        }
        for (const char* name : {"sjlj", "ksmbpath", "ksoutpath", "Prbar", "ksscpro", "cxdcscpro"}) {
            auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(control, name);
            QCOMPARE(control->size(), placeBefore(control).size() + QSize(extra.width(), 0));
        }
        CONTROL(pushButton8, QWidget, &window, "PushButton8");
        QCOMPARE(pushButton8->geometry(), placeBefore(pushButton8).translated(extra.width(), 0));
        CONTROL(frame2, QWidget, &window, "Frame2");
        QCOMPARE(frame2->geometry(), placeBefore(frame2).translated(0, extra.height()));

        for (const auto& [control, place] : before) {
            const QString name = control->objectName();
            if (fitBefore.count(control))
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                         qPrintable(name + " is clipped"));
            for (const auto& [other, otherPlace] : before) {
                if (other != control && other->parentWidget() == control->parentWidget() && !place.intersects(otherPlace))
                    QVERIFY2(!control->geometry().intersects(other->geometry()),
                             qPrintable(name + " overlaps " + other->objectName()));
            }
        }

        // Never below the default size, where every control is back in its place.
        window.resize(600, 400);
        showEveryPage();
        QCOMPARE(window.size(), QSize(808, 557));
        for (const auto& [control, place] : before)
            QCOMPARE(control->geometry(), place);
    }

    void startupYesClearsTheBaseData()
    {
        test::WindowFixture fixture;
        fixture.db.addBaseData({{"1001", 95}});
        fixture.db.addWorkingCopy({{"1001", 95}}, {"第1考室"});
        fixture.open(PromptAnswer::Yes);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"是否清空上次保留的基础数据？"});
        QCOMPARE(fixture.prompt.shown()[0].style, PromptStyle::QuestionDefaultNo);
        QVERIFY(fixture.db.onDisk("select * from jcdata").empty());
        QVERIFY(fixture.db.onDisk("select * from jcdatatp").empty());
        QCOMPARE(fixture.window->session().cipher.passPhrase(), std::string("qzrmt51730@862"));

        // Nothing imported in this run: the room tab sends the user back.
        fixture.prompt.clear();
        fixture.clickTab(1);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{kNoBaseData});
        QCOMPARE(fixture.prompt.shown()[0].style, PromptStyle::Error);
        QCOMPARE(fixture.window->tabControl()->currentIndex(), 0);
    }

    void startupNoKeepsTheBaseDataButNotTheArrangement()
    {
        test::WindowFixture fixture;
        fixture.db.addBaseData({{"1001", 95}, {"1002", 80}});
        fixture.db.addWorkingCopy({{"1001", 95}}, {"第1考室"});
        auto& window = fixture.open(PromptAnswer::No);
        QCOMPARE(fixture.db.onDisk("select 考号 from jcdata"), (std::vector<std::string>{"1001", "1002"}));
        QVERIFY(fixture.db.onDisk("select * from jcdatatp").empty());
        CONTROL(sjgrid, QTableView, &window, "sjgrid");
        QCOMPARE(sjgrid->model()->rowCount(), 1); // the kept rows are not shown

        fixture.prompt.clear();
        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 1);
        QVERIFY(fixture.prompt.shown().empty());

        window.session().rooms.ksgrid.setTextMatrix(1, 0, "第1考室");
        fixture.clickTab(3);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{kNoArrangement});
        QCOMPARE(window.tabControl()->currentIndex(), 2);
        // Landing on the generation tab counts as entering it.
        CONTROL(ksscpro, QProgressBar, &window, "ksscpro");
        QVERIFY(ksscpro->isHidden());
    }

    void guardSendsBackToTheFirstMissingStep()
    {
        test::WindowFixture fixture;
        fixture.db.addBaseData({{"1001", 95}});
        auto& window = fixture.open(PromptAnswer::No);
        auto& grid = window.session().rooms.ksgrid;
        fixture.prompt.clear();

        fixture.clickTab(2);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{kNoRooms});
        QCOMPARE(window.tabControl()->currentIndex(), 1);

        fixture.prompt.clear();
        grid.setTextMatrix(1, 0, "   "); // spaces only: still no room
        window.tabControl()->setCurrentIndex(2);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{kNoRooms});

        // Rooms set and then cleared again: the export tab asks for rooms, not for the arrangement.
        grid.setTextMatrix(1, 0, "第1考室");
        grid.Clear();
        fixture.prompt.clear();
        window.tabControl()->setCurrentIndex(3);
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{kNoRooms});
        QCOMPARE(window.tabControl()->currentIndex(), 1);

        fixture.prompt.clear();
        fixture.clickTab(0);
        QCOMPARE(window.tabControl()->currentIndex(), 0);
        QVERIFY(fixture.prompt.shown().empty());
    }

    void enteringATabHidesItsProgressControls()
    {
        test::WindowFixture fixture;
        fixture.db.addBaseData({{"1001", 95}});
        auto& window = fixture.open(PromptAnswer::No);
        fixture.db.addWorkingCopy({{"1001", 95}}, {"第1考室"}); // as generation leaves it
        window.session().rooms.ksgrid.setTextMatrix(1, 0, "第1考室");
        CONTROL(ksscpro, QProgressBar, &window, "ksscpro");
        CONTROL(scts, QLabel, &window, "scts");
        CONTROL(cxdcscpro, QProgressBar, &window, "cxdcscpro");
        CONTROL(cxdcscts, QLabel, &window, "cxdcscts");
        QVERIFY(!ksscpro->isHidden() && !scts->isHidden());

        fixture.clickTab(2);
        QCOMPARE(window.tabControl()->currentIndex(), 2);
        QVERIFY(ksscpro->isHidden() && scts->isHidden());
        QVERIFY(!cxdcscpro->isHidden() && !cxdcscts->isHidden());

        fixture.clickTab(3);
        QCOMPARE(window.tabControl()->currentIndex(), 3);
        QVERIFY(cxdcscpro->isHidden() && cxdcscts->isHidden());
        QCOMPARE(fixture.prompt.texts(), std::vector<std::string>{"是否清空上次保留的基础数据？"});

        // An operation shows them again through the core's progress control.
        window.session().exporting.cxdcscpro.setVisible(true);
        window.session().exporting.cxdcscpro.setStatus("正在导出");
        QTRY_VERIFY(!cxdcscts->isHidden());
        QCOMPARE(cxdcscts->text(), QStringLiteral("正在导出"));
    }

    void unusableDatabaseIsReportedAndTheWindowStaysUsable()
    {
        test::WindowFixture fixture;
        const std::string path = fixture.db.database.filePath();
        std::filesystem::create_directory(path);
        auto& window = fixture.open(PromptAnswer::Yes);
        QCOMPARE(fixture.prompt.shown().size(), size_t(1));
        QCOMPARE(fixture.prompt.shown()[0].style, PromptStyle::Error);
        QVERIFY(fixture.prompt.shown()[0].text.find(path) != std::string::npos);
        QVERIFY(!fixture.prompt.shown()[0].detail.empty());

        fixture.prompt.clear();
        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 0);
        QCOMPARE(fixture.prompt.shown().size(), size_t(1));
        QVERIFY(fixture.prompt.shown()[0].text.find(path) != std::string::npos);

        // Once the file is usable again the next action succeeds.
        std::filesystem::remove(path);
        fixture.db.addBaseData({{"1001", 95}});
        fixture.prompt.clear();
        fixture.clickTab(1);
        QCOMPARE(window.tabControl()->currentIndex(), 1);
        QVERIFY(fixture.prompt.shown().empty());
    }

    void screenshotJobSavesEveryTabWithoutTheGuard()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString shots = folder.filePath(QStringLiteral("shots"));
        QCOMPARE(gui::SaveScreenshots(shots, QString()), 0);
        for (int tab = 0; tab < 4; ++tab) {
            const QImage image(QDir(shots).filePath(QStringLiteral("tab%1.png").arg(tab)));
            QCOMPARE(image.size(), QSize(808, 557));
        }
        // Each picture shows its own tab: the pictures differ.
        QVERIFY(QImage(QDir(shots).filePath(QStringLiteral("tab1.png")))
                != QImage(QDir(shots).filePath(QStringLiteral("tab3.png"))));
        // The test program's folder holds no demo data: only the fresh window is shown.
        QVERIFY(!QFileInfo::exists(QDir(shots).filePath(QStringLiteral("tab0-imported.png"))));
    }

    void screenshotJobWorksThroughTheTabsWithTheDemoData()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString shots = folder.filePath(QStringLiteral("shots"));
        const QString data = QFileInfo(QString::fromStdString(test::dataPath("ksmb.xlsx"))).absolutePath();
        QCOMPARE(gui::SaveScreenshots(shots, QString(), data), 0);
        const QImage fresh(QDir(shots).filePath(QStringLiteral("tab0.png")));
        for (const char* name : {"tab0-imported.png", "tab1-rooms.png", "tab2-generated.png", "tab3-exported.png"}) {
            const QImage image(QDir(shots).filePath(QString::fromLatin1(name)));
            QCOMPARE(image.size(), QSize(808, 557));
        }
        QVERIFY(QImage(QDir(shots).filePath(QStringLiteral("tab0-imported.png"))) != fresh);
        QVERIFY(QImage(QDir(shots).filePath(QStringLiteral("tab1-rooms.png")))
                != QImage(QDir(shots).filePath(QStringLiteral("tab1.png"))));
    }

    void commandLineOptions()
    {
        QString error;
        auto options = gui::parseLaunchOptions({"sedilo", "--screenshot", "/tmp/s", "--db", "/tmp/d.mdb"}, error);
        QVERIFY(options);
        QCOMPARE(options->screenshotDir, QStringLiteral("/tmp/s"));
        QCOMPARE(options->databasePath, QStringLiteral("/tmp/d.mdb"));
        QVERIFY(!gui::parseLaunchOptions({"sedilo", "--screenshot"}, error));
        QVERIFY(!gui::parseLaunchOptions({"sedilo", "stray"}, error));
        QVERIFY(!gui::parseLaunchOptions({"sedilo", "--colour"}, error));
        options = gui::parseLaunchOptions({"sedilo", "--screenshot", "/tmp/s", "--size", "1200x800"}, error);
        QVERIFY(options);
        QCOMPARE(options->windowSize, QSize(1200, 800));
        QVERIFY(!gui::parseLaunchOptions({"sedilo", "--screenshot", "/tmp/s", "--size", "1200"}, error));
        QVERIFY(!gui::parseLaunchOptions({"sedilo", "--size", "1200x800"}, error));
        QVERIFY(!error.isEmpty());

        char program[] = "sedilo";
        char flag[] = "--screenshot=/tmp/s";
        char* withFlag[] = {program, flag};
        char* without[] = {program};
        QVERIFY(gui::needsNoDisplay(2, withFlag));
        QVERIFY(!gui::needsNoDisplay(1, without));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindow_test.moc"
