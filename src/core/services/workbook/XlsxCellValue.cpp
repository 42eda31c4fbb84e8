#include "services/workbook/XlsxCellValue.h"

#include <charconv>
#include <climits>
#include <cstdio>

#include "services/workbook/CellReference.h"
#include "services/workbook/CellText.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxSharedStrings.h"
#include "services/workbook/XlsxText.h"

namespace sedilo::workbook {

namespace {

// ISO 8601 date cells (t="d") in the same form as date-formatted numbers.
std::string isoDateText(const std::string& value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int fields = std::sscanf(value.c_str(), "%d-%d-%dT%d:%d:%d", &year, &month, &day, &hour, &minute, &second);
    if (fields < 3)
        return value;
    char text[64];
    if (hour == 0 && minute == 0 && second == 0)
        std::snprintf(text, sizeof text, "%d/%d/%d", year, month, day);
    else
        std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

[[noreturn]] void fail(const std::string& cause, const std::string& file, const std::string& partName)
{
    throw WorkbookError(file, cause + " (in " + partName + ")");
}

std::string numberText(const CellElement& cell, const SheetContext& context, const std::string& file,
                       const std::string& partName)
{
    const std::string& value = *cell.value;
    const std::size_t first = value.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const std::size_t last = value.find_last_not_of(" \t\r\n");
    const char* begin = value.data() + first;
    const char* end = value.data() + last + 1;
    if (*begin == '+')
        ++begin;
    double number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end)
        fail("the cell " + cellName(cell.row, cell.column) + " holds \"" + value + "\", which is not a number", file,
             partName);
    const bool isDate = cell.style >= 0 && static_cast<unsigned long long>(cell.style) < context.dateStyles.size() &&
                        context.dateStyles[static_cast<std::size_t>(cell.style)];
    return isDate ? formatDateSerial(number, context.date1904) : formatNumber(number);
}

} // namespace

long long leadingInteger(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    int base = 10;
    if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    unsigned long long magnitude = 0;
    const auto [stop, error] = std::from_chars(text.data() + at, text.data() + text.size(), magnitude, base);
    if (stop == text.data() + at)
        return 0;
    if (error == std::errc::result_out_of_range || magnitude > static_cast<unsigned long long>(LLONG_MAX))
        return negative ? LLONG_MIN : LLONG_MAX;
    return negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
}

std::string cellElementText(const CellElement& cell, const SheetContext& context, bool& error,
                            const std::string& file, const std::string& partName)
{
    error = false;
    const std::string_view type = cell.type;
    if (type == "inlineStr")
        return cell.inlineStored ? decodeStoredText(*cell.inlineStored) : std::string();
    if (!cell.value)
        return {};
    const std::string& value = *cell.value;
    if (type == "s") {
        const long long index = value.empty() ? -1 : leadingInteger(value);
        if (index < 0 || static_cast<unsigned long long>(index) >= context.sharedStrings.size())
            fail("the cell " + cellName(cell.row, cell.column) + " refers to the shared string " + value +
                     ", which does not exist",
                 file, partName);
        return std::string(context.sharedStrings.at(static_cast<std::size_t>(index)));
    }
    if (type == "str")
        return decodeStoredText(value);
    if (type == "b")
        return formatBoolean(value == "1" || value == "true");
    if (type == "e") {
        error = true;
        return value;
    }
    if (type == "d")
        return isoDateText(value);
    return numberText(cell, context, file, partName);
}

} // namespace sedilo::workbook
