#!/bin/bash
# Side by side: `quillmark-cli render` of the demo panel against ImageMagick's
# `convert` building the same picture from the same sheets (background, key
# and icon tiles cut, stretched and composited, labels drawn; the command line
# is made from the panel's keys by panel_to_imagemagick.py). Best of N runs
# (the two taken in turn), wall and processor time, and the ratios ours/peer
# (below 1.00 is faster).
#
#   bench/render_vs_imagemagick.sh [path/to/quillmark-cli] [runs]
#
# Ours runs without the key outlines, which the peer does not draw. Both
# write a PNG at their default compression.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../build/bin/quillmark-cli}"
runs="${2:-10}"
convert=/usr/bin/convert

[[ -x "$cli" ]] || { echo "no quillmark-cli at $cli (build it, or pass its path)" >&2; exit 2; }
[[ -x "$convert" ]] || { echo "$convert is missing (Debian package imagemagick)" >&2; exit 2; }

/usr/bin/python3 - "$here" "$(cd "$here/.." && pwd)/skins/demo/port/py_26.ini" "$cli" "$convert" "$runs" <<'PY'
import os, shutil, subprocess, sys, tempfile
sys.path.insert(0, sys.argv[1])
from bestof import best_of_each, report

panel, cli, convert, runs = sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
work = tempfile.mkdtemp()
try:
    ours_png, peer_png = os.path.join(work, "ours.png"), os.path.join(work, "peer.png")
    peer_args = subprocess.run(["/usr/bin/python3", os.path.join(sys.argv[1], "panel_to_imagemagick.py"),
                                panel, peer_png], check=True, capture_output=True, text=True).stdout.splitlines()
    env = dict(os.environ, XDG_RUNTIME_DIR=work)
    ours, peer = best_of_each([dict(argv=[cli, "render", panel, "-o", ours_png, "--no-outlines"], env=env),
                               dict(argv=[convert] + peer_args, env=env)], runs)
    sizes = subprocess.run([convert, ours_png, peer_png, "-format", "%wx%h ", "info:"],
                           check=True, capture_output=True, text=True).stdout.split()
    if len(sizes) != 2 or sizes[0] != sizes[1]:
        sys.exit("the pictures differ in size: %s" % sizes)
    print("demo panel %s: %d ImageMagick operations; PNG ours %d bytes, ImageMagick %d bytes; best of %d"
          % (sizes[0], peer_args.count("-composite") + peer_args.count("-annotate"),
             os.path.getsize(ours_png), os.path.getsize(peer_png), runs))
    report([("quillmark-cli render", ours), ("convert (composite)", peer)], ours, peer)
finally:
    shutil.rmtree(work, ignore_errors=True)
PY
