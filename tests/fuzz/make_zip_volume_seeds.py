#!/usr/bin/env python3
"""Writes the multi-volume seeds of the zip_archive fuzz target.

A small zip made by Python's zipfile is cut into volumes the way a split set is laid
out: the first volume starts with the span marker PK\\x07\\x08, every local header
offset and the directory's start are counted within their volume, with its disk
number, and the end record names the last volume. The volumes are joined with the
target's separator "QFVOLUME".

Usage: make_zip_volume_seeds.py <seed folder>
"""
import io
import struct
import sys
import zipfile

SEPARATOR = b"QFVOLUME"


def make_zip(method, entries):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", compression=method) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 2, 3, 4, 6))
            info.compress_type = method
            z.writestr(info, data)
    return out.getvalue()


def split(zip_bytes, cuts):
    whole = bytearray(b"PK\x07\x08" + zip_bytes)
    starts = [0] + cuts
    def place(offset):  # (disk, offset within it) of a position of `whole`
        disk = max(i for i, s in enumerate(starts) if s <= offset)
        return disk, offset - starts[disk]
    end = len(whole) - 22
    assert whole[end:end + 4] == b"PK\x05\x06"
    count, size, directory = struct.unpack_from("<HII", whole, end + 10)
    at = directory + 4
    for _ in range(count):
        assert whole[at:at + 4] == b"PK\x01\x02"
        local = struct.unpack_from("<I", whole, at + 42)[0] + 4
        disk, offset = place(local)
        struct.pack_into("<H", whole, at + 34, disk)
        struct.pack_into("<I", whole, at + 42, offset)
        names, extra, comment = struct.unpack_from("<HHH", whole, at + 28)
        at += 46 + names + extra + comment
    last = len(starts) - 1
    directory_disk, directory_offset = place(directory + 4)
    struct.pack_into("<HHHHII", whole, end + 4, last, directory_disk, count, count, size, directory_offset)
    bounds = starts + [len(whole)]
    return [bytes(whole[bounds[i]:bounds[i + 1]]) for i in range(len(starts))]


def main(folder):
    text = b"The river was cold and Anna said that night he knew. " * 40
    entries = [("a.txt", text), ("b/c.bin", bytes(range(256)) * 3), ("empty", b"")]
    seeds = {
        "volumes_stored.bin": (zipfile.ZIP_STORED, [300, 900]),
        "volumes_deflated.bin": (zipfile.ZIP_DEFLATED, [150, 400]),
        "volumes_directory_split.bin": (zipfile.ZIP_STORED, [1000, 3050]),
    }
    for name, (method, cuts) in seeds.items():
        volumes = split(make_zip(method, entries), cuts)
        with open(f"{folder}/{name}", "wb") as f:
            f.write(SEPARATOR.join(volumes))


if __name__ == "__main__":
    main(sys.argv[1])
