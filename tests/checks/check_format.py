#!/usr/bin/env python3
"""Fails when a C++ file of the tree is not formatted as .clang-format says.

Usage: check_format.py <project-root>
Checks every .h and .cpp under src/, tests/ and bench/ with `clang-format --dry-run
--Werror` and prints the files that differ. The tree is formatted by the clang-format of
Debian 12 (version 14), which scripts/setup.sh installs; another major version formats
some constructs differently, so the check refuses to run with one. Exits 1 when a file
differs, 2 when clang-format is missing or of another version.
"""
import pathlib
import re
import shutil
import subprocess
import sys

MAJOR_VERSION = 14
FOLDERS = ("src", "tests", "bench")


def find_clang_format() -> str | None:
    for name in (f"clang-format-{MAJOR_VERSION}", "clang-format"):
        path = shutil.which(name)
        if path:
            return path
    return None


def sources(root: pathlib.Path) -> list[pathlib.Path]:
    return sorted(p for folder in FOLDERS for p in (root / folder).rglob("*")
                  if p.suffix in {".h", ".cpp"} and p.is_file())


def unformatted(tool: str, root: pathlib.Path, files: list[pathlib.Path]) -> list[str]:
    """The files that clang-format would change, relative to the root."""
    bad = []
    for start in range(0, len(files), 200):
        batch = files[start:start + 200]
        result = subprocess.run([tool, "--dry-run", "--Werror", *map(str, batch)],
                                cwd=root, capture_output=True, text=True)
        if result.returncode == 0:
            continue
        # One "file:line:col: error: code should be clang-formatted" per changed place.
        for line in result.stderr.splitlines():
            match = re.match(r"^(.+?):\d+:\d+: error:", line)
            if match:
                name = pathlib.Path(match.group(1)).resolve().relative_to(root).as_posix()
                if name not in bad:
                    bad.append(name)
    return bad


def main(argv: list[str]) -> int:
    if len(argv) != 2:
        print("usage: check_format.py <project-root>", file=sys.stderr)
        return 2
    tool = find_clang_format()
    if tool is None:
        print("clang-format is not installed: run scripts/setup.sh", file=sys.stderr)
        return 2
    version = subprocess.run([tool, "--version"], capture_output=True, text=True).stdout
    match = re.search(r"version (\d+)\.", version)
    if not match or int(match.group(1)) != MAJOR_VERSION:
        print(f"{tool} is not version {MAJOR_VERSION}: {version.strip()}", file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1]).resolve()
    bad = unformatted(tool, root, sources(root))
    for name in bad:
        print(f"{name}: not formatted (run: {pathlib.Path(tool).name} -i {name})")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
