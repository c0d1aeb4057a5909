#!/usr/bin/env bash
# Installs what building and testing Tarnwick needs on Debian 12: the Linux toolchain and
# libraries of the simulated build, mingw-w64 (win32 thread model) for Tarnwick.exe, and Wine to
# run it, 32-bit (wine32, from the i386 architecture) beside 64-bit. Quiet, and a no-op when all
# is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    libpugixml-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine64 wine32:i386
)
# --- sanitizers and fuzzing: clang with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer
packages+=(clang-14 libclang-rt-14-dev)
# --- end sanitizers and fuzzing
# --- the report page's test in a real browser (headless)
packages+=(chromium)
# --- end report page
# --- schemas: xmllint, with which the tests check documents against schemas/*.xsd
packages+=(libxml2-utils)
# --- end schemas
# --- the release archive: the checks' reference as an HTML page (python3-markdown, tools/package.sh)
packages+=(python3-markdown)
# --- end release archive
# --- the layout check of the C++ files (.clang-format)
packages+=(clang-format)
# --- end layout check

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# wine32 comes from the i386 architecture, which a fresh Debian 12 does not list yet; the package
# lists must then be read again before anything of it can be found.
update_needed=no
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    update_needed=yes
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ] || [ "$update_needed" = yes ]; then
    as_root apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all build and test packages are installed"
