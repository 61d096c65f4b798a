#!/usr/bin/python3
"""Writes the import test fixtures into this folder (run with Debian's python3 and the
python3-xlwt and python3-openpyxl packages). The output is the same on every run.

    /usr/bin/python3 tests/data/import/make_fixtures.py [--rows N OUT.csv]
    /usr/bin/python3 tests/data/import/make_fixtures.py --workbooks N DIR
    /usr/bin/python3 tests/data/import/make_fixtures.py --bombs DIR

With --rows it instead writes a UTF-8 product list of N rows to OUT.csv (for trying the
import by hand); with --workbooks the same list with a header row as DIR/rows.xls and
DIR/rows.xlsx (for the benchmark); with --bombs small workbooks whose sheet or shared
strings inflate to hundreds of megabytes (written at test time, not kept here).

freexl-overread.xls is not made here: it is a damaged workbook the .xls fuzz target found,
on which libfreexl reads past a buffer of its own; it is kept as it was found."""
import datetime
import os
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))

HEADER = ["名称", "说明", "规格", "单位", "等级", "产地", "日期", "促销", "属性", "其他",
          "原价", "现价", "折扣"]
# Row 2 …: text, numbers, a date, a boolean and a sparse row.
ROWS = [
    ["可口可乐", "碳酸饮料", "330ml", "罐", "一级", "上海", datetime.date(2026, 12, 9),
     "买二送一", None, None, 3.5, 2.8, "8折"],
    ["Ver 2.0", "1.0", 12, 12.0, 19.99, 1234567890123, True, None, None, None,
     0.1 + 0.2, -7, "x"],
    ["只有首尾", None, None, None, None, None, None, None, None, None, None, None, "尾"],
]


def write_xlsx(path):
    import openpyxl
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "商品"
    sheet.append(HEADER)
    for row in ROWS:
        sheet.append(row)
    sheet.cell(row=2, column=7).number_format = "yyyy-mm-dd"
    book.create_sheet("空表").append(["名称", "现价"])
    book.save(path)
    normalise_zip(path)


