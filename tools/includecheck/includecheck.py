#!/usr/bin/env python3
"""Checks every #include of the tree against the order of the libraries.

    includecheck.py [ROOT]      (default: the repository this script lives in)

Prints one line per offending include, "path:line: #include "x": reason", and exits with 1 when there
is any. The rules:

- A module is a folder that builds one library (its family subfolders, testkit/ and backends/ are
  part of it). A module includes headers of its own and of modules before it in MODULE_ORDER, never of
  a later one. tools/ may include anything; nothing outside tools/ includes tools/, except that tests
  and test support may include the skin generator (tools/skingen/), the skin tests' fixture.
- A module named in REACHES includes, of the modules before it, only the ones listed there: the
  engine's base comes after the platform in the order but links only the run-time library.
- Test support (a testkit/ folder, or a *_test_util.h) is included only by tests (*_test.c, *_test.cpp),
  by other test support and by tools, and only the test support of the module itself or of a module
  before it.
- Private headers (*_internal.h, anything under a backends/ folder) are included only from their own
  module; display tests (tests and test support) of later modules may include a backend's factory
  header (backends/<name>/<name>_backend.h) and its test kit (backends/<name>/testkit/).
- Inside a module named in FAMILY_ORDER its family folders obey that order as the modules obey theirs:
  a family includes its own headers and those of the families before it (its tests may reach any).
- Headers of the tree are written "...": an #include <...> naming a top folder of the tree is refused,
  since it would pass unseen by every rule above.
- X11's headers (<X11/...>) are included only inside the X11 backend (platform/win/backends/x11/).
Files outside every module (build trees, the root) are not checked.
"""

import os
import re
import sys

# Lowest first. Entries of one tuple are one module. The frame-hook chain lives in engine/preview and
# the transcoder runs it, so preview comes before the transcoder.
MODULE_ORDER = [
    ("platform/rtl",),
    ("platform/gdi",),
    ("platform/win",),
    ("platform/ui",),
    ("platform/shell",),
    ("engine/base",),
    ("engine/probe",),
    ("engine/preview",),
    ("engine/transcoder",),
    ("engine/component",),
    ("engine/player",),
    ("skin/core",),
    ("skin/menus",),
    ("skin/controls",),
    ("skin/forms",),
    ("skin/boxes",),
    ("skin/shell",),
    ("skin/dialogs",),
    ("app/formats",),
    ("app/main",),
    ("app/presetdialog",),
    ("app/settingsdialog",),
]
# Modules that reach only some of the modules before them (the rest of the earlier ones stay out).
REACHES = {
    "engine/base": ("platform/rtl",),
}
# Family folders of one module, lowest first: the form engine stands on its frame objects and under the
# families that dress a form (layered border, MDI, menu bar, tray).
FAMILY_ORDER = {
    "skin/forms": ("frame", "engine", "layered", "mdi", "menubar", "tray", "testkit"),
}
TOOLS = "tools"
SKIN_GENERATOR = "tools/skingen/"

