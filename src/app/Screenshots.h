#pragma once

#include <QString>

namespace sedilo::gui {

// The headless job: starts the window with a database in a temporary folder
// (or `databasePath` when given), answers the start-up question No, and saves
// tab0.png .. tab3.png of the whole window into `folder`, each tab selected
// without the tab guard. Returns the process exit code.
int SaveScreenshots(const QString& folder, const QString& databasePath);

} // namespace sedilo::gui
