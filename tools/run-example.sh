#!/usr/bin/env bash
# Builds the simulated program and runs it on examples/input.xml against the embedded default
# machine; the results go to build/example-results.xml.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

cmake --preset sim >/dev/null
cmake --build --preset sim --target tarnwick_exe >/dev/null
results=build/example-results.xml
build/sim/tarnwick -i examples/input.xml -o "$results" -f 2>build/example-trace.txt
echo
echo "Results written to $results (trace in build/example-trace.txt):"
cat "$results"
echo
