#!/usr/bin/env python3
"""Makes the LZSS golden files of tests/data/wolf/ with a plain reference encoder.

The encoder below follows the device format's encoder step by step (ring start 4078,
one tree per first byte, longest match with the first-met node winning ties, full
matches replacing the older node, splaying after 30 probes or more, the final group
always written), byte by byte and without shortcuts, so that the C++ compressor's
optimised search can be checked against it.

Inputs (deterministic, see make_inputs): lzss_page.in is a 2-bit page of text-like
rows with long white runs; lzss_mixed.in mixes noise, short repeats and runs;
lzss_chains.in holds rising and falling runs of keys that make deep trees and
splays. Each X.in gets X.out. Run: /usr/bin/python3 make_lzss_golden.py
"""
import pathlib
import random

N, F, THRESHOLD, NIL = 4096, 18, 2, 4096


class Encoder:
    def __init__(self):
        self.ring = bytearray(N + F - 1)
        self.left = [NIL] * (N + 1)
        self.right = [NIL] * (N + 257)
        self.parent = [NIL] * (N + 1)
        self.match_pos = 0
        self.match_len = 0

    def insert(self, r):
        ring, left, right, parent = self.ring, self.left, self.right, self.parent
        cmp = 1
        p = N + 1 + ring[r]
        left[r] = right[r] = NIL
        self.match_len = 0
        probes = 0
        while True:
            probes += 1
            if cmp >= 0:
                if right[p] != NIL:
                    p = right[p]
                else:
                    right[p] = r
                    parent[r] = p
                    break
            else:
                if left[p] != NIL:
                    p = left[p]
                else:
                    left[p] = r
                    parent[r] = p
                    break
            i = 1
            while i < F:
                cmp = ring[r + i] - ring[p + i]
                if cmp != 0:
                    break
                i += 1
            if i > self.match_len:
                self.match_pos = p
                self.match_len = i
                if i >= F:
                    parent[r] = parent[p]
                    left[r] = left[p]
                    right[r] = right[p]
                    parent[left[p]] = r
                    parent[right[p]] = r
                    if right[parent[p]] == p:
                        right[parent[p]] = r
                    else:
                        left[parent[p]] = r
                    parent[p] = NIL
                    break
        if probes >= 30:
            self.splay(r)

    def delete(self, p):
        left, right, parent = self.left, self.right, self.parent
        if parent[p] == NIL:
            return
        if right[p] == NIL:
            q = left[p]
        elif left[p] == NIL:
            q = right[p]
        else:
            q = left[p]
            if right[q] != NIL:
                while right[q] != NIL:
                    q = right[q]
                right[parent[q]] = left[q]
                parent[left[q]] = parent[q]
                left[q] = left[p]
                parent[left[p]] = q
            right[q] = right[p]
            parent[right[p]] = q
        parent[q] = parent[p]
        if right[parent[p]] == p:
            right[parent[p]] = q
        else:
            left[parent[p]] = q
        parent[p] = NIL

    def splay(self, x):
        left, right, parent = self.left, self.right, self.parent
        while True:
            p = parent[x]
            if p > N:
                return
            g = parent[p]
            if g > N:
                if left[p] == x:
                    left[p] = right[x]
                    right[x] = p
                    parent[left[p]] = p
                else:
                    right[p] = left[x]
                    left[x] = p
                    parent[right[p]] = p
                right[g] = x
                parent[p] = x
                parent[x] = g
                return
            gg = parent[g]
            g_left_of_gg = gg < N and left[gg] == g
            if right[p] == x and right[g] == p:
                right[g] = left[p]; parent[left[p]] = g
                right[p] = left[x]; parent[left[x]] = p
                left[p] = g; parent[g] = p
                left[x] = p; parent[p] = x
            elif left[p] == x and left[g] == p:
                left[g] = right[p]; parent[right[p]] = g
                left[p] = right[x]; parent[right[x]] = p
                right[p] = g; parent[g] = p
                right[x] = p; parent[p] = x
            elif right[p] == x and left[g] == p:
                left[g] = right[x]; parent[right[x]] = g
                right[p] = left[x]; parent[left[x]] = p
                right[x] = g; parent[g] = x
                left[x] = p; parent[p] = x
            else:
                right[g] = left[x]; parent[left[x]] = g
                left[p] = right[x]; parent[right[x]] = p
                left[x] = g; parent[g] = x
                right[x] = p; parent[p] = x
            if g_left_of_gg:
                left[gg] = x
            else:
                right[gg] = x
            parent[x] = gg

    def encode(self, data):
        out = bytearray()
        for i in range(N + 1):
            self.parent[i] = NIL
        for i in range(N + 1, N + 257):
            self.right[i] = NIL
        it = iter(data)
        code = bytearray([0])
        mask = 1
        s, r = 0, N - F
        length = 0
        for c in it:
            self.ring[r + length] = c
            length += 1
            if length == F:
                break
        if length == 0:
            return bytes(out)
        self.insert(r)
        while length > 0:
            if self.match_len > length:
                self.match_len = length
            if self.match_len <= THRESHOLD:
                self.match_len = 1
                code[0] |= mask
                code.append(self.ring[r])
            else:
                code.append(self.match_pos & 0xFF)
                code.append(((self.match_pos >> 8) << 4) | (self.match_len - (THRESHOLD + 1)))
            mask = (mask << 1) & 0xFF
            if mask == 0:
                out += code
                code = bytearray([0])
                mask = 1
            last = self.match_len
            i = 0
            while i < last:
                c = next(it, None)
                if c is None:
                    break
                self.delete(s)
                self.ring[s] = c
                if s < F - 1:
                    self.ring[s + N] = c
                s = (s + 1) & (N - 1)
                r = (r + 1) & (N - 1)
                self.insert(r)
                i += 1
            while i < last:
                i += 1
                self.delete(s)
                s = (s + 1) & (N - 1)
                r = (r + 1) & (N - 1)
                length -= 1
                if length:
                    self.insert(r)
        out += code
        return bytes(out)


