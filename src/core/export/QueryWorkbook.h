#pragma once

#include <string>

#include "services/workbook/NewWorkbook.h"

namespace sedilo::exporting {

// One query workbook being filled: the header row "姓名", "考号", "单位",
// "考室" on row 1 and one examinee per row below it, in the order given.
class QueryWorkbook {
public:
    QueryWorkbook();

    void appendExaminee(const std::string& name, const std::string& number,
                        const std::string& unit, const std::string& room);
    int examineeCount() const { return m_lastRow - 1; }

    // Saves as `pathWithoutExtension` + ".xlsx", replacing an existing file.
    std::string saveAs(const std::string& pathWithoutExtension) const;

private:
    void writeRow(int row, const std::string& name, const std::string& number,
                  const std::string& unit, const std::string& room);

    workbook::NewWorkbook m_book;
    int m_lastRow = 1;
};

} // namespace sedilo::exporting
