#pragma once

#include <QSize>
#include <QString>

namespace sedilo::gui {

// The headless job: starts the window with a database in a temporary folder
// (or `databasePath` when given), answers the start-up question No, and saves
// tab0.png .. tab3.png of the whole window, resized to `windowSize` when it
// is valid (never below the default size), into `folder`, each tab selected
// without the tab guard. When `dataFolder` (default: where the program's shipped files are)
// holds the demo examinee list and the room template sample, it then works
// through the four tabs with them as a user would and saves tab0-imported.png,
// tab1-rooms.png, tab2-generated.png and tab3-exported.png. Returns the
// process exit code.
int SaveScreenshots(const QString& folder, const QString& databasePath, const QString& dataFolder = {},
                    QSize windowSize = {});

} // namespace sedilo::gui
