"""Raw image files of the peer scripts: width and height as 32-bit little-endian numbers,
then the pixel bytes row by row from the top (PilPeer.h reads and writes the same)."""
import struct


def read_raw(path):
    """(width, height, pixel bytes) of a raw file."""
    with open(path, "rb") as f:
        data = f.read()
    width, height = struct.unpack("<ii", data[:8])
    return width, height, data[8:]


def write_raw_rgb(path, image):
    """A PIL image as a raw file of RGB triples."""
    rgb = image.convert("RGB")
    with open(path, "wb") as f:
        f.write(struct.pack("<ii", *rgb.size))
        f.write(rgb.tobytes())
