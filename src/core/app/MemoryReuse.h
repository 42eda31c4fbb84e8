#pragma once

namespace sedilo::session {

// Keeps the memory a run frees for its next steps instead of handing it back
// to the system at once: the import, the rebuild, the rooms and the export
// each build lists of a city's examinees, and on a virtual machine touching
// fresh pages again costs more than the work on them.
void keepFreedMemoryForReuse();

// Hands what was kept back to the system, once a run is over and the window
// may sit idle.
void returnFreedMemory();

} // namespace sedilo::session
