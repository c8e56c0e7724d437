#!/usr/bin/python3
"""Writes the rich-text engine's cursor files (src/richtext/model/resources/*.cur).

  make_cursors.py OUTPUT_DIR

Each cursor is drawn below as text: "X" black, "." white, " " the screen showing
through; the hot spot is marked by its coordinates. The files are cursor files of one
32 x 32 image of one bit per pixel: the 6-byte directory header, one 16-byte entry, a
40-byte bitmap header (height counting both planes), a colour table of black and white,
the XOR plane (1: white), then the AND plane (1: the screen shows through), each plane
bottom-up with rows of 4 bytes.
"""
import struct
import sys

SIDE = 32

# The hyperlink cursor: a hand pointing up, the hot spot at the fingertip.
JUMP = (5, 0, [
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    " XX X..X..X..X.X",
    "X..XX........X.X",
    "X...X..........X",
    " X.............X",
    "  X............X",
    "  X...........X",
    "   X..........X",
    "   X.........X",
    "    X........X",
    "    X........X",
    "    XXXXXXXXXX",
])

# The line-selection cursor: the arrow turned to point up and right, the hot spot at its
# tip.
ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      X..X",
    "      X..X",
    "       XX",
]
FLIPARROW = (10, 0, [row.ljust(11)[::-1].rstrip() for row in ARROW])

# The cursors a table shows over its outer borders: an arrow pointing down (selects the
# column below it) and one pointing right (selects the row), the hot spots at the tips.
DOWN = [
    "   XXX",
    "   X.X",
    "   X.X",
    "   X.X",
    "   X.X",
    "   X.X",
    "XXXX.XXXX",
    " X.....X",
    "  X...X",
    "   X.X",
    "    X",
]
SELECTCOL = (4, 10, DOWN)
SELECTROW = (10, 4, ["".join(DOWN[y][x] if x < len(DOWN[y]) else " " for y in range(len(DOWN))).rstrip()
                     for x in range(9)])


def cursor_file(hot_x, hot_y, rows):
    assert len(rows) <= SIDE and all(len(r) <= SIDE for r in rows)
    assert rows[hot_y][hot_x] != " "
    rows = [r.ljust(SIDE) for r in rows] + [" " * SIDE] * (SIDE - len(rows))
    row_bytes = SIDE // 8

    def plane(bit):
        out = b""
        for row in reversed(rows):  # bottom-up
            value = 0
            for x, c in enumerate(row):
                if bit(c):
                    value |= 1 << (SIDE - 1 - x)
            out += value.to_bytes(row_bytes, "big")
        return out

    xor_plane = plane(lambda c: c == ".")
    and_plane = plane(lambda c: c == " ")
    colors = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = struct.pack("<IiiHHIIiiII", 40, SIDE, 2 * SIDE, 1, 1, 0, len(xor_plane) + len(and_plane), 0, 0, 2, 0)
    image += colors + xor_plane + and_plane
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIDE, SIDE, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1]
    for name, (hot_x, hot_y, rows) in {
        "RP_JUMP_CURSOR": JUMP,
        "RP_FLIPARROW_CURSOR": FLIPARROW,
        "RP_SELECTCOL_CURSOR": SELECTCOL,
        "RP_SELECTROW_CURSOR": SELECTROW,
    }.items():
        with open(f"{out}/{name}.cur", "wb") as f:
            f.write(cursor_file(hot_x, hot_y, rows))


main()
