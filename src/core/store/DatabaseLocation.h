#pragma once

#include <string>

namespace sedilo::store {

// Where the seating database lives: `data.mdb` in the executable's folder when
// that folder is writable (SQLite also writes its journal beside the file),
// else in the per-user data folder `$XDG_DATA_HOME/sedilo/` or
// `~/.local/share/sedilo/`, which is created. Throws DatabaseError when no
// folder can be had.
std::string chooseDatabasePath(const std::string& executableFolder);

} // namespace sedilo::store
