#!/usr/bin/env python3
"""Writes an OTP project file (.zrtp) for Korvex_Console -otp, without the project editor.

Usage: make_otp_project.py OUTPUT.zrtp RECORD [RECORD ...]

Each RECORD is OFFSET[:DATA][:lock], one OTP block, in lock order (the first record's lock byte
is the first of the lock area, and so on):
  OFFSET  where the block's 32 bytes go in the OTP data area, hexadecimal (0x optional)
  DATA    up to 32 bytes as hexadecimal digits, padded with FF; without DATA the block's data
          is left as it is
  lock    lock the block after all data is written
Examples:
  make_otp_project.py ./keys.zrtp 0:00112233:lock 20:DEADBEEF
  make_otp_project.py ./lock-only.zrtp 40::lock

A file is a sequence of 38-byte records: the offset (4 bytes, most significant first), the 32
data bytes, the lock flag and the write flag (0 means lock, 0 means write; 1 leaves it).
"""

import struct
import sys

BLOCK = 32


def record(text):
    fields = text.split(":")
    if len(fields) > 3 or (len(fields) == 3 and fields[2] != "lock"):
        raise ValueError("expected OFFSET[:DATA][:lock], got %r" % text)
    offset = int(fields[0], 16)
    data = bytes.fromhex(fields[1]) if len(fields) > 1 and fields[1] else None
    if data is not None and len(data) > BLOCK:
        raise ValueError("more than %d data bytes in %r" % (BLOCK, text))
    lock = len(fields) == 3
    if not 0 <= offset <= 0xFFFFFFFF:
        raise ValueError("offset out of range in %r" % text)
    padded = (data or b"").ljust(BLOCK, b"\xff")
    return struct.pack(">I", offset) + padded + bytes([0 if lock else 1, 0 if data is not None else 1])


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        content = b"".join(record(text) for text in argv[2:])
    except ValueError as error:
        sys.stderr.write("make_otp_project.py: %s\n" % error)
        return 2
    with open(argv[1], "wb") as out:
        out.write(content)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
