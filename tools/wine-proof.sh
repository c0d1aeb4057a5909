#!/usr/bin/env bash
# The proof that the simulated machine answers as Windows does: under Wine, captures the Wine
# machine with TarnwickCapture.exe, runs Tarnwick.exe on examples/input.xml, replays the capture
# with the simulated build on the same input, and requires the same exit code (0 for the example),
# the same results document and the same console output (apart from line endings). Builds
# nothing. Prints one verdict line per check; exits 1 if any fails, 2 on a usage error.
#
# Usage: tools/wine-proof.sh [BUILD_FOLDER] [SIMULATED_PROGRAM]
#   BUILD_FOLDER       holds Tarnwick.exe and TarnwickCapture.exe (default build/win32, the
#                      shipped pair, run by wine; build/win64 runs under wine64)
#   SIMULATED_PROGRAM  the replaying program (default build/sim/tarnwick)

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"

if [ $# -gt 2 ]; then
    echo "usage: $0 [BUILD_FOLDER] [SIMULATED_PROGRAM]" >&2
    exit 2
fi
build=${1:-$repo/build/win32}
[[ "$build" = /* ]] || build=$PWD/$build
simulated=${2:-$repo/build/sim/tarnwick}
[[ "$simulated" = /* ]] || simulated=$PWD/$simulated

wine_environment wine-proof fresh
cp "$repo/examples/input.xml" "$work/input.xml"

for program in "$build/Tarnwick.exe" "$build/TarnwickCapture.exe" "$simulated"; do
    if [ -f "$program" ]; then pass "program $program exists"; else fail "program $program does not exist"; fi
done
# The loader for the pair: wine for the 32-bit programs, wine64 for the 64-bit ones.
wine_program "$build/Tarnwick.exe"
if [ -n "$wine" ]; then pass "the programs are $machine_name executables"; else fail "no Windows program in $build"; fi
wine_skip_where_32bit_cannot_run "proof for $build" \
    "that the capture of Wine's machine, replayed by the simulated build, gives the Windows program's results document and console"
if [ "$failures" -ne 0 ]; then
    exit 1
fi
wine_boot || exit 1
cd "$work" || exit 1

# Wine starts some services on demand (RpcSs, for one, is "Start Pending" for a moment while the
# checks use COM), and free space on C: (a folder of the host) moves with whatever else the host
# writes: the live machine does not always hold still between the capture and the run. A first
# run of the program starts what the checks start; then a round that disagrees is done again, up
# to five times, with a fresh capture each time. The comparison itself stays exact: a defect on
# either side disagrees in every round and fails.
"$wine" "$build/Tarnwick.exe" -i input.xml -o warm-up-results.xml -f > /dev/null 2>&1
agree() {
    cmp -s wine-results.xml replay-results.xml && diff -q <(tr -d '\r' < wine-console.txt) replay-console.txt >/dev/null
}
for attempt in 1 2 3 4 5; do
    "$wine" "$build/TarnwickCapture.exe" -o capture.json > capture-console.txt 2>&1
    wine_status=0
    "$wine" "$build/Tarnwick.exe" -i input.xml -o wine-results.xml -f > wine-console.txt 2> wine-trace.txt ||
        wine_status=$?
    "$wine" "$build/TarnwickCapture.exe" -o capture-after.json > /dev/null 2>&1
    replay_status=0
    TARNWICK_MACHINE=capture.json "$simulated" -i input.xml -o replay-results.xml -f > replay-console.txt \
        2> replay-trace.txt || replay_status=$?
    if agree; then
        break
    fi
    echo "INFO: round $attempt disagrees; the machine changed by $(diff capture.json capture-after.json | grep -c '^<') lines of its capture meanwhile; once more"
done
if [ -s capture.json ]; then
    pass "the capture wrote its profile ($(wc -c < capture.json) bytes)"
else
    fail "the capture wrote no profile: $(tr -d '\r' < capture-console.txt)"
    wine_verdict "Wine proof"
fi

# The capture records the shipped 32-bit program's machine whichever build takes it: in Wine's
# 64-bit prefix that program is given "C:\Program Files (x86)", and the 64-bit capture asks for
# CSIDL_PROGRAM_FILESX86 in its place (Storage.cpp). Both programs of a pair map alike, so the
# comparisons below cannot show a mapping lost on both sides; this line can.
program_files=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1])).get("programFilesFolder"))' capture.json 2>&1)
if [ "$program_files" = 'C:\Program Files (x86)' ]; then
    pass "the capture records the shipped program's Program Files folder ($program_files)"
else
    fail "the capture records the Program Files folder $program_files, expected C:\Program Files (x86), the shipped 32-bit program's"
fi

# The example input runs through: exit code 0 under Wine, and the replay's the same.
if [ "$wine_status" -eq 0 ]; then
    pass "Tarnwick.exe exits with 0 under Wine"
else
    fail "Tarnwick.exe exits with $wine_status under Wine, expected 0; its trace: $(tr -d '\r' < wine-trace.txt | tail -5)"
fi
if [ "$wine_status" -eq "$replay_status" ]; then
    pass "the replay exits with the Windows program's exit code ($replay_status)"
else
    fail "the replay exits with $replay_status, the Windows program with $wine_status"
fi
if cmp -s wine-results.xml replay-results.xml; then
    pass "the replay's results document is the Windows program's, byte for byte"
else
    fail "the results documents differ:"
    diff <(sed 's/<test>/\n<test>/g' wine-results.xml) <(sed 's/<test>/\n<test>/g' replay-results.xml) | head -40
fi
if diff <(tr -d '\r' < wine-console.txt) replay-console.txt > console.diff; then
    pass "the replay's console output is the Windows program's, apart from line endings"
else
    fail "the console outputs differ (< Windows, > replay):"
    head -40 console.diff
fi
wine_verdict "Wine proof"
