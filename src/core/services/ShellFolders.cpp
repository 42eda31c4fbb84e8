#include "services/ShellFolders.h"

#include <filesystem>

#include "services/Messages.h"
#include "services/failure/CauseCatalogue.h"
#include "services/failure/Failure.h"
#include "services/text/Trim.h"

namespace sedilo {

namespace {
constexpr char kSeparator = '/';
}

std::string ChooseExcelFile(ShellDialogs& dialogs, const std::string& title)
{
    return trimSpaces(dialogs.chooseFile(title));
}

std::string BrowseForFolder(ShellDialogs& dialogs, const std::string& title)
{
    return dialogs.chooseFolder(title.empty() ? std::string(kDefaultFolderTitle) : title);
}

void ChooseOutputFolder(std::string& ksoutpath, ShellDialogs& dialogs)
{
    std::string folder = trimSpaces(BrowseForFolder(dialogs, kOutputFolderTitle));
    if (folder.empty())
        return;
    if (folder.back() != kSeparator)
        folder += kSeparator;
    ksoutpath = folder;
}

std::string OutputFolderText(const std::string& ksoutpath)
{
    std::string folder = trimSpaces(ksoutpath);
    std::error_code error;
    if (!folder.empty() && folder.back() != kSeparator && std::filesystem::is_directory(folder, error))
        folder += kSeparator;
    return folder;
}

void OpenOutputFolder(OutputFolderButton button, const std::string& ksoutpath, ShellDialogs& dialogs,
                      Prompt& prompt)
{
    switch (button) {
    case OutputFolderButton::PushButton11:
        if (trimSpaces(ksoutpath).empty()) {
            prompt.error(messages::kNoOutputFolder);
            return;
        }
        break;
    case OutputFolderButton::PushButton4:
        if (ksoutpath.empty())
            return;
        break;
    }
    const std::string folder = OutputFolderText(ksoutpath);
    const std::string shown = folder != trimSpaces(ksoutpath) ? folder : ksoutpath;
    if (!dialogs.openFolder(shown))
        ReportNoDesktopHandler(prompt, messages::kCannotOpenFolder, shown);
}

void ReportNoDesktopHandler(Prompt& prompt, const std::string& message, const std::string& path)
{
    const Cause cause{.kind = CauseKind::NoDesktopHandler, .file = path};
    prompt.error(WithCause(message, cause), TechnicalSummary(cause));
}

} // namespace sedilo
