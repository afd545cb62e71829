#!/usr/bin/env bash
# Installs whatever is missing, builds every target and runs every test.
#   ./test.sh                the dev build in build/ and its tests, with a
#                            short smoke run of each fuzzer on its seeds first
#                            when clang is present
#   ./test.sh asan           address, leak and undefined-behaviour sanitizers
#                            in build-asan/
#   ./test.sh fuzz [SECONDS] builds the fuzzers in build-fuzz/ and runs each
#                            for SECONDS (default 60)
set -euo pipefail
cd "$(dirname "$0")"

preset="${1:-dev}"
case "$preset" in
  dev|asan|fuzz) ;;
  *) echo "usage: $0 [dev|asan|fuzz [SECONDS]]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh

fuzzers=(skinconfig tilefile styletable archive render)

# Builds the fuzzers and runs each for $1 seconds on the seed corpus; new
# inputs go to a scratch directory, never into the repository.
run_fuzzers() {
  local seconds="$1"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLMARK_BUILD_FUZZERS=ON -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build-fuzz --target fuzzers -j2
  local scratch
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' RETURN
  for name in "${fuzzers[@]}"; do
    mkdir -p "$scratch/$name"
    echo "fuzz_$name: ${seconds}s"
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
        -artifact_prefix="$scratch/" "$scratch/$name" "fuzz/corpus/$name" 2>"$scratch/$name.log" \
      || { tail -n 60 "$scratch/$name.log" >&2; echo "fuzz_$name failed" >&2; return 1; }
    grep -E "stat::number_of_executed_units" "$scratch/$name.log" || true
  done
}

if [ "$preset" = fuzz ]; then
  run_fuzzers "${2:-60}"
  exit 0
fi

cmake --preset "$preset"
cmake --build --preset "$preset"

# A few seconds of each fuzzer on its seeds, before the tests so that the
# test runner's summary stays the last line.
if [ "$preset" = dev ] && command -v clang++ >/dev/null; then
  run_fuzzers 4
fi

# the Debian package, installed into a scratch root and run as an ordinary user
if [ "$preset" = dev ]; then
  bash scripts/check-package.sh build
fi

ctest --preset "$preset" --output-on-failure -j2
