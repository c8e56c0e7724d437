#!/usr/bin/env python3
"""Writes seeds of metafiles whose drawing once cost far more than their bytes, for the
metafile_image target and, inside RTF pictures, for the rtf_reader and rtf_import ones.

The shapes are those of the tests' MetafileHostile.h, smaller: gradient fills of many
parts over the whole picture, a polygon under a clip of many strips, blends over a
square metre (what a conversion to a Windows metafile takes as pixels), run-length
bitmaps that claim 8000 x 8000 pixels and code two, and a header alone that states
15000 x 15000 pixels. Each is an enhanced metafile: a header with a 96 pixels-per-inch
reference device and a frame of the picture's size, the records, the end record.

Usage: make_metafile_cost_seeds.py <repository root>
"""
import math
import os
import struct
import sys


def frame_of(px):
    return px * 2540 // 96  # 0.01 mm of a length in pixels at 96 per inch


def record(kind, fields, tail=b""):
    body = b"".join(struct.pack("<I", f & 0xFFFFFFFF) for f in fields) + tail
    return struct.pack("<II", kind, 8 + len(body)) + body


def emf(records, side_px, handles=1):
    body = b"".join(records)
    end = record(14, [0, 16, 20])  # EOF: palette entries, their offset, the size again
    total = 88 + len(body) + len(end)
    header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, 0, 0, 95, 95, 0, 0, frame_of(side_px), frame_of(side_px),
                         0x464D4520, 0x10000, total, len(records) + 2, handles, 0, 0, 0, 0,
                         9600, 9600, 2540, 2540)
    return header + body + end


def gradient(vertices, indexes, mode):
    # GRADIENTFILL: bounds, vertex count, part count, mode, vertices (x, y, 16-bit red,
    # green, blue, alpha), the parts' vertex indexes
    per_part = 3 if mode == 2 else 2
    fields = [0, 0, 0, 0, len(vertices), len(indexes) // per_part, mode]
    for x, y, r, g, b in vertices:
        fields += [x, y, r | g << 16, b]
    return record(118, fields + indexes)


def gradient_ramps(parts, side):
    return emf([gradient([(0, 0, 0xFF00, 0, 0), (side, side, 0, 0, 0xFF00)], [0, 1] * parts, 0)], side)


def gradient_triangles(count, side):
    triangle = [(-side, 0, 0xFF00, 0, 0), (3 * side, 0, 0, 0xFF00, 0), (side // 2, 3 * side, 0, 0, 0xFF00)]
    return emf([gradient(triangle, [0, 1, 2], 2) for _ in range(count)], side)


def clip_strips_under_polygon(strips, points, side):
    records = [record(39, [1, 0, 0x0000FF, 0]), record(37, [1])]  # a red brush, selected
    # EXTSELECTCLIPRGN: data bytes, RGN_COPY, region header, the strips
    fields = [32 + 16 * strips, 5, 32, 1, strips, 16 * strips, 0, 0, side, side]
    for i in range(strips):
        left = i * side // strips
        fields += [left, 0, left + 1, side]
    records.append(record(75, fields))
    # POLYGON: a star round the centre
    fields = [0, 0, side, side, points]
    for i in range(points):
        turn, radius = 2 * math.pi * i / points, side * (0.2 if i % 2 else 0.5)
        fields += [int(side / 2 + radius * math.cos(turn)), int(side / 2 + radius * math.sin(turn))]
    records.append(record(3, fields))
    return emf(records, side, 2)


def blends_over_picture(count, side):
    # a red 1 x 1 bitmap: 40-byte header, one row of 3 bytes padded to 4
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, 0, 0, 0, 0, 0)
    bits = bytes([0, 0, 255, 0])
    one = struct.unpack("<I", struct.pack("<f", 1.0))[0]
    records = []
    for _ in range(count):
        # ALPHABLEND: bounds, destination, blend function (constant alpha 128), source x,
        # y, transform, background, usage, the bitmap, source width and height
        fields = [0, 0, side - 1, side - 1, 0, 0, side, side, 128 << 16, 0, 0, one, 0, 0, one, 0, 0, 0, 0,
                  108, len(info), 108 + len(info), len(bits), 1, 1]
        records.append(record(114, fields, info + bits))
    return emf(records, side)


def claimed_run_length(count, claimed, side):
    # an 8-bit run-length bitmap of claimed x claimed pixels, two colours, one run
    info = struct.pack("<IiiHHIIiiII", 40, claimed, claimed, 1, 8, 1, 8, 0, 0, 2, 0) + struct.pack("<II", 0, 0xFFFFFF)
    bits = bytes([2, 1, 0, 1, 0, 0, 0, 0])
    records = []
    for _ in range(count):
        # STRETCHDIBITS: bounds, destination x, y, source x, y, width, height, the bitmap,
        # usage, operation, destination width, height
        fields = [0, 0, side - 1, side - 1, 0, 0, 0, 0, claimed, claimed, 80, len(info), 80 + len(info), len(bits),
                  0, 0x00CC0020, side, side]
        records.append(record(81, fields, info + bits))
    return emf(records, side)


def rtf_picture(first_byte, metafile):
    return bytes([first_byte]) + b"{\\rtf1{\\pict\\emfblip " + metafile.hex().encode() + b"}}"


def main():
    root = sys.argv[1]
    seeds = {
        "cost-gradient-ramps.emf": gradient_ramps(400, 64),
        "cost-gradient-triangles.emf": gradient_triangles(24, 64),
        "cost-clip-strips.emf": clip_strips_under_polygon(60, 60, 200),
        "cost-blends-square-metre.emf": blends_over_picture(4, 3780),
        "cost-claimed-run-length.emf": claimed_run_length(3, 8000, 64),
        "cost-stated-size.emf": emf([], 15000),
    }
    for name, data in seeds.items():
        with open(os.path.join(root, "tests/data/fuzz/metafile_image", name), "wb") as f:
            f.write(data)
    # RTF: the reader with pictures wired (flag 2), the import with pictures read (0).
    rtf = {"rtf_reader": 0x02, "rtf_import": 0x00}
    for target, first in rtf.items():
        for name in ("cost-gradient-ramps.emf", "cost-blends-square-metre.emf", "cost-stated-size.emf"):
            path = os.path.join(root, "tests/data/fuzz", target, "metafile-" + name[:-4])
            with open(path, "wb") as f:
                f.write(rtf_picture(first, seeds[name]))


if __name__ == "__main__":
    main()
