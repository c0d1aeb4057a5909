#!/usr/bin/env bash
# Times the fleet replay against separate runs, side by side on the same generated profiles:
# one build/sim/tarnwick process per profile in a shell loop, then tarnwick-fleet over the folder.
# Prints wall and processor time of each and the ratio of the wall times. Then, where the build has
# the benchmarks, the floor on the same profiles: only their volume bitmaps, made and scanned as the
# contiguous-space check reads them (FleetBitmaps in bench/FleetBitmapBench.cpp), and the processor
# time per machine of all three. A benchmark, not a test.
#
# usage: tools/fleet-bench.sh [COUNT [BUILD_FOLDER [INPUT]]]   (defaults: 200, build/sim, examples/input.xml)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-200}
build=$(cd "${2:-$root/build/sim}" && pwd)
input=$(cd "$(dirname "${3:-$root/examples/input.xml}")" && pwd)/$(basename "${3:-examples/input.xml}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

python3 "$root/tools/generate-fleet.py" "$count" "$scratch/fleet"

# Wall seconds, then user and system seconds of the command and its children.
measure() {
    local TIMEFORMAT='%R %U %S'
    { time "$@" >/dev/null 2>&1; } 2>&1
}

loop() {
    for profile in "$scratch"/fleet/*.json; do
        TARNWICK_MACHINE=$profile "$build/tarnwick" -i "$input" -o "$scratch/one.xml" -f >/dev/null 2>&1
    done
}

read -r loop_wall loop_user loop_system < <(measure loop)
# Exit codes are not looked at: the fleet gives 2 when some machine gives no verdicts.
read -r fleet_wall fleet_user fleet_system < <(measure "$build/tarnwick-fleet" -i "$input" "$scratch/fleet")

printf '%d profiles, %s processors, load average %s\n' "$count" "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-34s %8s %8s %8s\n' "" "wall s" "user s" "system s"
printf '%-34s %8.2f %8.2f %8.2f\n' "one tarnwick per profile (loop)" "$loop_wall" "$loop_user" "$loop_system"
printf '%-34s %8.2f %8.2f %8.2f\n' "tarnwick-fleet" "$fleet_wall" "$fleet_user" "$fleet_system"
awk -v loop="$loop_wall" -v fleet="$fleet_wall" 'BEGIN { printf "fleet replay is %.1f times as fast as the loop\n", loop / fleet }'

bench=$build/bench/tarnwick_bench
if [[ -x $bench ]]; then
    # Its standard output carries the lines of the checks' USB look-ups; the figures go to a file.
    TARNWICK_FLEET_PROFILES=$scratch/fleet "$bench" --benchmark_filter='^FleetBitmaps$' \
        --benchmark_out="$scratch/floor.json" --benchmark_out_format=json >/dev/null 2>&1
    floor_ms=$(python3 -c '
import json, sys
run = json.load(open(sys.argv[1]))["benchmarks"][0]
print(run["cpu_time"] / run["machines"])' "$scratch/floor.json")
    awk -v count="$count" -v floor="$floor_ms" \
        -v loop="$(awk -v u="$loop_user" -v s="$loop_system" 'BEGIN { print u + s }')" \
        -v fleet="$(awk -v u="$fleet_user" -v s="$fleet_system" 'BEGIN { print u + s }')" 'BEGIN {
        printf "processor time per machine: loop %.2f ms, fleet %.2f ms, bitmaps alone (the floor) %.2f ms\n",
            1000 * loop / count, 1000 * fleet / count, floor
        printf "fleet is %.2f times the floor; the loop is %.2f times the fleet\n",
            1000 * fleet / count / floor, loop / fleet
    }'
fi
