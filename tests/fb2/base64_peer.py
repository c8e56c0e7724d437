"""Peer for the Base64 tests: Python's base64 module encodes random bytes, and the text is
wrapped the way books wrap it (a line break before the data, lines of any length, LF or
CR LF, indentation).

  write DIR COUNT     writes DIR/<i>.bin (the bytes) and DIR/<i>.txt (the text), i < COUNT
"""
import base64
import random
import sys


def main():
    folder, count = sys.argv[2], int(sys.argv[3])
    rng = random.Random(2024)
    for i in range(count):
        data = bytes(rng.randrange(256) for _ in range(1 + rng.randrange(400)))
        text = base64.b64encode(data).decode("ascii")
        width = 1 + rng.randrange(100)
        newline = "\r\n" if i % 2 else "\n"
        indent = " " * (i % 3) + "\t" * (i % 2)
        lines = [text[at:at + width] for at in range(0, len(text), width)]
        wrapped = newline + newline.join(indent + line for line in lines) + newline
        with open(f"{folder}/{i}.bin", "wb") as f:
            f.write(data)
        with open(f"{folder}/{i}.txt", "w", newline="") as f:
            f.write(wrapped)


if __name__ == "__main__":
    if sys.argv[1] != "write":
        sys.exit(2)
    main()
