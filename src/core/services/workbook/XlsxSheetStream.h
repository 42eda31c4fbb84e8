#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

// One cell of worksheet 1 as the stream meets it.
struct StreamedCell {
    int row = 0;
    int column = 0;
    std::string_view text; // as Worksheet::cellText gives it; the error value for an error cell
    bool formula = false;
    bool error = false;
    bool noResult = false; // a formula whose result was never stored: no text

    bool hasValue() const { return formula || error || !text.empty(); }
};

// Receives the cells in sheet order; returns false to stop reading.
class SheetCellVisitor {
public:
    virtual ~SheetCellVisitor() = default;
    virtual bool visit(const StreamedCell& cell) = 0;
};

// A sheet whose cells do not come in row-by-row, left-to-right order (or
// that names one cell twice): the stream cannot tell which one counts.
class UnorderedSheet : public WorkbookError {
public:
    using WorkbookError::WorkbookError;
};

// Reads worksheet 1 of an .xlsx without holding its part or a document of
// it: the shared strings are read whole (compactly), the sheet streamed.
// Bounded in memory by construction and in time by the part limit below and
// the cell cap. Throws WorkbookError naming `path`.
class XlsxSheetStream {
public:
    // A streamed sheet part may be far larger than a document one, up to a
    // list of every row a sheet can hold.
    static constexpr std::uint64_t kStreamedPartLimit = 1024ull * 1024 * 1024;
    // Cells of any kind, including empty ones: sixteen columns of every row.
    static constexpr std::size_t kCellLimit = 16u * 1048576;

    static void read(const std::string& path, std::shared_ptr<const std::string> bytes, SheetCellVisitor& visitor);
};

} // namespace sedilo::workbook
