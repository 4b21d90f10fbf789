#!/usr/bin/python3
"""Writes tools/check/preview_font.inc: the printable ASCII characters of DejaVu Sans Bold at 12 pixels
(Debian's fonts-dejavu-core), one bit per pixel in cells 16 pixels high, with their advance
widths. Their widths come close to those of the default font in which the menu window measures
and draws a description, so that tovak-check's preview places description boxes as the window
does. Run it again only to change the font:  /usr/bin/python3 tools/check/make_preview_font.py
"""
import os
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SIZE, HEIGHT, BASELINE = 12, 16, 13

font = ImageFont.truetype(FONT, SIZE)
lines = []
for code in range(32, 127):
    ch = chr(code)
    width = round(font.getlength(ch))
    image = Image.new("L", (width + 4, HEIGHT), 0)
    ImageDraw.Draw(image).text((0, BASELINE), ch, font=font, fill=255, anchor="ls")
    rows = []
    for y in range(HEIGHT):
        bits = 0
        for x in range(min(width, 16)):
            if image.getpixel((x, y)) >= 128:
                bits |= 1 << x
        rows.append("0x%04X" % bits)
    shown = {" ": "space", "\\": "backslash", "'": "quote"}.get(ch, ch)
    lines.append("    {%d, {%s}}, // %s" % (width, ", ".join(rows), shown))

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "preview_font.inc")
with open(out, "w") as f:
    f.write("// Written by tools/check/make_preview_font.py: characters 32 to 126 of DejaVu Sans Bold at 12\n")
    f.write("// pixels: advance width, then 16 rows, bit x of a row being the pixel in column x.\n")
    f.write("\n".join(lines) + "\n")
