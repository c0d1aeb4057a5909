#!/usr/bin/env bash
# Builds all three presets with warnings as errors, runs every test of the simulated build,
# checks that the shipped 32-bit programs import nothing Windows XP lacks, runs the 32-bit and
# the 64-bit Windows programs under Wine, proves that the simulated machine answers as Wine, and
# builds the release archive twice, compares the two, and runs it unpacked under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The steps that were not run because this machine cannot run their program (a kernel without
# 32-bit support runs no 32-bit Wine): each said why in its SKIP line, and the summary lists them.
skipped=()
# Runs the Wine step "$@" under the heading $1; a step that exits with the Wine scripts' skip
# status is listed as skipped, any other failure ends the run.
wine_step() {
    local title=$1 status=0
    shift
    echo "== $title"
    "$@" || status=$?
    if [ "$status" -eq 77 ]; then
        skipped+=("$title")
    elif [ "$status" -ne 0 ]; then
        echo "test: step failed (exit $status): $title"
        exit "$status"
    fi
}

tools/setup.sh
for preset in sim win32 win64; do
    echo "== build $preset"
    cmake --preset "$preset" -DTARNWICK_WERROR=ON -DTARNWICK_TESTS=ON >/dev/null
    cmake --build --preset "$preset"
done
echo "== simulated build: ctest"
ctest --preset sim
echo "== shipped program: imports that Windows XP SP3 has"
PYTHONDONTWRITEBYTECODE=1 python3 -m doctest tools/refresh-xp-imports.py
tools/check-xp-imports.py build/win32/Tarnwick.exe
tools/check-xp-imports.py build/win32/TarnwickCapture.exe
tools/check-xp-imports.py build/win32/TarnwickLint.exe
wine_step "32-bit Windows program under Wine" tools/wine-check.sh build/win32/Tarnwick.exe
wine_step "64-bit Windows program under Wine" tools/wine-check.sh build/win64/Tarnwick.exe
wine_step "version resources and registry view under Wine" tools/wine-version-check.sh build/win64/Tarnwick.exe
wine_step "32-bit linter under Wine" tools/wine-lint-check.sh build/win32/TarnwickLint.exe
wine_step "64-bit linter under Wine" tools/wine-lint-check.sh build/win64/TarnwickLint.exe

# --- The release archive: built, built again from a second build folder of the same commit and
# compared byte for byte, then unpacked and run under 32-bit Wine as an administrator would.
echo "== release archive, twice from the same commit"
tools/package.sh
cmake --preset win32 -B build/win32-again -DTARNWICK_WERROR=ON >/dev/null
tools/package.sh build/win32-again build/dist-again
for archive in build/dist/Tarnwick-*-win32.zip; do
    if ! cmp "$archive" "build/dist-again/$(basename "$archive")"; then
        echo "test: the release archive is not reproducible: $archive differs from the second build's"
        exit 1
    fi
done
wine_step "release archive unpacked and run under Wine" tools/wine-package-check.sh
# --- end release archive

# --- The proof that both backends agree (capture under Wine, replay on the simulated build) ---
wine_step "proof: the Wine machine captured and replayed, 32-bit programs" tools/wine-proof.sh build/win32 build/sim/tarnwick
wine_step "proof: the Wine machine captured and replayed, 64-bit programs" tools/wine-proof.sh build/win64 build/sim/tarnwick

# --- sanitizers and fuzzing: the simulated program and every test built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer (leaks checked too), the whole ctest suite run
# under them, then each fuzz target for a few seconds (label "fuzz").
echo "== build sanitize"
cmake --preset sanitize -DTARNWICK_WERROR=ON >/dev/null
cmake --build --preset sanitize
echo "== sanitized build: ctest, the fuzz smoke runs included"
ctest --preset sanitize
# --- end sanitizers and fuzzing

echo "== summary"
if [ ${#skipped[@]} -eq 0 ]; then
    echo "test: every step ran and passed"
else
    echo "test: every step that ran passed; skipped, with the reason in its SKIP line above:"
    printf '  - %s\n' "${skipped[@]}"
fi
