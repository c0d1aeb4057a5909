#!/usr/bin/env python3
"""The reference of the checks as the release archive carries it, in a real browser: the page that
packaging/checks-page.py makes of docs/checks.md, loaded by headless Chromium, must show every
heading of the document, every table as a table with the document's header cells, every code
block, and no Markdown left unconverted. A screenshot is kept beside the build.

usage: checks_page_test.py REPO OUTPUT_FOLDER
"""
import html.parser
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class RenderedPage(html.parser.HTMLParser):
    """Headings, tables (their header cells), code blocks, scripts and the text of the rendered page."""

    def __init__(self):
        super().__init__()
        self.headings, self.table_headers, self.code_blocks, self.scripts, self.text = [], [], 0, 0, []
        self._heading = None
        self._header_cells = None
        self._in_th = False

    def handle_starttag(self, tag, attrs):
        if re.fullmatch(r"h[1-6]", tag):
            self._heading = []
        elif tag == "thead":
            self._header_cells = []
        elif tag == "th" and self._header_cells is not None:
            self._header_cells.append("")
            self._in_th = True
        elif tag == "pre":
            self.code_blocks += 1
        elif tag == "script":
            self.scripts += 1

    def handle_endtag(self, tag):
        if re.fullmatch(r"h[1-6]", tag) and self._heading is not None:
            self.headings.append("".join(self._heading).strip())
            self._heading = None
        elif tag == "th":
            self._in_th = False
        elif tag == "thead":
            self.table_headers.append(self._header_cells)
            self._header_cells = None

    def handle_data(self, data):
        self.text.append(data)
        if self._heading is not None:
            self._heading.append(data)
        if self._in_th:
            self._header_cells[-1] += data


def expect(condition, message):
    if not condition:
        sys.exit(f"FAIL: {message}")


def chromium(*arguments):
    with tempfile.TemporaryDirectory() as profile:
        return subprocess.run(["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={profile}", *arguments],
                              check=True, capture_output=True, text=True, timeout=120).stdout


def plain(markdown_text):
    """A heading or cell of the document as the page shows it: without code marks and emphasis."""
    return re.sub(r"[`*]", "", markdown_text).strip()


def main():
    repo, output = (pathlib.Path(argument).resolve() for argument in sys.argv[1:3])
    expect(shutil.which("chromium") is not None, "chromium is not installed (tools/setup.sh installs it)")
    source = (repo / "docs" / "checks.md").read_text(encoding="utf-8")
    lines = source.split("\n")
    headings = [plain(re.sub(r"^#+ ", "", line)) for line in lines if re.match(r"^#{1,6} ", line)]
    table_headers = [[plain(cell) for cell in line.strip().strip("|").split("|")]
                     for before, line, after in zip([""] + lines, lines, lines[1:] + [""])
                     if line.startswith("|") and not before.startswith("|") and re.match(r"^\|[-| :]+\|$", after)]
    code_blocks = sum(1 for line in lines if line.startswith("```")) // 2

    with tempfile.TemporaryDirectory() as folder:
        page = pathlib.Path(folder) / "checks.html"
        made = subprocess.run(["/usr/bin/python3", str(repo / "packaging" / "checks-page.py"), str(repo / "docs" / "checks.md"),
                               str(page), "9.9.9"], capture_output=True, text=True, timeout=120)
        expect(made.returncode == 0, f"checks-page.py ended with {made.returncode}: {made.stderr}")
        parsed = RenderedPage()
        parsed.feed(chromium("--dump-dom", page.as_uri()))
        screenshot = output / "checks-page.png"
        chromium("--hide-scrollbars", f"--screenshot={screenshot}", "--window-size=1200,900", page.as_uri())

    expect(parsed.headings == headings, f"the page's headings differ from the document's: {parsed.headings[:5]} ...")
    expect(len(parsed.table_headers) == len(table_headers) and
           all([cell.strip() for cell in shown] == wanted for shown, wanted in zip(parsed.table_headers, table_headers)),
           f"the page shows {len(parsed.table_headers)} tables, the document has {len(table_headers)}, "
           f"or their header cells differ")
    expect(parsed.code_blocks == code_blocks, f"the page shows {parsed.code_blocks} code blocks, not {code_blocks}")
    expect(parsed.scripts == 0, "the page has a script")
    text = "".join(parsed.text)
    expect("|---" not in text and "```" not in text and "**" not in text, "Markdown left unconverted on the page")
    expect(screenshot.stat().st_size > 0, "no screenshot")
    print(f"PASS: the checks' reference shows {len(headings)} headings, {len(table_headers)} tables and "
          f"{code_blocks} code blocks in Chromium; screenshot {screenshot}")


if __name__ == "__main__":
    main()
