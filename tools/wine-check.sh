#!/usr/bin/env bash
# Runs a built 64-bit Tarnwick.exe under Wine on examples/input.xml and checks its results
# document: one `test` element per input test that the program builds, in input order, named
# after the test's class. Builds nothing. Prints one verdict line per check; exits 1 if any
# check fails, 2 on a usage error. Then runs tools/wine-update-roundtrip.sh in the same prefix.
#
# Usage: tools/wine-check.sh [EXE] [BUILT_TESTS]
#   EXE          the program (default, also when given as "": build/win64/Tarnwick.exe)
#   BUILT_TESTS  a file naming the test classes the program builds, one per line (blank lines
#                and lines starting with # are ignored). Default: the *Test.cpp class files of src/tests,
#                one file per test class, named after it.
#
# Each run gets a fresh Wine prefix in a temporary folder, removed at exit. Wine's first start
# in a prefix (wineboot) takes several seconds; no display, Mono or Gecko is needed.

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

wine_environment wine-check fresh

if [ -z "$built_tests" ]; then
    built_tests=$work/built-tests.txt
    find "$repo/src/tests" -name '*Test.cpp' -exec basename {} .cpp \; | sort > "$built_tests"
    echo "INFO: built test classes taken from the class files of src/tests ($(wc -l < "$built_tests"))"
fi

if [ -f "$exe" ]; then pass "program $exe exists"; else fail "program $exe does not exist"; fi
# This Wine runs 64-bit programs only: it starts a 32-bit one, which fails, and still exits 0.
if [ -f "$exe" ]; then
    machine=$(python3 -c 'import struct, sys
with open(sys.argv[1], "rb") as f: head = f.read(4096)
print(hex(struct.unpack_from("<H", head, struct.unpack_from("<I", head, 0x3c)[0] + 4)[0]))' "$exe" 2>/dev/null)
    if [ "$machine" = 0x8664 ]; then
        pass "program is an x86-64 executable"
    else
        fail "program is not an x86-64 executable (machine ${machine:-unreadable}); this Wine runs no 32-bit program"
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

start=$SECONDS
if timeout 600 "$wine" wineboot --init > "$work/wineboot.log" 2>&1; then
    pass "fresh Wine prefix created in $((SECONDS - start)) s"
else
    fail "wineboot failed; its output:"
    cat "$work/wineboot.log"
    exit 1
fi

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

if ! python3 - "$repo/$input" "$results" "$built_tests" <<'PY'
import codecs
import sys
import xml.etree.ElementTree as ET

input_path, results_path, built_tests_path = sys.argv[1:4]
failures = 0


def verdict(ok, text):
    global failures
    print(("PASS: " if ok else "FAIL: ") + text)
    if not ok:
        failures += 1


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

try:
    with open(results_path, "rb") as results_file:
        data = results_file.read()
except OSError as error:
    verdict(False, f"results document written ({error.strerror})")
    sys.exit(1)
# Whatever the DOM library's save produced: report its encoding and declaration, parse any.
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
verdict(True, f"results document written ({len(data)} bytes, {encoding}, {declaration} XML declaration)")

try:
    root = ET.fromstring(data)
except ET.ParseError as error:
    verdict(False, f"results document is well-formed XML ({error})")
    sys.exit(1)
verdict(True, "results document is well-formed XML")
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

# What the partition, disk and volume checks give under Wine (README, "The storage checks under
# Wine"): drive 0 opens but has no layout, length or readable sector 0, and its device descriptor
# names a SCSI bus; volume names have no drive type, so no volume counts as fixed; WMI lists two
# disk drives without a Name and NTFS on C: and Z:. Every one of them passes.
STORAGE_UNDER_WINE = {
    "DynamicVolumeTest": [], "RecoveryTest": [], "DualBootTest": [], "DiskLimitTest": ["2"],
    "DiskSizeLimitTest": [], "RaidTest": ["\\\\.\\PhysicalDrive0 1 SCSI"], "CompressedRootTest": [],
    "HiddenVolumeTest": [], "VolumeLimitTest": ["0"], "VolumeMountPointTest": [], "UnformattedPartitionTest": [],
}
for name, more_info in STORAGE_UNDER_WINE.items():
    if name not in expected:
        continue
    test = tests[written.index(name)]
    found = (text_of(test.find("passed")), [text_of(line) for line in test.findall("more_info")])
    verdict(found == ("true", more_info),
            f"{name} passes with more_info {more_info} under Wine (found {found[0]}, {found[1]})")

# What Wine answers to the operating system, memory, privilege, BitLocker and BITS checks (see
# README): an NT 6 description, the 512 MB of NT 6 against the host's memory, an administrator's
# default token, no BitLocker edition, and BITS passing whether or not its manager has started.
by_name = {name: test for test, name in zip(tests, written)}


def system_check(name, expect_passed, check_lines, description):
    test = by_name.get(name)
    if test is None:
        return
    lines = [text_of(line) for line in test.findall("more_info")]
    passed = text_of(test.find("passed")) == "true"
    verdict(passed == expect_passed and check_lines(lines),
            f"{name}: {description} (passed {passed}, more_info {lines})")


system_check("OSTest", True, lambda lines: len(lines) == 1 and lines[0].startswith("Microsoft ")
             and "(build " in lines[0], "one description line")
system_check("MemoryTest", True, lambda lines: len(lines) == 2 and lines[0] == "512" and int(lines[1]) >= 512,
             "512 MB needed, more installed")
system_check("AdministratorTest", True, lambda lines: lines == ["Default token has admin privileges"],
             "the default token is an administrator's")
system_check("BitLockerTest", True,
             lambda lines: lines == ["Checks only if the feature is present, not if it is running"],
             "no BitLocker edition")
system_check("BitsAdminTest", True, lambda lines: lines == [], "BITS takes the job or is not running yet")

# What Wine's own machine answers to the device checks: its WMI knows no USB association, battery
# or pointing device (the queries succeed and return nothing), and the VMware backdoor probe's IN
# instruction faults with EXCEPTION_PRIV_INSTRUCTION, which the program absorbs: a desktop with no
# PS/2 mouse, not a laptop. The checks after the probe still run (the test list above shows it).
WINE_DEVICE_ANSWERS = {
    "BlacklistUSBDeviceTest": "true",
    "WhitelistUSBDeviceTest": "false",
    "DesktopAndPS2MouseTest": "false",
    "LaptopTest": "false",
}
for test, name in zip(tests, written):
    if name not in WINE_DEVICE_ANSWERS:
        continue
    passed = test.find("passed")
    answer = None if passed is None else text_of(passed)
    lines = [text_of(info) for info in test.findall("more_info")]
    verdict(answer == WINE_DEVICE_ANSWERS[name] and not lines,
            f"{name} answers {WINE_DEVICE_ANSWERS[name]} with no more_info on Wine"
            + ("" if answer == WINE_DEVICE_ANSWERS[name] and not lines else f" (found {answer}, {lines})"))

sys.exit(1 if failures else 0)
PY
then
    failures=$((failures + 1))
fi

# The update round trip (run, update from its results, run again), in this prefix.
echo "INFO: update round trip (tools/wine-update-roundtrip.sh)"
if ! "$repo/tools/wine-update-roundtrip.sh" "$exe"; then
    failures=$((failures + 1))
fi

wine_verdict wine-check
