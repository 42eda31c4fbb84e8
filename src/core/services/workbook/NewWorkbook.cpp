#include "services/workbook/NewWorkbook.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <vector>
#include <xlsxwriter.h>

#include "services/workbook/AtomicSave.h"
#include "services/workbook/CellReference.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxText.h"
#include "services/workbook/XlsxSheetIndex.h"

// libxlsxwriter stamps each workbook's creation time with gmtime(), whose
// one static result all threads share, and new workbooks are saved on
// several threads at once. This definition, which the dynamic linker binds
// in its place, gives each thread a result of its own.
extern "C" std::tm* gmtime(const std::time_t* time)
{
    thread_local std::tm result;
    return gmtime_r(time, &result);
}

namespace sedilo::workbook {

namespace {

const std::string kUnsaved = "new workbook";
constexpr std::size_t kMaxCellCharacters = 32767; // UTF-16 units, as spreadsheets count
constexpr double kMaxColumnWidth = 255;
// Empty cells of a coloured rectangle get the colour too, up to this many.
constexpr long long kMaxColouredBlanks = 100000;

struct FontColor {
    int firstRow, firstColumn, lastRow, lastColumn;
    std::uint32_t rgb;

    bool covers(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
};

void checkCell(int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw WorkbookError(CauseKind::Unknown, kUnsaved, "there is no cell at row " + std::to_string(row) + ", column " +
                                          std::to_string(column));
}

std::size_t utf16Length(std::string_view text)
{
    std::size_t length = 0;
    for (std::size_t pos = 0; pos < text.size();)
        length += nextCodePoint(text, pos) > 0xFFFF ? 2 : 1;
    return length;
}

int longestLineWidth(const std::string& text)
{
    int widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        widest = std::max(widest, displayWidth(std::string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

} // namespace

struct NewWorkbook::Data {
    std::map<std::uint64_t, std::string> cells; // cellKey to text
    std::vector<FontColor> colors;
    std::map<int, double> widths;
};

NewWorkbook::NewWorkbook() : m_data(std::make_unique<Data>()) {}

NewWorkbook::~NewWorkbook() = default;

void NewWorkbook::setCellText(int row, int column, const std::string& text)
{
    checkCell(row, column);
    std::string valid = validUtf8(text);
    if (valid.size() > kMaxCellCharacters && utf16Length(valid) > kMaxCellCharacters)
        throw WorkbookError(CauseKind::TextTooLong, std::string(), row, column, "the text for cell " + cellName(row, column) +
                                          " is longer than a cell can hold");
    if (valid.empty())
        m_data->cells.erase(cellKey(row, column));
    else
        m_data->cells[cellKey(row, column)] = std::move(valid);
}

void NewWorkbook::setFontColor(int firstRow, int firstColumn, int lastRow, int lastColumn, std::uint32_t rgb)
{
    checkCell(firstRow, firstColumn);
    checkCell(lastRow, lastColumn);
    m_data->colors.push_back({std::min(firstRow, lastRow), std::min(firstColumn, lastColumn),
                              std::max(firstRow, lastRow), std::max(firstColumn, lastColumn), rgb & 0xFFFFFF});
}

void NewWorkbook::fitColumns(int firstColumn, int lastColumn)
{
    checkCell(1, firstColumn);
    checkCell(1, lastColumn);
    if (firstColumn > lastColumn)
        std::swap(firstColumn, lastColumn);
    std::map<int, int> widest;
    for (const auto& [key, text] : m_data->cells) {
        const int column = static_cast<int>(key & 0xFFFF);
        if (column >= firstColumn && column <= lastColumn)
            widest[column] = std::max(widest[column], longestLineWidth(text));
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const auto found = widest.find(column);
        // A column without content goes back to the default width, as a spreadsheet's fit does.
        if (found == widest.end())
            m_data->widths.erase(column);
        else
            m_data->widths[column] = std::min(kMaxColumnWidth, found->second + 1.0);
    }
}

std::string NewWorkbook::saveAs(const std::string& pathWithoutExtension) const
{
    const std::string target = pathWithoutExtension + ".xlsx";
    const Data& data = *m_data;
    saveAtomically(target, [&](const std::string& tempPath) {
        // Rows stream out in order and strings go inline, without the shared
        // string table's search; blanks of a colour rectangle come after the
        // cells, which streaming would drop, so coloured books are kept whole.
        lxw_workbook_options options{};
        options.constant_memory = data.colors.empty() ? LXW_TRUE : LXW_FALSE;
        lxw_workbook* book = workbook_new_opt(tempPath.c_str(), &options);
        if (!book)
            throw WorkbookError(CauseKind::Unknown, target, "cannot start a new workbook");
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        std::map<std::uint32_t, lxw_format*> formats;
        const auto formatAt = [&](int row, int column) -> lxw_format* {
            for (auto color = data.colors.rbegin(); color != data.colors.rend(); ++color) {
                if (!color->covers(row, column))
                    continue;
                lxw_format*& format = formats[color->rgb];
                if (!format) {
                    format = workbook_add_format(book);
                    format_set_font_color(format, color->rgb);
                }
                return format;
            }
            return nullptr;
        };
        lxw_error failure = LXW_NO_ERROR;
        for (const auto& [key, text] : data.cells) {
            const int row = static_cast<int>(key >> 16);
            const int column = static_cast<int>(key & 0xFFFF);
            const lxw_error written =
                worksheet_write_string(sheet, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1),
                                       protectLiteralEscapes(text).c_str(), formatAt(row, column));
            if (failure == LXW_NO_ERROR)
                failure = written;
        }
        for (const FontColor& color : data.colors) {
            const long long area = static_cast<long long>(color.lastRow - color.firstRow + 1) *
                                   (color.lastColumn - color.firstColumn + 1);
            if (area > kMaxColouredBlanks)
                continue;
            for (int row = color.firstRow; row <= color.lastRow; ++row)
                for (int column = color.firstColumn; column <= color.lastColumn; ++column)
                    if (!data.cells.contains(cellKey(row, column)))
                        worksheet_write_blank(sheet, static_cast<lxw_row_t>(row - 1),
                                              static_cast<lxw_col_t>(column - 1), formatAt(row, column));
        }
        for (const auto& [column, width] : data.widths)
            worksheet_set_column(sheet, static_cast<lxw_col_t>(column - 1), static_cast<lxw_col_t>(column - 1), width,
                                 nullptr);
        const lxw_error closed = workbook_close(book);
        if (failure == LXW_NO_ERROR)
            failure = closed;
        if (failure != LXW_NO_ERROR)
            throw WorkbookError(CauseKind::FileNotWritable, target,
                                std::string("cannot write the workbook: ") + lxw_strerror(failure));
    });
    return target;
}

} // namespace sedilo::workbook
