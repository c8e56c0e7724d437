"""Writes tests/fuzz/rtf_reader.dict: every control word of the RTF reader's table
(src/richtext/interchange/RPRTFSymbols.cpp) as a libFuzzer dictionary entry, plus the
scanner's own tokens.

  python3 tests/fuzz/make_rtf_dict.py
"""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parents[2]
table = (root / "src/richtext/interchange/RPRTFSymbols.cpp").read_text(encoding="utf-8")
words = []
for match in re.finditer(r'\b(?:Ch|Wide|Dest|Spec|Prop|Fixed)\("((?:[^"\\]|\\.)*)"', table):
    word = match.group(1).encode().decode("unicode_escape")
    if word not in words:
        words.append(word)


def entry(text):
    escaped = "".join(c if c.isalnum() or c in "*'-~{}" else "\\x%02X" % ord(c) for c in text)
    return '"%s"' % escaped


lines = ["# Made by tests/fuzz/make_rtf_dict.py from the reader's control-word table."]
for word in words:
    lines.append(entry("\\" + word))
for token in ["{", "}", "{\\rtf1", "{\\*", "\\'", "\\bin", "\\u", "0"]:
    lines.append(entry(token))
(root / "tests/fuzz/rtf_reader.dict").write_text("\n".join(lines) + "\n", encoding="utf-8")
print(len(words), "words")
