#!/usr/bin/env python3
"""Turns the output-format tables of the source document into the C++ tables of app/formats.

Usage:
    python3 tools/tablegen/tablegen.py [--out FILE] [--checksum] DOCUMENT...

Each DOCUMENT is a Markdown file or a folder of Markdown files; together they must hold the format
catalogue, the preset value lists and rows, the format parameter rows with their expansion rules,
the table of the fields each parameter row assigns, and the open-dialog filter entries. The tables
are found by their shape, not by their position. Every count the text states is checked; any
mismatch stops the run without writing.

--out FILE      where to write the generated C++ (default: app/formats/formattables_data.cpp
                beside this script's repository)
--checksum      print the checksum of the canonical serialisation (the value the table test
                expects) and write nothing

Only the Python standard library is used. The build never runs this script.
"""

import argparse
import os
import re
import sys
import unicodedata


class ExtractError(Exception):
    pass


def fail(msg):
    raise ExtractError(msg)


def check(cond, msg):
    if not cond:
        fail(msg)


# --------------------------------------------------------------------------------------------
# Reading

def read_documents(paths):
    lines = []
    for p in paths:
        if os.path.isdir(p):
            names = sorted(n for n in os.listdir(p) if n.endswith(".md"))
            files = [os.path.join(p, n) for n in names]
        else:
            files = [p]
        for f in files:
            with open(f, encoding="utf-8") as fh:
                lines.extend(fh.read().split("\n"))
    check(lines, "no input text")
    return lines


def split_row(line):
    """Cells of a Markdown table row, outer blanks removed (quoted texts keep their own blanks)."""
    inner = line.strip()
    check(inner.startswith("|") and inner.endswith("|"), "not a table row: " + line)
    return [c.strip() for c in inner[1:-1].split("|")]


def is_separator(line):
    return re.fullmatch(r"\|(\s*-+\s*\|)+", line.strip()) is not None


def table_at(lines, header_index):
    """Rows of the table whose header line is lines[header_index]."""
    i = header_index + 1
    check(i < len(lines) and is_separator(lines[i]), "table without separator at line %d" % header_index)
    rows = []
    i += 1
    while i < len(lines) and lines[i].startswith("|"):
        rows.append(split_row(lines[i]))
        i += 1
    return rows


def find_lines(lines, pattern):
    rx = re.compile(pattern)
    return [i for i, l in enumerate(lines) if rx.search(l)]


def find_one(lines, pattern, what):
    found = find_lines(lines, pattern)
    check(len(found) == 1, "expected exactly one %s, found %d" % (what, len(found)))
    return found[0]


def unquote(cell):
    m = re.fullmatch(r'"(.*)"', cell)
    check(m is not None, "not a quoted text: " + cell)
    return m.group(1)


def parse_codes(text):
    """'200 to 212, 708 and 2008', '200–212, 708' -> list of ints in the given order."""
    text = text.replace("\u2013", " to ")
    out = []
    for part in re.split(r",\s*|\s+and\s+", text.strip()):
        part = part.strip()
        if not part:
            continue
        m = re.fullmatch(r"(\d+)\s+to\s+(\d+)", part)
        if m:
            lo, hi = int(m.group(1)), int(m.group(2))
            check(lo <= hi, "bad range " + part)
            out.extend(range(lo, hi + 1))
        elif re.fullmatch(r"\d+", part):
            out.append(int(part))
        else:
            fail("not a code list: " + text)
    return out


# --------------------------------------------------------------------------------------------
# Catalogue

