"""PASS/FAIL verdict lines of the project's check scripts (the import test and the Python parts
of the Wine checks), counted, so each script ends with the exit code its verdicts call for."""

import sys

failures = 0


def verdict(ok, text):
    """Prints one verdict line and counts a failure."""
    global failures
    print(("PASS: " if ok else "FAIL: ") + text)
    if not ok:
        failures += 1


def exit_code():
    """1 if any verdict failed, else 0."""
    return 1 if failures else 0


def finish():
    sys.exit(exit_code())
