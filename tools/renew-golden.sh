#!/bin/sh
# Renews the golden files of test/fixtures/golden from a run of the sim program: the bundled
# example on the embedded default machine, as ExampleGoldenTest runs it. Read the difference
# (git diff test/fixtures/golden) before committing it: every change there is a change of the
# program's output.
#
# Usage: tools/renew-golden.sh [BUILD]   (BUILD: the sim build folder, default build/sim)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/sim}" && pwd)
golden=$top/test/fixtures/golden
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Run where ExampleGoldenTest runs: in a scratch folder, with no machine profile named.
(cd "$scratch" && env -u TARNWICK_MACHINE "$build/tarnwick" -i "$top/examples/input.xml" -o results.xml \
    > console.txt 2> trace.txt)
cp "$scratch/console.txt" "$golden/example-default.console.txt"
cp "$scratch/results.xml" "$golden/example-default.results.xml"
echo "Renewed test/fixtures/golden from $build/tarnwick; read git diff test/fixtures/golden before committing"
