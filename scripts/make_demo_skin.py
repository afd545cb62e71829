#!/usr/bin/python3
"""Draws and writes the project's demo skin (skins/demo).

Everything in the skin comes from here: the PNG sheets are drawn with PIL
primitives, the text files are written the way the skin INI writer writes
them (CR LF, UTF-8 without byte-order mark, one empty line after every
section), the font and its licence are copied from Debian's
fonts-dejavu-core. The output is the same bytes on every run, so the
committed skin can be checked against a fresh run.

Usage: /usr/bin/python3 scripts/make_demo_skin.py [--output DIR]
"""

import argparse
import math
import os
import shutil
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFilter

FONT_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_COPYRIGHT = "/usr/share/doc/fonts-dejavu-core/copyright"
FONT_FILE = "DejaVuSans.ttf"

SUPERSAMPLE = 4

# The panel is laid out for a screen 1080 pixels wide. Geometry is kept in
# multiples of 3 so that converting to 720 (a factor of 2/3) is exact.
PANEL_W = 1080
PANEL_H = 624
CAND_H = 120

# Light theme.
PANEL_TOP = (206, 210, 217)
PANEL_BG_TOP = (236, 238, 242)
PANEL_BG_BOTTOM = (226, 229, 234)
KEY_LETTER = (255, 255, 255)
KEY_LETTER_DOWN = (212, 217, 225)
KEY_FUNC = (199, 205, 214)
KEY_FUNC_DOWN = (235, 238, 242)
KEY_ACCENT = (47, 111, 237)
KEY_ACCENT_DOWN = (33, 86, 196)
KEY_SELECT = (226, 236, 254)
KEY_SELECT_DOWN = (200, 219, 252)
BAR_BG = (246, 247, 249)
BAR_LINE = (221, 224, 229)
CHIP = (255, 255, 255)
CHIP_DOWN = (212, 217, 225)
DIVIDER = (206, 210, 217)
ICON = (60, 64, 70)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- INI files

class Ini:
    """Sections and properties in document order, written like the skin
    INI writer writes them."""

    def __init__(self):
        self.sections = []

    def section(self, name, *pairs):
        props = [(k, str(v)) for k, v in pairs if v is not None]
        self.sections.append((name, props))
        return props

    def text(self):
        lines = []
        for name, props in self.sections:
            lines.append("[%s]" % name)
            for key, value in props:
                assert "\n" not in value and "\r" not in value
                lines.append("%s=%s" % (key, value))
            lines.append("")
        return "".join(line + "\r\n" for line in lines)

    def write(self, path):
        write_bytes(path, self.text().encode("utf-8"))


