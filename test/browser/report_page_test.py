#!/usr/bin/env python3
"""The report page in a real browser: headless Chromium loads the page that tarnwick-fleet builds
from the example machines (with a changed input document), runs the page's own script under the
page's Content-Security-Policy, and the rendered page must show every machine, every check, the
counts of passes and failures and the changed verdicts. A second page, from a machine whose texts
hold markup and script, must show them as text. A screenshot is kept beside the build.

usage: report_page_test.py TARNWICK_FLEET EXAMPLES_FOLDER OUTPUT_FOLDER
"""
import html.parser
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]
HOSTILE_NAME = "<img src=x onerror=alert(3)>.json"
HOSTILE_BIOS = "</script><script>document.title='owned'</script>"


class RenderedPage(html.parser.HTMLParser):
    """The parts of the rendered page that the test reads: header and row cells, buttons, counts."""

    def __init__(self):
        super().__init__()
        self.checks, self.machines, self.changed, self.counts = [], [], [], {"count-pass": [], "count-fail": []}
        self.elements, self.summary, self.title, self.details = [], "", "", ""
        self._open = []

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        self.elements.append(tag)
        self._open.append((tag, attributes, []))

    def handle_endtag(self, tag):
        while self._open:
            name, attributes, text = self._open.pop()
            content = "".join(text)
            if self._open:
                self._open[-1][2].append(content)
            if name == tag:
                self._record(name, attributes, content)
                return

    def handle_data(self, data):
        if self._open:
            self._open[-1][2].append(data)

    def _record(self, tag, attributes, text):
        classes = attributes.get("class", "").split()
        if tag == "th" and "check" in classes:
            self.checks.append(text)
        elif tag == "th" and "machine" in classes and text != "Machine":
            self.machines.append(text)
        elif tag == "button" and "changed" in classes:
            self.changed.append((text, attributes.get("title")))
        elif tag == "td" and classes and classes[0] in self.counts:
            self.counts[classes[0]].append(int(text))
        elif tag == "p" and attributes.get("id") == "summary":
            self.summary = text
        elif tag == "title":
            self.title = text
        elif tag == "aside" and attributes.get("id") == "details":
            self.details = text


def chromium(*arguments):
    with tempfile.TemporaryDirectory() as profile:
        return subprocess.run(["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={profile}", *arguments],
                              check=True, capture_output=True, text=True, timeout=120).stdout


def rendered(page, fragment=""):
    parsed = RenderedPage()
    parsed.feed(chromium("--dump-dom", page.resolve().as_uri() + fragment))
    return parsed


def expect(condition, message):
    if not condition:
        sys.exit(f"FAIL: {message}")


def fleet_page(fleet, examples, machines, page, *extra):
    run = subprocess.run([fleet, "-i", str(examples / "input.xml"), *extra, "--html", str(page), str(machines)],
                         capture_output=True, text=True, timeout=300)
    expect(run.returncode == 0, f"tarnwick-fleet ended with {run.returncode}: {run.stderr}")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    fleet, examples, output = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    expect(shutil.which("chromium") is not None, "chromium is not installed (tools/setup.sh installs it)")
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        input_text = (examples / "input.xml").read_text(encoding="utf-8")
        expect("<parameter>500</parameter>" in input_text, "the example input document asks for 500 MB free")
        changed = scratch / "changed.xml"
        changed.write_text(input_text.replace("<parameter>500</parameter>", "<parameter>100000</parameter>", 1),
                           encoding="utf-8")
        page = output / "report-page.html"
        fleet_page(fleet, examples, examples / "machines", page, "-c", str(changed))

        shown = rendered(page)
        machines = sorted(path.name for path in (examples / "machines").glob("*.json"))
        check_count = input_text.count("<test>")
        expect(shown.machines == machines, f"machines shown: {shown.machines}")
        expect(len(shown.checks) == check_count, f"{len(shown.checks)} checks shown, {check_count} in the document")
        expect(shown.checks[5] == "FreeHardDiskSpaceTest", f"sixth check: {shown.checks[5]}")
        passes, failures = shown.counts["count-pass"], shown.counts["count-fail"]
        expect(len(passes) == check_count and len(failures) == check_count, "one pass and one fail count per check")
        expect(all(p + f == len(machines) for p, f in zip(passes, failures)), f"counts {passes} {failures}")
        expect(failures[5] >= 1, "the changed document fails some machine on free space")
        expect(shown.changed and all(change == ("FAIL", "was pass") for change in shown.changed),
               f"changed verdicts: {shown.changed}")
        expect(f"{len(machines)} machines: " in shown.summary, f"summary: {shown.summary}")
        # A link to one verdict opens it as a click does: the third machine's free-space verdict.
        linked = f"#verdict-3-{shown.checks.index('FreeHardDiskSpaceTest') + 1}"
        opened = rendered(page, linked).details
        expect(opened.startswith(f"{machines[2]} \u2014 FreeHardDiskSpaceTest") and "Failed" in opened and
               "Before the change: pass" in opened and "More information" in opened and "Solution" in opened,
               f"details of {linked}: {opened}")
        screenshot = output / "report-page.png"
        chromium("--hide-scrollbars", f"--screenshot={screenshot}", "--window-size=1400,900",
                 page.resolve().as_uri() + linked)
        expect(screenshot.stat().st_size > 0, "no screenshot")

        hostile = scratch / "hostile"
        hostile.mkdir()
        machine = json.loads((examples / "machines" / "default.json").read_text(encoding="utf-8"))
        machine["registry"]["HARDWARE\\Description\\System"]["values"]["SystemBiosVersion"] = {
            "type": "REG_MULTI_SZ", "data": [HOSTILE_BIOS]}
        (hostile / HOSTILE_NAME).write_text(json.dumps(machine), encoding="utf-8")
        hostile_page = scratch / "hostile.html"
        fleet_page(fleet, examples, hostile, hostile_page)
        shown = rendered(hostile_page)
        expect(shown.machines == [HOSTILE_NAME], f"hostile machine shown as {shown.machines}")
        expect("img" not in shown.elements, "a machine's text became an element")
        expect(shown.elements.count("script") == 2, "a machine's text became a script")
        expect(shown.title == "Tarnwick verdicts", f"title: {shown.title}")
        expect(len(shown.checks) == check_count, "the hostile page's script did not run to the end")
    print(f"report page: {len(machines)} machines, {check_count} checks, {len(shown.changed)} changes; "
          f"screenshot {screenshot}")


if __name__ == "__main__":
    main()
