#include "CliRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

namespace sedilo::test {

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string cliPath()
{
    const char* fromEnvironment = std::getenv("SEDILO_CLI");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : SEDILO_CLI_PATH;
}

CliRun runCli(const std::string& scratchFolder, const std::vector<std::string>& args)
{
    const auto out = (std::filesystem::path(scratchFolder) / "cli-out.txt").string();
    const auto err = (std::filesystem::path(scratchFolder) / "cli-err.txt").string();
    std::string command = quoted(cliPath());
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " </dev/null >" + quoted(out) + " 2>" + quoted(err);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

} // namespace sedilo::test
