#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sedilo::arrange {

// Keeps room workbooks off the room templates: a template lying in the output
// folder under its room's name would otherwise be overwritten by its own
// filled copy and lost to the user.
class TemplateGuard {
public:
    explicit TemplateGuard(const std::vector<std::string>& templatePaths);

    // Throws ArrangeError when `outputPath` is the file of one of the templates
    // (the same path once resolved, or the same file under another name).
    void check(const std::string& room, const std::string& outputPath) const;

private:
    std::set<std::filesystem::path> m_paths;
    std::set<std::pair<unsigned long long, unsigned long long>> m_files; // device, inode
    mutable std::pair<std::filesystem::path, std::filesystem::path> m_resolvedFolder; // as given, resolved
};

} // namespace sedilo::arrange
