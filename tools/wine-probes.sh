#!/usr/bin/env bash
# The native probes: small programs in tools/wine, each built from the program's own native
# sources for the architecture of the program under test (with the mingw-w64 compiler of that
# architecture) and run by the same Wine. They reach the native code that the program's runs under
# Wine never reach (Wine's machine holds no such values) or whose outcome its results cannot show:
#   BackdoorProbe   the VMware backdoor's IN instruction: the fault absorbed, registers untouched
#   VariantProbe    the VARIANT and SAFEARRAY conversion of WMI values, every type at its edges
#   RegistryProbe   the registry text reading, values of every kind written to a scratch key
#   ConsoleProbe    the console and trace writing, redirected (ANSI code page) and on a console
# Each case is one verdict line, compared with the expected text below; a probe that does not
# build, fails to run or leaves a case out fails. Exits 1 if any check fails, 2 on a usage error.
#
# Usage: tools/wine-probes.sh [EXE]
#   EXE  the program whose architecture and Wine the probes take (default: build/win32/Tarnwick.exe)
#
# Runs in the Wine prefix that wine-check.sh booted when it calls this script (WINEPREFIX and the
# mark wine_boot sets), otherwise in a fresh one of its own, removed at exit.

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
wine_program_step program "" "native probes" \
    "that the program's own native code converts WMI values, reads registry text and writes the console as expected" "$@"

wine_environment wine-probes reuse
if [ "$own_prefix" = yes ]; then
    wine_boot || exit 1
fi

if [ "$wine" = "$wine64" ]; then probe_cxx=x86_64-w64-mingw32-g++-win32; else probe_cxx=i686-w64-mingw32-g++-win32; fi
# The program's own compile definitions (src/winapi/CMakeLists.txt), with its warnings as errors.
probe_flags=(-std=c++20 -O1 -static -Wall -Wextra -Werror -I"$repo/src" -DUNICODE -D_UNICODE
             -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601)

# build_probe NAME SOURCE... [-lLIBRARY...]: builds $work/NAME.exe from tools/wine/NAME.cpp and the
# given sources of the program (paths under src), its messages in $work/NAME-build.log. The probes
# build two side by side (below); probe_built tells how each went.
build_probe() {
    local name=$1 sources=() libraries=() argument
    shift
    for argument in "$@"; do
        case $argument in
            -l* | -municode) libraries+=("$argument") ;;
            *) sources+=("$repo/src/$argument") ;;
        esac
    done
    "$probe_cxx" "${probe_flags[@]}" -o "$work/$name.exe" "$repo/tools/wine/$name.cpp" "${sources[@]}" \
        "${libraries[@]}" > "$work/$name-build.log" 2>&1
}

# probe_built NAME: true when the probe built; a probe that does not build is a failure.
probe_built() {
    [ -f "$work/$1.exe" ] && return 0
    fail "$1 builds with $probe_cxx:"
    sed 's/^/  build| /' "$work/$1-build.log" | head -40
    return 1
}

# Two at a time, as the builds share the machine.
{
    build_probe VariantProbe winapi/native/ComWbemClassObject.cpp -loleaut32 -lole32 -lwbemuuid
    build_probe BackdoorProbe winapi/native/PortIo.cpp winapi/native/SystemInfo.cpp
} &
{
    build_probe RegistryProbe winapi/native/Registry.cpp platform/RegistryValue.cpp platform/RegistryText.cpp -ladvapi32
    # ConsoleProbe.cpp takes in the program's Console.cpp itself, its conversion held to Windows' rules.
    build_probe ConsoleProbe -municode
} &
wait

# compare_probe NAME OUTPUT EXPECTED: one verdict per expected line "CASE: TEXT", against the
# probe's line of that case in OUTPUT; a case missing from the output, given twice or not expected
# fails.
compare_probe() {
    PYTHONPATH="$repo/tools" python3 - "$1" "$2" "$3" "$machine_name" <<'PY' || failures=$((failures + 1))
import sys

from verdicts import finish, verdict

name, output_path, expected_path, machine = sys.argv[1:5]


def cases(path):
    with open(path, encoding="utf-8", errors="replace", newline="") as lines:
        found = {}
        for line in lines.read().replace("\r\n", "\n").splitlines():
            case, _, text = line.partition(": ")
            found.setdefault(case, []).append(text)
        return found


expected, output = cases(expected_path), cases(output_path)
for case, (text,) in expected.items():
    got = output.get(case, [])
    verdict(got == [text], f"{name} {case}: {text}" if got == [text]
            else f"{name} {case}: expected {text!r}, the probe gave {got} ({machine})")
for case in output.keys() - expected.keys():
    verdict(False, f"{name} printed a case that is not expected: {case}: {output[case]}")
finish()
PY
}

