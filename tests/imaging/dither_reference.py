"""Reference for the colour-reduction tests, written straight from the reduction's rules.

  dither_reference.py IN.raw OUT.bin

IN.raw: width and height as 32-bit little-endian numbers, then RGB triples row by row
from the top. OUT.bin: for reductions 1, 2, 3 and dither modes 0..6 in that order, the
palette index of every pixel, row by row from the top.

The kernel engines keep one error array per image row (no rotating buffers); Floyd-
Steinberg keeps its single row of width + 2 cells and running terms as the rules give.
"""
import struct
import sys

SYSTEM20 = [(0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0), (0, 0, 0x80), (0x80, 0, 0x80),
            (0, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0xC0, 0xDC, 0xC0), (0xA6, 0xCA, 0xF0),
            (0xFF, 0xFB, 0xF0), (0xA0, 0xA0, 0xA4), (0x80, 0x80, 0x80), (0xFF, 0, 0), (0, 0xFF, 0),
            (0xFF, 0xFF, 0), (0, 0, 0xFF), (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]
GRAYS4 = [(v, v, v) for v in (0x00, 0x80, 0xC0, 0xFF)]


def tdiv(a, b):
    """Division truncating toward zero."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def clamp(v):
    return max(0, min(255, v))


class FastLookup:
    def __init__(self, palette):
        self.palette = palette
        self.cache = {}
        for i, c in enumerate(palette):
            self.cache.setdefault(self.slot(c), i)

    @staticmethod
    def slot(c):
        return (c[0] >> 3) | ((c[1] >> 3) << 5) | ((c[2] >> 3) << 10)

    def __call__(self, c):
        s = self.slot(c)
        if s not in self.cache:
            best, index = 0x30000, None
            for i, p in enumerate(self.palette):
                d = sum(abs(p[k] - c[k]) for k in range(3))
                if d < best:
                    best, index = d, i
            self.cache[s] = index
        i = self.cache[s]
        return i, self.palette[i]


def mono_lookup(c):
    if c[0] * 77 + c[1] * 150 + c[2] * 29 <= 32512:
        return 0, (0, 0, 0)
    return 1, (255, 255, 255)


# (divisor, [(row, offset ahead, weight)]) of the kernel engines by dither mode.
KERNELS = {
    2: (42, [(0, 1, 8), (0, 2, 4), (1, -2, 2), (1, -1, 4), (1, 0, 8), (1, 1, 4), (1, 2, 2),
             (2, -2, 1), (2, -1, 2), (2, 0, 4), (2, 1, 2), (2, 2, 1)]),
    3: (32, [(0, 1, 5), (0, 2, 3), (1, -2, 2), (1, -1, 4), (1, 0, 5), (1, 1, 4), (1, 2, 2),
             (2, -1, 2), (2, 0, 3), (2, 1, 2)]),
    4: (48, [(0, 1, 7), (0, 2, 5), (1, -2, 3), (1, -1, 5), (1, 0, 7), (1, 1, 5), (1, 2, 3),
             (2, -2, 1), (2, -1, 3), (2, 0, 5), (2, 1, 3), (2, 2, 1)]),
    5: (200, [(0, 2, 32), (1, -3, 12), (1, -1, 26), (1, 1, 30), (1, 3, 16), (2, -2, 12), (2, 0, 26),
              (2, 2, 12), (3, -3, 5), (3, -1, 12), (3, 1, 12), (3, 3, 5)]),
    6: (32, [(0, 1, 8), (0, 2, 4), (1, -2, 2), (1, -1, 4), (1, 0, 8), (1, 1, 4), (1, 2, 2)]),
}


def serpentine(width, height):
    for y in range(height):
        d = 1 if y % 2 == 0 else -1
        xs = range(width) if d == 1 else range(width - 1, -1, -1)
        yield y, d, xs


def reduce_kernel(img, w, h, lookup, mode):
    divisor, weights = KERNELS[mode]
    m = 3
    err = [[[0] * (w + 2 * m) for _ in range(h + 4)] for _ in range(3)]
    out = [[0] * w for _ in range(h)]
    for y, d, xs in serpentine(w, h):
        for x in xs:
            adj = tuple(clamp(img[y][x][c] + tdiv(err[c][y][x + m] + divisor // 2, divisor)) for c in range(3))
            index, chosen = lookup(adj)
            out[y][x] = index
            for c in range(3):
                e = adj[c] - chosen[c]
                if e:
                    for r, o, wt in weights:
                        err[c][y + r][x + m + o * d] += e * wt
    return out


def reduce_floyd(img, w, h, lookup):
    cells = [[0] * (w + 2) for _ in range(3)]
    cur, below, bprev = [0] * 3, [0] * 3, [0] * 3
    out = [[0] * w for _ in range(h)]
    ptr = 0
    for y, d, xs in serpentine(w, h):
        for x in xs:
            adj = []
            for c in range(3):
                cur[c] = clamp(img[y][x][c] + tdiv(cells[c][ptr] + cur[c] + 8, 16))
                adj.append(cur[c])
            index, chosen = lookup(tuple(adj))
            out[y][x] = index
            for c in range(3):
                e = cur[c] - chosen[c]
                cur[c] = e
                if e:
                    cells[c][ptr] = bprev[c] + 3 * e
                    bprev[c] = below[c] + 5 * e
                    below[c] = e
                    cur[c] = 7 * e
            ptr += d
        for c in range(3):
            cells[c][ptr] = bprev[c]
            cur[c] = below[c] = bprev[c] = 0
        ptr = 0 if d == -1 else w + 1
    return out


def reduce(img, w, h, reduction, mode):
    lookup = {1: lambda: FastLookup(SYSTEM20), 2: lambda: FastLookup(GRAYS4), 3: lambda: mono_lookup}[reduction]()
    if mode == 0:
        out = [[0] * w for _ in range(h)]
        for y, d, xs in serpentine(w, h):
            for x in xs:
                out[y][x] = lookup(img[y][x])[0]
        return out
    if mode == 1:
        return reduce_floyd(img, w, h, lookup)
    return reduce_kernel(img, w, h, lookup, mode)


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    w, h = struct.unpack("<ii", data[:8])
    img = [[tuple(data[8 + 3 * (y * w + x): 11 + 3 * (y * w + x)]) for x in range(w)] for y in range(h)]
    result = bytearray()
    for reduction in (1, 2, 3):
        for mode in range(7):
            for row in reduce(img, w, h, reduction, mode):
                result.extend(row)
    with open(sys.argv[2], "wb") as f:
        f.write(result)


main()
