"""Metafiles made and rendered by LibreOffice Draw for the metafile tests.

Usage: metafile_peer.py WORKDIR

Writes small drawings (flat ODG) to WORKDIR/sources, has LibreOffice convert each to a
Windows metafile and an enhanced metafile (WORKDIR/made), then renders every metafile of
WORKDIR/made and WORKDIR/hand (hand-made by the test) to PNG and writes each rendering as
a raw RGB file (PilPeer.h), composited on white, to WORKDIR/raw/NAME.EXT.raw. LibreOffice
puts a picture on an A4 page at 96 pixels per inch, centred.
"""
import base64
import glob
import io
import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from raw_image import write_raw_rgb  # noqa: E402

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.graphics">
<office:font-face-decls><style:font-face style:name="Symbol" svg:font-family="Symbol"
 style:font-charset="x-symbol"/></office:font-face-decls>
<office:automatic-styles>
<style:page-layout style:name="PM1"><style:page-layout-properties fo:margin-top="0cm" fo:margin-bottom="0cm"
 fo:margin-left="0cm" fo:margin-right="0cm" fo:page-width="5cm" fo:page-height="4cm"/></style:page-layout>
<style:style style:name="fillstroke" style:family="graphic"><style:graphic-properties draw:fill="solid"
 draw:fill-color="#ff0000" draw:stroke="solid" svg:stroke-color="#0000ff" svg:stroke-width="0.1cm"/></style:style>
<style:style style:name="fill" style:family="graphic"><style:graphic-properties draw:fill="solid"
 draw:fill-color="#00aa00" draw:stroke="none"/></style:style>
<style:style style:name="hairline" style:family="graphic"><style:graphic-properties draw:fill="solid"
 draw:fill-color="#ffee00" draw:stroke="solid" svg:stroke-color="#000000" svg:stroke-width="0cm"/></style:style>
<style:style style:name="plain" style:family="graphic"><style:graphic-properties draw:fill="none"
 draw:stroke="none"/></style:style>
<style:style style:name="big" style:family="paragraph"><style:text-properties fo:font-size="28pt"
 style:font-name="Liberation Sans" fo:font-family="'Liberation Sans'" fo:color="#000080"/></style:style>
<style:style style:name="symbol" style:family="paragraph"><style:text-properties fo:font-size="28pt"
 fo:font-family="Symbol" style:font-charset="x-symbol" fo:color="#000000"/></style:style>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1"/></office:master-styles>
<office:body><office:drawing><draw:page draw:name="p1" draw:master-page-name="Default">
"""
TAIL = "</draw:page></office:drawing></office:body></office:document>\n"


def checker_png():
    """64 x 64 pixels in blocks of 16, drawn at its own size (64 pixels are 1.6933 cm), so
    that the renderer's smoothing of a stretched bitmap does not come into it."""
    image = Image.new("RGB", (64, 64))
    colours = [(255, 0, 0), (0, 0, 255), (0, 160, 0), (255, 255, 0)]
    for y in range(64):
        for x in range(64):
            image.putpixel((x, y), colours[(x // 16 + y // 16) % 4])
    out = io.BytesIO()
    image.save(out, "PNG")
    return base64.b64encode(out.getvalue()).decode()


DRAWINGS = {
    "shapes": """
<draw:rect draw:style-name="fillstroke" svg:x="0.5cm" svg:y="0.5cm" svg:width="1.8cm" svg:height="1.2cm"/>
<draw:ellipse draw:style-name="fill" svg:x="2.8cm" svg:y="0.4cm" svg:width="1.6cm" svg:height="1.6cm"/>
<draw:polygon draw:style-name="hairline" svg:x="0.5cm" svg:y="2.3cm" svg:width="4cm" svg:height="1.4cm"
 svg:viewBox="0 0 4000 1400" draw:points="0,1400 2000,0 4000,1400"/>
""",
    "text": """
<draw:frame draw:style-name="plain" svg:x="0.2cm" svg:y="0.8cm" svg:width="4.6cm" svg:height="2cm">
<draw:text-box><text:p text:style-name="big">Wolf</text:p></draw:text-box></draw:frame>
""",
    # Text turned a quarter and a twelfth of a turn counter-clockwise: written with fonts of
    # that escapement.
    "turned-text": """
<draw:frame draw:style-name="plain" svg:width="3.4cm" svg:height="1.3cm"
 draw:transform="rotate(1.5707963267949) translate(0.3cm 3.8cm)">
<draw:text-box><text:p text:style-name="big">Wolf</text:p></draw:text-box></draw:frame>
<draw:frame draw:style-name="plain" svg:width="3.4cm" svg:height="1.3cm"
 draw:transform="rotate(0.5235987755983) translate(1.6cm 3.2cm)">
<draw:text-box><text:p text:style-name="big">Wolf</text:p></draw:text-box></draw:frame>
""",
    # Text in the Symbol font, as formula editors write it: its 8-bit codes in a font of the
    # symbol charset ("pDa" and two codes above 127 are Greek letters and arrows). LibreOffice
    # gives its first text the ANSI charset, so that one holds only what both draw alike.
    "symbol-text": """
<draw:frame draw:style-name="plain" svg:x="1cm" svg:y="0.5cm" svg:width="3.8cm" svg:height="1.5cm">
<draw:text-box><text:p text:style-name="symbol">2+3</text:p></draw:text-box></draw:frame>
<draw:frame draw:style-name="plain" svg:x="1cm" svg:y="2cm" svg:width="3.8cm" svg:height="1.5cm">
<draw:text-box><text:p text:style-name="symbol">pDa&#xAE;&#xA5;</text:p></draw:text-box></draw:frame>
""",
    "bitmap": """
<draw:frame draw:style-name="plain" svg:x="1cm" svg:y="1cm" svg:width="1.6933cm" svg:height="1.6933cm">
<draw:image><office:binary-data>%s</office:binary-data></draw:image></draw:frame>
""" % checker_png(),
}


def office(workdir, target, outdir, files):
    profile = "file://" + os.path.join(workdir, "profile")
    subprocess.run(["soffice", "--headless", "-env:UserInstallation=" + profile, "--convert-to", target,
                    "--outdir", outdir] + files, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    workdir = os.path.abspath(sys.argv[1])
    for sub in ("sources", "made", "hand", "png", "raw"):
        os.makedirs(os.path.join(workdir, sub), exist_ok=True)
    sources = []
    for name, body in DRAWINGS.items():
        path = os.path.join(workdir, "sources", name + ".fodg")
        with open(path, "w") as f:
            f.write(HEAD + body + TAIL)
        sources.append(path)
    made = os.path.join(workdir, "made")
    office(workdir, "wmf", made, sources)
    office(workdir, "emf", made, sources)
    metafiles = sorted(glob.glob(os.path.join(made, "*.*mf")) + glob.glob(os.path.join(workdir, "hand", "*.*mf")))
    # Same base names would overwrite each other's PNG: render each kind apart.
    for ext in ("wmf", "emf"):
        group = [m for m in metafiles if m.endswith("." + ext)]
        outdir = os.path.join(workdir, "png", ext)
        office(workdir, "png", outdir, group)
        for metafile in group:
            name = os.path.splitext(os.path.basename(metafile))[0]
            page = Image.open(os.path.join(outdir, name + ".png")).convert("RGBA")
            white = Image.new("RGBA", page.size, (255, 255, 255, 255))
            write_raw_rgb(os.path.join(workdir, "raw", name + "." + ext + ".raw"), Image.alpha_composite(white, page))


if __name__ == "__main__":
    main()
