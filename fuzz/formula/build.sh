#!/usr/bin/env bash
# Builds the formula fuzzer with clang 14 into build-fuzz/ (or $BUILD).
# Not part of the normal build or of CI; see README.md.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD:-build-fuzz}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDALVEX_BUILD_GUI=OFF -DDALVEX_BUILD_TESTS=OFF -DDALVEX_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" -j2 --target dalvex_formula
clang++-14 -std=c++20 $flags -fsanitize=fuzzer -Isrc fuzz/formula/formula_fuzz.cpp \
  "$build/src/formula/libdalvex_formula.a" "$build/src/numeric/libdalvex_numeric.a" \
  "$build/src/output/libdalvex_output.a" "$build/src/core/libdalvex_core.a" \
  -o "$build/formula_fuzz"
echo "built $build/formula_fuzz"
