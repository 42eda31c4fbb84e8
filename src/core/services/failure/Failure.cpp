#include "services/failure/Failure.h"

#include <filesystem>
#include <new>

#include "services/failure/FileErrorCause.h"

namespace sedilo {

std::string TechnicalSummary(const Cause& cause)
{
    std::string text;
    auto add = [&text](const std::string& part) {
        if (part.empty())
            return;
        if (!text.empty())
            text += ": ";
        text += part;
    };
    add(cause.file);
    if (cause.row > 0)
        add("row " + std::to_string(cause.row) + ", column " + std::to_string(cause.column));
    add(cause.room.empty() ? std::string() : "room " + cause.room);
    add(cause.unit.empty() ? std::string() : "unit " + cause.unit);
    add(cause.name.empty() ? std::string() : "name " + cause.name);
    add(cause.detail);
    return text;
}

Failure::Failure(Cause cause) : std::runtime_error(TechnicalSummary(cause)), m_cause(std::move(cause)) {}

Cause CauseOf(const std::exception& failure)
{
    if (const auto* known = dynamic_cast<const Failure*>(&failure))
        return known->cause();
    // The file operations that throw here create or replace files and folders.
    if (const auto* files = dynamic_cast<const std::filesystem::filesystem_error*>(&failure);
        files && files->code().category() == std::generic_category())
        return FileErrorCause(files->code().value(), files->path1().string(), FileAccess::Write, failure.what());
    if (dynamic_cast<const std::bad_alloc*>(&failure))
        return {.kind = CauseKind::OutOfMemory, .detail = failure.what()};
    return {.kind = CauseKind::Unknown, .detail = failure.what()};
}

Cause CauseOf(std::exception_ptr failure)
{
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const std::exception& caught) {
        return CauseOf(caught);
    } catch (...) {
    }
    return {.kind = CauseKind::Unknown, .detail = "unknown failure"};
}

} // namespace sedilo
