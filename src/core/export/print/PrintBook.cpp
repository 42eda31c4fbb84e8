#include "export/print/PrintBook.h"

#include <algorithm>

#include <sys/resource.h>

#include "services/workbook/AtomicSave.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxText.h"

namespace sedilo::exporting {

namespace {

constexpr std::size_t kMaxSheetNameUnits = 31; // UTF-16 units
constexpr double kSideMargin = 0.4;             // inches
constexpr double kTopMargin = 0.5;
constexpr double kBottomMargin = 0.6;

std::string foldedAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// At most `units` UTF-16 units of valid UTF-8 text, without the characters a
// sheet name may not hold.
std::string sheetNameCharacters(std::string_view text, std::size_t units)
{
    const std::string valid = workbook::validUtf8(text);
    std::string out;
    std::size_t used = 0;
    for (std::size_t pos = 0; pos < valid.size();) {
        char32_t c = workbook::nextCodePoint(valid, pos);
        const std::size_t width = c > 0xFFFF ? 2 : 1;
        if (used + width > units)
            break;
        if (c < 0x20 || std::u32string_view(U"[]:*?/\\").find(c) != std::u32string_view::npos)
            c = U'_';
        workbook::appendUtf8(out, c);
        used += width;
    }
    while (!out.empty() && out.front() == '\'')
        out.erase(out.begin());
    while (!out.empty() && out.back() == '\'')
        out.pop_back();
    return out;
}

} // namespace

PrintBook::PrintBook(const std::string& path, bool constantMemory) : m_path(path)
{
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    m_book = workbook_new_opt(path.c_str(), &options);
    if (!m_book)
        throw workbook::WorkbookError(CauseKind::FileNotWritable, path, "cannot start a new workbook");
}

PrintBook::~PrintBook()
{
    // A book not closed is being abandoned; closing frees it and writes a
    // file that the caller removes.
    if (m_book)
        workbook_close(m_book);
}

void PrintBook::note(lxw_error error, const char* what)
{
    if (error != LXW_NO_ERROR && m_failure.empty())
        m_failure = std::string(what) + ": " + lxw_strerror(error);
}

lxw_worksheet* PrintBook::addSheet(const std::string& wanted)
{
    std::string base = sheetNameCharacters(wanted, kMaxSheetNameUnits);
    if (base.empty() || foldedAscii(base) == "history")
        base = "Sheet";
    std::string name = base;
    for (int copy = 2; m_sheetNames.count(foldedAscii(name)); ++copy) {
        const std::string suffix = "(" + std::to_string(copy) + ")";
        name = sheetNameCharacters(base, kMaxSheetNameUnits - suffix.size()) + suffix;
    }
    m_sheetNames.insert(foldedAscii(name));
    lxw_worksheet* sheet = workbook_add_worksheet(m_book, name.c_str());
    if (!sheet)
        throw workbook::WorkbookError(CauseKind::Unknown, m_path, "cannot add the worksheet \"" + name + "\"");
    return sheet;
}

lxw_format* PrintBook::addFormat()
{
    return workbook_add_format(m_book);
}

void PrintBook::setUpPage(lxw_worksheet* sheet, PaperOrientation orientation)
{
    worksheet_set_paper(sheet, 9); // A4
    if (orientation == PaperOrientation::Landscape)
        worksheet_set_landscape(sheet);
    else
        worksheet_set_portrait(sheet);
    // 0 pages tall: as many as needed, which keeps the manual page breaks.
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_set_margins(sheet, kSideMargin, kSideMargin, kTopMargin, kBottomMargin);
    worksheet_center_horizontally(sheet);
    note(worksheet_set_footer(sheet, "&C第 &P 页，共 &N 页"), "page footer");
}

void PrintBook::setDefaultRowHeight(lxw_worksheet* sheet, double points)
{
    worksheet_set_default_row(sheet, points, LXW_FALSE);
}

void PrintBook::setRowHeight(lxw_worksheet* sheet, int row, double points)
{
    note(worksheet_set_row(sheet, static_cast<lxw_row_t>(row), points, nullptr), "row height");
}

void PrintBook::setColumnWidth(lxw_worksheet* sheet, int column, double characters)
{
    const auto col = static_cast<lxw_col_t>(column);
    note(worksheet_set_column(sheet, col, col, characters, nullptr), "column width");
}

void PrintBook::writeText(lxw_worksheet* sheet, int row, int column, const std::string& text, lxw_format* format)
{
    const std::string stored = workbook::protectLiteralEscapes(workbook::validUtf8(text));
    note(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), stored.c_str(),
                                format),
         "cell text");
}

