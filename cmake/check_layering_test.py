"""The layering checker on a tiny made-up tree: the good tree passes, and each
kind of violation is caught with its file and line."""

import io
import os
import tempfile
import unittest

import check_layering

# folder -> {file: text}; the targets of the tree are in MANIFEST.
GOOD_TREE = {
    "src/core1": {
        "a.h": "#pragma once\n#include <string>\n",
        "a.cpp": '#include "a.h"\n\n#include "detail/d.h"\n#include <vector>\n',
        "detail/d.h": "#pragma once\n",
        "Fwin.h": '#pragma once\n#include "core1/a.h"\n\n#include <QWidget>\n',
        "Fwin.cpp": '#include "Fwin.h"\n#include "app/host.h"\n#include <QLabel>\n',
        "tests/a_test.cpp": '#include "core1/a.h"\n#include "other/b.h"\n#include <QTest>\n',
    },
    "src/other": {
        "b.h": "#pragma once\n",
        "b.cpp": '#include "b.h"\n',
    },
    "src/app": {
        "context.h": "#pragma once\n#include <memory>\n",
        "context.cpp": '#include "context.h"\n',
        "host.h": '#pragma once\n#include "context.h"\n#include <QObject>\n',
        "host.cpp": '#include "host.h"\n',
        "Fmain.h": '#pragma once\n#include "core1/Fwin.h"\n',
        "Fmain.cpp": '#include "Fmain.h"\n',
        "helpers.cpp": '#include "Fmain.h"\n#include <QApplication>\n',
    },
    "bench": {
        "window_bench.cpp": '#include "app/Fmain.h"\n',
    },
}

MANIFEST = [
    ("vellum_core1", "src/core1", ["a.cpp", "a.h"], []),
    ("vellum_core1_windows", "src/core1", ["Fwin.cpp", "Fwin.h"], ["vellum_core1", "vellum_host", "Qt6::Widgets"]),
    ("core1_tests", "src/core1", ["tests/a_test.cpp"], ["vellum_core1", "vellum_other", "GTest::gtest"]),
    ("vellum_other", "src/other", ["b.cpp"], []),
    ("vellum_context", "src/app", ["context.cpp", "context.h"], ["vellum_core1"]),
    ("vellum_host", "src/app", ["host.cpp", "host.h"], ["vellum_context", "Qt6::Widgets"]),
    ("vellum_app", "src/app", ["Fmain.cpp", "helpers.cpp"], ["vellum_core1_windows", "vellum_host"]),
    ("window_bench", "bench", ["window_bench.cpp"], ["vellum_app"]),
]


class LayeringTree:
    """The good tree in a temporary directory, with edits on top."""

    def __init__(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = self.dir.name
        for folder, files in GOOD_TREE.items():
            for name, text in files.items():
                self.write(f"{folder}/{name}", text)
        self.manifest = os.path.join(self.root, "layering-manifest.txt")
        with open(self.manifest, "w", encoding="utf-8") as out:
            for target, folder, sources, links in MANIFEST:
                absolute = [os.path.join(self.root, folder, source) for source in sources]
                kind = "STATIC_LIBRARY" if target.startswith("vellum_") else "EXECUTABLE"
                out.write(f"{target}|{kind}|{os.path.join(self.root, folder)}|{','.join(absolute)}|"
                          f"{','.join(links)}\n")
        self.allow = None

    def write(self, relative, text):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as out:
            out.write(text)

    def append(self, relative, line):
        with open(os.path.join(self.root, relative), "a", encoding="utf-8") as out:
            out.write(line + "\n")

    def allow_list(self, text):
        self.allow = os.path.join(self.root, "allow.txt")
        with open(self.allow, "w", encoding="utf-8") as out:
            out.write(text)

    def check(self):
        out = io.StringIO()
        status = check_layering.run(self.root, self.manifest, self.allow, out)
        return status, out.getvalue()


class CheckLayeringTest(unittest.TestCase):
    def setUp(self):
        self.tree = LayeringTree()
        self.addCleanup(self.tree.dir.cleanup)

    def assertCaught(self, where, rule, count=1):
        status, text = self.tree.check()
        self.assertEqual(status, 1, text)
        self.assertIn(where, text)
        self.assertIn(f"[{rule}]", text)
        self.assertIn(f"{count} violations", text)
        return text

    def test_the_good_tree_passes(self):
        status, text = self.tree.check()
        self.assertEqual(status, 0, text)
        self.assertIn("0 violations", text)

    def test_a_qt_header_in_a_core_file(self):
        self.tree.append("src/core1/a.cpp", "#include <QString>")
        self.assertCaught("src/core1/a.cpp:5: includes QString", "qt-in-core")

    def test_a_window_header_in_a_core_header(self):
        self.tree.append("src/core1/a.h", '#include "core1/Fwin.h"')
        text = self.assertCaught("src/core1/a.h:3: includes core1/Fwin.h", "window-in-core", count=2)
        # The core library does not link its window library either.
        self.assertIn("vellum_core1 does not link vellum_core1_windows [unlinked]", text)

    def test_the_main_window_in_another_subsystems_window(self):
        self.tree.append("src/core1/Fwin.cpp", '#include "app/Fmain.h"')
        status, text = self.tree.check()
        self.assertEqual(status, 1, text)
        self.assertIn("src/core1/Fwin.cpp:4: includes app/Fmain.h", text)
        self.assertIn("[main-window]", text)
        # The window library does not link the program either.
        self.assertIn("vellum_core1_windows does not link vellum_app [unlinked]", text)

    def test_the_program_context_is_core_even_in_the_programs_folder(self):
        self.tree.append("src/app/context.cpp", "#include <QString>")
        self.assertCaught("src/app/context.cpp:2: includes QString", "qt-in-core")

    def test_a_header_of_a_library_that_is_not_linked(self):
        self.tree.append("src/core1/a.cpp", '#include "other/b.h"')
        self.assertCaught("src/core1/a.cpp:5: includes other/b.h: vellum_core1 does not link vellum_other",
                          "unlinked")

    def test_a_header_of_the_window_library_from_a_core_user(self):
        # core1_tests links the core library only: the window header is not its to use.
        self.tree.append("src/core1/tests/a_test.cpp", '#include "core1/Fwin.h"')
        self.assertCaught("src/core1/tests/a_test.cpp:4: includes core1/Fwin.h", "unlinked")

    def test_the_allow_list_admits_what_it_names_and_only_that(self):
        self.tree.append("src/core1/a.cpp", '#include "other/b.h"')
        self.tree.append("src/core1/a.cpp", "#include <QString>")
        self.tree.allow_list("# known\nunlinked src/core1/a.cpp other/b.h\nqt-in-core src/core1/Fwin.cpp\n")
        status, text = self.tree.check()
        self.assertEqual(status, 1, text)
        self.assertNotIn("other/b.h", text.split("layering:")[0].split("note:")[0])
        self.assertIn("src/core1/a.cpp:6: includes QString", text)
        self.assertIn("1 allowed by the list", text)
        self.assertIn("note: allow-list entry no longer needed: qt-in-core src/core1/Fwin.cpp", text)

    def test_the_program_tests_and_benchmarks_may_use_qt_and_the_main_window(self):
        self.tree.append("src/app/helpers.cpp", "#include <QWidget>")
        self.tree.append("bench/window_bench.cpp", "#include <QApplication>")
        status, text = self.tree.check()
        self.assertEqual(status, 0, text)


if __name__ == "__main__":
    unittest.main()
