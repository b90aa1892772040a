#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Write a synthetic web site for whole-crawl benchmarks.

    make-site.py DIR [--pages N] [--links N] [--pictures N] [--broken-rate R] [--seed S]

DIR receives index.html and N-1 further pages spread over three directory levels
(sNN/tNN/pNNNNN.html), a folder of small GIF pictures shared by the pages, and
expected.txt with the figures a complete crawl must find (one "key: value" per line).

Every page links to about --links other pages, with absolute paths, relative paths
and paths through "..", so URL resolution is exercised as on a real site. Page i
always links to page i+1, so every page is reachable from index.html whatever the
random links are. A share of --broken-rate of the links points to pages that do not
exist. The same seed always gives the same site, byte for byte.
"""

import argparse
import os
import posixpath
import random
import struct


def gif_bytes(width, height, colours):
    """A GIF87a picture of width x height with a four-colour palette and a stripe pattern.

    The LZW stream sends a clear code before every pair of literals, so the code width
    stays at 3 bits and no compression tables are needed here.
    """
    palette = b"".join(bytes(c) for c in colours)
    header = b"GIF87a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0) + palette
    descriptor = b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    clear, end = 4, 5
    codes = []
    for y in range(height):
        for x in range(width):
            if len(codes) % 3 == 0:
                codes.append(clear)
            codes.append(((x // 4) + (y // 4)) % 4)
    codes.append(end)
    data = bytearray()
    accumulator = bits = 0
    for code in codes:
        accumulator |= code << bits
        bits += 3
        while bits >= 8:
            data.append(accumulator & 0xFF)
            accumulator >>= 8
            bits -= 8
    if bits:
        data.append(accumulator & 0xFF)
    blocks = bytearray([2])  # minimum code size
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return header + descriptor + bytes(blocks) + b";"


def page_path(i):
    """Site path of page i (without the leading slash); page 0 is index.html."""
    if i == 0:
        return "index.html"
    return "s%02d/t%02d/p%05d.html" % (i % 10, (i // 10) % 10, i)


def href(source, target, style):
    """A link from the page at source to target, written absolutely or relatively."""
    if style == 0:
        return "/" + target
    base = posixpath.dirname(source) or "."
    return posixpath.relpath(target, base)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dir")
    parser.add_argument("--pages", type=int, default=10000)
    parser.add_argument("--links", type=int, default=20)
    parser.add_argument("--pictures", type=int, default=300)
    parser.add_argument("--broken-rate", type=float, default=0.01)
    parser.add_argument("--seed", type=int, default=20261206)
    args = parser.parse_args()
    if args.pages < 2 or args.links < 2 or args.pictures < 1:
        parser.error("need at least 2 pages, 2 links and 1 picture")

    rng = random.Random(args.seed)
    root = args.dir
    os.makedirs(os.path.join(root, "img"), exist_ok=True)

    pictures = []
    for k in range(args.pictures):
        name = "img/g%03d.gif" % k
        width, height = 8 + k % 41, 8 + (k * 7) % 33
        colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(4)]
        with open(os.path.join(root, name), "wb") as f:
            f.write(gif_bytes(width, height, colours))
        pictures.append(name)

    broken_targets = set()
    broken_links = 0
    used_pictures = set()
    total_links = 0
    for i in range(args.pages):
        source = page_path(i)
        links = [page_path((i + 1) % args.pages)]
        for _ in range(args.links - 1):
            if rng.random() < args.broken_rate:
                # A page that was removed from the site; a few of them are linked more than once.
                target = "s%02d/gone/m%04d.html" % (rng.randrange(10), rng.randrange(args.pages // 10))
                broken_targets.add(target)
                broken_links += 1
                links.append(target)
            else:
                links.append(page_path(rng.randrange(args.pages)))
        total_links += len(links)
        images = rng.sample(pictures, 1 + rng.randrange(3))
        used_pictures.update(images)

        out = ["<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">",
               "<title>Page %d</title></head>\n<body>\n<h1>Page %d</h1>\n" % (i, i)]
        for image in images:
            out.append('<img src="%s" alt="picture">\n' % href(source, image, rng.randrange(2)))
        out.append("<ul>\n")
        for n, target in enumerate(links):
            out.append('<li><a href="%s">Link %d</a> %s</li>\n'
                       % (href(source, target, rng.randrange(3)), n, "text " * rng.randrange(1, 12)))
        out.append("</ul>\n<p>" + "Some words on this page. " * rng.randrange(5, 40) + "</p>\n")
        out.append("</body></html>\n")

        path = os.path.join(root, source)
        os.makedirs(os.path.dirname(path) or root, exist_ok=True)
        with open(path, "w") as f:
            f.write("".join(out))

    with open(os.path.join(root, "expected.txt"), "w") as f:
        f.write("pages: %d\n" % args.pages)
        f.write("pictures: %d\n" % len(used_pictures))
        f.write("broken_targets: %d\n" % len(broken_targets))
        f.write("links: %d\n" % total_links)
        f.write("broken_links: %d\n" % broken_links)
        f.write("nodes: %d\n" % (args.pages + len(used_pictures) + len(broken_targets)))


if __name__ == "__main__":
    main()
