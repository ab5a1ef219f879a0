#!/usr/bin/env python3
"""Checks that public headers reach no FFmpeg, SDL or X11 header, through any project header they include.

Usage: ffmpegfree.py ROOT HEADER...   (HEADER paths relative to ROOT)
The main window builds on these headers; the libraries the engine and the player run on stay behind
their sources.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
# FFmpeg's libraries, SDL and X11, by the folder their headers live in.
FFMPEG_DIRS = ("libavcodec/", "libavformat/", "libavutil/", "libavfilter/", "libavdevice/",
               "libswscale/", "libswresample/", "libpostproc/", "SDL/", "X11/")


def includes(root, header):
    with open(os.path.join(root, header), encoding="utf-8", errors="replace") as f:
        text = f.read()
    for kind, name in INCLUDE.findall(text):
        yield kind, name


def resolve(root, current, name):
    """A quoted include as a path under ROOT, or None when it is not one of the project's files."""
    for candidate in (name, os.path.normpath(os.path.join(os.path.dirname(current), name))):
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def find_ffmpeg(root, header):
    """The include chains from HEADER that end at an FFmpeg header."""
    found = []
    seen = set()
    pending = [(header, [header])]
    while pending:
        current, chain = pending.pop()
        if current in seen:
            continue
        seen.add(current)
        for kind, name in includes(root, current):
            if name.startswith(FFMPEG_DIRS):
                found.append(" -> ".join(chain + [name]))
                continue
            if kind == '"':
                target = resolve(root, current, name)
                if target is not None:
                    pending.append((target, chain + [target]))
    return found


def main(argv):
    if len(argv) < 3:
        print("usage: ffmpegfree.py ROOT HEADER...", file=sys.stderr)
        return 2
    root = argv[1]
    failed = False
    for header in argv[2:]:
        if not os.path.isfile(os.path.join(root, header)):
            print(f"{header}: no such header")
            failed = True
            continue
        for chain in find_ffmpeg(root, header):
            print(f"{header} reaches {chain.rsplit(' -> ', 1)[-1]}: {chain}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
