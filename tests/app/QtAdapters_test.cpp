#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <atomic>
#include <functional>
#include <thread>

#include "QtChineseTexts.h"
#include "QtPrompt.h"
#include "QtShellDialogs.h"

using namespace sedilo;

namespace {

// Looks at the next modal box once it is up, then closes it with `button`.
void answerNextBox(std::function<void(QMessageBox*)> inspect, QMessageBox::StandardButton button)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, *poll);
            return;
        }
        inspect(box);
        box->button(button)->click();
    };
    QTimer::singleShot(0, *poll);
}

} // namespace

class QtAdaptersTest : public QObject {
    Q_OBJECT
private slots:
    void questionBoxHasTitleIconAndYesNo()
    {
        gui::QtPrompt prompt;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        answerNextBox([&](QMessageBox* box) { title = box->windowTitle(); icon = box->icon(); buttons = box->standardButtons(); },
                      QMessageBox::Yes);
        QCOMPARE(prompt.show(PromptStyle::Question, "是否清空上次保留的基础数据？"), PromptAnswer::Yes);
        QCOMPARE(title, QStringLiteral("Zarvo软件"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);

        answerNextBox([](QMessageBox*) {}, QMessageBox::No);
        QCOMPARE(prompt.show(PromptStyle::Question, "?"), PromptAnswer::No);
    }

    void errorAndInformationBoxesCarryTheirIconAndTheDetail()
    {
        gui::QtPrompt prompt;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        QString detail;
        answerNextBox([&](QMessageBox* box) { icon = box->icon(); text = box->text(); detail = box->detailedText(); },
                      QMessageBox::Ok);
        prompt.fail("你的电脑可能没安装完整版的Excel！",
                    {.kind = CauseKind::NoDesktopHandler, .file = "/t/a.xlsx", .detail = "no application"});
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(text, QStringLiteral("你的电脑可能没安装完整版的Excel！\n原因：桌面没有能打开“/t/a.xlsx”的程序（没有找到xdg-open）。"));
        QCOMPARE(detail, QStringLiteral("/t/a.xlsx: no application"));

        answerNextBox([&](QMessageBox* box) { icon = box->icon(); detail = box->detailedText(); }, QMessageBox::Ok);
        prompt.inform("导入成功完成。");
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(detail, QString());
    }

    void standardButtonsReadInChinese()
    {
        QVERIFY(gui::installQtChineseTexts(*QCoreApplication::instance()));
        gui::QtPrompt prompt;
        QStringList texts;
        const auto readButtons = [&](QMessageBox* box) {
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                texts << button->text();
        };
        answerNextBox(readButtons, QMessageBox::No);
        prompt.ask("?");
        answerNextBox(readButtons, QMessageBox::Ok);
        prompt.fail("x", {.detail = "y"});
        QCOMPARE(texts.filter(QStringLiteral("是")).size(), 1);
        QCOMPARE(texts.filter(QStringLiteral("否")).size(), 1);
        QCOMPARE(texts.filter(QStringLiteral("确定")).size(), 1);
        QVERIFY2(texts.contains(QStringLiteral("显示详细信息…")), qPrintable(texts.join('|')));
        QCoreApplication::removeTranslator(QCoreApplication::instance()->findChild<QTranslator*>());
    }

    void plainBoxesCarryTheApplicationTitle()
    {
        QApplication::setApplicationName(QStringLiteral("Sedilo"));
        gui::QtPrompt prompt;
        QString title;
        QMessageBox::Icon icon = QMessageBox::Information;
        answerNextBox([&](QMessageBox* box) { title = box->windowTitle(); icon = box->icon(); }, QMessageBox::Ok);
        prompt.showPlain("文本太长", false);
        QCOMPARE(title, QStringLiteral("Sedilo"));
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    void boxesAskedForFromAWorkerThreadAreShownOnTheWindowThread()
    {
        gui::QtPrompt prompt;
        bool onWindowThread = false;
        answerNextBox([&](QMessageBox* box) { onWindowThread = box->thread() == QApplication::instance()->thread(); },
                      QMessageBox::Yes);
        std::atomic<bool> done = false;
        PromptAnswer answer = PromptAnswer::No;
        std::thread worker([&] {
            answer = prompt.show(PromptStyle::Question, "继续？");
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        worker.join();
        QCOMPARE(answer, PromptAnswer::Yes);
        QVERIFY(onWindowThread);
    }

    void fileChooserAcceptsATypedNameThatDoesNotExist()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString missing = folder.filePath(QStringLiteral("名单.xls"));
        QWidget owner;
        gui::QtShellDialogs dialogs;
        dialogs.setOwner(&owner);

        QString title;
        QStringList filters;
        QString directory;
        QTimer::singleShot(0, [&] {
            auto* dialog = owner.findChild<QFileDialog*>();
            QVERIFY(dialog);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            directory = dialog->directory().absolutePath();
            dialog->selectFile(missing);
            static_cast<QDialog*>(dialog)->accept(); // as the Open button does
        });
        QCOMPARE(dialogs.chooseFile("选择Excel文件"), missing.toStdString());
        QCOMPARE(title, QStringLiteral("选择Excel文件"));
        QCOMPARE(filters, QStringList{QStringLiteral("Excel文件 (*.xls *.xlsx)")});
        QCOMPARE(directory, QDir::currentPath());

        QTimer::singleShot(0, [&] { owner.findChild<QFileDialog*>()->reject(); });
        QCOMPARE(dialogs.chooseFile("选择Excel模板文件"), std::string());
    }
};

QTEST_MAIN(QtAdaptersTest)
#include "QtAdapters_test.moc"
