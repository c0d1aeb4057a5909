#!/usr/bin/env bash
# Runs a built Tarnwick.exe under Wine on examples/input.xml and checks its results document: one
# `test` element per input test that the program builds, in input order, named after the test's
# class, and each check's verdict and lines as Wine's machine answers them. Checks that the console
# and trace of a redirected run come in the ANSI code page. Builds nothing of the program. Prints
# one verdict line per check; exits 1 if any check fails, 2 on a usage error. Runs the native
# probes (tools/wine-probes.sh, which builds them) and tools/wine-update-roundtrip.sh in the same
# prefix.
#
# Usage: tools/wine-check.sh [EXE] [BUILT_TESTS]
#   EXE          the program (default, also when given as "": build/win32/Tarnwick.exe, the shipped
#                32-bit program; build/win64/Tarnwick.exe runs the same way)
#   BUILT_TESTS  a file naming the test classes the program builds, one per line (blank lines
#                and lines starting with # are ignored). Default: the *Test.cpp class files of src/checks,
#                one file per test class, named after it.
#
# Each run gets a fresh 64-bit Wine prefix in a temporary folder, removed at exit; it runs 32-bit
# programs too (wine32). Its boot and settling take 20 to 60 s; no display, Mono or Gecko is needed.

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
wine_program "${1:-}"
built_tests=${2:-}
input=examples/input.xml

