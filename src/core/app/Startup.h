#pragma once

#include "services/Prompt.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"

namespace sedilo::session {

inline constexpr const char* kClearBaseDataQuestion = "是否清空上次保留的基础数据？";

// What the program does once when the window loads, before the user can act:
// asks whether to clear the base data kept from the last run (Yes deletes
// it), always empties the working copy, and gives the name cipher its pass
// phrase. Selecting the first tab and writing the grid headers is the
// window's part. A database failure is reported through the prompt and does
// not stop the start: the window stays usable.
void RunStartup(store::SeatingDatabase& database, Prompt& prompt, cipher::NameCipher& cipher);

} // namespace sedilo::session
