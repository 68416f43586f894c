#!/usr/bin/env python3
"""Checks a committed catalogue against the texts of the sources:

    check_catalogue.py LUPDATE CATALOGUE.ts SOURCE...

Fails, listing each text, when a text of the sources is missing from the catalogue or has
no finished translation there (a new or changed English text), when the catalogue holds a
text the sources no longer have (an English text that changed or went), or when a
translation drops or adds a placeholder such as %1.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(path):
    """{(context, source): (translation, finished)} of a .ts file."""
    found = {}
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = translation.get("type", "") if translation is not None else "unfinished"
            text = (translation.text or "") if translation is not None else ""
            found[(name, message.findtext("source"))] = (text, kind == "")
    return found


def placeholders(text):
    return sorted(re.findall(r"%\d", text))


def main():
    lupdate, catalogue, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as folder:
        extracted = os.path.join(folder, "current.ts")
        subprocess.run([lupdate, "-silent", "-locations", "none", *sources, "-ts", extracted], check=True)
        current = messages(extracted)
    committed = messages(catalogue)
    problems = []
    for key in sorted(current):
        if key not in committed:
            problems.append("not in the catalogue: %s: %r" % key)
            continue
        text, finished = committed[key]
        if not finished or not text.strip():
            problems.append("no finished translation: %s: %r" % key)
        elif placeholders(text) != placeholders(key[1]):
            problems.append("placeholders differ: %s: %r -> %r" % (key[0], key[1], text))
    for key in sorted(set(committed) - set(current)):
        problems.append("no longer in the sources (was an English text changed?): %s: %r" % key)
    for problem in problems:
        print(problem)
    print("%d texts, %d problems" % (len(current), len(problems)))
    return 1 if problems or not current else 0


if __name__ == "__main__":
    sys.exit(main())
