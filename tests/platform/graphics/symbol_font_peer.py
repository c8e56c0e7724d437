#!/usr/bin/python3
"""A symbol-encoded copy of a TrueType font for the graphics layer's tests, made with
fontTools: the font's glyphs of the printable ASCII characters, reachable only through a
Windows symbol cmap (platform 3, encoding 0) at U+F020 - U+F07E, as symbol fonts number
their codes. The face then has no Unicode characters at all.

Usage: symbol_font_peer.py <font file> <output file>
"""
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable


def main() -> int:
    font = TTFont(sys.argv[1])
    unicode_map = font.getBestCmap()
    symbol = CmapSubtable.newSubtable(4)
    symbol.platformID = 3
    symbol.platEncID = 0
    symbol.language = 0
    symbol.cmap = {0xF000 + code: unicode_map[code] for code in range(0x20, 0x7F) if code in unicode_map}
    font["cmap"].tables = [symbol]
    font.save(sys.argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
