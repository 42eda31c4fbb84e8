#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <xlsxwriter.h>

namespace sedilo::exporting {

enum class PaperOrientation { Portrait, Landscape };

// A print-ready workbook being written with libxlsxwriter. Positions are
// 0-based as the library counts them. The first failure of any call is kept
// and thrown by close(), so writers can go on without checking each cell.
class PrintBook {
public:
    // `constantMemory`: rows go to disk as they are finished, so every sheet
    // must be written row after row (each sheet also holds a temporary file).
    PrintBook(const std::string& path, bool constantMemory);
    ~PrintBook();
    PrintBook(const PrintBook&) = delete;
    PrintBook& operator=(const PrintBook&) = delete;

    // A sheet named `wanted`, made a valid and unused sheet name if need be.
    lxw_worksheet* addSheet(const std::string& wanted);
    lxw_format* addFormat();

    // A4 in `orientation`, fitted to one page wide (as many pages tall as the
    // content and its manual page breaks ask), centred, with page numbers.
    void setUpPage(lxw_worksheet* sheet, PaperOrientation orientation);

    // Rows without a height of their own get `points`; cheaper than a height per row.
    void setDefaultRowHeight(lxw_worksheet* sheet, double points);
    void setRowHeight(lxw_worksheet* sheet, int row, double points);
    void setColumnWidth(lxw_worksheet* sheet, int column, double characters);
    // The stored text as it is, always as text (an exam number keeps its zeros).
    void writeText(lxw_worksheet* sheet, int row, int column, const std::string& text, lxw_format* format);
    // One cell across `firstColumn`..`lastColumn` of `row`.
    void mergeText(lxw_worksheet* sheet, int row, int firstColumn, int lastColumn, const std::string& text,
                   lxw_format* format);
    // Rows printed at the top of every page of the sheet.
    void repeatRows(lxw_worksheet* sheet, int firstRow, int lastRow);
    // A page break above each of `rows`.
    void breakPagesBefore(lxw_worksheet* sheet, const std::vector<lxw_row_t>& rows);

    // Writes the file; throws WorkbookError naming `path` on any failure.
    void close();

private:
    void note(lxw_error error, const char* what);

    std::string m_path;
    lxw_workbook* m_book = nullptr;
    std::set<std::string> m_sheetNames; // folded to lower case, as spreadsheets compare them
    std::string m_failure;
};

// Whether a book of `sheets` worksheets may be written in constant-memory
// mode: each of its sheets keeps a temporary file open until the book is
// saved, so only as many as the process may open with room to spare.
bool constantMemoryFits(std::size_t sheets);

// Writes `target` through `fill`: beside it under a temporary name, then
// renamed over it, so a failure leaves any earlier file as it was.
void writePrintBook(const std::string& target, bool constantMemory, const std::function<void(PrintBook&)>& fill);

// Excel's ceiling on manual page breaks in one worksheet.
inline constexpr std::size_t kMaxPageBreaks = LXW_BREAKS_MAX;

// Blocks each starting a new printed page, written by writePagedBlocks.
struct PagedBlocks {
    std::size_t count = 0;
    // Printed pages block `index` takes (breaks of its own plus one); none: one each.
    std::function<std::size_t(std::size_t index)> pages;
    // Writes block `index` from `row` on, adding the rows its own pages
    // start at to `breaks`, and returns the row after it.
    std::function<int(lxw_worksheet* sheet, std::size_t index, int row, std::vector<lxw_row_t>& breaks)> write;
};

// Writes `blocks` on one sheet named `sheetName`, or on several numbered ones
// when the page-break ceiling asks.
void writePagedBlocks(PrintBook& book, const std::string& sheetName, PaperOrientation orientation,
                      const std::vector<double>& columnWidths, const PagedBlocks& blocks);

} // namespace sedilo::exporting
