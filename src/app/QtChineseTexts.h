#pragma once

class QCoreApplication;

namespace sedilo::gui {

// Loads Qt's own Chinese texts (standard buttons, file and folder dialogs)
// whatever the system locale, since the whole interface is Chinese. Without
// the translation files Qt keeps its English texts; nothing is reported.
// Returns whether the translations were loaded.
bool installQtChineseTexts(QCoreApplication& application);

} // namespace sedilo::gui
