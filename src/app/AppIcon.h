#pragma once

#include <QIcon>

namespace sedilo::gui {

// The desktop entry's name, which is also the icon's name in the icon theme.
inline constexpr const char* kDesktopId = "io.github.sedilo.Sedilo";

// The program's icon: the installed one of the icon theme, or else the same
// pictures compiled into the program.
QIcon applicationIcon();

} // namespace sedilo::gui
