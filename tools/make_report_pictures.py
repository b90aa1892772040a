#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the report's pictures and writes them as byte tables for Corvida's report writer.

The report writes its GIF pictures byte for byte from tables held in the program, so that
every report holds the same bytes. This tool draws them (the icons from pixel art below, the
logo from simple shapes and a pixel font), encodes each as an interlaced GIF89a with a global
colour table and one transparent colour, and writes src/report/ReportPictureTables.h.

Run from anywhere:  tools/make_report_pictures.py [OUTPUT.h]
It uses only Python's standard library, and runs clang-format on the output when it can.
"""

import math
import os
import shutil
import subprocess
import sys

# --- GIF encoding -------------------------------------------------------------------------


def lzw_encode(pixels, min_code_size):
    """Variable-width LZW as GIF uses it: a clear code first, an end code last."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = ()
    for p in pixels:
        candidate = prefix + (p,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = reset()
        prefix = (p,)
    if prefix:
        emit(table[prefix], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def interlaced_rows(height):
    order = []
    for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        order.extend(range(start, height, step))
    return order


def encode_gif(rows, palette, transparent, screen=None):
    """rows: list of lists of colour indexes; palette: list of (r, g, b)."""
    height = len(rows)
    width = len(rows[0])
    assert all(len(r) == width for r in rows)
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    palette = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    screen_width, screen_height = screen if screen else (width, height)

    out = bytearray(b"GIF89a")
    out += screen_width.to_bytes(2, "little") + screen_height.to_bytes(2, "little")
    out.append(0x80 | ((bits - 1) << 4) | (bits - 1))  # global table, its size
    out += bytes([transparent, 0])  # background colour, aspect
    for r, g, b in palette:
        out += bytes([r, g, b])
    out += bytes([0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, transparent, 0x00])  # transparency
    out += bytes([0x2C, 0, 0, 0, 0]) + width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out.append(0x40)  # interlaced, no local table
    min_code_size = max(2, bits)
    pixels = [p for y in interlaced_rows(height) for p in rows[y]]
    data = lzw_encode(pixels, min_code_size)
    out.append(min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += bytes([0x00, 0x3B])
    return bytes(out)


def from_art(art, legend):
    """Pixel art: one string per row, one character per pixel, legend maps to indexes."""
    return [[legend[c] for c in row] for row in art]


# --- The icons ----------------------------------------------------------------------------

ICON_PALETTE = [
    (192, 192, 192),  # 0 transparent
    (0, 0, 0),  # 1 outline
    (32, 96, 208),  # 2 sea blue
    (48, 160, 64),  # 3 land green
    (255, 255, 255),  # 4 white
    (128, 128, 128),  # 5 grey
    (176, 176, 176),  # 6 silver
    (64, 64, 160),  # 7 disk blue
    (135, 190, 240),  # 8 sky
    (255, 208, 0),  # 9 sun
    (214, 214, 214),  # 10 button face
    (96, 96, 96),  # 11 button shadow
]
ICON_LEGEND = {
    ".": 0, "#": 1, "b": 2, "g": 3, "w": 4, "-": 5, "s": 6, "d": 7, "k": 8, "y": 9, "c": 10,
    "x": 11,
}

GLOBE = [
    "....####....",
    "..##bbgg##..",
    ".#bbggggbb#.",
    ".#bgggbbbb#.",
    "#bbbggbbggb#",
    "#bbbbgbbggg#",
    "#bggbbbbggb#",
    "#bgggbbbbbb#",
    ".#bggbbbgb#.",
    ".#bbbbbbgb#.",
    "..##bbbb##..",
    "....####....",
]

DISK = [
    "###########.",
    "#d#wwwwww#d#",
    "#d#wwwwww#d#",
    "#d#w----w#d#",
    "#d########d#",
    "#dddddddddd#",
    "#dddddddddd#",
    "#dd######dd#",
    "#dd#ss#s#dd#",
    "#dd#ss#s#dd#",
    "#dd#ss#s#dd#",
    "############",
]

SMALL_DISK = [
    "#######.",
    "#d#ww#d#",
    "#d####d#",
    "#dddddd#",
    "#d####d#",
    "#d#ss#d#",
    "#d#ss#d#",
    "########",
]


def make_site_button():
    """The Make Local Site button: the globe copied onto a disk, on a raised button."""
    size = 19
    rows = [[ICON_LEGEND["c"]] * size for _ in range(size)]
    for i in range(size):
        rows[0][i] = rows[i][0] = ICON_LEGEND["w"]
        rows[size - 1][i] = rows[i][size - 1] = ICON_LEGEND["x"]
    globe = from_art(GLOBE, ICON_LEGEND)
    for y, row in enumerate(globe):
        for x, p in enumerate(row):
            if p:
                rows[1 + y][1 + x] = p
    disk = from_art(SMALL_DISK, ICON_LEGEND)
    for y, row in enumerate(disk):
        for x, p in enumerate(row):
            if p:
                rows[10 + y][10 + x] = p
    # An arrow from the globe to the disk.
    for x, y in ((13, 5), (14, 6), (15, 7), (16, 8), (15, 8), (16, 7), (14, 8)):
        rows[y][x] = ICON_LEGEND["#"]
    return rows


def make_image_icon():
    """A framed picture: sky, sun and hills."""
    width, height = 14, 16
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                row.append(ICON_LEGEND["#"])
            elif x in (1, width - 2) or y in (1, height - 2):
                row.append(ICON_LEGEND["w"])
            else:
                hill = min(11 - 0.55 * abs(x - 4.5) * 1.6, 12 - 0.7 * abs(x - 10))
                if (x - 9.5) ** 2 + (y - 4.5) ** 2 <= 3.3:
                    row.append(ICON_LEGEND["y"])
                elif y >= hill:
                    row.append(ICON_LEGEND["g"])
                else:
                    row.append(ICON_LEGEND["k"])
        rows.append(row)
    return rows


# --- The logo -----------------------------------------------------------------------------

LOGO_PALETTE = [
    (255, 255, 255),  # 0 transparent
    (0, 32, 96),  # 1 navy
    (32, 96, 192),  # 2 blue
    (170, 200, 236),  # 3 ring blue
    (240, 144, 32),  # 4 orange
    (48, 160, 64),  # 5 green
    (150, 150, 150),  # 6 grey
    (200, 200, 210),  # 7 shadow
]

FONT = {
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
}


def make_logo():
    width, height = 175, 127
    rows = [[0] * width for _ in range(height)]

    def put(x, y, colour):
        if 0 <= x < width and 0 <= y < height:
            rows[y][x] = colour

    def disc(cx, cy, radius, colour):
        for y in range(cy - radius, cy + radius + 1):
            for x in range(cx - radius, cx + radius + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius:
                    put(x, y, colour)

    def line(x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    # A site map: the start page in the middle, one ring per link level, links as spokes.
    cx, cy = 87, 46
    for radius in (14, 28, 42):
        for step in range(720):
            angle = step * math.pi / 360
            put(round(cx + radius * math.cos(angle)), round(cy + radius * math.sin(angle)), 3)
    nodes = []
    for ring, count, offset in ((1, 5, 0.3), (2, 9, 0.1), (3, 14, 0.5)):
        for k in range(count):
            angle = offset + 2 * math.pi * k / count
            nodes.append((ring, round(cx + 14 * ring * math.cos(angle)), round(cy + 14 * ring * math.sin(angle))))
    ring_nodes = {r: [(x, y) for rr, x, y in nodes if rr == r] for r in (1, 2, 3)}
    for x, y in ring_nodes[1]:
        line(cx, cy, x, y, 6)
    for r in (2, 3):
        inner = ring_nodes[r - 1]
        for x, y in ring_nodes[r]:
            px, py = min(inner, key=lambda p: (p[0] - x) ** 2 + (p[1] - y) ** 2)
            line(px, py, x, y, 6)
    for ring, x, y in nodes:
        disc(x, y, 3 - (ring == 3), (4, 5, 2)[ring - 1])
    disc(cx, cy, 5, 1)

    # The name, three pixels per font pixel, with a light shadow.
    text = "Vantorix"
    scale, gap = 3, 3
    text_width = len(text) * 5 * scale + (len(text) - 1) * gap
    left, top = (width - text_width) // 2, 98
    for shadow, colour in ((1, 7), (0, 1)):
        for i, letter in enumerate(text):
            glyph = FONT[letter]
            gx = left + i * (5 * scale + gap)
            for gy, row in enumerate(glyph):
                for fx, c in enumerate(row):
                    if c != "#":
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            put(gx + fx * scale + dx + shadow, top + gy * scale + dy + shadow, colour)
    return rows


# --- The spacers --------------------------------------------------------------------------

SPACER_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def make_spacer(n):
    return encode_gif([[15] * n for _ in range(6)], SPACER_PALETTE, 15, screen=(4, 6))


# --- Output -------------------------------------------------------------------------------


def pictures():
    result = [
        ("kGlobalGif", encode_gif(from_art(GLOBE, ICON_LEGEND), ICON_PALETTE, 0)),
        ("kLocalGif", encode_gif(from_art(DISK, ICON_LEGEND), ICON_PALETTE, 0)),
        ("kLogoGif", encode_gif(make_logo(), LOGO_PALETTE, 0)),
        ("kSiteGif", encode_gif(make_site_button(), ICON_PALETTE, 0)),
        ("kNewImageGif", encode_gif(make_image_icon(), ICON_PALETTE, 0)),
    ]
    result += [("kSpace%dGif" % n, make_spacer(n)) for n in range(1, 37)]
    return result


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "report", "ReportPictureTables.h")
    lines = [
        "// SPDX-License-Identifier: MIT",
        "#pragma once",
        "",
        "// The report's GIF pictures, byte for byte. Made by tools/make_report_pictures.py; edit",
        "// the drawings there and run it again instead of editing these tables.",
        "",
        "namespace corvida::report_pictures {",
        "",
    ]
    for name, data in pictures():
        lines.append("inline constexpr unsigned char %s[] = {" % name)
        for i in range(0, len(data), 16):
            lines.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
        lines.append("};")
        lines.append("")
    lines.append("inline constexpr const unsigned char* kSpacerGifs[] = {")
    lines.append("    " + ", ".join("kSpace%dGif" % n for n in range(1, 37)) + ",")
    lines.append("};")
    lines.append("inline constexpr unsigned kSpacerGifSizes[] = {")
    lines.append("    " + ", ".join("sizeof kSpace%dGif" % n for n in range(1, 37)) + ",")
    lines.append("};")
    lines.append("")
    lines.append("} // namespace corvida::report_pictures")
    with open(target, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    formatter = shutil.which("clang-format")
    if formatter:
        subprocess.run([formatter, "-i", "--style=file", target], cwd=root, check=True)


if __name__ == "__main__":
    main()
