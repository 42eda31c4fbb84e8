#include "Screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>

#include <iostream>

#include "BackgroundRun.h"
#include "MainWindow.h"
#include "QtShellDialogs.h"
#include "UnattendedPrompt.h"
#include "services/ShippedFiles.h"

namespace sedilo::gui {

namespace {

constexpr const char* kDemoExaminees = "demo-examinees.xlsx";
constexpr const char* kRoomTemplate = "ksmb.xlsx";
constexpr int kDemoRooms = 3;

bool saveShot(MainWindow& window, int tab, const QDir& target, const QString& name)
{
    window.selectTabWithoutGuard(tab);
    QApplication::processEvents();
    const QString file = target.filePath(name);
    if (!window.grab().save(file)) {
        std::cerr << "cannot write " << file.toStdString() << '\n';
        return false;
    }
    std::cout << file.toStdString() << '\n';
    return true;
}

void setText(MainWindow& window, const char* box, const QString& text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(text);
}

// Clicks a button and, when it starts a background run, waits for its end.
void click(MainWindow& window, const char* button)
{
    window.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    window.backgroundRun().waitForFinished();
}

// The demo list imported, three rooms of the sample, the rooms generated into
// `outputFolder` and the query workbooks exported there.
bool saveShotsOfAWorkedExample(MainWindow& window, const QDir& target, const QDir& data, const QString& outputFolder)
{
    setText(window, "sjlj", data.filePath(QString::fromLatin1(kDemoExaminees)));
    click(window, "PushButton1");
    if (!saveShot(window, 0, target, QStringLiteral("tab0-imported.png")))
        return false;

    setText(window, "ksmbpath", data.filePath(QString::fromLatin1(kRoomTemplate)));
    for (int room = 0; room < kDemoRooms; ++room)
        click(window, "szksbt2");
    if (!saveShot(window, 1, target, QStringLiteral("tab1-rooms.png")))
        return false;

    setText(window, "ksoutpath", outputFolder + QLatin1Char('/'));
    click(window, "PushButton7");
    if (!saveShot(window, 2, target, QStringLiteral("tab2-generated.png")))
        return false;

    click(window, "PushButton5");
    return saveShot(window, 3, target, QStringLiteral("tab3-exported.png"));
}

} // namespace

int SaveScreenshots(const QString& folder, const QString& databasePath, const QString& dataFolder,
                    QSize windowSize)
{
    QTemporaryDir temporary;
    if (!temporary.isValid()) {
        std::cerr << "cannot make a temporary folder: " << temporary.errorString().toStdString() << '\n';
        return 1;
    }
    if (!QDir().mkpath(folder)) {
        std::cerr << "cannot create " << folder.toStdString() << '\n';
        return 1;
    }
    const QString database = databasePath.isEmpty() ? temporary.filePath(QStringLiteral("data.mdb")) : databasePath;

    UnattendedPrompt prompt;
    QtShellDialogs dialogs;
    MainWindow window(database.toStdString(), prompt, dialogs);
    dialogs.setOwner(&window);
    window.start();
    if (windowSize.isValid())
        window.resize(windowSize);
    window.show();
    QApplication::processEvents();

    const QDir target(folder);
    for (int index = 0; index < window.tabControl()->count(); ++index) {
        if (!saveShot(window, index, target, QStringLiteral("tab%1.png").arg(index)))
            return 1;
    }

    const QString shippedFolder =
        QFileInfo(QString::fromStdString(
                      shippedFile(QCoreApplication::applicationDirPath().toStdString(), kRoomTemplate)))
            .absolutePath();
    const QDir data(dataFolder.isEmpty() ? shippedFolder : dataFolder);
    if (!QFileInfo::exists(data.filePath(QString::fromLatin1(kDemoExaminees)))
        || !QFileInfo::exists(data.filePath(QString::fromLatin1(kRoomTemplate))))
        return 0;
    const QString output = temporary.filePath(QStringLiteral("output"));
    if (!QDir().mkpath(output)) {
        std::cerr << "cannot create " << output.toStdString() << '\n';
        return 1;
    }
    return saveShotsOfAWorkedExample(window, target, data, output) ? 0 : 1;
}

} // namespace sedilo::gui
