#!/usr/bin/env bash
# Builds the simulated program and every tool beside it that the README and docs/ show a command
# for, then runs the program on examples/input.xml against the embedded default machine; the
# results go to build/example-results.xml.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The programs of build/sim, each built by the target of its name with "_" for "-" and "_exe"
# after it (tarnwick-lint: tarnwick_lint_exe). test/scripts/DocCommandsTest.sh holds the README
# and docs/ to this list.
programs=(tarnwick tarnwick-lint tarnwick-fleet tarnwick-report tarnwick-capture tarnwick-reference)
targets=()
for program in "${programs[@]}"; do
    targets+=("${program//-/_}_exe")
done

cmake --preset sim >/dev/null
cmake --build --preset sim --target "${targets[@]}" >/dev/null
results=build/example-results.xml
build/sim/tarnwick -i examples/input.xml -o "$results" -f 2>build/example-trace.txt
echo
echo "Results written to $results (trace in build/example-trace.txt):"
cat "$results"
echo
echo "Built in build/sim: ${programs[*]}"
