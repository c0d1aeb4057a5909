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
echo "== version resources and registry view under Wine"
tools/wine-version-check.sh build/win64/Tarnwick.exe

# --- The proof that both backends agree (capture under Wine, replay on the simulated build) ---
echo "== proof: the Wine machine captured and replayed"
tools/wine-proof.sh build/win64 build/sim/tarnwick
