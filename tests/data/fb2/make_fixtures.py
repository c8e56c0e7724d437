"""Writes the FB2 fixtures of tests/fb2 (run from this folder with Debian's python3 and
python3-pil; the outputs are committed beside it).

  book-utf8-bom.fb2   UTF-8 with a byte-order mark: every metadata field, a notes body,
                      several bodies, nested sections, a table with colspan, links, a
                      JPEG cover and a PNG picture with line-wrapped Base64, broken binaries
  book-cp1251.fb2     Windows-1251 without a mark: Cyrillic metadata, a PNG cover, two
                      notes bodies, the XLink namespace written in capitals
  book-bare.fb2       UTF-8 without a mark: no description, XLink declared on an inner
                      element only
  book-entities.fb2   a document type declaration whose internal subset declares
                      entities used in the text (a character, text with markup, nested
                      references), an external entity and an external subset, both
                      unread, and an entity declared only there
  book-bad-subset.fb2 an internal subset that is no DTD
  book-undeclared-entity.fb2  a reference to an entity the internal subset does not
                      declare
"""
import base64
import io

from PIL import Image


def picture(form, width, height):
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            image.putpixel((x, y), (x * 255 // (width - 1), y * 255 // (height - 1), (x * 37 + y * 11) % 256))
    out = io.BytesIO()
    image.save(out, form, quality=90) if form == "JPEG" else image.save(out, form)
    return out.getvalue()


def wrapped(data, width, indent=""):
    text = base64.b64encode(data).decode("ascii")
    return "\n" + "".join(indent + text[i:i + width] + "\n" for i in range(0, len(text), width))


jpeg = picture("JPEG", 24, 32)
png = picture("PNG", 10, 6)

utf8 = f"""<?xml version="1.0" encoding="utf-8"?>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">
 <description>
  <title-info>
   <genre>sf_space</genre>
   <genre>no_such_genre</genre>
   <author><first-name>Anna</first-name><middle-name>B.</middle-name><last-name>Carr</last-name><nickname>ac</nickname></author>
   <translator><nickname>Tr</nickname></translator>
   <author><nickname> Dee </nickname></author>
   <genre>POETRY</genre>
   <book-title> Stars &amp; Lines </book-title>
   <annotation><p>First  <emphasis>para</emphasis>
   here</p><empty-line/><poem><stanza><v>Verse one</v></stanza></poem><!-- dropped --><p><![CDATA[Last <p>]]></p></annotation>
   <coverpage><image l:href="#cover.jpg"/><image l:href="#pic.png"/></coverpage>
   <lang>en</lang>
  </title-info>
  <publish-info><publisher>North Press</publisher><year>2021</year><isbn>978-0-00-000000-0</isbn></publish-info>
 </description>
 <body>
  <title><p>Stars</p></title>
  <section id="s1">
   <title><p>Chapter</p>
    <p>One  two</p></title>
   <p>Text with a note<a l:href="#n1" type="note">1</a>, a paragraph note<a l:href="#N2P">2</a> and <a l:href="http://example.org/">a web link</a>.</p>
   <section>
    <p>untitled subsection</p>
    <section><title><p>Deep</p></title><p id="deep">x</p></section>
   </section>
   <table id="t1">
    <tr><th colspan="2">h</th><td>a</td></tr>
    <tr><td colspan="0">b</td><td colspan="5000">c</td><TD colspan="3">skipped</TD></tr>
    <tr><td colspan="x">d</td>text<td colspan=" 2">e</td></tr>
   </table>
   <image l:href="#pic.png"/>
   <cite><section><p>not counted: inside a cite</p></section></cite>
  </section>
  <section><title><p>Two</p></title><p>Second chapter</p></section>
 </body>
 <body name="notes">
  <section id="n1"><title><p>1</p></title><p>Note one</p></section>
  <section id="n2"><p id="n2p">Second note paragraph</p></section>
 </body>
 <body><section><p>Second body</p></section></body>
 <binary id="cover.jpg" content-type="image/jpeg">{wrapped(jpeg, 76)}</binary>
 <binary id="pic.png" content-type="IMAGE/PNG">{wrapped(png, 13, "   ")}</binary>
 <binary id="Cover.JPG" content-type="image/png">QUJD</binary>
 <binary id="broken.jpg" content-type="image/jpeg">{wrapped(jpeg[:len(jpeg) // 2], 60)}</binary>
 <binary id="badb64" content-type="image/jpeg">/9j/*AAQ</binary>
 <binary id="anim.gif" content-type="image/gif">R0lGODlhAQABAAAAACw=</binary>
 <binary content-type="image/png">QUJD</binary>
</FictionBook>
"""
with open("book-utf8-bom.fb2", "wb") as f:
    f.write(b"\xef\xbb\xbf" + utf8.encode("utf-8"))

cp1251 = f"""<?xml version="1.0" encoding="windows-1251"?>
<FictionBook xmlns:xlink="HTTP://WWW.W3.ORG/1999/XLINK" xmlns="http://www.gribuser.ru/xml/fictionbook/2.0">
 <description>
  <title-info>
   <genre>prose_rus_classic</genre>
   <author><first-name>Лев</first-name><middle-name>Николаевич</middle-name><last-name>Толстой</last-name></author>
   <book-title>Война и мир</book-title>
   <annotation><p>Роман-эпопея</p></annotation>
   <coverpage><image xlink:href="#обложка.png"/></coverpage>
  </title-info>
  <publish-info><publisher>Издательство «Ёлка»</publisher><year>1869</year></publish-info>
 </description>
 <body><section><title><p>Том первый</p></title><p>Ну, князь.<a xlink:href="#сноска">*</a></p></section></body>
 <body name="notes"><section id="old"><p>Старая</p></section></body>
 <body name="NOTES"><section id="СНОСКА"><p>Сноска</p></section></body>
 <binary id="обложка.png" content-type="image/png">{wrapped(png, 64)}</binary>
</FictionBook>
"""
with open("book-cp1251.fb2", "wb") as f:
    f.write(cp1251.encode("cp1251"))

bare = """<?xml version="1.0"?>
<FictionBook>
 <body><section xmlns:l="http://www.w3.org/1999/xlink"><p>Only text<a l:href="#x">1</a></p></section></body>
</FictionBook>
"""
with open("book-bare.fb2", "wb") as f:
    f.write(bare.encode("utf-8"))

entities = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE FictionBook SYSTEM "fictionbook.dtd" [
 <!ENTITY nbsp "&#160;">
 <!ENTITY mdash "&#x2014;">
 <!ENTITY who "Anna&nbsp;Carr">
 <!ENTITY signed "<emphasis>&who;</emphasis> &mdash; 2021">
 <!ENTITY secret SYSTEM "secret.txt">
]>
<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0">
 <description><title-info><book-title>Stars&nbsp;&amp;&nbsp;Lines</book-title></title-info></description>
 <body><section><p>One&nbsp;two</p><p>Signed: &signed;.</p><p>Kept [&secret;] and [&only-in-dtd;]</p></section></body>
</FictionBook>
"""
with open("book-entities.fb2", "wb") as f:
    f.write(entities.encode("utf-8"))

with open("fictionbook.dtd", "wb") as f:
    f.write(b'<!ENTITY only-in-dtd "read from the external subset">\n')

with open("secret.txt", "wb") as f:
    f.write(b"read from an external entity")

bad_subset = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE FictionBook [ garbage ]>
<FictionBook><body><section><p>Text</p></section></body></FictionBook>
"""
with open("book-bad-subset.fb2", "wb") as f:
    f.write(bad_subset.encode("utf-8"))

undeclared = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE FictionBook [ <!ENTITY nbsp "&#160;"> ]>
<FictionBook><body><section><p>One&nbsp;two&hellip;</p></section></body></FictionBook>
"""
with open("book-undeclared-entity.fb2", "wb") as f:
    f.write(undeclared.encode("utf-8"))
