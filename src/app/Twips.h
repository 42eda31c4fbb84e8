#pragma once

#include <QRect>

namespace sedilo::gui {

// The window's layout is measured in twips; the screen has 15 twips per pixel.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}

inline QRect twipsRect(int x, int y, int width, int height)
{
    return QRect(twips(x), twips(y), twips(width), twips(height));
}

// Positions on a tab page are measured from the tab control's top edge, tab
// strip included; Qt's page starts below the strip.
constexpr int kTabStripTwips = 420;

inline QRect pageRect(int x, int y, int width, int height)
{
    return twipsRect(x, y - kTabStripTwips, width, height);
}

} // namespace sedilo::gui
