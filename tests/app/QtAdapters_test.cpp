#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

#include "QtPrompt.h"
#include "QtShellDialogs.h"

using namespace sedilo;

namespace {

// Acts on the next modal box once it is up.
void onNextBox(std::function<void(QMessageBox*)> act)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, *poll);
            return;
        }
        act(box);
    };
    QTimer::singleShot(0, *poll);
}

// Looks at the next modal box once it is up, then closes it with `button`.
void answerNextBox(std::function<void(QMessageBox*)> inspect, QMessageBox::StandardButton button)
{
    onNextBox([=](QMessageBox* box) {
        inspect(box);
        box->button(button)->click();
    });
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

    void enterAndEscapeAnswerNoToADestructiveQuestion()
    {
        gui::QtPrompt prompt;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            onNextBox([key](QMessageBox* box) { QTest::keyClick(box, key); });
            QCOMPARE(prompt.show(PromptStyle::QuestionDefaultNo, "确实要清空列表吗?"), PromptAnswer::No);
        }
        onNextBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(prompt.show(PromptStyle::Question, "?"), PromptAnswer::Yes);
    }

    void errorAndInformationBoxesCarryTheirIconAndTheDetail()
    {
        gui::QtPrompt prompt;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        QString detail;
        answerNextBox([&](QMessageBox* box) { icon = box->icon(); text = box->text(); detail = box->detailedText(); },
                      QMessageBox::Ok);
        prompt.error("你的电脑可能没安装完整版的Excel！", "no application for .xlsx");
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(text, QStringLiteral("你的电脑可能没安装完整版的Excel！"));
        QCOMPARE(detail, QStringLiteral("no application for .xlsx"));

        answerNextBox([&](QMessageBox* box) { icon = box->icon(); detail = box->detailedText(); }, QMessageBox::Ok);
        prompt.inform("导入成功完成。");
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(detail, QString());
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

    void fileChooserAcceptsATypedNameThatDoesNotExistAndRemembersItsFolderPerKind()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString missing = folder.filePath(QStringLiteral("名单.xls"));
        const QString settingsFile = folder.filePath(QStringLiteral("settings.ini"));
        auto settings = [&] { return std::make_unique<QSettings>(settingsFile, QSettings::IniFormat); };
        // Started from the test's own folder, the choosers would open in the home folder instead.
        QTemporaryDir working;
        const QString startedIn = QDir::currentPath();
        QDir::setCurrent(working.path());
        const auto restore = qScopeGuard([&] { QDir::setCurrent(startedIn); });
        QWidget owner;
        gui::QtShellDialogs dialogs(settings());
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
        QCOMPARE(filters, QStringList{QStringLiteral("Excel文件 (*.xls *.xlsx *.xlsm *.xltx *.xltm)")});
        QCOMPARE(directory, QDir::currentPath());

        QTimer::singleShot(0, [&] {
            directory = owner.findChild<QFileDialog*>()->directory().absolutePath();
            owner.findChild<QFileDialog*>()->reject();
        });
        QCOMPARE(dialogs.chooseFile("选择Excel模板文件"), std::string());
        QCOMPARE(directory, QDir::currentPath()); // another kind of file: nothing remembered

        // The next run opens the same kind of chooser where the last one was left.
        QWidget nextOwner;
        gui::QtShellDialogs nextRun(settings());
        nextRun.setOwner(&nextOwner);
        QTimer::singleShot(0, [&] {
            directory = nextOwner.findChild<QFileDialog*>()->directory().absolutePath();
            nextOwner.findChild<QFileDialog*>()->reject();
        });
        nextRun.chooseFile("选择Excel文件");
        QCOMPARE(directory, QDir(folder.path()).absolutePath());
    }

    void fileChooserListsEveryWorkbookFormatInAnyLetterCase()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QStringList workbooks{"a.xls", "b.XLSX", "c.xlsm", "d.Xltx", "e.xltm"};
        for (const QString& name : workbooks + QStringList{"f.txt", "g.csv"})
            QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        QWidget owner;
        gui::QtShellDialogs dialogs;
        dialogs.setOwner(&owner);
        QStringList listed;
        QTimer::singleShot(0, [&] {
            auto* dialog = owner.findChild<QFileDialog*>();
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            const auto shown = [&] {
                listed.clear();
                const QModelIndex root = view->rootIndex();
                for (int row = 0; row < view->model()->rowCount(root); ++row) {
                    const QModelIndex index = view->model()->index(row, 0, root);
                    if (index.flags() & Qt::ItemIsEnabled)
                        listed << index.data().toString();
                }
                return listed.size() >= workbooks.size();
            };
            (void)QTest::qWaitFor(shown);
            QTest::qWait(50);
            shown();
            dialog->reject();
        });
        dialogs.chooseFile("选择Excel文件");
        QDir::setCurrent(before);
        listed.sort();
        QCOMPARE(listed, workbooks);
    }

    void fileChooserLeavesNoPopupBehind()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        for (const char* name : {"rooms1.xlsx", "rooms2.xlsx"})
            QFile(folder.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QWidget owner;
        owner.show();
        gui::QtShellDialogs dialogs;
        dialogs.setOwner(&owner);
        // A typed path opens the name completer's popup; the dialog closes with it still up.
        bool popupUp = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = owner.findChild<QFileDialog*>();
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTest::keyClicks(edit, folder.filePath(QStringLiteral("roo")));
            popupUp = QTest::qWaitFor([&] { return edit->completer() && edit->completer()->popup()->isVisible(); });
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        dialogs.chooseFile("选择Excel模板文件");
        QVERIFY(popupUp);
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY2(widget == &owner || !widget->isVisible(), widget->metaObject()->className());
    }
};

QTEST_MAIN(QtAdaptersTest)
#include "QtAdapters_test.moc"
