#!/usr/bin/env python3
"""Writes sample_app.hex: a small image for the default virtual target (ZR32S04RCT6, 256 KiB flash).

Two segments with a gap between them, as a linker leaves them: 4 KiB of code at the flash base
(an initial stack pointer and reset vector, then filler words) and 256 bytes of constants at
0x08002000. Run it from this directory; the output is deterministic.
"""

import struct

FLASH = 0x08000000


def code_segment():
    words = [0x20010000, FLASH + 0x101]          # initial stack pointer, reset handler (Thumb)
    words += [FLASH + 0x1FF] * 14                 # the other exception vectors: a default handler
    state = 0x1234567
    while len(words) < 1024:
        state = (state * 1103515245 + 12345) & 0xFFFFFFFF
        words.append(state)
    return struct.pack("<%dI" % len(words), *words)


def constants_segment():
    return bytes((i * 7 + 3) & 0xFF for i in range(256))


def record(kind, address, data):
    body = bytes([len(data), (address >> 8) & 0xFF, address & 0xFF, kind]) + data
    checksum = (-sum(body)) & 0xFF
    return ":" + body.hex().upper() + "%02X" % checksum + "\n"


def intel_hex(segments):
    lines = []
    upper = None
    for base, data in segments:
        for offset in range(0, len(data), 16):
            address = base + offset
            if address >> 16 != upper:
                upper = address >> 16
                lines.append(record(0x04, 0, struct.pack(">H", upper)))
            lines.append(record(0x00, address & 0xFFFF, data[offset:offset + 16]))
    lines.append(record(0x01, 0, b""))
    return "".join(lines)


if __name__ == "__main__":
    with open("sample_app.hex", "w", newline="\n") as out:
        out.write(intel_hex([(FLASH, code_segment()), (FLASH + 0x2000, constants_segment())]))
