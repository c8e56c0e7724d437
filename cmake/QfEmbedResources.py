#!/usr/bin/python3
"""Writes the C++ source of a program's embedded resources (see QfResources.cmake).

  QfEmbedResources.py --output FILE [--rcdata NAME FILE]... [--bitmap NAME FILE]...
                      [--cursor NAME FILE]... [--strings FILE]...
                      [--version MAJOR.MINOR.RELEASE.BUILD]

RCDATA resources carry a file's bytes under a name ("#5" or digits: an ordinal; other
names are stored upper-cased). BITMAP resources carry a bitmap file (".bmp") without its
14-byte file header, as RT_BITMAP resources do. CURSOR resources carry a cursor file
(".cur") whole, under RT_CURSOR. String files are UTF-8 lines "id<TAB>text" (empty lines
and lines starting with "#" are skipped; in the text \\n, \\r, \\t and \\\\ stand for line
feed, carriage return, tab and backslash); they become RT_STRING blocks of 16 entries,
block ordinal (id >> 4) + 1, each entry a 16-bit length and UTF-16LE units. The version
becomes RT_VERSION 1: a VS_VERSIONINFO block holding a VS_FIXEDFILEINFO.
"""
import argparse
import struct
import sys

RT_CURSOR, RT_BITMAP, RT_STRING, RT_RCDATA, RT_VERSION = 1, 2, 6, 10, 16


def fail(message):
    sys.exit(f"QfEmbedResources: {message}")


def resource_name(text):
    """An ordinal (int) or the upper-cased name (str)."""
    digits = text[1:] if text.startswith("#") else text
    if digits.isdigit() and int(digits) <= 0xFFFF:
        return int(digits)
    if not text:
        fail("an empty resource name")
    return "".join(c.upper() if len(c.upper()) == 1 else c for c in text)


def unescape(text, where):
    out, i = [], 0
    escapes = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}
    while i < len(text):
        if text[i] == "\\":
            if i + 1 >= len(text) or text[i + 1] not in escapes:
                fail(f"{where}: unknown escape")
            out.append(escapes[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def read_strings(paths):
    strings = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\r\n")
                where = f"{path}:{number}"
                if not line or line.startswith("#"):
                    continue
                ident, tab, text = line.partition("\t")
                if not tab or not ident.isdigit() or int(ident) > 0xFFFF:
                    fail(f"{where}: expected id<TAB>text with an id from 0 to 65535")
                if int(ident) in strings:
                    fail(f"{where}: string {ident} given twice")
                units = unescape(text, where).encode("utf-16-le")
                if len(units) // 2 > 0xFFFF:
                    fail(f"{where}: string too long")
                strings[int(ident)] = units
    return strings


def string_blocks(strings):
    blocks = {}
    for block in sorted({ident >> 4 for ident in strings}):
        data = bytearray()
        for entry in range(16):
            units = strings.get((block << 4) | entry, b"")
            data += struct.pack("<H", len(units) // 2) + units
        blocks[block + 1] = bytes(data)
    return blocks


def version_block(version):
    parts = [int(p) for p in version.split(".")] + [0, 0, 0, 0]
    if any(p > 0xFFFF for p in parts[:4]):
        fail(f"version {version}: a part above 65535")
    ms, ls = (parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]
    fixed = struct.pack(
        "<13I",
        0xFEEF04BD,  # dwSignature
        0x00010000,  # dwStrucVersion 1.0
        ms, ls,      # dwFileVersionMS, dwFileVersionLS
        ms, ls,      # dwProductVersionMS, dwProductVersionLS
        0x3F,        # dwFileFlagsMask
        0,           # dwFileFlags
        0x00040004,  # dwFileOS: VOS_NT_WINDOWS32
        1,           # dwFileType: VFT_APP
        0,           # dwFileSubtype
        0, 0)        # dwFileDateMS, dwFileDateLS
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    header_bytes = 6 + len(key)
    padding = (4 - header_bytes % 4) % 4
    total = header_bytes + padding + len(fixed)
    # wLength, wValueLength, wType 0 (binary), key, padding to 32 bits, value.
    return struct.pack("<HHH", total, len(fixed), 0) + key + b"\0" * padding + fixed


def cpp_text(value):
    if isinstance(value, int):
        return "nullptr"
    out = []
    for (unit,) in struct.iter_unpack("<H", value.encode("utf-16-le")):
        c = chr(unit)
        out.append(c if 0x20 <= unit < 0x7F and c not in '"\\?' else f"\\x{unit:04X}\" u\"")
    return 'u"' + "".join(out) + '"'


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--output", required=True)
    parser.add_argument("--rcdata", nargs=2, action="append", default=[], metavar=("NAME", "FILE"))
    parser.add_argument("--bitmap", nargs=2, action="append", default=[], metavar=("NAME", "FILE"))
    parser.add_argument("--cursor", nargs=2, action="append", default=[], metavar=("NAME", "FILE"))
    parser.add_argument("--strings", action="append", default=[])
    parser.add_argument("--version")
    # A library's table: a function of that name gives it to the code that registers it,
    # instead of the table registering itself (which a static library could leave out).
    parser.add_argument("--function")
    args = parser.parse_args()

    resources = []  # (type, name, bytes, source)
    for name, path in args.rcdata:
        with open(path, "rb") as f:
            resources.append((RT_RCDATA, resource_name(name), f.read(), path))
    for name, path in args.bitmap:
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < 14 + 12 or data[:2] != b"BM":
            fail(f"{path}: not a bitmap file")
        resources.append((RT_BITMAP, resource_name(name), data[14:], path))
    for name, path in args.cursor:
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < 6 + 16 or data[:4] != b"\0\0\2\0":
            fail(f"{path}: not a cursor file")
        resources.append((RT_CURSOR, resource_name(name), data, path))
    for ordinal, data in string_blocks(read_strings(args.strings)).items():
        resources.append((RT_STRING, ordinal, data, "string tables"))
    if args.version:
        resources.append((RT_VERSION, 1, version_block(args.version), f"version {args.version}"))
    if not resources:
        fail("no resources given")
    seen = set()
    for kind, name, _, source in resources:
        if (kind, name) in seen:
            fail(f"resource {name} of type {kind} given twice ({source})")
        seen.add((kind, name))

    lines = ["// Generated by cmake/QfEmbedResources.py; do not edit.",
             '#include "platform/base/Resources.h"', "", "namespace {", ""]
    for index, (kind, name, data, source) in enumerate(resources):
        lines.append(f"// {source}")
        lines.append(f"alignas(4) const uint8_t Data{index}[] = {{")
        payload = data if data else b"\0"
        for start in range(0, len(payload), 16):
            lines.append("    " + ", ".join(f"0x{b:02X}" for b in payload[start:start + 16]) + ",")
        lines.append("};")
    lines += ["", "const TResourceEntry Entries[] = {"]
    for index, (kind, name, data, _) in enumerate(resources):
        ordinal = name if isinstance(name, int) else 0
        lines.append(f"    {{{kind}, nullptr, {ordinal}, {cpp_text(name)}, Data{index}, {len(data)}}},")
    lines.append("};")
    if args.function:
        lines += ["", "}  // namespace", "",
                  f"std::span<const TResourceEntry> {args.function}() {{ return Entries; }}", ""]
    else:
        lines += ["", "[[maybe_unused]] const bool Registered = (RegisterResourceTable(Entries), true);", "",
                  "}  // namespace", ""]
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


main()
