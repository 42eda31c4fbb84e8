#include "arrange/TemplateGuard.h"

#include <optional>

#include <sys/stat.h>

#include "arrange/ArrangeError.h"

namespace sedilo::arrange {

namespace {

std::filesystem::path resolved(const std::string& path)
{
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path).lexically_normal() : canonical;
}

std::optional<std::pair<unsigned long long, unsigned long long>> fileIdentity(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return std::pair<unsigned long long, unsigned long long>(status.st_dev, status.st_ino);
}

} // namespace

TemplateGuard::TemplateGuard(const std::vector<std::string>& templatePaths)
{
    // A city's room list names a few templates thousands of times.
    const std::set<std::string> distinct(templatePaths.begin(), templatePaths.end());
    for (const std::string& path : distinct) {
        m_paths.insert(resolved(path));
        if (const auto identity = fileIdentity(path))
            m_files.insert(*identity);
    }
}

void TemplateGuard::check(const std::string& room, const std::string& outputPath) const
{
    const auto identity = fileIdentity(outputPath);
    if (m_paths.count(resolved(outputPath)) || (identity && m_files.count(*identity)))
        throw ArrangeError({.kind = CauseKind::OutputIsTemplate,
                            .file = outputPath,
                            .room = room,
                            .detail = "the room workbook would overwrite a room template"});
}

} // namespace sedilo::arrange
