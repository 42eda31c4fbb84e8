#pragma once

#include "services/failure/Failure.h"

namespace sedilo::arrange {

// A run the arrangement refuses or cannot finish (no ordering, unsafe room
// name, template in the way, a room workbook that cannot be saved).
class ArrangeError : public Failure {
public:
    using Failure::Failure;
};

} // namespace sedilo::arrange
