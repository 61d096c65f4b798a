#!/usr/bin/python3
"""Writes shop.mdb: users.mdb (a Jet 4 file made by Access, see README.md) with two tables
of goods added, for the money, date and NULL cases of the database import, and saved queries
over them (two select queries, one the import cannot translate and one update query). No package we can
use ships an .mdb with a money column, so the tables are written here, in the layout Access
uses for tables without indexes: a table definition page, data pages with the rows, and
usage maps, with one row per table added to the system catalogue. The output is the same on
every run.

    /usr/bin/python3 tests/data/odbc/make_shop_mdb.py [OUT.mdb]
    /usr/bin/python3 tests/data/odbc/make_shop_mdb.py --rows N OUT.mdb

With --rows the file holds instead one table 商品 表 of N generated goods (for the
benchmark)."""
import datetime
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PAGE = 4096

TEXT, LONG, DOUBLE, MONEY, DATETIME = 0x0A, 0x04, 0x07, 0x05, 0x08
SHORT, BINARY = 0x03, 0x09  # in the catalogue
BYTE, MEMO = 0x02, 0x0C  # in the table of saved queries
QUERIES_DEFINITION = 4  # the definition page of MSysQueries
QUERY_TYPE = 5  # of a saved query in the catalogue
FIXED_SIZE = {LONG: 4, DOUBLE: 8, MONEY: 8, DATETIME: 8}
TABLES_FOLDER = 0x0F000001  # parent of every table in the catalogue
DATE_ZERO = datetime.datetime(1899, 12, 30)
MADE = datetime.datetime(2026, 12, 9, 9, 0)  # stamped as creation time of the added tables


class Column:
    def __init__(self, name, kind, number, var_number, fixed_offset, size, flags=None):
        self.name, self.kind, self.number = name, kind, number
        self.var_number, self.fixed_offset, self.size = var_number, fixed_offset, size
        self.flags = flags if flags is not None else (0x03 if kind in FIXED_SIZE else 0x02)

    @property
    def fixed(self):
        return bool(self.flags & 0x01)


def layout(fields):
    """Columns for [(name, kind, characters)], numbered in order: fixed ones packed from
    offset 0, variable ones numbered among themselves."""
    columns, fixed_offset, var_number = [], 0, 0
    for number, (name, kind, chars) in enumerate(fields):
        if kind in FIXED_SIZE:
            columns.append(Column(name, kind, number, var_number, fixed_offset, FIXED_SIZE[kind]))
            fixed_offset += FIXED_SIZE[kind]
        else:
            columns.append(Column(name, kind, number, var_number, 0, chars * 2))
            var_number += 1
    return columns


def u16(v):
    return struct.pack("<H", v)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def text_bytes(s):
    # Access stores Latin-1 text "compressed": FF FE, then one byte a character.
    if s and all(0 < ord(c) < 256 for c in s):
        return b"\xff\xfe" + s.encode("latin-1")
    return s.encode("utf-16-le")


def value_bytes(kind, v):
    if kind == TEXT:
        return text_bytes(v)
    if kind == LONG:
        return struct.pack("<i", v)
    if kind == SHORT:
        return struct.pack("<h", v)
    if kind == DOUBLE:
        return struct.pack("<d", v)
    if kind == MONEY:
        return struct.pack("<q", round(v * 10000))
    if kind == DATETIME:
        return struct.pack("<d", (v - DATE_ZERO) / datetime.timedelta(days=1))
    if kind == BINARY:
        return v
    if kind == BYTE:
        return struct.pack("<B", v)
    if kind == MEMO:
        # Held in the row: the length with the in-row flag, no page reference.
        data = text_bytes(v)
        return u32(len(data) | 0x80000000) + u32(0) + u32(0) + data
    raise ValueError(kind)


