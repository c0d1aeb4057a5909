#!/usr/bin/env bash
# Measures the readiness report at a fleet's scale: tarnwick-fleet over COUNT generated profiles
# and tarnwick-report over COUNT results documents, each writing the page and both CSV files, with
# wall time, processor time and the largest resident set of any of its processes
# (/usr/bin/time -v), then how long headless Chromium takes to load and run each page, and the
# same for an empty page (the browser's own start). A benchmark, not a test.
#
# The results documents are those of separate tarnwick runs on the first DISTINCT generated
# machines (default 700), repeated under COUNT names: the report reads every one of them.
#
# usage: tools/readiness-bench.sh [COUNT [BUILD_FOLDER [DISTINCT]]]   (defaults: 3000, build/sim, 700)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-3000}
build=$(cd "${2:-$root/build/sim}" && pwd)
distinct=${3:-700}
input=$root/examples/input.xml
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

python3 "$root/tools/generate-fleet.py" "$count" "$scratch/fleet"
mkdir "$scratch/distinct" "$scratch/collected"
for profile in $(ls "$scratch/fleet" | head -n "$distinct"); do
    TARNWICK_MACHINE=$scratch/fleet/$profile "$build/tarnwick" -i "$input" -o "$scratch/distinct/${profile%.json}.xml" \
        -f >/dev/null 2>&1 || true
done
python3 - "$scratch/distinct" "$scratch/collected" "$count" <<'PYTHON'
import pathlib, sys
distinct = sorted(pathlib.Path(sys.argv[1]).glob("*.xml"))
texts = [path.read_bytes() for path in distinct]
for index in range(int(sys.argv[3])):
    (pathlib.Path(sys.argv[2]) / f"machine-{index:06d}.xml").write_bytes(texts[index % len(texts)])
PYTHON

# "wall s, user s, system s, largest resident set in MB" of a command and its children.
measure() {
    /usr/bin/time -v "$@" >/dev/null 2>"$scratch/time.txt" || true
    awk -F': ' '/Elapsed/ { n = split($2, t, ":"); wall = (n == 3) ? t[1] * 3600 + t[2] * 60 + t[3] : t[1] * 60 + t[2] }
                /User time/ { user = $2 } /System time/ { sys = $2 }
                /Maximum resident/ { rss = $2 / 1024 }
                END { printf "%.1f %.1f %.1f %.0f\n", wall, user, sys, rss }' "$scratch/time.txt"
}

chromium_seconds() {
    local profile start end
    profile=$(mktemp -d)
    start=$(date +%s.%N)
    chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$profile" --dump-dom "file://$1" >/dev/null 2>&1
    end=$(date +%s.%N)
    rm -rf "$profile"
    awk -v start="$start" -v end="$end" 'BEGIN { printf "%.2f", end - start }'
}

megabytes() { awk -v bytes="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", bytes / 1048576 }'; }

read -r fleet_wall fleet_user fleet_system fleet_rss < <(measure "$build/tarnwick-fleet" -i "$input" \
    --html "$scratch/fleet.html" --csv "$scratch/fleet-verdicts.csv" --machines "$scratch/fleet-machines.csv" \
    "$scratch/fleet")
read -r report_wall report_user report_system report_rss < <(measure "$build/tarnwick-report" \
    -o "$scratch/report.html" --csv "$scratch/report-verdicts.csv" --machines "$scratch/report-machines.csv" \
    "$scratch/collected")
echo '<!DOCTYPE html><title>empty</title>' >"$scratch/empty.html"

printf '%d machines, %s processors, load average %s\n' "$count" "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-16s %7s %7s %7s %9s %8s %12s %12s %10s\n' "" "wall s" "user s" "sys s" "max RSS MB" "page MB" \
    "verdicts MB" "machines MB" "Chromium s"
printf '%-16s %7s %7s %7s %9s %8s %12s %12s %10s\n' tarnwick-fleet "$fleet_wall" "$fleet_user" "$fleet_system" \
    "$fleet_rss" "$(megabytes "$scratch/fleet.html")" "$(megabytes "$scratch/fleet-verdicts.csv")" \
    "$(megabytes "$scratch/fleet-machines.csv")" "$(chromium_seconds "$scratch/fleet.html")"
printf '%-16s %7s %7s %7s %9s %8s %12s %12s %10s\n' tarnwick-report "$report_wall" "$report_user" "$report_system" \
    "$report_rss" "$(megabytes "$scratch/report.html")" "$(megabytes "$scratch/report-verdicts.csv")" \
    "$(megabytes "$scratch/report-machines.csv")" "$(chromium_seconds "$scratch/report.html")"
printf '%-16s %7s %7s %7s %9s %8s %12s %12s %10s\n' "empty page" "" "" "" "" "" "" "" \
    "$(chromium_seconds "$scratch/empty.html")"
