#!/usr/bin/env python3
"""Writes full.gws: a scheme file with every key in the file's order, most values away
from their defaults, in UTF-16LE with a byte-order mark and CR LF line ends, each section
followed by an empty line. Style i takes the values below (the tests read them back by
the same rules)."""
import pathlib

SCHEME = [
    ("PageWidth", "758"), ("PageHeight", "1024"), ("PageRotate", "1"), ("RotateCover", "0"),
    ("MarginLeft", "10"), ("MarginRight", "11"), ("MarginTop", "12"), ("MarginBottom", "13"),
    ("CoverPage", "1"), ("EnlargeCover", "0"), ("CoverLeft", "4"), ("CoverRight", "5"),
    ("CoverTop", "6"), ("CoverBottom", "7"), ("BookColors", "1"), ("UseClearType", "0"),
    ("TOCLevels", "2"), ("InternalLinksMode", "1"), ("InternalLinksText", " [с.%P]"),
    ("CopyHRefLink", "0"), ("EnlargeImages", "0"), ("ShowHeader", "0"),
    ("HeaderDiffEvenPages", "0"), ("HeaderLeftOddText", "%A — %T"),
    ("HeaderLeftEvenText", "Чётная"), ("HeaderRightOddText", "%P"), ("HeaderRightEvenText", "%C"),
    ("HeaderLineSize", "2"), ("HeaderOnFirstPage", "1"), ("ShowFooter", "1"),
    ("FooterDiffEvenPages", "1"), ("FooterLeftOddText", "%T"), ("FooterLeftEvenText", "%A"),
    ("FooterRightOddText", "%P из %C"), ("FooterRightEvenText", "%%"), ("FooterLineSize", "3"),
    ("FooterOnFirstPage", "1"),
]
SECTIONS = ["SectionText", "BookTitle", "Section", "SectionTitle", "Subtitle", "Epigraph", "Cite",
            "Annotation", "Poem", "PoemTitle", "Stanza", "Verse", "Date", "TextAuthor", "TableHead",
            "TableText", "Footnote", "Header", "Footer"]


def style(i):
    b = lambda v: "1" if v else "0"
    return [
        ("BaseFontName", "Liberation Serif"), ("BaseFontSize", str(10 + i)),
        ("BaseFontBold", b(i % 2)), ("BaseFontItalic", b(i // 2 % 2)), ("Alignment", str(i % 4)),
        ("Hyphenation", b(i % 3 == 0)), ("SpaceBefore", str(i)), ("SpaceAfter", str(i + 1)),
        ("LineSpacing", str(100 + i)), ("SpaceAftBlock", str(20 + i)), ("SpaceBefBlock", str(40 + i)),
        ("LeftIndent", str(2 * i)), ("RightIndent", str(3 * i)), ("FirstIndent", str(-i)),
        ("KeepLines", b(i % 2 == 0)), ("KeepNext", b(i % 2)), ("PageBreak", b(i == 2)),
        ("SubSize", str(60 + i)), ("SubOffset", str(10 + i)), ("SupSize", str(70 + i)),
        ("SupOffset", str(30 + i)), ("CodeFontName", "Liberation Mono"), ("CodeFontSize", str(8 + i)),
        ("CodeFontBold", b(i % 2)), ("CodeFontItalic", b(i % 2 == 0)), ("ApplyEmphasis", b(i % 2)),
        ("ApplyStrong", b(i % 2 == 0)), ("ApplyStrike", "0"),
    ]


lines = ["[VoDaziScheme]"] + [f"{k}={v}" for k, v in SCHEME] + [""]
for i, name in enumerate(SECTIONS):
    lines += [f"[{name}]"] + [f"{k}={v}" for k, v in style(i)] + [""]
out = pathlib.Path(__file__).with_name("full.gws")
out.write_bytes(b"\xff\xfe" + "".join(l + "\r\n" for l in lines).encode("utf-16-le"))
