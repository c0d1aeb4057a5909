#!/usr/bin/env python3
"""Runs every example of docs/checks.md against every example machine and compares the verdicts
with the section's outcome table, so the reference of the checks cannot go stale.

Each section "### Name" holds one ```xml block with a <test> element and an outcome table whose
header row names the machines (examples/machines/*.json, by file name) and whose one row gives
"pass" or "fail" for each. All examples run in one document per machine, in document order: the
checks share nothing but the megabyte settings, and each megabyte check has one example.

Usage: tools/check-reference.py [--write] PROGRAM
  PROGRAM  the simulated program (build/sim/tarnwick)
  --write  rewrite the outcome tables from the runs instead of comparing
Exit code: 0 when every table agrees (or was written), 1 otherwise, 2 on a usage error.
"""

import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
REFERENCE = REPO / "docs" / "checks.md"
MACHINES = REPO / "examples" / "machines"
SECTION = re.compile(r"^### (\S+)\n(.*?)(?=^### |^## |\Z)", re.M | re.S)
EXAMPLE = re.compile(r"```xml\n(<test>.*?</test>)\n```", re.S)
TABLE = re.compile(r"^\| Machine \|.*\n\|[-| ]+\|\n\| Outcome \|.*\n", re.M)


def sections(text):
    """(name, example, section match) for every check section, in document order."""
    found = []
    for match in SECTION.finditer(text):
        example = EXAMPLE.search(match.group(2))
        if example is None:
            sys.exit(f"docs/checks.md: section {match.group(1)} has no ```xml example")
        found.append((match.group(1), example.group(1), match))
    return found


def verdicts_on(program, machine, examples):
    """The verdicts of the examples on one machine, in example order."""
    with tempfile.TemporaryDirectory() as folder:
        document = Path(folder) / "in.xml"
        document.write_text("<input_tests>\n" + "\n".join(examples) + "\n</input_tests>\n", encoding="utf-8")
        environment = dict(os.environ, TARNWICK_MACHINE=str(machine))
        run = subprocess.run([program, "-i", "in.xml", "-o", "out.xml"], cwd=folder, env=environment,
                             capture_output=True, check=False)
        results = Path(folder) / "out.xml"
        if run.returncode != 0 or not results.exists():
            sys.exit(f"{machine.name}: the run wrote no results (exit code {run.returncode})")
        tests = ElementTree.parse(results).getroot().findall("test")
        if len(tests) != len(examples):
            sys.exit(f"{machine.name}: {len(tests)} results for {len(examples)} examples")
        return ["pass" if test.findtext("passed") == "true" else "fail" for test in tests]


def table(machines, outcomes):
    """The outcome table of one section."""
    return ("| Machine | " + " | ".join(machines) + " |\n|" + "---|" * (len(machines) + 1) + "\n"
            "| Outcome | " + " | ".join(outcomes) + " |\n")


def main(arguments):
    write = "--write" in arguments
    arguments = [argument for argument in arguments if argument != "--write"]
    if len(arguments) != 1:
        print(__doc__)
        return 2
    program = str(Path(arguments[0]).resolve())
    text = REFERENCE.read_text(encoding="utf-8")
    found = sections(text)
    machines = sorted(MACHINES.glob("*.json"))
    names = [machine.stem for machine in machines]
    runs = {machine.stem: verdicts_on(program, machine, [example for _, example, _ in found])
            for machine in machines}
    failures = 0
    for index, (name, _, match) in enumerate(reversed(found)):
        position = len(found) - 1 - index
        expected = table(names, [runs[machine][position] for machine in names])
        body = match.group(2)
        current = TABLE.search(body)
        if write:
            body = body[:current.start()] + expected + body[current.end():] if current else body.rstrip("\n") + \
                "\n\nOutcome on the example machines:\n\n" + expected + "\n"
            text = text[:match.start(2)] + body + text[match.end(2):]
        elif current is None or current.group(0) != expected:
            print(f"FAIL: {name}: the outcome table differs from the runs; they give:\n{expected}")
            failures += 1
    if write:
        REFERENCE.write_text(text, encoding="utf-8")
        print(f"Wrote the outcome tables of {len(found)} checks on {len(names)} machines")
        return 0
    print(f"{len(found) - failures} of {len(found)} outcome tables agree with the runs on {len(names)} machines")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
