#include <QApplication>

#include <iostream>

#include "AppIcon.h"
#include "LaunchOptions.h"
#include "MainWindow.h"
#include "app/LocalTimeZone.h"
#include "app/MemoryReuse.h"
#include "QtChineseTexts.h"
#include "QtPrompt.h"
#include "QtShellDialogs.h"
#include "Screenshots.h"
#include "app/DatabaseFailure.h"
#include "store/DatabaseLocation.h"
#include "store/SeatingDatabase.h"

int main(int argc, char* argv[])
{
    using namespace sedilo;
    sedilo::session::pinLocalTimeZone();
    sedilo::session::keepFreedMemoryForReuse();
    if (gui::needsNoDisplay(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The application name doubles as the display name, so window captions get no suffix.
    QApplication::setApplicationName(QStringLiteral("Sedilo"));
    QApplication::setApplicationVersion(QStringLiteral(SEDILO_VERSION));
    // Ties the window to its menu entry, whose icon the desktop then shows.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(gui::kDesktopId));
    gui::installQtChineseTexts(application);

    QString error;
    const auto options = gui::parseLaunchOptions(QApplication::arguments(), error);
    if (!options) {
        std::cerr << "sedilo: " << error.toStdString() << "\nusage: sedilo [--db FILE] [--screenshot DIR [--size WxH]]\n";
        return 2;
    }
    if (!options->textToPrint.isEmpty()) {
        std::cout << options->textToPrint.toStdString();
        return 0;
    }
    if (!options->screenshotDir.isEmpty())
        return gui::SaveScreenshots(options->screenshotDir, options->databasePath, {}, options->windowSize);

    gui::QtPrompt prompt;
    gui::QtShellDialogs dialogs;
    std::string databasePath = options->databasePath.toStdString();
    if (databasePath.empty()) {
        const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
        try {
            databasePath = store::chooseDatabasePath(programFolder);
        } catch (const std::exception& failure) {
            // Every action will report the file again; the window still opens.
            databasePath = store::databasePathInFolder(programFolder);
            session::ReportDatabaseFailure(prompt, databasePath, failure);
        }
    }

    gui::MainWindow window(databasePath, prompt, dialogs);
    prompt.setParentWindow(&window);
    dialogs.setOwner(&window);
    window.start();
    window.show();
    return QApplication::exec();
}
