#include "arrange/SeatCounts.h"

#include "arrange/RoomTemplate.h"
#include "rooms/TemplateFile.h"

namespace sedilo::arrange {

std::optional<long> SeatCounts::of(const std::string& path)
{
    if (!rooms::templateFileExists(path)) {
        m_counted.erase(path);
        return std::nullopt;
    }
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    if (const auto found = m_counted.find(path); found != m_counted.end() && found->second.modified == modified)
        return found->second.seats;

    std::optional<long> seats;
    try {
        // The fill direction orders the seats but never changes how many there are.
        const RoomTemplate roomTemplate(path, rooms::FillDirection::Vertical);
        // A cell that cannot be read stops generation there: no count to trust.
        if (!roomTemplate.seatPath().unreadable())
            seats = static_cast<long>(roomTemplate.seatPath().seats().size());
    } catch (...) {
        // Unreadable: unknown, and not read again until the file changes.
    }
    m_counted[path] = {modified, seats};
    return seats;
}

} // namespace sedilo::arrange
