"""Checks of the harness's own arithmetic: python3 -m unittest discover -s bench"""

import os
import struct
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # nothing left behind in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import inputs  # noqa: E402
from wire_log import decode_payload, floor_of, read_transcript  # noqa: E402

# One department dump and one department load as the simulator logs them.
TRANSCRIPT = """lorvex-sim: serving COM1 -> /dev/pts/0
        0.100 PC  <ENQ>
        0.101 REG <ACK>
        0.202 PC  <STX>SH0000000000000000001000000000000000001<ETX>001B
        0.249 REG <ACK>
        0.250 PC  <EOT>
        0.251 REG <STX>DH101Pieczywo                   0C000001<ETX>7C84
        0.299 PC  <ACK>
        0.300 REG <EOT>
        0.401 PC  <EOT>
        0.502 PC  <ENQ>
        0.503 REG <ACK>
        0.504 PC  <STX>SH1000000000000000001000000000000000001<ETX>001F
        0.551 REG <ACK>
        0.552 PC  <STX>DH101Pieczywo                   0C000001<ETX>7C84
        0.600 REG <ACK>
        0.601 PC  <EOT>
        0.602 REG <STX>DH100<ETX>02F0
        0.613 PC  <ACK>
        0.614 REG <EOT>
lorvex-sim: stopped
"""


class WireLogTest(unittest.TestCase):
    def test_every_written_form_is_one_byte(self):
        self.assertEqual(decode_payload("<STX>a<<>b<ETB><9F>Ą<NUL>"),
                         b"\x02a<b\x17\x9f\xff\x00")
        with self.assertRaises(ValueError):
            decode_payload("<WHAT>")

    def test_floor_counts_bytes_transactions_and_their_pauses(self):
        with tempfile.NamedTemporaryFile("w", suffix=".log", delete=False,
                                         encoding="utf-8") as handle:
            handle.write(TRANSCRIPT)
        try:
            wire = read_transcript(handle.name)
        finally:
            os.unlink(handle.name)
        floor = floor_of(wire, 9600)
        pc = 1 + 45 + 1 + 1 + 1 + 1 + 45 + 46 + 1 + 1
        reg = 1 + 1 + 46 + 1 + 1 + 1 + 1 + 11 + 1
        self.assertEqual((floor.pc_bytes, floor.reg_bytes), (pc, reg))
        self.assertEqual((floor.dump_transactions, floor.load_transactions), (1, 1))
        # Start and end 600; the dump 300; the load 100 before its enquiry and 100 after the
        # department. The ACK to the dump's enquiry travels during a pause.
        self.assertEqual(floor.pause_ms, 600 + 300 + 200)
        self.assertAlmostEqual(floor.total_ms, 1100 + (pc + reg - 1) * 10000 / 9600)
        self.assertAlmostEqual(floor_of(wire, 19200).line_ms, (pc + reg - 1) * 10000 / 19200)


class ProductTableTest(unittest.TestCase):
    def test_header_descriptors_and_records_where_a_reader_looks(self):
        table = inputs.product_table(3)
        magic, = struct.unpack_from("<H", table, 0)
        count, = struct.unpack_from("<I", table, 5)
        fields, = struct.unpack_from("<H", table, 13)
        size, = struct.unpack_from("<H", table, 19)
        data, = struct.unpack_from("<I", table, 21)
        self.assertEqual((magic, count, fields), (0x3343, 3, len(inputs.GOODS_FIELDS)))
        self.assertEqual(data, 85 + 27 * fields)
        self.assertEqual(len(table), data + 3 * size)

        found = {}
        for i in range(fields):
            raw = table[85 + 27 * i:85 + 27 * (i + 1)]
            name = raw[1:15].decode("ascii").rstrip()
            offset, length = struct.unpack_from("<HH", raw, 17)
            found[name] = (raw[0], offset, length)
        kind, offset, length = found["KODNR"]
        self.assertEqual(length, 8)
        second = data + size
        self.assertEqual(struct.unpack_from("<d", table, second + 5 + offset)[0], 2.0)
        kind, offset, length = found["NAZWAF"]
        self.assertEqual(kind, 3)
        self.assertEqual(table[second + 5 + offset:second + 5 + offset + length].rstrip(),
                         b"Towar 2")

    def test_text_lines_carry_nine_fields_and_fit_the_line_limit(self):
        lines = inputs.goods_lines(1000).decode("ascii").splitlines()
        self.assertEqual(len(lines), 1000)
        for line in lines:
            self.assertTrue(line.startswith("PLU"))
            self.assertEqual(len(line.split(",")), 9)
            self.assertLess(len(line), 199)


if __name__ == "__main__":
    unittest.main()
