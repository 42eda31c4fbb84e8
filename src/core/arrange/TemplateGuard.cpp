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
    // An existing file is the same file as a template exactly when its device
    // and inode are; only a file still to be made is compared by path, and
    // its folder, the same for every room, is resolved once.
    const auto identity = fileIdentity(outputPath);
    bool isTemplate = identity && m_files.count(*identity);
    if (!identity) {
        const std::filesystem::path output(outputPath);
        if (m_resolvedFolder.first != output.parent_path())
            m_resolvedFolder = {output.parent_path(),
                                resolved(output.has_parent_path() ? output.parent_path().string() : ".")};
        isTemplate = m_paths.count(m_resolvedFolder.second / output.filename()) > 0;
    }
    if (isTemplate)
        throw ArrangeError({.kind = CauseKind::OutputIsTemplate,
                            .file = outputPath,
                            .room = room,
                            .detail = "the room workbook would overwrite a room template"});
}

} // namespace sedilo::arrange
