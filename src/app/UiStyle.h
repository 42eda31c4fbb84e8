#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace sedilo::gui {

// "宋体" at the given size. Where it is not installed, the fallbacks still
// have Chinese glyphs.
QFont songTi(double pointSize);

void setTextColor(QWidget* widget, const QColor& color);
void setBackgroundColor(QWidget* widget, const QColor& color);

// Flat-styled edit boxes: a thin single border instead of the sunken frame.
// Call it once the box sits inside the window: the style sheet fixes the
// box's font from its parents' at that moment.
void makeFlat(QWidget* edit);

} // namespace sedilo::gui
