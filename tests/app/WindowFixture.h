#pragma once

#include <QTabWidget>
#include <QTest>

#include <memory>

#include "MainWindow.h"
#include "core/app/SessionTestDatabase.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrompt.h"

namespace sedilo::test {

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

    SessionTestDatabase db;
    ScriptedPrompt prompt;
    ScriptedDialogs dialogs;
    std::unique_ptr<gui::MainWindow> window;
};

} // namespace sedilo::test

// A control of the window by object name and kind; the test fails when there is none.
#define CONTROL(variable, Type, root, name)                                                                 \
    auto* variable = (root)->findChild<Type*>(QStringLiteral(name));                                        \
    QVERIFY2(variable != nullptr, "no " #Type " named " name)
