#!/usr/bin/python3
"""Writes data/demo-examinees.xlsx, the examinee list of `sedilo-cli demo`.

Seventy invented examinees in three units, laid out as the import expects:
worksheet 1, header row 1, then name, exam number, unit and score in columns
A to D. Names and scores come from a fixed seed, so the file is the same on
every run.

Needs the Debian package python3-openpyxl. Run from anywhere:
    /usr/bin/python3 tools/make_demo_data.py [output.xlsx]
"""

import datetime
import io
import pathlib
import random
import sys
import zipfile

from openpyxl import Workbook

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何林罗高"
GIVEN = ["子涵", "欣怡", "浩然", "梓轩", "雨桐", "宇航", "思远", "佳怡", "俊杰", "雅琪",
         "明轩", "诗涵", "博文", "可欣", "天佑", "若曦", "一鸣", "静怡", "嘉懿", "晨阳"]
UNITS = ["初三一班", "初三二班", "初三三班"]
COUNT = 70
FIXED_TIME = datetime.datetime(2024, 1, 1, 0, 0, 0)


def examinees():
    chooser = random.Random(20240601)
    names = set()
    while len(names) < COUNT:
        names.add(chooser.choice(SURNAMES) + chooser.choice(GIVEN))
    ordered = sorted(names)
    chooser.shuffle(ordered)
    for index, name in enumerate(ordered):
        yield name, "2024%04d" % (index + 1), UNITS[index % len(UNITS)], chooser.randint(380, 720)


def build_workbook():
    book = Workbook()
    sheet = book.active
    sheet.title = "考生"
    sheet.append(["姓名", "考号", "单位", "成绩"])
    for row in examinees():
        sheet.append(list(row))
    for column, width in zip("ABCD", (12, 12, 12, 8)):
        sheet.column_dimensions[column].width = width
    book.properties.created = FIXED_TIME
    book.properties.modified = FIXED_TIME
    buffer = io.BytesIO()
    book.save(buffer)
    return buffer.getvalue()


def reproducible_zip(data):
    source = zipfile.ZipFile(io.BytesIO(data))
    output = io.BytesIO()
    with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as target:
        for entry in source.infolist():
            info = zipfile.ZipInfo(entry.filename, date_time=FIXED_TIME.timetuple()[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            target.writestr(info, source.read(entry.filename))
    return output.getvalue()


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "data" / "demo-examinees.xlsx"
    path = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    path.write_bytes(reproducible_zip(build_workbook()))
    print("wrote", path)


if __name__ == "__main__":
    main()
