#!/usr/bin/env bash
# TarnwickLint.exe under Wine, reading documents through Wine's MSXML as administrators' Windows
# does: the example input document is clean (exit code 0, no output), a misspelt last name is an
# error at its test with the nearest name and the last-name trap (exit code 2), and a document that
# is not well-formed is an error with the parser's own reason (exit code 2).
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
