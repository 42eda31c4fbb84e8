#pragma once

#include <QAbstractButton>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

#include "BackgroundRun.h"
#include "MainWindow.h"
#include "core/app/SessionTestDatabase.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"

namespace sedilo::test {

// Drags local files onto `target` and drops them there, as the file manager
// does; true when the target took the drop.
inline bool dropFiles(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

// A scripted prompt that also notes whether each box came up on the
// user-interface thread, and lets a test look at the window while a box shows.
class WatchedPrompt : public ScriptedPrompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            ++offUiThread;
        if (whileShown)
            whileShown(text);
        return ScriptedPrompt::show(style, text, detail);
    }

    int offUiThread = 0;
    std::function<void(const std::string&)> whileShown;
};

// A started main window over a database file in a fresh folder, with message
// boxes and choosers answered from scripts.
struct WindowFixture {
    // Opens the window, answering the start-up question as given.
    gui::MainWindow& open(PromptAnswer startupAnswer = PromptAnswer::No)
    {
        prompt.answerNext(startupAnswer);
        window = std::make_unique<gui::MainWindow>(db.database.filePath(), prompt, dialogs);
        window->start();
        window->show();
        QCoreApplication::processEvents();
        return *window;
    }

    // Selects a tab as the user does, through the tab control (the guard runs).
    void selectTab(int index)
    {
        window->tabControl()->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }

    // Clicks a tab as the user does.
    void clickTab(int index)
    {
        QTabBar* bar = window->tabControl()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QCoreApplication::processEvents();
    }

    // Clicks the button named `name` and waits for the background run it
    // starts to end; false when none ended within the time.
    bool clickAndWaitForRun(const char* name, int timeoutMs = 60000)
    {
        auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        if (!button)
            return false;
        QSignalSpy finished(&window->backgroundRun(), &gui::BackgroundRun::finished);
        QTest::mouseClick(button, Qt::LeftButton);
        return finished.wait(timeoutMs);
    }

    SessionTestDatabase db;
    WatchedPrompt prompt;
    ScriptedDialogs dialogs;
    std::unique_ptr<gui::MainWindow> window;
};

} // namespace sedilo::test

// A control of the window by object name and kind; the test fails when there is none.
#define CONTROL(variable, Type, root, name)                                                                 \
    auto* variable = (root)->findChild<Type*>(QStringLiteral(name));                                        \
    QVERIFY2(variable != nullptr, "no " #Type " named " name)
