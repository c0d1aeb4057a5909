#!/usr/bin/env bash
# Writes the release archive for Windows administrators, build/dist/Tarnwick-VERSION-win32.zip:
# the three 32-bit programs, the installers' decision script (TarnwickGate.cmd and .js), the two
# schemas, examples/input.xml, a plain-text read-me, the reference of the checks as one HTML page,
# and SHA256SUMS. VERSION is the programs' version resource (FileVersion and ProductVersion, from
# the project's version in CMakeLists.txt); the three must agree.
#
# Usage: tools/package.sh [BUILD_FOLDER [DIST_FOLDER]]
#   BUILD_FOLDER  a win32 build, built here first (default build/win32, configured from the win32
#                 preset when it is not yet)
#   DIST_FOLDER   where the archive goes (default build/dist)
#
# The archive is reproducible: the same commit gives the same bytes. Its entries come in a fixed
# order, each dated at the commit's time, with no owner or Unix permissions; the programs' PE
# headers carry no link time (src/CMakeLists.txt). tools/test.sh builds a second time in
# another folder and compares. Text files go in with CR LF line ends, for Notepad and cmd.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

build=${1:-build/win32}
dist=${2:-build/dist}
if [ $# -gt 2 ]; then
    echo "usage: $0 [BUILD_FOLDER [DIST_FOLDER]]" >&2
    exit 2
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset win32 -B "$build" >/dev/null
fi
cmake --build "$build" >/dev/null

# Debian's own Python, which has python3-markdown (tools/setup.sh); another Python on the PATH
# may not, and one zlib gives one set of bytes.
python=/usr/bin/python3
programs=(Tarnwick.exe TarnwickLint.exe TarnwickCapture.exe)

version=$("$python" - "${programs[@]/#/$build/}" <<'PY'
import re
import sys


def version_of(path):
    """The FileVersion and ProductVersion texts of the version resource of the PE file at path."""
    with open(path, "rb") as program:
        data = program.read()
    start = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    if start < 0:
        sys.exit(f"package: {path} has no version resource")
    block = data[start:start + 2048].decode("utf-16-le", errors="replace")
    found = {key: re.search(key + r"\x00+([0-9.]+)\x00", block) for key in ("FileVersion", "ProductVersion")}
    if not all(found.values()):
        sys.exit(f"package: {path}: the version resource has no FileVersion or ProductVersion text")
    return {match.group(1) for match in found.values()}


versions = {path: version_of(path) for path in sys.argv[1:]}
if len(set.union(*versions.values())) != 1:
    sys.exit(f"package: the programs' versions differ: {versions}")
print(next(iter(versions[sys.argv[1]])))
PY
)
name=Tarnwick-$version-win32
stage=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
folder=$stage/$name
mkdir -p "$folder/examples" "$folder/schemas" "$folder/docs"

for program in "${programs[@]}"; do
    cp "$build/$program" "$folder/$program"
done
cp schemas/input.xsd schemas/results.xsd "$folder/schemas/"
cp examples/input.xml "$folder/examples/"
# LF to CR LF; a file that has CR LF already is left as it is.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" > "$2"; }
crlf packaging/TarnwickGate.cmd "$folder/TarnwickGate.cmd"
crlf packaging/TarnwickGate.js "$folder/TarnwickGate.js"
sed "s/@VERSION@/$version/" packaging/README.txt > "$stage/README.txt"
crlf "$stage/README.txt" "$folder/README.txt"
"$python" packaging/checks-page.py docs/checks.md "$folder/docs/checks.html" "$version"
# Written beside the folder first, so that the list never holds itself.
(cd "$folder" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum > "$stage/SHA256SUMS")
mv "$stage/SHA256SUMS" "$folder/SHA256SUMS"

commit_time=$(git log -1 --format=%ct 2>/dev/null || true)
commit_time=${commit_time:-${SOURCE_DATE_EPOCH:?package: neither a git commit nor SOURCE_DATE_EPOCH gives the date of the files}}
mkdir -p "$dist"
archive=$dist/$name.zip
"$python" - "$stage" "$name" "$archive" "$commit_time" <<'PY'
import os
import sys
import time
import zipfile

stage, name, archive, commit_time = sys.argv[1:]
# The zip format keeps local time of day in two-second steps from 1980 on.
stamp = max(time.gmtime(int(commit_time))[:6], (1980, 1, 1, 0, 0, 0))
entries = []
for folder, folders, files in os.walk(os.path.join(stage, name)):
    relative = os.path.relpath(folder, stage).replace(os.sep, "/")
    entries.append(relative + "/")
    entries += [relative + "/" + file for file in files]
with zipfile.ZipFile(archive + ".part", "w") as bundle:
    for entry in sorted(entries):
        info = zipfile.ZipInfo(entry, date_time=stamp)
        info.create_system = 0  # MS-DOS attributes: no owner or Unix permissions
        if entry.endswith("/"):
            info.external_attr = 0x10  # a folder
            bundle.writestr(info, b"")
        else:
            info.external_attr = 0x20  # a file (archive bit)
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(stage, entry), "rb") as source:
                bundle.writestr(info, source.read(), compresslevel=9)
os.replace(archive + ".part", archive)
PY
echo "package: $archive ($(stat -c %s "$archive") bytes, SHA-256 $(sha256sum "$archive" | cut -d' ' -f1))"
