#!/bin/bash
# Side by side: `quillmark-cli convert` against ImageMagick's mogrify on the
# same 50 sheets of about 512x512 with their tile files, 1080 -> 720.
#
#   bench/convert_vs_imagemagick.sh [path/to/quillmark-cli] [runs]
#
# Both tools scale by nearest pixel. The converter also rewrites every tile
# file; mogrify only scales the PNGs. Each tool runs `runs` times (default 3)
# on fresh copies and the best wall and processor times count. The converter
# writes every file through a temporary file, synced and renamed, so that an
# interrupted run never leaves a half-written sheet; mogrify writes in place. Sheet sides are chosen so that
# truncation (the converter) and ImageMagick's rounding give the same sizes:
# no side leaves a fraction of two thirds or more.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build/bin/quillmark-cli}"
runs="${2:-3}"
mogrify=/usr/bin/mogrify

[ -x "$cli" ] || { echo "no quillmark-cli at $cli (build it, or pass its path)" >&2; exit 2; }
[ -x "$mogrify" ] || { echo "ImageMagick's mogrify is missing (apt-get install imagemagick)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work/src" <<'PY'
import os, random, sys
from PIL import Image, ImageDraw

out = sys.argv[1]
os.makedirs(out)
random.seed(1080)
sides = [510, 512, 513, 515, 516, 518]
for n in range(50):
    w, h = random.choice(sides), random.choice(sides)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for _ in range(40):
        x0, y0 = random.randrange(w), random.randrange(h)
        x1, y1 = min(w - 1, x0 + random.randrange(8, 160)), min(h - 1, y0 + random.randrange(8, 160))
        colour = tuple(random.randrange(256) for _ in range(3)) + (random.randrange(64, 256),)
        (d.rectangle if random.random() < 0.5 else d.ellipse)([x0, y0, x1, y1], fill=colour)
    # Some noise, so the sheets compress like drawn artwork rather than flat colour.
    px = img.load()
    for _ in range(w * h // 20):
        x, y = random.randrange(w), random.randrange(h)
        px[x, y] = tuple(random.randrange(256) for _ in range(4))
    name = "sheet%02d" % n
    img.save(os.path.join(out, name + ".png"))
    cols, rows = 4, 4
    tw, th = w // cols, h // rows
    lines = ["[GLOBAL]", "USE_ALPHA=1", "TILE_NUM=%d" % (cols * rows), ""]
    for i in range(cols * rows):
        x, y = (i % cols) * tw, (i // cols) * th
        lines += ["[IMG%d]" % (i + 1), "SOURCE_RECT=%d,%d,%d,%d" % (x, y, tw, th),
                  "INNER_RECT=%d,%d,%d,%d" % (x + 10, y + 10, tw - 20, th - 20), ""]
    with open(os.path.join(out, name + ".til"), "w", newline="\r\n") as f:
        f.write("\n".join(lines))
PY

# Wall time and processor time (user + system) of one command, "WALL CPU".
measure() {
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1
    awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$work/time"
}
best() { if [ -z "$1" ] || awk "BEGIN{exit !($2 < $1)}"; then echo "$2"; else echo "$1"; fi; }

quill_wall="" quill_cpu="" magick_wall="" magick_cpu=""
for ((r = 1; r <= runs; r++)); do
    rm -rf "$work/quill"
    read -r wall cpu < <(measure "$cli" convert "$work/src" "$work/quill" --from 1080 --to 720)
    quill_wall=$(best "$quill_wall" "$wall")
    quill_cpu=$(best "$quill_cpu" "$cpu")

    rm -rf "$work/magick"
    mkdir "$work/magick"
    cp "$work"/src/*.png "$work/magick/"
    read -r wall cpu < <(measure "$mogrify" -sample 66.6667% "$work"/magick/*.png)
    magick_wall=$(best "$magick_wall" "$wall")
    magick_cpu=$(best "$magick_cpu" "$cpu")
done

# Same output sizes, sheet by sheet.
/usr/bin/python3 - "$work/quill" "$work/magick" <<'PY'
import os, sys
from PIL import Image
a, b = sys.argv[1], sys.argv[2]
names = sorted(n for n in os.listdir(b) if n.endswith(".png"))
bad = [n for n in names if Image.open(os.path.join(a, n)).size != Image.open(os.path.join(b, n)).size]
tiles = sum(1 for n in os.listdir(a) if n.endswith(".til"))
if bad or len(names) != 50 or tiles != 50:
    print("output differs: %d sheets, %d tile files, sizes differ for %s" % (len(names), tiles, bad))
    sys.exit(1)
print("output sizes equal for all %d sheets (%d tile files rewritten)" % (len(names), tiles))
PY

printf '                        wall       processor (user + system)\n'
printf 'quillmark-cli convert:  %.3f s    %.3f s\n' "$quill_wall" "$quill_cpu"
printf 'mogrify -sample:        %.3f s    %.3f s\n' "$magick_wall" "$magick_cpu"
awk "BEGIN{printf \"ratio (mogrify / quillmark): wall %.2f, processor %.2f\n\", $magick_wall / $quill_wall, $magick_cpu / $quill_cpu}"
