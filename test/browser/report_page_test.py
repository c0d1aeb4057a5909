#!/usr/bin/env python3
"""The readiness page in a real browser: headless Chromium loads the pages that tarnwick-fleet
builds, runs the page's own script under the page's Content-Security-Policy, and the rendered page
must show the status counts and the blockers grouped by reason, the same ones that the fleet's CSV
files give, and open a group to its machines and a machine to its verdicts. The pages come from the
example machines (with a changed input document) and from a generated fleet of 3,000
(tools/generate-fleet.py). A last page, from a machine whose texts hold markup and script, must show
them as text. A screenshot is kept beside the build.

usage: report_page_test.py TARNWICK_FLEET EXAMPLES_FOLDER OUTPUT_FOLDER
"""
import collections
import csv
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
GENERATED_MACHINES = 3000
MACHINES_PER_LIST_PAGE = 200


class Element:
    def __init__(self, tag, attributes, parent):
        self.tag, self.attributes, self.parent, self.text = tag, attributes, parent, ""

    def classes(self):
        return self.attributes.get("class", "").split()

    def within(self, predicate):
        element = self.parent
        while element is not None:
            if predicate(element):
                return element
            element = element.parent
        return None


class RenderedPage(html.parser.HTMLParser):
    """Every element of the rendered page with its attributes, its text and its parent."""

    def __init__(self):
        super().__init__()
        self.elements, self._open = [], []

    def handle_starttag(self, tag, attrs):
        element = Element(tag, dict(attrs), self._open[-1] if self._open else None)
        self.elements.append(element)
        if tag not in ("meta", "input", "br", "link"):
            self._open.append(element)

    def handle_endtag(self, tag):
        while self._open:
            element = self._open.pop()
            if element.tag == tag:
                return

    def handle_data(self, data):
        for element in self._open:
            element.text += data

    def all(self, tag, class_name=None, **attributes):
        return [element for element in self.elements if element.tag == tag and
                (class_name is None or class_name in element.classes()) and
                all(element.attributes.get(name.replace("_", "-")) == value for name, value in attributes.items())]

    def one(self, tag, class_name=None, **attributes):
        found = self.all(tag, class_name, **attributes)
        expect(len(found) == 1, f"{len(found)} elements {tag}.{class_name} {attributes}")
        return found[0]

    def status_counts(self):
        return {item.attributes["data-status"]: int(self.one_in(item, "span", "status-count").text)
                for item in self.all("li", "status")}

    def blockers(self):
        """{check label: (title, [(reason, machines)])} from the Blockers section."""
        blockers = {}
        for box in self.all("div", "check"):
            if box.within(lambda element: element.attributes.get("id") == "blockers") is None:
                continue
            groups = []
            for item in self.all("li", "group"):
                if item.within(lambda element: element is box):
                    count = self.one_in(item, "span", "group-count").text
                    groups.append((self.one_in(item, "button", "group-open").text,
                                   int(count.split()[1])))
            blockers[box.attributes["data-check"]] = (self.one_in(box, "h3", "check-title").text, groups)
        return blockers

    def one_in(self, parent, tag, class_name):
        found = [element for element in self.all(tag, class_name) if element.within(lambda e: e is parent)]
        expect(len(found) == 1, f"{len(found)} {tag}.{class_name} in {parent.tag}")
        return found[0]


def chromium(*arguments):
    with tempfile.TemporaryDirectory() as profile:
        return subprocess.run(["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={profile}", *arguments],
                              check=True, capture_output=True, text=True, timeout=300).stdout


def rendered(page, fragment=""):
    parsed = RenderedPage()
    parsed.feed(chromium("--dump-dom", page.resolve().as_uri() + fragment))
    return parsed


def expect(condition, message):
    if not condition:
        sys.exit(f"FAIL: {message}")


def fleet_run(fleet, input_document, machines, page, csv_file, *extra):
    run = subprocess.run([fleet, "-i", str(input_document), *extra, "--html", str(page), "--csv", str(csv_file),
                          str(machines)], capture_output=True, text=True, timeout=900)
    expect(run.returncode == 0, f"tarnwick-fleet ended with {run.returncode}: {run.stderr}")


def blocked_by_check(csv_file):
    """What the verdict CSV says each check blocks: {check label: machines whose verdict is fail}."""
    blocked = collections.Counter()
    with open(csv_file, newline="", encoding="utf-8") as rows:
        for row in csv.DictReader(rows):
            if row["verdict"] == "fail":
                blocked[row["check"]] += 1
    return blocked


def expect_summary(shown, csv_file, machine_count, label):
    counts = shown.status_counts()
    expect(list(counts) == ["ready", "blocked", "not verified", "no verdicts"], f"{label}: statuses {counts}")
    expect(sum(counts.values()) == machine_count, f"{label}: status counts {counts} for {machine_count} machines")
    blockers = shown.blockers()
    expected = blocked_by_check(csv_file)
    expect({check: sum(count for _, count in groups) for check, (_, groups) in blockers.items()} == dict(expected),
           f"{label}: blockers {blockers} against the CSV's failures {expected}")
    for check, (title, groups) in blockers.items():
        expect(title.endswith(f" \u2014 {expected[check]} machine{'s' if expected[check] != 1 else ''} blocked"),
               f"{label}: title of {check}: {title}")
        expect([count for _, count in groups] == sorted((count for _, count in groups), reverse=True),
               f"{label}: groups of {check} not largest first: {groups}")
    # Checks with most machines blocked come first.
    order = [expected[check] for check in blockers]
    expect(order == sorted(order, reverse=True), f"{label}: checks not by machines blocked: {order}")
    return counts, blockers


