#!/usr/bin/env bash
# Runs a built Tarnwick.exe under Wine on NETFrameworkTest against framework folders made in the
# prefix, to check the native version resource reading and the registry view: each view of the
# registry (64-bit and 32-bit) gets its own install root, and each root a "mscorlib.dll" that
# is a copy of Wine's own msxml3.dll (which carries a version resource). The program must report
# the version of the 32-bit view's root, as the shipped 32-bit program on 64-bit Windows sees the
# redirected SOFTWARE\Wow6432Node; the 64-bit build reads that view too. Prints one verdict line per check; exits 1 if any fails.
#
# Usage: tools/wine-version-check.sh [EXE]   (default build/win64/Tarnwick.exe)

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
wine_program "${1:-}"
wine_environment wine-version-check fresh

machine=$(python3 -c 'import struct, sys
with open(sys.argv[1], "rb") as f: head = f.read(4096)
print(hex(struct.unpack_from("<H", head, struct.unpack_from("<I", head, 0x3c)[0] + 4)[0]))' "$exe" 2>/dev/null)
# Both programs read the registry view of the shipped 32-bit program (the 64-bit build asks for it
# with KEY_WOW64_32KEY, so that it stands in for the shipped program where 32-bit programs cannot
# run): the 32-bit view's root and its framework folder, never the 64-bit view's.
root='C:\fw32\'
version_folder=v1.1.4322
case "$machine" in
0x8664) loader=$wine ;;
0x14c) loader=$wine32 ;;
*) fail "program $exe is no x86 or x86-64 executable (machine ${machine:-unreadable})"; wine_verdict wine-version-check ;;
esac
wine_skip_where_32bit_cannot_run "version resources and registry view of $exe" \
    "that the program reads the file version of the framework folder its registry view names"
if [ ! -x "$loader" ]; then
    fail "no Wine loader $loader for this program"
    wine_verdict wine-version-check
fi

if ! timeout 600 "$wine" wineboot --init > "$work/wineboot.log" 2>&1; then
    fail "wineboot failed"
    wine_verdict wine-version-check
fi
"$wineserver" -w
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/fw64/v2.0.50727" "$drive_c/fw32/v1.1.4322"
cp "$drive_c/windows/system32/msxml3.dll" "$drive_c/fw64/v2.0.50727/mscorlib.dll"
cp "$drive_c/windows/syswow64/msxml3.dll" "$drive_c/fw32/v1.1.4322/mscorlib.dll" 2>/dev/null ||
    cp "$drive_c/windows/system32/msxml3.dll" "$drive_c/fw32/v1.1.4322/mscorlib.dll"
key='HKLM\Software\Microsoft\.NETFramework'
if timeout 120 "$wine" reg add "$key" /v InstallRoot /t REG_SZ /d 'C:\fw64\' /f /reg:64 > /dev/null 2>&1 &&
    timeout 120 "$wine" reg add "$key" /v InstallRoot /t REG_SZ /d 'C:\fw32\' /f /reg:32 > /dev/null 2>&1; then
    pass "install roots C:\\fw64\\ (64-bit view) and C:\\fw32\\ (32-bit view) recorded"
else
    fail "the install roots could not be recorded in the prefix's registry"
    wine_verdict wine-version-check
fi
"$wineserver" -w

cat > "$work/input.xml" <<'XML'
<input_tests><test><name>NETFrameworkTest</name><descriptive_name language="en">.NET</descriptive_name>
<descriptive_solution language="en">%wS</descriptive_solution></test></input_tests>
XML
(cd "$work" && timeout 600 "$loader" "$exe" -i input.xml -o out.xml > stdout.txt 2> stderr.txt)
status=$?
if [ "$status" -eq 0 ]; then pass "exit code 0"; else fail "exit code $status, expected 0"; fi

python3 - "$work/out.xml" "$root" "$version_folder" <<'PY' || failures=$((failures + 1))
import re
import sys
import xml.etree.ElementTree as ET

results, root, folder = sys.argv[1:4]
failures = 0


def verdict(ok, text):
    global failures
    print(("PASS: " if ok else "FAIL: ") + text)
    failures += 0 if ok else 1


try:
    test = ET.parse(results).getroot().find("test")
except (OSError, ET.ParseError) as error:
    verdict(False, f"results document read ({error})")
    sys.exit(1)
more_info = [element.text or "" for element in test.findall("more_info")]
solutions = [element.text or "" for element in test.findall("descriptive_solution")]
verdict(test.findtext("passed") == "true", f"NETFrameworkTest passes (found {test.findtext('passed')})")
verdict(len(more_info) == 1 and re.fullmatch(r"\d+(\.\d+)+.*\n", more_info[0]) is not None,
        f"one more-info line: the version of {folder}\\mscorlib.dll and a line break (found {more_info})")
verdict(solutions == [root], f"the solution names the install root of the shipped program's view {root} (found {solutions})")
sys.exit(1 if failures else 0)
PY
wine_verdict wine-version-check
