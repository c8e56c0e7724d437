#!/usr/bin/env python3
"""Writes a zip of one entry compressed with a legacy method, for the archive tests.

usage: legacy_zip.py METHOD VARIANT INPUT OUTPUT [PASSWORD]
  METHOD 1 shrink; 2..5 reduce (factor METHOD-1); 6 implode
  VARIANT reduce: plain | followers; implode: 4k2 | 4k3 | 8k2 | 8k3 (dictionary, trees)
  PASSWORD encrypts the entry with the traditional zip encryption
Independent of the decoder under test; Debian's unzip checks every file it writes.
"""
import struct
import sys
import zlib
from collections import Counter, defaultdict


class Bits:
    def __init__(self):
        self.out, self.acc, self.n = bytearray(), 0, 0

    def put(self, value, count):  # least significant bit first
        for i in range(count):
            self.acc |= ((value >> i) & 1) << self.n
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                self.acc, self.n = 0, 0

    def code(self, value, count):  # most significant bit first
        for i in range(count - 1, -1, -1):
            self.put((value >> i) & 1, 1)

    def data(self):
        return bytes(self.out) + (bytes([self.acc]) if self.n else b"")


def matches(data, window, min_len, max_len):
    """Greedy (length, distance) matches, or (None, byte) for literals, in data order."""
    heads, i, result = defaultdict(list), 0, []
    while i < len(data):
        best, best_dist = 0, 0
        key = data[i:i + 3]
        for j in reversed(heads[key][-24:]):
            if i - j > window:
                break
            k = 0
            while k < max_len and i + k < len(data) and data[j + k] == data[i + k]:
                k += 1
            if k > best:
                best, best_dist = k, i - j
        step = best if best >= min_len else 1
        result.append((best, best_dist) if best >= min_len else (None, data[i]))
        for p in range(i, i + step):
            heads[data[p:p + 3]].append(p)
        i += step
    return result


def shrink(data):
    bits, table, next_code, size, w = Bits(), {bytes([i]): i for i in range(256)}, 257, 9, b""

    def emit(code):
        nonlocal size
        while code >= (1 << size):
            bits.put(256, size)
            bits.put(1, size)
            size += 1
        bits.put(code, size)

    for b in data:
        wc = w + bytes([b])
        if wc in table:
            w = wc
            continue
        emit(table[w])
        if next_code < 8192:
            table[wc] = next_code
            next_code += 1
        w = bytes([b])
    if w:
        emit(table[w])
    return bits.data()


def reduce(data, factor, with_followers):
    mask = 0xFF >> factor
    symbols = []
    position = 0
    for length, value in matches(data, 256 << factor, 3, mask + 255 + 3):
        extra, dist = (length or 1) - 3, (value - 1 if length else 0)
        v = (dist >> 8) << (8 - factor)
        if length is None or (v | extra) == 0:  # a 0 after 144 means the byte 144 itself
            for b in data[position:position + (length or 1)]:
                symbols += [144, 0] if b == 144 else [b]
        elif extra < mask:
            symbols += [144, v | extra, dist & 255]
        else:
            symbols += [144, v | mask, extra - mask, dist & 255]
        position += length or 1
    followers = [[] for _ in range(256)]
    if with_followers:
        pairs = defaultdict(Counter)
        last = 0
        for s in symbols:
            pairs[last][s] += 1
            last = s
        for value in range(256):
            followers[value] = [s for s, _ in pairs[value].most_common(5)]
    bits = Bits()
    for value in range(255, -1, -1):
        bits.put(len(followers[value]), 6)
        for s in followers[value]:
            bits.put(s, 8)
    last = 0
    for s in symbols:
        f = followers[last]
        if not f:
            bits.put(s, 8)
        elif s in f:
            width = 1
            while (1 << width) < len(f):
                width += 1
            bits.put(0, 1)
            bits.put(f.index(s), width)
        else:
            bits.put(1, 1)
            bits.put(s, 8)
        last = s
    return bits.data()


def implode(data, dict8k, three_trees):
    low_bits, min_len = (7 if dict8k else 6), (3 if three_trees else 2)
    bits = Bits()
    # Uniform trees: every literal 8 bits, every length and distance code 6 bits.
    if three_trees:
        bits.put(15, 8)
        for _ in range(16):
            bits.put(0xF7, 8)
    for _ in range(2):
        bits.put(3, 8)
        for _ in range(4):
            bits.put(0xF5, 8)
    for length, value in matches(data, 64 << low_bits, min_len, min_len + 63 + 255):
        if length is None:
            bits.put(1, 1)
            if three_trees:
                bits.code(255 - value, 8)
            else:
                bits.put(value, 8)
            continue
        dist = value - 1
        bits.put(0, 1)
        bits.put(dist & ((1 << low_bits) - 1), low_bits)
        bits.code(63 - (dist >> low_bits), 6)
        index = length - min_len
        bits.code(63 - min(index, 63), 6)
        if index >= 63:
            bits.put(index - 63, 8)
    flags = (2 if dict8k else 0) | (4 if three_trees else 0)
    return bits.data(), flags


def encrypt(packed, password, crc):
    """The traditional encryption: a 12-byte header ending in the CRC's top byte, then the data."""
    keys = [0x12345678, 0x23456789, 0x34567890]

    def update(byte):
        keys[0] = zlib.crc32(bytes([byte]), keys[0] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF
        keys[1] = ((keys[1] + (keys[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        keys[2] = zlib.crc32(bytes([keys[1] >> 24]), keys[2] ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    for c in password.encode():
        update(c)
    out = bytearray()
    for plain in bytes(range(7, 17)) + bytes([(crc >> 16) & 0xFF, crc >> 24]) + packed:
        t = (keys[2] & 0xFFFF) | 2
        out.append(plain ^ (((t * (t ^ 1)) >> 8) & 0xFF))
        update(plain)
    return bytes(out)


def write_zip(path, name, method, flags, data, packed):
    crc, name = zlib.crc32(data), name.encode()
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 10, flags, method, 0, 0x21, crc, len(packed), len(data),
                        len(name), 0) + name
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 10, 10, flags, method, 0, 0x21, crc, len(packed),
                          len(data), len(name), 0, 0, 0, 0, 0, 0) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central), len(local) + len(packed), 0)
    with open(path, "wb") as f:
        f.write(local + packed + central + end)


def main():
    method, variant, source, target = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    data, flags = open(source, "rb").read(), 0
    if method == 1:
        packed = shrink(data)
    elif 2 <= method <= 5:
        packed = reduce(data, method - 1, variant == "followers")
    else:
        packed, flags = implode(data, variant.startswith("8k"), variant.endswith("3"))
    if len(sys.argv) > 5:
        packed, flags = encrypt(packed, sys.argv[5], zlib.crc32(data)), flags | 1
    write_zip(target, "entry.bin", method, flags, data, packed)


main()
