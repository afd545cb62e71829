#!/usr/bin/python3
"""Prints, one argument a line, an ImageMagick `convert` command line that
builds the picture of a panel file the way `quillmark-cli render` does, for
the side-by-side script: the panel's background tile stretched over the
panel, every key's background tile cut from its sheet, stretched to the key
and composited at its place, its image foregrounds composited and its label
texts drawn, below a candidate bar of the bar's background and icons. Not exact in
pixels (no nine-patch, no offsets): the same amount of work.

    panel_to_imagemagick.py PANEL.ini OUT.png
"""
import os
import sys


def read_ini(path):
    """Section name -> {key: value}, first value of a repeated key wins."""
    sections, current = {}, None
    with open(path, encoding="utf-8-sig") as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif current is not None and "=" in line and not line.startswith((";", "#")):
                key, value = line.split("=", 1)
                current.setdefault(key.strip(), value.strip())
    return sections


def numbers(text):
    return [int(part) for part in text.split(",")]


def main():
    panel_path, out = sys.argv[1], sys.argv[2]
    port = os.path.dirname(os.path.abspath(panel_path))
    res = os.path.join(os.path.dirname(port), "res")
    panel = read_ini(panel_path)
    gen = read_ini(os.path.join(port, "gen.ini"))
    styles = read_ini(os.path.join(res, "default.css"))
    font = os.path.join(res, styles.get("GLOBAL", {}).get("FONT_PATH", ""))
    sheets = {}

    def tile(key):
        """(sheet name, x, y, w, h) of a tile key "name,number"."""
        name, number = key.split(",")
        if name not in sheets:
            sheets[name] = read_ini(os.path.join(res, name + ".til"))
        x, y, w, h = numbers(sheets[name]["IMG" + number]["SOURCE_RECT"])
        return name, x, y, w, h

    def value(section, key):
        return panel.get(section, {}).get(key) or gen.get(section, {}).get(key)

    width, height = numbers(value("PANEL", "SIZE"))
    bar = numbers(value("CAND", "VIEW_RECT"))[3]
    args = ["-size", "%dx%d" % (width, height + bar), "xc:none"]
    used = set()

    def paste(style_number, x, y, w, h):
        style = styles.get("STYLE%d" % style_number, {})
        if "NM_IMG" in style:
            name, sx, sy, sw, sh = tile(style["NM_IMG"])
            used.add(name)
            args.extend(["(", "mpr:" + name, "-crop", "%dx%d+%d+%d" % (sw, sh, sx, sy), "+repage",
                         "-resize", "%dx%d!" % (max(w, 1), max(h, 1)), ")",
                         "-geometry", "+%d+%d" % (x, y), "-composite"])
        elif "SHOW" in style and "FONT_SIZE" in style:
            colour = style.get("NM_COLOR", "000000")
            args.extend(["-font", font, "-pointsize", style["FONT_SIZE"], "-fill", "#" + colour[-6:],
                         "-gravity", "NorthWest", "-annotate",
                         "+%d+%d" % (x + w // 3, y + h // 4), style["SHOW"]])

    layout = read_ini(os.path.join(port, value("CAND", "LAYOUT_NAME") + ".cnd"))
    if layout.get("CAND", {}).get("BACK_STYLE"):
        paste(int(layout["CAND"]["BACK_STYLE"]), 0, 0, width, bar)
    # the bar's icons side by side (their anchors are not worked out)
    icons = [name for name in layout if name.startswith("ICON")]
    for index, name in enumerate(icons):
        w, h = numbers(layout[name].get("SIZE", "96,96"))
        x = 42 + index * (width - 84) // max(len(icons), 1)
        for style in (layout[name].get("BACK_STYLE"), layout[name].get("FORE_STYLE")):
            if style:
                paste(int(style), x, (bar - h) // 2, w, h)
    paste(int(value("PANEL", "BACK_STYLE")), 0, bar, width, height)
    for section in panel:
        if not section.startswith("KEY") or "VIEW_RECT" not in panel[section]:
            continue
        x, y, w, h = numbers(panel[section]["VIEW_RECT"])
        back = panel[section].get("BACK_STYLE")
        if back:
            paste(int(back), x, y + bar, w, h)
        for fore in (panel[section].get("FORE_STYLE") or "").split(","):
            if fore.strip():
                paste(int(fore), x, y + bar, w, h)

    # each sheet is read once and then cut from memory
    loads = []
    for name in sorted(used):
        loads.extend([os.path.join(res, name + ".png"), "-write", "mpr:" + name, "+delete"])
    for arg in loads + args + [out]:
        print(arg)


if __name__ == "__main__":
    main()
