#pragma once

#include <string_view>

namespace sedilo::arrange {

// An examinee's values as the seat cells show them, viewed where the
// ordering's rows are held.
struct ExamineeValues {
    std::string_view name;
    std::string_view number;
    std::string_view unit;
};

} // namespace sedilo::arrange