def write_bytes(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def rect(x, y, w, h):
    return "%d,%d,%d,%d" % (x, y, w, h)


def pair(a, b):
    return "%d,%d" % (a, b)


# ------------------------------------------------------- premultiplied pixels

def _premultiply(c, a):
    # The integer rounding Qt uses when it premultiplies a channel.
    t = c * a
    return (t + (t >> 8) + 0x80) >> 8


def _stable_channel(c, a):
    """The channel value nearest to c that survives premultiplying and
    unpremultiplying unchanged, far enough from a rounding tie that any
    exact or approximate division gives the same result."""
    for d in range(0, 256):
        for candidate in (c - d, c + d):
            if candidate < 0 or candidate > 255:
                continue
            p = _premultiply(candidate, a)
            twice = 2 * p * 255
            if twice % a == 0 and (twice // a) % 2 == 1:
                continue
            if (twice + a) // (2 * a) == candidate:
                return candidate
    raise AssertionError("no stable value for %d at alpha %d" % (c, a))


_STABLE = {}


def stabilise(image):
    """Makes every pixel of an RGBA image survive the premultiplied round
    trip of loading, packing and saving a sheet, so that splitting a sheet
    and joining it back reproduces it pixel for pixel. Fully transparent
    pixels become transparent black, as a premultiplied canvas holds them."""
    out = []
    for r, g, b, a in image.getdata():
        if a == 0:
            out.append((0, 0, 0, 0))
        elif a == 255:
            out.append((r, g, b, a))
        else:
            table = _STABLE.get(a)
            if table is None:
                table = [_stable_channel(c, a) for c in range(256)]
                _STABLE[a] = table
            out.append((table[r], table[g], table[b], a))
    result = Image.new("RGBA", image.size)
    result.putdata(out)
    return result


# ------------------------------------------------------------------ drawing

def big(v):
    return int(round(v * SUPERSAMPLE))


def mask_canvas(w, h):
    m = Image.new("L", (w * SUPERSAMPLE, h * SUPERSAMPLE), 0)
    return m, ImageDraw.Draw(m)


def reduce_mask(m):
    return m.reduce(SUPERSAMPLE)


def coloured(mask, colour, opacity=1.0):
    """A solid colour with the mask (scaled by opacity) as its alpha."""
    img = Image.new("RGBA", mask.size, colour + (255,))
    if opacity != 1.0:
        mask = mask.point(lambda v: int(round(v * opacity)))
    img.putalpha(mask)
    return img


def key_tile(body, w=60, h=72, radius=15, shadow_drop=3):
    """A rounded key with a soft shadow below it."""
    body_box = (0, 0, w - 1, h - shadow_drop - 1)
    m, d = mask_canvas(w, h)
    d.rounded_rectangle([big(body_box[0]), big(body_box[1] + shadow_drop),
                         big(body_box[2] + 1) - 1, big(body_box[3] + shadow_drop + 1) - 1],
                        radius=big(radius), fill=255)
    shadow = reduce_mask(m.filter(ImageFilter.GaussianBlur(big(1.2))))
    m, d = mask_canvas(w, h)
    d.rounded_rectangle([big(body_box[0]), big(body_box[1]),
                         big(body_box[2] + 1) - 1, big(body_box[3] + 1) - 1],
                        radius=big(radius), fill=255)
    body_mask = reduce_mask(m)
    out = coloured(shadow, (0, 0, 0), 0.26)
    out = Image.alpha_composite(out, coloured(body_mask, body))
    return out


def panel_tile(w=24, h=48):
    img = Image.new("RGBA", (w, h))
    px = img.load()
    for y in range(h):
        if y < 2:
            c = PANEL_TOP
        else:
            t = (y - 2) / float(h - 3)
            c = tuple(int(round(a + (b - a) * t)) for a, b in zip(PANEL_BG_TOP, PANEL_BG_BOTTOM))
        for x in range(w):
            px[x, y] = c + (255,)
    return img


def bar_tile(fill, line, w=24, h=48):
    img = Image.new("RGBA", (w, h), fill + (255,))
    d = ImageDraw.Draw(img)
    d.line([(0, h - 1), (w - 1, h - 1)], fill=line + (255,))
    return img


def rounded_tile(fill, w, h, radius, box=None):
    m, d = mask_canvas(w, h)
    x0, y0, x1, y1 = box if box else (0, 0, w, h)
    d.rounded_rectangle([big(x0), big(y0), big(x1) - 1, big(y1) - 1], radius=big(radius), fill=255)
    return coloured(reduce_mask(m), fill)


def divider_tile(w=12, h=48):
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    d.rectangle([w - 2, 15, w - 1, h - 16], fill=DIVIDER + (255,))
    return img


def circle_tile(size=96, opacity=0.08):
    m, d = mask_canvas(size, size)
    d.ellipse([big(6), big(6), big(size - 6) - 1, big(size - 6) - 1], fill=255)
    return coloured(reduce_mask(m), (0, 0, 0), opacity)


# Icons: drawn as a mask on a 60 x 60 grid, supersampled.

ICON_SIZE = 60


def _pts(points):
    return [(big(x), big(y)) for x, y in points]


def _line(d, points, width, closed=False):
    pts = _pts(points)
    if closed:
        pts = pts + [pts[0], pts[1]]
    d.line(pts, fill=255, width=big(width), joint="curve")
    r = big(width) / 2.0
    if not closed:
        for x, y in (pts[0], pts[-1]):
            d.ellipse([x - r, y - r, x + r, y + r], fill=255)


def _disc(d, cx, cy, r, fill=255):
    d.ellipse([big(cx - r), big(cy - r), big(cx + r), big(cy + r)], fill=fill)


def _ring(d, cx, cy, r, width):
    d.ellipse([big(cx - r), big(cy - r), big(cx + r), big(cy + r)], outline=255, width=big(width))


def icon_shift(d):
    _line(d, [(30, 9), (52, 32), (40, 32), (40, 50), (20, 50), (20, 32), (8, 32)], 4, closed=True)


def icon_backspace(d):
    _line(d, [(5, 30), (20, 13), (54, 13), (54, 47), (20, 47)], 4, closed=True)
    _line(d, [(29, 22), (44, 38)], 4)
    _line(d, [(44, 22), (29, 38)], 4)


def icon_enter(d):
    _line(d, [(48, 12), (48, 36), (14, 36)], 5)
    _line(d, [(25, 25), (14, 36), (25, 47)], 5)


def icon_apps(d):
    for x, y in ((12, 12), (33, 12), (12, 33), (33, 33)):
        d.rounded_rectangle([big(x), big(y), big(x + 15), big(y + 15)], radius=big(4), fill=255)


def icon_emoji(d):
    _ring(d, 30, 30, 22, 4)
    _disc(d, 22.5, 25, 3.2)
    _disc(d, 37.5, 25, 3.2)
    d.arc([big(18), big(18), big(42), big(42)], start=25, end=155, fill=255, width=big(4))


def icon_mic(d):
    d.rounded_rectangle([big(23), big(7), big(37), big(37)], radius=big(7), fill=255)
    d.arc([big(15), big(14), big(45), big(44)], start=0, end=180, fill=255, width=big(4))
    _line(d, [(30, 44), (30, 52)], 4)
    _line(d, [(22, 52), (38, 52)], 4)


def icon_palette(d):
    _ring(d, 30, 30, 22, 4)
    for angle in (200, 250, 300, 350):
        a = math.radians(angle)
        _disc(d, 30 + 12 * math.cos(a), 30 + 12 * math.sin(a), 4)
    _disc(d, 36, 41, 4.5)


def icon_gear(d):
    cx = cy = 30
    for k in range(8):
        a = math.radians(k * 45)
        ca, sa = math.cos(a), math.sin(a)
        # A tooth: a short bar along the radius.
        pts = []
        for (r, t) in ((12, -5), (24, -4), (24, 4), (12, 5)):
            pts.append((cx + r * ca - t * sa, cy + r * sa + t * ca))
        d.polygon(_pts(pts), fill=255)
    _disc(d, cx, cy, 17)
    _disc(d, cx, cy, 7, fill=0)


def icon_keyboard_hide(d):
    d.rounded_rectangle([big(7), big(8), big(53), big(38)], radius=big(5), outline=255, width=big(3.5))
    for row, y in enumerate((16, 23)):
        for i in range(6 - row):
            x = 14.5 + i * 6.2 + row * 3
            d.rectangle([big(x - 1.6), big(y - 1.6), big(x + 1.6), big(y + 1.6)], fill=255)
    _line(d, [(20, 31), (40, 31)], 3.2)
    _line(d, [(22, 45), (30, 52), (38, 45)], 4)


def icon_chevron(d):
    _line(d, [(16, 23), (30, 37), (44, 23)], 5)


ICONS = [
    ("shift", icon_shift, ICON),
    ("backspace", icon_backspace, ICON),
    ("enter", icon_enter, WHITE),
    ("apps", icon_apps, ICON),
    ("emoji", icon_emoji, ICON),
    ("mic", icon_mic, ICON),
    ("palette", icon_palette, ICON),
    ("gear", icon_gear, ICON),
    ("keyboard_hide", icon_keyboard_hide, ICON),
    ("more", icon_chevron, ICON),
]


def icon_tile(draw, colour):
    m, d = mask_canvas(ICON_SIZE, ICON_SIZE)
    draw(d)
    return coloured(reduce_mask(m), colour)


# ------------------------------------------------------------------- sheets

def write_sheet(res, base, tiles):
    """Stacks the tiles top to bottom from (0, 0), numbered from 1, as the
    tile tool's join packs a directory of images, and writes the sheet and
    its tile file. tiles: list of (image, inner rectangle or None)."""
    width = max(img.size[0] for img, _ in tiles)
    height = sum(img.size[1] for img, _ in tiles)
    sheet = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    til = Ini()
    til.section("GLOBAL", ("USE_ALPHA", 1), ("TILE_NUM", len(tiles)))
    y = 0
    for number, (img, inner) in enumerate(tiles, start=1):
        w, h = img.size
        assert w % 3 == 0 and h % 3 == 0, (base, number)
        sheet.paste(stabilise(img), (0, y))
        props = [("SOURCE_RECT", rect(0, y, w, h))]
        if inner:
            ix, iy, iw, ih = inner
            assert 0 <= ix and ix + iw <= w and 0 <= iy and iy + ih <= h, (base, number)
            props.append(("INNER_RECT", rect(ix, y + iy, iw, ih)))
        til.section("IMG%d" % number, *props)
        y += h
    write_png(sheet, os.path.join(res, base + ".png"))
    til.write(os.path.join(res, base + ".til"))


def write_png(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # No text chunks, no time stamp: the same pixels give the same bytes.
    image.save(path, format="PNG", optimize=False, compress_level=9)


KEY_INNER = (18, 18, 24, 33)


def make_sheets(res):
    write_sheet(res, "keys", [
        (key_tile(KEY_LETTER), KEY_INNER),         # 1 letter key
        (key_tile(KEY_LETTER_DOWN), KEY_INNER),    # 2 letter key pressed
        (key_tile(KEY_FUNC), KEY_INNER),           # 3 function key
        (key_tile(KEY_FUNC_DOWN), KEY_INNER),      # 4 function key pressed
        (key_tile(KEY_ACCENT), KEY_INNER),         # 5 enter key
        (key_tile(KEY_ACCENT_DOWN), KEY_INNER),    # 6 enter key pressed
        (key_tile(KEY_SELECT), KEY_INNER),         # 7 space key while composing
        (key_tile(KEY_SELECT_DOWN), KEY_INNER),    # 8 the same, pressed
    ])
    write_sheet(res, "panel", [
        (panel_tile(), (0, 3, 24, 42)),                              # 1 panel background
        (bar_tile(BAR_BG, BAR_LINE), (0, 3, 24, 42)),                # 2 candidate bar
        (rounded_tile(WHITE, 30, 30, 9), (9, 9, 12, 12)),            # 3 input code box
        (rounded_tile(CHIP, 84, 72, 27, (6, 9, 78, 63)), (33, 33, 18, 6)),       # 4 list cell
        (rounded_tile(CHIP_DOWN, 84, 72, 27, (6, 9, 78, 63)), (33, 33, 18, 6)),  # 5 list cell pressed
        (divider_tile(), (0, 15, 9, 18)),                            # 6 candidate cell
        (circle_tile(), None),                                       # 7 icon pressed
    ])
    write_sheet(res, "icons", [(icon_tile(draw, colour), None) for _, draw, colour in ICONS])


# ------------------------------------------------------------------- styles

# Style numbers, by purpose.
S_PANEL, S_KEY, S_FUNC, S_ACCENT, S_SELECT = 1, 2, 3, 4, 5
S_BAR, S_LIST_BG, S_INPUT_BG, S_CHIP, S_CELL, S_ICON_DOWN = 6, 7, 8, 9, 10, 11
S_ICON = {name: 20 + i for i, (name, _, _) in enumerate(ICONS)}
LETTERS = "abcdefghijklmnopqrstuvwxyz"
S_LETTER = {c: 40 + i for i, c in enumerate(LETTERS)}
DIGITS = "1234567890"
S_DIGIT = {c: 70 + i for i, c in enumerate(DIGITS)}
S_123, S_COMMA, S_PERIOD, S_SPACE = 80, 81, 82, 83
S_CONFIRM, S_SELECT_TEXT, S_SEPARATOR, S_SEPARATOR_HINT, S_SEARCH = 84, 85, 86, 87, 88
S_INPUT, S_CAND, S_CAND_FIRST, S_LIST_TEXT = 90, 91, 92, 93
S_SOUND_KEY, S_SOUND_PANEL = 100, 101
S_ANIM_KEY, S_ANIM_PANEL = 110, 111

TEXT = "202328"
TEXT_DOWN = "1d4fc2"
HINT = "868c96"
ACCENT = "2f6fed"


def label(show, size, colour=TEXT, down=TEXT_DOWN, border=None, border_size=None):
    props = [("SHOW", show), ("FONT_SIZE", size), ("NM_COLOR", colour), ("HL_COLOR", down)]
    if border:
        props += [("BORDER_COLOR", border), ("BORDER_SIZE", border_size)]
    return props


def make_styles(res):
    css = Ini()
    css.section("GLOBAL", ("FONT_PATH", FONT_FILE))

    def img(n, normal, pressed):
        css.section("STYLE%d" % n, ("NM_IMG", normal), ("HL_IMG", pressed))

    img(S_PANEL, "panel,1", "panel,1")
    img(S_KEY, "keys,1", "keys,2")
    img(S_FUNC, "keys,3", "keys,4")
    img(S_ACCENT, "keys,5", "keys,6")
    img(S_SELECT, "keys,7", "keys,8")
    img(S_BAR, "panel,2", "panel,2")
    css.section("STYLE%d" % S_LIST_BG, ("NM_COLOR", "eef0f3"), ("HL_COLOR", "e4e7eb"))
    img(S_INPUT_BG, "panel,3", "panel,3")
    img(S_CHIP, "panel,4", "panel,5")
    img(S_CELL, "panel,6", "panel,6")
    css.section("STYLE%d" % S_ICON_DOWN, ("HL_IMG", "panel,7"))
    for i, (name, _, _) in enumerate(ICONS):
        img(S_ICON[name], "icons,%d" % (i + 1), "icons,%d" % (i + 1))

    for c in LETTERS:
        css.section("STYLE%d" % S_LETTER[c], *label(c, 54, border="80ffffff", border_size=2))
    for c in DIGITS:
        css.section("STYLE%d" % S_DIGIT[c], *label(c, 27, colour=HINT, down=TEXT_DOWN))
    css.section("STYLE%d" % S_123, *label("123", 39, border="ffffff", border_size=1))
    css.section("STYLE%d" % S_COMMA, *label("，", 51))
    css.section("STYLE%d" % S_PERIOD, *label("。", 51))
    css.section("STYLE%d" % S_SPACE, *label("空格", 36, colour="5f6670"))
    css.section("STYLE%d" % S_CONFIRM,
                *label("确认", 39, colour="ffffff", down="dfe8fd", border="40000000", border_size=2))
    css.section("STYLE%d" % S_SELECT_TEXT, *label("选定", 39, colour=ACCENT, down=TEXT_DOWN))
    css.section("STYLE%d" % S_SEPARATOR, *label("'", 54))
    css.section("STYLE%d" % S_SEPARATOR_HINT, *label("分词", 24, colour=HINT))
    css.section("STYLE%d" % S_SEARCH,
                *label("搜索", 39, colour="ffffff", down="dfe8fd", border="40000000", border_size=2))

    css.section("STYLE%d" % S_INPUT, *label("pin'yin", 39, colour="3c4046", down="3c4046"))
    css.section("STYLE%d" % S_CAND, *label("候选", 42))
    css.section("STYLE%d" % S_CAND_FIRST, *label("首选", 42, colour=ACCENT, down=TEXT_DOWN))
    css.section("STYLE%d" % S_LIST_TEXT, *label("全部", 33, colour="4a4f57", down=ACCENT))

    css.section("STYLE%d" % S_SOUND_KEY, ("PRESS_SOUND_PATH", "sounds/click.wav"))
    css.section("STYLE%d" % S_SOUND_PANEL,
                ("PANEL_SHOW_SOUND_PATH", "sounds/open.wav"),
                ("PANEL_HIDE_SOUND_PATH", "sounds/close.wav"))
    css.section("STYLE%d" % S_ANIM_KEY, ("PRESS_ANIM", "zoom_in"), ("RELEASE_ANIM", "zoom_out"))
    css.section("STYLE%d" % S_ANIM_PANEL,
                ("SHOW_ANIM", "fade_in"), ("HIDE_ANIM", "fade_out"), ("SHOW_ANIM_FOR_PANEL", "slide_up"))
    css.write(os.path.join(res, "default.css"))


# ------------------------------------------------------------------- sounds

def write_tone(path, freq_start, freq_end, millis, volume):
    rate = 22050
    n = rate * millis // 1000
    frames = bytearray()
    phase = 0.0
    for i in range(n):
        t = i / float(n)
        freq = freq_start + (freq_end - freq_start) * t
        phase += 2 * math.pi * freq / rate
        envelope = (1.0 - t) ** 3 * min(1.0, i / 40.0)
        frames += struct.pack("<h", int(round(volume * 32767 * envelope * math.sin(phase))))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def make_sounds(res):
    write_tone(os.path.join(res, "sounds", "click.wav"), 2400, 1800, 30, 0.35)
    write_tone(os.path.join(res, "sounds", "open.wav"), 600, 900, 60, 0.25)
    write_tone(os.path.join(res, "sounds", "close.wav"), 900, 600, 60, 0.25)


# ----------------------------------------------------------------- the font

def copy_font(res):
    shutil.copyfile(FONT_SOURCE, os.path.join(res, FONT_FILE))
    # The licence paragraph of the fonts, without Debian's indentation.
    lines = []
    inside = False
    with open(FONT_COPYRIGHT, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("Files: "):
                inside = line == "Files: *"
                if not inside and lines:
                    break
            if not inside:
                continue
            if line.startswith(" "):
                line = line[1:]
                if line == ".":
                    line = ""
            lines.append(line.rstrip())
    text = "DejaVu Sans, copied from Debian's fonts-dejavu-core.\n\n" + "\n".join(lines).strip() + "\n"
    write_bytes(os.path.join(res, "DejaVuSans-LICENSE.txt"), text.encode("utf-8"))


# ------------------------------------------------------------ panel and gen

ROW_Y = [12 + 156 * r for r in range(4)]
KEY_H = 132

# Positions of the second foreground layer (gen.ini OFFSET sections).
OFF_TOP_RIGHT, OFF_BELOW, OFF_RAISED, OFF_FULL_WIDTH = 1, 2, 3, 4


def make_keys():
    """(view rect, touch rect, back style, fore styles, pos types, stat)."""
    keys = []

    def key(x, row, w, back, fore, pos=None, stat=None, touch_left=None, touch_right=None):
        y = ROW_Y[row]
        tx = x - 6 if touch_left is None else touch_left
        tr = x + w + 6 if touch_right is None else touch_right
        keys.append(((x, y, w, KEY_H), (tx, y - 12, tr - tx, KEY_H + 24), back, fore, pos, stat))

    for i, c in enumerate("qwertyuiop"):
        key(6 + 108 * i, 0, 96, S_KEY, [S_LETTER[c], S_DIGIT[DIGITS[i]]], pos=[0, OFF_TOP_RIGHT])
    row = "asdfghjkl"
    for i, c in enumerate(row):
        key(60 + 108 * i, 1, 96, S_KEY, [S_LETTER[c]],
            touch_left=0 if i == 0 else None, touch_right=PANEL_W if i == len(row) - 1 else None)
    key(6, 2, 150, S_FUNC, [S_ICON["shift"]])
    for i, c in enumerate("zxcvbnm"):
        key(168 + 108 * i, 2, 96, S_KEY, [S_LETTER[c]])
    key(924, 2, 150, S_FUNC, [S_ICON["backspace"]])
    key(6, 3, 150, S_FUNC, [S_123])
    # Full-width punctuation sits low on the left of its em box: centre it.
    key(168, 3, 96, S_KEY, [S_COMMA], pos=[OFF_FULL_WIDTH], stat="S4_3")
    key(276, 3, 528, S_KEY, [S_SPACE], stat="S4_2")
    key(816, 3, 96, S_KEY, [S_PERIOD], pos=[OFF_FULL_WIDTH])
    key(924, 3, 150, S_ACCENT, [S_ICON["enter"]], stat="S4_1|S5_4")
    return keys


def make_panel(port):
    ini = Ini()
    ini.section("PANEL", ("SIZE", pair(PANEL_W, PANEL_H)), ("BACK_STYLE", S_PANEL))
    ini.section("CAND", ("TYPE", 2), ("VIEW_RECT", rect(0, 0, PANEL_W, CAND_H)), ("LAYOUT_NAME", "py_cand"))
    ini.section("LIST", ("TYPE", 3), ("LIST_NUM", 5), ("NAMES", "全部 词组 单字 符号 表情"))
    ini.section("INPUT", ("FORE_STYLE", S_INPUT))
    ini.section("HINT",
                ("NAME", "Demo Pinyin 26"),
                ("AUTHOR", "Quillmark Studio"),
                ("VERSION", "1"),
                ("RESOLUTION", "1080"),
                ("DESC", "QWERTY pinyin keyboard, light theme"))
    for n, (view, touch, back, fore, pos, stat) in enumerate(make_keys(), start=1):
        ini.section("KEY%d" % n,
                    ("VIEW_RECT", rect(*view)),
                    ("TOUCH_RECT", rect(*touch)),
                    ("BACK_STYLE", back),
                    ("FORE_STYLE", ",".join(str(s) for s in fore)),
                    ("POS_TYPE", ",".join(str(p) for p in pos) if pos else None),
                    ("STAT_STYLE", stat))
    # What keys show in other statuses: 4 while composing, 5 in a search field.
    ini.section("TIP1", ("FORE_STYLE", S_CONFIRM), ("POS_TYPE", 0))
    ini.section("TIP2", ("BACK_STYLE", S_SELECT), ("FORE_STYLE", S_SELECT_TEXT))
    ini.section("TIP3", ("FORE_STYLE", "%d,%d" % (S_SEPARATOR, S_SEPARATOR_HINT)),
                ("POS_TYPE", "%d,%d" % (OFF_RAISED, OFF_BELOW)))
    ini.section("TIP4", ("BACK_STYLE", S_ACCENT), ("FORE_STYLE", S_SEARCH))
    ini.write(os.path.join(port, "py_26.ini"))


def make_gen(port):
    # Values shared by every panel of the skin; a panel file overrides them.
    ini = Ini()
    ini.section("PANEL", ("BACK_STYLE", S_PANEL))
    ini.section("CAND", ("TYPE", 2), ("VIEW_RECT", rect(0, 0, PANEL_W, CAND_H)), ("LAYOUT_NAME", "py_cand"))
    ini.section("LIST",
                ("TYPE", 3),
                ("BACK_STYLE", S_LIST_BG),
                ("FORE_STYLE", S_LIST_TEXT),
                ("CELL_STYLE", S_CHIP),
                ("CELL_SIZE", pair(216, 78)),
                ("POS", pair(0, 0)),
                ("LIST_NUM", 5),
                ("LIST_ORDER", 1),
                ("PADDING", rect(0, 0, 0, 0)))
    ini.section("INPUT", ("FORE_STYLE", S_INPUT), ("BACK_STYLE", S_INPUT_BG))
    ini.section("OFFSET%d" % OFF_TOP_RIGHT, ("POS", pair(30, -45)))
    ini.section("OFFSET%d" % OFF_BELOW, ("POS", pair(0, 36)))
    ini.section("OFFSET%d" % OFF_RAISED, ("POS", pair(0, -9)))
    ini.section("OFFSET%d" % OFF_FULL_WIDTH, ("POS", pair(15, -12)))
    ini.write(os.path.join(port, "gen.ini"))


def make_cand(port):
    ini = Ini()
    ini.section("CAND",
                ("BACK_STYLE", S_BAR),
                ("FORE_STYLE", S_CAND),
                ("FIRST_FORE", S_CAND_FIRST),
                ("CELL_STYLE", S_CELL),
                ("FIRST_GAP", 9),
                ("CELL_W", 30),
                ("MORE_W", 96),
                ("PADDING", rect(144, 0, 144, 0)))

    def icon(n, name, anchor, pos, persist):
        ini.section("ICON%d" % n,
                    ("BACK_STYLE", S_ICON_DOWN),
                    ("FORE_STYLE", S_ICON[name]),
                    ("SIZE", pair(96, 96)),
                    ("ANCHOR_TYPE", anchor),
                    ("POS", pair(*pos)),
                    ("PERSIST", persist))

    # Anchors: 1 top left, 3 top right, 4 left middle, 5 centre,
    # 6 right middle, 9 bottom right. PERSIST: 1 idle, 2 composing, 3 both.
    icon(1, "apps", 1, (42, 12), 3)
    icon(2, "emoji", 4, (222, -48), 1)
    icon(3, "mic", 5, (-138, -48), 1)
    icon(4, "palette", 5, (42, -48), 1)
    icon(5, "gear", 6, (-318, -48), 1)
    icon(6, "keyboard_hide", 9, (-138, -108), 1)
    icon(7, "more", 3, (-138, 12), 2)
    ini.write(os.path.join(port, "py_cand.cnd"))


README = """# Demo skin

The project's own skin: a QWERTY pinyin keyboard in a light theme, laid
out for a screen 1080 pixels wide. The editor opens it as
`skins/demo/port/py_26.ini`, and the tests use it as their real-world
fixture.

Every file here is written by `scripts/make_demo_skin.py`; edit the
generator and run it again (`/usr/bin/python3 scripts/make_demo_skin.py`)
rather than editing the files by hand. A test checks that the committed
skin is exactly what the generator writes.

- `port/py_26.ini`: the panel: 33 keys, the candidate bar, the option
  list, the input area and the skin's description (HINT).
- `port/gen.ini`: values shared by the panels of the skin and the
  offsets (`OFFSET<n>`) that place second labels on keys.
- `port/py_cand.cnd`: the candidate bar: candidate cells and its icons.
- `res/default.css`: the style table.
- `res/keys.til`, `res/panel.til`, `res/icons.til` with their PNG sheets:
  nine-patch key backgrounds, bar and list backgrounds, icons.
- `res/sounds/`: key click and panel sounds.

## Font licence

`res/DejaVuSans.ttf` is DejaVu Sans, copied from Debian's
fonts-dejavu-core package. It is distributed under the Bitstream Vera
licence (DejaVu changes are in the public domain); the full text is in
`res/DejaVuSans-LICENSE.txt`. All other files of this skin are made by
this project.
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Writes the demo skin.")
    parser.add_argument("--output", default=os.path.join(here, "..", "skins", "demo"),
                        help="skin root to write (default: skins/demo of the repository)")
    args = parser.parse_args()
    root = os.path.abspath(args.output)
    port = os.path.join(root, "port")
    res = os.path.join(root, "res")
    os.makedirs(port, exist_ok=True)
    os.makedirs(res, exist_ok=True)

    make_sheets(res)
    make_styles(res)
    make_sounds(res)
    copy_font(res)
    make_panel(port)
    make_gen(port)
    make_cand(port)
    write_bytes(os.path.join(root, "README.md"), README.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
