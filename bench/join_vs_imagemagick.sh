#!/usr/bin/env bash
# Side by side: joining 250 small PNGs into one vertical sheet with
# `quillmark-cli join` and with ImageMagick's `convert … -append`, on the
# same files; then the sheet is split back with `quillmark-cli split`.
#
# Usage: bench/join_vs_imagemagick.sh [PATH_TO_QUILLMARK_CLI] [RUNS]
# Default CLI: build/bin/quillmark-cli of this checkout; default runs: 5.
# Prints the best time of each tool and the ratio ImageMagick / ours.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="${1:-$root/build/bin/quillmark-cli}"
runs="${2:-5}"
convert=/usr/bin/convert
python=/usr/bin/python3

[[ -x "$cli" ]] || { echo "quillmark-cli not found at $cli (build it first or pass its path)" >&2; exit 2; }
[[ -x "$convert" ]] || { echo "$convert not found (Debian package imagemagick)" >&2; exit 2; }
"$python" -c 'import PIL' 2>/dev/null || { echo "$python lacks PIL (Debian package python3-pil)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tiles" "$work/ours" "$work/im" "$work/split"

# 250 PNGs of 20 to 90 pixels a side with some alpha, seeded so every run
# joins the same files. ImageMagick's default policy and our own image bound
# both cap a side at 16384 pixels, so the stacked height must stay below it.
"$python" - "$work/tiles" <<'PY'
import random, sys
from PIL import Image, ImageDraw
out = sys.argv[1]
rng = random.Random(20261207)
sizes = [(rng.randint(20, 90), rng.randint(20, 90)) for _ in range(250)]
assert sum(h for _, h in sizes) <= 16384
for i, (w, h) in enumerate(sizes, 1):
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    colour = (rng.randrange(256), rng.randrange(256), rng.randrange(256), 255)
    draw.rounded_rectangle((0, 0, w - 1, h - 1), radius=min(w, h) // 4, fill=colour)
    draw.text((3, 3), str(i), fill=(255, 255, 255, 200))
    image.save("%s/%03d.png" % (out, i))
PY

now() { date +%s%N; }
best_ours=""
best_im=""
best_split=""
for ((run = 1; run <= runs; run++)); do
    rm -f "$work/ours/"* "$work/im/"* "$work/split/"*

    start=$(now)
    "$cli" join "$work/tiles" "$work/ours/sheet.til" >/dev/null 2>&1
    ours=$(( $(now) - start ))

    start=$(now)
    "$convert" "$work/tiles/"*.png -background none -append "$work/im/sheet.png"
    im=$(( $(now) - start ))

    start=$(now)
    "$cli" split "$work/ours/sheet.til" "$work/split" >/dev/null 2>&1
    split=$(( $(now) - start ))

    [[ -z "$best_ours" || $ours -lt $best_ours ]] && best_ours=$ours
    [[ -z "$best_im" || $im -lt $best_im ]] && best_im=$im
    [[ -z "$best_split" || $split -lt $best_split ]] && best_split=$split
done

# Both sheets must have the same size, and the split must give back every
# tile at its own size.
"$python" - "$work" <<'PY'
import os, sys
from PIL import Image
work = sys.argv[1]
ours = Image.open(os.path.join(work, "ours", "sheet.png")).size
theirs = Image.open(os.path.join(work, "im", "sheet.png")).size
if ours != theirs:
    sys.exit("sheet sizes differ: quillmark %dx%d, ImageMagick %dx%d" % (ours + theirs))
names = sorted(os.listdir(os.path.join(work, "tiles")))
split = sorted(os.listdir(os.path.join(work, "split")))
if names != split:
    sys.exit("split gave %d files for %d tiles" % (len(split), len(names)))
for name in names:
    a = Image.open(os.path.join(work, "tiles", name)).size
    b = Image.open(os.path.join(work, "split", name)).size
    if a != b:
        sys.exit("%s: split size %s, original %s" % (name, b, a))
print("sheet %dx%d from %d images; split back into %d tiles of the original sizes" % (ours + (len(names), len(split))))
PY

ms() { awk -v ns="$1" 'BEGIN { printf "%.1f ms", ns / 1e6 }'; }
echo "best of $runs runs:"
echo "  quillmark-cli join:   $(ms "$best_ours")"
echo "  convert -append:      $(ms "$best_im")"
echo "  quillmark-cli split:  $(ms "$best_split")"
awk -v a="$best_im" -v b="$best_ours" 'BEGIN { printf "  ratio convert / quillmark join: %.2f (above 1: ours is faster)\n", a / b }'
