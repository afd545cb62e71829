#!/bin/bash
# Side by side: `quillmark-cli pack` and `unpack` of the demo skin against
# Info-ZIP's `zip -r -q` and `unzip -q` of the same skin and archive. Best of
# N runs each (ours and the peer's taken in turn), wall and processor time,
# and the ratios ours/peer (below 1.00 is faster than the peer).
#
#   bench/pack_vs_zip.sh [path/to/quillmark-cli] [runs]
#
# Both pack with deflate at the default level (ours through libdeflate, zip
# through its own). Our unpacking writes into a new directory that takes the
# output's place at the end, and syncs every file and directory once, at the
# end; unzip writes in place and syncs nothing. The fixed cost of starting
# the tool (`quillmark-cli --version`) is printed too.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cli="${1:-$here/../build/bin/quillmark-cli}"
runs="${2:-20}"

[[ -x "$cli" ]] || { echo "no quillmark-cli at $cli (build it, or pass its path)" >&2; exit 2; }
for tool in /usr/bin/zip /usr/bin/unzip; do
    [[ -x "$tool" ]] || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done

/usr/bin/python3 - "$here" "$(cd "$here/.." && pwd)/skins/demo" "$cli" "$runs" <<'PY'
import filecmp, os, shutil, subprocess, sys, tempfile
sys.path.insert(0, sys.argv[1])
from bestof import best_of, best_of_each, report

skin, cli, runs = sys.argv[2], sys.argv[3], int(sys.argv[4])
work = tempfile.mkdtemp()
try:
    ours_zip, peer_zip = os.path.join(work, "ours.zip"), os.path.join(work, "peer.zip")
    out = os.path.join(work, "out")

    def no_archive(path):
        return lambda: os.path.exists(path) and os.remove(path)

    def no_tree():
        shutil.rmtree(out, ignore_errors=True)

    def same_tree(a, b):
        comparison = filecmp.dircmp(a, b)
        if comparison.left_only or comparison.right_only or comparison.diff_files or comparison.funny_files:
            return False
        return all(same_tree(os.path.join(a, d), os.path.join(b, d)) for d in comparison.common_dirs)

    start = best_of([cli, "--version"], runs)
    pack, zip_ = best_of_each([
        dict(argv=[cli, "pack", skin, ours_zip], prepare=no_archive(ours_zip)),
        dict(argv=["/usr/bin/zip", "-r", "-q", peer_zip, "."], prepare=no_archive(peer_zip), cwd=skin)], runs)
    # both unpack the archive zip made; unzip's run comes last
    unpack, unzip = best_of_each([
        dict(argv=[cli, "unpack", peer_zip, out], prepare=no_tree),
        dict(argv=["/usr/bin/unzip", "-q", peer_zip, "-d", out], prepare=no_tree)], runs)
    ok_peer = same_tree(skin, out)
    no_tree()
    subprocess.run([cli, "unpack", peer_zip, out], check=True, stdout=subprocess.DEVNULL)
    ok_ours = same_tree(skin, out)
    no_tree()
    subprocess.run([cli, "unpack", ours_zip, out], check=True, stdout=subprocess.DEVNULL)
    ok_packed = same_tree(skin, out)
    if not (ok_ours and ok_peer and ok_packed):
        sys.exit("the unpacked trees differ from the skin (ours %s, unzip %s, our archive %s)"
                 % (ok_ours, ok_peer, ok_packed))
    print("demo skin: %d files, %d bytes; archives: ours %d bytes, zip %d bytes; best of %d"
          % (sum(len(f) for _, _, f in os.walk(skin)),
             sum(os.path.getsize(os.path.join(d, n)) for d, _, f in os.walk(skin) for n in f),
             os.path.getsize(ours_zip), os.path.getsize(peer_zip), runs))
    print("fixed cost: quillmark-cli --version  wall %.2f ms, processor %.2f ms" % (start["wall"] * 1e3, start["cpu"] * 1e3))
    print()
    report([("quillmark-cli pack", pack), ("zip -r -q", zip_)], pack, zip_)
    print()
    report([("quillmark-cli unpack", unpack), ("unzip -q", unzip)], unpack, unzip)
finally:
    shutil.rmtree(work, ignore_errors=True)
PY
