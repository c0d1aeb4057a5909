# shellcheck shell=bash disable=SC2034 # the variables are for the scripts that source this file
# Sourced by the Wine checks: the Wine programs, PASS/FAIL verdict lines, the program's path,
# and a work folder with Wine's environment that is cleaned up at exit.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Sets exe to the program named by $1 (default build/win64/Tarnwick.exe), as an absolute path:
# the runs start in other folders.
wine_program() {
    exe=${1:-$repo/build/win64/Tarnwick.exe}
    [[ "$exe" = /* ]] || exe=$PWD/$exe
}

# Makes the work folder $work (named after $1) and Wine's environment. With $2 "reuse", a booted
# prefix named by WINEPREFIX is kept; otherwise the prefix is a fresh one in $work. Sets
# own_prefix to yes when the prefix is the work folder's.
wine_environment() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    own_prefix=no
    if [ "$2" != reuse ] || [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
        export WINEPREFIX=$work/prefix
        own_prefix=yes
    fi
    export WINEDEBUG=-all
    # No Mono or Gecko installer prompt: the program needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    trap wine_cleanup EXIT
}

# shellcheck disable=SC2317 # called by the EXIT trap
wine_cleanup() {
    # Only this prefix's server: other Wine sessions on the machine are left alone.
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    rm -rf "$work"
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
