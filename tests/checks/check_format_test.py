#!/usr/bin/env python3
"""Tests of check_format.py on a small tree with the project's own .clang-format."""
import pathlib
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import check_format  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]


class FormatCheckTest(unittest.TestCase):
    def setUp(self):
        self.tool = check_format.find_clang_format()
        self.assertIsNotNone(self.tool, "clang-format is not installed: run scripts/setup.sh")
        self.root = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        shutil.copy(ROOT / ".clang-format", self.root / ".clang-format")

    def write(self, name: str, text: str) -> None:
        path = self.root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def test_only_the_files_that_differ_are_named(self):
        self.write("src/wolf/Good.cpp", "int Twice(int x) { return 2 * x; }\n")
        self.write("src/wolf/Bad.cpp", "int  Twice(int x){return 2*x;}\n")
        self.write("tests/wolf/Bad.h", "class T {\npublic:\n  int   x;\n};\n")
        self.write("src/wolf/notes.txt", "int  not C++ at all\n")
        files = check_format.sources(self.root)
        self.assertEqual([p.relative_to(self.root).as_posix() for p in files],
                         ["src/wolf/Bad.cpp", "src/wolf/Good.cpp", "tests/wolf/Bad.h"])
        self.assertEqual(check_format.unformatted(self.tool, self.root, files),
                         ["src/wolf/Bad.cpp", "tests/wolf/Bad.h"])

    def test_a_formatted_tree_passes(self):
        self.write("bench/wolf/Bench.cpp", "#include <cstdint>\n\nint32_t Zero() { return 0; }\n")
        self.assertEqual(check_format.main(["check_format.py", str(self.root)]), 0)


if __name__ == "__main__":
    unittest.main()
