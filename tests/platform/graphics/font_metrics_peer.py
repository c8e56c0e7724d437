#!/usr/bin/python3
"""Text metrics of a TrueType font computed from its own tables with fontTools, as a
peer for the graphics layer's tests.

Usage: font_metrics_peer.py <font file> <sample text> <logical height>...

For each logical height prints one line of integers:
  ppem ascent descent height internal_leading external_leading ave_char_width
  underscore_position underscore_size strikeout_position strikeout_size sample_extent
Every value in font units is scaled with MulDiv(value, ppem, unitsPerEm), halves away
from zero; a negative height is the em height, a positive one the cell height
(ppem = MulDiv(height, unitsPerEm, usWinAscent + usWinDescent)).
"""
import sys

from fontTools.ttLib import TTFont


def muldiv(a: int, b: int, c: int) -> int:
    product = abs(a * b)
    result = (2 * product + abs(c)) // (2 * abs(c))
    return -result if (a * b < 0) != (c < 0) else result


def main() -> int:
    font = TTFont(sys.argv[1])
    sample = sys.argv[2]
    upem = font["head"].unitsPerEm
    os2 = font["OS/2"]
    hhea = font["hhea"]
    post = font["post"]
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    zero_width = {0x200B, 0x200C, 0x200D, 0x200E, 0x200F, 0x2060, 0xFEFF}
    for height in map(int, sys.argv[3:]):
        if height < 0:
            ppem = -height
        else:
            ppem = muldiv(height, upem, os2.usWinAscent + os2.usWinDescent)
        ascent = muldiv(os2.usWinAscent, ppem, upem)
        descent = muldiv(os2.usWinDescent, ppem, upem)
        gap = hhea.lineGap - ((os2.usWinAscent + os2.usWinDescent) - (hhea.ascent - hhea.descent))
        extent = 0
        for ch in sample:
            if ord(ch) in zero_width:
                continue
            glyph = cmap.get(ord(ch), ".notdef")
            extent += muldiv(hmtx[glyph][0], ppem, upem)
        values = [
            ppem, ascent, descent, ascent + descent, ascent + descent - ppem,
            muldiv(max(gap, 0), ppem, upem), muldiv(os2.xAvgCharWidth, ppem, upem),
            muldiv(post.underlinePosition, ppem, upem), max(muldiv(post.underlineThickness, ppem, upem), 1),
            muldiv(os2.yStrikeoutPosition, ppem, upem), max(muldiv(os2.yStrikeoutSize, ppem, upem), 1),
            extent,
        ]
        print(" ".join(str(v) for v in values))
    return 0


if __name__ == "__main__":
    sys.exit(main())
