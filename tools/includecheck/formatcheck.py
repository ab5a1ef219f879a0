#!/usr/bin/env python3
"""Checks that every source file of the tree is laid out as the project's .clang-format says.

    formatcheck.py CLANG_FORMAT [ROOT]      (default ROOT: the repository this script lives in)

Prints the files that drift, with clang-format's first complaint for each, and exits with 1 when
there is any. Build trees and hidden folders are left alone, as the include check leaves them.
"""

import os
import subprocess
import sys

from includecheck import source_files

# Files given to one clang-format run: the tree is checked in a few processes, not one per file.
BATCH = 200


def drifting(clang_format, root):
    """(path, first complaint) of every file clang-format would change."""
    paths = [p for p in source_files(root) if not p.endswith(".inc")]
    found = {}
    for start in range(0, len(paths), BATCH):
        batch = paths[start:start + BATCH]
        done = subprocess.run([clang_format, "--dry-run", "--style=file"] + batch, cwd=root,
                              capture_output=True, text=True)
        for line in done.stderr.splitlines():
            path = line.split(":", 1)[0]
            if path in batch and path not in found and ": warning:" in line:
                found[path] = line
        if done.returncode != 0 and not found:
            raise RuntimeError(done.stderr.strip() or "clang-format failed")
    return sorted(found.items())


def main(argv):
    if len(argv) not in (2, 3):
        print("usage: formatcheck.py CLANG_FORMAT [ROOT]", file=sys.stderr)
        return 2
    root = argv[2] if len(argv) == 3 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    problems = drifting(argv[1], root)
    for _, complaint in problems:
        print(complaint)
    if problems:
        print("formatcheck: %d file(s) differ from .clang-format; run clang-format -i on them" % len(problems),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