def normalise_zip(path):
    """Rewrites a ZIP with fixed times and order so the bytes never change."""
    with zipfile.ZipFile(path) as z:
        entries = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    write_zip(path, entries)


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            if name == "docProps/core.xml":
                continue
            info = zipfile.ZipInfo(name, (2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data)


def write_handmade_xlsx(path):
    """Inline strings, formula strings, rich text with phonetic runs, cells without
    references, a 1904 workbook, a custom date format and a sheet in a folder of its own."""
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    pkg = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    entries = [
        ("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>'),
        ("_rels/.rels", f'<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                        f'<Relationship Id="rId1" Type="{pkg}/officeDocument" Target="book/wb.xml"/></Relationships>'),
        ("book/wb.xml", f'<?xml version="1.0"?><workbook {ns} {rel}><workbookPr date1904="1"/><sheets>'
                        f'<sheet name="Data" sheetId="1" r:id="rA"/></sheets></workbook>'),
        ("book/_rels/wb.xml.rels", f'<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                                   f'<Relationship Id="rA" Type="{pkg}/worksheet" Target="../sheets/one.xml"/>'
                                   f'<Relationship Id="rS" Type="{pkg}/sharedStrings" Target="strings.xml"/>'
                                   f'<Relationship Id="rT" Type="{pkg}/styles" Target="/book/styles.xml"/></Relationships>'),
        ("book/strings.xml", f'<?xml version="1.0"?><sst {ns}><si><t>名称</t></si>'
                             f'<si><r><t>东</t></r><r><t xml:space="preserve">京 </t></r><rPh sb="0" eb="1"><t>トウ</t></rPh></si></sst>'),
        ("book/styles.xml", f'<?xml version="1.0"?><styleSheet {ns}><numFmts count="1">'
                            f'<numFmt numFmtId="170" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>'
                            f'<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>'
                            f'<cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="170"/><xf numFmtId="2"/></cellXfs></styleSheet>'),
        ("sheets/one.xml", f'<?xml version="1.0"?><worksheet {ns}><sheetData>'
                           f'<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="inlineStr"><is><t>价格</t></is></c></row>'
                           f'<row r="3"><c r="A3" t="s"><v>1</v></c><c t="str"><f>A3</f><v>公式</v></c>'
                           f'<c s="2"><v>5</v></c><c r="E3" s="1"><v>0</v></c><c r="F3" t="b"><v>0</v></c></row>'
                           f'</sheetData></worksheet>'),
    ]
    write_zip(path, entries)


def patch_entry(path, name, crc=None, size=None):
    """Overwrites the CRC-32 or the uncompressed size an entry declares, in its local
    header and in the central directory alike."""
    import struct
    with open(path, "rb") as f:
        data = bytearray(f.read())
    encoded = name.encode()
    for signature, crc_at, size_at, name_at in ((b"PK\x03\x04", 14, 22, 30), (b"PK\x01\x02", 16, 24, 46)):
        start = 0
        while True:
            start = data.find(signature, start)
            if start < 0:
                break
            if data[start + name_at:start + name_at + len(encoded)] == encoded:
                if crc is not None:
                    data[start + crc_at:start + crc_at + 4] = struct.pack("<I", crc)
                if size is not None:
                    data[start + size_at:start + size_at + 4] = struct.pack("<I", size)
            start += 4
    with open(path, "wb") as f:
        f.write(bytes(data))


def write_damaged_workbooks(source):
    """handmade.xlsx with its shared strings part malformed, failing its CRC, and
    declaring a size far over what any part may have; and with its styles malformed."""
    with zipfile.ZipFile(source) as z:
        entries = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    strings = "book/strings.xml"
    for part, name in ((strings, "damaged-strings-xml.xlsx"), ("book/styles.xml", "damaged-styles-xml.xlsx")):
        cut = [(n, d[:len(d) // 2] if n == part else d) for n, d in entries]
        write_zip(os.path.join(HERE, name), cut)
    crc = os.path.join(HERE, "damaged-strings-crc.xlsx")
    write_zip(crc, entries)
    patch_entry(crc, strings, crc=0x12345678)
    size = os.path.join(HERE, "damaged-strings-size.xlsx")
    write_zip(size, entries)
    patch_entry(size, strings, size=0x7FFFFFF0)


def write_bomb(path, part, megabytes):
    """A valid one-cell workbook whose sheet or shared strings part (part is "sheet" or
    "strings") is padded with megabytes of spaces, which deflate about a thousand times."""
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    pkg = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    rels = "http://schemas.openxmlformats.org/package/2006/relationships"
    parts = {
        "_rels/.rels": f'<?xml version="1.0"?><Relationships xmlns="{rels}">'
                       f'<Relationship Id="rId1" Type="{pkg}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": f'<?xml version="1.0"?><workbook {ns} {rel}><sheets>'
                           f'<sheet name="Sheet1" sheetId="1" r:id="rA"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": f'<?xml version="1.0"?><Relationships xmlns="{rels}">'
                                      f'<Relationship Id="rA" Type="{pkg}/worksheet" Target="sheet1.xml"/>'
                                      f'<Relationship Id="rS" Type="{pkg}/sharedStrings" Target="strings.xml"/></Relationships>',
        "xl/strings.xml": f'<?xml version="1.0"?><sst {ns}><si><t>名称</t></si>|</sst>',
        "xl/sheet1.xml": f'<?xml version="1.0"?><worksheet {ns}><sheetData>|'
                         f'<row r="1"><c r="A1" t="s"><v>0</v></c></row>'
                         f'<row r="2"><c r="A2" t="s"><v>0</v></c></row></sheetData></worksheet>',
    }
    padded = "xl/sheet1.xml" if part == "sheet" else "xl/strings.xml"
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, text in parts.items():
            info = zipfile.ZipInfo(name, (2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            if name != padded:
                z.writestr(info, text.replace("|", ""))
                continue
            head, tail = text.split("|")
            with z.open(info, "w") as out:
                out.write(head.encode())
                spaces = b" " * (1 << 20)
                for _ in range(megabytes):
                    out.write(spaces)
                out.write(tail.encode())


def write_bombs(folder):
    write_bomb(os.path.join(folder, "sheet-300mb.xlsx"), "sheet", 300)
    write_bomb(os.path.join(folder, "sheet-120mb.xlsx"), "sheet", 120)
    write_bomb(os.path.join(folder, "strings-120mb.xlsx"), "strings", 120)


def write_xls(path):
    import xlwt
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("商品")
    date_style = xlwt.easyxf(num_format_str="YYYY-MM-DD")
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for r, row in enumerate(ROWS, start=1):
        for c, value in enumerate(row):
            if value is None:
                continue
            if isinstance(value, datetime.date):
                sheet.write(r, c, value, date_style)
            else:
                sheet.write(r, c, value)
    header_only = book.add_sheet("空表")
    header_only.write(0, 0, "名称")
    header_only.write(0, 1, "现价")
    book.save(path)


def write_texts():
    rows = ["名称,说明,现价", '可口可乐,"碳酸,饮料",3.50', '雪碧,"柠檬 ""味""",3']
    text = "\r\n".join(rows) + "\r\n"
    with open(os.path.join(HERE, "utf8-bom.csv"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + text.encode("utf-8"))
    with open(os.path.join(HERE, "utf16le.csv"), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    with open(os.path.join(HERE, "gbk.csv"), "wb") as f:
        f.write(text.encode("gbk"))
    # A character GBK cannot hold (an emoji) in row 3, column 2.
    with open(os.path.join(HERE, "not-gbk.csv"), "wb") as f:
        f.write(("名称,说明\n可乐,好喝\n雪碧,好喝\U0001F600\n").encode("utf-8"))


def product(i):
    price = 2 + (i * 37 % 500) / 10
    return [f"商品{i}", f"规格 {i % 7 + 1}, 盒装", f"{i % 12 + 1}00g", "盒", "一级", f"产地{i % 31}",
            f"2026-12-{i % 28 + 1:02d}", f"促销{i % 5}", "", "", round(price + 1, 2), round(price, 2),
            f"{i % 9 + 1}折"]


def write_product_list(path, count):
    with open(path, "w", encoding="utf-8", newline="") as f:
        for i in range(1, count + 1):
            fields = [str(v) for v in product(i)]
            fields[1] = f'"{fields[1]}"'
            f.write(",".join(fields) + "\n")


def write_product_workbooks(folder, count):
    import openpyxl
    import xlwt
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Sheet1"
    sheet.append(HEADER)
    for i in range(1, count + 1):
        sheet.append(product(i))
    book.save(os.path.join(folder, "rows.xlsx"))
    old = xlwt.Workbook(encoding="utf-8")
    old_sheet = old.add_sheet("Sheet1")
    for c, name in enumerate(HEADER):
        old_sheet.write(0, c, name)
    for i in range(1, count + 1):
        for c, value in enumerate(product(i)):
            if value != "":
                old_sheet.write(i, c, value)
    old.save(os.path.join(folder, "rows.xls"))


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--rows":
        write_product_list(sys.argv[3], int(sys.argv[2]))
        return
    if len(sys.argv) == 4 and sys.argv[1] == "--workbooks":
        write_product_workbooks(sys.argv[3], int(sys.argv[2]))
        return
    if len(sys.argv) == 3 and sys.argv[1] == "--bombs":
        write_bombs(sys.argv[2])
        return
    write_xlsx(os.path.join(HERE, "products.xlsx"))
    write_xls(os.path.join(HERE, "products.xls"))
    write_handmade_xlsx(os.path.join(HERE, "handmade.xlsx"))
    write_damaged_workbooks(os.path.join(HERE, "handmade.xlsx"))
    # Files whose suffix lies about what they are.
    with open(os.path.join(HERE, "products.xlsx"), "rb") as src, \
            open(os.path.join(HERE, "really-xlsx.xls"), "wb") as dst:
        dst.write(src.read())
    with open(os.path.join(HERE, "products.xls"), "rb") as src, \
            open(os.path.join(HERE, "really-xls.xlsx"), "wb") as dst:
        dst.write(src.read())
    write_texts()


if __name__ == "__main__":
    main()
