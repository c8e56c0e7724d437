"""Pictures for the RTF reader's tests, made and decoded by PIL.

  rtf_picture_peer.py make PNG JPEG   writes a 23x17 RGB gradient as PNG and a 32x24 photo-like
                                      image as JPEG (quality 90)
  rtf_picture_peer.py pixels IMAGE RAW
                                      decodes IMAGE (any format PIL reads) to RGB and writes RAW:
                                      width and height as 32-bit little-endian, then RGB rows from
                                      the top
"""
import struct
import sys

from PIL import Image


def gradient(width, height):
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            image.putpixel((x, y), ((x * 255) // (width - 1), (y * 255) // (height - 1), (x * y) % 256))
    return image


def main():
    command = sys.argv[1]
    if command == "make":
        gradient(23, 17).save(sys.argv[2], "PNG")
        gradient(32, 24).save(sys.argv[3], "JPEG", quality=90)
    elif command == "pixels":
        image = Image.open(sys.argv[2]).convert("RGB")
        with open(sys.argv[3], "wb") as out:
            out.write(struct.pack("<ii", image.width, image.height))
            out.write(image.tobytes())
    else:
        raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    main()
