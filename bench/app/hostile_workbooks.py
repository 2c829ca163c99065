#!/usr/bin/python3
"""Hostile workbooks that a few kilobytes or megabytes of zip turn into
gigabytes of XML, and the peak memory and time updater-cli takes on each.

    /usr/bin/python3 bench/app/hostile_workbooks.py [updater-cli] [work folder] [file...]

Defaults: build/native-release/tools/updater-cli/updater-cli and
build/hostile. The files are written once into the work folder (a few MB in
all) and kept; each is then opened with `updater-cli dump` under
/usr/bin/time, with its address space limited (LIMIT_GB, default 6) so that a
reader without bounds fails instead of taking the machine's memory. Prints
one line per file: peak resident memory, wall time, exit code and the last
line of the output (the refusal, when there is one).
"""
import os
import resource
import subprocess
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
NS_R = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
RELS_NS = 'xmlns="http://schemas.openxmlformats.org/package/2006/relationships"'

PACKAGE_RELS = (f'<Relationships {RELS_NS}><Relationship Id="rId1" Type="{REL}officeDocument" '
                'Target="xl/workbook.xml"/></Relationships>')
WORKBOOK = (f'<workbook {NS} {NS_R}><sheets><sheet name="Planilha1" sheetId="1" r:id="rId1"/>'
            '</sheets></workbook>')
WORKBOOK_RELS = (f'<Relationships {RELS_NS}><Relationship Id="rId1" Type="{REL}worksheet" '
                 'Target="worksheets/sheet1.xml"/><Relationship Id="rId2" '
                 f'Type="{REL}sharedStrings" Target="sharedStrings.xml"/></Relationships>')
SHEET = (f'<worksheet {NS}><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row>'
         '</sheetData></worksheet>')
SHARED = f'<sst {NS}><si><t>a</t></si></sst>'


def repeated(head, piece, count, tail):
    """Yields head, piece `count` times (in blocks), then tail, as bytes."""
    yield head.encode()
    block = 1 << 16
    chunk = (piece * block).encode()
    while count >= block:
        yield chunk
        count -= block
    yield (piece * count).encode()
    yield tail.encode()


def write_package(path, **parts):
    """A workbook whose parts are the defaults above, except those given
    (name -> text or generator of bytes)."""
    names = {
        "_rels/.rels": PACKAGE_RELS,
        "xl/workbook.xml": WORKBOOK,
        "xl/_rels/workbook.xml.rels": WORKBOOK_RELS,
        "xl/worksheets/sheet1.xml": SHEET,
        "xl/sharedStrings.xml": SHARED,
    }
    keys = {"sheet": "xl/worksheets/sheet1.xml", "shared": "xl/sharedStrings.xml",
            "workbook": "xl/workbook.xml", "workbook_rels": "xl/_rels/workbook.xml.rels"}
    for key, body in parts.items():
        names[keys[key]] = body
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, body in names.items():
            if isinstance(body, str):
                z.writestr(name, body)
                continue
            with z.open(name, "w", force_zip64=True) as out:
                for piece in body:
                    out.write(piece)


def sheets(count):
    """A workbook part of `count` sheets, all the same worksheet."""
    return repeated(f"<workbook {NS} {NS_R}><sheets>",
                    '<sheet name="a" sheetId="1" r:id="rId1"/>', count, "</sheets></workbook>")


def relationships(count):
    """The workbook's relationships: `count` of them, then its worksheet."""
    return repeated(
        f"<Relationships {RELS_NS}>",
        f'<Relationship Id="rId9" Type="{REL}styles" Target="styles.xml"/>', count,
        f'<Relationship Id="rId1" Type="{REL}worksheet" Target="worksheets/sheet1.xml"/>'
        "</Relationships>")


