#!/usr/bin/env python3
"""Writes tools/xp-imports/later-than-xp.txt from the export definitions of the ReactOS project.

ReactOS describes every system DLL it implements in an export definition file, one export a line, and marks
the exports of later Windows versions with a version range: "-version=0x600+" is Windows Vista
and later, "-version=0x501-0x502" Windows XP and Server 2003. An export whose every entry leaves
out 0x501 (Windows XP), or that the file notes as "missing in XP SP3", is one that Windows XP
SP3 lacks. tools/check-xp-imports.py reads the result.

Usage: tools/refresh-xp-imports.py REACTOS_CHECKOUT > tools/xp-imports/later-than-xp.txt
  (a clone of https://github.com/reactos/reactos; add a line to EXPORT_FILES for a DLL that
  the program starts to import)
"""

import re
import subprocess
import sys
from pathlib import Path

# Every DLL that Tarnwick.exe imports, or that a check will import, with its ReactOS export definition file.
EXPORT_FILES = {
    "advapi32.dll": "dll/win32/advapi32/advapi32.spec",
    "kernel32.dll": "dll/win32/kernel32/kernel32.spec",
    "msvcrt.dll": "dll/win32/msvcrt/msvcrt.spec",
    "ole32.dll": "dll/win32/ole32/ole32.spec",
    "oleaut32.dll": "dll/win32/oleaut32/oleaut32.spec",
    "setupapi.dll": "dll/win32/setupapi/setupapi.spec",
    "shell32.dll": "dll/win32/shell32/shell32.spec",
    "user32.dll": "win32ss/user/user32/user32.spec",
    "version.dll": "dll/win32/version/version.spec",
}

XP = 0x501
# "@ stdcall -flags Name(args) target", "12 stub -flags Name" and the like.
ENTRY = re.compile(r"^\s*(?:@|\d+)\s+\w+((?:\s+-\S+)*)\s+([^\s(]+)")


def includes_xp(flags):
    match = re.search(r"-version=(0x[0-9a-fA-F]+)(\+|-(0x[0-9a-fA-F]+))?", flags)
    if not match:
        return True
    low = int(match.group(1), 16)
    if match.group(2) == "+":
        return low <= XP
    high = int(match.group(3), 16) if match.group(3) else low
    return low <= XP <= high


def lacking(exports_text):
    """The named exports of an export definition file that no entry gives to Windows XP.

    >>> lacking("@ stdcall -version=0x600+ -ret64 GetTickCount64()\\n"
    ...         "@ stdcall GetTickCount()\\n"
    ...         "@ stdcall -version=0x501-0x502 Twice()\\n"
    ...         "@ stdcall -version=0x600+ Twice()\\n"
    ...         "@ stdcall -version=0x500-0x501 UpToXp()\\n"
    ...         "@ stdcall -version=0x351-0x500 UpTo2000()\\n"
    ...         "@ stdcall Noted(ptr) ; missing in XP SP3\\n"
    ...         "12 stdcall -noname Unnamed(ptr)\\n"
    ...         "13 stub -version=0x602+ Stub")
    ['GetTickCount64', 'Noted', 'Stub', 'UpTo2000']
    """
    present, absent = set(), set()
    for line in exports_text.splitlines():
        match = ENTRY.match(line)
        if not match or "-noname" in match.group(1):
            continue
        flags, name = match.group(1), match.group(2)
        if includes_xp(flags) and "missing in XP SP3" not in line:
            present.add(name)
        else:
            absent.add(name)
    return sorted(absent - present)


def commit_of(root, path):
    try:
        return subprocess.run(["git", "-C", str(root), "log", "-1", "--format=%H", "--", path],
                              capture_output=True, text=True, check=True).stdout.strip() or "unknown"
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def main():
    if len(sys.argv) != 2:
        print(next(line for line in __doc__.splitlines() if line.startswith("Usage:")), file=sys.stderr)
        return 2
    root = Path(sys.argv[1])
    missing = [str(root / path) for path in EXPORT_FILES.values() if not (root / path).is_file()]
    if missing:
        print(f"refresh-xp-imports: no such file: {', '.join(missing)}", file=sys.stderr)
        return 1
    print("# Exports that 32-bit Windows XP SP3 lacks, as the ReactOS project's export definitions")
    print("# (https://github.com/reactos/reactos) mark them: every export whose version range leaves")
    print("# out 0x501 (\"-version=0x600+\" and the like) or that is noted \"missing in XP SP3\".")
    print("# Written by tools/refresh-xp-imports.py; do not edit by hand.")
    print("# \"covers DLL FILE COMMIT\" names the file and commit each DLL's list comes from.")
    for dll, path in EXPORT_FILES.items():
        exports = root / path
        print(f"covers {dll} {path} {commit_of(root, path)}")
        for name in lacking(exports.read_text(encoding="utf-8", errors="replace")):
            print(f"{dll} {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
