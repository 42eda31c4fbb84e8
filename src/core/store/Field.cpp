#include "store/Field.h"

#include <cmath>
#include <cstdio>

namespace sedilo::store {

std::string fieldText(const Field& field)
{
    if (const auto* text = std::get_if<std::string>(&field))
        return *text;
    if (const auto* whole = std::get_if<std::int64_t>(&field))
        return std::to_string(*whole);
    if (const auto* real = std::get_if<double>(&field)) {
        if (std::isfinite(*real) && std::nearbyint(*real) == *real && std::fabs(*real) < 1e15)
            return std::to_string(static_cast<std::int64_t>(*real));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", *real);
        return buffer;
    }
    return {};
}

} // namespace sedilo::store
