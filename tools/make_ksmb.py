#!/usr/bin/python3
"""Writes data/ksmb.xlsx, the room template sample shipped beside the program.

A 30-seat classroom: row 1 holds the room label "考室名称" as a merged, bold
title across the seat columns; rows 2 to 7, columns A to E are the seats, each
holding the placeholders "座位号", "姓名" and "考号" on three lines. Seats sit
in consecutive rows and columns so that both S fill paths run through every
seat without gaps.

Needs the Debian package python3-openpyxl. Run from anywhere:
    /usr/bin/python3 tools/make_ksmb.py [output.xlsx]
The file is reproducible: fixed document dates and zip entry times.
"""

import datetime
import io
import pathlib
import sys
import zipfile

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, Side
from openpyxl.utils import get_column_letter
from openpyxl.worksheet.page import PageMargins

SEAT_ROWS = 6
SEAT_COLUMNS = 5
FIRST_SEAT_ROW = 2
SEAT_TEXT = "座位号\n姓名\n考号"
FONT_NAME = "宋体"
FIXED_TIME = datetime.datetime(2024, 1, 1, 0, 0, 0)


def build_workbook():
    workbook = Workbook()
    sheet = workbook.active
    sheet.title = "考室"

    last_column = get_column_letter(SEAT_COLUMNS)
    last_row = FIRST_SEAT_ROW + SEAT_ROWS - 1
    centred = Alignment(horizontal="center", vertical="center", wrap_text=True)
    thin = Side(style="thin", color="000000")
    box = Border(left=thin, right=thin, top=thin, bottom=thin)

    sheet.merge_cells(f"A1:{last_column}1")
    title = sheet["A1"]
    title.value = "考室名称"
    title.font = Font(name=FONT_NAME, size=20, bold=True)
    title.alignment = Alignment(horizontal="center", vertical="center")
    sheet.row_dimensions[1].height = 42

    for row in range(FIRST_SEAT_ROW, last_row + 1):
        sheet.row_dimensions[row].height = 70
        for column in range(1, SEAT_COLUMNS + 1):
            cell = sheet.cell(row=row, column=column, value=SEAT_TEXT)
            cell.font = Font(name=FONT_NAME, size=12)
            cell.alignment = centred
            cell.border = box
    for column in range(1, SEAT_COLUMNS + 1):
        sheet.column_dimensions[get_column_letter(column)].width = 24

    sheet.print_area = f"A1:{last_column}{last_row}"
    sheet.page_setup.orientation = "landscape"
    sheet.page_setup.paperSize = sheet.PAPERSIZE_A4
    sheet.page_setup.fitToWidth = 1
    sheet.page_setup.fitToHeight = 1
    sheet.sheet_properties.pageSetUpPr.fitToPage = True
    sheet.print_options.horizontalCentered = True
    sheet.page_margins = PageMargins(left=0.5, right=0.5, top=0.6, bottom=0.6)

    workbook.properties.creator = "Sedilo"
    workbook.properties.title = "考室模板样例"
    workbook.properties.created = FIXED_TIME
    workbook.properties.modified = FIXED_TIME
    return workbook


def reproducible_zip(data):
    """The same bytes on every run: entry times fixed, order kept."""
    source = zipfile.ZipFile(io.BytesIO(data))
    output = io.BytesIO()
    with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as target:
        for entry in source.infolist():
            info = zipfile.ZipInfo(entry.filename, date_time=FIXED_TIME.timetuple()[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            target.writestr(info, source.read(entry.filename))
    return output.getvalue()


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "data" / "ksmb.xlsx"
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    buffer = io.BytesIO()
    build_workbook().save(buffer)
    target.write_bytes(reproducible_zip(buffer.getvalue()))
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
