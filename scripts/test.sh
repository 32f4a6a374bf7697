#!/usr/bin/env bash
# Builds DALVEX and runs every test headless.
#   scripts/test.sh             the normal debug build (store accessors check their bounds)
#   scripts/test.sh --sanitize  the same suite under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# A fresh checkout in another folder still finds its objects in ccache.
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1

build=build/test
options=(-DCMAKE_BUILD_TYPE=Debug -DDALVEX_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build=build/sanitize
  options+=(-DDALVEX_SANITIZE=ON)
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2
