#!/usr/bin/env bash
# Installs whatever is missing, builds the editor in build/ and starts it with
# PANEL_FILE, or with the demo skin's panel when no file is given.
set -euo pipefail

panel=""
if [ $# -gt 0 ]; then
  panel=$(realpath -m -- "$1")
fi
cd "$(dirname "$0")"
if [ -z "$panel" ] && [ -f skins/demo/port/py_26.ini ]; then
  panel="$PWD/skins/demo/port/py_26.ini"
fi

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target quillmark quillmark-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display available: neither DISPLAY nor WAYLAND_DISPLAY is set."
  echo "To use the editor, run it on a desktop session, set DISPLAY to an X server,"
  echo "or start it on a virtual display:  xvfb-run -a ./run.sh ${1:-}"
  if [ -n "$panel" ] && build/bin/quillmark-cli --help 2>/dev/null | grep -q '^  render'; then
    echo "Rendering a preview of $panel instead..."
    if build/bin/quillmark-cli render "$panel" -o build/preview.png --device-resolution 1080; then
      echo "Preview written to $PWD/build/preview.png"
      exit 0
    fi
    echo "The preview could not be rendered." >&2
  fi
  exit 1
fi

if [ -n "$panel" ]; then
  exec build/bin/quillmark "$panel"
fi
exec build/bin/quillmark
