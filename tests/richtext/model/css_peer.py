#!/usr/bin/python3
r"""Parses a CSS style sheet with tinycss2 (Debian's python3-tinycss2) and prints one line
per declaration: selector, property and value, separated by tabs. A string in a value is
printed as the text it holds between < and >, with backslashes doubled and control
characters written \xNN. Any parse error, an at-rule or a rule that is not a
qualified rule makes it print the error and exit with 1; a missing tinycss2 exits with 2.

Usage: css_peer.py FILE   (the file is read as UTF-8)
"""
import sys

try:
    import tinycss2
except ImportError:
    print("python3-tinycss2 is not installed (run scripts/setup.sh)")
    sys.exit(2)


def shown(c):
    if c == "\\":
        return "\\\\"
    if ord(c) < 0x20 or ord(c) == 0x7F:
        return "\\x%02x" % ord(c)
    return c


def value_text(tokens):
    parts = []
    for token in tokens:
        if token.type == "whitespace":
            parts.append(" ")
        elif token.type == "string":
            parts.append("<" + "".join(shown(c) for c in token.value) + ">")
        elif token.type == "error":
            raise ValueError("error token: " + token.message)
        else:
            parts.append(tinycss2.serialize([token]))
    return "".join(parts).strip()


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        css = f.read()
    rules = tinycss2.parse_stylesheet(css, skip_comments=True, skip_whitespace=True)
    for rule in rules:
        if rule.type != "qualified-rule":
            print("unexpected %s: %s" % (rule.type, getattr(rule, "message", "")))
            return 1
        selector = tinycss2.serialize(rule.prelude).strip()
        declarations = tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True)
        if not declarations:
            print("%s\t\t" % selector)
        for d in declarations:
            if d.type != "declaration":
                print("unexpected %s in %s: %s" % (d.type, selector, getattr(d, "message", "")))
                return 1
            try:
                print("%s\t%s\t%s" % (selector, d.name, value_text(d.value)))
            except ValueError as e:
                print("in %s: %s" % (selector, e))
                return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
