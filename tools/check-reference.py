#!/usr/bin/env python3
"""Writes or tests the check sections of docs/checks.md.

The file has two parts. Everything up to the MARKER line is written by hand and kept as it is.
Everything after it is generated: the check sections come from the check catalogue
(src/framework/CheckCatalogue.cpp, written out by the program tarnwick-reference), each with its
example <test> element (kept from the committed file: the ```xml block of the check's section) and
the outcome of that example on every example machine (examples/machines/*.json), found by running
all examples in one document per machine, in document order: the checks share nothing but the
megabyte settings, and each megabyte check has one example.

Usage: tools/check-reference.py [--write] [BUILD]
  BUILD    the sim build folder holding tarnwick and tarnwick-reference (default build/sim)
  --write  write docs/checks.md anew instead of comparing
Exit code: 0 when the committed file is what would be written (or was written), 1 when it
differs, 2 on a usage error or a reference that cannot be read.
"""

import difflib
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
RENEW = "tools/check-reference.py --write build/sim"
MARKER = ("<!-- Everything below is written by tools/check-reference.py --write from the check catalogue "
          "(src/framework/CheckCatalogue.cpp) and the runs on examples/machines; only the examples are "
          "kept from here. -->\n")
SECTION = re.compile(r"^### (\S+)\n(.*?)(?=^### |^## |\Z)", re.M | re.S)
EXAMPLE = re.compile(r"```xml\n(<test>.*?</test>)\n```", re.S)
PLACEHOLDER = re.compile(r"^<!-- example of (\S+) -->\n", re.M)


def fail(message):
    print(f"docs/checks.md: {message}", file=sys.stderr)
    sys.exit(2)


def examples_of(generated_part):
    """The example of every check section of the committed generated part, by input name."""
    examples = {}
    for match in SECTION.finditer(generated_part):
        example = EXAMPLE.search(match.group(2))
        if example is not None:
            examples[match.group(1)] = example.group(1)
    return examples


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


def renewed(build, committed):
    """The whole reference as it would be written now."""
    if MARKER not in committed:
        fail(f"the line that ends the hand-written part is missing; it reads:\n{MARKER}")
    head, generated_part = committed.split(MARKER, 1)
    examples = examples_of(generated_part)
    sections = subprocess.run([str(build / "tarnwick-reference")], capture_output=True, check=True,
                              text=True, encoding="utf-8").stdout
    names = PLACEHOLDER.findall(sections)
    missing = [name for name in names if name not in examples]
    if missing:
        fail("no ```xml example for " + ", ".join(missing) + ": write one under the check's heading "
             "below the generated-part line, then run " + RENEW)
    machines = sorted(MACHINES.glob("*.json"))
    machine_names = [machine.stem for machine in machines]
    runs = {machine.stem: verdicts_on(str(build / "tarnwick"), machine, [examples[name] for name in names])
            for machine in machines}
    position = {name: index for index, name in enumerate(names)}

    def filled(match):
        name = match.group(1)
        outcomes = [runs[machine][position[name]] for machine in machine_names]
        return ("Example:\n\n```xml\n" + examples[name] + "\n```\n\nOutcome on the example machines:\n\n" +
                table(machine_names, outcomes))

    return head + MARKER + "\n" + PLACEHOLDER.sub(filled, sections)


def main(arguments):
    write = "--write" in arguments
    arguments = [argument for argument in arguments if argument != "--write"]
    if len(arguments) > 1 or any(argument.startswith("-") for argument in arguments):
        print(__doc__)
        return 2
    build = Path(arguments[0] if arguments else REPO / "build" / "sim").resolve()
    committed = REFERENCE.read_text(encoding="utf-8")
    text = renewed(build, committed)
    if write:
        REFERENCE.write_text(text, encoding="utf-8")
        print(f"Wrote docs/checks.md from the check catalogue and the runs on {len(list(MACHINES.glob('*.json')))} "
              "example machines")
        return 0
    if text == committed:
        print("docs/checks.md is what the check catalogue and the example machines give")
        return 0
    difference = list(difflib.unified_diff(committed.splitlines(), text.splitlines(), "docs/checks.md (committed)",
                                           "docs/checks.md (as it would be written)", lineterm="", n=1))
    print("\n".join(difference[:80]))
    if len(difference) > 80:
        print(f"... and {len(difference) - 80} more lines of difference")
    print(f"FAIL: docs/checks.md differs from what the check catalogue and the example machines give.\n"
          f"Renew it from the repository's top folder with: {RENEW}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
