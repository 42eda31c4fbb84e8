#pragma once

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sedilo::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string usage; // one line, shown in the help
    std::function<int(const std::vector<std::string>& args)> run;
};

// The commands of sedilo-cli by name. Each command's file registers itself.
std::map<std::string, Command>& commands();

struct CommandRegistrar {
    CommandRegistrar(const std::string& name, Command command) { commands()[name] = std::move(command); }
};

// Reports a usage error on stderr and returns kExitUsage.
int usageError(const std::string& message);

// A failure's technical line, followed by its Chinese cause when it has one.
std::string failureText(const std::exception& failure);

} // namespace sedilo::cli
