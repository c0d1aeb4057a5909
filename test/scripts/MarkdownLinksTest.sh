#!/usr/bin/env bash
# The Markdown link check: the project's own files have no broken relative link, and on a small
# tree of its own it finds a missing file and a missing heading, and passes links that resolve,
# links to other sites and links inside code.
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
check=$repo/tools/check-markdown-links.py
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

PYTHONDONTWRITEBYTECODE=1 python3 -m doctest "$check" && pass "heading anchors are formed as GitHub forms them" ||
    fail "heading anchors (doctest)"
if output=$(python3 "$check" "$repo"); then pass "no broken link in the project's Markdown files"; else fail "broken links: $output"; fi

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
git -C "$tree" init -q
mkdir -p "$tree/docs"
cat > "$tree/README.md" <<'MD'
# Top
[good](docs/guide.md#crash-safe-update) [site](https://example.org/x) `[code](nowhere.md)`
[gone](docs/missing.md)
```
[fenced](nowhere.md)
```
[bad anchor](docs/guide.md#no-such-heading) [self](#top)
MD
printf '# Guide\n## Crash-safe update\n[back](../README.md)\n' > "$tree/docs/guide.md"
output=$(python3 "$check" "$tree")
status=$?
expected="README.md:3: docs/missing.md: no such file or folder
README.md:7: docs/guide.md#no-such-heading: no heading with the anchor #no-such-heading
markdown links: 2 broken"
if [ "$status" -eq 1 ] && [ "$output" = "$expected" ]; then
    pass "a missing file and a missing heading are found, and nothing else"
else
    fail "on the small tree (exit $status): $output"
fi
[ "$failures" -eq 0 ] && echo "Markdown links: all checks passed" || { echo "Markdown links: $failures check(s) failed"; exit 1; }
