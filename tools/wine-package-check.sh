#!/usr/bin/env bash
# The release archive as an administrator gets it, under 32-bit Wine: unpacked into a folder whose
# name holds a space and a letter beyond ASCII, its SHA256SUMS hold; the first run of its
# README.txt (the linter, then the program, on the bundled example) goes through there, and the
# results document matches the bundled schema; TarnwickGate.cmd, run with Wine's cmd, decides
# ready, blocked and not checked with their exit codes, and its reader refuses a results document
# that is not valid; the collecting batch file of docs/fleet.md leaves its files on a share.
# Prints one verdict line per check; exits 1 if any check fails, 2 on a usage error, 77 (one SKIP
# line) where this machine's kernel cannot execute 32-bit programs.
#
# Usage: tools/wine-package-check.sh [ARCHIVE]
#   ARCHIVE  the archive (default: the one build/dist/Tarnwick-*-win32.zip, from tools/package.sh)
#
# Runs in a fresh Wine prefix of its own, removed at exit.

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"

if [ $# -gt 1 ]; then
    echo "usage: $0 [ARCHIVE]" >&2
    exit 2
fi
archive=${1:-}
if [ -z "$archive" ]; then
    shopt -s nullglob
    archives=("$repo"/build/dist/Tarnwick-*-win32.zip)
    shopt -u nullglob
    if [ ${#archives[@]} -ne 1 ]; then
        echo "FAIL: build/dist holds ${#archives[@]} archives Tarnwick-*-win32.zip, not one (tools/package.sh writes it)"
        exit 1
    fi
    archive=${archives[0]}
fi
if [ ! -f "$archive" ]; then
    echo "FAIL: archive $archive does not exist"
    exit 1
fi
# Every program in the archive is 32-bit, so the step needs the 32-bit loader.
wine=$wine32
wine_skip_where_32bit_cannot_run "Wine check of the release archive $archive" \
    "that the unpacked archive's sums hold, its programs run the bundled example and TarnwickGate.cmd decides ready, blocked and not checked"

wine_environment wine-package fresh
wine_boot || exit 1

# The folder an administrator might choose: a space and a letter beyond ASCII in its name.
unpacked="$work/Prüfung Tarnwick"
mkdir -p "$unpacked"
if unzip -q "$archive" -d "$unpacked"; then
    pass "archive unpacked into \"$unpacked\""
else
    fail "archive $archive does not unpack"
fi
shopt -s nullglob
folders=("$unpacked"/*/)
shopt -u nullglob
if [ ${#folders[@]} -ne 1 ]; then
    fail "the archive holds ${#folders[@]} top folders, not one"
    wine_verdict wine-package-check
fi
folder=${folders[0]%/}
name=$(basename "$folder")
if [ "$name.zip" = "$(basename "$archive")" ]; then
    pass "its one top folder is named as the archive: $name"
else
    fail "its top folder $name is not named as the archive $(basename "$archive")"
fi

sums=$(cd "$folder" && sha256sum -c SHA256SUMS 2>&1)
sums_status=$?
listed=$(wc -l < "$folder/SHA256SUMS")
others=$(cd "$folder" && find . -type f ! -name SHA256SUMS | wc -l)
if [ "$sums_status" -eq 0 ] && ! grep -qv ': OK$' <<< "$sums" && [ "$listed" -eq "$others" ]; then
    pass "SHA256SUMS holds for all $listed other files"
else
    fail "SHA256SUMS does not hold (it lists $listed of $others files): $sums"
fi

# Runs the Windows command line $1 with Wine's cmd in the unpacked folder; sets status, output
# (standard output, carriage returns dropped) and keeps standard error in $work/stderr.txt.
run_cmd() {
    (cd "$folder" && timeout 600 "$wine" cmd /c "$1" > "$work/stdout.txt" 2> "$work/stderr.txt")
    status=$?
    output=$(tr -d '\r' < "$work/stdout.txt")
}

# The first run of README.txt, command by command as it shows them after its prompt.
mapfile -t first_run < <(tr -d '\r' < "$folder/README.txt" | sed -n 's/^ *C:\\Tarnwick> //p')
if [ ${#first_run[@]} -eq 2 ]; then
    pass "README.txt shows a first run of two commands"
else
    fail "README.txt shows ${#first_run[@]} commands after its prompt C:\\Tarnwick>, not the linter's and the program's"
fi
for command in "${first_run[@]}"; do
    run_cmd "$command"
    if [ "$status" -eq 0 ]; then
        pass "README.txt's first run: $command (exit code 0)"
    else
        fail "README.txt's first run: $command gave exit code $status and: $output $(head -c 400 "$work/stderr.txt")"
    fi
done
if [ -f "$folder/results.xml" ] &&
   xmllint --noout --schema "$folder/schemas/results.xsd" "$folder/results.xml" > "$work/xmllint.txt" 2>&1; then
    pass "the first run's results.xml matches the bundled schemas/results.xsd"
else
    fail "the first run wrote no results.xml that matches schemas/results.xsd: $(cat "$work/xmllint.txt" 2>/dev/null)"
fi

# The gate: the example input cut to the checks that pass on Wine's machine (ready), the example
# itself (blocked: the white lists and others fail there), and the example cut off in the middle,
# which the program cannot read (not checked), each after a results document of "ready" was
# left where the new one goes, which must never decide the run.
PYTHONPATH="$repo/tools" python3 - "$folder" <<'PY'
import sys
import xml.etree.ElementTree as ElementTree

folder = sys.argv[1]
with open(f"{folder}/examples/input.xml", "rb") as example:
    data = example.read()
# What Wine's machine fails (tools/wine-check.sh holds the example to these verdicts).
FAILING_ON_WINE = {"WhitelistBiosTest", "WhitelistMotherboardTest", "WhitelistProcessorTest",
                   "WhitelistUSBDeviceTest", "NETFrameworkTest", "LegacyUSBTest",
                   "DesktopAndPS2MouseTest", "LaptopTest"}
tree = ElementTree.ElementTree(ElementTree.fromstring(data))
root = tree.getroot()
for test in list(root.findall("test")):
    if test.findtext("name").strip() in FAILING_ON_WINE:
        root.remove(test)
tree.write(f"{folder}/ready input.xml", encoding="UTF-8", xml_declaration=True)
with open(f"{folder}/unreadable input.xml", "wb") as cut:
    cut.write(data[:len(data) // 2])
with open(f"{folder}/old-results.xml", "w", encoding="utf-8") as old:
    old.write("<test_results><test><name>OSTest</name><passed>true</passed>"
              "<descriptive_name>left from an earlier run</descriptive_name></test></test_results>\n")
PY

# The line the gate gives for the results document $1 of the unpacked folder: "blocked" with the
# checks whose passed is false, or "ready".
decision_of() {
    python3 - "$folder/$1" <<'PY'
import sys
import xml.etree.ElementTree as ElementTree

tests = ElementTree.parse(sys.argv[1]).getroot().findall("test")
failed = [test.findtext("name") for test in tests if test.findtext("passed") == "false"]
print(f"TarnwickGate: blocked ({len(failed)} of {len(tests)} checks failed: {', '.join(failed)})" if failed
      else "TarnwickGate: ready")
PY
}

# gate INPUT EXPECTED_STATUS [EXPECTED_LAST_LINE]: the gate started as an installer starts it, by
# its full path (which holds a space and a letter beyond ASCII), with the input and "gate
# results.xml" (a space in each name), over an old results document of "ready"; without a line,
# the one that the new results document calls for. (Wine starts a batch file given by its path
# with its cmd. A batch file of the test's own that calls the gate would not do: Wine's cmd hands
# "call" an exit code of 1 for any "exit /b" other than 0, where Windows hands on the code.)
# A fourth argument names another results path, with no old document put there.
gate() {
    local results=${4:-gate results.xml}
    [ $# -ge 4 ] || cp "$folder/old-results.xml" "$folder/$results"
    (cd "$folder" && timeout 600 "$wine" "$folder/TarnwickGate.cmd" "$1" "$results" > "$work/stdout.txt" 2> "$work/stderr.txt")
    status=$?
    output=$(tr -d '\r' < "$work/stdout.txt")
    local last=${output##*$'\n'} expected=${3:-}
    if [ -z "$expected" ]; then
        expected=$(decision_of "gate results.xml" 2>&1)
    fi
    if [ "$status" -eq "$2" ] && [ "$last" = "$expected" ]; then
        pass "TarnwickGate.cmd \"$1\": exit code $2, \"$expected\""
    else
        fail "TarnwickGate.cmd \"$1\": expected exit code $2 and \"$expected\", got $status and \"$last\"; trace: $(head -c 400 "$work/stderr.txt")"
    fi
}
gate "ready input.xml" 0 "TarnwickGate: ready"
gate examples\\input.xml 1
cp "$folder/gate results.xml" "$folder/blocked-results.xml"
if grep -q '<passed>false</passed>' "$folder/blocked-results.xml"; then
    pass "the example's results hold failed checks on Wine's machine, as blocked needs"
else
    fail "the example's results hold no failed check on Wine's machine"
fi
gate "unreadable input.xml" 2 "TarnwickGate: not checked (Tarnwick.exe wrote no results document; its trace says why)"
if [ ! -e "$folder/gate results.xml" ]; then
    pass "the old results document was deleted before the run that wrote none"
else
    fail "the old results document is still there after a run that wrote none"
fi
mkdir -p "$folder/a folder" && echo kept > "$folder/a folder/keep.txt"
gate "ready input.xml" 2 "TarnwickGate: not checked (\"a folder\" is a folder, not a results document)" "a folder"
if [ -f "$folder/a folder/keep.txt" ]; then
    pass "a folder named as the results document is left as it was"
else
    fail "the gate emptied a folder named as the results document"
fi

# The reader alone, on results documents that the program would not write: cut off, and with a
# verdict that is neither true nor false.
head -c 300 "$folder/blocked-results.xml" > "$folder/cut-results.xml"
sed 's|<passed>false</passed>|<passed>no</passed>|' "$folder/blocked-results.xml" > "$folder/odd-results.xml"
for document in cut-results.xml odd-results.xml; do
    run_cmd "cscript //nologo TarnwickGate.js $document"
    if [ "$status" -eq 12 ] && [[ "$output" == "TarnwickGate: not checked ($document "* ]]; then
        pass "TarnwickGate.js refuses $document as not checked (12): $output"
    else
        fail "TarnwickGate.js on $document: expected 12 and not checked, got $status and: $output"
    fi
done
run_cmd "TarnwickGate.cmd"
if [ "$status" -eq 2 ] && [[ "$output" == usage:* ]]; then
    pass "TarnwickGate.cmd without arguments prints its usage, exit code 2"
else
    fail "TarnwickGate.cmd without arguments: exit code $status and: $output"
fi

# The collecting batch file of docs/fleet.md, as it stands there, with the two shares pointed at
# the unpacked folder (holding input.xml) and a folder of this check: each of its five files is
# there, named after the computer, and the results match the schema.
collected=$work/collected
mkdir -p "$collected"
cp "$folder/examples/input.xml" "$folder/input.xml"
sed -n '/^```bat$/,/^```$/p' "$repo/docs/fleet.md" | sed '1d;$d' |
    sed -e 's/^set "tools=.*"$/set "tools=%PACKAGE_FOLDER%"/' -e 's/^set "collected=.*"$/set "collected=%COLLECTED_FOLDER%"/' |
    sed -e 's/\r$//' -e 's/$/\r/' > "$folder/collect.cmd"
computer=$(cd "$folder" && timeout 120 "$wine" cmd /c echo %COMPUTERNAME% | tr -d '\r')
(cd "$folder" && PACKAGE_FOLDER="Z:${folder//\//\\}" COLLECTED_FOLDER="Z:${collected//\//\\}" \
    timeout 900 "$wine" cmd /c collect.cmd > "$work/collect.txt" 2>&1)
status=$?
missing=()
for file in "$computer.json" "$computer.xml" "$computer-console.txt" "$computer-trace.txt" "$computer-capture.txt"; do
    [ -s "$collected/$file" ] || missing+=("$file")
done
if [ -n "$computer" ] && [ "$status" -eq 0 ] && [ ${#missing[@]} -eq 0 ] &&
   xmllint --noout --schema "$folder/schemas/results.xsd" "$collected/$computer.xml" > /dev/null 2>&1; then
    pass "docs/fleet.md's batch file left $computer.json, .xml, -console.txt, -trace.txt and -capture.txt on the share"
else
    fail "docs/fleet.md's batch file (exit code $status, computer \"$computer\") left $(find "$collected" -mindepth 1 -printf '%f '); missing: ${missing[*]}; it said: $(head -c 400 "$work/collect.txt")"
fi

wine_verdict wine-package-check
