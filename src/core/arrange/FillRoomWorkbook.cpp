#include "arrange/FillRoomWorkbook.h"

#include "arrange/ArrangeError.h"
#include "arrange/RoomTemplate.h"
#include "arrange/TemplateGuard.h"
#include "services/text/FileNameRule.h"
#include "services/text/Trim.h"

namespace sedilo::arrange {

namespace {

constexpr const char* kSeatNumberWord = "座位号";
constexpr const char* kNameWord = "姓名";
constexpr const char* kNumberWord = "考号";
constexpr const char* kUnitWord = "单位";
constexpr const char* kRoomLabelWord = "考室名称";

} // namespace

std::string roomLabel(const std::string& roomName, int seated)
{
    return roomName + "(" + std::to_string(seated) + "人)";
}

int fillRoomSheet(workbook::Worksheet& sheet, const SeatPath& path, const std::string& roomName,
                  ExamineeSource& source)
{
    int seat = 0;
    bool exhausted = source.exhausted();
    for (const SeatCell& cell : path.seats()) {
        if (exhausted)
            break;
        ++seat;
        // Each replacement runs on the result of the one before, so an
        // examinee's own values can hold words the later ones replace.
        std::string text = replaceAll(cell.text, kSeatNumberWord, std::to_string(seat));
        text = replaceAll(text, kNameWord, source.name());
        text = replaceAll(text, kNumberWord, source.number());
        text = replaceAll(text, kUnitWord, source.unit());
        sheet.setCellText(cell.row, cell.column, text);
        exhausted = !source.AssignSeat(roomName, seat);
    }
    if (!exhausted && path.unreadable())
        throw *path.unreadable();

    sheet.replaceAll(kRoomLabelWord, roomLabel(roomName, seat));
    for (const char* word : {kSeatNumberWord, kNameWord, kNumberWord, kUnitWord})
        sheet.replaceAll(word, "");
    return seat;
}

std::string FillRoomWorkbook(const std::string& templatePath, const std::string& roomName,
                             const std::string& folderText, rooms::FillDirection direction, ExamineeSource& source)
{
    if (const std::string reason = unsafeFileNameReason(roomName); !reason.empty())
        throw ArrangeError({.kind = CauseKind::NotAFileName, .name = roomName, .room = roomName, .detail = reason});
    const auto book = workbook::Workbook::open(templatePath);
    const SeatPath path = RoomTemplate::traceSeats(*book, direction);
    const std::string target = folderText + roomName;
    TemplateGuard({templatePath}).check(roomName, target + book->extension());
    fillRoomSheet(book->firstSheet(), path, roomName, source);
    return book->saveAs(target);
}

} // namespace sedilo::arrange