void PrintBook::mergeText(lxw_worksheet* sheet, int row, int firstColumn, int lastColumn, const std::string& text,
                          lxw_format* format)
{
    const std::string stored = workbook::protectLiteralEscapes(workbook::validUtf8(text));
    const auto r = static_cast<lxw_row_t>(row);
    note(worksheet_merge_range(sheet, r, static_cast<lxw_col_t>(firstColumn), r, static_cast<lxw_col_t>(lastColumn),
                               stored.c_str(), format),
         "merged cells");
}

void PrintBook::repeatRows(lxw_worksheet* sheet, int firstRow, int lastRow)
{
    note(worksheet_repeat_rows(sheet, static_cast<lxw_row_t>(firstRow), static_cast<lxw_row_t>(lastRow)),
         "print titles");
}

void PrintBook::breakPagesBefore(lxw_worksheet* sheet, const std::vector<lxw_row_t>& rows)
{
    if (rows.empty())
        return;
    if (rows.size() > kMaxPageBreaks) {
        note(LXW_ERROR_PARAMETER_VALIDATION, "too many page breaks in one worksheet");
        return;
    }
    std::vector<lxw_row_t> breaks(rows);
    breaks.push_back(0); // the list's end
    note(worksheet_set_h_pagebreaks(sheet, breaks.data()), "page breaks");
}

void PrintBook::close()
{
    lxw_workbook* book = m_book;
    m_book = nullptr;
    note(workbook_close(book), "saving the workbook");
    if (!m_failure.empty())
        throw workbook::WorkbookError(CauseKind::FileNotWritable, m_path, m_failure);
}

bool constantMemoryFits(std::size_t sheets)
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return sheets <= 256;
    // Half for this book: the window, the database and the other sheets being
    // written at the same time keep files open too.
    return sheets <= limit.rlim_cur / 2;
}

void writePrintBook(const std::string& target, bool constantMemory, const std::function<void(PrintBook&)>& fill)
{
    std::string temporary;
    try {
        workbook::saveAtomically(target, [&](const std::string& tempPath) {
            temporary = tempPath;
            PrintBook book(tempPath, constantMemory);
            fill(book);
            book.close();
        });
    } catch (const workbook::WorkbookError& failure) {
        if (temporary.empty() || failure.file() != temporary)
            throw;
        // The temporary name means nothing to the user.
        Cause cause = failure.cause();
        cause.file = target;
        throw workbook::WorkbookError(std::move(cause));
    }
}

void writePagedBlocks(PrintBook& book, const std::string& sheetName, PaperOrientation orientation,
                      const std::vector<double>& columnWidths, const PagedBlocks& blocks)
{
    // How many sheets the breaks need is known only once every block's pages are.
    std::vector<std::size_t> firstBlocks{0};
    std::size_t breaks = 0;
    for (std::size_t index = 0; index < blocks.count; ++index) {
        const std::size_t pages = blocks.pages ? std::max<std::size_t>(1, blocks.pages(index)) : 1;
        const bool first = index == firstBlocks.back();
        if (!first && breaks + pages > kMaxPageBreaks) {
            firstBlocks.push_back(index);
            breaks = pages - 1;
        } else {
            breaks += first ? pages - 1 : pages;
        }
    }
    firstBlocks.push_back(blocks.count);

    const std::size_t sheets = firstBlocks.size() - 1;
    for (std::size_t part = 0; part < sheets; ++part) {
        lxw_worksheet* sheet = book.addSheet(sheets == 1 ? sheetName : sheetName + std::to_string(part + 1));
        book.setUpPage(sheet, orientation);
        for (std::size_t column = 0; column < columnWidths.size(); ++column)
            book.setColumnWidth(sheet, static_cast<int>(column), columnWidths[column]);
        std::vector<lxw_row_t> pageStarts;
        int row = 0;
        for (std::size_t index = firstBlocks[part]; index < firstBlocks[part + 1]; ++index) {
            if (row > 0)
                pageStarts.push_back(static_cast<lxw_row_t>(row));
            row = blocks.write(sheet, index, row, pageStarts);
        }
        book.breakPagesBefore(sheet, pageStarts);
    }
}

} // namespace sedilo::exporting
