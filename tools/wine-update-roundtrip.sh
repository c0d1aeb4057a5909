#!/usr/bin/env bash
# The update round trip under Wine: Tarnwick.exe (32- or 64-bit) runs the three black lists, its update
# mode copies the BIOS, board and processor identities from that run's results into the input
# document, which must keep its declaration, comment and layout, and a second run must fail each
# of the three with the very same identity line.
# Prints one verdict line per check; exits 1 if any check fails, 2 on a usage error.
#
# Usage: tools/wine-update-roundtrip.sh [EXE]
#   EXE  the program (default: build/win32/Tarnwick.exe, the shipped program)
#
# Runs in the Wine prefix that wine-check.sh booted when it calls this script (WINEPREFIX and the
# mark wine_boot sets), otherwise in a fresh one of its own, removed at exit.

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
wine_program_step program "" "update round trip" \
    "that an update from a run's results makes the next run fail each black list with the same identity line" "$@"

wine_environment wine-roundtrip reuse
if [ "$own_prefix" = yes ]; then
    wine_boot || exit 1
fi

# Wine records no SystemBiosVersion. HARDWARE is a volatile key, so the server must outlive the
# registry edit: wine_boot made it persistent, for the whole run.
bios_key='HKLM\Hardware\Description\System'
if timeout 120 "$wine64" reg add "$bios_key" /v SystemBiosVersion /t REG_MULTI_SZ \
        /d 'WINE   - 1\0Wine BIOS Version 1.00' /f > /dev/null 2>&1 &&
   timeout 120 "$wine64" reg add "$bios_key" /v SystemBiosDate /t REG_SZ /d '01/01/20' /f > /dev/null 2>&1; then
    pass "BIOS version and date recorded in the prefix's registry"
else
    fail "could not record a BIOS version in the prefix's registry"
fi

cat > "$work/input.xml" <<'XML'
<?xml version="1.0"?>
<!-- the lab's black lists -->
<input_tests>
  <test>
    <name>BlacklistBiosTest</name>
    <descriptive_name language="en">BIOS is not black-listed</descriptive_name>
    <descriptive_solution language="en">This BIOS is not supported.</descriptive_solution>
  </test>
  <test>
    <name>BlacklistMotherboardTest</name>
    <descriptive_name language="en">Motherboard is not black-listed</descriptive_name>
    <descriptive_solution language="en">This motherboard is not supported.</descriptive_solution>
  </test>
  <test>
    <name>BlacklistProcessorTest</name>
    <descriptive_name language="en">Processor is not black-listed</descriptive_name>
  </test>
</input_tests>
XML

# Runs the program in the work folder, where the documents are; stdout and stderr to files.
run() {
    local name=$1
    shift
    (cd "$work" && timeout 600 "$wine" "$exe" "$@" > "$work/$name.stdout" 2> "$work/$name.stderr")
    local status=$?
    if [ "$status" -eq 0 ]; then
        pass "$name: exit code 0"
    else
        fail "$name: exit code $status, expected 0; standard output and error follow"
        sed 's/^/  stdout| /' "$work/$name.stdout"
        sed 's/^/  stderr| /' "$work/$name.stderr"
    fi
}

run first-run -i input.xml -o first.xml
run update -update -i input.xml -o first.xml -b bios -b motherboard -b processor
run second-run -i input.xml -o second.xml

echo "INFO: update mode printed:"
sed 's/^/  | /' "$work/update.stdout"

if ! PYTHONPATH="$repo/tools" python3 - "$work" <<'PY'
import os
import sys
import xml.etree.ElementTree as ET

from verdicts import finish, verdict

work = sys.argv[1]
TESTS = ["BlacklistBiosTest", "BlacklistMotherboardTest", "BlacklistProcessorTest"]


def results(name):
    try:
        root = ET.parse(f"{work}/{name}.xml").getroot()
    except (OSError, ET.ParseError) as error:
        verdict(False, f"{name}.xml is readable XML ({error})")
        return {}
    found = {}
    for test in root.findall("test"):
        more_info = test.find("more_info")
        found[test.findtext("name")] = (test.findtext("passed"),
                                        None if more_info is None else "".join(more_info.itertext()))
    return found


first, second = results("first"), results("second")
inputs = {}
for test in ET.parse(f"{work}/input.xml").getroot().findall("test"):
    inputs[test.findtext("name")] = ["".join(p.itertext()) for p in test.findall("parameter")]
console = open(f"{work}/update.stdout", encoding="utf-8", errors="replace").read()
saved = open(f"{work}/input.xml", encoding="utf-8", errors="replace").read().replace("\r\n", "\n")
verdict(saved.startswith('<?xml version="1.0"?>\n<!-- the lab\'s black lists -->\n<input_tests>\n'),
        "update: the saved input document keeps its declaration, comment and line breaks")
verdict("\n  <test>\n    <name>BlacklistBiosTest</name>\n" in saved, "update: the saved input document keeps its indentation")
verdict(not os.path.exists(f"{work}/input.xml.saving"), "update: nothing is left beside the input document")

for name in TESTS:
    passed, identity = first.get(name, (None, None))
    print(f"INFO: {name} identity under Wine: {identity!r}")
    verdict(passed == "true" and identity not in (None, ""),
            f"first run: {name} passes with a non-empty identity line")
    verdict(inputs.get(name) == [identity], f"update: {name} got that identity as its one parameter")
    verdict(second.get(name) == ("false", identity),
            f"second run: {name} fails with the same identity line (found {second.get(name)})")
verdict("Main bios: " + str(first.get("BlacklistBiosTest", (None, ""))[1]) + "\n" in console,
        "update printed the BIOS echo line")
verdict(console.count("Saving input.xml\n") == 3, "update saved the input document once per action")
finish()
PY
then
    failures=$((failures + 1))
fi

wine_verdict wine-update-roundtrip
