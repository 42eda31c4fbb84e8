#pragma once

#include "rooms/RoomsTab.h"

namespace sedilo {
class Prompt;
} // namespace sedilo

namespace sedilo::store {
class SeatingDatabase;
} // namespace sedilo::store

namespace sedilo::rooms {

// Click on PushButton13: replaces the rooms saved in ksdata by the rows of
// ksgrid, all or nothing.
void SaveRooms(const RoomsTab& tab, store::SeatingDatabase& database, Prompt& prompt);

// Click on PushButton14: appends the rooms saved in ksdata to ksgrid, marking
// in red every template path with no file behind it.
void LoadRooms(RoomsTab& tab, store::SeatingDatabase& database, Prompt& prompt);

} // namespace sedilo::rooms
