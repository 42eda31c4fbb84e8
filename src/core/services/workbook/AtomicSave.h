#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// Lets `write` produce the file at a fresh temporary path beside `target`, then
// renames it over `target`, so that a reader never sees a half-written file and
// a failed save leaves any earlier file untouched. Failures throw WorkbookError
// naming `target`; the temporary file is removed.
void saveAtomically(const std::string& target, const std::function<void(const std::string& tempPath)>& write);

// The same for content already in memory.
void saveAtomically(const std::string& target, std::string_view content);

// Writes `content` as the new file `target` with one write, refusing a file
// already there: for a folder only this process writes to, where the
// temporary file and its rename would add nothing. A failed write removes
// the file.
void saveAsNewFile(const std::string& target, std::string_view content);

} // namespace sedilo::workbook
