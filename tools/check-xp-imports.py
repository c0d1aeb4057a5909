#!/usr/bin/env python3
"""Checks that a 32-bit Tarnwick.exe can start on Windows XP SP3.

The loader of Windows XP refuses a program that imports a function its DLLs do not export, or
whose PE header asks for a later subsystem version. This lists the imports of the program (with
the mingw-w64 objdump) and fails on any function named in the data files of tools/xp-imports
(functions that Windows XP SP3 lacks, with their sources), on any DLL those files do not cover,
on a subsystem or OS version above 5.1, and on an import of a function that the program looks up
by name so that it starts on Windows 2000 too (LOOKED_UP_BY_NAME). Prints one verdict line per check; exits 1 if any
check fails, 2 on a usage error.

Usage: tools/check-xp-imports.py [EXE]   (default build/win32/Tarnwick.exe)
"""

import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # no cache files in the source tree
import verdicts  # noqa: E402 (after the line above)
from verdicts import verdict  # noqa: E402

REPO = Path(__file__).resolve().parent.parent
DATA = REPO / "tools" / "xp-imports"
OBJDUMP = "i686-w64-mingw32-objdump"
WINDOWS_XP = (5, 1)
# Functions that Windows XP has but Windows 2000 lacks, which the program looks up by name at run
# time so that it starts there too: importing one would undo that without any data file noticing.
LOOKED_UP_BY_NAME = {
    ("kernel32.dll", "GetNativeSystemInfo"),
    ("kernel32.dll", "AddVectoredExceptionHandler"),
    ("kernel32.dll", "RemoveVectoredExceptionHandler"),
    ("advapi32.dll", "CreateWellKnownSid"),
}


def read_data():
    """The functions XP lacks, as {dll: {function: data file}}, and the DLLs the data covers."""
    lacking, covered = {}, set()
    for path in sorted(DATA.glob("*.txt")):
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            fields = line.split()
            if not fields or fields[0].startswith("#"):
                continue
            if fields[0] == "covers" and len(fields) >= 2:
                covered.add(fields[1].lower())
            elif len(fields) == 2:
                lacking.setdefault(fields[0].lower(), {})[fields[1]] = path.name
            else:
                raise SystemExit(f"{path}:{number}: expected \"DLL FUNCTION\" or \"covers DLL ...\"")
    return lacking, covered


def read_program(exe):
    """The PE header fields and the imports, as [(dll, function)], that objdump reports."""
    dump = subprocess.run([OBJDUMP, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    header, imports, dll = {}, [], None
    in_imports = False
    for line in dump.splitlines():
        fields = line.split()
        if len(fields) == 2 and fields[0] in ("MajorSubsystemVersion", "MinorSubsystemVersion",
                                              "MajorOSystemVersion", "MinorOSystemVersion"):
            header[fields[0]] = int(fields[1])
        elif "file format" in line:
            header["format"] = fields[-1]
        elif line.startswith("The Import Tables"):
            in_imports = True
        elif in_imports and line[:1].strip():
            in_imports = False  # the next table of the dump
        elif in_imports and line.strip().startswith("DLL Name:"):
            dll = fields[-1].lower()
        elif in_imports and dll and line.startswith("\t") and len(fields) >= 3 and fields[1].isdigit():
            # "<none>" stands where a function imported by ordinal has no name.
            imports.append((dll, "#" + fields[1] if fields[2] == "<none>" else fields[2]))
    return header, imports


def main():
    if len(sys.argv) > 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    exe = Path(sys.argv[1] if len(sys.argv) == 2 else REPO / "build" / "win32" / "Tarnwick.exe")
    if not exe.is_file():
        verdict(False, f"program {exe} exists")
        return 1
    lacking, covered = read_data()
    header, imports = read_program(exe)
    print(f"INFO: {exe}: {len(imports)} imported functions from "
          f"{len({dll for dll, _ in imports})} DLLs; data: {sum(map(len, lacking.values()))} functions "
          f"that Windows XP SP3 lacks, over {len(covered)} DLLs")

    verdict(header.get("format") == "pei-i386", f"program is a 32-bit x86 executable ({header.get('format')})")
    for kind in ("Subsystem", "OSystem"):
        version = (header.get(f"Major{kind}Version", 99), header.get(f"Minor{kind}Version", 99))
        verdict(version <= WINDOWS_XP, f"PE {kind.replace('OSystem', 'OS')} version {version[0]}.{version[1]} "
                f"is at most {WINDOWS_XP[0]}.{WINDOWS_XP[1]} (Windows XP)")
    verdict(bool(imports), "the import table was read")

    uncovered = sorted({dll for dll, _ in imports} - covered)
    verdict(not uncovered, "every imported DLL is covered by the data of tools/xp-imports"
            + (f"; not covered: {', '.join(uncovered)} (add its export definition file to tools/refresh-xp-imports.py)"
               if uncovered else ""))
    by_ordinal = [f"{dll} {name}" for dll, name in imports if name.startswith("#")]
    verdict(not by_ordinal, "every import is by name" + (f"; by ordinal: {by_ordinal}" if by_ordinal else ""))
    later = [f"{dll} {name} ({lacking[dll][name]})" for dll, name in imports if name in lacking.get(dll, {})]
    verdict(not later, "no imported function is one that Windows XP SP3 lacks"
            + ("; imported: " + ", ".join(later) if later else ""))
    looked_up = sorted(f"{dll} {name}" for dll, name in imports if (dll, name) in LOOKED_UP_BY_NAME)
    verdict(not looked_up, "no function that the program looks up by name at run time is imported"
            + ("; imported: " + ", ".join(looked_up) if looked_up else ""))

    print("check-xp-imports: all checks passed" if verdicts.failures == 0
          else f"check-xp-imports: {verdicts.failures} check(s) failed")
    return verdicts.exit_code()


if __name__ == "__main__":
    sys.exit(main())
