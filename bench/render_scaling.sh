#!/bin/bash
# `quillmark-cli render` of the demo keyboard repeated to 3,300 and 33,000
# keys at device resolution 1080 (the panels bench_scaling writes): the best
# wall time of each and their ratio, which should stay near 10 (linear).
#
#   bench/render_scaling.sh [build directory] [runs]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
runs="${2:-3}"
cli="$build/bin/quillmark-cli"
writer="$build/bin/bench_scaling"
[ -x "$cli" ] && [ -x "$writer" ] || { echo "build quillmark-cli and bench_scaling in $build first" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$writer" --write-panels "$work" >/dev/null

/usr/bin/python3 - "$cli" "$work" "$runs" <<'PY'
import subprocess, sys, time
cli, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])

def best(keys):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([cli, "render", f"{work}/demo/port/keys{keys}.ini", "-o", f"{work}/out{keys}.png",
                        "--device-resolution", "1080"], check=True, capture_output=True)
        times.append(time.perf_counter() - start)
    return min(times)

small, large = best(3300), best(33000)
print(f"3,300 keys: {small:.3f} s\n33,000 keys: {large:.3f} s\nratio: {large / small:.2f}")
PY
