#pragma once

#include <string>

#include "services/failure/Failure.h"

namespace sedilo::workbook {

// A workbook that cannot be read or written. The cause names the file (and
// the cell when one is at fault); what() is the technical summary.
class WorkbookError : public Failure {
public:
    explicit WorkbookError(Cause cause) : Failure(std::move(cause)) {}
    WorkbookError(CauseKind kind, std::string file, std::string detail)
        : Failure({.kind = kind, .file = std::move(file), .detail = std::move(detail)})
    {
    }
    // A cell at fault: row and column are 1-based.
    WorkbookError(CauseKind kind, std::string file, int row, int column, std::string detail)
        : Failure({.kind = kind, .file = std::move(file), .row = row, .column = column, .detail = std::move(detail)})
    {
    }

    const std::string& file() const { return cause().file; }
    const std::string& detail() const { return cause().detail; }
};

} // namespace sedilo::workbook
