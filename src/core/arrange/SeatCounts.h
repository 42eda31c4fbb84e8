#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace sedilo::arrange {

// The seat count of each template file the room list names: the seat cells
// generation would fill. Each distinct path is read once and its count kept
// until the file's modification time changes, so a room list of thousands of
// rooms over a handful of templates stays cheap to total after every edit.
class SeatCounts {
public:
    // Seats of the template at `path` (taken as it stands), or nothing when
    // the file is missing or cannot be read as a template: unknown, never 0.
    std::optional<long> of(const std::string& path);

private:
    struct Counted {
        std::filesystem::file_time_type modified;
        std::optional<long> seats;
    };
    std::map<std::string, Counted> m_counted;
};

} // namespace sedilo::arrange
