#pragma once

#include <string>

#include "store/Field.h"

namespace sedilo::store {

// SQLite's column affinity, from the declared type.
enum class Affinity { Text, Numeric, Real, None };

Affinity affinityOf(const std::string& declaredType);

// True when storing the value leaves its type as it is, so the row need not be
// read back to learn what was stored.
bool storedUnchanged(Affinity affinity, const Field& value);

} // namespace sedilo::store
