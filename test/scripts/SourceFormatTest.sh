#!/usr/bin/env bash
# The layout check: every C++ file of the project follows .clang-format, and the check itself
# finds a file that does not (so a broken check cannot pass the tree).
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$repo" || exit 1
command -v clang-format >/dev/null || { echo "FAIL: clang-format is missing (tools/setup.sh installs it)"; exit 1; }

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "FAIL: the files above do not follow .clang-format; renew them with: clang-format -i \$(git ls-files '*.cpp' '*.h')"
    exit 1
fi
echo "PASS: ${#files[@]} C++ files follow .clang-format"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp .clang-format "$scratch/"
printf 'int Sum(int a,int b){return a+b;}\n' > "$scratch/Misshapen.cpp"
if clang-format --dry-run --Werror "$scratch/Misshapen.cpp" 2>/dev/null; then
    echo "FAIL: a misshapen file passed the layout check"
    exit 1
fi
echo "PASS: a misshapen file is found"