def extract_catalogue(lines):
    fam_hdr = find_one(lines, r"^\| CategoryCode \| Family \| Captions \| Category item", "family table")
    families = {}
    category_items = {}
    for cells in table_at(lines, fam_hdr):
        check(len(cells) == 4, "family row: %r" % cells)
        code, count = int(cells[0]), int(cells[2])
        families[code] = count
        if cells[3] != "none":
            m = re.fullmatch(r'(\d+), "(.*)"', cells[3])
            check(m is not None, "category item: " + cells[3])
            category_items[int(m.group(1))] = (code, m.group(2))
    check(sorted(families) == list(range(24)), "families are not 0..23")

    captions = {}
    for i in find_lines(lines, r"^\*CategoryCode \d+ "):
        m = re.fullmatch(r"\*CategoryCode (\d+) \(.*\): (\d+) captions, format codes (\d+) to (\d+)\*",
                         lines[i].strip())
        check(m is not None, "caption heading: " + lines[i])
        cat, count, first, last = (int(m.group(k)) for k in range(1, 5))
        j = i + 1
        while not lines[j].startswith("|"):
            j += 1
        check(split_row(lines[j]) == ["Position", "Format code", "Caption"], "caption table header")
        rows = table_at(lines, j)
        check(cat not in captions, "family %d listed twice" % cat)
        caps = []
        for pos, cells in enumerate(rows):
            check(len(cells) == 3 and int(cells[0]) == pos, "caption position in family %d" % cat)
            check(int(cells[1]) == 100 * (cat + 1) + pos, "format code in family %d" % cat)
            caps.append(unquote(cells[2]))
        check(len(caps) == count == families[cat], "caption count of family %d" % cat)
        check(first == 100 * (cat + 1) and last == first + count - 1, "code range of family %d" % cat)
        captions[cat] = caps
    check(sorted(captions) == list(range(24)), "caption tables are not 0..23")

    # The category position map; every copy in the text must agree, and with the family table.
    maps = []
    for i in find_lines(lines, r"^\| Category position \| 0 \|"):
        positions = [int(c) for c in split_row(lines[i])[1:]]
        rows = {}
        j = i + 2
        while j < len(lines) and lines[j].startswith("|"):
            cells = split_row(lines[j])
            rows[cells[0].strip("`")] = cells[1:]
            j += 1
        check(positions == list(range(15)), "category positions")
        maps.append(rows)
    check(maps, "no category position map")
    pos_map = [int(c) for c in maps[0]["CategoryCode"]]
    for other in maps:
        check([int(c) for c in other["CategoryCode"]] == pos_map, "category position maps disagree")
        if "Caption" in other:
            check([unquote(c) for c in other["Caption"]] == [category_items[p][1] for p in range(15)],
                  "category captions disagree")
    check(sorted(category_items) == list(range(15)), "category items are not positions 0..14")
    for p in range(15):
        check(category_items[p][0] == pos_map[p], "category item %d disagrees with the map" % p)
    cat_captions = [category_items[p][1] for p in range(15)]
    return captions, pos_map, cat_captions


# --------------------------------------------------------------------------------------------
# Preset lists and rows

SLOT_OF_KIND = {"FS": "psFrameSize", "VB": "psVideoBitrate", "AB": "psAudioBitrate",
                "AM": "psAspect", "FR": "psFrameRate", "SR": "psSampleRate"}
SLOT_ORDER = ["FS", "VB", "AB", "AM", "FR", "SR"]  # the PresetIndexCode pair order


def extract_presets(lines, catalogue_codes):
    lists = {}
    order = []
    for i in find_lines(lines, r"^- (FS|VB|FR|AB|SR|AM)\d+ \("):
        m = re.fullmatch(r"- ((FS|VB|FR|AB|SR|AM)\d+) \((\d+) entr(?:y|ies)\): (.*)", lines[i].rstrip())
        check(m is not None, "preset list line: " + lines[i])
        name, kind, count, rest = m.group(1), m.group(2), int(m.group(3)), m.group(4)
        entries = re.findall(r'(\d+) "([^"]*)"', rest)
        check(", ".join('%s "%s"' % e for e in entries) == rest, "preset list %s is not fully read" % name)
        check([int(e[0]) for e in entries] == list(range(count)), "positions of preset list " + name)
        check(name not in lists, "preset list %s twice" % name)
        lists[name] = (kind, [e[1] for e in entries])
        order.append(name)
    # Lists in kind order, numbered as the text numbers them.
    names = sorted(order, key=lambda n: (SLOT_ORDER.index(n[:2]), int(n[2:])))
    for kind in SLOT_ORDER:
        nums = [int(n[2:]) for n in names if n[:2] == kind]
        check(nums == list(range(1, len(nums) + 1)), "preset lists of kind %s are not numbered 1..n" % kind)

    hdr = find_one(lines, r"^\| Codes \| FS \| VB \| FR \| AB \| SR \| AM \|", "preset row table")
    header = split_row(lines[hdr])[1:]
    rows = {}
    for cells in table_at(lines, hdr):
        check(len(cells) == 7, "preset row: %r" % cells)
        choice = {}
        for kind, cell in zip(header, cells[1:]):
            m = re.fullmatch(r"(%s\d+)/(\d+)" % kind, cell)
            check(m is not None, "preset cell: " + cell)
            lst, d = m.group(1), int(m.group(2))
            check(lst in lists, "unknown preset list " + lst)
            check(d < len(lists[lst][1]), "default %d outside %s" % (d, lst))
            choice[kind] = (lst, d)
        for code in parse_codes(cells[0]):
            check(code not in rows, "preset row %d twice" % code)
            rows[code] = choice
    check(sorted(rows) == sorted(catalogue_codes), "preset rows differ from the catalogue codes")

    nv_line = lines[find_one(lines, r"The no-video rows are codes ", "no-video statement")]
    m = re.search(r"The no-video rows are codes (.*?) \(", nv_line)
    check(m is not None, "no-video statement")
    no_video = parse_codes(m.group(1))
    fs3 = sorted(c for c, ch in rows.items() if ch["FS"][0] == "FS3")
    check(sorted(no_video) == fs3, "no-video codes differ from the frame-size list rows")
    return names, lists, rows, sorted(no_video)


