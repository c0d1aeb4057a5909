#!/usr/bin/env python3
"""The fleet's floor (FleetBitmaps in bench/FleetBitmapBench.cpp) reads the volumes that the
contiguous-space check reads: over the example machines and a small generated fleet, as many as
separate build/sim/tarnwick runs analyze to the end (their "contiguous free hard disk space, ...
available" console lines). A floor that read other volumes than the check would be no floor.

Usage: fleet_floor_test.py REPO BUILD_FOLDER
"""

import glob
import json
import os
import subprocess
import sys
import tempfile

ANALYZED_LINE = "contiguous free hard disk space, "


def volumes_the_check_reads(repo, build, folder, scratch):
    count = 0
    for profile in sorted(glob.glob(os.path.join(folder, "*.json"))):
        command = [os.path.join(build, "tarnwick"), "-i", os.path.join(repo, "examples/input.xml"), "-o",
                   os.path.join(scratch, "results.xml"), "-f"]
        run = subprocess.run(command, env=dict(os.environ, TARNWICK_MACHINE=profile), stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, check=False)
        count += run.stdout.count(ANALYZED_LINE)
    return count


def volumes_the_floor_reads(build, folder, scratch):
    figures = os.path.join(scratch, "floor.json")
    subprocess.run([os.path.join(build, "bench/tarnwick_bench"), "--benchmark_filter=^FleetBitmaps$",
                    "--benchmark_min_time=0.001", "--benchmark_out=" + figures, "--benchmark_out_format=json"],
                   env=dict(os.environ, TARNWICK_FLEET_PROFILES=folder), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    with open(figures, encoding="utf-8") as file:
        run = json.load(file)["benchmarks"][0]
    if run.get("error_occurred"):
        sys.exit("FleetBitmaps failed on " + folder + ": " + run.get("error_message", ""))
    return int(run["volumes read"]), run["bitmap MB/machine"]


def main():
    repo, build = sys.argv[1], sys.argv[2]
    failures = 0
    with tempfile.TemporaryDirectory() as scratch:
        generated = os.path.join(scratch, "fleet")
        subprocess.run([sys.executable, os.path.join(repo, "tools/generate-fleet.py"), "14", generated], check=True)
        for folder in [os.path.join(repo, "examples/machines"), generated]:
            expected = volumes_the_check_reads(repo, build, folder, scratch)
            read, megabytes = volumes_the_floor_reads(build, folder, scratch)
            ok = read == expected and expected > 0 and megabytes > 0
            print(("PASS: " if ok else "FAIL: ") +
                  f"{folder}: the check reads {expected} volumes, FleetBitmaps {read} ({megabytes:.2f} MB a machine)")
            failures += 0 if ok else 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
