#pragma once

#include <string_view>

namespace sedilo {

// Orders texts as a reader lists rooms and exam numbers: runs of ASCII digits
// compare by their value (第9考室 before 第10考室, 998 before 1000), the rest
// byte by byte. Texts equal so (0012 and 12) fall back to plain byte order,
// so the order is total.
bool naturalLess(std::string_view left, std::string_view right);

} // namespace sedilo
