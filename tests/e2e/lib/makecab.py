#!/usr/bin/env python3
"""Writes small stored (uncompressed) cabinets with any names, for tests that need cabinets
the packer would never write: names that climb out of their folder, damaged headers, and so on.

  makecab.py OUT.cab NAME=SOURCE [NAME=SOURCE ...]
"""
import struct
import sys


def cabinet(entries):
    """entries: list of (name, data bytes). One stored folder, data in one or more blocks."""
    data = b"".join(content for _, content in entries)
    blocks = [data[i:i + 32768] for i in range(0, len(data), 32768)] or [b""]
    files = b""
    offset = 0
    for name, content in entries:
        # 2024-05-17 13:45:30, archive attribute
        date = ((2024 - 1980) << 9) | (5 << 5) | 17
        time = (13 << 11) | (45 << 5) | 15
        files += struct.pack("<IIHHHH", len(content), offset, 0, date, time, 0x20)
        files += name.encode("latin-1") + b"\0"
        offset += len(content)
    header_size = 36
    folder_size = 8
    files_offset = header_size + folder_size
    data_offset = files_offset + len(files)
    block_bytes = b"".join(struct.pack("<IHH", 0, len(b), len(b)) + b for b in blocks)
    total = data_offset + len(block_bytes)
    header = struct.pack("<4sIIIIIBBHHHHH", b"MSCF", 0, total, 0, files_offset, 0, 3, 1,
                         1, len(entries), 0, 0x1234, 0)
    folder = struct.pack("<IHH", data_offset, len(blocks), 0)
    return header + folder + files + block_bytes


def main():
    out = sys.argv[1]
    entries = []
    for argument in sys.argv[2:]:
        name, source = argument.split("=", 1)
        with open(source, "rb") as handle:
            entries.append((name, handle.read()))
    with open(out, "wb") as handle:
        handle.write(cabinet(entries))


if __name__ == "__main__":
    main()
