#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook {

// A template's package around a stored worksheet, taken apart once so that
// each room's copy is put together from the same bytes: only the sheet, its
// checksum and sizes, and the offsets past it change from room to room. A
// city has thousands of rooms of one template, and building each zip anew
// cost more than filling its sheet.
class StoredSheetPackage {
public:
    // Learns the layout from two packages `package` makes, around `sample`
    // and around `sample` one byte longer: the layout holds only if putting
    // the second together from the first gives it byte for byte.
    static std::optional<StoredSheetPackage> learn(const std::function<std::string(const std::string& sheet)>& package,
                                                   const std::string& sample);

    // The package around `sheet`, which must be under 4 GB less the rest.
    std::string assemble(std::string_view sheet) const;

private:
    static std::optional<StoredSheetPackage> takeApart(const std::string& package, const std::string& sample);

    std::string m_before;      // the entries before the sheet's
    std::string m_localHeader; // the sheet's own header
    std::string m_after;       // the entries after the sheet
    std::string m_directory;   // the central directory
    std::string m_end;         // the end of central directory record
    std::size_t m_sampleSize = 0;
    std::size_t m_sheetRecord = 0;             // where the sheet's record starts in m_directory
    std::vector<std::size_t> m_shiftedOffsets; // local header offsets in m_directory past the sheet
};

} // namespace sedilo::workbook
