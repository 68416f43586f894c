#!/usr/bin/env python3
"""Runs the demo's self-playing runs of the update screen's choices and checks its event log.

    check_demo_choices.py DEMO_EXECUTABLE OUTPUT_FOLDER [full|updater]

"--autoplay choices" plays "local" (an update file from the computer) and then "downgrade"
(an older version from the list, confirmed). Checks that both runs completed, that the
instrument applied first exactly the local file and then exactly the older release's file
(size and SHA-256), and that every screenshot of both runs was taken.
"""
import hashlib
import json
import os
import re
import sys

from check_demo_log import fail, run_demo

SHOTS = ["21-update-screen-choices", "22-file-dialog", "23-local-file-chosen",
         "24-local-file-installed", "31-version-list", "32-older-version-notes",
         "33-downgrade-warning", "34-downgrade-installed"]


def digest(path):
    data = open(path, "rb").read()
    return len(data), hashlib.sha256(data).hexdigest()


def main():
    demo, out = sys.argv[1], sys.argv[2]
    edition = sys.argv[3] if len(sys.argv) > 3 else "full"
    events = run_demo(demo, out, edition, "choices", 2)

    catalogue = json.load(open(os.path.join(out, "releases", "releases.json"), encoding="utf-8"))
    older = [e for e in catalogue if e["version"] == "1.4.0"]
    if len(older) != 1 or not all(e.get("release_notes") for e in catalogue):
        fail("the example catalogue: %r" % catalogue)
    local = [os.path.join(out, "local", f) for f in os.listdir(os.path.join(out, "local"))]
    expected = [digest(local[0]), digest(os.path.join(out, "releases", older[0]["file_name"]))]

    applied = []
    for e in events:
        match = re.match(r"applied: size (\d+) sha256 ([0-9a-f]{64})", e)
        if match:
            applied.append((int(match.group(1)), match.group(2)))
    if applied != expected:
        fail("applied %r, expected the local file then 1.4.0: %r" % (applied, expected))

    shots = sorted(os.path.splitext(s)[0] for s in os.listdir(os.path.join(out, "screenshots")))
    if any(s.startswith("failed") for s in shots) or shots != SHOTS:
        fail("screenshots: %r" % shots)
    print("demo choices checks passed: %d events, %d screenshots" % (len(events), len(shots)))


if __name__ == "__main__":
    main()
