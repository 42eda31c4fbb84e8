#pragma once

#include <exception>
#include <string>

#include "services/Prompt.h"

namespace sedilo::session {

// Tells the user that an action stopped because the database file could not
// be used, naming the file and the cause. The program goes on; the next
// action tries the file again.
void ReportDatabaseFailure(Prompt& prompt, const std::string& file, const std::exception& failure);

} // namespace sedilo::session
