#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// `text` with every occurrence of `what` replaced by `with`, ASCII letters
// matched regardless of case (as a spreadsheet's replace does); nothing when
// `what` does not occur or is empty.
std::optional<std::string> replaceIgnoringAsciiCase(std::string_view text, std::string_view what,
                                                    std::string_view with);

// Whether `a` and `b` are equal with ASCII letters compared regardless of case.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace sedilo::workbook
