"""Peer for the JPEG tests: PIL (over libjpeg-turbo) writes the JPEG files the tests
decode, and decodes them itself for the pixels to compare with.

  encode MODE IN.raw OUT.jpg QUALITY SUBSAMPLING PROGRESSIVE
                                   MODE "RGB" (RGB triples), "L" (one gray byte) or
                                   "CMYK" (RGB triples, written as a CMYK image);
                                   SUBSAMPLING 0 (4:4:4), 1 (4:2:2) or 2 (4:2:0);
                                   PROGRESSIVE 0 or 1
  decode IN.jpg OUT.raw            the image as RGB triples; exit 3 when PIL refuses it
Raw files: width and height as 32-bit little-endian numbers, then rows from the top.
"""
import sys

from PIL import Image

from raw_image import read_raw, write_raw_rgb


def main():
    command = sys.argv[1]
    if command == "encode":
        mode, source, target = sys.argv[2], sys.argv[3], sys.argv[4]
        quality, subsampling, progressive = (int(v) for v in sys.argv[5:8])
        width, height, pixels = read_raw(source)
        image = Image.frombytes("RGB" if mode == "CMYK" else mode, (width, height), pixels)
        if mode == "CMYK":
            image = image.convert("CMYK")
        options = {"quality": quality, "progressive": bool(progressive)}
        if mode == "RGB":
            options["subsampling"] = subsampling
        image.save(target, "JPEG", **options)
    elif command == "decode":
        try:
            image = Image.open(sys.argv[2])
            image.load()
        except OSError:
            sys.exit(3)
        write_raw_rgb(sys.argv[3], image)
    else:
        sys.exit(2)


if __name__ == "__main__":
    main()
