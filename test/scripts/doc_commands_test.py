#!/usr/bin/env python3
"""Every Linux command that README.md and docs/*.md show for the programs of build/sim runs.

Usage: doc_commands_test.py REPO BUILD_FOLDER

- Each program named in a command (a sh code block, or inline code), and each build/sim/NAME
  shown anywhere (a program of build/sim by its path; build/sim/bench/..., the benchmarks that
  the full build makes for developers, is no such path), is one that the first command of the
  README builds: tools/run-example.sh lists it in its programs=(...) line.
- Each line of a sh code block that starts such a program (after any VAR=value) runs as it is
  written, in a scratch folder where the names the docs use stand for real things
  (my-changed-input.xml the example document, fleet-folder and collected example profiles and
  their results documents), and must exit with 0. A line that is a synopsis ([optional]
  parts, "...") runs the program's /? instead.
- Each program named in inline code answers /? and ends normally, having printed something
  (its usage, or what it always prints).
Prints one verdict line per command; exits 1 if any fails.
"""

import glob
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import verdicts  # noqa: E402 (after the lines above)
from verdicts import verdict  # noqa: E402


def built_programs(repo):
    with open(os.path.join(repo, "tools/run-example.sh"), encoding="utf-8") as script:
        match = re.search(r"^programs=\(([^)]*)\)", script.read(), re.MULTILINE)
    return match.group(1).split() if match else []


def documents(repo):
    return [os.path.join(repo, "README.md")] + sorted(glob.glob(os.path.join(repo, "docs", "*.md")))


def shown_commands(path, program_pattern):
    """(line number, command, from a code block) for every command of a program in the file."""
    found = []
    with open(path, encoding="utf-8") as document:
        lines = document.read().split("\n")
    fence = None
    pending = ""
    for number, line in enumerate(lines, 1):
        if line.startswith("```"):
            fence = None if fence is not None else line[3:].strip()
            continue
        if fence is not None:
            if fence != "sh":
                continue
            pending += line
            if pending.endswith("\\"):
                pending = pending[:-1]
                continue
            words = pending.split()
            while words and re.match(r"^[A-Z_]+=", words[0]):
                words.pop(0)
            if words and re.fullmatch(program_pattern, words[0]):
                found.append((number, pending.strip(), True))
            pending = ""
        else:
            for span in re.findall(r"`([^`]+)`", line):
                words = [word for word in span.split() if not re.match(r"^[A-Z_]+=", word)]
                if words and re.fullmatch(program_pattern, words[0]):
                    found.append((number, span, False))
    return found


def programs_by_path(path):
    """(line number, NAME) for every build/sim/NAME that the file shows, a file name excepted."""
    with open(path, encoding="utf-8") as document:
        return [(number, match) for number, line in enumerate(document.read().split("\n"), 1)
                for match in re.findall(r"build/sim/([a-z][a-z0-9-]*)(?![\w./-])", line)]


def program_of(word):
    return os.path.basename(word)


def prepare_scratch(repo, build, scratch):
    for name in ("examples", "test", "tools", "schemas"):
        os.symlink(os.path.join(repo, name), os.path.join(scratch, name))
    os.makedirs(os.path.join(scratch, "build"))
    os.symlink(build, os.path.join(scratch, "build", "sim"))
    example = os.path.join(repo, "examples", "input.xml")
    shutil.copy(example, os.path.join(scratch, "my-changed-input.xml"))
    for folder in ("fleet-folder", "collected"):
        os.makedirs(os.path.join(scratch, folder))
        for profile in glob.glob(os.path.join(repo, "examples/machines/*.json")):
            shutil.copy(profile, os.path.join(scratch, folder))
    # The results documents a share of collected PCs holds, one per example machine.
    for profile in glob.glob(os.path.join(scratch, "collected", "*.json")):
        results = profile[:-len(".json")] + ".xml"
        subprocess.run([os.path.join(build, "tarnwick"), "-i", example, "-o", results, "-f"], cwd=scratch,
                       env=dict(os.environ, TARNWICK_MACHINE=profile), capture_output=True, check=True)


def main():
    repo, build = (os.path.abspath(argument) for argument in sys.argv[1:3])
    programs = built_programs(repo)
    verdict(programs, f"tools/run-example.sh builds {programs}")
    pattern = r"(?:build/sim/)?(" + "|".join(re.escape(name) for name in programs) + r")"
    scratch = tempfile.mkdtemp(prefix="doc-commands.")
    try:
        prepare_scratch(repo, build, scratch)
        asked_for_usage, asked_for_path = set(), set()
        for path in documents(repo):
            where_file = os.path.relpath(path, repo)
            for number, command, in_block in shown_commands(path, pattern):
                where = f"{where_file}:{number}"
                words = command.split()
                while re.match(r"^[A-Z_]+=", words[0]):
                    words.pop(0)
                program = program_of(words[0])
                if in_block and "[" not in command and "..." not in command:
                    run = subprocess.run(["bash", "-c", command], cwd=scratch, capture_output=True, text=True,
                                         timeout=600)
                    verdict(run.returncode == 0, f"{where}: {command} (exit code {run.returncode})"
                            + ("" if run.returncode == 0 else f"; it said: {(run.stdout + run.stderr)[-600:]}"))
                elif program not in asked_for_usage:
                    asked_for_usage.add(program)
                    run = subprocess.run([os.path.join(build, program), "/?"], cwd=scratch, capture_output=True,
                                         text=True, timeout=60)
                    printed = run.stdout + run.stderr
                    verdict(0 <= run.returncode < 128 and printed.strip(),
                            f"{where}: {program} /? ends normally (exit code {run.returncode}) and prints "
                            f"{printed.strip().splitlines()[0][:80] if printed.strip() else 'nothing'!r} "
                            f"(shown as `{command}`)")
            for number, program in programs_by_path(path):
                if program in asked_for_path:
                    continue
                asked_for_path.add(program)
                verdict(program in programs, f"{where_file}:{number}: build/sim/{program} is one that "
                        f"tools/run-example.sh builds")
        # Nothing shown that the first command does not build: each program's file is there.
        for program in programs:
            verdict(os.access(os.path.join(build, program), os.X_OK), f"{program} is built in {build}")
    finally:
        shutil.rmtree(scratch)
    sys.exit(1 if verdicts.failures else 0)


if __name__ == "__main__":
    main()
