#!/usr/bin/python3
"""Line metrics and text extents of a TrueType font from its own tables (fontTools), as
the peer of the layout tests.

Usage: text_extent_peer.py <font file> <ppem> <sample>...

Prints "ascent descent height" (usWinAscent/usWinDescent scaled), then one line per
sample with its extent: the sum of the advances, each scaled with MulDiv(advance, ppem,
unitsPerEm) (halves away from zero); U+200B, U+200D and U+2060 have no width.
"""
import sys

from fontTools.ttLib import TTFont


def muldiv(a: int, b: int, c: int) -> int:
    product = abs(a * b)
    result = (2 * product + abs(c)) // (2 * abs(c))
    return -result if (a * b < 0) != (c < 0) else result


def main() -> int:
    font = TTFont(sys.argv[1])
    ppem = int(sys.argv[2])
    upem = font["head"].unitsPerEm
    os2 = font["OS/2"]
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    ascent = muldiv(os2.usWinAscent, ppem, upem)
    descent = muldiv(os2.usWinDescent, ppem, upem)
    print(ascent, descent, ascent + descent)
    for sample in sys.argv[3:]:
        extent = 0
        for ch in sample:
            if ord(ch) in (0x200B, 0x200D, 0x2060):
                continue
            extent += muldiv(hmtx[cmap.get(ord(ch), ".notdef")][0], ppem, upem)
        print(extent)
    return 0


if __name__ == "__main__":
    sys.exit(main())
