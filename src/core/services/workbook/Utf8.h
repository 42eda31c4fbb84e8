#pragma once

#include <string>
#include <string_view>

namespace sedilo::workbook {

// The text with every invalid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);

// Appends the UTF-8 form of a code point (U+FFFD for a surrogate or beyond U+10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point starting at `pos` of valid UTF-8 text and moves `pos` past it.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

// Columns the text takes in a fixed-pitch cell: a wide (CJK, full-width)
// character counts as two, every other character as one.
int displayWidth(std::string_view text);

} // namespace sedilo::workbook
