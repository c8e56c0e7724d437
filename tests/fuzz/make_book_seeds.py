#!/usr/bin/env python3
"""Writes the deep-nesting seeds of the book fuzz targets and the seeds of book_conversion.

The book targets build with the builder's nesting limit at 200 levels (each block or
inline element the builder follows is one level; the body is none). Every deep book
comes twice: nested to exactly the limit, so that it builds, and one level deeper, so
that the builder stops with its error and unwinds every open style. They nest
  sections:        section in section, a paragraph innermost;
  poems:           cite > poem > epigraph > cite > ..., a stanza and its verse innermost;
  tables:          a table in sections 150 deep whose cell nests inline markup (emphasis,
                   strong, strike-through, sub, sup, code) up to the limit;
  notes:           sections 190 deep linking a note whose section holds a table and
                   cites nested up to the limit.
fb2_zip gets the deep books zipped; book_conversion gets them and the tree's books, each
after two bytes of scheme options (see book_conversion.cpp), one of them zipped.

Usage: make_book_seeds.py   (writes into tests/data/fuzz/)
"""
import io
import os
import zipfile

LIMIT = 200
HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
SEEDS = os.path.join(DATA, "fuzz")

HEAD = ('<?xml version="1.0" encoding="utf-8"?>\n'
        '<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" '
        'xmlns:l="http://www.w3.org/1999/xlink">\n'
        '<description><title-info><book-title>Deep</book-title>'
        '<author><first-name>Ann</first-name></author></title-info></description>\n')


def nest(tags, inner):
    """Wraps `inner` in the elements `tags`, outermost first."""
    return "".join(f"<{t}>" for t in tags) + inner + "".join(f"</{t}>" for t in reversed(tags))


def cycle(names, count):
    return [names[i % len(names)] for i in range(count)]


def sections(depth):
    # sections at levels 1..depth-1, the paragraph at level `depth`
    return nest(["section"] * (depth - 1), "<p>innermost text</p>")


def poems(depth):
    # section(1) > cite(2) > poem(3) > epigraph(4) > cite(5) ...: the longest cycle that
    # ends on a poem and leaves room for its stanza and verse; strong markup in the verse
    # fills the levels left, so the innermost text stands at level `depth`
    n = depth - 3
    while n % 3 != 2:
        n -= 1
    chain = ["section"] + cycle(["cite", "poem", "epigraph"], n)
    verse = nest(["strong"] * (depth - len(chain) - 2), "innermost verse")
    return nest(chain, f"<stanza><v>{verse}</v></stanza>")


def tables(depth):
    # sections 1..149, the table at 150, its cell's inline markup 151..depth
    markup = cycle(["emphasis", "strong", "strikethrough", "sub", "sup", "code"], depth - 150)
    cell = nest(markup, "cell")
    table = (f'<table><tr><th colspan="2">head</th></tr><tr><td>{cell}</td>'
             '<td align="right">plain</td></tr></table>')
    return nest(["section"] * 149, table)


def notes(depth):
    # the link in a paragraph at 191 (sections 1..190); the note is built from the
    # section holding the link (190): its table at 191, cites and poems up to `depth`
    body = nest(["section"] * 190, '<p>see<a l:href="#n1" type="note">1</a></p>')
    # the note's cite at 191, then cites and poems, its paragraph at `depth`
    chain = ["cite"] + cycle(["poem", "epigraph", "cite"], depth - 192)
    while chain[-1] == "poem":  # a poem holds no paragraph: markup fills the level
        chain.pop()
    paragraph = nest(["emphasis"] * (depth - 191 - len(chain)), "end")
    note = ('<section id="n1"><title><p>1</p></title>'
            '<table><tr><td>a</td><td><emphasis>b</emphasis></td></tr></table>'
            + nest(chain, f"<p>{paragraph}</p>") + "</section>")
    return body, note


def book(body, notes_body=""):
    text = HEAD + "<body>" + body + "</body>\n"
    if notes_body:
        text += '<body name="notes">' + notes_body + "</body>\n"
    return (text + "</FictionBook>\n").encode("utf-8")


def deep_books():
    books = {}
    for name, make in (("sections", sections), ("poems", poems), ("tables", tables)):
        books[f"deep-{name}-at-limit.fb2"] = book(make(LIMIT))
        books[f"deep-{name}-over-limit.fb2"] = book(make(LIMIT + 1))
    for suffix, depth in (("at-limit", LIMIT), ("over-limit", LIMIT + 1)):
        body, note = notes(depth)
        books[f"deep-notes-{suffix}.fb2"] = book(body, note)
    return books


def zipped(name, data):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED) as z:
        info = zipfile.ZipInfo(name, date_time=(2024, 5, 6, 7, 8, 10))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data)
    return out.getvalue()


def write(target, name, data):
    folder = os.path.join(SEEDS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(*path):
    with open(os.path.join(DATA, *path), "rb") as f:
        return f.read()


def main():
    deep = deep_books()
    for name, data in deep.items():
        write("fb2_builder", name, data)
        if "at-limit" in name or "poems" in name:
            write("fb2_book", name, data)
        if "over-limit" in name:
            write("fb2_zip", name.replace(".fb2", ".zip"), zipped("deep.fb2", data))
        # 2 bits, header and footer, block spacing; three levels of contents, links with
        # their pages
        write("book_conversion", name.replace(".fb2", ""), bytes([0x58, 0x58]) + data)

    converted = read("convert", "book.fb2")
    seeds = {
        # options, book
        "book-2bit-header-contents": (0x08, 0x58, converted),
        "book-1bit-turned-footer-cover": (0x13, 0x98, converted),
        "book-gray-counter-clockwise-hyphenated": (0xA4, 0x40, converted),
        "book-plain-runs-no-contents": (0x40, 0x67, converted),
        "small-book-all-bands": (0x7C, 0xD8, read("fuzz", "fb2_builder", "small_book.fb2")),
        "notes-and-spans": (0x09, 0x78, read("fuzz", "fb2_builder", "notes_and_spans.fb2")),
        "cp1251-book": (0x00, 0x18, read("fb2", "book-cp1251.fb2")),
        "bare-book": (0x01, 0x00, read("fb2", "book-bare.fb2")),
    }
    for name, (page, text, data) in seeds.items():
        write("book_conversion", name, bytes([page, text]) + data)
    write("book_conversion", "zipped-book", bytes([0x0A, 0xD0]) + zipped("Book.FB2", converted))


if __name__ == "__main__":
    main()
