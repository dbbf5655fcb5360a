"""Input files of the benchmark jobs: department and goods lines, and a binary product table."""

import struct

VAT_LETTERS = "ABCDEF"

# Product table layout: an 85-byte header (magic 0x3343), 27-byte field descriptors, then the
# records, each 5 leading bytes followed by the fields' data.
TABLE_MAGIC = 0x3343
HEADER_SIZE = 85
DESCRIPTOR_SIZE = 27
RECORD_LEAD = 5
CHARACTER_FIELD = 3
BINARY_FIELD = 2

# (name, type, length): the fields the goods load reads, plus a few it does not.
GOODS_FIELDS = [
    ("KOD", CHARACTER_FIELD, 13),
    ("KODNR", BINARY_FIELD, 8),
    ("NAZWA", CHARACTER_FIELD, 40),
    ("NAZWAF", CHARACTER_FIELD, 40),
    ("CENADET", BINARY_FIELD, 8),
    ("TYPPODS", CHARACTER_FIELD, 1),
    ("OPCJE", BINARY_FIELD, 2),
    ("DZIAL", BINARY_FIELD, 4),
    ("HALO", BINARY_FIELD, 4),
    ("TANDEM", BINARY_FIELD, 8),
    ("JM", CHARACTER_FIELD, 3),
]


def goods(count):
    """`count` goods with short PLU numbers 1..count: (code, name, price, vat, department)."""
    items = []
    for number in range(1, count + 1):
        name = ("Towar %d" % number)[:18]
        price = 0.5 + (number * 37 % 5000) / 100.0
        items.append((number, name, price, VAT_LETTERS[number % len(VAT_LETTERS)],
                      1 + number % 42))
    return items


def goods_lines(count):
    """Exchange-file lines "PLU...", as the goods dump writes them."""
    lines = []
    for code, name, price, vat, department in goods(count):
        lines.append("PLU%13d,%18s,%10.2f,%c,%d,%4s,%d,%d,%013.0f\n"
                     % (code, name, price, vat, 3, "00000", department, 0, 0.0))
    return "".join(lines).encode("ascii")


def department_lines(count=42):
    lines = []
    for number in range(1, count + 1):
        name = "Dzial %d" % number
        lines.append("DEP%2d,%18s,%10.2f,%c,%4s,%d\n"
                     % (number, name, number * 1.25, VAT_LETTERS[number % 6], "0000", number % 10))
    return "".join(lines).encode("ascii")


def _descriptor(name, kind, offset, length):
    raw = bytearray(DESCRIPTOR_SIZE)
    raw[0] = kind
    raw[1:15] = name.ljust(14).encode("ascii")
    struct.pack_into("<HH", raw, 17, offset, length)
    return bytes(raw)


def _field_bytes(kind, length, value):
    if kind == CHARACTER_FIELD:
        return str(value).encode("ascii")[:length].ljust(length, b" ")
    if isinstance(value, float):
        return struct.pack("<d", value)[:length].ljust(length, b"\0")
    return struct.pack("<q", value)[:length].ljust(length, b"\0")


def product_table(count):
    """A product table holding `count` goods."""
    offsets = []
    offset = 0
    for _, _, length in GOODS_FIELDS:
        offsets.append(offset)
        offset += length
    record_size = RECORD_LEAD + offset
    data_offset = HEADER_SIZE + DESCRIPTOR_SIZE * len(GOODS_FIELDS)

    header = bytearray(HEADER_SIZE)
    struct.pack_into("<H", header, 0, TABLE_MAGIC)
    struct.pack_into("<I", header, 5, count)
    struct.pack_into("<H", header, 13, len(GOODS_FIELDS))
    struct.pack_into("<H", header, 19, record_size)
    struct.pack_into("<I", header, 21, data_offset)

    out = bytearray(header)
    for (name, kind, length), field_offset in zip(GOODS_FIELDS, offsets):
        out += _descriptor(name, kind, field_offset, length)
    for code, name, price, vat, department in goods(count):
        values = {
            "KOD": str(code), "KODNR": float(code), "NAZWA": name, "NAZWAF": name,
            "CENADET": price, "TYPPODS": vat, "OPCJE": 0, "DZIAL": department, "HALO": 0,
            "TANDEM": 0.0, "JM": "SZT",
        }
        record = bytearray(RECORD_LEAD)
        for name_, kind, length in GOODS_FIELDS:
            record += _field_bytes(kind, length, values[name_])
        out += record
    return bytes(out)
