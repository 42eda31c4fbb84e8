#pragma once

#include <string>

#include "services/Prompt.h"
#include "services/ShellDialogs.h"

namespace sedilo {

inline constexpr const char* kDefaultFolderTitle = "Select a folder.";
inline constexpr const char* kOutputFolderTitle = "选择考室编排文件生成路径";

// The open-file chooser for a workbook: the chosen path trimmed of spaces, or
// "" when cancelled. Callers put the result into their text box even when empty.
std::string ChooseExcelFile(ShellDialogs& dialogs, const std::string& title);

// The folder chooser: the chosen folder, or "" when cancelled.
std::string BrowseForFolder(ShellDialogs& dialogs, const std::string& title = kDefaultFolderTitle);

// PushButton3: sets the output folder text to the chosen folder ending with
// the separator, because file names are appended to it directly. A cancelled
// chooser leaves the text as it was.
void ChooseOutputFolder(std::string& ksoutpath, ShellDialogs& dialogs);

// The output folder text as file names are appended to it: trimmed, with the
// separator added when it names an existing folder without ending in one
// (a typed "/home/exam/out" would otherwise put "out第1考室.xlsx" beside the
// folder). Any other text stays as typed.
std::string OutputFolderText(const std::string& ksoutpath);

// The two "打开输出文件夹" buttons; they differ in how they treat an empty text.
enum class OutputFolderButton {
    PushButton11, // generation tab: empty after trimming is refused with a message
    PushButton4,  // export tab: only a truly empty text is ignored, silently
};

// A desktop that cannot show the folder is told in an error box naming it.
// The error box for a file or folder the desktop has no application for
// (no xdg-open): the operation's message, then the cause naming the path.
void ReportNoDesktopHandler(Prompt& prompt, const std::string& message, const std::string& path);

void OpenOutputFolder(OutputFolderButton button, const std::string& ksoutpath, ShellDialogs& dialogs,
                      Prompt& prompt);

} // namespace sedilo
