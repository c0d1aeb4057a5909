#!/usr/bin/env python3
"""Writes a folder of machine profiles for the fleet replay: variations of the example machines
(examples/machines/*.json) with other BIOS, board and processor identities, other free space and
other fragmentation, drawn from a fixed seed so that the same command gives the same fleet.

usage: tools/generate-fleet.py COUNT FOLDER
"""
import copy
import json
import pathlib
import random
import sys

BIOS_VERSIONS = [["DELL   - 1072009", "A12"], ["HPQOEM - 20090825", "F.22"], ["LENOVO - 1360", "8DET69WW (1.39 )"],
                 ["ACRSYS - 2", "V1.07"], ["FUJ    - 6040000", "1.12"], ["VBOX   - 1"]]
BOARDS = [("Dell Inc.", "0M858N"), ("Hewlett-Packard", "3047h"), ("LENOVO", "4236NGG"), ("ASUSTeK Computer INC.", "P5Q"),
          ("FUJITSU", "D2950-A1")]
PROCESSORS = ["Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", "Intel(R) Core(TM) i5-2520M CPU @ 2.50GHz",
              "AMD Athlon(tm) 64 X2 Dual Core Processor 4200+", "Intel(R) Pentium(R) 4 CPU 3.00GHz"]


def vary(machine, rng, index):
    machine["description"] = f"generated machine {index}: {machine.get('description', '')}"
    system = machine.get("registry", {}).get("HARDWARE\\Description\\System", {}).get("values", {})
    if "SystemBiosVersion" in system:
        system["SystemBiosVersion"] = {"type": "REG_MULTI_SZ", "data": rng.choice(BIOS_VERSIONS)}
    wmi = machine.get("wmi", {})
    if wmi.get("Win32_BaseBoard"):
        manufacturer, product = rng.choice(BOARDS)
        wmi["Win32_BaseBoard"][0].update({"Manufacturer": manufacturer, "Product": product})
    if wmi.get("Win32_Processor"):
        wmi["Win32_Processor"][0]["Name"] = rng.choice(PROCESSORS)
    for volume in machine.get("volumes", []):
        if volume.get("totalBytes"):
            volume["freeBytes"] = rng.randrange(0, volume["totalBytes"] + 1)
            volume.pop("freeBytesAvailable", None)
        for run in volume.get("allocation", {}).get("runs", []):
            if "seed" in run:
                run["seed"] = rng.randrange(1 << 32)
    return machine


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    count, folder = int(sys.argv[1]), pathlib.Path(sys.argv[2])
    examples = pathlib.Path(__file__).resolve().parent.parent / "examples" / "machines"
    templates = [json.loads(path.read_text(encoding="utf-8")) for path in sorted(examples.glob("*.json"))]
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(13)
    for index in range(count):
        machine = vary(copy.deepcopy(templates[index % len(templates)]), rng, index)
        (folder / f"machine-{index:04d}.json").write_text(json.dumps(machine, indent=1, ensure_ascii=False) + "\n",
                                                          encoding="utf-8")


if __name__ == "__main__":
    main()
