#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the table of HTML's named character references for Corvida's link reader.

Links in attribute values may hold references such as "&amp;" or "&hellip;"; the link reader
decodes them before a value becomes a URL. This tool takes the named references of HTML (the
list Python's standard library carries as html.entities.html5), keeps the ones that end with
";" (those without it are left as written), sorts them by name and writes
src/html/NamedCharacterTable.h, each name with its characters in UTF-8.

Run from anywhere:  tools/make_named_characters.py [OUTPUT.h]
It uses only Python's standard library, and runs clang-format on the output when it can.
"""

import html.entities
import os
import shutil
import subprocess
import sys


def c_string(data):
    """A C string literal of bytes, every byte outside printable ASCII as an octal escape."""
    out = []
    for byte in data:
        if 0x20 <= byte < 0x7F and byte not in (ord('"'), ord("\\"), ord("?")):
            out.append(chr(byte))
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "html", "NamedCharacterTable.h")
    names = sorted(name[:-1] for name in html.entities.html5 if name.endswith(";"))
    lines = [
        "// SPDX-License-Identifier: MIT",
        "#pragma once",
        "",
        "// HTML's named character references (those that end with ';'), sorted by name, each with",
        "// its characters in UTF-8. Made by tools/make_named_characters.py; run it again instead of",
        "// editing this table.",
        "",
        "#include <string_view>",
        "",
        "namespace corvida::named_characters {",
        "",
        "struct Entry {",
        "    std::string_view name;",
        "    std::string_view characters;",
        "};",
        "",
        "inline constexpr Entry kEntries[] = {",
    ]
    for name in names:
        characters = html.entities.html5[name + ";"].encode("utf-8")
        lines.append("    {%s, %s}," % (c_string(name.encode("ascii")), c_string(characters)))
    lines += ["};", "", "} // namespace corvida::named_characters", ""]
    with open(output, "w", encoding="ascii") as f:
        f.write("\n".join(lines))
    formatter = shutil.which("clang-format")
    if formatter:
        subprocess.run([formatter, "-i", "--style=file", output], cwd=root, check=False)


if __name__ == "__main__":
    main()