def expect_drill_down(page, shown, label):
    """Opens the first group listed, then its first machine: the machine's verdicts show the group."""
    first_box = shown.all("div", "check")[0]
    reason = shown.all("button", "group-open")[0].text
    count = int(shown.all("span", "group-count")[0].text.split()[1])
    opened = rendered(page, "#group-1/1")
    expect(opened.one("h2", "list-title").text == reason, f"{label}: list title of the first group")
    listed = opened.all("button", "machine-open")
    expect(len(listed) == min(count, MACHINES_PER_LIST_PAGE), f"{label}: {len(listed)} machines listed of {count}")
    expect(len(opened.all("button", "selected")) == 2, f"{label}: the group and the machine are selected")
    machine = opened.one("h2", "machine-name").text
    expect(machine == listed[0].text, f"{label}: machine shown {machine}, listed first {listed[0].text}")
    check_title = shown.one_in(first_box, "h3", "check-title").text.split(" \u2014 ")[0]
    verdicts = [(box.text, state.text) for box, state in zip(opened.all("h3", "verdict-check"),
                                                             opened.all("p", "verdict-state"))]
    expect((check_title, f"Failed: {reason}") in verdicts, f"{label}: {machine}'s verdicts {verdicts}")
    expect(opened.all("ul", "more-info") or opened.all("p", "hint"), f"{label}: no more-info lines shown")
    return machine


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    fleet, examples, output = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    generator = examples.parent / "tools" / "generate-fleet.py"
    expect(shutil.which("chromium") is not None, "chromium is not installed (tools/setup.sh installs it)")
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        input_document = examples / "input.xml"
        input_text = input_document.read_text(encoding="utf-8")
        expect("<parameter>500</parameter>" in input_text, "the example input document asks for 500 MB free")
        changed = scratch / "changed.xml"
        changed.write_text(input_text.replace("<parameter>500</parameter>", "<parameter>100000</parameter>", 1),
                           encoding="utf-8")
        page, verdicts = output / "report-page.html", scratch / "verdicts.csv"
        machines = sorted(path.name for path in (examples / "machines").glob("*.json"))
        fleet_run(fleet, input_document, examples / "machines", page, verdicts, "-c", str(changed))
        shown = rendered(page)
        counts, blockers = expect_summary(shown, verdicts, len(machines), "examples")
        free_space = blockers.get("FreeHardDiskSpaceTest")
        expect(free_space is not None and free_space[0].startswith("Enough free disk space (FreeHardDiskSpaceTest)"),
               f"the changed document blocks on free space: {blockers.keys()}")
        # Free space is one machine's own figure: every machine short of it falls in one group.
        expect([reason for reason, _ in free_space[1]] == ["too little free space"], f"free space: {free_space}")
        grows = [item.within(lambda e: "group" in e.classes()).text for item in shown.all("span", "grows")]
        expect(len(grows) == 1 and grows[0].startswith("too little free space \u2014 "),
               f"only the free-space group grows from the first document: {grows}")
        expect(shown.one("p", id="changes").text.endswith(f" of {len(machines)} change status from input.xml."),
               f"changes: {shown.one('p', id='changes').text}")
        opened = expect_drill_down(page, shown, "examples")
        expect(opened in machines, f"opened machine {opened}")
        # More-info lines are shown with what they are where the check's lines have labels.
        lines = [item.text for item in rendered(page, "#group-1/1").all("li")
                 if item.within(lambda element: "more-info" in element.classes())]
        expect(any(line.startswith("BIOS version ") for line in lines), f"more-info lines of {opened}: {lines}")
        screenshot = output / "report-page.png"
        chromium("--hide-scrollbars", f"--screenshot={screenshot}", "--window-size=1400,900",
                 page.resolve().as_uri() + "#group-1/1")
        expect(screenshot.stat().st_size > 0, "no screenshot")

        generated = scratch / "generated"
        subprocess.run([sys.executable, str(generator), str(GENERATED_MACHINES), str(generated)], check=True)
        big_page, big_verdicts = scratch / "generated.html", scratch / "generated.csv"
        fleet_run(fleet, input_document, generated, big_page, big_verdicts)
        shown = rendered(big_page)
        counts, blockers = expect_summary(shown, big_verdicts, GENERATED_MACHINES, "generated fleet")
        expect(counts["blocked"] > 0 and len(blockers) > 1, f"generated fleet: {counts}, {blockers.keys()}")
        expect(len(shown.all("button", "machine-open")) == 0, "the generated fleet's page lists machines at first")
        expect_drill_down(big_page, shown, "generated fleet")
        big_size = big_page.stat().st_size

        hostile = scratch / "hostile"
        hostile.mkdir()
        machine = json.loads((examples / "machines" / "default.json").read_text(encoding="utf-8"))
        machine["registry"]["HARDWARE\\Description\\System"]["values"]["SystemBiosVersion"] = {
            "type": "REG_MULTI_SZ", "data": [HOSTILE_BIOS]}
        (hostile / HOSTILE_NAME).write_text(json.dumps(machine), encoding="utf-8")
        hostile_page = scratch / "hostile.html"
        fleet_run(fleet, input_document, hostile, hostile_page, scratch / "hostile.csv")
        shown = rendered(hostile_page, "#status-blocked/1")
        expect(shown.one("h2", "machine-name").text == HOSTILE_NAME, "the hostile machine is not shown by its name")
        expect(not shown.all("img"), "a machine's text became an element")
        expect(len(shown.all("script")) == 2, "a machine's text became a script")
        expect(shown.one("title").text == "Tarnwick readiness", f"title: {shown.one('title').text}")
    print(f"report page: {len(machines)} example machines, {sum(counts.values())} generated ones "
          f"({big_size} bytes of page); screenshot {screenshot}")


if __name__ == "__main__":
    main()
