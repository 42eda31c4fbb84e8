#pragma once

#include <string>
#include <vector>

namespace sedilo::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built sedilo-cli with `args`, capturing its output in files under
// `scratchFolder`.
CliRun runCli(const std::string& scratchFolder, const std::vector<std::string>& args);

// The path of the built sedilo-cli.
std::string cliPath();

} // namespace sedilo::test
