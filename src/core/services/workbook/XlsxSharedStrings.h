#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook {

class ZipPackage;

// The shared-string table of an .xlsx in one block of text with an offset
// per string: a large list's strings cost their bytes and four more each.
class SharedStringTable {
public:
    // More strings than any sheet of 1,048,576 rows can refer to usefully.
    static constexpr std::size_t kStringLimit = 16u * 1024 * 1024;

    std::size_t size() const { return m_ends.size(); }
    std::string_view at(std::size_t index) const
    {
        const std::uint32_t begin = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_text).substr(begin, m_ends[index] - begin);
    }

    void append(std::string_view text);

private:
    std::string m_text;
    std::vector<std::uint32_t> m_ends;
};

// Streams the shared-string part (none when `partName` is empty): each <si>
// read as storedItemText reads an inline string, decoded. Throws WorkbookError naming the file.
SharedStringTable loadSharedStrings(const ZipPackage& package, const std::string& partName);

} // namespace sedilo::workbook
