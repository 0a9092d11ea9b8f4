#!/usr/bin/env python3
"""Packs files into a zip whose bytes depend only on their contents: fixed
order, one fixed time, fixed attributes. Text files get Windows line ends
and a UTF-8 byte order mark, so that Notepad shows the Chinese.
Usage: zip-release.py out.zip folder-in-zip unix-time file..."""
import os
import sys
import time
import zipfile


def member(folder, path, date_time):
    info = zipfile.ZipInfo(f"{folder}/{os.path.basename(path)}", date_time)
    info.create_system = 0
    info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as f:
        data = f.read()
    if path.endswith(".txt"):
        text = data.decode("utf-8").lstrip("\ufeff").replace("\r\n", "\n")
        data = ("\ufeff" + text.replace("\n", "\r\n")).encode("utf-8")
    return info, data


def main():
    out, folder, stamp, *paths = sys.argv[1:]
    # Zip times are local fields with two-second steps; UTC keeps them fixed.
    date_time = time.gmtime(max(int(stamp), 315532800))[:6]
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", compresslevel=9) as z:
        for path in paths:
            info, data = member(folder, path, date_time)
            z.writestr(info, data)
    os.replace(tmp, out)


main()
