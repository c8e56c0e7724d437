"""Peer for the bitmap-file tests: PIL decodes our BMP files and encodes its own.

  decode IN.bmp OUT.raw            the image as RGB triples
  encode MODE IN.raw OUT.bmp       MODE "RGB" (RGB triples), "RGBA" (RGBA quads),
                                   "1" (bytes 0 or 255), "P" (768 palette bytes, then
                                   one index per pixel)
Raw files: width and height as 32-bit little-endian numbers, then rows from the top.
"""
import sys

from PIL import Image

from raw_image import read_raw, write_raw_rgb


def main():
    command = sys.argv[1]
    if command == "decode":
        image = Image.open(sys.argv[2])
        image.load()
        write_raw_rgb(sys.argv[3], image)
    elif command == "encode":
        mode = sys.argv[2]
        width, height, data = read_raw(sys.argv[3])
        if mode == "1":
            image = Image.frombytes("L", (width, height), data).convert("1", dither=Image.Dither.NONE)
        elif mode == "P":
            image = Image.frombytes("P", (width, height), data[768:])
            image.putpalette(data[:768])
        else:
            image = Image.frombytes(mode, (width, height), data)
        image.save(sys.argv[4], format="BMP")
    else:
        sys.exit("unknown command " + command)


main()
