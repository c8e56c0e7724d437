#!/usr/bin/env python3
"""Checks two rules of the source tree that review should not have to check by hand.

1. No include points later in the build order: a folder of src/ may include only
   its own headers and those of folders built before it. The platform layer
   (the folders under platform/) includes no subsystem.
2. No naked `new` or `delete` outside src/platform/: owners hold what they own in
   std::unique_ptr or owning containers.
3. A wing of a folder is not included by the rest of its folder: the rich-text layout
   core reaches its printing wing (richtext/layout/print) only through virtuals of the
   document, so that formatting never depends on pagination.

Usage: check_layering.py <src-folder> <folder>...
The folders are src/'s folders in build order, as CMake builds them (QF_FOLDERS of
cmake/QfTargets.cmake, passed by tests/checks/CMakeLists.txt), so the order lives in
one place. Prints each violation; exits 1 if any, 2 on a usage error.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
# Subfolders that the rest of their library folder may not include.
WINGS = ["richtext/layout/print"]
NAKED = re.compile(r"(?<![\w.>])(new\s+[A-Za-z_(]|delete\s*(\[\s*\])?\s*[A-Za-z_(*])")


def is_platform(folder: str) -> bool:
    return folder.startswith("platform/")


def folder_of(path: str, order: list[str]) -> str | None:
    """The longest build-order folder that holds the path (imaging/png before imaging)."""
    best = None
    for folder in order:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def strip_comments_and_strings(line: str) -> str:
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def wing_breach(rel: str, target: str, wings: list[str]) -> str | None:
    """The wing that `target` lies in when `rel` is outside it but in its parent folder."""
    for wing in wings:
        parent = wing.rsplit("/", 1)[0]
        inside = rel.startswith(wing + "/")
        if target.startswith(wing + "/") and rel.startswith(parent + "/") and not inside:
            return wing
    return None


def violations(src: pathlib.Path, order: list[str], wings: list[str] = WINGS) -> list[str]:
    """Every include that points later in `order` or into a wing from beside it, and every
    naked new/delete."""
    rank = {folder: index for index, folder in enumerate(order)}
    problems = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in {".h", ".cpp", ".c"}:
            continue
        rel = file.relative_to(src).as_posix()
        own = folder_of(rel, order)
        if own is None:
            continue
        for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if match:
                wing = wing_breach(rel, match.group(1), wings)
                if wing is not None:
                    problems.append(f"{rel}:{number}: {own} includes {match.group(1)} (its wing {wing})")
                    continue
                target = folder_of(match.group(1), order)
                if target is None:
                    continue
                later = rank[target] > rank[own]
                if later or (is_platform(own) and not is_platform(target)):
                    problems.append(f"{rel}:{number}: {own} includes {match.group(1)} ({target})")
                continue
            if not is_platform(own) and NAKED.search(strip_comments_and_strings(line)):
                problems.append(f"{rel}:{number}: naked new/delete: {line.strip()}")
    return problems


def main(argv: list[str]) -> int:
    if len(argv) < 3:
        print("usage: check_layering.py <src-folder> <folder>... (the build order)", file=sys.stderr)
        return 2
    problems = violations(pathlib.Path(argv[1]), argv[2:])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
