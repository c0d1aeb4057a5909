#!/usr/bin/python3
"""Writes the reference of the checks (docs/checks.md) as one HTML page that any browser of
Windows opens without tools: no script, no other file, the style in the page.

Usage: packaging/checks-page.py CHECKS_MD PAGE_HTML VERSION

It runs under Debian's own Python (/usr/bin/python3), which has the Markdown library of the
package python3-markdown (tools/setup.sh installs it). The page holds no date, so the same
document gives the same bytes. A link to another Markdown file would lead nowhere outside the
sources, so the page refuses to be written with one.
"""

import html
import re
import sys

import markdown

STYLE = """body { font-family: Segoe UI, Tahoma, Arial, sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.4; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #999; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
code, pre { font-family: Consolas, Courier New, monospace; background: #f3f3f3; }
pre { padding: 0.5em; overflow: auto; }"""


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: packaging/checks-page.py CHECKS_MD PAGE_HTML VERSION")
    source, target, version = sys.argv[1:]
    with open(source, encoding="utf-8") as document:
        text = document.read()
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "toc"], output_format="html")
    for line_number, line in enumerate(text.splitlines(), 1):
        if re.search(r"\]\([^)#]*\.md\b", line):
            sys.exit(f"{source}:{line_number}: a link to another Markdown file, which the page cannot carry")
    title = re.search(r"<h1[^>]*>(.*?)</h1>", body)
    title_text = re.sub(r"<[^>]+>", "", title.group(1)) if title else "The checks"
    page = (
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        f"<title>Tarnwick {html.escape(version)}: {title_text}</title>\n"
        f"<style>\n{STYLE}\n</style>\n</head>\n<body>\n{body}\n</body>\n</html>\n"
    )
    with open(target, "w", encoding="utf-8", newline="\r\n") as out:
        out.write(page)


if __name__ == "__main__":
    main()