# run_probe NAME EXPECTED [ARGUMENT...]: runs the built probe and compares its standard output.
run_probe() {
    local name=$1 expected=$2 status=0
    shift 2
    (cd "$work" && timeout 300 "$wine" "$name.exe" "$@" > "$name.out" 2> "$name.err") || status=$?
    if [ "$status" -ne 0 ]; then
        fail "$name exits with $status, expected 0; its error output: $(tr -d '\r' < "$work/$name.err" | head -c 600)"
    fi
    compare_probe "$name" "$work/$name.out" "$expected"
}

# The VMware backdoor probe (PortIo.cpp, and SystemInfo.cpp for the lookup it uses): the checks'
# verdicts cannot tell a fault that was absorbed from a probe that never ran. Wine is no VMware
# machine, so IN EAX, DX must fault with EXCEPTION_PRIV_INSTRUCTION, be absorbed, and leave the
# registers as they were.
cat > "$work/BackdoorProbe.expected" <<'TEXT'
get-version: 0xC0000096 564D5868 00000000 0000000A 00005658
TEXT
if probe_built BackdoorProbe; then
    run_probe BackdoorProbe "$work/BackdoorProbe.expected"
fi

# The WMI value conversion (ComWbemClassObject.cpp): each line is the type the program's Variant
# keeps, what the extractor of that type gives, and the 32-bit value field. Arrays are read from
# index 0 up to the upper bound, every element (one fewer loses the last); an index below the
# lower bound is left out; an array without its SAFEARRAY keeps its type and reads empty. The
# "wmi-" lines read Wine's own Win32_OperatingSystem through ComWbemClassObject::Get: a uint64 comes
# as decimal text, a uint32 and a uint16 as VT_I4; Wine's Win32_BIOS has no BiosCharacteristics.
cat > "$work/VariantProbe.expected" <<'TEXT'
empty: type 0x0000 unreadable field32 0x00000000
null: type 0x0001 unreadable field32 0x00000000
string: type 0x0008 string "Dell Inc." field32 0x00010000
string-empty: type 0x0008 string "" field32 0x00010000
string-null-pointer: type 0x0008 null string field32 0x00010000
string-embedded-null: type 0x0008 string "A\u0000B" field32 0x00010000
string-beyond-ascii: type 0x0008 string "T\u00E9st\u20AC\uD83D\uDE00" field32 0x00010000
uint64-as-string-max: type 0x0008 string "18446744073709551615" field32 0x00010000
uint64-as-string-zero: type 0x0008 string "0" field32 0x00010000
sint64-as-string-min: type 0x0008 string "-9223372036854775808" field32 0x00010000
i4-min: type 0x0003 int32 -2147483648 field32 0x80000000
i4-max: type 0x0003 int32 2147483647 field32 0x7FFFFFFF
i4-minus-one: type 0x0003 int32 -1 field32 0xFFFFFFFF
i2-min: type 0x0002 int16 -32768 field32 0x00008000
i2-max: type 0x0002 int16 32767 field32 0x00007FFF
i2-minus-one: type 0x0002 int16 -1 field32 0x0000FFFF
ui1-zero: type 0x0011 uint8 0 field32 0x00000000
ui1-max: type 0x0011 uint8 255 field32 0x000000FF
bool-true: type 0x000B bool true field32 0x0000FFFF
bool-false: type 0x000B bool false field32 0x00000000
bool-one: type 0x000B bool true field32 0x0000FFFF
ui8: type 0x0015 unreadable field32 0x00010000
i8: type 0x0014 unreadable field32 0x00010000
ui4: type 0x0013 unreadable field32 0x00010000
r8: type 0x0005 unreadable field32 0x00010000
i4-array-0: type 0x2003 array [] field32 0x00010000
i4-array-1: type 0x2003 array [-2147483648] field32 0x00010000
i4-array-3: type 0x2003 array [-2147483648,-1,2147483647] field32 0x00010000
i2-array-0: type 0x2002 array [] field32 0x00010000
i2-array-1: type 0x2002 array [32767] field32 0x00010000
i2-array-3: type 0x2002 array [-32768,-1,32767] field32 0x00010000
ui1-array-0: type 0x2011 array [] field32 0x00010000
ui1-array-1: type 0x2011 array [255] field32 0x00010000
ui1-array-3: type 0x2011 array [0,128,255] field32 0x00010000
i4-array-lower-bound-1: type 0x2003 array [7,8,9] field32 0x00010000
i4-array-lower-bound-2: type 0x2003 array [7,8,9] field32 0x00010000
i4-array-null-pointer: type 0x2003 array [] field32 0x00010000
string-array: type 0x2008 unreadable field32 0x00010000
wmi-uint64: type 0x0008 decimal text
wmi-uint32: type 0x0003 int32
wmi-uint16: type 0x0003 int32
wmi-boolean: type 0x000B bool
wmi-string: type 0x0008 text
wmi-missing-property: Get fails with 0x80041002
TEXT
if probe_built VariantProbe; then
    run_probe VariantProbe "$work/VariantProbe.expected"
