#include "basedata/ExamineeListReader.h"

#include <algorithm>
#include <stdexcept>

#include "basedata/ExamineeSheetReader.h"
#include "services/text/Trim.h"
#include "services/workbook/CellReference.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/Workbook.h"
#include "services/workbook/XlsxSheetStream.h"

namespace sedilo::basedata {

namespace {

// Gathers columns A to D of the data rows as the stream passes them, and the
// last used row from every cell. Data rows are read in the order
// ExamineeSheetReader reads their cells, so that the same cell fails first.
class ExamineeCollector final : public workbook::SheetCellVisitor {
public:
    explicit ExamineeCollector(const std::string& path) : m_path(path) {}

    bool visit(const workbook::StreamedCell& cell) override
    {
        if (cell.hasValue())
            m_list.lastRow = std::max(m_list.lastRow, cell.row);
        if (!m_open || cell.row < m_next)
            return true;
        if (cell.row > m_next) {
            endRow();
            if (m_open && cell.row > m_next)
                m_open = false; // row m_next holds no cell, so its A is empty
        }
        if (m_open && cell.row == m_next && cell.column <= 4)
            m_row[cell.column - 1] = {std::string(cell.text), cell.error, cell.noResult};
        return true;
    }

    ExamineeList finish()
    {
        if (m_open)
            endRow();
        return std::move(m_list);
    }

private:
    struct Cell {
        std::string text;
        bool error = false;
        bool formulaWithoutResult = false;
    };

    std::string read(int column)
    {
        const Cell& cell = m_row[column];
        const std::string name = "row " + std::to_string(m_next) + ", column " + static_cast<char>('A' + column);
        if (cell.formulaWithoutResult)
            throw workbook::formulaWithoutResult(m_path, m_next, column + 1);
        if (cell.error)
            throw std::runtime_error(name + ": " +
                                     workbook::WorkbookError(m_path, "cell " + workbook::cellName(m_next, column + 1) +
                                                                         " holds the error " + cell.text)
                                         .what());
        return trimSpaces(cell.text);
    }

    void endRow()
    {
        ExamineeList::Cells cells;
        cells[0] = read(0);
        if (!cells[0].empty())
            cells[1] = read(1);
        if (cells[0].empty() || cells[1].empty()) {
            m_open = false;
            return;
        }
        cells[2] = read(2);
        cells[3] = read(3);
        m_list.append(cells);
        m_row = {};
        ++m_next;
    }

    const std::string& m_path;
    ExamineeList m_list;
    std::array<Cell, 4> m_row;
    int m_next = 2;
    bool m_open = true;
};

ExamineeList readThroughWorkbook(const std::string& path)
{
    const auto book = workbook::Workbook::open(path);
    ExamineeSheetReader reader(book->firstSheet(), book->path());
    ExamineeList list;
    list.lastRow = reader.lastRow();
    ExamineeSheetReader::Cells cells;
    while (reader.next(cells))
        list.append(cells);
    return list;
}

} // namespace

ExamineeList readExamineeList(const std::string& path)
{
    try {
        ExamineeCollector collector(path);
        if (workbook::streamXlsxFirstSheet(path, collector)) {
            ExamineeList list = collector.finish();
            if (list.lastRow <= 0)
                throw std::runtime_error("worksheet 1 is empty");
            return list;
        }
    } catch (const workbook::UnorderedSheet&) {
        // Which of two cells counts is the workbook engine's to say.
    }
    return readThroughWorkbook(path);
}

} // namespace sedilo::basedata
