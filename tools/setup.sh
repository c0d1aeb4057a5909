#!/usr/bin/env bash
# Installs what building and testing Tarnwick needs on Debian 12: the Linux toolchain and
# libraries of the simulated build, mingw-w64 for Tarnwick.exe, and Wine to run it.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    libpugixml-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64
)
# --- sanitizers and fuzzing: clang with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer
packages+=(clang-14 libclang-rt-14-dev)
# --- end sanitizers and fuzzing

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all build and test packages are installed"