fi

# The registry text reading (Registry.cpp under RegistryValue.cpp and RegistryText.cpp): Win32
# result, bytes read, every 16-bit character, and the text up to the first null. A value's type is
# not looked at; a last odd byte is no character; the read grows its buffer to any size up to
# 1 MiB and gives up beyond with ERROR_MORE_DATA (234), leaving nothing read.
cat > "$work/RegistryProbe.expected" <<'TEXT'
sz: 0 bytes 72 characters "C:\u005CWindows\u005CMicrosoft.NET\u005CFramework\u005C\u0000" text "C:\u005CWindows\u005CMicrosoft.NET\u005CFramework\u005C"
sz-without-terminator: 0 bytes 70 characters "C:\u005CWindows\u005CMicrosoft.NET\u005CFramework\u005C" text "C:\u005CWindows\u005CMicrosoft.NET\u005CFramework\u005C"
sz-empty: 0 bytes 0 characters "" text ""
sz-terminator-only: 0 bytes 2 characters "\u0000" text ""
sz-beyond-ascii: 0 bytes 16 characters "T\u00E9st\u20AC\uD83D\uDE00\u0000" text "T\u00E9st\u20AC\uD83D\uDE00"
expand-sz: 0 bytes 30 characters "%SystemRoot%\u005Cx\u0000" text "%SystemRoot%\u005Cx"
multi-sz: 0 bytes 66 characters "PTLTD - 6040000\u0000PhoenixBIOS 4.0\u0000\u0000" text "PTLTD - 6040000"
multi-sz-empty: 0 bytes 2 characters "\u0000" text ""
dword: 0 bytes 4 characters "AB" text "AB"
dword-zero: 0 bytes 4 characters "\u0000\u0000" text ""
binary-odd-length: 0 bytes 3 characters "A" text "A"
binary-empty: 0 bytes 0 characters "" text ""
missing: 2 bytes 0 characters "" text ""
long-4097: 0 bytes 8194 text length 4097 same yes
long-at-limit: 0 bytes 1048576 text length 524288 same yes
long-beyond-limit: 234 bytes 0 text length 0 same no
TEXT
if probe_built RegistryProbe; then
    run_probe RegistryProbe "$work/RegistryProbe.expected"
fi

