#!/usr/bin/python3
"""Draws the sample game's title screens and writes tovak.ini with their hot spots.

Run with the system Python and Pillow (Debian: python3-pil) from any folder:
    /usr/bin/python3 examples/sample/make_images.py
It rewrites, beside itself: title.gif (the first menu), options.gif (a sub-menu), exitnag.gif
(the exit screen), tovak_logo.gif (the logo shown while a game starts) and tovak.ini. The
buttons drawn on each image and the hot spots in tovak.ini come from the same table below, so
they always match.
"""

import os
import random

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
GAME = "Star Courier"


def font(size, bold=False):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    try:
        return ImageFont.truetype(os.path.join(FONT_DIR, name), size)
    except OSError:
        return ImageFont.load_default()


def sky(width, height, top, bottom, seed):
    """A vertical gradient with a few stars."""
    img = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(img)
    for y in range(height):
        t = y / max(1, height - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        draw.line([(0, y), (width, y)], fill=colour)
    rng = random.Random(seed)
    for _ in range(width * height // 900):
        x, y = rng.randrange(width), rng.randrange(height)
        shade = rng.choice([(255, 255, 255), (200, 220, 255), (255, 240, 200)])
        draw.point((x, y), fill=shade)
    return img, draw


def centred_text(draw, box, text, size, colour, bold=True):
    f = font(size, bold)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=f)
    x = box[0] + (box[2] - box[0] - (right - left)) // 2 - left
    y = box[1] + (box[3] - box[1] - (bottom - top)) // 2 - top
    draw.text((x, y), text, font=f, fill=colour)


def button(draw, sel):
    # Drawn inside the hot spot, leaving its outer rings to the focus frame in the selection's
    # colour.
    x, y, w, h = sel["pos"]
    draw.rounded_rectangle([x + 4, y + 4, x + w - 5, y + h - 5], radius=10,
                           fill=(24, 28, 56), outline=(96, 104, 160), width=2)
    centred_text(draw, (x, y, x + w, y + h), sel["label"], 18, (240, 240, 255))


def save_gif(img, name):
    # Flat colours and smooth text: an adaptive palette of 128 colours holds them well.
    img.convert("P", palette=Image.ADAPTIVE, colors=128).save(os.path.join(HERE, name))


# Each menu: its section, image, size, colours, heading and selections (hot spot = pos).
MENUS = [
    {
        "section": "Settings",
        "image": "title.gif",
        "size": (640, 480),
        "sky": ((10, 14, 48), (70, 24, 90)),
        "title": GAME,
        "heading": GAME.upper(),
        "tagline": "Deliver the mail. Dodge the asteroids.",
        "selections": [
            {"label": "Play 640 x 480", "pos": (60, 160, 250, 56), "color": "00FF00",
             "code": "run", "url": "game.htm", "desc": "Play in a 640 x 480 window",
             "screen": "640,480", "game": "640,480"},
            {"label": "Play 800 x 600", "pos": (330, 160, 250, 56), "color": "00FFFF",
             "code": "run", "url": "game.htm", "desc": "Play in an 800 x 600 window",
             "screen": "800,600", "game": "640,480"},
            {"label": "Full screen", "pos": (60, 230, 250, 56), "color": "FFFF00",
             "code": "runexit", "url": "game.htm", "desc": "Play on the whole screen",
             "screen": "640,480", "game": "0,0", "full": "Y"},
            {"label": "Options...", "pos": (330, 230, 250, 56), "color": "FF8000",
             "code": "menu", "url": "Options", "desc": "Picture quality and more"},
            {"label": "Visit our website", "pos": (60, 300, 250, 56), "color": "FF00FF",
             "code": "visit", "url": "http://www.example.com/", "desc": "More games online"},
            {"label": "Quit", "pos": (330, 300, 250, 56), "color": "FF4040",
             "code": "exit", "desc": "Leave the game"},
            {"label": "Arcade bonus", "pos": (195, 380, 250, 56), "color": "80FF80",
             "code": "run", "url": "arcade.exe", "desc": "A little game of its own",
             "screen": "640,480", "game": "0,0", "full": "Y"},
        ],
    },
    {
        "section": "Options",
        "image": "options.gif",
        "size": (420, 300),
        "sky": ((20, 40, 30), (10, 20, 60)),
        "title": GAME + " - Options",
        "heading": "OPTIONS",
        "tagline": "Choose the picture quality",
        "selections": [
            {"label": "High quality", "pos": (85, 100, 250, 50), "color": "00FF00",
             "code": "runclose", "url": "game.htm", "desc": "Best picture, slower",
             "quality": "high", "screen": "800,600", "game": "640,480"},
            {"label": "Low quality", "pos": (85, 160, 250, 50), "color": "FFFF00",
             "code": "runclose", "url": "game.htm", "desc": "Faster on old machines",
             "quality": "low", "screen": "800,600", "game": "640,480"},
            {"label": "Back", "pos": (85, 220, 250, 50), "color": "FF8000",
             "code": "close", "desc": "Back to the title screen"},
        ],
    },
    {
        "section": "exitnag",
        "image": "exitnag.gif",
        "size": (420, 260),
        "sky": ((50, 10, 20), (10, 10, 40)),
        "title": "Thanks for playing",
        "heading": "THANKS FOR PLAYING!",
        "tagline": "Get the full game with 40 more planets",
        "selections": [
            {"label": "Full version", "pos": (30, 150, 170, 56), "color": "00FF00",
             "code": "visit", "url": "http://www.example.com/buy", "desc": "Buy it in our shop"},
            {"label": "Goodbye", "pos": (220, 150, 170, 56), "color": "FF4040",
             "code": "exit", "desc": "See you soon"},
        ],
    },
]


def draw_menu(menu, seed):
    width, height = menu["size"]
    img, draw = sky(width, height, *menu["sky"], seed)
    heading_size = 44 if width > 500 else 28
    centred_text(draw, (0, 20, width, 20 + heading_size + 16), menu["heading"], heading_size,
                 (255, 220, 80))
    top = 36 + heading_size
    centred_text(draw, (0, top, width, top + 24), menu["tagline"], 15, (200, 200, 230),
                 bold=False)
    for sel in menu["selections"]:
        button(draw, sel)
    save_gif(img, menu["image"])


def draw_logo():
    img, draw = sky(240, 120, (0, 0, 0), (30, 30, 80), 7)
    centred_text(draw, (0, 0, 240, 120), "TOVAK", 40, (255, 220, 80))
    save_gif(img, "tovak_logo.gif")


def ini_text():
    lines = ["; The sample game's configuration, written by make_images.py with the images.",
             "[settings]", "debug=N",
             "; Substitute players (see the README): a program shipped beside the game plays its",
             "; kind where the control is missing (playerfirst=Y: always); \"%1\" is the game's",
             "; path. A value that begins and ends with a quote needs one more pair around it.",
             ";swfplayer=players\\flash\\player.exe --fullscreen \"%1\"",
             ";dcrplayer=players\\shockwave\\projector.exe \"%1\"",
             ";htmplayer=\"\"players\\web browser\\browser.exe\" --kiosk \"%1\"\"",
             ";playerfirst=N",
             "; browsermode=N leaves web pages in the browser control's oldest document mode.",
             ";browsermode=Y",
             ""]
    for menu in MENUS:
        if menu["section"] != "Settings":
            lines.append("[%s]" % menu["section"])
        else:
            lines = lines[:-1]  # the first menu shares the section of the settings
        lines.append("title=%s" % menu["title"])
        lines.append("titleimage=%s" % menu["image"])
        lines.append("numselections=%d" % len(menu["selections"]))
        for n, sel in enumerate(menu["selections"], start=1):
            lines.append("selpos%d=%d,%d,%d,%d" % ((n,) + sel["pos"]))
            lines.append("selcolor%d=%s" % (n, sel["color"]))
            lines.append("selcode%d=%s" % (n, sel["code"]))
            lines.append("seldesc%d=%s" % (n, sel["desc"]))
            if "url" in sel:
                lines.append("selurl%d=%s" % (n, sel["url"]))
            if "screen" in sel:
                lines.append("selscreensize%d=%s" % (n, sel["screen"]))
                lines.append("selgamesize%d=%s" % (n, sel["game"]))
                lines.append("selscreenbgcolor%d=000020" % n)
                lines.append("selscreenfull%d=%s" % (n, sel.get("full", "N")))
            if "quality" in sel:
                lines.append("selquality%d=%s" % (n, sel["quality"]))
        lines.append("")
    return "\r\n".join(lines)


def main():
    for seed, menu in enumerate(MENUS, start=1):
        draw_menu(menu, seed)
    draw_logo()
    with open(os.path.join(HERE, "tovak.ini"), "w", newline="") as f:
        f.write(ini_text())


if __name__ == "__main__":
    main()
