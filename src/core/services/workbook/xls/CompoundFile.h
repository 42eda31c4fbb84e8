#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook::xls {

// One entry of a compound file (OLE2 structured storage): a stream with its
// bytes, or a storage with its children.
struct CompoundEntry {
    std::string name;
    bool storage = false;
    std::string data;
    std::array<std::uint8_t, 16> classId{};
    std::vector<CompoundEntry> children;

    // The child stream whose name matches case-insensitively, or nullptr.
    const CompoundEntry* findStream(std::string_view childName) const;
    CompoundEntry* findStream(std::string_view childName);
};

inline constexpr std::string_view CompoundFileMagic{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

// Reads the whole tree of a compound file held in memory. Throws BiffError
// when the container is damaged.
CompoundEntry readCompoundFile(std::string_view bytes);

// Writes the tree as a version-3 compound file with 512-byte sectors (the
// form every reader accepts), with the top-level stream `replacedStream`
// holding `replacement` instead of its own bytes.
std::string writeCompoundFile(const CompoundEntry& root, std::string_view replacedStream, std::string_view replacement);

} // namespace sedilo::workbook::xls
