"""What real readers make of the exports, as lines the export tests compare.

  export_peer.py odt FILE.odt      the text, runs and tables of an ODT that LibreOffice wrote
                                   (content.xml, read with lxml)
  export_peer.py html FILE         the text and tables of an HTML file as html5lib parses it
  export_peer.py xml FILE          "well-formed" when a non-validating XML parser (ElementTree,
                                   which knows no entity of an external DTD) takes the file,
                                   else its error

Output, one item per line, fields separated by tabs, "\\n" and "\\t" inside texts escaped:
  X  text            the whole text of the body: every paragraph and cell, in order, each
                     ended by a line break (a list label, when the reader shows one, first)
  R  text  props     a run of text with its properties: "b" bold, "i" italic, "u" underline,
                     "s" struck, "^" raised, "_" lowered, "pN" size in points, "#rrggbb" colour
  L  label  text     a list item: the label a reader shows (computed from the list styles
                     of content.xml and styles.xml) and the text of its first paragraph
  T  rows  cols      a table starts (tables nested in a cell follow the cell)
  C  row  col  rowspan  colspan
                     a cell of the table begun last (tables nested in it follow)
  CT  row  col  text the text of that cell, nested tables' included, paragraphs joined by "\\n"
  H  text            a paragraph the reader hides, its mark included (the text also counts in X)
"""
import sys
import zipfile

NS = {
    "loext": "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0",
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
}


def q(prefix, name):
    return "{%s}%s" % (NS[prefix], name)


def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


def emit(*fields):
    sys.stdout.write("\t".join(str(f) for f in fields) + "\n")


# --- ODT --------------------------------------------------------------------------------------


def text_properties(styles, name, seen=None):
    """The text properties of an automatic or named style, its parents' below its own."""
    props = {}
    seen = seen or set()
    if not name or name in seen or name not in styles:
        return props
    seen.add(name)
    style = styles[name]
    props.update(text_properties(styles, style.get(q("style", "parent-style-name")), seen))
    for element in style.iter(q("style", "text-properties")):
        props.update(element.attrib)
    return props


def describe(props):
    words = []
    if props.get(q("fo", "font-weight")) == "bold":
        words.append("b")
    if props.get(q("fo", "font-style")) == "italic":
        words.append("i")
    if props.get(q("style", "text-underline-style"), "none") != "none":
        words.append("u")
    if props.get(q("style", "text-line-through-style"), "none") != "none":
        words.append("s")
    position = props.get(q("style", "text-position"), "")
    if position.startswith("super") or (position[:1].isdigit() and not position.startswith("0")):
        words.append("^")
    if position.startswith("sub") or position.startswith("-"):
        words.append("_")
    size = props.get(q("fo", "font-size"), "")
    if size.endswith("pt"):
        words.append("p%g" % float(size[:-2]))
    color = props.get(q("fo", "color"))
    if color:
        words.append(color.lower())
    return " ".join(words)


def roman(n):
    out = ""
    for value, letters in ((1000, "m"), (900, "cm"), (500, "d"), (400, "cd"), (100, "c"), (90, "xc"), (50, "l"),
                           (40, "xl"), (10, "x"), (9, "ix"), (5, "v"), (4, "iv"), (1, "i")):
        while n >= value:
            out += letters
            n -= value
    return out


def alpha(n):
    out = ""
    while n > 0:
        n -= 1
        out = chr(ord("a") + n % 26) + out
        n //= 26
    return out


def number_text(n, num_format):
    if num_format == "1":
        return str(n)
    if num_format in ("a", "A"):
        text = alpha(n)
    elif num_format in ("i", "I"):
        text = roman(n)
    else:
        return ""
    return text.upper() if num_format.isupper() else text


