#include "export/print/DoorSheet.h"

#include <algorithm>
#include <map>

#include "export/print/PrintBook.h"
#include "services/text/NaturalOrder.h"
#include "services/workbook/Utf8.h"

namespace sedilo::exporting {

namespace {

// Six columns of 22 characters fill an A4 landscape page at full scale; the
// rows below add up to its printable height.
constexpr int kColumns = 6;
const std::vector<double> kWidths(kColumns, 22);
constexpr double kNameHeight = 130;
constexpr double kLargestName = 66; // points
constexpr double kNameWidth = 690;  // points the name may take
constexpr double kCountHeight = 50;
constexpr double kRangeHeight = 44;
constexpr double kUnitsTitleHeight = 30;
constexpr double kUnitsHeight = 250; // what is left of the page for the units

lxw_format* centred(PrintBook& book, double size, bool bold)
{
    lxw_format* format = book.addFormat();
    format_set_font_size(format, size);
    if (bold)
        format_set_bold(format);
    format_set_align(format, LXW_ALIGN_CENTER);
    format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    return format;
}

// Formats are made once per size; a city's rooms need only a handful.
class DoorFormats {
public:
    explicit DoorFormats(PrintBook& book)
        : count(centred(book, 28, false)), range(centred(book, 22, false)), unitsTitle(centred(book, 16, true)),
          m_book(book)
    {
    }

    lxw_format* const count;
    lxw_format* const range;
    lxw_format* const unitsTitle;

    lxw_format* name(double size) { return sized(m_names, size, true); }
    lxw_format* unit(double size) { return sized(m_units, size, false); }

private:
    lxw_format* sized(std::map<int, lxw_format*>& made, double size, bool bold)
    {
        lxw_format*& format = made[static_cast<int>(size)];
        if (!format) {
            format = centred(m_book, static_cast<int>(size), bold);
            format_set_text_wrap(format);
        }
        return format;
    }

    PrintBook& m_book;
    std::map<int, lxw_format*> m_names;
    std::map<int, lxw_format*> m_units;
};

// The room name as large as the page width lets it be: a wide character
// takes about its point size, a narrow one half of it.
double nameSize(const std::string& room)
{
    const int width = std::max(1, workbook::displayWidth(room));
    return std::clamp(2 * kNameWidth / width, 20.0, kLargestName);
}

struct UnitLayout {
    int perRow;
    double height;
    double fontSize;
};

// Three units a row, read from a step away while they fit, then six a row, smaller.
UnitLayout unitLayout(std::size_t units)
{
    const auto rows = [units](int perRow) { return static_cast<double>((units + perRow - 1) / perRow); };
    if (rows(3) * 36 <= kUnitsHeight)
        return {3, 36, 22};
    if (rows(3) * 26 <= kUnitsHeight)
        return {3, 26, 16};
    const double height = kUnitsHeight / rows(6);
    if (height >= 15)
        return {6, std::min(22.0, height), 12};
    return {6, std::max(11.0, height), 9};
}

int writeRoom(PrintBook& book, lxw_worksheet* sheet, DoorFormats& formats, const SeatedArrangement::Room& room,
              int row)
{
    // Units in the order the seat lookup lists them: rank, then name and count.
    std::map<std::size_t, std::pair<const std::string*, long>> units;
    const std::string* lowest = nullptr;
    const std::string* highest = nullptr;
    for (const SeatedArrangement::Examinee* examinee : room.seats) {
        auto& [unitName, unitCount] = units[examinee->unitRank];
        unitName = &examinee->unit;
        ++unitCount;
        if (!lowest || naturalLess(examinee->number, *lowest))
            lowest = &examinee->number;
        if (!highest || naturalLess(*highest, examinee->number))
            highest = &examinee->number;
    }

    book.setRowHeight(sheet, row, kNameHeight);
    book.mergeText(sheet, row++, 0, kColumns - 1, room.name, formats.name(nameSize(room.name)));
    book.setRowHeight(sheet, row, kCountHeight);
    book.mergeText(sheet, row++, 0, kColumns - 1, "考生人数：" + std::to_string(room.seats.size()) + "人",
                   formats.count);
    book.setRowHeight(sheet, row, kRangeHeight);
    book.mergeText(sheet, row++, 0, kColumns - 1, "考号：" + *lowest + " 至 " + *highest, formats.range);
    book.setRowHeight(sheet, row, kUnitsTitleHeight);
    book.mergeText(sheet, row++, 0, kColumns - 1, "考生所在单位及人数", formats.unitsTitle);

    const UnitLayout layout = unitLayout(units.size());
    const int span = kColumns / layout.perRow;
    lxw_format* unitFormat = formats.unit(layout.fontSize);
    int slot = 0;
    for (const auto& [rank, named] : units) {
        const auto& [unitName, count] = named;
        const std::string& unit = *unitName;
        if (slot == 0)
            book.setRowHeight(sheet, row, layout.height);
        const std::string text = (unit.empty() ? std::string("（未填单位）") : unit) + "：" + std::to_string(count) + "人";
        const int first = slot * span;
        if (span == 1)
            book.writeText(sheet, row, first, text, unitFormat);
        else
            book.mergeText(sheet, row, first, first + span - 1, text, unitFormat);
        if (++slot == layout.perRow) {
            slot = 0;
            ++row;
        }
    }
    return slot == 0 ? row : row + 1;
}

} // namespace

void writeDoorSheet(const std::string& target, const SeatedArrangement& arrangement)
{
    writePrintBook(target, true, [&](PrintBook& book) {
        DoorFormats formats(book);
        PagedBlocks rooms;
        rooms.count = arrangement.rooms.size();
        rooms.write = [&](lxw_worksheet* sheet, std::size_t index, int row, std::vector<lxw_row_t>&) {
            return writeRoom(book, sheet, formats, arrangement.rooms[index], row);
        };
        writePagedBlocks(book, kDoorSheetName, PaperOrientation::Landscape, kWidths, rooms);
    });
}

} // namespace sedilo::exporting
