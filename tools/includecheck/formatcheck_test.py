#!/usr/bin/env python3
"""The format check on a small tree: a file laid out by the style passes, one that drifts is named."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from includecheck_test import write_tree

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "formatcheck.py")
STYLE = os.path.join(HERE, "..", "..", ".clang-format")
CLANG_FORMAT = sys.argv.pop(1) if len(sys.argv) > 1 else "clang-format"


def run_checker(files):
    with tempfile.TemporaryDirectory() as root:
        shutil.copy(STYLE, os.path.join(root, ".clang-format"))
        write_tree(root, files)
        done = subprocess.run([sys.executable, CHECKER, CLANG_FORMAT, root], capture_output=True, text=True)
        return done.returncode, done.stdout.splitlines()


GOOD = {
    "platform/rtl/a.h": "#pragma once\n\nint Twice(int X);\n",
    "platform/rtl/a.cpp": '#include "platform/rtl/a.h"\n\nint Twice(int X) {\n  return 2 * X;\n}\n',
    # Build trees are not the project's sources.
    "build/default/gen.cpp": "int   Odd( ){return 1;}\n",
}


class FormatCheckTest(unittest.TestCase):
    def test_a_tree_in_the_style_passes(self):
        self.assertEqual(run_checker(GOOD), (0, []))

    def test_each_drifting_file_is_named_once(self):
        code, lines = run_checker({**GOOD,
                                   "skin/core/b.cpp": "int   Odd( ){return 1;}\nint  Even( ) {return 2;}\n",
                                   "app/main/c.h": "#pragma once\nint F(int *P);\n"})
        self.assertEqual((code, [line.split(":")[0] for line in lines]), (1, ["app/main/c.h", "skin/core/b.cpp"]))


if __name__ == "__main__":
    unittest.main()
