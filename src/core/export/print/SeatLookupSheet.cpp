#include "export/print/SeatLookupSheet.h"

#include "export/print/PrintBook.h"

namespace sedilo::exporting {

namespace {

const std::vector<double> kWidths{18, 14, 22, 8}; // 考号 姓名 考室 座位号
constexpr int kColumns = 4;
constexpr double kTitleHeight = 28;
constexpr double kRowHeight = 20;

struct Formats {
    lxw_format* title;
    lxw_format* header;
    lxw_format* cell;
    lxw_format* note;
};

Formats makeFormats(PrintBook& book)
{
    Formats formats{book.addFormat(), book.addFormat(), book.addFormat(), book.addFormat()};
    format_set_bold(formats.title);
    format_set_font_size(formats.title, 16);
    format_set_align(formats.title, LXW_ALIGN_CENTER);
    format_set_align(formats.title, LXW_ALIGN_VERTICAL_CENTER);
    for (lxw_format* bordered : {formats.header, formats.cell}) {
        format_set_border(bordered, LXW_BORDER_THIN);
        format_set_align(bordered, LXW_ALIGN_CENTER);
        format_set_align(bordered, LXW_ALIGN_VERTICAL_CENTER);
    }
    format_set_bold(formats.header);
    // A long room name is made smaller rather than cut off at the border.
    format_set_shrink(formats.cell);
    format_set_align(formats.note, LXW_ALIGN_VERTICAL_CENTER);
    return formats;
}

void writeUnit(PrintBook& book, const Formats& formats, const SeatedArrangement::Unit& unit)
{
    const std::string shownName = unit.name.empty() ? std::string("（未填单位）") : unit.name;
    lxw_worksheet* sheet = book.addSheet(shownName);
    book.setUpPage(sheet, PaperOrientation::Portrait);
    for (int column = 0; column < kColumns; ++column)
        book.setColumnWidth(sheet, column, kWidths[column]);
    book.repeatRows(sheet, 0, 1);
    book.setDefaultRowHeight(sheet, kRowHeight);

    book.setRowHeight(sheet, 0, kTitleHeight);
    book.mergeText(sheet, 0, 0, kColumns - 1, shownName + " 考生座位表", formats.title);
    book.setRowHeight(sheet, 1, kRowHeight);
    int column = 0;
    for (const char* caption : {"考号", "姓名", "考室", "座位号"})
        book.writeText(sheet, 1, column++, caption, formats.header);
    int row = 2;
    for (const SeatedArrangement::Examinee* examinee : unit.seated) {
        book.writeText(sheet, row, 0, examinee->number, formats.cell);
        book.writeText(sheet, row, 1, examinee->name, formats.cell);
        book.writeText(sheet, row, 2, examinee->room, formats.cell);
        book.writeText(sheet, row, 3, examinee->seat, formats.cell);
        ++row;
    }
    if (unit.unseated > 0) {
        book.setRowHeight(sheet, row, kRowHeight);
        book.mergeText(sheet, row, 0, kColumns - 1,
                       "另有" + std::to_string(unit.unseated) + "名考生没有安排考室。", formats.note);
    }
}

} // namespace

void writeSeatLookupSheet(const std::string& target, const SeatedArrangement& arrangement)
{
    // One sheet per unit: a city may have more units than constant-memory
    // mode can keep temporary files open for.
    writePrintBook(target, constantMemoryFits(arrangement.units.size()), [&](PrintBook& book) {
        const Formats formats = makeFormats(book);
        for (const SeatedArrangement::Unit& unit : arrangement.units)
            writeUnit(book, formats, unit);
    });
}

} // namespace sedilo::exporting
