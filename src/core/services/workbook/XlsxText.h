#pragma once

#include <string>
#include <string_view>

namespace sedilo::workbook {

// The `_xHHHH_` escapes by which a workbook stores characters XML cannot
// carry (control characters, and `_x005F_` for a literal underscore).

// Stored text to the cell's text: every `_xHHHH_` decoded (UTF-16 pairs joined).
std::string decodeStoredText(std::string_view stored);

// The cell's text as element content: XML entities, `_xHHHH_` for control
// characters and for text that would read back as an escape, and invalid
// UTF-8 replaced by U+FFFD.
std::string encodeStoredText(std::string_view text);

// Only the underscore of each literal "_xHHHH_" escaped, for writers that do
// the XML escaping themselves but would let such text read back as an escape.
std::string protectLiteralEscapes(std::string_view text);

// Whether the stored text needs xml:space="preserve" to keep its
// leading or trailing white space.
bool needsSpacePreserve(std::string_view text);

} // namespace sedilo::workbook
