#!/usr/bin/env python3
"""Checks that every relative link in the project's Markdown files resolves: the file or folder
it names exists, and a #fragment names a heading of that file (as GitHub forms heading anchors).
Links to other sites are not followed. Prints each broken link with its file and line; exits 1 if
any, 0 otherwise.

Usage: tools/check-markdown-links.py [ROOT]   (default: the repository holding this script)

>>> anchor("Crash-safe update")
'crash-safe-update'
>>> anchor("Machine profiles (simulated build)")
'machine-profiles-simulated-build'
>>> anchor("The `sanitize` preset: 2 × faster")
'the-sanitize-preset-2--faster'
"""
import re
import subprocess
import sys
from pathlib import Path

LINK = re.compile(r"\[[^\]]*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^\s*(```|~~~)")


def anchor(heading):
    """GitHub's anchor of a heading: lower case, punctuation dropped, spaces turned to hyphens."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def prose_lines(path):
    """The lines of a Markdown file with their numbers, fenced code blocks left out."""
    in_fence = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if FENCE.match(line):
            in_fence = not in_fence
        elif not in_fence:
            yield number, line


def anchors_of(path):
    found = set()
    for _, line in prose_lines(path):
        heading = re.match(r"^#{1,6}\s+(.*)$", line)
        if heading:
            found.add(anchor(heading.group(1)))
    return found


def broken_links(root):
    tracked = subprocess.run(["git", "-C", str(root), "ls-files", "--cached", "--others", "--exclude-standard", "*.md"],
                             capture_output=True, text=True, check=True).stdout.split()
    for name in tracked:
        source = root / name
        if not source.is_file():
            continue
        for number, line in prose_lines(source):
            for target in LINK.findall(re.sub(r"`[^`]*`", "", line)):
                if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                    continue
                path_part, _, fragment = target.partition("#")
                resolved = (source.parent / path_part).resolve() if path_part else source
                if not resolved.exists():
                    yield f"{name}:{number}: {target}: no such file or folder"
                elif fragment and resolved.is_file() and resolved.suffix == ".md" and fragment not in anchors_of(resolved):
                    yield f"{name}:{number}: {target}: no heading with the anchor #{fragment}"


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent).resolve()
    broken = list(broken_links(root))
    for line in broken:
        print(line)
    print(f"markdown links: {len(broken)} broken")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
