#!/usr/bin/env bash
# Times the fleet replay against separate runs, side by side on the same generated profiles:
# one build/sim/tarnwick process per profile in a shell loop, then tarnwick-fleet over the folder.
# Prints wall and processor time of each and the ratio of the wall times. A benchmark, not a test.
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