def list_styles(roots):
    """Per list style name, per level (1-based), the level's label description."""
    styles = {}
    for root in roots:
        for style in root.iter(q("text", "list-style")):
            levels = {}
            for level in style:
                number = level.get(q("text", "level"))
                if number is None:
                    continue
                levels[int(number)] = {
                    "bullet": level.get(q("text", "bullet-char")) if level.tag == q("text", "list-level-style-bullet")
                    else None,
                    "format": level.get(q("style", "num-format"), ""),
                    "list_format": level.get(q("loext", "num-list-format")),
                    "prefix": level.get(q("style", "num-prefix"), ""),
                    "suffix": level.get(q("style", "num-suffix"), ""),
                    "start": int(level.get(q("text", "start-value"), "1")),
                    "display": int(level.get(q("text", "display-levels"), "1")),
                }
            styles[style.get(q("style", "name"))] = levels
    return styles


class OdtWalker:
    def __init__(self, styles, lists):
        self.styles = styles
        self.lists = lists
        self.counters = {}  # per list style name: the counters of its levels
        self.text = []  # every paragraph, cells' included, in order

    def label(self, style_name, depth):
        levels = self.lists.get(style_name, {})
        level = levels.get(depth, {})
        counters = self.counters.get(style_name, [])
        if level.get("bullet") is not None:
            return level["bullet"]
        if level.get("list_format"):
            label = level["list_format"]
            for k in range(1, depth + 1):
                value = counters[k - 1] if k - 1 < len(counters) else 0
                label = label.replace("%%%d%%" % k, number_text(value, levels.get(k, {}).get("format", "1")))
            return label
        shown = [number_text(counters[k - 1], levels.get(k, {}).get("format", "1"))
                 for k in range(max(1, depth - level.get("display", 1) + 1), depth + 1)]
        return level.get("prefix", "") + ".".join(shown) + level.get("suffix", "")

    def list(self, element, style_name, depth):
        style_name = element.get(q("text", "style-name")) or style_name
        continued = element.get(q("text", "continue-numbering")) == "true" or element.get(q("text", "continue-list"))
        if depth == 1 and not continued:
            self.counters[style_name] = []
        counters = self.counters.setdefault(style_name, [])
        for item in element:
            if item.tag not in (q("text", "list-item"), q("text", "list-header")):
                continue
            level = self.lists.get(style_name, {}).get(depth, {})
            del counters[depth:]
            while len(counters) < depth:
                counters.append(self.lists.get(style_name, {}).get(len(counters) + 1, {}).get("start", 1) - 1)
            start = item.get(q("text", "start-value"))
            counters[depth - 1] = int(start) if start else counters[depth - 1] + 1
            if level.get("start") and counters[depth - 1] < level["start"]:
                counters[depth - 1] = level["start"]
            first = True
            for child in item:
                if child.tag == q("text", "list"):
                    self.list(child, style_name, depth + 1)
                    continue
                before = len(self.text)
                self.block(child)
                if first and child.tag in (q("text", "p"), q("text", "h")) and item.tag == q("text", "list-item"):
                    emit("L", escape(self.label(style_name, depth)), escape(self.text[before]))
                first = False

    def paragraph(self, element, paragraph_props):
        """Text of a paragraph or heading; emits its runs."""
        pieces = []

        def walk(node, props):
            if node.text:
                pieces.append(node.text)
                emit("R", escape(node.text), describe(props))
            for child in node:
                tag = child.tag
                if tag == q("text", "span"):
                    child_props = dict(props)
                    child_props.update(text_properties(self.styles, child.get(q("text", "style-name"))))
                    walk(child, child_props)
                elif tag == q("text", "s"):
                    pieces.append(" " * int(child.get(q("text", "c"), "1")))
                elif tag == q("text", "tab"):
                    pieces.append("\t")
                elif tag == q("text", "line-break"):
                    pieces.append("\n")
                elif tag == q("text", "a"):
                    walk(child, props)
                if child.tail:
                    pieces.append(child.tail)
                    emit("R", escape(child.tail), describe(props))

        walk(element, paragraph_props)
        self.text.append("".join(pieces))
        if paragraph_props.get(q("text", "display")) == "none":
            emit("H", escape(self.text[-1]))

    def block(self, element):
        tag = element.tag
        if tag in (q("text", "p"), q("text", "h")):
            self.paragraph(element, text_properties(self.styles, element.get(q("text", "style-name"))))
        elif tag == q("text", "list"):
            self.list(element, None, 1)
        elif tag == q("text", "section"):
            for child in element:
                self.block(child)
        elif tag == q("table", "table"):
            self.table(element)

    def table(self, element):
        grid = []
        for row in element.iter(q("table", "table-row")):
            if self.owner(row) is element:
                grid.append([c for c in row if c.tag in (q("table", "table-cell"), q("table", "covered-table-cell"))])
        emit("T", len(grid), max((len(r) for r in grid), default=0))
        for r, cells in enumerate(grid):
            for c, cell in enumerate(cells):
                if cell.tag != q("table", "table-cell"):
                    continue
                emit("C", r, c, cell.get(q("table", "number-rows-spanned"), "1"),
                     cell.get(q("table", "number-columns-spanned"), "1"))
                start = len(self.text)
                for child in cell:
                    self.block(child)
                emit("CT", r, c, escape("\n".join(self.text[start:])))

    @staticmethod
    def owner(row):
        node = row.getparent()
        while node is not None and node.tag != q("table", "table"):
            node = node.getparent()
        return node


