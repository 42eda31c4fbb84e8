#pragma once

#include <string>

#include "services/failure/Cause.h"

namespace sedilo {

enum class FileAccess { Read, Write };

// The cause of a failed file operation on `path` from its errno value: a
// missing or read-only folder names the folder, a full disk the file, a name
// the file system refuses the file's own name. `detail` is the technical text.
Cause FileErrorCause(int errorNumber, const std::string& path, FileAccess access, std::string detail);

} // namespace sedilo
