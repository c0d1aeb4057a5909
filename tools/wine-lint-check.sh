#!/usr/bin/env bash
# TarnwickLint.exe under Wine, reading documents through Wine's MSXML as administrators' Windows
# does: the example input document is clean (exit code 0, no output), a misspelt last name is an
# error at its test with the nearest name and the last-name trap (exit code 2), and a document that
# is not well-formed is an error with the parser's own reason (exit code 2), and the lists and
# texts read through MSXML get their findings at their tests: an empty BIOS entry, an entry on a
# black and a white list, a list check twice, a language that is no code (exit code 2).
# Prints one verdict line per check; exits 1 if any check fails, 2 on a usage error, 77 (one SKIP
# line) for the 32-bit linter where this machine's kernel cannot execute 32-bit programs.
#
# Usage: tools/wine-lint-check.sh [EXE]
#   EXE  the linter (default: build/win32/TarnwickLint.exe, the shipped one)
#
# Runs in the Wine prefix that wine-check.sh booted when it calls this script (WINEPREFIX and the
# mark wine_boot sets), otherwise in a fresh one of its own, removed at exit.

set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-common.sh
. "$repo/tools/wine-common.sh"
wine_program_step linter "$repo/build/win32/TarnwickLint.exe" "Wine lint check" \
    "that the linter finds the example document clean and reports a misspelt last name and a broken document" "$@"

wine_environment wine-lint reuse
if [ "$own_prefix" = yes ]; then
    wine_boot || exit 1
fi

# Runs the linter in the work folder on the document $1; sets status and output (line ends as
# the console wrote them, carriage returns dropped).
lint() {
    (cd "$work" && timeout 120 "$wine" "$exe" -i "$1" > "$work/lint.out" 2> /dev/null)
    status=$?
    output=$(tr -d '\r' < "$work/lint.out")
}

cp "$repo/examples/input.xml" "$work/input.xml"
lint input.xml
if [ "$status" = 0 ] && [ -z "$output" ]; then
    pass "$machine_name linter: examples/input.xml is clean (exit code 0)"
else
    fail "$machine_name linter: examples/input.xml gave exit code $status and: $output"
fi

cat > "$work/misspelt.xml" <<'XML'
<input_tests>
  <test><name>MSXML3Test</name><descriptive_name language="en">MSXML</descriptive_name></test>
  <test><name>LaptpTest</name></test>
</input_tests>
XML
lint misspelt.xml
if [ "$status" = 2 ] &&
   grep -qF 'misspelt.xml: test 2 (LaptpTest): error: no check is named "LaptpTest"; the program leaves this test out. Did you mean LaptopTest?' <<< "$output" &&
   grep -qF 'misspelt.xml: test 2 (LaptpTest): error: this is the last test element' <<< "$output"; then
    pass "$machine_name linter: a misspelt last name is an error at its test (exit code 2)"
else
    fail "$machine_name linter: a misspelt last name gave exit code $status and: $output"
fi

cat > "$work/lists.xml" <<'XML'
<input_tests>
  <test><name>WhitelistBiosTest</name><parameter></parameter>
    <descriptive_name language="en">BIOS</descriptive_name><descriptive_name language="ger">BIOS</descriptive_name>
    <descriptive_solution language="en">Update the BIOS.</descriptive_solution></test>
  <test><name>BlacklistBiosTest</name><parameter>ACME - 1</parameter>
    <descriptive_name language="en">BIOS</descriptive_name><descriptive_solution language="en">Update the BIOS.</descriptive_solution></test>
  <test><name>WhitelistBiosTest</name><parameter>ACME - 1</parameter>
    <descriptive_name language="en">BIOS</descriptive_name><descriptive_solution language="en">Update the BIOS.</descriptive_solution></test>
</input_tests>
XML
lint lists.xml
if [ "$status" = 2 ] &&
   grep -qF 'lists.xml: test 1 (WhitelistBiosTest): error: parameter 1 is empty and matches every machine whose BIOS version cannot be read' <<< "$output" &&
   grep -qF 'lists.xml: test 1 (WhitelistBiosTest): warning: the descriptive_name has language="ger", which is not a language code' <<< "$output" &&
   grep -qF 'lists.xml: test 3 (WhitelistBiosTest): error: parameter 1, "ACME - 1", is on the list of test 2 (BlacklistBiosTest) too' <<< "$output" &&
   grep -qF 'lists.xml: test 3 (WhitelistBiosTest): warning: WhitelistBiosTest is also test 1, with other parameters' <<< "$output"; then
    pass "$machine_name linter: list entries and languages read through MSXML are reported at their tests (exit code 2)"
else
    fail "$machine_name linter: the list document gave exit code $status and: $output"
fi

# Wine's MSXML reports a parse error without its line and with the reason "error"; Windows' MSXML
# gives both, and the linter prints the line and column whenever the parser gives them.
printf '<input_tests>\n  <test><name>LaptopTest</name></tset>\n</input_tests>\n' > "$work/broken.xml"
lint broken.xml
if [ "$status" = 2 ] && grep -qE '^broken\.xml(:2:[0-9]+)?: error: the program cannot read this document: ' <<< "$output"; then
    pass "$machine_name linter: a document that is not well-formed is an error (exit code 2): ${output%%$'\n'*}"
else
    fail "$machine_name linter: a broken document gave exit code $status and: $output"
fi

exit $((failures > 0))
