#!/usr/bin/env python3
"""Gives a fuzz input right CRCs, so that CTest replays it as the fuzzer ran it.

The fuzz build may run a target with its CRC checks off (FuzzSkipChecksums.h); an input
it finds then carries CRCs that the replay, with every check on, would refuse before the
parser. This rewrites, in place and wherever they stand in the file:
  - the CRC of every chunk after a PNG signature (raw, or base64 inside an FB2
    <binary> element), up to IEND or the end of the data;
  - the CRC-32 of every stored or deflated zip entry, in its local header and in the
    central directory records of the same name.

Usage: fix_checksums.py <input file>...
"""
import base64
import re
import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def fix_png(data, start):
    at = start + len(PNG_SIGNATURE)
    while at + 12 <= len(data):
        (length,) = struct.unpack_from(">I", data, at)
        end = at + 8 + length
        if end + 4 > len(data):
            break
        crc = zlib.crc32(bytes(data[at + 4:end]))
        data[end:end + 4] = struct.pack(">I", crc)
        if data[at + 4:at + 8] == b"IEND":
            break
        at = end + 4


def fix_pngs(data):
    at = data.find(PNG_SIGNATURE)
    while at >= 0:
        fix_png(data, at)
        at = data.find(PNG_SIGNATURE, at + 1)


def fix_binaries(data):
    text = bytes(data)
    for match in reversed(list(re.finditer(rb"(<binary[^>]*>)([A-Za-z0-9+/=\s]*)(</binary>)", text))):
        try:
            raw = bytearray(base64.b64decode(re.sub(rb"\s", b"", match.group(2))))
        except ValueError:
            continue
        if not raw.startswith(PNG_SIGNATURE):
            continue
        fix_pngs(raw)
        data[match.start(2):match.end(2)] = base64.b64encode(bytes(raw))


def fix_zip_entries(data):
    crcs = {}
    at = data.find(b"PK\x03\x04")
    while at >= 0 and at + 30 <= len(data):
        method, = struct.unpack_from("<H", data, at + 8)
        size, = struct.unpack_from("<I", data, at + 18)
        name_len, extra_len = struct.unpack_from("<HH", data, at + 26)
        name = bytes(data[at + 30:at + 30 + name_len])
        start = at + 30 + name_len + extra_len
        stored = bytes(data[start:start + size])
        try:
            plain = stored if method == 0 else zlib.decompressobj(-15).decompress(stored) if method == 8 else None
        except zlib.error:
            plain = None
        if plain is not None:
            crc = zlib.crc32(plain)
            data[at + 14:at + 18] = struct.pack("<I", crc)
            crcs[name] = crc
        at = data.find(b"PK\x03\x04", at + 4)
    at = data.find(b"PK\x01\x02")
    while at >= 0 and at + 46 <= len(data):
        name_len, = struct.unpack_from("<H", data, at + 28)
        name = bytes(data[at + 46:at + 46 + name_len])
        if name in crcs:
            data[at + 16:at + 20] = struct.pack("<I", crcs[name])
        at = data.find(b"PK\x01\x02", at + 4)


def main():
    for path in sys.argv[1:]:
        with open(path, "rb") as f:
            data = bytearray(f.read())
        fix_pngs(data)
        fix_binaries(data)
        fix_zip_entries(data)
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
