#pragma once

#include <cstddef>
#include <string>

#include "export/ExportRows.h"

namespace sedilo::exporting {

// One query workbook being filled: the header row "姓名", "考号", "单位",
// "考室" on row 1 and below it the examinees of the export's rows from
// `first` on, one a row, as many as are appended. The rows must outlive it.
class QueryWorkbook {
public:
    QueryWorkbook(const ExportRows& rows, std::size_t first) : m_rows(rows), m_first(first) {}

    // Takes the next examinee of the rows; throws WorkbookError when a text
    // cannot go into its cell, before anything is saved.
    void appendNext();

    // Saves as `pathWithoutExtension` + ".xlsx", replacing an existing file.
    std::string saveAs(const std::string& pathWithoutExtension) const;

private:
    const ExportRows& m_rows;
    const std::size_t m_first;
    std::size_t m_count = 0;
};

} // namespace sedilo::exporting
