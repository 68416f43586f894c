#!/usr/bin/env python3
"""Runs the demo's self-playing flows and checks its event log.

    check_demo_log.py DEMO_EXECUTABLE OUTPUT_FOLDER [full|updater]
                      [--launcher COMMAND] [--server-program SERVER] [--demo-arg ARG]...
                      [--timeout SECONDS]

Checks that both flows completed, that the copy on the instrument's volume was read back and
matched the file the release server offered (its SHA-256) before the instrument was told,
that the instrument applied exactly that file (size and SHA-256), that the update-finish
message went out three times,
that the four folders were opened and that the transfer ended acknowledged, and (full edition)
that the update made its backup first and a project changed since was restored from it.
The update-only edition plays the update flow alone: its instrument still has the volume
mounted when the finish message arrives, which then goes out once.

For the demo under Wine: --launcher runs the demo through a command (the Wine runner),
--server-program starts tavlo_demo_server on this side first and hands the demo its address
and certificate authority (--server, --server-ca), and --demo-arg passes more options
(--software-render). OUTPUT_FOLDER is then best given relative to the working folder, which
both sides read alike.
"""
import argparse
import hashlib
import json
import os
import re
import shlex
import shutil
import subprocess
import sys

UPDATE_FINISH = "f0 00 01 03 01 02 f7"


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def start_server(program, out):
    """Starts tavlo_demo_server; returns the process, its address and its CA file."""
    server = subprocess.Popen([program, "--out", out], stdout=subprocess.PIPE, text=True)
    lines = {}
    for _ in range(2):
        words = server.stdout.readline().split(None, 1)
        if len(words) == 2:
            lines[words[0]] = words[1]
    if server.poll() is not None or "url" not in lines or "ca" not in lines:
        fail("the release server did not start")
    return server, lines["url"].strip(), lines["ca"].strip()


def run_demo(demo, out, edition, flow, runs, launcher="", server_program=None, demo_args=(),
             timeout=280):
    """Plays the flow into a fresh out folder; the events of its log, once every run of it
    completed. launcher, server_program and demo_args as the options of main() below."""
    shutil.rmtree(out, ignore_errors=True)
    command = shlex.split(launcher) + [demo, "--autoplay", flow, "--edition", edition,
                                       "--out", out] + list(demo_args)
    server = None
    if server_program:
        server, url, ca = start_server(server_program, out)
        command += ["--server", url, "--server-ca", os.path.relpath(ca)]
    try:
        # The demo's own output is for people; under Wine it comes in the console's code page
        # (a file name such as "Ørsted – live.mid"), so it is read leniently.
        run = subprocess.run(command, capture_output=True, text=True, encoding="utf-8",
                             errors="replace", timeout=timeout)
    finally:
        if server:
            server.terminate()
            server.wait()
    print(run.stderr[-2000:])
    if run.returncode != 0:
        fail("the demo exited with %d" % run.returncode)

    log = open(os.path.join(out, "events.log"), encoding="utf-8", errors="replace").read().splitlines()
    events = [line.split(None, 1)[1] for line in log if line.strip()]

    flows = [e for e in events if e.startswith("demo: flow ")]
    if flows != ["demo: flow done: all steps done"] * runs:
        fail("flows: %r" % flows)
    return events


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("demo")
    parser.add_argument("out")
    parser.add_argument("edition", nargs="?", default="full", choices=["full", "updater"])
    parser.add_argument("--launcher", default="")
    parser.add_argument("--server-program")
    parser.add_argument("--demo-arg", action="append", default=[])
    parser.add_argument("--timeout", type=int, default=280)
    args = parser.parse_args()
    demo, out, edition = args.demo, args.out, args.edition
    full = edition == "full"
    events = run_demo(demo, out, edition, "both", 3 if full else 1, args.launcher,
                      args.server_program, args.demo_arg, args.timeout)

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

    checked = [i for i, e in enumerate(events) if e.startswith("fileManager: readBackChecked(")]
    if len(checked) != 1:
        fail("read-back check lines: %r" % [events[i] for i in checked])
    match = re.match(r'fileManager: readBackChecked\("([^"]+)", "([0-9a-f]{64})"\)',
                     events[checked[0]])
    if not match or match.group(2) != hashlib.sha256(served).hexdigest():
        fail("the read-back check names another file: %r" % events[checked[0]])
    if match.group(1) != catalogue[-1]["file_name"]:
        fail("the read-back check names another file name: %r" % match.group(1))
    first_finish = next((i for i, e in enumerate(events)
                         if e.startswith("midi: sent " + UPDATE_FINISH)), len(events))
    if checked[0] > first_finish:
        fail("the instrument was told before the read-back check")

    finishes = [e for e in events if e.startswith("midi: sent " + UPDATE_FINISH)]
    if len(finishes) != (3 if full else 1):
        fail("update-finish sent %d times" % len(finishes))

    shots = sorted(os.listdir(os.path.join(out, "screenshots")))
    if any(s.startswith("failed") for s in shots) or len(shots) < (10 if full else 6) \
            or "06-update-confirmed.png" not in shots:
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
    # The update backed the projects up first; a project changed since was put back.
    backups_root = os.path.join(out, "Tavlo Backups")
    backups = sorted(os.listdir(backups_root)) if os.path.isdir(backups_root) else []
    if len(backups) != 1 or not os.path.isfile(os.path.join(backups_root, backups[0], "manifest.json")):
        fail("backups: %r" % backups)
    if not any(e.startswith("demo: the musician changed ") for e in events):
        fail("no project was changed before the restore")
    for shot in ("03a-backing-up.png", "43-restore-asks.png", "44-restore-complete.png"):
        if shot not in shots:
            fail("no screenshot %s: %r" % (shot, shots))
    print("demo log checks passed: %d events, %d screenshots" % (len(events), len(shots)))


if __name__ == "__main__":
    main()
