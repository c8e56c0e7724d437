#!/usr/bin/env python3
"""Checks two rules of the source tree that review should not have to check by hand.

1. No include points later in the build order: a folder of src/ may include only
   its own headers and those of folders built before it. The platform layer
   includes no subsystem.
2. No naked `new` or `delete` outside src/platform/: owners hold what they own in
   std::unique_ptr or owning containers.

Usage: check_layering.py <src-folder>. Prints each violation; exits 1 if any.
"""
import pathlib
import re
import sys

# Folders in build order; a folder may include itself and anything listed before it,
# except that the platform folders include no subsystem.
ORDER = [
    "platform/base", "platform/graphics", "platform/gui",
    "unicode", "l10n", "wolf", "imaging", "xml", "imaging/png", "fb2",
    "richtext/model", "richtext/layout", "richtext/table", "archive", "convert",
    "unicode/controls", "app", "richtext/edit", "richtext/interchange",
]
RANK = {folder: index for index, folder in enumerate(ORDER)}
PLATFORM = {"platform/base", "platform/gui", "platform/graphics"}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
NAKED = re.compile(r"(?<![\w.>])(new\s+[A-Za-z_(]|delete\s*(\[\s*\])?\s*[A-Za-z_(*])")


def folder_of(path: str) -> str | None:
    """The longest build-order folder that holds the path (imaging/png before imaging)."""
    best = None
    for folder in ORDER:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def strip_comments_and_strings(line: str) -> str:
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def main() -> int:
    src = pathlib.Path(sys.argv[1])
    problems = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in {".h", ".cpp", ".c"}:
            continue
        rel = file.relative_to(src).as_posix()
        own = folder_of(rel)
        if own is None:
            continue
        for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if match:
                target = folder_of(match.group(1))
                if target is None:
                    continue
                later = RANK[target] > RANK[own]
                if later or (own in PLATFORM and target not in PLATFORM):
                    problems.append(f"{rel}:{number}: {own} includes {match.group(1)} ({target})")
                continue
            if own not in PLATFORM and NAKED.search(strip_comments_and_strings(line)):
                problems.append(f"{rel}:{number}: naked new/delete: {line.strip()}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
