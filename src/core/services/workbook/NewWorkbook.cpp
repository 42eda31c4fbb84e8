#include "services/workbook/NewWorkbook.h"

#include <algorithm>
#include <map>
#include <vector>
#include <xlsxwriter.h>

#include "services/workbook/AtomicSave.h"
#include "services/workbook/CellReference.h"
#include "services/workbook/CellTextLimits.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/XlsxSheetIndex.h"
#include "services/workbook/XlsxwriterSheet.h"

namespace sedilo::workbook {

namespace {

// Empty cells of a coloured rectangle get the colour too, up to this many.
constexpr long long kMaxColouredBlanks = 100000;
constexpr double kMaxColumnWidth = 255;

struct FontColor {
    int firstRow, firstColumn, lastRow, lastColumn;
    std::uint32_t rgb;

    bool covers(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
};

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
    checkCellText(row, column, text);
    if (text.empty())
        m_data->cells.erase(cellKey(row, column));
    else
        m_data->cells[cellKey(row, column)] = validUtf8(text);
}

void NewWorkbook::setFontColor(int firstRow, int firstColumn, int lastRow, int lastColumn, std::uint32_t rgb)
{
    checkCellPlace(firstRow, firstColumn);
    checkCellPlace(lastRow, lastColumn);
    m_data->colors.push_back({std::min(firstRow, lastRow), std::min(firstColumn, lastColumn),
                              std::max(firstRow, lastRow), std::max(firstColumn, lastColumn), rgb & 0xFFFFFF});
}

void NewWorkbook::fitColumns(int firstColumn, int lastColumn)
{
    checkCellPlace(1, firstColumn);
    checkCellPlace(1, lastColumn);
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
        // Blanks of a colour rectangle come after the cells, which streaming
        // would drop, so coloured books are kept whole.
        XlsxwriterSheet out(tempPath, target, data.colors.empty(), data.cells.size());
        std::map<std::uint32_t, lxw_format*> formats;
        const auto formatAt = [&](int row, int column) -> lxw_format* {
            for (auto color = data.colors.rbegin(); color != data.colors.rend(); ++color) {
                if (!color->covers(row, column))
                    continue;
                lxw_format*& format = formats[color->rgb];
                if (!format) {
                    format = workbook_add_format(out.book());
                    format_set_font_color(format, color->rgb);
                }
                return format;
            }
            return nullptr;
        };
        for (const auto& [key, text] : data.cells) {
            const int row = static_cast<int>(key >> 16);
            const int column = static_cast<int>(key & 0xFFFF);
            out.writeText(row, column, text, formatAt(row, column));
        }
        for (const FontColor& color : data.colors) {
            const long long area = static_cast<long long>(color.lastRow - color.firstRow + 1) *
                                   (color.lastColumn - color.firstColumn + 1);
            if (area > kMaxColouredBlanks)
                continue;
            for (int row = color.firstRow; row <= color.lastRow; ++row)
                for (int column = color.firstColumn; column <= color.lastColumn; ++column)
                    if (!data.cells.contains(cellKey(row, column)))
                        out.writeBlank(row, column, formatAt(row, column));
        }
        for (const auto& [column, width] : data.widths)
            worksheet_set_column(out.sheet(), static_cast<lxw_col_t>(column - 1), static_cast<lxw_col_t>(column - 1),
                                 width, nullptr);
        out.close();
    });
    return target;
}

} // namespace sedilo::workbook
