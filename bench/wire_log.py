"""The simulator's readable wire transcript, read back into bytes, and the floor of a job.

A transcript line is "<seconds>.<ms> PC  <bytes>" or "... REG <bytes>": control bytes are
written as <NAME>, a '<' as <<>, other unprintable bytes as <XX> in hexadecimal, the Polish
letters of code page 852 in UTF-8 (each one byte on the wire) and everything else as itself.
"""

import re
from dataclasses import dataclass, field

CONTROL_NAMES = [
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "HT", "LF",
    "VT", "FF", "CR", "SO", "SI", "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM", "SUB", "ESC", "FS", "GS", "RS", "US",
]
CONTROL_BYTES = {name: value for value, name in enumerate(CONTROL_NAMES)}
STX, ETX, EOT, ENQ, ETB = 0x02, 0x03, 0x04, 0x05, 0x17

LINE = re.compile(r"^\s*(\d+)\.(\d{3}) (PC |REG) (.*)$")

# The pauses the protocol and the jobs prescribe, in milliseconds.
PAUSE_AFTER_MODEM_LINES = 100
PAUSE_BEFORE_EXIT = 500
PAUSE_BEFORE_ENQUIRY = 100
PAUSE_AWAITING_ACK = 100       # dumps only: before the read that finds the ACK
PAUSE_BEFORE_FINAL_EOT = 100   # dumps only
PAUSE_AFTER_DEPARTMENT = 100   # each department loaded
PAUSE_AFTER_PLU = 10           # each PLU record stored
PAUSE_AFTER_PLU_ERASE = 1000   # each PLU record erased
PAUSE_AFTER_PLU_RANGE = 5000   # each range of the PLU dump


def decode_payload(text):
    """The wire bytes of one transcript line's payload."""
    out = bytearray()
    i = 0
    while i < len(text):
        if text.startswith("<<>", i):
            out.append(ord("<"))
            i += 3
            continue
        if text[i] == "<":
            end = text.find(">", i)
            if end < 0:
                raise ValueError("unterminated <...> in transcript: " + text)
            token = text[i + 1:end]
            if token in CONTROL_BYTES:
                out.append(CONTROL_BYTES[token])
            elif re.fullmatch(r"[0-9A-F]{2}", token):
                out.append(int(token, 16))
            else:
                raise ValueError("unknown byte <%s> in transcript" % token)
            i = end + 1
            continue
        char = text[i]
        code = ord(char)
        # Printable ASCII stands for itself; anything else is a Polish letter, one byte.
        out.append(code if code < 0x80 else 0xFF)
        i += 1
    return bytes(out)


@dataclass
class Wire:
    """Both directions of one run, in the order they happened."""
    runs: list = field(default_factory=list)  # (side, bytes), side "PC" or "REG"

    def bytes_from(self, side):
        return sum(len(data) for s, data in self.runs if s == side)


def read_transcript(path):
    wire = Wire()
    with open(path, encoding="utf-8", errors="replace") as handle:
        for line in handle:
            match = LINE.match(line.rstrip("\n"))
            if match:
                wire.runs.append((match.group(3).strip(), decode_payload(match.group(4))))
    return wire


def pc_frames(wire):
    """The texts of the frames the PC sent, and the enquiries between them, in order:
    a list of "ENQ" markers and frame texts (bytes)."""
    events = []
    text = None
    for side, data in wire.runs:
        if side != "PC":
            continue
        for byte in data:
            if text is not None:
                if byte in (ETX, ETB):
                    events.append(bytes(text))
                    text = None
                else:
                    text.append(byte)
            elif byte == STX:
                text = bytearray()
            elif byte == ENQ:
                events.append("ENQ")
    return events


@dataclass
class Floor:
    """What a job cannot take less than: its bytes on the line and its mandated pauses."""
    pc_bytes: int
    reg_bytes: int
    hidden_bytes: int      # bytes that travel during a pause and so cost nothing extra
    dump_transactions: int
    load_transactions: int
    pause_ms: float
    byte_ms: float

    @property
    def line_ms(self):
        return (self.pc_bytes + self.reg_bytes - self.hidden_bytes) * self.byte_ms

    @property
    def total_ms(self):
        return self.line_ms + self.pause_ms


def floor_of(wire, baud, extra_pause_ms=0):
    """The floor of one run from its transcript.

    Every transaction opens with the PC's enquiry after 100 ms. A dump transaction also
    sleeps 100 ms before reading the ACK (which arrives during that sleep, so its byte time is
    hidden) and 100 ms before its closing EOT. Loaded departments and PLU records, and PLU dump
    ranges, add their own pauses; `extra_pause_ms` carries pauses only the job knows of (the
    groups of the all-settings dump).
    """
    byte_ms = 10 * 1000.0 / baud
    events = pc_frames(wire)
    dumps = loads = 0
    pause = PAUSE_AFTER_MODEM_LINES + PAUSE_BEFORE_EXIT + extra_pause_ms
    expecting_request = False
    for event in events:
        if event == "ENQ":
            pause += PAUSE_BEFORE_ENQUIRY
            expecting_request = True
            continue
        if expecting_request:
            expecting_request = False
            mode = event[2:3]
            if mode == b"1":
                loads += 1
            else:
                dumps += 1
                pause += PAUSE_AWAITING_ACK + PAUSE_BEFORE_FINAL_EOT
                if event[:2] == b"SI":
                    pause += PAUSE_AFTER_PLU_RANGE
            continue
        if event[:2] == b"DH":
            pause += PAUSE_AFTER_DEPARTMENT
        elif event[:2] == b"DI":
            pause += PAUSE_AFTER_PLU_ERASE if event[2:3] == b"0" else PAUSE_AFTER_PLU
    return Floor(
        pc_bytes=wire.bytes_from("PC"),
        reg_bytes=wire.bytes_from("REG"),
        hidden_bytes=dumps,
        dump_transactions=dumps,
        load_transactions=loads,
        pause_ms=pause,
        byte_ms=byte_ms,
    )