def read_odt(path):
    from lxml import etree

    with zipfile.ZipFile(path) as archive:
        content = etree.fromstring(archive.read("content.xml"))
        named = etree.fromstring(archive.read("styles.xml"))
    styles = {}
    for root in (named, content):
        for style in root.iter(q("style", "style")):
            styles[style.get(q("style", "name"))] = style
    walker = OdtWalker(styles, list_styles((named, content)))
    for child in content.find(".//" + q("office", "text")):
        walker.block(child)
    emit("X", escape("".join(t + "\n" for t in walker.text)))


# --- HTML -------------------------------------------------------------------------------------

BLOCKS = {"p", "div", "li", "td", "th", "tr", "table", "ul", "ol", "hr", "body", "h1", "h2", "h3"}


def read_html(path):
    import html5lib

    with open(path, "rb") as f:
        document = html5lib.parse(f, treebuilder="etree", namespaceHTMLElements=False)
    body = document.find("body")
    lines = [""]

    def flush():
        if lines[-1] != "":
            lines.append("")

    def walk(node):
        tag = node.tag if isinstance(node.tag, str) else ""
        if tag in BLOCKS:
            flush()
        if tag == "br":
            lines[-1] += "\n"
        if tag == "table":
            table(node)
            flush()
            return
        if node.text:
            lines[-1] += node.text
        for child in node:
            walk(child)
            if child.tail:
                lines[-1] += child.tail
        if tag in BLOCKS:
            flush()

    def table(node):
        rows = [r for r in node.iter("tr") if owner(r) is node]
        emit("T", len(rows), max((sum(int(c.get("colspan", "1")) for c in r if c.tag in ("td", "th")) for r in rows),
                                 default=0))
        taken = {}
        for r, row in enumerate(rows):
            c = 0
            for cell in (x for x in row if x.tag in ("td", "th")):
                while taken.get((r, c)):
                    c += 1
                rowspan, colspan = int(cell.get("rowspan", "1")), int(cell.get("colspan", "1"))
                for dr in range(rowspan):
                    for dc in range(colspan):
                        taken[(r + dr, c + dc)] = True
                emit("C", r, c, rowspan, colspan)
                flush()
                start = len(lines) - 1
                walk(cell)
                flush()
                text = "\n".join(t for t in lines[start:] if t.strip() != "")
                emit("CT", r, c, escape(text))
                c += colspan

    def owner(row):
        node = parents.get(row)
        while node is not None and node.tag != "table":
            node = parents.get(node)
        return node

    parents = {child: parent for parent in document.iter() for child in parent}
    walk(body)
    text = "".join(t + "\n" for t in lines if t.strip() != "")
    emit("X", escape(text))


# --- XML --------------------------------------------------------------------------------------


def read_xml(path):
    import xml.etree.ElementTree as ElementTree

    try:
        ElementTree.parse(path)
    except ElementTree.ParseError as error:
        emit("error", escape(str(error)))
        return
    emit("well-formed")


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "odt":
        read_odt(path)
    elif command == "html":
        read_html(path)
    elif command == "xml":
        read_xml(path)
    else:
        raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    main()
