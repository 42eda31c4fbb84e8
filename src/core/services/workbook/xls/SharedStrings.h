#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::workbook::xls {

// One string of the shared-string table, kept whole so that it can be
// written back exactly: its characters, their stored width, and the raw
// rich-text runs and phonetic block.
struct SharedString {
    std::u16string characters;
    bool highByte = false;
    std::string runs;     // 4 bytes per formatting run
    std::string phonetic; // ExtRst block
    std::string text;     // UTF-8 form for reading
};

// The SST record of the globals and its CONTINUE records.
struct SharedStrings {
    std::uint32_t totalReferences = 0;
    std::vector<SharedString> strings;
};

// Parses the bodies of an SST record and its CONTINUE records. A table
// whose data end early keeps the strings read until then.
SharedStrings parseSharedStrings(const std::vector<std::string_view>& bodies);

SharedString makeSharedString(std::string_view utf8);

// SST, CONTINUE and EXTSST records for `strings` followed by `appended`,
// laid out for the stream position `streamPosition`. Strings never have their
// header split from their first character, and characters running on into a
// CONTINUE record start it with their flag byte.
std::string serializeSharedStrings(const std::vector<SharedString>& strings, const std::vector<SharedString>& appended,
                                   std::uint32_t totalReferences, std::size_t streamPosition);

} // namespace sedilo::workbook::xls
