#!/usr/bin/env bash
# Builds all three presets with warnings as errors, runs every test of the simulated build, and
# runs the 64-bit Windows program under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
for preset in sim win32 win64; do
    echo "== build $preset"
    cmake --preset "$preset" -DTARNWICK_WERROR=ON -DTARNWICK_TESTS=ON >/dev/null
    cmake --build --preset "$preset"
done
echo "== simulated build: ctest"
ctest --preset sim
echo "== Windows build under Wine"
tools/wine-check.sh build/win64/Tarnwick.exe
# --- sanitizers and fuzzing: the simulated program and every test built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer (leaks checked too), the whole ctest suite run
# under them, then each fuzz target for a few seconds (label "fuzz").
echo "== build sanitize"
cmake --preset sanitize -DTARNWICK_WERROR=ON >/dev/null
cmake --build --preset sanitize
echo "== sanitized build: ctest, the fuzz smoke runs included"
ctest --preset sanitize
# --- end sanitizers and fuzzing
