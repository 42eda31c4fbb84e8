#pragma once

#include <string>

namespace sedilo {
class Prompt;
class ShellDialogs;
} // namespace sedilo

namespace sedilo::rooms {

// The shipped room template sample, beside the executable.
std::string templateSamplePath(const std::string& executableFolder);

// Click on PushButton9: hands the desktop a read-only copy of the sample in a
// fresh temporary folder, so that the shipped sample is never changed. Returns
// the copy's path, or "" after a failure (which has been shown).
std::string OpenTemplateSample(const std::string& executableFolder, ShellDialogs& dialogs, Prompt& prompt);

} // namespace sedilo::rooms
