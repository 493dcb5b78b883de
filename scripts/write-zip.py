#!/usr/bin/env python3
"""Writes a zip whose bytes depend on the files' contents and names alone.

    write-zip.py ARCHIVE FILE...

Entries keep the order given and the files' base names. Every entry has the
same time (2026-01-01 00:00), the same permissions (rw-r--r--) and no extra
fields; names outside ASCII are stored as UTF-8 and marked so (bit 11 of the
flags), which zipfile does by itself.
"""
import os
import sys
import zipfile

TIME = (2026, 1, 1, 0, 0, 0)
UNIX = 3
REGULAR_FILE_RW_R_R = 0o100644


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: write-zip.py ARCHIVE FILE...")
    archive, files = sys.argv[1], sys.argv[2:]
    with zipfile.ZipFile(archive, "w") as zip_file:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), date_time=TIME)
            entry.create_system = UNIX
            entry.external_attr = REGULAR_FILE_RW_R_R << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                zip_file.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main()
