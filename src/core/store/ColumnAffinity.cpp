#include "store/ColumnAffinity.h"

#include <cmath>

#include "store/SelectPlan.h"

namespace sedilo::store {

Affinity affinityOf(const std::string& declaredType)
{
    const std::string type = lowered(declaredType);
    if (type.find("int") != std::string::npos)
        return Affinity::Numeric;
    if (type.find("char") != std::string::npos || type.find("clob") != std::string::npos
        || type.find("text") != std::string::npos)
        return Affinity::Text;
    if (type.empty() || type.find("blob") != std::string::npos)
        return Affinity::None;
    if (type.find("real") != std::string::npos || type.find("floa") != std::string::npos
        || type.find("doub") != std::string::npos)
        return Affinity::Real;
    return Affinity::Numeric;
}

bool storedUnchanged(Affinity affinity, const Field& value)
{
    if (std::holds_alternative<std::monostate>(value) || affinity == Affinity::None)
        return true;
    const auto* real = std::get_if<double>(&value);
    switch (affinity) {
    case Affinity::Text:
        return std::holds_alternative<std::string>(value);
    case Affinity::Real:
        return real && std::isfinite(*real);
    case Affinity::Numeric:
        return std::holds_alternative<std::int64_t>(value)
               || (real && std::isfinite(*real) && std::nearbyint(*real) != *real);
    default:
        return false;
    }
}

} // namespace sedilo::store
