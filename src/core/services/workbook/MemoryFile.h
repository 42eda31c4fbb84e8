#pragma once

#include <cstdio>

namespace sedilo::workbook {

// A read-write stream held in this process's memory, with no descriptor
// behind it: its writes and reads are copies, never system calls. Null when
// it cannot be made. fclose() frees it.
std::FILE* openMemoryFile();

} // namespace sedilo::workbook
