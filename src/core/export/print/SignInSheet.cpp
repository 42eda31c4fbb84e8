#include "export/print/SignInSheet.h"

#include <algorithm>

#include "export/print/PrintBook.h"

namespace sedilo::exporting {

namespace {

constexpr int kColumns = 5; // 座位号 考号 姓名 单位 签名
const std::vector<double> kWidths{8, 18, 14, 24, 20};
constexpr double kTitleHeight = 32;
constexpr double kCountHeight = 20;
constexpr double kHeaderHeight = 24;
// About 8 mm: room for a signature, and 30 seats still fit one A4 page.
constexpr double kSeatHeight = 22;

struct Formats {
    lxw_format* title;
    lxw_format* count;
    lxw_format* header;
    lxw_format* cell;
};

Formats makeFormats(PrintBook& book)
{
    Formats formats{book.addFormat(), book.addFormat(), book.addFormat(), book.addFormat()};
    format_set_bold(formats.title);
    format_set_font_size(formats.title, 18);
    format_set_align(formats.title, LXW_ALIGN_CENTER);
    format_set_align(formats.title, LXW_ALIGN_VERTICAL_CENTER);
    format_set_font_size(formats.count, 11);
    format_set_align(formats.count, LXW_ALIGN_VERTICAL_CENTER);
    for (lxw_format* bordered : {formats.header, formats.cell}) {
        format_set_border(bordered, LXW_BORDER_THIN);
        format_set_align(bordered, LXW_ALIGN_CENTER);
        format_set_align(bordered, LXW_ALIGN_VERTICAL_CENTER);
        format_set_font_size(bordered, 11);
    }
    format_set_bold(formats.header);
    format_set_text_wrap(formats.cell);
    return formats;
}

// A room of more seats goes on over further pages, each with the title and
// the header again: 30 rows of 22 points and the block's head fill A4.
constexpr std::size_t kSeatsPerPage = 30;

std::size_t pagesOf(const SeatedArrangement::Room& room)
{
    return std::max<std::size_t>(1, (room.seats.size() + kSeatsPerPage - 1) / kSeatsPerPage);
}

int writeHeader(PrintBook& book, lxw_worksheet* sheet, const Formats& formats, int row)
{
    book.setRowHeight(sheet, row, kHeaderHeight);
    int column = 0;
    for (const char* caption : {"座位号", "考号", "姓名", "单位", "签名"})
        book.writeText(sheet, row, column++, caption, formats.header);
    return row + 1;
}

// Writes one room's block from `row` on; returns the row after it.
int writeRoom(PrintBook& book, lxw_worksheet* sheet, const Formats& formats, const SeatedArrangement::Room& room,
              int row, std::vector<lxw_row_t>& breaks)
{
    book.setRowHeight(sheet, row, kTitleHeight);
    book.mergeText(sheet, row, 0, kColumns - 1, room.name + " 考场签到表", formats.title);
    ++row;
    book.setRowHeight(sheet, row, kCountHeight);
    book.mergeText(sheet, row, 0, kColumns - 1, "考生人数：" + std::to_string(room.seats.size()) + "人",
                   formats.count);
    row = writeHeader(book, sheet, formats, row + 1);
    for (std::size_t index = 0; index < room.seats.size(); ++index) {
        if (index > 0 && index % kSeatsPerPage == 0) {
            breaks.push_back(static_cast<lxw_row_t>(row));
            book.setRowHeight(sheet, row, kTitleHeight);
            book.mergeText(sheet, row, 0, kColumns - 1, room.name + " 考场签到表（续）", formats.title);
            row = writeHeader(book, sheet, formats, row + 1);
        }
        const SeatedArrangement::Examinee& examinee = *room.seats[index];
        book.writeText(sheet, row, 0, examinee.seat, formats.cell);
        book.writeText(sheet, row, 1, examinee.number, formats.cell);
        book.writeText(sheet, row, 2, examinee.name, formats.cell);
        book.writeText(sheet, row, 3, examinee.unit, formats.cell);
        book.writeText(sheet, row, 4, "", formats.cell);
        ++row;
    }
    return row;
}

} // namespace

void writeSignInSheet(const std::string& target, const SeatedArrangement& arrangement)
{
    writePrintBook(target, true, [&](PrintBook& book) {
        const Formats formats = makeFormats(book);
        PagedBlocks rooms;
        rooms.count = arrangement.rooms.size();
        rooms.pages = [&](std::size_t index) { return pagesOf(arrangement.rooms[index]); };
        rooms.write = [&](lxw_worksheet* sheet, std::size_t index, int row, std::vector<lxw_row_t>& breaks) {
            if (row == 0)
                book.setDefaultRowHeight(sheet, kSeatHeight);
            return writeRoom(book, sheet, formats, arrangement.rooms[index], row, breaks);
        };
        writePagedBlocks(book, kSignInSheetName, PaperOrientation::Portrait, kWidths, rooms);
    });
}

} // namespace sedilo::exporting