# The console and trace (Console.cpp). Redirected: each case in the prefix's ANSI code page with
# "\r\n" for every "\n" (a "\r" before it is kept), a character the code page lacks as "?", an
# embedded null as it is; nothing for an empty text. The redirected cases run twice: in the
# prefix's own code page, and under a locale that has no ANSI code page of its own (hi_IN), for
# which Wine takes UTF-8 (65001), as Windows does with "Use Unicode UTF-8 for worldwide language
# support": a conversion flag that UTF-8 refuses loses every line there. On a console (a
# pseudo-terminal), a text of more than two slices of WriteConsoleW comes out whole, its last
# characters after all the others.
utf8_locale=hi_IN.UTF-8
if probe_built ConsoleProbe; then
    acp=$(wine_ansi_code_page)
    # The host has no such locale installed, which bash warns of; Wine needs only its name.
    utf8_acp=$( { export LC_ALL=$utf8_locale; } 2>/dev/null; wine_ansi_code_page)
    for run in default utf8; do
        locale=; [ "$run" = utf8 ] && locale=$utf8_locale
        status=0
        (cd "$work" && env LC_ALL="${locale:-${LC_ALL:-}}" timeout 300 "$wine" ConsoleProbe.exe redirected \
            > "console-probe-$run.out" 2> "console-probe-$run.err") || status=$?
        [ "$status" -eq 0 ] || fail "ConsoleProbe redirected ($run) exits with $status, expected 0"
    done
    (cd "$work" && LC_ALL=C.UTF-8 timeout 300 script -qec "$(printf '%q ' "$wine" ConsoleProbe.exe console)" \
        /dev/null > console-probe.tty 2>&1)
    PYTHONPATH="$repo/tools" python3 - "$work" "${acp:-}" "${utf8_acp:-}" <<'PY' || failures=$((failures + 1))
import re
import sys

from verdicts import finish, verdict

work, default_acp, utf8_acp = sys.argv[1:4]
verdict(default_acp.isdigit(), f"ConsoleProbe: the prefix's ANSI code page was read (found {default_acp!r})")
verdict(utf8_acp == "65001", f"ConsoleProbe: the UTF-8 locale gives the ANSI code page 65001 (found {utf8_acp!r})")
for run, acp in (("default", default_acp), ("utf8", utf8_acp)):
    if not acp.isdigit():
        continue
    def ansi(text):
        return text.encode(f"cp{acp}", errors="replace")

    expected = {
        "ascii": b"plain line\r\n",
        "beyond-ascii": ansi("Tést€Ω") + b"\r\n",
        "outside-code-page": ansi("中あ.") + b"\r\n",
        "empty": b"",
        "line-ends": b"a\r\nb\r\n\r\n",
        "carriage-return-kept": b"x\r\r\n",
        "no-line-end": b"tail",
        "embedded-null": b"a\0b\r\n",
        "long": b"x" * 20000 + b"\r\n",
        "end": b"",
    }
    with open(f"{work}/console-probe-{run}.out", "rb") as captured:
        pieces = re.split(rb"\[([a-z-]+)\]\r\n", captured.read())
    found = {}
    if pieces[0]:
        found["(before the first case)"] = pieces[0]
    for at in range(1, len(pieces) - 1, 2):
        found[pieces[at].decode()] = pieces[at + 1]
    for case, data in expected.items():
        got = found.get(case)
        verdict(got == data, f"ConsoleProbe redirected at code page {acp} {case}: {data[:40]!r}"
                + ("" if got == data else f"; found {None if got is None else got[:200]!r}"))
    for case in found.keys() - expected.keys():
        verdict(False, f"ConsoleProbe redirected at code page {acp} printed a case that is not expected: {case}")
    with open(f"{work}/console-probe-{run}.err", "rb") as captured:
        trace = captured.read()
    line = b"trace " + ansi("é") + b"\r\n"
    verdict(trace == line, f"ConsoleProbe redirected at code page {acp} trace: {line!r}"
            + ("" if trace == line else f"; found {trace!r}"))

# The console wraps the line at its width, adds its cursor sequences and, at each write, paints the
# unfinished line again: those go, and the characters must all be there, in order, some of the
# first ones more than once.
with open(f"{work}/console-probe.tty", "rb") as captured:
    shown = captured.read().decode("utf-8", errors="replace")
shown = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]|[\r\n]", "", shown)
count = 2 * 8192 + 5
whole = re.fullmatch(r"a+Ωb", shown) is not None and shown.count("a") >= count
verdict(whole, f"ConsoleProbe console: {count} characters and Ωb, whole, over three slices"
        + ("" if whole else f"; the terminal got {shown.count('a')} a and ends {shown[-80:]!r}"))
finish()
PY
fi

wine_verdict wine-probes