if [ $# -gt 2 ]; then
    echo "usage: $0 [EXE] [BUILT_TESTS]" >&2
    exit 2
fi
wine_skip_where_32bit_cannot_run "Wine check of $exe" \
    "that it runs the example input with Wine's answers to every check, writes the ANSI code page when redirected, passes the native probes and round-trips an update"

wine_environment wine-check fresh

if [ -z "$built_tests" ]; then
    built_tests=$work/built-tests.txt
    find "$repo/src/checks" -name '*Test.cpp' -exec basename {} .cpp \; | sort > "$built_tests"
    echo "INFO: built test classes taken from the class files of src/checks ($(wc -l < "$built_tests"))"
fi

if [ -f "$exe" ]; then pass "program $exe exists"; else fail "program $exe does not exist"; fi
if [ -f "$exe" ]; then
    if [ -n "$wine" ]; then
        pass "program is a $machine_name executable, run by $wine"
    else
        fail "program is neither an x86 nor an x86-64 executable (machine $(pe_machine "$exe"))"
    fi
fi
if [ -f "$repo/$input" ]; then pass "input $input exists"; else fail "input $input does not exist"; fi
if [ -f "$built_tests" ]; then
    pass "list of built tests $built_tests exists"
else
    fail "list of built tests $built_tests does not exist"
fi
if [ "$failures" -ne 0 ]; then
    exit 1
fi

wine_boot || exit 1

# The program runs in the repository, so the input path is the relative one; the results go to
# the temporary folder, named by its path on Wine's drive Z: (the Unix root).
results=$work/out.xml
results_windows="Z:${results//\//\\}"
start=$SECONDS
(cd "$repo" && timeout 600 "$wine" "$exe" -i "$input" -o "$results_windows" \
    > "$work/stdout.txt" 2> "$work/stderr.txt")
status=$?
if [ "$status" -eq 0 ]; then
    pass "exit code 0 (run took $((SECONDS - start)) s)"
else
    fail "exit code $status, expected 0; standard output and error follow"
    sed 's/^/  stdout| /' "$work/stdout.txt"
    sed 's/^/  stderr| /' "$work/stderr.txt"
fi

# Wine's own answers for the identity checks, read by its WMI client from the classes the checks
# read: the value of the first instance (wmic writes UTF-16, a header line, and padded columns).
wmic_value() {
    timeout 120 "$wine64" wmic path "$1" get "$2" 2>/dev/null | python3 -c 'import sys
lines = [line.strip() for line in sys.stdin.buffer.read().decode("utf-16", "replace").splitlines() if line.strip()]
print(lines[1] if len(lines) > 1 and lines[0] == sys.argv[1] else "")' "$2"
}
WINE_WMI_BOARD="$(wmic_value Win32_BaseBoard Manufacturer) $(wmic_value Win32_BaseBoard Product)"
WINE_WMI_PROCESSOR=$(wmic_value Win32_Processor Name)
WINE_WMI_COMPUTER="$(wmic_value Win32_ComputerSystem Manufacturer) $(wmic_value Win32_ComputerSystem Model)"
export WINE_WMI_BOARD WINE_WMI_PROCESSOR WINE_WMI_COMPUTER

if ! PYTHONPATH="$repo/tools" python3 - "$repo/$input" "$results" "$built_tests" "$repo/docs/wine.md" <<'PY'
import codecs
import re
import sys
import xml.etree.ElementTree as ET

input_path, results_path, built_tests_path, docs_path = sys.argv[1:5]
from verdicts import finish, verdict


def text_of(element):
    # The DOM's text: the element's own text and that of all its descendants, joined.
    return "".join(element.itertext())


# Input names that the program's test registry maps to a class of another name.
REGISTRY_ALIASES = {"mssecurityessentialsinstalledtest": "MSSecurityEssentialsTest"}

with open(built_tests_path, encoding="utf-8") as listing:
    built = [line.strip() for line in listing if line.strip() and not line.startswith("#")]
built_by_key = {name.lower(): name for name in built}


def class_for(input_name):
    """The class the program creates for an input test name, or None if it creates none."""
    key = input_name.lower()
    if key in REGISTRY_ALIASES:
        alias = REGISTRY_ALIASES[key]
        return alias if alias.lower() in built_by_key else None
    if key in (alias.lower() for alias in REGISTRY_ALIASES.values()):
        return None  # a class name that the registry does not accept as a test name
    return built_by_key.get(key)


input_root = ET.parse(input_path).getroot()
input_names = []
for container in input_root.iter("input_tests"):
    for test in container.findall("test"):
        name = test.find("name")
        input_names.append(None if name is None else text_of(name))
expected = [cls for cls in (class_for(n) for n in input_names if n is not None) if cls is not None]
skipped = [n for n in input_names if n is None or class_for(n) is None]
print(f"INFO: {len(input_names)} tests in the input, {len(expected)} of them built"
      + (f"; not built: {', '.join(str(n) for n in skipped)}" if skipped else ""))

# An unknown name as the document's last test fails the whole reading, so it must never stand last.
last = input_names[-1] if input_names else None
verdict(last is not None and class_for(last) is not None,
        f"the input's last test ({last}) is one the program builds")

try:
    with open(results_path, "rb") as results_file:
        data = results_file.read()
except OSError as error:
    verdict(False, f"results document written ({error.strerror})")
    sys.exit(1)
# What the DOM library's save produced: Wine's msxml3 writes UTF-8 without a byte order mark and
# without an XML declaration (the simulated build writes the same bytes, as the proof compares).
if data.startswith(codecs.BOM_UTF8):
    encoding, body = "UTF-8 with byte order mark", data[3:]
elif data[:2] in (codecs.BOM_UTF16_LE, codecs.BOM_UTF16_BE):
    encoding, body = "UTF-16", data.decode("utf-16").encode("utf-8")
else:
    try:
        data.decode("utf-8")
        encoding = "UTF-8 without byte order mark"
    except UnicodeDecodeError:
        encoding = "no byte order mark, not UTF-8"
    body = data
declaration = "with" if body.startswith(b"<?xml") else "without"
verdict(bool(data) and encoding == "UTF-8 without byte order mark" and declaration == "without",
        f"results document written in UTF-8 without byte order mark or XML declaration"
        f" (found {len(data)} bytes, {encoding}, {declaration} XML declaration)")

try:
    root, parse_error = ET.fromstring(data), None
except ET.ParseError as error:
    root, parse_error = None, error
verdict(root is not None, "results document is well-formed XML" + (f" ({parse_error})" if parse_error else ""))
if root is None:
    sys.exit(1)
verdict(root.tag == "test_results", f"document element is test_results (found {root.tag})")

tests = list(root)
others = [test.tag for test in tests if test.tag != "test"]
verdict(not others, "test_results holds only test elements" + (f"; also: {others}" if others else ""))
written = [None if test.find("name") is None else text_of(test.find("name")) for test in tests]
verdict(written == expected,
        f"one test element per built input test, in input order, with class names: {written}"
        if written == expected else f"test elements: expected {expected}, found {written}")

CHILD_ORDER = {"name": 0, "passed": 1, "more_info": 2, "descriptive_name": 3, "descriptive_solution": 4}
bad_shape = []
for test, name in zip(tests, written):
    tags = [child.tag for child in test]
    ranks = [CHILD_ORDER.get(tag, -1) for tag in tags]
    single = all(tags.count(tag) == 1 for tag in ("name", "passed", "descriptive_name"))
    passed = test.find("passed")
    if (-1 in ranks or ranks != sorted(ranks) or not single or passed is None
            or text_of(passed) not in ("true", "false")):
        bad_shape.append(f"{name}: {tags}")
verdict(not bad_shape, "every test element has name, passed (true or false), more_info*, descriptive_name, "
        "descriptive_solution*" + (f"; wrong: {bad_shape}" if bad_shape else ""))

# What Wine's own machine answers to the checks: each check's verdict and a rule for its more_info
# lines, for every check the program builds. Where Wine has no answer (no BIOS strings, no disk
# layout, no volume bitmap, no .NET, no WMI battery or pointing device), the rule says what the
# check makes of that. The identity lines are what Wine's own WMI client (wmic) reads from the same
# classes, and the free space and memory what the host reports, read here independently.
# Storage: drive 0 opens but has no layout, length or readable sector 0, and its device descriptor
# names a SCSI bus; volume names have no drive type, so no volume counts as fixed; WMI lists two
# disk drives without a Name and NTFS on C: and Z:; C: has no volume bitmap, Z: does not open.
# System: an NT 6.1 (Windows 7 SP1) description of the 64-bit prefix (the 32-bit program sees the
# same through the native system information), the example's 256 MB against the host's memory, an
# administrator's default token, no BitLocker edition, and BITS passing whether or not its manager
# has started. No BIOS version or date in the registry (two empty lines), no .NET install root.
# Devices: WMI knows no USB association, battery or pointing device (the queries succeed and return
# nothing), its Win32_BIOS has no BiosCharacteristics, and the VMware backdoor probe's IN
# instruction faults with EXCEPTION_PRIV_INSTRUCTION, which the program absorbs: a desktop with no
# PS/2 mouse, not a laptop. The checks after the probe still run (the test list above shows it).
import os


def exactly(*lines):
    return lambda found: found == list(lines), f"more_info {list(lines)}"


def host_memory_mb():
    with open("/proc/meminfo", encoding="ascii") as meminfo:
        for line in meminfo:
            if line.startswith("MemTotal:"):
                return int(line.split()[1]) // 1024
    return None


def free_space_mb():
    # C: is the prefix's drive_c, a folder of the host: the space free to the caller there.
    status = os.statvfs(os.path.join(os.environ["WINEPREFIX"], "drive_c"))
    return status.f_bavail * status.f_frsize // (1024 * 1024)


# Other builds write to the same disk meanwhile: the figure may move by this much between the
# check and this reading.
FREE_SPACE_SLACK_MB = 2048


def free_space_line(found):
    return (len(found) == 1 and found[0].isdigit()
            and abs(int(found[0]) - free_space_mb()) <= FREE_SPACE_SLACK_MB)


# The example document gives MemoryTest its megabytes.
EXAMPLE_MEMORY_MB = "256"


def memory_lines(found):
    installed = host_memory_mb()
    return (len(found) == 2 and found[0] == EXAMPLE_MEMORY_MB and found[1].isdigit() and installed is not None
            and abs(int(found[1]) - installed) <= 1)


FEATURE_NOTE = "Checks only if the feature is present, not if it is running"
SYSTEM_DIRECTORY = "C:\\windows\\system32"
OS_LINE = "Microsoft Windows 7 , 64-bit Service Pack 1 (build 7601)"
BOARD = os.environ.get("WINE_WMI_BOARD", "")
PROCESSOR = os.environ.get("WINE_WMI_PROCESSOR", "")
COMPUTER = os.environ.get("WINE_WMI_COMPUTER", "")
print(f"INFO: Wine's WMI (wmic): board {BOARD!r}, processor {PROCESSOR!r}, computer {COMPUTER!r}")
verdict(BOARD.strip() and PROCESSOR.strip() and COMPUTER.strip(), "Wine's wmic answered for board, processor and computer")
WINE_ANSWERS = {
    "SystemDriveAccessibleByLetterDriveTest": (True, *exactly(SYSTEM_DIRECTORY)),
    "MSXML3Test": (True, *exactly()),
    "MSSecurityEssentialsTest": (True, *exactly()),
    "ReadyBoostTest": (True, *exactly(FEATURE_NOTE)),
    "ReadyDriveTest": (True, *exactly(FEATURE_NOTE)),
    "FreeHardDiskSpaceTest": (True, free_space_line,
                              f"the MB free on C: (the host's, within {FREE_SPACE_SLACK_MB} MB)"),
    "ContiguousFreeHardDiskSpaceTest": (True, *exactly()),
    "DynamicVolumeTest": (True, *exactly()),
    "RecoveryTest": (True, *exactly()),
    "DualBootTest": (True, *exactly()),
    "DiskLimitTest": (True, *exactly("2")),
    "DiskSizeLimitTest": (True, *exactly()),
    "RaidTest": (True, *exactly("\\\\.\\PhysicalDrive0 1 SCSI")),
    "CompressedRootTest": (True, *exactly()),
    "HiddenVolumeTest": (True, *exactly()),
    "VolumeLimitTest": (True, *exactly("0")),
    "VolumeMountPointTest": (True, *exactly()),
    "UnformattedPartitionTest": (True, *exactly()),
    "BlacklistBiosTest": (True, *exactly("", "")),
    "WhitelistBiosTest": (False, *exactly("", "")),
    "BlacklistMotherboardTest": (True, *exactly(BOARD)),
    "WhitelistMotherboardTest": (False, *exactly(BOARD)),
    "BlacklistProcessorTest": (True, *exactly(PROCESSOR)),
    "WhitelistProcessorTest": (False, *exactly(PROCESSOR)),
    "OSTest": (True, *exactly(OS_LINE)),
    "MemoryTest": (True, memory_lines, EXAMPLE_MEMORY_MB + " MB needed, the host's memory installed"),
    "AdministratorTest": (True, *exactly("Default token has admin privileges")),
    "BitLockerTest": (True, *exactly(FEATURE_NOTE)),
    "BitsAdminTest": (True, *exactly()),
    "NETFrameworkTest": (False, *exactly()),
    "QuillonInstallationTest": (True, *exactly()),
    "BlacklistServiceTest": (True, *exactly()),
    "FetchMakeModelTest": (True, *exactly(COMPUTER)),
    "LegacyUSBTest": (False, *exactly()),
    "BlacklistUSBDeviceTest": (True, *exactly()),
    "WhitelistUSBDeviceTest": (False, *exactly()),
    "DesktopAndPS2MouseTest": (False, *exactly()),
    "LaptopTest": (False, *exactly()),
}
without_answer = sorted(set(expected) - WINE_ANSWERS.keys())
verdict(not without_answer, f"every built test has its expected answer under Wine ({len(WINE_ANSWERS)} answers)"
        + (f"; none for {without_answer}" if without_answer else ""))
# docs/wine.md lists these answers in a table (rows of checks, a verdict column of "passes",
# "fails", or "passes / fails" for a pair of checks): its verdicts must be these.
def documented_verdicts(path):
    documented = {}
    with open(path, encoding="utf-8") as page:
        for row in page:
            cells = [cell.strip() for cell in row.strip().strip("|").split("|")]
            words = cells[1].split(" / ") if len(cells) == 3 else []
            if not cells[0].startswith("`") or not words or not set(words) <= {"pass", "passes", "fail", "fails"}:
                continue
            names = [name.strip("` ") for name in re.split(r", | / ", cells[0])]
            verdicts = [word.startswith("pass") for word in words]
            verdicts = verdicts * len(names) if len(verdicts) == 1 else verdicts
            documented.update(zip(names, verdicts))
    return documented


documented = documented_verdicts(docs_path)
answered = {name: answer[0] for name, answer in WINE_ANSWERS.items()}
differing = sorted(name for name in answered.keys() | documented.keys() if documented.get(name) != answered.get(name))
verdict(not differing, "docs/wine.md gives every check the verdict expected here"
        + (f"; it differs for {differing}" if differing else ""))

by_name = dict(zip(written, tests))
for name, (expect_passed, lines_ok, description) in WINE_ANSWERS.items():
    test = by_name.get(name)
    if test is None:
        # Missing: a failure, unless the list of built tests leaves the class out.
        built_here = name.lower() in built_by_key
        verdict(not built_here, f"{name} is in the results" if built_here else f"{name} is not built, so not in the results")
        continue
    lines = [text_of(line) for line in test.findall("more_info")]
    passed = text_of(test.find("passed")) == "true"
    verdict(passed == expect_passed and lines_ok(lines),
            f"{name} {'passes' if expect_passed else 'fails'} with {description} under Wine"
            f" (found passed {passed}, more_info {lines})")

finish()
PY
then
    failures=$((failures + 1))
fi

# The results document as MSXML wrote it matches its schema (xmllint: libxml2-utils).
if xmllint --noout --huge --schema "$repo/schemas/results.xsd" "$results" > "$work/xmllint.txt" 2>&1; then
    pass "results document matches schemas/results.xsd"
else
    fail "results document does not match schemas/results.xsd; xmllint says"
    sed 's/^/  xmllint| /' "$work/xmllint.txt"
fi

# The native probes (tools/wine-probes.sh), in this prefix: the program's own native code on the
# values Wine's machine never hands it, and the backdoor fault its verdicts cannot show.
echo "INFO: native probes (tools/wine-probes.sh)"
if ! "$repo/tools/wine-probes.sh" "$exe"; then
    failures=$((failures + 1))
fi

# Console and trace of a redirected run come in the prefix's ANSI code page with "\r\n" line ends.
# The registry echoes every input test name on the console ("NAME") and traces it ("[TARNWICK]
# Attempting to allocate a test with name NAME"), known or not; the unknown name stands first.
acp=$(wine_ansi_code_page)
cat > "$work/encoding.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<input_tests>
  <test><name>Tést€ΩTest</name><descriptive_name language="en">unknown</descriptive_name></test>
  <test><name>MSXML3Test</name><descriptive_name language="en">MSXML 3.0</descriptive_name></test>
</input_tests>
XML
(cd "$work" && timeout 600 "$wine" "$exe" -i encoding.xml -o encoding-out.xml > encoding.stdout 2> encoding.stderr)
if ! PYTHONPATH="$repo/tools" python3 - "$work" "${acp:-}" <<'PY'
import sys

from verdicts import finish, verdict

work, acp = sys.argv[1:3]
name = "Tést€ΩTest"
verdict(acp.isdigit(), f"the prefix's ANSI code page was read (found {acp!r})")
if acp.isdigit():
    # A character the code page lacks is "?", never a look-alike.
    expected = name.encode(f"cp{acp}", errors="replace")
    print(f"INFO: ANSI code page of the prefix: {acp}; expected name bytes {expected!r}")
    channels = (("console", "encoding.stdout", expected + b"\r\n"),
                ("trace", "encoding.stderr", b"[TARNWICK] Attempting to allocate a test with name " + expected + b"\r\n"))
    for channel, file_name, line in channels:
        with open(f"{work}/{file_name}", "rb") as captured:
            data = captured.read()
        verdict(line in data, f"redirected {channel} holds {line!r}" + ("" if line in data else f"; it holds {data[:400]!r}"))
finish()
PY
then
    failures=$((failures + 1))
fi

# On a console the program writes the characters themselves (WriteConsoleW). A pseudo-terminal is
# a console to Wine, which hands the characters on in the terminal's UTF-8: the name comes out
# whole, the character that code page 1252 lacks included.
(cd "$work" && LC_ALL=C.UTF-8 timeout 600 script -qec \
    "$(printf '%q ' "$wine" "$exe" -i encoding.xml -o console-out.xml)" /dev/null > console.tty 2>&1)
if grep -qF 'Tést€ΩTest' "$work/console.tty"; then
    pass "console: the unknown name shows as it is (Tést€ΩTest)"
else
    fail "console: the unknown name does not show as it is; the terminal got: $(head -c 600 "$work/console.tty" | od -An -c | tr -s ' \n' ' ')"
fi

# The update round trip (run, update from its results, run again), in this prefix.
echo "INFO: update round trip (tools/wine-update-roundtrip.sh)"
if ! "$repo/tools/wine-update-roundtrip.sh" "$exe"; then
    failures=$((failures + 1))
fi

wine_verdict wine-check
