#!/usr/bin/env python3
"""The FFmpeg-free header check on small trees written for each case."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "ffmpegfree.py")


def run_checker(files, headers):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)
        done = subprocess.run([sys.executable, CHECKER, root] + headers, capture_output=True, text=True)
        return done.returncode, done.stdout


class FFmpegFreeTest(unittest.TestCase):
    def test_cases(self):
        cases = [
            # (name, files, headers, expected return code, text the report must contain)
            ("clean header with system and project includes",
             {"e/api.h": '#include <vector>\n#include "e/types.h"\n', "e/types.h": "#include <cstdint>\n"},
             ["e/api.h"], 0, ""),
            ("direct FFmpeg include",
             {"e/api.h": "#include <libavformat/avformat.h>\n"}, ["e/api.h"], 1, "libavformat/avformat.h"),
            ("FFmpeg two project headers down, quoted form",
             {"e/api.h": '#include "e/mid.h"\n', "e/mid.h": '#include "base/av.h"\n',
              "base/av.h": '#include "libavutil/frame.h"\n'},
             ["e/api.h"], 1, "e/api.h -> e/mid.h -> base/av.h -> libavutil/frame.h"),
            ("relative include resolved beside the header",
             {"e/api.h": '#include "inner.h"\n', "e/inner.h": "#include <libswscale/swscale.h>\n"},
             ["e/api.h"], 1, "libswscale/swscale.h"),
            ("SDL and X11 count as the FFmpeg libraries do",
             {"e/api.h": '#include "e/view.h"\n', "e/view.h": "#include <SDL/SDL.h>\n#include <X11/Xlib.h>\n"},
             ["e/api.h"], 1, "e/api.h -> e/view.h -> X11/Xlib.h"),
            ("include cycle ends",
             {"e/a.h": '#include "e/b.h"\n', "e/b.h": '#include "e/a.h"\n'}, ["e/a.h"], 0, ""),
            ("missing header is an error", {"e/a.h": ""}, ["e/gone.h"], 1, "no such header"),
            ("FFmpeg in a source file beside a clean header is fine",
             {"e/api.h": "#include <string>\n", "e/api.cpp": '#include "e/api.h"\n#include <libavcodec/avcodec.h>\n'},
             ["e/api.h"], 0, ""),
        ]
        for name, files, headers, code, text in cases:
            with self.subTest(name):
                got, out = run_checker(files, headers)
                self.assertEqual(got, code, out)
                self.assertIn(text, out)


if __name__ == "__main__":
    unittest.main()
