#!/usr/bin/env bash
# The 32-bit Wine loader probe of tools/wine-common.sh, on stand-in loaders for each of its
# outcomes, and the skip it leads to: only a loader the kernel refuses to execute skips a 32-bit
# step; a loader that runs, even one that crashes, and a missing one leave the step to run and fail.
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT

# A program the kernel executes and that answers; one that starts and dies of a signal; a file
# marked executable that is no program any kernel runs (no ELF or script header: execve refuses it
# with ENOEXEC, as a kernel without 32-bit support refuses the i386 loader); no file at all.
printf '#!/bin/sh\necho "wine-8.0"\n' > "$stand_ins/answers"
printf '#!/bin/sh\nkill -SEGV $$\n' > "$stand_ins/crashes"
printf 'no program for this kernel\n' > "$stand_ins/refused"
chmod +x "$stand_ins/answers" "$stand_ins/crashes" "$stand_ins/refused"

expect_state() {
    local found
    found=$(wine32_loader_state "$2")
    if [ "$found" = "$3" ]; then pass "$1: $found"; else fail "$1: expected $3, found '$found'"; fi
}
expect_state "a loader that runs" "$stand_ins/answers" runs
expect_state "a loader that runs and crashes" "$stand_ins/crashes" runs
expect_state "a loader the kernel cannot execute" "$stand_ins/refused" cannot-execute
expect_state "no loader installed" "$stand_ins/missing" not-installed
echo "INFO: this machine's own 32-bit loader $wine32: $(wine32_loader_state)"

# The skip itself, in a subshell as a step would meet it: a 64-bit program never skips; a 32-bit one
# skips with one SKIP line and the skip status only where the loader cannot be executed.
step_outcome() {
    (wine32=$1 wine=$2 && wine_skip_where_32bit_cannot_run "a step" "what it shows" && echo "ran on")
    echo "exit $?"
}
outcome=$(step_outcome "$stand_ins/refused" "$stand_ins/refused")
if [ "$(printf '%s\n' "$outcome" | grep -c '^SKIP: a step: ')" = 1 ] && [ "$(printf '%s\n' "$outcome" | tail -1)" = "exit $wine_skip_status" ]; then
    pass "a 32-bit step on a kernel that cannot execute the loader skips with one SKIP line"
else
    fail "a 32-bit step on a kernel that cannot execute the loader: $outcome"
fi
for case in "answers:runs" "crashes:runs and crashes" "missing:is not installed"; do
    outcome=$(step_outcome "$stand_ins/${case%%:*}" "$stand_ins/${case%%:*}")
    if [ "$outcome" = $'ran on\nexit 0' ]; then
        pass "a 32-bit step whose loader ${case#*:} is run"
    else
        fail "a 32-bit step whose loader ${case#*:}: $outcome"
    fi
done
outcome=$(step_outcome "$stand_ins/refused" "$wine64")
if [ "$outcome" = $'ran on\nexit 0' ]; then pass "a 64-bit step never skips"; else fail "a 64-bit step: $outcome"; fi

wine_verdict "Wine loader probe"
