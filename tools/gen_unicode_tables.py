#!/usr/bin/python3
"""Writes platform/sys/unicode_tables.cpp: the five Unicode 5.1.0 mappings on UTF-16 units.

Input is a Unicode character database folder (UnicodeData.txt, CaseFolding.txt and, with
--max-age, DerivedAge.txt). Either the 5.1.0 files themselves:

    tools/gen_unicode_tables.py --ucd DIR --output platform/sys/unicode_tables.cpp

or a newer database cut back to what 5.1 had assigned (Debian's unicode-data package):

    tools/gen_unicode_tables.py --ucd /usr/share/unicode --max-age 5.1 --output FILE

With --max-age a mapping x -> y is kept only when x and every code point of y (supplementary
ones included) were assigned by that version; otherwise x maps to itself. Both ways give the
same file, byte for byte: the output holds nothing that depends on the input path or options.

The mappings, for every BMP unit except the surrogates (which map to themselves):
- lower, upper: the simple case mapping fields 13 and 12 of UnicodeData.txt;
- title: field 14, falling back to the uppercase field 12 when 14 is empty;
- fold: simple case folding, the CaseFolding.txt entries of status C and S;
- unaccent: the letters without their diacritics, see unaccent_mapping(). From the 5.1.0
  data, 3834 units change through their decomposition alone; the 4 ligatures and 126
  stroke/bar/hook/curl/topbar letters below bring that to 3964.

Table layout (MapTable in platform/sys/unicode_map.h): a unit's block is unit >> shift; the
stage-one array gives, for each block up to the last one holding a mapping, the start of that
block's (block size + 1) entries in the offsets array; a unit at position i of its block maps
to units[offsets[start + i]] up to units[offsets[start + i + 1]]. An empty range means the unit
maps to itself. Identical blocks are stored once. Python 3 standard library only.
"""

import argparse
import os
import re
import sys

# (table name, mapping name in comments, block shift); the order is that of sys::unicode::Mapping.
TABLES = [
    ("lower", "simple lowercase mapping", 5),
    ("upper", "simple uppercase mapping", 6),
    ("title", "simple titlecase mapping", 6),
    ("fold", "simple case folding (statuses C and S)", 5),
    ("unaccent", "letters without diacritics", 5),
]

# Æ and Œ have no decomposition; they spell out as their two letters. Their marked forms
# (Ǣ, ǣ, Ǽ, ǽ) and the modifier letter ᴭ decompose to Æ or æ and so spell out as well.
LIGATURES = {
    0x00C6: [0x41, 0x45],  # LATIN CAPITAL LETTER AE -> A E
    0x00E6: [0x61, 0x65],  # LATIN SMALL LETTER AE -> a e
    0x0152: [0x4F, 0x45],  # LATIN CAPITAL LIGATURE OE -> O E
    0x0153: [0x6F, 0x65],  # LATIN SMALL LIGATURE OE -> o e
}

# A Latin letter with an overlaid or attached stroke, bar, hook, curl or topbar (Ø, ł, Đ, ƒ,
# ɗ ...) has no decomposition; its name tells its base letter. Taken are the letters without
# decomposition named "LATIN CAPITAL|SMALL LETTER", one letter A-Z, "WITH" and a description
# holding one of the words below as a whole word (LEFT HOOK, RETROFLEX HOOK, HOOK TAIL,
# DOUBLE BAR, DIAGONAL STROKE count; FISHHOOK does not). Letters whose base is no plain
# letter (ESH, EZH, DOTLESS J, TURNED R, SCHWA, LAMBDA, small capitals, digraphs) keep their
# own form. The optional "SMALL " admits U+024A, named "LATIN CAPITAL LETTER SMALL Q WITH HOOK
# TAIL" though it is the capital of U+024B: it maps to Q. 126 letters in 5.1.0.
ATTACHED_SIGN_NAME = re.compile(r"^LATIN (CAPITAL|SMALL) LETTER (?:SMALL )?([A-Z]) WITH (.+)$")
ATTACHED_SIGN_WORDS = {"STROKE", "BAR", "HOOK", "CURL", "TOPBAR"}


