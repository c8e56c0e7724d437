"""The grids of the tables of an HTML file, as html5lib parses it, for the RTF import's tests.

  rtf_table_peer.py HTML OUT   writes to OUT one block per table, in document order (a
                               table nested in a cell comes after the table that holds it):
                                 table DEPTH ROWSxCOLS
                                 cell ROW,COL ROWSPANxCOLSPAN TEXT
                               where the slots follow the HTML table model (a cell takes the
                               first free slot of its row; spans are clipped to the table) and
                               TEXT is the cell's own text, nested tables left out, with its
                               white space collapsed.
"""
import sys

import html5lib

NS = "{http://www.w3.org/1999/xhtml}"


def own_text(element):
    parts = []

    def walk(node):
        if node.text:
            parts.append(node.text)
        for child in node:
            if child.tag != NS + "table":
                walk(child)
            if child.tail:
                parts.append(child.tail)

    walk(element)
    return " ".join("".join(parts).split())


def rows_of(table):
    rows = []
    for child in table:
        if child.tag in (NS + "tbody", NS + "thead", NS + "tfoot"):
            rows.extend(r for r in child if r.tag == NS + "tr")
        elif child.tag == NS + "tr":
            rows.append(child)
    return rows


def grid(table, depth, out):
    rows = rows_of(table)
    taken = set()
    cells = []
    for r, row in enumerate(rows):
        c = 0
        for cell in row:
            if cell.tag not in (NS + "td", NS + "th"):
                continue
            while (r, c) in taken:
                c += 1
            rowspan = max(int(cell.get("rowspan", "1")), 1)
            colspan = max(int(cell.get("colspan", "1")), 1)
            rowspan = min(rowspan, len(rows) - r)
            for rr in range(r, r + rowspan):
                for cc in range(c, c + colspan):
                    taken.add((rr, cc))
            cells.append((r, c, rowspan, colspan, cell))
            c += colspan
    cols = max((c + cs for (_, c, _, cs, _) in cells), default=0)
    out.append("table %d %dx%d" % (depth, len(rows), cols))
    for (r, c, rowspan, colspan, cell) in cells:
        out.append("cell %d,%d %dx%d %s" % (r, c, rowspan, colspan, own_text(cell)))
    for inner in direct_children(table):
        grid(inner, depth + 1, out)


def direct_children(table):
    """Tables nested one level inside table."""
    found = []

    def walk(node, inside):
        for child in node:
            if child.tag == NS + "table":
                if not inside:
                    found.append(child)
                continue
            walk(child, inside)

    for row in rows_of(table):
        for cell in row:
            walk(cell, False)
    return found


def main():
    with open(sys.argv[1], "rb") as source:
        document = html5lib.parse(source.read())
    out = []
    body = document.find(NS + "body")
    tops = []

    def walk(node):
        for child in node:
            if child.tag == NS + "table":
                tops.append(child)
            else:
                walk(child)

    walk(body)
    for table in tops:
        grid(table, 0, out)
    with open(sys.argv[2], "w", encoding="utf-8") as target:
        target.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
