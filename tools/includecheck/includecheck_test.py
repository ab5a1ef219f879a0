#!/usr/bin/env python3
"""The include checker on small trees written for each case."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "includecheck.py")


def write_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)


def run_checker(files):
    with tempfile.TemporaryDirectory() as root:
        write_tree(root, files)
        done = subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)
        return done.returncode, done.stdout.splitlines()


# A tree that keeps every rule: lower includes, own private headers and test support, tests using the
# test support of lower modules, family subfolders, the engine base including the run-time library,
# relative includes, tools including anything, skin tests using the skin generator, a display test using
# a backend's factory and test kit, and build trees left alone.
GOOD_TREE = {
    "platform/rtl/strings.h": "#pragma once\n#include <string>\n",
    "platform/rtl/testkit/rtl_test_util.h": '#include "platform/rtl/strings.h"\n',
    "platform/win/win.h": '#include "platform/rtl/strings.h"\n',
    "platform/win/window_internal.h": '#include "platform/win/win.h"\n',
    "platform/win/window.cpp": '#include "platform/win/window_internal.h"\n',
    "platform/win/backends/x11/x11.cpp": '#include "platform/win/window_internal.h"\n',
    "platform/win/testkit/testkit.h": '#include "platform/win/backends/x11/x11.h"\n',
    "platform/ui/core/control.h": '#include "platform/win/win.h"\n#include "platform/ui/graphics/canvas.h"\n',
    "platform/ui/graphics/canvas.h": '#include "platform/rtl/strings.h"\n',
    "engine/base/loader.cpp": '#include "engine/base/log.h"\n#include "platform/rtl/strings.h"\n',
    "engine/base/log_test.cpp": '#include "platform/rtl/testkit/rtl_test_util.h"\n',
    "engine/base/log.h": "#pragma once\n",
    "engine/transcoder/run.cpp": '#include "engine/preview/framehook.h"\n#include "options.h"\n',
    "engine/transcoder/options.h": "#pragma once\n",
    "skin/core/bsmessages.h": '#include "platform/win/win.h"\n',
    "skin/forms/engine/skinform.cpp": '#include "skin/core/bsmessages.h"\n#include "skin/forms/frame/objects.h"\n',
    "skin/forms/frame/objects.h": "#pragma once\n",
    "skin/forms/frame/objects_test.cpp": '#include "skin/forms/engine/skinform.h"\n',
    "skin/forms/tray/tray.cpp": '#include "skin/forms/engine/skinform.h"\n#include "skin/forms/frame/objects.h"\n',
    "skin/forms/engine/skinform_test.cpp": '#include "platform/win/testkit/testkit.h"\n'
                                           '#include "platform/rtl/testkit/rtl_test_util.h"\n',
    "app/main/program/main.cpp": '#include "app/formats/formats.h"\n#include "skin/dialogs/box.h"\n',
    "tools/skingen/skingen.cpp": '#include "app/main/mainform.h"\n#include "platform/win/window_internal.h"\n'
                                 '#include "platform/ui/testkit/uitestkit.h"\n',
    "skin/controls/testkit/skintestkit.h": '#include "tools/skingen/skingen.h"\n',
    "skin/controls/base/control_test.cpp": '#include "tools/skingen/skingen.h"\n',
    "skin/controls/display_test.cpp": '#include "platform/win/backends/x11/x11_backend.h"\n'
                                      '#include "platform/win/backends/x11/testkit/xvfb.h"\n',
    "build/default/generated.cpp": '#include "app/main/mainform.h"\n',
    "platform/win/backends/x11/x11_display.cpp": "#include <X11/Xlib.h>\n#include <SDL/SDL.h>\n",
}


class IncludeCheckTest(unittest.TestCase):
    def test_a_tree_in_order_passes(self):
        code, lines = run_checker(GOOD_TREE)
        self.assertEqual(lines, [])
        self.assertEqual(code, 0)

    def test_each_wrong_include_fails_naming_file_and_line(self):
        cases = [
            # (file, text, expected line of the report)
            ("platform/gdi/dc.cpp", '#include "platform/gdi/dc.h"\n#include "platform/ui/core/form.h"\n',
             'platform/gdi/dc.cpp:2: #include "platform/ui/core/form.h": platform/gdi comes before '
             'platform/ui and must not include it'),
            ("skin/core/bsskindata.cpp", '\n\n#include "skin/forms/engine/skinform.h"\n',
             'skin/core/bsskindata.cpp:3: #include "skin/forms/engine/skinform.h": skin/core comes before '
             'skin/forms and must not include it'),
            ("skin/boxes/edits/edit.cpp", '#include "app/formats/formats.h"\n',
             'skin/boxes/edits/edit.cpp:1: #include "app/formats/formats.h": skin/boxes comes before '
             'app/formats and must not include it'),
            ("engine/base/util.cpp", '#include "engine/probe/avprobe.h"\n',
             'engine/base/util.cpp:1: #include "engine/probe/avprobe.h": engine/base comes before '
             'engine/probe and must not include it'),
            ("engine/base/util.cpp", '#include "platform/win/win.h"\n',
             'engine/base/util.cpp:1: #include "platform/win/win.h": engine/base reaches only platform/rtl'),
            ("engine/base/util_test.cpp", '#include "platform/win/testkit/testkit.h"\n',
             'engine/base/util_test.cpp:1: #include "platform/win/testkit/testkit.h": engine/base reaches '
             'only platform/rtl'),
            ("engine/preview/framehook.cpp", '#include "engine/transcoder/transcoder.h"\n',
             'engine/preview/framehook.cpp:1: #include "engine/transcoder/transcoder.h": engine/preview '
             'comes before engine/transcoder and must not include it'),
            ("app/main/mainform.cpp", '#include "tools/skingen/skingen.h"\n',
             'app/main/mainform.cpp:1: #include "tools/skingen/skingen.h": app/main must not include tools'),
            ("skin/controls/base/control.cpp", '#include "tools/skingen/skingen.h"\n',
             'skin/controls/base/control.cpp:1: #include "tools/skingen/skingen.h": skin/controls must not '
             'include tools'),
            ("skin/controls/base/control_test.cpp", '#include "tools/bench/bench.h"\n',
             'skin/controls/base/control_test.cpp:1: #include "tools/bench/bench.h": skin/controls must not '
             'include tools'),
            ("skin/controls/display.cpp", '#include "platform/win/backends/x11/x11_backend.h"\n',
             'skin/controls/display.cpp:1: #include "platform/win/backends/x11/x11_backend.h": private header '
             'of platform/win'),
            ("skin/controls/display_test.cpp", '#include "platform/win/backends/x11/x11_events.h"\n',
             'skin/controls/display_test.cpp:1: #include "platform/win/backends/x11/x11_events.h": private '
             'header of platform/win'),
            ("platform/ui/core/screen.cpp", '#  include "platform/win/window_internal.h"\n',
             'platform/ui/core/screen.cpp:1: #include "platform/win/window_internal.h": private header of '
             'platform/win'),
            ("skin/core/bsdwm.cpp", '#include "platform/win/backends/x11/x11.h"\n',
             'skin/core/bsdwm.cpp:1: #include "platform/win/backends/x11/x11.h": private header of '
             'platform/win'),
            ("skin/core/bsdwm_test.cpp", '#include "platform/win/window_internal.h"\n',
             'skin/core/bsdwm_test.cpp:1: #include "platform/win/window_internal.h": private header of '
             'platform/win'),
            ("skin/core/bsbitmap.cpp", '#include "skin/core/testkit/bsbitmaptestkit.h"\n',
             'skin/core/bsbitmap.cpp:1: #include "skin/core/testkit/bsbitmaptestkit.h": test support of '
             'skin/core outside the tests'),
            ("platform/win/window_test.cpp", '#include "platform/ui/testkit/uitestkit.h"\n',
             'platform/win/window_test.cpp:1: #include "platform/ui/testkit/uitestkit.h": platform/win '
             'comes before platform/ui and must not include it'),
            ("engine/transcoder/testkit/media.h", '#include "engine/component/ffmpegtask.h"\n',
             'engine/transcoder/testkit/media.h:1: #include "engine/component/ffmpegtask.h": '
             'engine/transcoder comes before engine/component and must not include it'),
        ]
        for path, text, expected in cases + self.SYSTEM_CASES:
            with self.subTest(path=path, text=text):
                tree = dict(GOOD_TREE)
                tree[path] = text
                code, lines = run_checker(tree)
                self.assertEqual(lines, [expected])
                self.assertEqual(code, 1)

    # Includes in <...>: a header of the tree hidden from the rules above, X11 outside its backend.
    SYSTEM_CASES = [
        ("platform/gdi/dc.cpp", "#include <platform/ui/core/form.h>\n",
         'platform/gdi/dc.cpp:1: #include <platform/ui/core/form.h>: a header of the tree is written '
         '"platform/ui/core/form.h"'),
        ("skin/forms/frame/objects.cpp", '#include "skin/forms/engine/skinform.h"\n',
         'skin/forms/frame/objects.cpp:1: #include "skin/forms/engine/skinform.h": skin/forms/frame comes '
         'before skin/forms/engine and must not include it'),
        ("platform/win/window.cpp", "#include <X11/Xlib.h>\n",
         "platform/win/window.cpp:1: #include <X11/Xlib.h>: X11 headers belong to platform/win/backends/x11"),
    ]

    def test_a_relative_include_is_checked_where_it_lands(self):
        tree = dict(GOOD_TREE)
        tree["skin/core/bsdraw.cpp"] = '#include "../forms/engine/skinform.h"\n'
        tree["skin/forms/engine/skinform.h"] = "#pragma once\n"
        code, lines = run_checker(tree)
        self.assertEqual(code, 1)
        self.assertEqual(lines, ['skin/core/bsdraw.cpp:1: #include "../forms/engine/skinform.h": skin/core '
                                 'comes before skin/forms and must not include it'])

    def test_every_offence_is_reported_in_file_and_line_order(self):
        tree = dict(GOOD_TREE)
        tree["platform/rtl/b.cpp"] = '#include "platform/gdi/dc.h"\n\n#include "engine/base/log.h"\n'
        tree["platform/rtl/a.cpp"] = '#include "skin/core/bsmessages.h"\n'
        code, lines = run_checker(tree)
        self.assertEqual(code, 1)
        self.assertEqual([line.split(": ")[0] for line in lines],
                         ["platform/rtl/a.cpp:1", "platform/rtl/b.cpp:1", "platform/rtl/b.cpp:3"])


if __name__ == "__main__":
    unittest.main()
