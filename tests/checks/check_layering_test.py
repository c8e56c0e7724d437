#!/usr/bin/env python3
"""Tests of check_layering.py on small source trees built in a temporary folder."""
import contextlib
import io
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import check_layering  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]


def build_order() -> list[str]:
    """QF_FOLDERS as cmake/QfTargets.cmake sets it: the order the real tree is checked in."""
    text = (ROOT / "cmake" / "QfTargets.cmake").read_text()
    body = text[text.index("set(QF_FOLDERS") + len("set(QF_FOLDERS"):]
    return body[:body.index(")")].split()


class LayeringCheckTest(unittest.TestCase):
    def tree(self, files: dict[str, str]) -> pathlib.Path:
        root = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        for name, text in files.items():
            path = root / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        return root

    def test_the_order_given_decides_what_is_later(self):
        # platform/gui is built after the conversion's subsystems, so they may not use it.
        src = self.tree({"unicode/Uni.h": '#include "platform/gui/Forms.h"\n', "platform/gui/Forms.h": ""})
        self.assertEqual(check_layering.violations(src, ["platform/base", "platform/gui", "unicode"]), [])
        self.assertEqual(check_layering.violations(src, ["platform/base", "unicode", "platform/gui"]),
                         ["unicode/Uni.h:1: unicode includes platform/gui/Forms.h (platform/gui)"])

    def test_the_platform_layer_includes_no_subsystem_even_an_earlier_one(self):
        src = self.tree({"platform/gui/Forms.cpp": '#include "platform/base/Types.h"\n#include "unicode/Uni.h"\n'})
        self.assertEqual(check_layering.violations(src, ["platform/base", "unicode", "platform/gui"]),
                         ["platform/gui/Forms.cpp:2: platform/gui includes unicode/Uni.h (unicode)"])

    def test_a_subfolder_that_is_a_library_of_its_own_has_its_own_place(self):
        src = self.tree({
            "imaging/png/Png.cpp": '#include "imaging/Resample.h"\n',
            "imaging/Resample.cpp": '#include "imaging/png/Png.h"\n',
        })
        self.assertEqual(check_layering.violations(src, ["imaging", "xml", "imaging/png"]),
                         ["imaging/Resample.cpp:1: imaging includes imaging/png/Png.h (imaging/png)"])

    def test_the_rest_of_a_folder_does_not_include_its_wing(self):
        src = self.tree({
            "richtext/layout/Lines.cpp": '#include "richtext/layout/print/Items.h"\n',
            "richtext/layout/view/Pane.cpp": '#include "richtext/layout/print/Items.h"\n',
            "richtext/layout/print/Pages.cpp": '#include "richtext/layout/print/Items.h"\n',
            "richtext/table/Print.h": '#include "richtext/layout/print/Items.h"\n',
        })
        order = ["richtext/layout", "richtext/table"]
        self.assertEqual(check_layering.violations(src, order, ["richtext/layout/print"]), [
            "richtext/layout/Lines.cpp:1: richtext/layout includes richtext/layout/print/Items.h "
            "(its wing richtext/layout/print)",
            "richtext/layout/view/Pane.cpp:1: richtext/layout includes richtext/layout/print/Items.h "
            "(its wing richtext/layout/print)",
        ])

    def test_naked_new_and_delete_outside_the_platform_layer(self):
        src = self.tree({
            "wolf/Writer.cpp": "auto* p = new Item(1);\n// new Item in a comment\ndelete p;\n",
            "platform/base/Lists.cpp": "auto* q = new Item(2);\n",
        })
        self.assertEqual(check_layering.violations(src, ["platform/base", "wolf"]),
                         ["wolf/Writer.cpp:1: naked new/delete: auto* p = new Item(1);",
                          "wolf/Writer.cpp:3: naked new/delete: delete p;"])

    def test_the_conversion_and_the_formats_never_reach_the_screen_or_the_editor(self):
        # The rich view on screen and its editor stand on the GUI layer: nothing that the
        # conversion or the interchange formats link may include them.
        lower = ["richtext/model", "richtext/layout", "richtext/table", "richtext/interchange", "convert"]
        files = {f"{folder}/Lower.cpp": '#include "richtext/screen/View.h"\n#include "richtext/edit/Editor.h"\n'
                 for folder in lower}
        files["richtext/screen/View.h"] = files["richtext/edit/Editor.h"] = ""
        files["richtext/edit/Uses.cpp"] = '#include "richtext/screen/View.h"\n#include "richtext/interchange/Rtf.h"\n'
        files["richtext/interchange/Rtf.h"] = ""
        expected = []
        for folder in sorted(lower):
            expected += [f"{folder}/Lower.cpp:1: {folder} includes richtext/screen/View.h (richtext/screen)",
                         f"{folder}/Lower.cpp:2: {folder} includes richtext/edit/Editor.h (richtext/edit)"]
        self.assertEqual(check_layering.violations(self.tree(files), build_order()), expected)

    def test_a_call_without_the_order_is_a_usage_error(self):
        with contextlib.redirect_stderr(io.StringIO()) as err:
            self.assertEqual(check_layering.main(["check_layering.py", "src"]), 2)
        self.assertIn("usage", err.getvalue())


if __name__ == "__main__":
    unittest.main()
