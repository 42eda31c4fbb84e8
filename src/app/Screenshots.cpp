#include "Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>

#include <iostream>

#include "MainWindow.h"
#include "QtShellDialogs.h"
#include "UnattendedPrompt.h"

namespace sedilo::gui {

int SaveScreenshots(const QString& folder, const QString& databasePath)
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
    window.show();
    QApplication::processEvents();

    const QDir target(folder);
    for (int index = 0; index < window.tabControl()->count(); ++index) {
        window.selectTabWithoutGuard(index);
        QApplication::processEvents();
        const QString file = target.filePath(QStringLiteral("tab%1.png").arg(index));
        if (!window.grab().save(file)) {
            std::cerr << "cannot write " << file.toStdString() << '\n';
            return 1;
        }
        std::cout << file.toStdString() << '\n';
    }
    return 0;
}

} // namespace sedilo::gui