def encode_row(columns, values):
    """One row: column count, fixed area, variable data, variable offsets from the end of
    the data backwards, the number of variable columns, then the null mask (bit set = a
    value)."""
    by_number = sorted(columns, key=lambda c: c.number)
    count = len(by_number)
    fixed = bytearray(max([c.fixed_offset + c.size for c in by_number if c.fixed] or [0]))
    variable = sorted([c for c in by_number if not c.fixed], key=lambda c: c.var_number)
    mask = bytearray((count + 7) // 8)
    for c in by_number:
        v = values.get(c.name)
        if v is None:
            continue
        mask[c.number // 8] |= 1 << (c.number % 8)
        if c.fixed:
            fixed[c.fixed_offset:c.fixed_offset + c.size] = value_bytes(c.kind, v)
    data = bytearray(u16(count) + fixed)
    offsets = []
    for c in variable:
        offsets.append(len(data))
        v = values.get(c.name)
        if v is not None:
            data += value_bytes(c.kind, v)
    offsets.append(len(data))
    for offset in reversed(offsets):
        data += u16(offset)
    data += u16(len(variable)) + mask
    return bytes(data)


def data_page(owner, rows):
    page = bytearray(PAGE)
    end = PAGE
    for i, row in enumerate(rows):
        end -= len(row)
        page[end:end + len(row)] = row
        page[14 + 2 * i:16 + 2 * i] = u16(end)
    free = PAGE - 14 - 2 * len(rows) - sum(len(r) for r in rows)
    page[0:14] = b"\x01\x01" + u16(free) + u32(owner) + u32(0) + u16(len(rows))
    return bytes(page)


def pack_rows(rows, limit=255):
    """Rows grouped into pages, as many as fit."""
    pages, current, used = [], [], 14
    for row in rows:
        if current and (used + len(row) + 2 > PAGE or len(current) == limit):
            pages.append(current)
            current, used = [], 14
        current.append(row)
        used += len(row) + 2
    if current:
        pages.append(current)
    return pages


def usage_map(pages, bitmap_bytes=64):
    first = min(pages) if pages else 0
    bitmap_bytes = max(bitmap_bytes, (max(pages, default=0) - first) // 8 + 1)
    bits = bytearray(bitmap_bytes)
    for p in pages:
        bits[(p - first) // 8] |= 1 << ((p - first) % 8)
    return b"\x00" + u32(first) + bytes(bits)


def table_definition(columns, row_count, used_map, free_map, unknown):
    """A table definition page of a user table without indexes; used_map and free_map are
    (row, page) of its usage maps."""
    body = bytearray()
    body += u32(row_count) + u32(0) + b"\x01\x00\x00\x00" + u32(0) + bytes(8)
    var_count = sum(1 for c in columns if not c.fixed)
    body += b"\x4e" + u16(len(columns)) + u16(var_count) + u16(len(columns))
    body += u32(0) + u32(0)
    body += bytes([used_map[0]]) + used_map[1].to_bytes(3, "little")
    body += bytes([free_map[0]]) + free_map[1].to_bytes(3, "little")
    for c in columns:
        body += bytes([c.kind]) + unknown + u16(c.number) + u16(c.var_number) + u16(c.number)
        body += b"\x04\x08\x00\x00" + bytes([c.flags, 1 if c.kind == TEXT else 0]) + u32(0)
        body += u16(c.fixed_offset if c.fixed else 0) + u16(c.size)
    for c in columns:
        name = c.name.encode("utf-16-le")
        body += u16(len(name)) + name
    body += b"\xff\xff"
    length = 16 + len(body)
    page = bytearray(PAGE)
    page[0:length] = b"\x02\x01" + u16(PAGE - length - 8) + u32(0) + u32(length) + unknown + body
    return bytes(page)


class Database:
    def __init__(self, raw):
        self.pages = [bytearray(raw[i:i + PAGE]) for i in range(0, len(raw), PAGE)]
        self.catalogue = self.read_definition(2)

    def read_definition(self, number):
        page = self.pages[number]
        assert page[0] == 0x02 and struct.unpack_from("<I", page, 4)[0] == 0, "one-page definition"
        count = struct.unpack_from("<H", page, 45)[0]
        real_indexes = struct.unpack_from("<I", page, 51)[0]
        pos = 63 + 12 * real_indexes
        columns = []
        for _ in range(count):
            e = page[pos:pos + 25]
            pos += 25
            columns.append(Column("", e[0], struct.unpack_from("<H", e, 5)[0],
                                  struct.unpack_from("<H", e, 7)[0],
                                  struct.unpack_from("<H", e, 21)[0],
                                  struct.unpack_from("<H", e, 23)[0], e[15]))
        for c in columns:
            length = struct.unpack_from("<H", page, pos)[0]
            c.name = page[pos + 2:pos + 2 + length].decode("utf-16-le")
            pos += 2 + length
        self.unknown = bytes(page[12:16])
        return columns

    def catalogue_pages(self):
        page = self.pages[2]
        row, number = page[55], int.from_bytes(page[56:59], "little")
        m = self.row(number, row)
        assert m[0] == 0, "inline usage map"
        first = struct.unpack_from("<I", m, 1)[0]
        return [first + i for i in range((len(m) - 5) * 8) if m[5 + i // 8] >> (i % 8) & 1]

    def row(self, number, index):
        page = self.pages[number]
        start = struct.unpack_from("<H", page, 14 + 2 * index)[0] & 0x1FFF
        end = PAGE if index == 0 else struct.unpack_from("<H", page, 12 + 2 * index)[0] & 0x1FFF
        return bytes(page[start:end])

    def insert_row(self, number, row):
        page = self.pages[number]
        count = struct.unpack_from("<H", page, 12)[0]
        free = struct.unpack_from("<H", page, 2)[0]
        if free < len(row) + 2:
            return False
        lowest = min(struct.unpack_from("<H", page, 14 + 2 * i)[0] & 0x1FFF for i in range(count))
        start = lowest - len(row)
        page[start:lowest] = row
        page[14 + 2 * count:16 + 2 * count] = u16(start)
        page[12:14] = u16(count + 1)
        page[2:4] = u16(free - len(row) - 2)
        return True

    def add_table(self, name, columns, records):
        definition = len(self.pages)
        rows = [encode_row(columns, r) for r in records]
        groups = pack_rows(rows)
        maps = definition + 1
        first_data = definition + 2
        data_numbers = list(range(first_data, first_data + len(groups)))
        self.pages.append(bytearray(table_definition(columns, len(rows), (0, maps), (1, maps),
                                                     self.unknown)))
        self.pages.append(bytearray(data_page(0, [usage_map(data_numbers), usage_map([])])))
        for group in groups:
            self.pages.append(bytearray(data_page(definition, group)))
        entry = encode_row(self.catalogue, {
            "Id": definition, "ParentId": TABLES_FOLDER, "Name": name, "Type": 1,
            "DateCreate": MADE, "DateUpdate": MADE, "Owner": b"\x5d\x51", "Flags": 0})
        if not any(self.insert_row(p, entry) for p in self.catalogue_pages()):
            raise SystemExit("no room for another table in the catalogue")
        catalogue = self.pages[2]
        catalogue[16:20] = u32(struct.unpack_from("<I", catalogue, 16)[0] + 1)

    def add_queries(self, queries):
        """Saved queries [(id, name, rows)]: rows of the table of saved queries on one new
        data page of that table, and one catalogue entry each."""
        columns = self.read_definition(QUERIES_DEFINITION)
        rows = [encode_row(columns, dict(row, ObjectId=number))
                for number, _, query_rows in queries for row in query_rows]
        page_number = len(self.pages)
        self.pages.append(bytearray(data_page(QUERIES_DEFINITION, rows)))
        definition = self.pages[QUERIES_DEFINITION]
        map_row, map_page = definition[55], int.from_bytes(definition[56:59], "little")
        page = self.pages[map_page]
        start = struct.unpack_from("<H", page, 14 + 2 * map_row)[0] & 0x1FFF
        assert page[start] == 0, "inline usage map"
        first = struct.unpack_from("<I", page, start + 1)[0]
        bit = page_number - first
        page[start + 5 + bit // 8] |= 1 << (bit % 8)
        definition[16:20] = u32(struct.unpack_from("<I", definition, 16)[0] + len(rows))
        for number, name, _ in queries:
            entry = encode_row(self.catalogue, {
                "Id": number, "ParentId": TABLES_FOLDER, "Name": name, "Type": QUERY_TYPE,
                "DateCreate": MADE, "DateUpdate": MADE, "Owner": b"\x5d\x51", "Flags": 0})
            if not any(self.insert_row(p, entry) for p in self.catalogue_pages()):
                raise SystemExit("no room for another query in the catalogue")

    def bytes(self):
        return b"".join(self.pages)


GOODS = layout([
    ("名称", TEXT, 50), ("规格", TEXT, 50), ("单位", TEXT, 10), ("产地", TEXT, 50),
    ("Price", MONEY, 0), ("OldPrice", MONEY, 0), ("Made", DATETIME, 0),
    ("Qty", LONG, 0), ("Weight", DOUBLE, 0), ("Note", TEXT, 255),
])
d = datetime.datetime
GOODS_ROWS = [
    {"名称": "苹果", "规格": "500g", "单位": "袋", "产地": "烟台", "Price": 18, "OldPrice": 21.5,
     "Made": d(1994, 11, 16), "Qty": 12, "Weight": 0.5, "Note": None},
    {"名称": "Pear", "规格": "1kg", "单位": "box", "产地": "Korla", "Price": 55.5, "OldPrice": None,
     "Made": d(2026, 12, 1), "Qty": 3, "Weight": 1.0, "Note": "sweet"},
    {"名称": "Plum", "规格": None, "单位": "kg", "产地": None, "Price": None, "OldPrice": 9.9,
     "Made": d(2026, 11, 30, 14, 30), "Qty": None, "Weight": None, "Note": "no price yet"},
    {"名称": "Fig", "规格": "6 只", "单位": "盒", "产地": "新疆", "Price": 120, "OldPrice": 150,
     "Made": d(2025, 1, 2), "Qty": 0, "Weight": 0.25, "Note": "促销"},
    {"名称": "橙子", "规格": "5斤", "单位": "箱", "产地": "赣南", "Price": 49.99, "OldPrice": 50.01,
     "Made": None, "Qty": -1, "Weight": 2.5, "Note": "清仓"},
    {"名称": "Kiwi", "规格": "", "单位": "个", "产地": "周至", "Price": 0.3333, "OldPrice": 1234567.89,
     "Made": d(2000, 1, 1), "Qty": 2147483647, "Weight": 1e-3, "Note": ""},
]

PRICE_LIST = layout([("Item", TEXT, 50), ("Price", MONEY, 0), ("Until", DATETIME, 0)])
PRICE_ROWS = [
    {"Item": "Milk", "Price": 3.2, "Until": d(2026, 12, 31)},
    {"Item": "Bread", "Price": 50.01, "Until": None},
    {"Item": "Tea", "Price": None, "Until": d(2027, 1, 15)},
]


def query(kind, *rows):
    """The rows Access saves for a query: the start, its kind (1 select, 4 update), then
    (attribute, fields) for the tables (5), output columns (6), joins (7), condition (8) and
    sorting (11), then the end."""
    return [{"Attribute": 0}, {"Attribute": 1, "Flag": kind}] + \
        [dict(fields, Attribute=a) for a, fields in rows] + [{"Attribute": 255}]


GOODS_TABLE = "[商品 价格]"
QUERIES = [
    (60, "特价商品", query(
        1,
        (5, {"Name1": "商品 价格"}),
        (6, {"Expression": GOODS_TABLE + ".[名称]"}),
        (6, {"Expression": GOODS_TABLE + ".[Price]", "Name1": "现价"}),
        (6, {"Expression": GOODS_TABLE + ".[产地]"}),
        (6, {"Expression": 'IIf(' + GOODS_TABLE + '.[Qty]>0,"有货","缺货")', "Name1": "库存"}),
        (8, {"Expression": GOODS_TABLE + '.[Price]<60 And (' + GOODS_TABLE + '.[名称] Like "*果" Or '
             + GOODS_TABLE + '.[Made]>=#11/30/2026#)'}),
        (11, {"Expression": GOODS_TABLE + ".[Price]", "Name1": "D"}))),
    (61, "对照价格", query(
        1,
        (5, {"Name1": "商品 价格"}),
        (5, {"Name1": "Price List", "Name2": "L"}),
        (6, {"Expression": GOODS_TABLE + ".[名称]"}),
        (6, {"Expression": "L.Item", "Name1": "对照"}),
        (6, {"Expression": "L.Price"}),
        (7, {"Name1": "商品 价格", "Name2": "L", "Flag": 1,
             "Expression": GOODS_TABLE + ".[OldPrice] = L.Price"}))),
    (62, "价格文字", query(
        1,
        (5, {"Name1": "商品 价格"}),
        (6, {"Expression": 'Format(' + GOODS_TABLE + '.[Price],"0.00")', "Name1": "价格"}))),
    (63, "清仓", query(
        4,
        (5, {"Name1": "商品 价格"}),
        (6, {"Expression": "0.5*[OldPrice]", "Name1": GOODS_TABLE + ".[Price]"}))),
]


def generated_goods(count):
    for i in range(1, count + 1):
        price = 2 + (i * 37 % 500) / 10.0
        yield {"名称": "商品%d" % i, "规格": "规格 %d, 盒装" % (i % 7 + 1), "单位": "盒",
               "产地": "产地%d" % (i % 31), "Price": price, "OldPrice": price + 1,
               "Made": d(2026, 12, i % 28 + 1), "Qty": i % 50, "Weight": i / 100.0,
               "Note": None if i % 10 == 0 else "促销"}


def main(argv):
    rows = None
    if len(argv) >= 2 and argv[0] == "--rows":
        rows, argv = int(argv[1]), argv[2:]
    out = argv[0] if argv else os.path.join(HERE, "shop.mdb")
    with open(os.path.join(HERE, "users.mdb"), "rb") as f:
        db = Database(f.read())
    if rows is None:
        db.add_table("商品 价格", GOODS, GOODS_ROWS)
        db.add_table("Price List", PRICE_LIST, PRICE_ROWS)
        db.add_queries(QUERIES)
    else:
        db.add_table("商品 表", GOODS, list(generated_goods(rows)))
    with open(out + ".part", "wb") as f:
        f.write(db.bytes())
    os.replace(out + ".part", out)


if __name__ == "__main__":
    main(sys.argv[1:])
