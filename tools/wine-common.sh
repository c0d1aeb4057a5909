# shellcheck shell=bash disable=SC2034 # the variables are for the scripts that source this file
# Sourced by the Wine checks: the Wine programs, PASS/FAIL verdict lines, the program's path and
# the Wine loader that runs it, a work folder with Wine's environment that is cleaned up at exit,
# and the boot of a prefix that waits until the prefix has settled.

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# What the settle steps allow at most, in seconds: a fresh prefix boots in 20 to 60 s on a busy
# machine; each wait below polls once a second and gives up after its bound.
wine_boot_timeout=600
wine_settle_bound=180

failures=0

# What a step exits with when it was not run at all because this machine cannot run its program
# (the automake convention; tools/test.sh lists such steps as skipped).
wine_skip_status=77

# What executing the 32-bit Wine loader ($1, default $wine32) does on this machine; prints one word:
#   runs            the kernel executed it; how it then fares is the step's own business, so a
#                   loader that crashes or a program that fails stays a failure
#   cannot-execute  the kernel refused it with "Exec format error": this kernel runs no 32-bit x86
#                   program at all, whatever is installed
#   not-installed   no loader there, or no 32-bit dynamic loader for it (tools/setup.sh installs
#                   wine32, which brings both)
# The loader is executed directly, as execve does it: a shell would try a file it cannot execute
# as a script of its own and hide the kernel's answer.
wine32_loader_state() {
    python3 - "${1:-$wine32}" <<'PY'
import errno
import subprocess
import sys

try:
    subprocess.run([sys.argv[1], "--version"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120, check=False)
    print("runs")
except subprocess.TimeoutExpired:
    print("runs")
except OSError as error:
    print("cannot-execute" if error.errno == errno.ENOEXEC else "not-installed")
PY
}

# For a step that runs $exe under $wine (set by wine_program): when that is the 32-bit loader and
# this machine's kernel cannot execute it, prints one SKIP line that names the step ($1), says why
# and what the step shows where it runs ($2), and exits with $wine_skip_status. Everywhere else the
# step goes on, so a missing wine32 or a failing loader fails it as before.
wine_skip_where_32bit_cannot_run() {
    [ "$wine" = "$wine32" ] || return 0
    [ "$(wine32_loader_state)" = cannot-execute ] || return 0
    echo "SKIP: $1: this machine's kernel cannot execute 32-bit x86 programs ($wine32 gives \"Exec format error\"), so Wine cannot run a 32-bit Windows program here; where it can, this step shows $2"
    exit "$wine_skip_status"
}
# The start of a check whose one optional argument is the Windows program under test: sets exe
# and its Wine, refuses more arguments (exit 2) and a program that is missing or no x86 or x86-64
# executable (exit 1), and skips (exit 77) where its Wine cannot run here.
# $1 what the program is ("program", "linter"), $2 its default path, $3 the step's name,
# $4 what the step would have shown; then the check's own arguments.
wine_program_step() {
    local kind=$1 default=$2 step=$3 shows=$4
    shift 4
    wine_program "${1:-$default}"
    if [ $# -gt 1 ]; then
        echo "usage: $0 [EXE]" >&2
        exit 2
    fi
    if [ ! -f "$exe" ] || [ -z "$wine" ]; then
        echo "FAIL: $kind $exe does not exist or is no x86 or x86-64 executable"
        exit 1
    fi
    wine_skip_where_32bit_cannot_run "$step of $exe" "$shows"
}
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The machine field of a PE file's header ("0x14c" for x86, "0x8664" for x86-64), or nothing.
pe_machine() {
    python3 -c 'import struct, sys
with open(sys.argv[1], "rb") as f: head = f.read(4096)
print(hex(struct.unpack_from("<H", head, struct.unpack_from("<I", head, 0x3c)[0] + 4)[0]))' "$1" 2>/dev/null
}

# Sets exe to the program named by $1 (default build/win32/Tarnwick.exe, the shipped program), as
# an absolute path: the runs start in other folders. Sets wine to the loader for its machine
# (wine32 for x86, wine64 for x86-64); both run in one 64-bit prefix. Sets machine_name too.
wine_program() {
    exe=${1:-$repo/build/win32/Tarnwick.exe}
    [[ "$exe" = /* ]] || exe=$PWD/$exe
    case "$( [ -f "$exe" ] && pe_machine "$exe")" in
        0x14c) wine=$wine32 machine_name="32-bit x86" ;;
        0x8664) wine=$wine64 machine_name="64-bit x86-64" ;;
        *) wine="" machine_name="" ;;
    esac
}

# Makes the work folder $work (named after $1) and Wine's environment. With $2 "reuse", the prefix
# named by WINEPREFIX is kept when a calling check booted it (wine_boot marks it in the environment:
# its server keeps the registry in memory, so no file shows that it booted); otherwise the prefix
# is a fresh one in $work. Sets own_prefix to yes when the prefix is the work folder's.
wine_environment() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    own_prefix=no
    if [ "$2" != reuse ] || [ -z "${WINEPREFIX:-}" ] || [ "${WINE_CHECK_BOOTED_PREFIX:-}" != "$WINEPREFIX" ]; then
        export WINEPREFIX=$work/prefix
        own_prefix=yes
    fi
    export WINEDEBUG=-all
    # The Python parts import tools/verdicts.py; no cache files in the source tree.
    export PYTHONDONTWRITEBYTECODE=1
    # No Mono or Gecko installer prompt: the program needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    trap wine_cleanup EXIT
}

# shellcheck disable=SC2317 # called by the EXIT trap
wine_cleanup() {
    # Only this prefix's server (made persistent by wine_boot): other Wine sessions are left alone.
    if [ "$own_prefix" = yes ]; then
        "$wineserver" -k 2>/dev/null
        "$wineserver" -w 2>/dev/null
    fi
    rm -rf "$work"
}

# True while a process of this prefix runs the program named by $1 (wineboot.exe, ...): Wine's
# processes carry WINEPREFIX in their environment, so other prefixes' processes do not count.
wine_prefix_runs() {
    local environ
    while IFS= read -r environ; do
        tr '\0' ' ' < "${environ%environ}cmdline" 2>/dev/null | grep -qiF "$1" && return 0
    done < <(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null)
    return 1
}

# Polls the command "$@" once a second until it succeeds, for at most $wine_settle_bound seconds.
wine_poll() {
    local deadline=$((SECONDS + wine_settle_bound))
    until "$@" > /dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 1
    done
}

wine_boot_quiet() { ! wine_prefix_runs wineboot.exe && ! wine_prefix_runs winemenubuilder.exe; }
# Quiet twice, two seconds apart: a boot step that starts the next one is not taken for the end.
wine_boot_finished() { wine_boot_quiet && sleep 2 && wine_boot_quiet; }
wine_registry_answers() {
    timeout 60 "$wine64" reg query 'HKLM\System\CurrentControlSet\Services\PlugPlay' /v Start
}

# Boots the prefix and waits until it has settled; prints one verdict line. The prefix's server is
# made persistent first, so it lives from the boot to wine_cleanup: a server that stopped between
# two runs would drop the volatile registry keys (HKLM\Hardware) that the checks write, and each
# new start would boot services again. (wineserver -w waits for no persistent server, so the
# settle step watches the boot itself.) A new prefix is settled when wineboot has exited, no
# second wineboot (the 32-bit half of the prefix) or menu builder of the prefix runs any more,
# and the registry answers through the services it started.
wine_boot() {
    mkdir -p "$WINEPREFIX"
    "$wineserver" -p
    local start=$SECONDS
    if ! timeout "$wine_boot_timeout" "$wine64" wineboot --init > "$work/wineboot.log" 2>&1; then
        fail "wineboot failed; its output:"
        cat "$work/wineboot.log"
        return 1
    fi
    if ! wine_poll wine_boot_finished || ! wine_poll wine_registry_answers; then
        fail "the Wine prefix did not settle within $wine_settle_bound s of its boot"
        return 1
    fi
    pass "fresh Wine prefix booted and settled in $((SECONDS - start)) s"
    export WINE_CHECK_BOOTED_PREFIX=$WINEPREFIX
}

# The prefix's ANSI code page (1252, say), from its registry. A query can go unanswered while the
# prefix is busy with a program that just ended, so it is asked again once a second, within
# $wine_settle_bound seconds; prints nothing if it never answered.
wine_ansi_code_page() {
    local deadline=$((SECONDS + wine_settle_bound)) acp
    while :; do
        acp=$(timeout 60 "$wine64" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
              awk '$1 == "ACP" { print $3 }' | tr -d '\r')
        if [[ "$acp" =~ ^[0-9]+$ ]] || [ "$SECONDS" -ge "$deadline" ]; then
            break
        fi
        sleep 1
    done
    echo "$acp"
}

# Prints the closing line of the check named $1 and exits 0, or 1 when any check failed.
wine_verdict() {
    if [ "$failures" -eq 0 ]; then
        echo "$1: all checks passed"
        exit 0
    fi
    echo "$1: $failures check(s) failed"
    exit 1
}
