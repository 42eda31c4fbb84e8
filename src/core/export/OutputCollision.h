#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sedilo::exporting {

// Keeps the workbooks an export writes off the files of the current
// arrangement: the room workbooks (output folder text + room + the extension
// generation gave it) and, for the print sheets, the query workbooks. A file
// is replaced only when the written name reaches the same file on disk, so the
// comparison is the file system's own: exact on Linux, case-blind on a
// case-blind mount. A room workbook that is not in the folder cannot be
// replaced and stops nothing.
class OutputCollision {
public:
    // `folderText`: the trimmed output folder text; names run straight on.
    explicit OutputCollision(std::string folderText);

    // Rooms as stored in the working copy.
    void protectRoomWorkbooks(const std::set<std::string>& rooms);
    // Units as the query export names its files (trimmed), and the one
    // workbook for everybody.
    void protectQueryWorkbooks(const std::set<std::string>& units);

    // Throws Failure when folder text + `name` + ".xlsx" would replace a
    // protected file. `namedAfterUnit`: `name` is a unit (a query workbook),
    // so the cause names the unit and the room. Every name is to be refused
    // before the first file is written: the protected files are looked up at
    // the first name already taken.
    void refuse(const std::string& name, bool namedAfterUnit = false) const;

private:
    struct Protected {
        bool roomWorkbook = true;
        std::string owner; // the room, or the unit of a query workbook
        std::string path;
    };
    void protect(const std::string& path, bool roomWorkbook, const std::string& owner);
    // Looks the protected files up on disk. Put off until a written name is
    // already taken: a city's rooms are thousands of lookups, and into a fresh
    // folder none is needed.
    void resolve() const;

    std::string m_folder;
    mutable std::vector<Protected> m_unresolved;
    mutable std::map<std::pair<unsigned long long, unsigned long long>, Protected> m_files; // device, inode
};

} // namespace sedilo::exporting
