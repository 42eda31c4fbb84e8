#!/usr/bin/python3
"""The seating job as a school would script it with openpyxl: read the
examinee list, order it by score (highest first), fill one copy of the room
template per room along a vertical S, then write one lookup workbook per unit.

usage: openpyxl_arrange.py EXAMINEES.xlsx TEMPLATE.xlsx ROOMS OUT_DIR
       openpyxl_arrange.py --read-only EXAMINEES.xlsx   (the import alone)
"""
import os
import sys

import openpyxl


def read_examinees(path):
    book = openpyxl.load_workbook(path, read_only=True)
    sheet = book.worksheets[0]
    examinees = []
    for row in sheet.iter_rows(min_row=2, max_col=4, values_only=True):
        cells = ["" if v is None else str(v).strip(" ") for v in (list(row) + [None] * 4)[:4]]
        if not cells[0] or not cells[1]:
            break
        examinees.append(cells)
    book.close()
    return examinees


def seat_cells(sheet):
    """Cells holding 姓名, column by column, down then up (vertical S)."""
    seats = []
    forward = True
    for column in range(1, sheet.max_column + 1):
        rows = range(2, sheet.max_row + 1)
        found = [(r, column) for r in (rows if forward else reversed(rows))
                 if isinstance(sheet.cell(r, column).value, str) and "姓名" in sheet.cell(r, column).value]
        if found:
            seats.extend(found)
            forward = not forward
    return seats


def fill_room(template, room, examinees, out):
    book = openpyxl.load_workbook(template)
    sheet = book.worksheets[0]
    seated = 0
    for seat, (r, c) in enumerate(seat_cells(sheet), start=1):
        if not examinees:
            break
        name, number, unit, _ = examinees.pop()
        text = sheet.cell(r, c).value.replace("座位号", str(seat)).replace("姓名", name)
        sheet.cell(r, c).value = text.replace("考号", number).replace("单位", unit)
        seated = seat
    for row in sheet.iter_rows():
        for cell in row:
            if isinstance(cell.value, str):
                text = cell.value.replace("考室名称", "%s(%d人)" % (room, seated))
                for word in ("座位号", "姓名", "考号", "单位"):
                    text = text.replace(word, "")
                cell.value = text
    book.save(os.path.join(out, room + ".xlsx"))
    return seated


def main():
    if sys.argv[1] == "--read-only":
        print(len(read_examinees(sys.argv[2])), "examinees read")
        return
    examinees_path, template, rooms, out = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    examinees = read_examinees(examinees_path)
    examinees.sort(key=lambda e: float(e[3] or 0), reverse=True)
    queue = list(reversed(examinees))
    seated = {}
    for number in range(1, rooms + 1):
        room = "第%d考室" % number
        before = len(queue)
        fill_room(template, room, queue, out)
        for e in examinees[len(examinees) - before:len(examinees) - len(queue)]:
            seated[e[1]] = room
    units = {}
    for name, number, unit, _ in examinees:
        if number in seated:
            units.setdefault(unit, []).append((name, number, unit, seated[number]))
    for unit, rows in units.items():
        book = openpyxl.Workbook(write_only=True)
        sheet = book.create_sheet()
        sheet.append(["姓名", "考号", "单位", "考室"])
        for row in rows:
            sheet.append(list(row))
        book.save(os.path.join(out, unit + ".xlsx"))
    print("seated", len(seated), "of", len(examinees))


if __name__ == "__main__":
    main()
