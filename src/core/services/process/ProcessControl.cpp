#include "services/process/ProcessControl.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace sedilo {

namespace {

std::vector<unsigned long> processIdsAscending()
{
    std::vector<unsigned long> ids;
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/proc", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        try {
            ids.push_back(std::stoul(name));
        } catch (const std::exception&) {
            // Not a process id after all; skip it.
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Empty when the file cannot be read: a process reaped between opening and
// reading its files fails the read with ESRCH, which the stream library
// throws, and such a process is simply no longer there.
std::string readWhole(const std::string& path)
{
    try {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    } catch (const std::exception&) {
        return {};
    }
}

// The name the process was started under (basename of argv[0]), which is what a
// user sees in a process list and what a wrapper script sets; kernel threads
// and zombies have no command line, so their short kernel name stands in.
std::string executableName(unsigned long pid)
{
    const std::string folder = "/proc/" + std::to_string(pid) + "/";
    std::string commandLine = readWhole(folder + "cmdline");
    std::string argv0 = commandLine.substr(0, commandLine.find('\0'));
    if (!argv0.empty()) {
        const auto slash = argv0.rfind('/');
        return slash == std::string::npos ? argv0 : argv0.substr(slash + 1);
    }
    std::string comm = readWhole(folder + "comm");
    if (!comm.empty() && comm.back() == '\n')
        comm.pop_back();
    return comm;
}

} // namespace

std::string FindProcessId(const std::string& name)
{
    std::string result;
    for (const unsigned long pid : processIdsAscending()) {
        // A process that ended since the listing gives an empty name and is skipped.
        const std::string executable = executableName(pid);
        if (executable.size() >= name.size() && executable.compare(0, name.size(), name) == 0)
            result = std::to_string(pid);
    }
    return result;
}

std::int32_t KillProcess(std::uint32_t pid)
{
    // Process id 0 and the ones that do not fit a pid_t would address whole
    // process groups; our own id would end the program the user is working in.
    if (pid == 0 || pid > static_cast<std::uint32_t>(INT_MAX) || static_cast<pid_t>(pid) == getpid())
        return 0;
    // SIGKILL: termination that the target cannot catch or ignore, as the
    // caller (after the user's Yes) expects the process gone; with SIGTERM a
    // "success" would only mean that a request was delivered.
    return kill(static_cast<pid_t>(pid), SIGKILL) == 0 ? 1 : 0;
}

} // namespace sedilo
