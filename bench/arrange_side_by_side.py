#!/usr/bin/python3
"""The whole arrange side by side, on one generated examinee list:
`sedilo-cli arrange` (import, generation, per-unit export), the same job
scripted with openpyxl (openpyxl_arrange.py), and a plain copy of the
template once per room, the floor of writing the files at all. Also the
import alone against openpyxl's read_only iteration of the same workbook.
Prints the times, the ratios and each run's peak memory. Not a test.

usage: bench/arrange_side_by_side.py [--examinees N] [--cli PATH] [--template XLSX]
                                     [--keep DIR] [--rounds N] [--no-openpyxl]
                                     [--shared-strings]
"""
import argparse
import multiprocessing
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile
from xml.sax.saxutils import escape

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
SEATS_PER_ROOM = 30  # the seats of the shipped ksmb.xlsx


def examinee_rows(count, seed=20261207):
    rng = random.Random(seed)
    surnames = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
    given = "伟芳娜敏静磊强洋艳杰涛明超秀英华慧巧美娟"
    yield ["姓名（必填）", "考号（必填）", "单位（选填）", "成绩（选填）"]
    for i in range(count):
        name = rng.choice(surnames) + "".join(rng.choice(given) for _ in range(rng.randint(1, 2)))
        yield [name, str(2026000000 + i), "第%d中学" % (1 + i % 40), rng.randint(0, 750)]


def make_examinees(path, count):
    """openpyxl's way: every text inline in the sheet, escaped."""
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet()
    for row in examinee_rows(count):
        sheet.append(row)
    book.save(path)


def make_shared_string_examinees(path, count):
    """The way Excel and LibreOffice save: texts in the shared-strings part
    as plain UTF-8, the sheet holding their indexes and a dimension."""
    strings, index, rows = [], {}, []
    for number, row in enumerate(examinee_rows(count), start=1):
        cells = []
        for column, value in zip("ABCD", row):
            if isinstance(value, int):
                cells.append('<c r="%s%d"><v>%d</v></c>' % (column, number, value))
                continue
            if value not in index:
                index[value] = len(strings)
                strings.append(value)
            cells.append('<c r="%s%d" t="s"><v>%d</v></c>' % (column, number, index[value]))
        rows.append('<row r="%d" spans="1:4">%s</row>' % (number, "".join(cells)))
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    relations = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    package = "http://schemas.openxmlformats.org/package/2006/relationships"
    kind = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    content = "application/vnd.openxmlformats-officedocument.spreadsheetml."
    parts = {
        "[Content_Types].xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            '<Override PartName="/xl/workbook.xml" ContentType="%ssheet.main+xml"/>'
            '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="%sworksheet+xml"/>'
            '<Override PartName="/xl/sharedStrings.xml" ContentType="%ssharedStrings+xml"/>'
            '</Types>' % (content, content, content),
        "_rels/.rels":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s">'
            '<Relationship Id="rId1" Type="%sofficeDocument" Target="xl/workbook.xml"/>'
            '</Relationships>' % (package, kind),
        "xl/workbook.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><workbook xmlns="%s" xmlns:r="%s">'
            '<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>' % (main, relations),
        "xl/_rels/workbook.xml.rels":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships xmlns="%s">'
            '<Relationship Id="rId1" Type="%sworksheet" Target="worksheets/sheet1.xml"/>'
            '<Relationship Id="rId2" Type="%ssharedStrings" Target="sharedStrings.xml"/>'
            '</Relationships>' % (package, kind, kind),
        "xl/sharedStrings.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><sst xmlns="%s" count="%d" uniqueCount="%d">'
            '%s</sst>' % (main, len(strings), len(strings), "".join("<si><t>%s</t></si>" % escape(text)
                                                                  for text in strings)),
        "xl/worksheets/sheet1.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s" xmlns:r="%s">'
            '<dimension ref="A1:D%d"/><sheetData>%s</sheetData></worksheet>' % (main, relations, len(rows),
                                                                               "".join(rows)),
    }
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as book:
        for name, text in parts.items():
            book.writestr(name, text)


def stolen_seconds():
    """Processor time the hypervisor gave to others, all cores, since boot (0 where unknown)."""
    try:
        with open("/proc/stat") as stat:
            fields = stat.readline().split()
        return int(fields[8]) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return 0.0