def cases():
    """(file name, what it holds, parts)"""
    return [
        ("shared_strings.xlsx", "200 million empty shared strings (1 GB of XML)",
         dict(shared=repeated(f"<sst {NS}>", "<si/>", 200_000_000, "</sst>"))),
        ("sheets.xlsx", "25 million sheets in the workbook part",
         dict(workbook=sheets(25_000_000))),
        ("relationships.xlsx", "8 million relationships of the workbook part",
         dict(workbook_rels=relationships(8_000_000))),
        ("sheets_256mb.xlsx", "6 million sheets, within the size bound of the workbook part",
         dict(workbook=sheets(6_000_000))),
        ("relationships_64mb.xlsx", "500,000 relationships, within the size bound of their part",
         dict(workbook_rels=relationships(500_000))),
        ("depth.xlsx", "a workbook part nested 20 million levels deep",
         dict(workbook=nested_workbook(20_000_000))),
        ("stray_cell.xlsx", "three rows of 46 columns and a formatted cell at XFD1048576",
         dict(sheet=stray_cell_sheet())),
        # Cells without a value: the sheet is read (row 1 imported) to give
        # its used area; 49 million empty <c/> in order, and 24.5 million
        # with references, rows from the last to the first.
        ("empty_cells.xlsx", "49 million empty <c/> cells, read for the used area",
         dict(sheet=repeated(f"<worksheet {NS}><sheetData>", "<row>" + "<c/>" * 16384 + "</row>",
                             2990, "</sheetData></worksheet>")), ["--rows", "1"]),
        ("empty_cells_reversed.xlsx", "24.5 million empty cells, rows out of order",
         dict(sheet=reversed_empty_rows(1500)), ["--rows", "1"]),
        ("numbers_reversed.xlsx", "5 million numbers, rows out of order",
         dict(sheet=reversed_number_rows(110_000, 46)), ["--rows", "1"]),
    ]


def column_name(n):
    name = ""
    while n > 0:
        n, r = divmod(n - 1, 26)
        name = chr(65 + r) + name
    return name


def reversed_empty_rows(rows):
    yield f"<worksheet {NS}><sheetData>".encode()
    refs = [column_name(c) for c in range(1, 16385)]
    for r in range(rows, 0, -1):
        yield (f'<row r="{r}">' + "".join(f'<c r="{ref}{r}"/>' for ref in refs) + "</row>").encode()
    yield b"</sheetData></worksheet>"


def reversed_number_rows(rows, columns):
    yield f"<worksheet {NS}><sheetData>".encode()
    refs = [column_name(c) for c in range(1, columns + 1)]
    for r in range(rows, 0, -1):
        yield (f'<row r="{r}">' + "".join(f'<c r="{ref}{r}"><v>{r}</v></c>' for ref in refs) +
               "</row>").encode()
    yield b"</sheetData></worksheet>"


def nested_workbook(levels):
    yield f"<workbook {NS} {NS_R}>".encode()
    block = 1 << 16
    left = levels
    while left > 0:
        n = min(block, left)
        yield b"<a>" * n
        left -= n
    left = levels
    while left > 0:
        n = min(block, left)
        yield b"</a>" * n
        left -= n
    yield b"</workbook>"


def stray_cell_sheet():
    rows = []
    for r in range(1, 4):
        cells = "".join(f'<c r="{col}{r}"><v>{r}</v></c>' for col in ("A", "R", "AT"))
        rows.append(f'<row r="{r}">{cells}</row>')
    rows.append('<row r="1048576"><c r="XFD1048576" s="1"/></row>')
    return f'<worksheet {NS}><sheetData>{"".join(rows)}</sheetData></worksheet>'


def limit_memory():
    gb = int(os.environ.get("LIMIT_GB", "6"))
    resource.setrlimit(resource.RLIMIT_AS, (gb << 30, gb << 30))


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        ROOT, "build/native-release/tools/updater-cli/updater-cli")
    work = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "build/hostile")
    os.makedirs(work, exist_ok=True)
    only = sys.argv[3:]  # file names to run, when given
    for name, what, parts, *extra in cases():
        if only and name not in only:
            continue
        path = os.path.join(work, name)
        if not os.path.exists(path):
            write_package(path + ".part", **parts)
            os.replace(path + ".part", path)
        size = os.path.getsize(path)
        args = extra[0] if extra else []
        run = subprocess.run(["/usr/bin/time", "-f", "%M %e", cli, "dump", "--workbook", path, *args],
                             capture_output=True, text=True, preexec_fn=limit_memory,
                             timeout=900)
        peak_kb, seconds = run.stderr.strip().splitlines()[-1].split()
        last = (run.stdout.strip().splitlines() or [""])[-1][:160]
        print(f"{name} ({what}; {size / 1e6:.1f} MB): peak {int(peak_kb) / 1024:.0f} MB, "
              f"{float(seconds):.1f} s, exit {run.returncode}: {last}")


if __name__ == "__main__":
    main()
