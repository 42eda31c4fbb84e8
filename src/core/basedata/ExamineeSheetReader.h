#pragma once

#include <array>
#include <string>

namespace sedilo::workbook {
class Worksheet;
}

namespace sedilo::basedata {

// Reads the examinees of a base-data worksheet: row 1 is the header; from
// row 2 each row holds name, exam number, unit and score in columns A to D,
// read as text trimmed of U+0020. The data end before the first row whose A or
// B is empty, and after at most lastRow() rows.
class ExamineeSheetReader {
public:
    using Cells = std::array<std::string, 4>;

    // Throws when the worksheet holds no cell at all. `file` names the
    // workbook in the failures.
    ExamineeSheetReader(const workbook::Worksheet& sheet, std::string file);

    // The last row holding a value: the bound on the rows read.
    int lastRow() const { return m_lastRow; }
    // Examinees read so far.
    int count() const { return m_count; }

    // Reads the next examinee into `cells`; false at the end of the data. A cell
    // that cannot be read, or a formula without a stored result, throws a
    // failure naming its row and column.
    bool next(Cells& cells);

private:
    std::string cell(int row, int column) const;

    const workbook::Worksheet& m_sheet;
    std::string m_file;
    int m_lastRow = 0;
    int m_count = 0;
};

} // namespace sedilo::basedata
