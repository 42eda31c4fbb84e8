#pragma once

#include <string>

#include "services/failure/Cause.h"

namespace sedilo {

// The one place where a cause becomes the Chinese sentence the user reads.
std::string ChineseCause(const Cause& cause);

// A message box's main text: the operation's own message on the first line,
// the Chinese cause on the second.
std::string WithCause(const std::string& message, const Cause& cause);

} // namespace sedilo
