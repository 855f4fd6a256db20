#!/usr/bin/python3
"""gen_icons.py: draws the module's two icons and writes them, as PNG bytes in C++ arrays,
to ui/icons_data.cpp.

Icon 102 (64 x 64): the module's symbol, a calibration line - two axes with arrow heads,
a straight line rising from the lower left and five measured points on it.
Icon 118 (20 x 20): a folder, for the folder button of the settings dialog.

Standard library only. Shapes are drawn with 4 x 4 supersampling so that edges are smooth
at the small sizes; the output is deterministic, so running the script again gives the
committed file byte for byte. From the repository root:

    /usr/bin/python3 tools/gen_icons.py --output ui/icons_data.cpp
"""

import argparse
import math
import struct
import zlib

SUPER = 4  # samples per pixel along each axis


class Canvas:
    """An RGBA image drawn with coverage-weighted shapes (colours are straight alpha)."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]

    def _blend(self, x, y, colour, coverage):
        if coverage <= 0 or not (0 <= x < self.size and 0 <= y < self.size):
            return
        r, g, b, a = colour
        a = a * coverage / 255.0
        dr, dg, db, da = self.pixels[y][x]
        da /= 255.0
        out_a = a + da * (1 - a)
        if out_a <= 0:
            return
        mix = lambda s, d: (s * a + d * da * (1 - a)) / out_a
        self.pixels[y][x] = (round(mix(r, dr)), round(mix(g, dg)), round(mix(b, db)), round(out_a * 255))

    def fill(self, inside, colour, box=None):
        """Fills the region where inside(x, y) holds (x, y in pixel units, continuous)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.size, self.size)
        for py in range(max(0, int(y0)), min(self.size, int(math.ceil(y1)))):
            for px in range(max(0, int(x0)), min(self.size, int(math.ceil(x1)))):
                hits = 0
                for sy in range(SUPER):
                    for sx in range(SUPER):
                        if inside(px + (sx + 0.5) / SUPER, py + (sy + 0.5) / SUPER):
                            hits += 1
                self._blend(px, py, colour, hits / (SUPER * SUPER))

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return x0 <= x < x1 and y0 <= y < y1 and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
        self.fill(inside, colour, (x0, y0, x1, y1))

    def line(self, ax, ay, bx, by, width, colour):
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx, ay + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
        pad = width
        self.fill(inside, colour, (min(ax, bx) - pad, min(ay, by) - pad, max(ax, bx) + pad, max(ay, by) + pad))

    def disc(self, cx, cy, radius, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2, colour,
                  (cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1))

    def triangle(self, points, colour):
        (ax, ay), (bx, by), (cx, cy) = points

        def side(px, py, qx, qy, x, y):
            return (qx - px) * (y - py) - (qy - py) * (x - px)

        def inside(x, y):
            s1 = side(ax, ay, bx, by, x, y)
            s2 = side(bx, by, cx, cy, x, y)
            s3 = side(cx, cy, ax, ay, x, y)
            return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
        xs = [ax, bx, cx]
        ys = [ay, by, cy]
        self.fill(inside, colour, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1))

    def png(self):
        raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in self.pixels)
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


AXIS = (40, 48, 64, 255)
LINE = (30, 110, 200, 255)
POINT = (210, 50, 40, 255)
PANEL = (250, 251, 253, 255)
PANEL_EDGE = (150, 160, 180, 255)


def calibration_icon():
    """The module's symbol at 64 x 64."""
    c = Canvas(64)
    c.rounded_rect(1, 1, 63, 63, 8, PANEL_EDGE)
    c.rounded_rect(2.5, 2.5, 61.5, 61.5, 6.5, PANEL)
    # Axes: origin at (12, 52), arrow heads at the ends.
    c.line(12, 52, 12, 12, 2.6, AXIS)
    c.line(12, 52, 53, 52, 2.6, AXIS)
    c.triangle([(12, 6.5), (7.5, 14), (16.5, 14)], AXIS)
    c.triangle([(58.5, 52), (51, 47.5), (51, 56.5)], AXIS)
    # The calibration line and five points on it.
    c.line(15, 48.5, 52, 15.5, 2.4, LINE)
    for t in (0.12, 0.32, 0.52, 0.72, 0.92):
        x = 15 + t * (52 - 15)
        y = 48.5 + t * (15.5 - 48.5)
        c.disc(x, y, 3.6, (255, 255, 255, 255))
        c.disc(x, y, 2.9, POINT)
    return c


FOLDER_BACK = (196, 140, 30, 255)
FOLDER_FRONT = (246, 196, 70, 255)
FOLDER_EDGE = (150, 100, 20, 255)


def folder_icon():
    """A folder at 20 x 20."""
    c = Canvas(20)
    c.rounded_rect(1.5, 3.5, 9, 7, 1.2, FOLDER_EDGE)  # tab
    c.rounded_rect(1.5, 5, 18.5, 17, 1.2, FOLDER_EDGE)
    c.rounded_rect(2.5, 6, 17.5, 16, 0.8, FOLDER_BACK)
    c.rounded_rect(2.5, 8, 17.5, 16, 0.8, FOLDER_FRONT)
    return c


def cpp_array(name, data):
    lines = []
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
    return ("extern const unsigned char %s[] = {\n%s\n};\nextern const std::size_t %sSize = sizeof(%s);\n"
            % (name, "\n".join(lines), name, name))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    out = [
        "// icons_data.cpp: the module's icons as PNG files compiled in: 102, the calibration",
        "// line symbol (64 x 64), and 118, the folder of the settings dialog's button (20 x 20).",
        "// Written by tools/gen_icons.py; do not edit by hand. Costs a few KB of read-only data.",
        "#include <cstddef>",
        "",
        '#include "ui/module_resources.h"',
        "",
        cpp_array("kCalibrationIconPng", calibration_icon().png()),
        cpp_array("kFolderIconPng", folder_icon().png()),
    ]
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
