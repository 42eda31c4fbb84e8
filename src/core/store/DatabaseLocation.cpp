#include "store/DatabaseLocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "services/failure/FileErrorCause.h"
#include "store/DatabaseError.h"
#include "store/SeatingDatabase.h"

namespace sedilo::store {

namespace {

std::filesystem::path userDataFolder()
{
    // The XDG rules ignore a relative XDG_DATA_HOME.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        return std::filesystem::path(dataHome) / "sedilo";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(geteuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || !*home)
        throw DatabaseError({.kind = CauseKind::NoHomeFolder, .file = "data.mdb",
                             .detail = "there is no home folder to keep the database in"});
    return std::filesystem::path(home) / ".local" / "share" / "sedilo";
}

} // namespace

std::string chooseDatabasePath(const std::string& executableFolder)
{
    if (!executableFolder.empty() && access(executableFolder.c_str(), W_OK | X_OK) == 0)
        return databasePathInFolder(executableFolder);
    const std::filesystem::path folder = userDataFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw DatabaseError(FileErrorCause(error.value(), folder.string(), FileAccess::Write,
                                           "the folder cannot be created (" + error.message() + ")"));
    return databasePathInFolder(folder.string());
}

} // namespace sedilo::store