class Database:
    """The parts of the character database the mappings use, keyed by code point."""

    def __init__(self, folder):
        self.name = {}
        self.category = {}
        self.combining_class = {}
        self.decomposition = {}  # code point -> list of code points, tag dropped
        self.upper = {}
        self.lower = {}
        self.title = {}
        self.folding = {}
        self._read_unicode_data(os.path.join(folder, "UnicodeData.txt"))
        self._read_case_folding(os.path.join(folder, "CaseFolding.txt"))

    def _read_unicode_data(self, path):
        # Ranges ("<..., First>" to "<..., Last>": ideographs, Hangul, private use,
        # surrogates) carry no mappings and no marks, so only their end rows are stored.
        with open(path, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split(";")
                if len(fields) < 15:
                    continue
                cp = int(fields[0], 16)
                self.name[cp] = fields[1]
                self.category[cp] = fields[2]
                self.combining_class[cp] = int(fields[3])
                if fields[5]:
                    self.decomposition[cp] = [int(x, 16) for x in fields[5].split()
                                              if not x.startswith("<")]
                for field, target in ((12, self.upper), (13, self.lower), (14, self.title)):
                    if fields[field]:
                        target[cp] = int(fields[field], 16)

    def _read_case_folding(self, path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                data = line.split("#", 1)[0].strip()
                if not data:
                    continue
                code, status, mapping = [x.strip() for x in data.split(";")[:3]]
                if status in ("C", "S"):
                    self.folding[int(code, 16)] = int(mapping, 16)

    def is_mark(self, cp):
        return self.category.get(cp) == "Mn"


def read_ages(folder):
    """DerivedAge.txt as a list of (first, last, version tuple)."""
    ages = []
    with open(os.path.join(folder, "DerivedAge.txt"), encoding="utf-8") as f:
        for line in f:
            data = line.split("#", 1)[0].strip()
            if not data:
                continue
            span, age = [x.strip() for x in data.split(";")]
            first, _, last = span.partition("..")
            ages.append((int(first, 16), int(last or first, 16), parse_version(age)))
    return ages


def parse_version(text):
    return tuple(int(x) for x in text.split("."))


def attached_sign_letters(db):
    """The stroke/bar/hook/curl/topbar letters without decomposition -> [base letter]."""
    letters = {}
    for cp, name in db.name.items():
        match = ATTACHED_SIGN_NAME.match(name)
        if not match or cp in db.decomposition:
            continue
        case, letter, description = match.groups()
        if ATTACHED_SIGN_WORDS.isdisjoint(description.split()):
            continue
        letters[cp] = [ord(letter if case == "CAPITAL" else letter.lower())]
    return letters


def unaccent_mapping(db, cp, spelled):
    """Unaccent of one code point, or None when it maps to itself.

    The full compatibility decomposition, taken recursively from the decomposition fields
    (Hangul syllables have none there and stay), where the spelled-out letters (ligatures and
    attached-sign letters) count as decompositions too, so that Ǽ gives AE and Ǿ gives O.
    The result is put in canonical order and the nonspacing marks (Mn) are dropped. A unit
    that would lose everything (a combining mark, U+FF9E, U+FF9F) maps to itself.
    """
    def expand(c):
        parts = db.decomposition.get(c) or spelled.get(c)
        if parts is None:
            return [c]
        return [x for part in parts for x in expand(part)]

    result = [c for c in canonical_order(db, expand(cp)) if not db.is_mark(c)]
    return result if result and result != [cp] else None


def canonical_order(db, cps):
    """Stable sort of each run of non-zero combining classes."""
    out, run = [], []
    for c in cps + [None]:  # None closes the last run
        if db.combining_class.get(c, 0):
            run.append(c)
            continue
        out.extend(sorted(run, key=lambda x: db.combining_class.get(x, 0)))
        run = []
        if c is not None:
            out.append(c)
    return out


def build_mappings(db):
    """Five dicts unit -> list of code points, for the units that do not map to themselves."""
    spelled = dict(LIGATURES)
    spelled.update(attached_sign_letters(db))
    maps = {name: {} for name, _, _ in TABLES}
    for cp in range(0x10000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        title = db.title.get(cp, db.upper.get(cp))
        for name, target in (("lower", db.lower.get(cp)), ("upper", db.upper.get(cp)),
                             ("title", title), ("fold", db.folding.get(cp))):
            if target is not None and target != cp:
                maps[name][cp] = [target]
        unaccent = unaccent_mapping(db, cp, spelled)
        if unaccent is not None:
            maps["unaccent"][cp] = unaccent
    return maps


def restrict_to_age(maps, ages, max_age):
    """Keeps x -> y only when x and every code point of y were assigned by max_age."""
    def assigned(cp):
        return any(first <= cp <= last and age <= max_age for first, last, age in ages)

    # The same code points come up over and over; look each up once.
    cache = {}
    def known(cp):
        if cp not in cache:
            cache[cp] = assigned(cp)
        return cache[cp]

    return {name: {x: y for x, y in m.items() if known(x) and all(known(c) for c in y)}
            for name, m in maps.items()}


def to_utf16(cps):
    units = []
    for c in cps:
        if c > 0xFFFF:
            c -= 0x10000
            units += [0xD800 + (c >> 10), 0xDC00 + (c & 0x3FF)]
        else:
            units.append(c)
    return units


def build_table(mapping, shift):
    """(stage, offsets, units) of one mapping in the layout described at the top."""
    size = 1 << shift
    last_block = max(mapping) >> shift
    stage, offsets, units, known_blocks = [], [], [], {}
    for block in range(last_block + 1):
        results = tuple(tuple(to_utf16(mapping.get((block << shift) + i, [])))
                        for i in range(size))
        if results not in known_blocks:
            known_blocks[results] = len(offsets)
            position = len(units)
            for r in results:
                offsets.append(position)
                position += len(r)
                units.extend(r)
            offsets.append(position)
        stage.append(known_blocks[results])
    if len(units) > 0xFFFF or len(offsets) > 0xFFFF:
        raise SystemExit("table too large for 16-bit offsets")
    return stage, offsets, units


def check_mappings(maps):
    for name in ("lower", "upper", "title", "fold"):
        for x, y in maps[name].items():
            if y[0] > 0xFFFF:
                raise SystemExit("%s mapping of U+%04X leaves the BMP" % (name, x))
    longest = max(len(to_utf16(y)) for y in maps["unaccent"].values())
    if longest > 18:
        raise SystemExit("unaccent mapping of %d units; the interface allows 18" % longest)


def array_text(ctype, name, values, number_format, per_line):
    lines = ["constexpr %s %s[] = {" % (ctype, name)]
    for i in range(0, len(values), per_line):
        lines.append("    " + " ".join(number_format % v + "," for v in values[i:i + per_line]))
    lines.append("};")
    return "\n".join(lines)


HEAD = """\
// unicode_tables.cpp: the Unicode 5.1.0 mappings of unicode_map.h as constant tables.
//
// GENERATED FILE, do not edit. Written by tools/gen_unicode_tables.py from the Unicode 5.1.0
// character database; to regenerate, from the repository root:
//   /usr/bin/python3 tools/gen_unicode_tables.py --ucd DIR --output platform/sys/unicode_tables.cpp
// with DIR holding the 5.1.0 UnicodeData.txt and CaseFolding.txt, or with
//   --ucd /usr/share/unicode --max-age 5.1
// to cut a newer database back to 5.1.0 (same output). The rules of each mapping are in the
// script. Layout: see MapTable in unicode_map.h. Constant data only: nothing runs at start-up.
"""


def render(maps):
    parts = ["", '#include "platform/sys/unicode_map.h"', "", "#include <iterator>", "",
             "namespace sys::unicode::detail {", "namespace {"]
    entries = []
    data_bytes = 0
    for name, description, shift in TABLES:
        stage, offsets, units = build_table(maps[name], shift)
        prefix = "k" + name.capitalize()
        data_bytes += 2 * (len(stage) + len(offsets) + len(units))
        parts.append("")
        parts.append("// %s: %s;\n// %d units map to something else; blocks of %d, %d distinct."
                     % (name, description, len(maps[name]), 1 << shift,
                        len(offsets) // ((1 << shift) + 1)))
        parts.append(array_text("std::uint16_t", prefix + "Stage", stage, "%d", 16))
        parts.append(array_text("std::uint16_t", prefix + "Offsets", offsets, "%d", 16))
        parts.append(array_text("char16_t", prefix + "Units", units, "0x%04X", 12))
        entries.append("    {%d, std::size(%sStage), %sStage, %sOffsets, %sUnits},  // %s"
                       % (shift, prefix, prefix, prefix, prefix, name))
    parts.append("")
    parts.append("}  // namespace")
    parts.append("")
    parts.append("// In the order of Mapping.")
    parts.append("constinit const MapTable kMapTables[kMappingCount] = {")
    parts.extend(entries)
    parts.append("};")
    parts.append("")
    parts.append("}  // namespace sys::unicode::detail")
    head = HEAD + "// Read-only data: %d bytes.\n" % data_bytes
    return head + "\n".join(parts) + "\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n", 1)[0])
    parser.add_argument("--ucd", required=True,
                        help="folder with UnicodeData.txt, CaseFolding.txt (and DerivedAge.txt)")
    parser.add_argument("--max-age", help="keep only what this Unicode version had assigned")
    parser.add_argument("--output", default="-", help="file to write; - for standard output")
    args = parser.parse_args(argv)

    db = Database(args.ucd)
    maps = build_mappings(db)
    if args.max_age:
        maps = restrict_to_age(maps, read_ages(args.ucd), parse_version(args.max_age))
    check_mappings(maps)
    text = render(maps)
    if args.output == "-":
        sys.stdout.write(text)
    else:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
