#!/usr/bin/env bash
# Starts the editor in a real X window (Xvfb) on a copy of the demo skin,
# takes a screenshot of the screen and checks that it shows the window.
#   screenshot.sh <quillmark executable> <source dir> [output.png]
# Everything the editor writes (settings, log, working directory) goes to a
# temporary directory that is removed afterwards; the screenshot too, unless
# an output file is named.
set -euo pipefail

exe=$1
source_dir=$2
out=${3:-}

for tool in xvfb-run import; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot: $tool is not installed" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/home"
cp "$exe" "$work/bin/quillmark"
# a portable copy: settings and log next to the executable
touch "$work/bin/quillmark.portable"
cp -r "$source_dir/skins/demo" "$work/skin"
cat > "$work/bin/quillmark_settings.ini" <<'INI'
[General]
WindowX=0
WindowY=0
WindowWidth=1400
WindowHeight=860
INI

# a screenshot of a window, not of an empty screen
cat > "$work/check.py" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
colours = image.getcolors(1 << 24)
if image.size != (1400, 860) or colours is None or len(colours) < 50:
    sys.exit("screenshot: %s does not show the window (%dx%d, %s colours)"
             % (sys.argv[1], image.size[0], image.size[1], "many" if colours is None else len(colours)))
print("screenshot: %s, %d colours" % (sys.argv[1], len(colours)))
PY

cat > "$work/shot.sh" <<'SHOT'
#!/usr/bin/env bash
set -u
work=$1
out=$2
tries=10
HOME="$work/home" "$work/bin/quillmark" "$work/skin/port/py_26.ini" > "$work/run.log" 2>&1 &
pid=$!
# the window is up once the log says so
for _ in $(seq 1 100); do
  grep -q "qml loaded" "$work/bin/quillmark.log" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
# The first frame may reach the screen some time after that: take the
# screenshot again, a second apart, until it shows the window, and give up
# only after the last try.
status=1
for try in $(seq 1 $tries); do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: the editor exited early:" >&2
    cat "$work/run.log" >&2
    break
  fi
  if import -window root "$out" && result=$(/usr/bin/python3 "$work/check.py" "$out" 2>&1); then
    echo "$result (try $try of $tries)"
    status=0
    break
  fi
  if [ "$try" -eq "$tries" ]; then
    echo "${result:-screenshot: import failed}" >&2
  else
    sleep 1
  fi
  result=
done
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  wait "$pid" 2>/dev/null
fi
exit $status
SHOT
chmod +x "$work/shot.sh"

# the log must name "qml loaded": debug level for this run
printf 'LogLevel=Debug\n' >> "$work/bin/quillmark_settings.ini"

if [ -z "$out" ]; then
  out="$work/main-window.png"
fi
mkdir -p "$(dirname "$out")"
env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1400x860x24" "$work/shot.sh" "$work" "$out"

