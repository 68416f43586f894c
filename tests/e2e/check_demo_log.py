#!/usr/bin/env python3
"""Runs the demo's self-playing flows and checks its event log.

    check_demo_log.py DEMO_EXECUTABLE OUTPUT_FOLDER [full|updater]

Checks that both flows completed, that the instrument applied exactly the file the release
server offered (size and SHA-256), that the update-finish message went out three times,
that the four folders were opened and that the transfer ended acknowledged.
The update-only edition plays the update flow alone: its instrument still has the volume
mounted when the finish message arrives, which then goes out once.
"""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

UPDATE_FINISH = "f0 00 01 03 01 02 f7"


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def run_demo(demo, out, edition, flow, runs):
    """Plays the flow into a fresh out folder; the events of its log, once every run of it
    completed."""
    shutil.rmtree(out, ignore_errors=True)
    run = subprocess.run([demo, "--autoplay", flow, "--edition", edition, "--out", out],
                         capture_output=True, text=True, timeout=280)
    print(run.stderr[-2000:])
    if run.returncode != 0:
        fail("the demo exited with %d" % run.returncode)

    log = open(os.path.join(out, "events.log"), encoding="utf-8").read().splitlines()
    events = [line.split(None, 1)[1] for line in log if line.strip()]

    flows = [e for e in events if e.startswith("demo: flow ")]
    if flows != ["demo: flow done: all steps done"] * runs:
        fail("flows: %r" % flows)
    return events


def main():
    demo, out = sys.argv[1], sys.argv[2]
    edition = sys.argv[3] if len(sys.argv) > 3 else "full"
    full = edition == "full"
    events = run_demo(demo, out, edition, "both", 2 if full else 1)

    catalogue = json.load(open(os.path.join(out, "releases", "releases.json"), encoding="utf-8"))
    served = open(os.path.join(out, "releases", catalogue[-1]["file_name"]), "rb").read()
    applied = [e for e in events if e.startswith("applied: ")]
    if len(applied) != 1:
        fail("applied lines: %r" % applied)
    match = re.match(r"applied: size (\d+) sha256 ([0-9a-f]{64}) version (\S+)", applied[0])
    if not match:
        fail("unreadable applied line: %r" % applied[0])
    if int(match.group(1)) != len(served) or match.group(2) != hashlib.sha256(served).hexdigest():
        fail("the instrument applied another file than the one served")
    if match.group(3) != catalogue[-1]["version"]:
        fail("version after the update: %s" % match.group(3))

    finishes = [e for e in events if e.startswith("midi: sent " + UPDATE_FINISH)]
    if len(finishes) != (3 if full else 1):
        fail("update-finish sent %d times" % len(finishes))

    shots = sorted(os.listdir(os.path.join(out, "screenshots")))
    if any(s.startswith("failed") for s in shots) or len(shots) < (9 if full else 5):
        fail("screenshots: %r" % shots)
    if not full:
        if any(e.startswith("instrument: folder opened ") for e in events):
            fail("the update-only edition opened a folder")
        print("demo log checks passed: %d events, %d screenshots" % (len(events), len(shots)))
        return

    opened = [e.rsplit("/", 1)[-1] for e in events if e.startswith("instrument: folder opened ")]
    if opened != ["projects", "instrument_definitions", "MIDI_Clips", "grooves"]:
        fail("folders opened: %r" % opened)
    if "midiHandler: transferSysExEndReceived()" not in events:
        fail("the transfer did not end")
    print("demo log checks passed: %d events, %d screenshots" % (len(events), len(shots)))


if __name__ == "__main__":
    main()