SOURCE_EXTENSIONS = (".h", ".hpp", ".c", ".cc", ".cpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s*<([^>]+)>')
PROJECT_FOLDERS = ("platform", "engine", "skin", "app", "tools")
X11_BACKEND = "platform/win/backends/x11/"


def module_of(path):
    """(rank, name) of the module holding a root-relative path; tools rank above every module;
    None outside every module."""
    if path == TOOLS or path.startswith(TOOLS + "/"):
        return (len(MODULE_ORDER), TOOLS)
    for rank, folders in enumerate(MODULE_ORDER):
        for folder in folders:
            if path.startswith(folder + "/"):
                return (rank, folders[0] if len(folders) == 1 else "engine base")
    return None


def is_test_support(path):
    return "/testkit/" in path or path.endswith("_test_util.h")


def is_test(path):
    return path.endswith(("_test.cpp", "_test.c", "_test.cc"))


def is_private(path):
    return path.endswith("_internal.h") or "/backends/" in path


def is_display_test_support(path):
    """What a display test of a later folder needs of a window backend: the backend's factory header
    (backends/<name>/<name>_backend.h) and the backend's test kit."""
    parts = path.split("/")
    if "backends" not in parts:
        return False
    rest = parts[parts.index("backends") + 1:]
    return (len(rest) == 2 and rest[1] == rest[0] + "_backend.h") or (len(rest) >= 3 and rest[1] == "testkit")


def resolve(root, includer, target):
    """The root-relative path an include names: as written when it starts with a top folder of the
    tree, else relative to the including file when that file exists; None for anything else."""
    if module_of(target) is not None:
        return target
    local = os.path.normpath(os.path.join(os.path.dirname(includer), target))
    if os.path.isfile(os.path.join(root, local)):
        return local.replace(os.sep, "/")
    return None


def family_of(path, module):
    """(rank, folder) of the family of FAMILY_ORDER[module] holding path, or None."""
    families = FAMILY_ORDER.get(module, ())
    rest = path[len(module) + 1:].split("/")
    if len(rest) > 1 and rest[0] in families:
        return (families.index(rest[0]), "%s/%s" % (module, rest[0]))
    return None


def check_include(includer, target):
    """The reason an include breaks the rules, or None."""
    source = module_of(includer)
    header = module_of(target)
    if source is None or header is None:
        return None
    source_rank, source_name = source
    header_rank, header_name = header
    if source_name == TOOLS:
        return None
    if header_name == TOOLS:
        # The skin generator is the fixture of the skin tests: tests and test support may use it.
        if target.startswith(SKIN_GENERATOR) and (is_test(includer) or is_test_support(includer)):
            return None
        return "%s must not include tools" % source_name
    if header_rank > source_rank:
        return "%s comes before %s and must not include it" % (source_name, header_name)
    if header_rank < source_rank and source_name in REACHES and header_name not in REACHES[source_name]:
        return "%s reaches only %s" % (source_name, ", ".join(REACHES[source_name]))
    if (is_private(target) and header_rank != source_rank
            and not (is_display_test_support(target) and (is_test(includer) or is_test_support(includer)))):
        return "private header of %s" % header_name
    if is_test_support(target) and not (is_test(includer) or is_test_support(includer)):
        return "test support of %s outside the tests" % header_name
    if header_rank == source_rank and not is_test(includer):
        source_family = family_of(includer, source_name)
        header_family = family_of(target, header_name)
        if source_family and header_family and header_family[0] > source_family[0]:
            return "%s comes before %s and must not include it" % (source_family[1], header_family[1])
    return None


def check_system_include(includer, target):
    """The reason an #include <...> breaks the rules, or None."""
    if target.split("/")[0] in PROJECT_FOLDERS:
        return 'a header of the tree is written "%s"' % target
    if target.startswith("X11/") and not includer.startswith(X11_BACKEND):
        return "X11 headers belong to %s" % X11_BACKEND.rstrip("/")
    return None


def source_files(root):
    for folder, subfolders, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        if relative == ".":
            # Build trees and hidden folders hold no sources of ours.
            subfolders[:] = [d for d in subfolders if not d.startswith((".", "build"))]
        subfolders.sort()
        for name in sorted(files):
            if name.endswith(SOURCE_EXTENSIONS):
                path = os.path.normpath(os.path.join(relative, name)).replace(os.sep, "/")
                yield path


def check_tree(root):
    """Every offending include as (path, line, included text, reason), in path and line order."""
    problems = []
    for path in source_files(root):
        if module_of(path) is None:
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                system = SYSTEM_INCLUDE.match(line)
                if system:
                    reason = check_system_include(path, system.group(1))
                    if reason:
                        problems.append((path, number, "<%s>" % system.group(1), reason))
                    continue
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(root, path, match.group(1))
                if target is None:
                    continue
                reason = check_include(path, target)
                if reason:
                    problems.append((path, number, '"%s"' % match.group(1), reason))
    return problems


def main(argv):
    if len(argv) > 2:
        print("usage: includecheck.py [ROOT]", file=sys.stderr)
        return 2
    root = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    if not os.path.isdir(root):
        print("includecheck: no folder %s" % root, file=sys.stderr)
        return 2
    problems = check_tree(root)
    for path, number, text, reason in problems:
        print("%s:%d: #include %s: %s" % (path, number, text, reason))
    if problems:
        print("includecheck: %d include(s) against the library order" % len(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