# --------------------------------------------------------------------------------------------
# Format parameter rows

FIELDS = ["FileExt", "AudioChannels", "AudioSampleRate", "FrameSize", "FrameRate", "NormType",
          "VideoFilters", "AudioVolume", "FrameAspectRatio", "VideoCodec", "AudioCodec", "CopyTimestamp",
          "FileFormat", "TargetType", "VideoTag", "VideoBitrate", "AudioBitrate", "DisableVideo"]
INT_FIELDS = {"VideoBitrate", "AudioBitrate"}
VIDEO_COLUMNS = {"Ext": "Ext", "Video encoder": "VideoCodec", "Tag": "VideoTag", "Size": "FrameSize",
                 "Rate": "FrameRate", "Video bit/s": "VideoBitrate", "Aspect": "FrameAspectRatio",
                 "Audio encoder": "AudioCodec", "Ch": "AudioChannels", "Hz": "AudioSampleRate",
                 "Audio bit/s": "AudioBitrate"}


def reset_values(volume):
    v = {f: "" for f in FIELDS}
    v["AudioVolume"] = volume
    v["VideoBitrate"] = -1
    v["AudioBitrate"] = -1
    v["DisableVideo"] = False
    return v


def extract_parameters(lines, catalogue_codes):
    vol_line = lines[find_one(lines, r'^- `Video_AudioVolume` is "', "volume rule")]
    m = re.search(r'`Video_AudioVolume` is "(\d+)"', vol_line)
    volume = m.group(1)
    check(re.search(r'`Video_VideoFilters` and `Video_CopyTimestamp` are ""', vol_line) is not None,
          "filters and timestamp rule")
    asf_line = lines[find_one(lines, r'^- `Video_FileFormat` is "", except in the', "container rule")]
    m = re.search(r'except in the \w+ rows (.*), where it is "(\w+)"', asf_line)
    check(m is not None, "container rule")
    asf_codes, container = parse_codes(m.group(1)), m.group(2)
    ext_line = lines[find_one(lines, r"^- `Video_FileExt` equals the output extension, except", "file-ext rule")]
    m = re.search(r'it stays "" in the rows (.*?); (.*)$', ext_line)
    check(m is not None, "file-ext rule")
    empty_ext_codes = parse_codes(m.group(1))
    ext_overrides = {}
    for mm in re.finditer(r'it is "([^"]+)" in row (\d+), whose output extension is "([^"]+)"', m.group(2)):
        ext_overrides[int(mm.group(2))] = (mm.group(1), mm.group(3))
    check(len(ext_overrides) == 2, "file-ext overrides")

    disc_line = lines[find_one(lines, r"Disc-target rows\. Output extension", "disc-target rule")]
    m = re.search(r'Output extension "([^"]+)";.*`Video_NormType` "([^"]+)"; `Video_VideoBitrate` and '
                  r'`Video_AudioBitrate` (-?\d+)', disc_line)
    check(m is not None, "disc-target rule")
    disc_ext, disc_norm, disc_rate = m.group(1), m.group(2), int(m.group(3))
    disc_targets = {}
    hdr = find_one(lines, r"^\| `Video_TargetType` \| Format codes \|", "disc-target table")
    for cells in table_at(lines, hdr):
        for code in parse_codes(cells[1]):
            disc_targets[code] = unquote(cells[0])

    real_line = lines[find_one(lines, r"The RealVideo row \d+\. Output extension", "RealVideo rule")]
    m = re.search(r'The RealVideo row (\d+)\. Output extension "([^"]+)", `Video_VideoCodec` "([^"]+)", '
                  r'`Video_FrameSize` "([^"]+)"; every other field keeps its reset value', real_line)
    check(m is not None, "RealVideo rule")
    real = (int(m.group(1)), m.group(2), m.group(3), m.group(4))

    rows = {}
    kinds = {}

    def put(code, values, kind):
        check(code not in rows, "parameter row %d twice" % code)
        rows[code] = values
        kinds[code] = kind

    fam_lines = find_lines(lines, r"^\*Family \d+ \(.*\)\*$")
    check(len(fam_lines) == 24, "family sections")
    copies = []
    for n, start in enumerate(fam_lines):
        fam = int(re.match(r"\*Family (\d+)", lines[start]).group(1))
        check(fam == n, "family sections out of order")
        end = fam_lines[n + 1] if n + 1 < len(fam_lines) else len(lines)
        for j in range(start + 1, end):
            if lines[j].startswith("# ") or lines[j].startswith("**"):
                end = j
                break
        j = start + 1
        while j < end:
            line = lines[j]
            if line.startswith("| Format codes |"):
                header = split_row(line)[1:]
                audio_only = header[1] == "Audio encoder"
                for cells in table_at(lines, j):
                    v = reset_values(volume)
                    cols = dict(zip(header, cells[1:]))
                    check(len(cols) == len(header), "parameter row width")
                    ext = cols["Ext"]
                    for col, text in cols.items():
                        field = VIDEO_COLUMNS[col]
                        if field == "Ext":
                            v["FileExt"] = text
                        elif field in INT_FIELDS:
                            v[field] = int(text)
                        else:
                            v[field] = text
                    if audio_only:
                        v["DisableVideo"] = True
                    for code in parse_codes(cells[0]):
                        check(code // 100 == fam + 1, "row %d outside family %d" % (code, fam))
                        put(code, dict(v, OutputExt=ext), "audio" if audio_only else "video")
                while j < end and lines[j].startswith("|"):
                    j += 1
                continue
            m = re.search(r"Disc-target rows of this family: ([\d, ]+)\.", line)
            if m:
                for code in parse_codes(m.group(1)):
                    check(code in disc_targets, "disc row %d has no target" % code)
                    v = reset_values(volume)
                    v.update(TargetType=disc_targets[code], NormType=disc_norm, VideoBitrate=disc_rate,
                             AudioBitrate=disc_rate, OutputExt=disc_ext)
                    put(code, v, "disc")
            m = re.search(r"The RealVideo row of this family: (\d+)\.", line)
            if m:
                check(int(m.group(1)) == real[0], "RealVideo row code")
                v = reset_values(volume)
                v.update(OutputExt=real[1], VideoCodec=real[2], FrameSize=real[3])
                put(real[0], v, "real")
            for mm in re.finditer(r"(\d+) to (\d+) (?:carry )?the same (?:values )?as (\d+) to (\d+)",
                                  line):
                a, b, c, d = (int(mm.group(k)) for k in range(1, 5))
                check(b - a == d - c, "copy ranges differ in length: " + line)
                copies.append((a, b, c))
            j += 1

    # The further rows of a family whose table stops short.
    extra_line = lines[find_one(lines, r"Their values, in code order:", "further family rows")]
    m = re.search(r"no row under (\d+); it holds (\w+) further family-\d+ rows under the codes (\d+) to (\d+)",
                  extra_line)
    check(m is not None, "further family rows")
    no_row, first, last = int(m.group(1)), int(m.group(3)), int(m.group(4))
    m = re.search(r'Their values, in code order: (.*); all with output extension "([^"]+)", no tag, (\w+), '
                  r"(\d+) channels, (\d+) Hz and (\d+) bit/s\.", extra_line)
    check(m is not None, "further family row values")
    sets = m.group(1).split("; ")
    check(len(sets) == last - first + 1, "number of further family rows")
    for code, s in zip(range(first, last + 1), sets):
        mm = re.fullmatch(r"(\w+), (\S+), (\S+), (\d+)(?: with aspect (\S+))?", s)
        check(mm is not None, "further family row: " + s)
        v = reset_values(volume)
        v.update(OutputExt=m.group(2), FileExt=m.group(2), VideoCodec=mm.group(1), FrameSize=mm.group(2),
                 FrameRate=mm.group(3), VideoBitrate=int(mm.group(4)), FrameAspectRatio=mm.group(5) or "",
                 AudioCodec=m.group(3), AudioChannels=m.group(4), AudioSampleRate=m.group(5),
                 AudioBitrate=int(m.group(6)))
        put(code, v, "video")
    check(no_row not in rows, "row %d should not exist" % no_row)

    for a, b, c in copies:
        for k in range(b - a + 1):
            check(c + k in rows, "copy source %d missing" % (c + k))
            put(a + k, dict(rows[c + k]), kinds[c + k])

    # Shared rules.
    for code in asf_codes:
        check(code in rows, "container rule names %d" % code)
        rows[code]["FileFormat"] = container
    for code in empty_ext_codes:
        rows[code]["FileExt"] = ""
    for code, (file_ext, out_ext) in ext_overrides.items():
        check(rows[code]["OutputExt"] == out_ext, "output extension of row %d" % code)
        rows[code]["FileExt"] = file_ext

    expected = sorted((set(catalogue_codes) - {no_row}) | set(range(first, last + 1)))
    check(sorted(rows) == expected, "parameter rows differ from the catalogue codes")
    return rows, kinds, volume


def extract_assignments(lines, rows, kinds, volume):
    fields_line = lines[find_one(lines, r"The parameter fields are the seventeen JobParameters", "field list")]
    names = re.findall(r"`Video_(\w+)`", fields_line)
    check(len(names) == 17 and sorted(names) == sorted(FIELDS[:-1]), "the seventeen parameter fields")
    hdr = find_one(lines, r"^\| Codes \| Parameter fields the row does not assign \|", "assignment table")
    explicit = {}
    line_of = {}
    for cells in table_at(lines, hdr):
        text = cells[1]
        if cells[0].startswith("every other code"):
            check(text.startswith("none"), "assignment default")
            continue
        codes = parse_codes(cells[0])
        if text.startswith("all except "):
            unassigned = set(FIELDS[:-1]) - set(re.findall(r"`Video_(\w+)`", text))
        else:
            unassigned = set(re.findall(r"`Video_(\w+)`", text))
            m = re.search(r"the \w+ fields of the line for (\S+)", text)
            if m:
                unassigned |= line_of[parse_codes(m.group(1))[0]]
        for code in codes:
            check(code in rows, "assignment table names %d" % code)
            explicit[code] = unassigned
            line_of[code] = unassigned
    domain_end = max(explicit)

    def template(kind, empty_ext):
        for code in sorted(explicit):
            if kinds[code] == kind and (rows[code]["FileExt"] == "") == empty_ext:
                return explicit[code]
        fail("no assignment line for %s rows" % kind)

    assigns = {}
    for code, v in rows.items():
        if code <= domain_end:
            unassigned = explicit.get(code, set())
        elif kinds[code] == "video":
            unassigned = set()
        else:
            unassigned = template(kinds[code], v["FileExt"] == "")
        a = set(FIELDS[:-1]) - unassigned
        if v["DisableVideo"]:
            a.add("DisableVideo")
        reset = reset_values(volume)
        for f in FIELDS:
            if f not in a:
                check(v[f] == reset[f], "row %d leaves %s unassigned but holds a value" % (code, f))
        assigns[code] = a
    return assigns


# --------------------------------------------------------------------------------------------
# Open-dialog filter

def extract_filters(lines):
    hdr = find_one(lines, r"^\| # \| Description \| Mask \|", "filter table")
    intro = lines[hdr - 2] if lines[hdr - 1].strip() == "" else lines[hdr - 1]
    m = re.search(r"concatenation of (\d+) text pieces, which gives these (\d+) entries", intro)
    check(m is not None, "filter introduction")
    pieces_expected, entries_expected = int(m.group(1)), int(m.group(2))
    entries = []
    pieces = 0
    for n, cells in enumerate(table_at(lines, hdr), start=1):
        check(len(cells) == 3 and int(cells[0]) == n, "filter entry number")
        parts = re.findall(r'"([^"]*)"', cells[2])
        check(" followed by ".join('"%s"' % p for p in parts) == cells[2], "filter mask %d" % n)
        pieces += len(parts)
        entries.append((unquote(cells[1]), "".join(parts)))
    check(len(entries) == entries_expected, "filter entry count")
    check(pieces == pieces_expected, "filter piece count")
    return entries


# --------------------------------------------------------------------------------------------
# Canonical serialisation (the table test computes the same text from the C++ tables)

def serialise(t):
    out = []
    for cat in range(24):
        out.append("F\t%d\t%d" % (cat, len(t["captions"][cat])))
        for pos, cap in enumerate(t["captions"][cat]):
            out.append("C\t%d\t%s" % (100 * (cat + 1) + pos, cap))
    for pos in range(15):
        out.append("P\t%d\t%d\t%s" % (pos, t["pos_map"][pos], t["cat_captions"][pos]))
    for name in t["list_names"]:
        kind, entries = t["lists"][name]
        out.append("L\t%s\t%d\t%d" % (name, SLOT_ORDER.index(kind), len(entries)))
        for i, e in enumerate(entries):
            out.append("E\t%s\t%d\t%s" % (name, i, e))
    for code in sorted(t["presets"]):
        ch = t["presets"][code]
        out.append("R\t%d\t%s" % (code, "\t".join("%s/%d" % ch[k] for k in SLOT_ORDER)))
    for code in sorted(t["params"]):
        v = t["params"][code]
        mask = sum(1 << i for i, f in enumerate(FIELDS) if f in t["assigns"][code])
        vals = []
        for f in FIELDS:
            x = v[f]
            vals.append(("1" if x else "0") if isinstance(x, bool) else str(x))
        out.append("T\t%d\t%s\t%d\t%s" % (code, v["OutputExt"], mask, "\t".join(vals)))
    for code in t["no_video"]:
        out.append("N\t%d" % code)
    for i, (d, mk) in enumerate(t["filters"]):
        out.append("D\t%d\t%s\t%s" % (i, d, mk))
    return "\n".join(out) + "\n"


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h ^= b
        h = (h * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


# --------------------------------------------------------------------------------------------
# C++ output

def cstr(s):
    out = ['"']
    for ch in s:
        o = ord(ch)
        if ch == '"':
            out.append('\\"')
        elif ch == "\\":
            out.append("\\\\")
        elif o < 0x20 or o == 0x7F:
            out.append("\\%03o" % o)
        elif o > 0x7F and unicodedata.category(ch)[0] in "ZC":
            out.append("\\u%04x" % o)  # keep invisible characters visible in the source
        else:
            out.append(ch)
    out.append('"')
    return "".join(out)


def assign_expr(a):
    missing = [f for f in FIELDS[:-1] if f not in a]
    expr = "jpAllFields" if not missing else "(jpAllFields & ~(%s))" % " | ".join("jp" + f for f in missing)
    if "DisableVideo" in a:
        expr += " | jpDisableVideo"
    return expr


def emit(t, script_rel):
    o = []
    w = o.append
    w("// generated by %s from the source document's format tables; do not edit." % script_rel)
    w("// Regenerate with: python3 %s DOCUMENT... (see its usage text)." % script_rel)
    w("// clang-format off")
    w('#include "app/formats/formattables.h"')
    w("")
    w("namespace {")
    w("")
    for cat in range(24):
        w("const char* const Family%dCaptions[] = {" % cat)
        for cap in t["captions"][cat]:
            w("    %s," % cstr(cap))
        w("};")
    w("")
    for name in t["list_names"]:
        w("const char* const %sEntries[] = {%s};" % (name, ", ".join(cstr(e) for e in t["lists"][name][1])))
    w("")
    w("enum : Byte {")
    w("  %s" % ", ".join(t["list_names"]))
    w("};")
    w("")
    w("}  // namespace")
    w("")
    w("const TCatalogueFamily FormatFamilies[] = {")
    for cat in range(24):
        w("    {%d, Family%dCaptions, %d}," % (cat, cat, len(t["captions"][cat])))
    w("};")
    w("const Integer FormatFamilyCount = Integer(std::size(FormatFamilies));")
    w("")
    w("const Integer CategoryPositionMap[] = {%s};" % ", ".join(str(c) for c in t["pos_map"]))
    w("const char* const CategoryCaptions[] = {%s};" % ", ".join(cstr(c) for c in t["cat_captions"]))
    w("const Integer CategoryPositionCount = Integer(std::size(CategoryPositionMap));")
    w("")
    w("const TPresetList PresetLists[] = {")
    for name in t["list_names"]:
        kind, entries = t["lists"][name]
        w("    {%s, %s, %sEntries, %d}," % (cstr(name), SLOT_OF_KIND[kind], name, len(entries)))
    w("};")
    w("const Integer PresetListCount = Integer(std::size(PresetLists));")
    w("")
    w("// Choices in pair order: frame size, video bit rate, audio bit rate, aspect, frame rate, sample rate.")
    w("const TPresetRow PresetRows[] = {")
    for code in sorted(t["presets"]):
        ch = t["presets"][code]
        w("    {%d, {%s}}," % (code, ", ".join("{%s, %d}" % ch[k] for k in SLOT_ORDER)))
    w("};")
    w("const Integer PresetRowCount = Integer(std::size(PresetRows));")
    w("")
    w("// Fields: %s." % ", ".join(FIELDS))
    w("const TFormatParameterRow FormatParameterRows[] = {")
    for code in sorted(t["params"]):
        v = t["params"][code]
        vals = []
        for f in FIELDS:
            x = v[f]
            if isinstance(x, bool):
                vals.append("true" if x else "false")
            elif isinstance(x, int):
                vals.append(str(x))
            else:
                vals.append(cstr(x))
        w("    {%d, %s, %s,\n     %s}," % (code, cstr(v["OutputExt"]), assign_expr(t["assigns"][code]),
                                          ", ".join(vals)))
    w("};")
    w("const Integer FormatParameterRowCount = Integer(std::size(FormatParameterRows));")
    w("")
    w("const Integer NoVideoCodes[] = {%s};" % ", ".join(str(c) for c in t["no_video"]))
    w("const Integer NoVideoCodeCount = Integer(std::size(NoVideoCodes));")
    w("")
    w("const TFilterEntry OpenDialogFilterEntries[] = {")
    for d, mk in t["filters"]:
        w("    {%s,\n     %s}," % (cstr(d), cstr(mk)))
    w("};")
    w("const Integer OpenDialogFilterEntryCount = Integer(std::size(OpenDialogFilterEntries));")
    return "\n".join(o) + "\n"


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("documents", nargs="+")
    ap.add_argument("--out")
    ap.add_argument("--checksum", action="store_true")
    args = ap.parse_args(argv)

    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(os.path.dirname(here))
    out = args.out or os.path.join(repo, "app", "formats", "formattables_data.cpp")
    script_rel = os.path.relpath(os.path.abspath(__file__), repo)

    try:
        lines = read_documents(args.documents)
        captions, pos_map, cat_captions = extract_catalogue(lines)
        codes = [100 * (c + 1) + p for c in range(24) for p in range(len(captions[c]))]
        list_names, lists, presets, no_video = extract_presets(lines, codes)
        params, kinds, volume = extract_parameters(lines, codes)
        check(sorted(c for c, v in params.items() if v["DisableVideo"]) == no_video,
              "audio-only parameter rows differ from the no-video preset rows")
        assigns = extract_assignments(lines, params, kinds, volume)
        filters = extract_filters(lines)
    except ExtractError as e:
        print("tablegen: " + str(e), file=sys.stderr)
        return 1

    t = dict(captions=captions, pos_map=pos_map, cat_captions=cat_captions, list_names=list_names,
             lists=lists, presets=presets, params=params, assigns=assigns, no_video=no_video,
             filters=filters)
    checksum = fnv1a64(serialise(t).encode("utf-8"))
    if args.checksum:
        print("0x%016x" % checksum)
        return 0
    with open(out, "w", encoding="utf-8", newline="\n") as fh:
        fh.write(emit(t, script_rel))
    print("tablegen: wrote %s (%d captions, %d preset lists, %d preset rows, %d parameter rows, "
          "%d filter entries); checksum 0x%016x" % (out, len(codes), len(list_names), len(presets),
                                                     len(params), len(filters), checksum))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
