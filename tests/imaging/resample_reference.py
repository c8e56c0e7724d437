"""Reference for the resampling tests, written straight from the resampler's formulas.

  resample_reference.py IN.raw FILTER SUPPORT WIDTH HEIGHT OUT.raw

IN.raw and OUT.raw: width and height as 32-bit little-endian numbers, then RGB triples
row by row from the top. Every value that the resampler keeps in single precision is
rounded to single precision here after each operation (f32); the kernels compute in
double and round their result.
"""
import math
import struct
import sys


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def sinc(t):
    if t == 0.0:
        return 1.0
    return math.sin(math.pi * t) / (math.pi * t)


def box(x):
    return 1.0 if -0.5 < x <= 0.5 else 0.0


def triangle(x):
    a = abs(x)
    return 1.0 - a if a < 1.0 else 0.0


def hermite(x):
    a = abs(x)
    return (2.0 * a - 3.0) * a * a + 1.0 if a < 1.0 else 0.0


def bell(x):
    a = abs(x)
    if a < 0.5:
        return 0.75 - a * a
    if a < 1.5:
        return 0.5 * (a - 1.5) * (a - 1.5)
    return 0.0


def spline(x):
    a = abs(x)
    if a < 1.0:
        return 0.5 * a * a * a - a * a + 2.0 / 3.0
    if a < 2.0:
        return (2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0
    return 0.0


def lanczos3(x):
    a = abs(x)
    return sinc(a) * sinc(a / 3.0) if a < 3.0 else 0.0


def mitchell(x):
    a = abs(x)
    if a < 1.0:
        return (7.0 * a * a * a - 12.0 * a * a + 16.0 / 3.0) / 6.0
    if a < 2.0:
        return (-(7.0 / 3.0) * a * a * a + 12.0 * a * a - 20.0 * a + 32.0 / 3.0) / 6.0
    return 0.0


FILTERS = {"Box": box, "Triangle": triangle, "Hermite": hermite, "Bell": bell,
           "B-Spline": spline, "Lanczos3": lanczos3, "Mitchell": mitchell}


def mirror(j, size):
    """Reflect j into 0..size-1 (at -0 and at size - 0.5) until it lies inside."""
    while j < 0 or j >= size:
        j = -j if j < 0 else 2 * size - 1 - j
    return j


def contributors(dst, src, kernel, support):
    def k(x):
        return f32(kernel(f32(x)))
    if src == 1 or dst == 1:
        scale = f32(dst / src)
    else:
        scale = f32((dst - 1) / (src - 1))
    lists = []
    for i in range(dst):
        center = f32((src - 1) / 2) if dst == 1 else f32(i / scale)
        pairs = []
        if scale >= 1.0:
            for j in range(math.floor(f32(center - support)), math.ceil(f32(center + support)) + 1):
                w = k(f32(center - j))
                if w != 0.0:
                    pairs.append((mirror(j, src), w))
        else:
            radius = f32(support / scale)
            widen = f32(1.0 / scale)
            for j in range(math.floor(f32(center - radius)), math.ceil(f32(center + radius)) + 1):
                w = f32(k(f32(f32(center - j) / widen)) / widen)
                if w != 0.0:
                    pairs.append((mirror(j, src), w))
        lists.append(pairs)
    return lists


def clamp_round(s):
    if s > 255.0:
        return 255
    if s < 0.0:
        return 0
    return round(s)  # ties to even


def weigh(pairs, pixel):
    sums = [0.0, 0.0, 0.0]
    for index, w in pairs:
        p = pixel(index)
        for c in range(3):
            sums[c] = f32(sums[c] + f32(w * p[c]))
    return [clamp_round(s) for s in sums]


def main():
    path, name, support, dw, dh, out = sys.argv[1:7]
    kernel, support, dw, dh = FILTERS[name], f32(float(support)), int(dw), int(dh)
    with open(path, "rb") as f:
        data = f.read()
    sw, sh = struct.unpack("<ii", data[:8])
    src = [[data[8 + 3 * (y * sw + x): 8 + 3 * (y * sw + x) + 3] for x in range(sw)] for y in range(sh)]
    cols = contributors(dw, sw, kernel, support)
    work = [[weigh(cols[i], lambda x, row=row: row[x]) for i in range(dw)] for row in src]
    rows = contributors(dh, sh, kernel, support)
    result = [[weigh(rows[i], lambda y, k=k: work[y][k]) for k in range(dw)] for i in range(dh)]
    with open(out, "wb") as f:
        f.write(struct.pack("<ii", dw, dh))
        f.write(bytes(v for row in result for px in row for v in px))


main()
