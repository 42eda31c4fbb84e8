#pragma once

#include "app/Session.h"

class QLabel;

namespace sedilo::gui {

// Shows the room list's seats against the base data's examinees in `label`:
// red when the seats are short, the page's own colour otherwise.
void showCapacity(QLabel* label, session::Session& session);

} // namespace sedilo::gui
