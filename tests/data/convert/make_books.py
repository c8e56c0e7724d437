#!/usr/bin/env python3
"""Writes the driver's end-to-end fixture books into tests/data/convert (run by hand).

book.fb2: a cover (JPEG), sections titled on three levels (and one deeper), an internal
link to a later section, a note, a table, a JPEG and a PNG picture in the text. The
pictures are the binaries of tests/data/fb2/book-utf8-bom.fb2.
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
