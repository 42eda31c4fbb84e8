#include "export/OutputCollision.h"

#include <optional>

#include <sys/stat.h>

#include "export/QueryExport.h"
#include "services/failure/Failure.h"

namespace sedilo::exporting {

namespace {

// Every format a room workbook is saved in, as its template's own.
constexpr const char* kRoomWorkbookExtensions[] = {".xlsx", ".xlsm", ".xltx", ".xltm", ".xls"};
constexpr const char* kWrittenExtension = ".xlsx";

// The directory entry itself: a save renames over the entry, so a symbolic
// link is replaced and its target is not.
std::optional<std::pair<unsigned long long, unsigned long long>> entryIdentity(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return std::pair<unsigned long long, unsigned long long>(status.st_dev, status.st_ino);
}

} // namespace

OutputCollision::OutputCollision(std::string folderText) : m_folder(std::move(folderText)) {}

void OutputCollision::protect(const std::string& path, bool roomWorkbook, const std::string& owner)
{
    m_unresolved.push_back(Protected{roomWorkbook, owner, path});
}

void OutputCollision::resolve() const
{
    for (Protected& file : m_unresolved)
        if (const auto identity = entryIdentity(file.path))
            m_files.emplace(*identity, std::move(file));
    m_unresolved.clear();
}

void OutputCollision::protectRoomWorkbooks(const std::set<std::string>& rooms)
{
    for (const std::string& room : rooms)
        for (const char* extension : kRoomWorkbookExtensions)
            protect(m_folder + room + extension, true, room);
}

void OutputCollision::protectQueryWorkbooks(const std::set<std::string>& units)
{
    for (const std::string& unit : units)
        protect(m_folder + unit + kWrittenExtension, false, unit);
    protect(m_folder + kAllExamineesFileName + kWrittenExtension, false, kAllExamineesFileName);
}

void OutputCollision::refuse(const std::string& name, bool namedAfterUnit) const
{
    const std::string path = m_folder + name + kWrittenExtension;
    const auto identity = entryIdentity(path);
    if (!identity)
        return;
    resolve();
    const auto found = m_files.find(*identity);
    if (found == m_files.end())
        return;
    const Protected& file = found->second;
    Cause cause;
    cause.file = file.path;
    cause.detail = "\"" + path + "\" would replace " + (file.roomWorkbook ? "the room workbook" : "the query workbook") +
                   " \"" + file.path + "\"";
    if (!file.roomWorkbook) {
        cause.kind = CauseKind::OutputCollidesWithQueryWorkbook;
        cause.name = name;
        cause.unit = file.owner;
    } else if (namedAfterUnit) {
        cause.kind = CauseKind::UnitCollidesWithRoom;
        cause.unit = name;
        cause.room = file.owner;
    } else {
        cause.kind = CauseKind::OutputCollidesWithRoom;
        cause.name = name;
        cause.room = file.owner;
    }
    throw Failure(std::move(cause));
}

} // namespace sedilo::exporting
