#!/usr/bin/python3
"""Builds hostile .xlsx files whose worksheet inflates to hundreds of MB and
checks that sedilo-cli refuses or reads each within 15 s and 600 MB.

The zip ratio of these files is honest (deflate packs repeated markup well),
so only a bounded reader stops them:
  empty-cells.xlsx   about 250 MB of <c/> in one row element per 16,384 cells
  number-cells.xlsx  about 250 MB of <c><v>1</v></c>
  attributes.xlsx    elements carrying many short attributes
  strings.xlsx       a shared-string part of 40 million empty items
  list-100k.xlsx     100,000 rows of four cells: read
  near-budget.xlsx   just inside the memory the parsed XML may take: read
  cell-cap.xlsx      1,000,001 cells: refused

Run from anywhere after a build:
    /usr/bin/python3 tools/check_crafted_sheets.py [build/src/cli/sedilo-cli]
Prints one line per file and command (exit code, seconds, peak MB) and exits 1
when any run takes longer or more memory than allowed.
"""

import os
import pathlib
import subprocess
import sys
import tempfile
import time
import zipfile

LIMIT_SECONDS = 15
LIMIT_MB = 600
TARGET = 250 * 1024 * 1024

CONTENT_TYPES = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    '<Override PartName="/xl/workbook.xml" '
    'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
    '<Override PartName="/xl/worksheets/sheet1.xml" '
    'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
    '</Types>')
PACKAGE_RELS = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Target="xl/workbook.xml" '
    'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"/>'
    '</Relationships>')
WORKBOOK = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
    '<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>')
WORKBOOK_RELS = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Target="worksheets/sheet1.xml" '
    'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/>'
    '<Relationship Id="rId2" Target="sharedStrings.xml" '
    'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"/>'
    '</Relationships>')
SHEET_HEAD = ('<?xml version="1.0" encoding="UTF-8"?>'
              '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>')
SHEET_TAIL = '</sheetData></worksheet>'
EMPTY_STRINGS = '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"/>'


def repeated_rows(cell, cells_per_row):
    """A sheet body of rows of `cells_per_row` copies of `cell`, about TARGET bytes."""
    row = '<row>' + cell * cells_per_row + '</row>'
    return row * (TARGET // len(row))


def write_book(path, sheet_body, strings=EMPTY_STRINGS):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as book:
        book.writestr('[Content_Types].xml', CONTENT_TYPES)
        book.writestr('_rels/.rels', PACKAGE_RELS)
        book.writestr('xl/workbook.xml', WORKBOOK)
        book.writestr('xl/_rels/workbook.xml.rels', WORKBOOK_RELS)
        book.writestr('xl/sharedStrings.xml', strings)
        book.writestr('xl/worksheets/sheet1.xml', SHEET_HEAD + sheet_body + SHEET_TAIL)


def make_books(folder):
    books = {
        'empty-cells.xlsx': (repeated_rows('<c/>', 16384), EMPTY_STRINGS),
        'number-cells.xlsx': (repeated_rows('<c><v>1</v></c>', 16384), EMPTY_STRINGS),
        'attributes.xlsx': (repeated_rows('<c a="" b="" c="" d="" e="" f=""/>', 16384), EMPTY_STRINGS),
        # A long examinee-like list and a sheet just inside the memory the
        # parsed XML may take are read; one cell beyond the cap is refused.
        'list-100k.xlsx': (''.join(
            f'<row r="{r}">' + ''.join(f'<c r="{c}{r}" s="1"><v>{r}</v></c>' for c in 'ABCD') + '</row>'
            for r in range(1, 100_001)), EMPTY_STRINGS),
        'near-budget.xlsx': ('<row><c>' + '<x a="" b="" c="" d="" e="" f="" g="" h=""/>' * 550_000 + '</c></row>',
                             EMPTY_STRINGS),
        'cell-cap.xlsx': (('<row>' + '<c/>' * 10_000 + '</row>') * 100 + '<row><c/></row>', EMPTY_STRINGS),
        'strings.xlsx': ('<row><c t="s"><v>0</v></c></row>',
                         '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">' +
                         '<si/>' * 40_000_000 + '</sst>'),
    }
    for name, (body, strings) in books.items():
        write_book(folder / name, body, strings)


def measured_run(arguments):
    """Runs a command and returns its exit code, seconds and peak resident MB."""
    start = time.monotonic()
    child = subprocess.Popen(arguments, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.monotonic() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    message = child.stderr.read().decode('utf-8', 'replace').strip().splitlines()
    return child.returncode, seconds, usage.ru_maxrss / 1024, message[-1] if message else ''


def main():
    cli = pathlib.Path(sys.argv[1] if len(sys.argv) == 2 else 'build/src/cli/sedilo-cli').resolve()
    failed = False
    if len(sys.argv) == 3 and sys.argv[1] == '--make':
        make_books(pathlib.Path(sys.argv[2]))
        return 0
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        # Made by another process: a child forked from this one would count
        # this one's memory as its own peak.
        subprocess.run([sys.executable, __file__, '--make', scratch], check=True)
        examinees = pathlib.Path(__file__).resolve().parent.parent / 'data' / 'demo-examinees.xlsx'
        for book in sorted(folder.glob('*.xlsx')):
            rooms = folder / 'rooms.tsv'
            rooms.write_text(f'甲\t{book}\n', encoding='utf-8')
            runs = {
                'cells': [str(cli), 'cells', str(book)],
                'seats': [str(cli), 'seats', str(book)],
                'arrange': [str(cli), 'arrange', '--examinees', str(book), '--rooms', str(rooms),
                            '--out', str(folder / 'out')],
                'arrange-template': [str(cli), 'arrange', '--examinees', str(examinees), '--rooms', str(rooms),
                                     '--out', str(folder / 'out')],
            }
            for command, arguments in runs.items():
                code, seconds, megabytes, message = measured_run(arguments)
                bad = seconds > LIMIT_SECONDS or megabytes > LIMIT_MB or code not in (0, 1, 3)
                failed |= bad
                print(f'{"FAIL" if bad else "ok  "} {book.name:18} {book.stat().st_size // 1024:6} kB '
                      f'{command:16} exit {code} {seconds:5.1f} s {megabytes:6.0f} MB  {message[:110]}')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