def make_inputs():
    rnd = random.Random(20261209)
    page = bytearray()
    for row in range(240):
        in_text = row % 24 < 14
        for x in range(150):
            if in_text and 4 < x < 146 and rnd.random() < 0.35:
                page.append(rnd.choice([0x00, 0x15, 0x5A, 0xA5, 0xFC, 0x3F]))
            else:
                page.append(0xFF)
    mixed = bytearray()
    while len(mixed) < 20000:
        kind = rnd.randrange(3)
        if kind == 0:
            mixed += bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 40)))
        elif kind == 1:
            mixed += bytes([rnd.randrange(256)]) * rnd.randrange(1, 300)
        else:
            back = rnd.randrange(1, min(len(mixed), 4000) + 1) if mixed else 1
            take = rnd.randrange(3, 60)
            for _ in range(take):
                mixed.append(mixed[-back] if len(mixed) >= back else 0x41)
    # Records 00 hi lo in runs that rise and fall: inserting sorted keys makes the tree
    # of 00 a deep chain, so searches reach 30 probes and splay (all four rotations).
    chains = bytearray()
    value = 30000
    for run in range(120):
        step = rnd.choice([1, -1, 3, -2])
        for _ in range(rnd.randrange(20, 70)):
            value = (value + step) & 0xFFFF
            chains += bytes([0x00, value >> 8, value & 0xFF])
        value = rnd.randrange(0x10000)
    return {"lzss_page": bytes(page), "lzss_mixed": bytes(mixed), "lzss_chains": bytes(chains)}


def main():
    here = pathlib.Path(__file__).resolve().parent
    for name, data in make_inputs().items():
        (here / f"{name}.in").write_bytes(data)
        (here / f"{name}.out").write_bytes(Encoder().encode(data))


if __name__ == "__main__":
    main()
