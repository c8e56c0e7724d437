"""Icon files made by icotool (icoutils) from PNG images drawn here, and icotool's own
decode of every entry, for the icon tests.

Usage: icon_peer.py WORKDIR

Writes WORKDIR/icons.ico with entries of 16 (1 and 4 bits per pixel), 32 (8 bits),
48 (24 bits), 64 (32 bits with alpha) and 256 pixels (stored as PNG), in that order, and
for entry N (from 1) WORKDIR/entryN.raw: icotool's extraction of it as raw RGBA (PilPeer.h
layout; the AND mask and the alpha channel both as alpha).
"""
import glob
import os
import struct
import subprocess
import sys

from PIL import Image


def drawn(size, kind):
    image = Image.new("RGBA", (size, size))
    for y in range(size):
        for x in range(size):
            if kind == 1:  # two colours, the right edge transparent
                c = ((255, 255, 255, 255) if (x + y) % 3 else (0, 0, 0, 255)) if x < size - 2 else (0, 0, 0, 0)
            elif kind == 4:  # three colours and transparent blocks
                c = [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), (0, 0, 0, 0)][(x // 3 + y // 3) % 4]
            elif kind == 8:  # 64 colours, some pixels transparent
                c = ((x % 8) * 32, (y % 8) * 32, 128, 255) if (x + y) % 7 else (0, 0, 0, 0)
            elif kind == 24:  # many colours, the first two columns transparent
                c = (x * 255 // size, y * 255 // size, (x * y) % 256, 255 if x > 1 else 0)
            else:  # every alpha level
                c = (x * 255 // size, y * 255 // size, 100, (x * y * 7) % 256)
            image.putpixel((x, y), c)
    return image


def main():
    workdir = os.path.abspath(sys.argv[1])
    os.makedirs(workdir, exist_ok=True)
    names = []
    for size, kind in ((16, 1), (16, 4), (32, 8), (48, 24), (64, 32)):
        name = os.path.join(workdir, "d%d_%d.png" % (size, kind))
        drawn(size, kind).save(name)
        names.append(name)
    raw = os.path.join(workdir, "p256.png")
    drawn(256, 32).save(raw)
    icon = os.path.join(workdir, "icons.ico")
    subprocess.run(["icotool", "-c", "-o", icon] + names + ["--raw=" + raw], check=True)
    for index in range(1, 7):
        outdir = os.path.join(workdir, "x%d" % index)
        os.makedirs(outdir, exist_ok=True)
        subprocess.run(["icotool", "-x", "-i", str(index), "-o", outdir, icon], check=True)
        extracted = Image.open(glob.glob(os.path.join(outdir, "*.png"))[0]).convert("RGBA")
        with open(os.path.join(workdir, "entry%d.raw" % index), "wb") as f:
            f.write(struct.pack("<ii", *extracted.size))
            f.write(extracted.tobytes())


if __name__ == "__main__":
    main()
