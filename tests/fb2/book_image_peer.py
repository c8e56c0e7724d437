"""Peer for the book-image tests: PIL writes the pictures the tests decode, and decodes the
pictures of a book's binaries itself for the pixels to compare with.

  write FORMAT OUT W H       a test pattern as FORMAT "JPEG" or "PNG" (RGB), or "PNG-P"
                             (a palette PNG of 4 colours)
  binary BOOK.fb2 ID OUT.raw the picture of the binary ID (Python's XML parser and base64),
                             as RGB triples
Raw files: width and height as 32-bit little-endian numbers, then rows from the top.
"""
import base64
import io
import os
import sys
import xml.etree.ElementTree as ElementTree

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "graphics"))
from raw_image import write_raw_rgb  # noqa: E402


def pattern(width, height):
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            image.putpixel((x, y), (x * 255 // max(width - 1, 1), y * 255 // max(height - 1, 1), (x * y * 7) % 256))
    return image


def main():
    command = sys.argv[1]
    if command == "write":
        form, target, width, height = sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
        image = pattern(width, height)
        if form == "PNG-P":
            image.quantize(4).save(target, "PNG")
        else:
            image.save(target, form)
    elif command == "binary":
        book, wanted, target = sys.argv[2], sys.argv[3], sys.argv[4]
        for element in ElementTree.parse(book).getroot():
            if element.tag.endswith("binary") and element.get("id") == wanted:
                data = base64.b64decode("".join(element.text.split()))
                write_raw_rgb(target, Image.open(io.BytesIO(data)))
                return
        sys.exit(3)
    else:
        sys.exit(2)


if __name__ == "__main__":
    main()
