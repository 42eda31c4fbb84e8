#pragma once

#include <string>

namespace sedilo::cli {

// A path given on the command line, made absolute so that no later step (the
// core trims spaces off the ends of a path box) can turn it into another one.
// Returns a usage problem naming `option`, or "" with `path` set.
std::string absolutePathOption(const std::string& option, const std::string& text, std::string& path);

// Makes the output folder and checks that it takes files, before anything is
// changed; throws a Failure naming it.
void prepareOutputFolder(const std::string& folder);

} // namespace sedilo::cli