def run(command):
    """Wall seconds and peak resident MB of one child process. It starts once
    the files written before it are on the disk: each measure would otherwise
    share the processors with the write-back of the one before."""
    os.sync()
    start = time.monotonic()
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.monotonic() - start
    out, err = child.stdout.read().decode(), child.stderr.read().decode()
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode not in (0, 3):
        sys.exit("failed (%d): %s\n%s%s" % (child.returncode, " ".join(command), out, err))
    return wall, usage.ru_maxrss / 1024.0, out.strip().splitlines()[-1:] or [""]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--examinees", type=int, default=100000)
    parser.add_argument("--cli", default=os.path.join(HERE, "..", "build", "src", "cli", "sedilo-cli"))
    parser.add_argument("--template", default=os.path.join(HERE, "..", "data", "ksmb.xlsx"))
    parser.add_argument("--keep", help="work in this folder and keep it")
    parser.add_argument("--rounds", type=int, default=3, help="rounds of the sedilo and copy runs (median shown)")
    parser.add_argument("--no-openpyxl", action="store_true", help="leave out the (slow) openpyxl runs")
    parser.add_argument("--shared-strings", action="store_true",
                        help="write the list as Excel does, texts in shared strings, not inline as openpyxl does")
    args = parser.parse_args()

    work = args.keep or tempfile.mkdtemp(prefix="sedilo-side-by-side-")
    os.makedirs(work, exist_ok=True)
    template = os.path.abspath(args.template)
    rooms = -(-args.examinees // SEATS_PER_ROOM)
    examinees = os.path.join(work, "examinees-shared.xlsx" if args.shared_strings else "examinees.xlsx")
    if not os.path.exists(examinees):
        # In a child of its own: a child's peak memory counts what it shares
        # with this process when forked, so this one stays small.
        maker = make_shared_string_examinees if args.shared_strings else make_examinees
        making = multiprocessing.get_context("fork").Process(target=maker, args=(examinees, args.examinees))
        making.start()
        making.join()
        if making.exitcode != 0:
            sys.exit("the examinee list could not be written")
    room_list = os.path.join(work, "ROOMS.tsv")
    with open(room_list, "w", encoding="utf-8") as listing:
        for number in range(1, rooms + 1):
            listing.write("第%d考室\t%s\n" % (number, template))
    print("%d examinees in %d rooms of %s; %d cores" % (args.examinees, rooms, template, os.cpu_count()))

    # Each run writes into a folder of its own, and nothing is deleted until
    # the end: on ext4 without a journal, creating files soon after deleting
    # thousands makes every creation scan the recently freed inodes, which
    # would time the file system's bookkeeping rather than the writers.
    made = []

    def fresh(name):
        folder = os.path.join(work, "%s-%d-%d" % (name, os.getpid(), len(made)))
        os.makedirs(folder)
        made.append(folder)
        return folder

    def copy_floor():
        copies = fresh("copies")
        os.sync()  # as run() does
        start = time.monotonic()
        for number in range(1, rooms + 1):
            shutil.copyfile(template, os.path.join(copies, "第%d考室.xlsx" % number))
        return time.monotonic() - start

    def median(runs):
        runs = sorted(runs, key=lambda run: run[0])
        return runs[len(runs) // 2]

    loads = [os.getloadavg()[0]]
    stolen_before = stolen_seconds()
    copy_runs, sedilo_runs, import_runs = [], [], []
    for round_number in range(args.rounds):
        # Interleaved, so a change of load hits every measure alike.
        copy_runs.append(copy_floor())
        database = os.path.join(fresh("import"), "import.mdb")
        import_runs.append(run([args.cli, "import", "--db", database, examinees, "--seed", "1"]))
        sedilo_runs.append(run([args.cli, "arrange", "--examinees", examinees, "--rooms", room_list,
                                "--out", fresh("sedilo"), "--seed", "1", "--export", "unit"]))
        loads.append(os.getloadavg()[0])
    copy = sorted(copy_runs)[len(copy_runs) // 2]
    sedilo, sedilo_import = median(sedilo_runs), median(import_runs)
    if not args.no_openpyxl:
        script = os.path.join(HERE, "openpyxl_arrange.py")
        openpyxl_read = run([sys.executable, script, "--read-only", examinees])
        openpyxl_job = run([sys.executable, script, examinees, template, str(rooms), fresh("openpyxl")])
        loads.append(os.getloadavg()[0])

    print("median of %d rounds; every round (s): copy %s, arrange %s, import %s" % (
        args.rounds, " ".join("%.2f" % c for c in copy_runs), " ".join("%.2f" % r[0] for r in sedilo_runs),
        " ".join("%.2f" % r[0] for r in import_runs)))
    row = "%-44s %8.2f s %8.1f MB  %s"
    print(row % ("template copied once per room (the floor)", copy, 0, ""))
    print(row % (("sedilo-cli arrange",) + sedilo))
    print(row % (("sedilo-cli import",) + sedilo_import))
    if not args.no_openpyxl:
        print(row % (("openpyxl script, same job",) + openpyxl_job))
        print(row % (("openpyxl read_only iteration",) + openpyxl_read))
        print("arrange: %.1fx faster than openpyxl (target >= 20)" % (openpyxl_job[0] / sedilo[0]))
        print("import: %.1fx faster than openpyxl read_only (target >= 10)" % (openpyxl_read[0] / sedilo_import[0]))
    # Each arrange against the copy measured just before it: on a shared
    # machine the load drifts between rounds, and a ratio of medians taken
    # from different rounds would mix two loads.
    ratios = sorted(run[0] / floor for run, floor in zip(sedilo_runs, copy_runs))
    print("arrange: %.2fx the copy floor, median of the rounds' own ratios %s (target <= 4); "
          "%.2fx from the medians" % (ratios[len(ratios) // 2], " ".join("%.2f" % r for r in ratios),
                                      sedilo[0] / copy))
    # The city's target, and the province's for a list ten times as long.
    memory_target = 150 if args.examinees <= 100000 else 500
    print("peak memory of the arrange: %.1f MB (target < %d)" % (sedilo[1], memory_target))
    print("load average (1 min) during the run: %s" % " ".join("%.2f" % l for l in loads))
    # On a virtual machine a busy host takes processor time from a parallel
    # run more than from the single-threaded copy: a large figure here makes
    # the ratio to the copy worse than the program.
    print("processor time stolen by the host during the run: %.1f s" % (stolen_seconds() - stolen_before))
    if args.keep:
        for folder in made:
            shutil.rmtree(folder)
    else:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
