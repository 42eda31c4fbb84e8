#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace sedilo::store {

// A column value as stored: nothing, a whole number, a real or a text.
using Field = std::variant<std::monostate, std::int64_t, double, std::string>;

// The value as text: "" for nothing; numbers in their shortest decimal form
// (a real with no fraction has none: 57.0 gives "57").
std::string fieldText(const Field& field);

} // namespace sedilo::store
