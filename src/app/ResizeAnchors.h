#pragma once

#include <QSize>
#include <Qt>

class QWidget;

namespace sedilo::gui {

// The window keeps its controls at their twips places and lets the grids,
// path boxes and progress bars take the room a larger window gives. Each
// control's place at the default size is remembered the first time it is laid
// out; from it:
// - a control that grows (grids both ways, progress bars and marked boxes
//   across, a group box in the ways its controls grow) gets the extra room;
// - a control that sits right of a control growing across, in the same band,
//   moves right by the extra width; one below a control growing downwards,
//   overlapping it across, moves down by the extra height;
// - every other control stays where it is.
// Controls added later follow the same rules without a word of their own.

// Marks a control that takes the extra room in these directions.
void setGrows(QWidget* control, Qt::Orientations directions);

// The directions a control takes extra room in, by its mark or its kind.
Qt::Orientations growsIn(const QWidget* control);

// Places the children of `container` (and of its group boxes) for a
// container `extra` larger than at the default size; negative parts count as 0.
void applyAnchors(QWidget* container, QSize extra);

} // namespace sedilo::gui
