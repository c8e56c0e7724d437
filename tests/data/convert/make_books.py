#!/usr/bin/env python3
"""Writes the driver's end-to-end fixture books into tests/data/convert (run by hand).

book.fb2: a cover (JPEG), sections titled on three levels (and one deeper), an internal
link to a later section, a note, a table, a JPEG and a PNG picture in the text. The
pictures are the binaries of tests/data/fb2/book-utf8-bom.fb2.

shapes/: small books in the shapes public collections hold beside the schema: text
straight in the body (body_paragraphs, body_mixed), pictures whose declared type lies
(mislabelled_pictures), damaged covers (damaged_cover_pasted, damaged_cover_cut).
"""
import os
import re

here = os.path.dirname(os.path.abspath(__file__))
source = open(os.path.join(here, "..", "fb2", "book-utf8-bom.fb2"), encoding="utf-8-sig").read()
binaries = "\n".join(re.findall(r"<binary .*?</binary>", source, re.S))

words = ("The lantern in the harbour shone through the evening silence while the river "
         "carried letters from the garden to the morning window. ")
def para(n):
    return "<p>" + words * n + "</p>"

book = f"""<?xml version="1.0" encoding="utf-8"?>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">
 <description>
  <title-info>
   <genre>sf_space</genre>
   <author><first-name>Ann</first-name><last-name>Writer</last-name></author>
   <book-title>Harbour Lights</book-title>
   <coverpage><image l:href="#cover.jpg"/></coverpage>
  </title-info>
  <publish-info><publisher>North Press</publisher><year>2024</year></publish-info>
 </description>
 <body>
  <section>
   <title><p>Part One</p></title>
   {para(3)}
   <p>See the last chapter<a l:href="#last">.</a> and a note<a l:href="#n1" type="note">1</a>.</p>
   <section>
    <title><p>Chapter 1</p></title>
    {para(4)}
    <image l:href="#cover.jpg"/>
    <section>
     <title><p>Scene 1.1</p></title>
     {para(3)}
     <section><title><p>Too deep for the contents</p></title>{para(2)}</section>
    </section>
   </section>
   <section>
    <title><p>Chapter 2</p></title>
    <table><tr><th>Name</th><th>Value</th></tr><tr><td>alpha</td><td>1</td></tr><tr><td>beta</td><td>2</td></tr></table>
    {para(5)}
    <image l:href="#pic.png"/>
   </section>
  </section>
  <section id="last">
   <title><p>Part Two</p></title>
   {para(6)}
  </section>
 </body>
 <body name="notes">
  <section id="n1"><title><p>1</p></title><p>The note's text.</p></section>
 </body>
 {binaries}
</FictionBook>
"""
open(os.path.join(here, "book.fb2"), "w", encoding="utf-8").write(book)

# --- Real-world book shapes: what books from public collections do beside the schema ---
found = {m.group(1): (m.group(2), re.sub(r"\s", "", m.group(3)))
         for m in re.finditer(r'<binary id="([^"]*)" content-type="([^"]*)">(.*?)</binary>', source, re.S)}
jpeg64 = found["cover.jpg"][1]
png64 = found["pic.png"][1]


def binary(ident, content_type, data):
    lines = "\n".join(data[i:i + 76] for i in range(0, len(data), 76))
    return f'<binary id="{ident}" content-type="{content_type}">\n{lines}\n</binary>'


def fiction_book(title, body, binaries="", cover="", notes=""):
    coverpage = f'<coverpage><image l:href="#{cover}"/></coverpage>' if cover else ""
    notes_body = f'<body name="notes">{notes}</body>' if notes else ""
    return f"""<?xml version="1.0" encoding="utf-8"?>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">
 <description>
  <title-info>
   <genre>prose_contemporary</genre>
   <author><first-name>Ann</first-name><last-name>Writer</last-name></author>
   <book-title>{title}</book-title>
   {coverpage}
  </title-info>
 </description>
 <body>
{body}
 </body>
 {notes_body}
 {binaries}
</FictionBook>
"""


def write(name, text):
    open(os.path.join(here, "shapes", name), "w", encoding="utf-8").write(text)


os.makedirs(os.path.join(here, "shapes"), exist_ok=True)

# Text straight in the body, no section at all (most small books).
write("body_paragraphs.fb2", fiction_book("Body Paragraphs", "\n".join(
    ["<title><p>Body Paragraphs</p></title>", "<p>First words of the body.</p>"] +
    [para(3)] * 8 + ["<p>Last words of the body.</p>"])))

# Text in the body around a section: a poem, a subtitle, a note link, an empty line, a
# citation and a table before and after it.
write("body_mixed.fb2", fiction_book("Body Mixed", "\n".join([
    "<p>First words of the body.</p>",
    "<poem><stanza><v>A verse in the body,</v><v>and another one.</v></stanza></poem>",
    "<subtitle>Evening</subtitle>",
    '<p>A paragraph with a note<a l:href="#n1" type="note">1</a>.</p>',
    f"<section><title><p>The only section</p></title>{para(3)}</section>",
    "<empty-line/>",
    "<cite><p>Words quoted in the body.</p><text-author>Someone</text-author></cite>",
    "<table><tr><th>Name</th><th>Value</th></tr><tr><td>alpha</td><td>1</td></tr></table>",
    "<p>Last words of the body.</p>"]),
    notes='<section id="n1"><p>The note of the body.</p></section>'))

# Pictures whose declared type lies: a PNG declared as JPEG (the cover and a picture) and
# a JPEG declared as PNG.
write("mislabelled_pictures.fb2", fiction_book("Mislabelled Pictures", "\n".join([
    "<section><title><p>Pictures</p></title>",
    para(1), '<image l:href="#cover.png"/>', para(1), '<image l:href="#photo.jpg"/>', para(1),
    "</section>"]),
    binaries="\n".join([binary("cover.png", "image/jpeg", png64), binary("photo.jpg", "image/png", jpeg64)]),
    cover="cover.png"))

# Damaged covers: a PNG whose Base64 text has words pasted into it, and a JPEG cut in
# half; the text holds a cut JPEG too, and one good picture.
pasted = png64[:48] + "Scanned by our club" + png64[48:]
cut = jpeg64[:len(jpeg64) // 8 * 4]
damaged_body = "\n".join([
    "<section><title><p>Damaged</p></title>",
    para(2), '<image l:href="#cut.jpg"/>', para(1), '<image l:href="#good.png"/>', para(1),
    "</section>"])
write("damaged_cover_pasted.fb2", fiction_book("Damaged Cover", damaged_body, binaries="\n".join(
    [binary("cover.png", "image/png", pasted), binary("cut.jpg", "image/jpeg", cut),
     binary("good.png", "image/png", png64)]), cover="cover.png"))
write("damaged_cover_cut.fb2", fiction_book("Damaged Cover", damaged_body, binaries="\n".join(
    [binary("cover.jpg", "image/jpeg", cut), binary("cut.jpg", "image/jpeg", cut),
     binary("good.png", "image/png", png64)]), cover="cover.jpg"))
