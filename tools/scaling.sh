#!/usr/bin/env bash
# Measures how a run grows with the input document: for 10^5 up to 10^6 test elements (the last
# document is about 100 MB), the run's wall time and peak memory, and both per 10^5 elements.
# Runs the simulated build (build/sim/tarnwick) against the embedded default machine.
#   tools/scaling.sh [counts...]      (default: 100000 250000 500000 1000000)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

program=$PWD/build/sim/tarnwick
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100000 250000 500000 1000000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each test element is 100 bytes: a check that looks at the machine only through one library
# lookup, with a descriptive name in one language.
make_input() {
    python3 - "$1" "$2" <<'PYTHON'
import sys
count, path = int(sys.argv[1]), sys.argv[2]
element = '<test><name>MSXML3Test</name><descriptive_name language="en">MSXML 3.0 %07d</descriptive_name></test>\n'
with open(path, 'w') as out:
    out.write('<input_tests>\n')
    for i in range(count):
        out.write(element % i)
    out.write('</input_tests>\n')
PYTHON
}

printf '%-10s %10s %10s %12s %14s %16s\n' elements "input MB" "time s" "peak MB" "s per 10^5" "MB per 10^5"
for count in "${counts[@]}"; do
    make_input "$count" "$work/in.xml"
    size=$(stat -c %s "$work/in.xml")
    (cd "$work" && /usr/bin/time -f '%e %M' -o time.txt "$program" -i in.xml -o out.xml -f >/dev/null 2>&1)
    read -r seconds kilobytes <"$work/time.txt"
    grep -q '</test_results>' "$work/out.xml"
    awk -v n="$count" -v b="$size" -v s="$seconds" -v k="$kilobytes" 'BEGIN {
        printf "%-10d %10.1f %10.2f %12.1f %14.3f %16.2f\n", n, b / 1048576, s, k / 1024, s * 100000 / n, k / 1024 * 100000 / n }'
    rm -f "$work/out.xml"
done
