#pragma once

#include <cstddef>
#include <string_view>

namespace sedilo::workbook {

// Byte positions of elements in well-formed XML text, for splicing edited
// elements into a part that is otherwise passed on unchanged.
// Both return std::string_view::npos when the text ends first.

// Just past the '>' of the start tag that begins at `tagStart` (its '<').
std::size_t startTagEnd(std::string_view xml, std::size_t tagStart);

// Just past the end of the element that begins at `tagStart`.
std::size_t elementEnd(std::string_view xml, std::size_t tagStart);

// The namespace prefix with its colon ("x:") of the element at `tagStart`.
std::string_view elementPrefix(std::string_view xml, std::size_t tagStart);

} // namespace sedilo::workbook
