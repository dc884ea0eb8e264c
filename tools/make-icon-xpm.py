#!/usr/bin/env python3
"""Writes the window icon resources/rigwiseicon.xpm from the program's one icon drawing,
resources/rigwiseicon.svg, so that the window, the menus and the package show the same picture.

    tools/make-icon-xpm.py [OUTPUT]       (default: resources/rigwiseicon.xpm)

Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert. The drawing is rendered at 32 px,
partly transparent pixels become wholly opaque or wholly transparent (XPM knows only "None"),
and the colours are reduced to a small palette written as hexadecimal values.
"""
import re
import subprocess
import sys
from pathlib import Path

SIZE = 32
COLOURS = 24
CODES = "kbgly wGrcmoptuvxzBCDEFHIJKLMNOP"
TRANSPARENT = "."

top = Path(__file__).resolve().parent.parent
source = top / "resources" / "rigwiseicon.svg"
output = Path(sys.argv[1]) if len(sys.argv) > 1 else top / "resources" / "rigwiseicon.xpm"

png = subprocess.run(["rsvg-convert", "-w", str(SIZE), "-h", str(SIZE), str(source)],
                     check=True, capture_output=True).stdout
text = subprocess.run(["convert", "png:-", "-channel", "A", "-threshold", "50%", "+channel",
                       "+dither", "-colors", str(COLOURS), "txt:-"],
                      input=png, check=True, capture_output=True).stdout.decode()

pixels = {}
for line in text.splitlines()[1:]:
    match = re.match(r"(\d+),(\d+): \(.*?\)\s+#([0-9A-Fa-f]{8})", line)
    if not match:
        sys.exit(f"unexpected pixel line: {line}")
    x, y, rgba = int(match[1]), int(match[2]), match[3].upper()
    pixels[(x, y)] = None if rgba[6:] == "00" else "#" + rgba[:6]
if len(pixels) != SIZE * SIZE:
    sys.exit(f"expected {SIZE * SIZE} pixels, got {len(pixels)}")

palette = {}
codes = iter(CODES.replace(" ", ""))
rows = []
for y in range(SIZE):
    row = ""
    for x in range(SIZE):
        colour = pixels[(x, y)]
        if colour is None:
            row += TRANSPARENT
            continue
        if colour not in palette:
            palette[colour] = next(codes)
        row += palette[colour]
    rows.append(row)

lines = ["/* XPM */",
         "/* Made by tools/make-icon-xpm.py from resources/rigwiseicon.svg; do not edit. */",
         "static const char* const rigwise_icon_xpm[] = {",
         f'"{SIZE} {SIZE} {len(palette) + 1} 1",',
         f'"{TRANSPARENT} c None",']
lines += [f'"{code} c {colour}",' for colour, code in palette.items()]
lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
output.write_text("\n".join(lines) + "\n")
