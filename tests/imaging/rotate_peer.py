"""Peer for the rotation tests: PIL turns an RGB image by 90 degrees both ways.

  rotate_peer.py IN.raw CLOCKWISE.raw COUNTERCLOCKWISE.raw

Raw files: width and height as 32-bit little-endian numbers, then RGB triples row by row
from the top.
"""
import struct
import sys

from PIL import Image


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    w, h = struct.unpack("<ii", data[:8])
    image = Image.frombytes("RGB", (w, h), data[8:])
    for turned, path in ((image.transpose(Image.Transpose.ROTATE_270), sys.argv[2]),
                         (image.transpose(Image.Transpose.ROTATE_90), sys.argv[3])):
        with open(path, "wb") as f:
            f.write(struct.pack("<ii", *turned.size))
            f.write(turned.tobytes())


main()
