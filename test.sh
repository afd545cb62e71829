#!/usr/bin/env bash
# Installs whatever is missing, builds every target and runs every test.
#   ./test.sh        the dev build in build/
#   ./test.sh asan   address and undefined-behaviour sanitizers in build-asan/
set -euo pipefail
cd "$(dirname "$0")"

preset="${1:-dev}"
case "$preset" in
  dev|asan) ;;
  *) echo "usage: $0 [dev|asan]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" --output-on-failure -j2
# the Debian package, installed into a scratch root and run as an ordinary user
if [ "$preset" = dev ]; then
  bash scripts/check-package.sh build
fi
