#!/usr/bin/env bash
# Runs the fuzz targets of the sanitize build for long, one after another, each until it has made
# RUNS executions or SECONDS_PER_TARGET seconds have passed, at the lowest priority. New inputs go to
# build/sanitize/fuzz/found/<target>, findings to build/sanitize/fuzz/findings/, logs beside them.
#   tools/fuzz.sh [target...]        (default: every target; RUNS=10000000 SECONDS_PER_TARGET=1800)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs=${RUNS:-10000000}
seconds=${SECONDS_PER_TARGET:-1800}
build=build/sanitize/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=($(cd fuzz && ls *Fuzzer.cpp | sed 's/\.cpp$//'))
fi
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target "${targets[@]}"
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
    mkdir -p "$build/found/$target"
    echo "== $target: up to $runs executions or $seconds s, log in $build/$target.log"
    nice -n 19 "$build/$target" -runs="$runs" -max_total_time="$seconds" -close_fd_mask=3 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        -dict="fuzz/dictionaries/$target.dict" "$build/found/$target" "fuzz/corpus/$target" \
        >"$build/$target.log" 2>&1 || { echo "$target: finding, see $build/$target.log"; exit 1; }
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$target.log" | tail -2
done
