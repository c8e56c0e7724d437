"""Reference for the gray-conversion tests: 0.2989 R + 0.587 G + 0.114 B evaluated as an
x87 extended-precision (64-bit significand) machine does, in exact rational arithmetic.

  gray_reference.py IN.raw OUT.raw

Each constant and each product and sum is rounded to 64 significant bits (to nearest,
ties to even), left to right; the result is rounded to an integer (ties to even) and
limited to 255. IN.raw: width and height as 32-bit little-endian numbers, then RGB
triples; OUT.raw: the same header, then one gray byte per pixel.
"""
import struct
import sys
from fractions import Fraction


def extended(x):
    if x == 0:
        return x
    sign, x = (-1, -x) if x < 0 else (1, x)
    exponent = x.numerator.bit_length() - x.denominator.bit_length()
    if Fraction(2) ** exponent > x:
        exponent -= 1
    scale = Fraction(2) ** (63 - exponent)
    return sign * Fraction(round(x * scale)) / scale


WEIGHTS = [extended(Fraction(text)) for text in ("0.2989", "0.587", "0.114")]


def gray(r, g, b):
    red, green, blue = (extended(w * v) for w, v in zip(WEIGHTS, (r, g, b)))
    v = extended(extended(red + green) + blue)
    return min(255, round(v))


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    w, h = struct.unpack("<ii", data[:8])
    out = bytearray(struct.pack("<ii", w, h))
    for i in range(w * h):
        out.append(gray(*data[8 + 3 * i: 11 + 3 * i]))
    with open(sys.argv[2], "wb") as f:
        f.write(out)


main()
