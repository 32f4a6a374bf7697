#!/usr/bin/env bash
# Builds DALVEX and runs every test headless.
#   scripts/test.sh             the normal debug build (store accessors check their bounds)
#   scripts/test.sh --sanitize  the same suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   scripts/test.sh --release   the same suite built as released (optimised, benchmarks too)
#   scripts/test.sh --fuzz      the libFuzzer targets (clang), replaying the stored fuzz inputs
# Warnings are errors in every build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# A fresh checkout in another folder still finds its objects in ccache.
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1

build=build/test
options=(-DCMAKE_BUILD_TYPE=Debug -DDALVEX_WERROR=ON)
case "${1:-}" in
  "") ;;
  --sanitize)
    build=build/sanitize
    options+=(-DDALVEX_SANITIZE=ON)
    ;;
  --release)
    build=build/release
    options=(-DCMAKE_BUILD_TYPE=Release -DDALVEX_WERROR=ON)
    ;;
  --fuzz)
    build=build/fuzz
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVEX_WERROR=ON -DDALVEX_FUZZ=ON
             -DCMAKE_CXX_COMPILER=clang++-14 -DDALVEX_BUILD_GUI=OFF -DDALVEX_BUILD_TESTS=OFF
             -DDALVEX_BUILD_BENCH=OFF)
    ;;
  *)
    echo "usage: scripts/test.sh [--sanitize|--release|--fuzz]" >&2
    exit 2
    ;;
esac
if [ "${1:-}" = "--sanitize" ] || [ "${1:-}" = "--fuzz" ]; then
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2
