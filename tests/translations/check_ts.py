#!/usr/bin/python3
"""The translation sources are complete and current.

  check_ts.py LUPDATE SOURCE_DIR

Fails when a text marked in src/ is missing from a .ts file or one there is no
longer marked (lupdate, run into a copy, changes the copy), when a message is
left unfinished or empty, or when a translation drops or adds a %N that the code
fills in.
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LANGUAGES = ("en", "zh_CN")


def placeholders(text):
    return sorted(set(re.findall(r"%[1-9]", text or "")))


def problems(path):
    found = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            where = "%s: [%s] %r" % (path.name, name, source)
            if translation is None or translation.get("type") is not None:
                found.append(where + " is not finished")
            elif not translation.text:
                found.append(where + " has an empty translation")
            elif placeholders(source) != placeholders(translation.text):
                found.append(where + " changes the placeholders: %r" % translation.text)
    return found


def main(argv):
    lupdate, root = argv[1], pathlib.Path(argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as temp:
        copies = []
        for language in LANGUAGES:
            original = root / "translations" / ("vantrel_%s.ts" % language)
            copy = pathlib.Path(temp) / original.name
            shutil.copyfile(original, copy)
            copies.append((original, copy))
        run = subprocess.run([lupdate, "-no-obsolete", "-locations", "none", str(root / "src"), "-ts"] +
                             [str(copy) for _, copy in copies], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr, file=sys.stderr)
            return 1
        for original, copy in copies:
            if original.read_bytes() != copy.read_bytes():
                failures.append("%s is not what lupdate makes of src/: refresh it and translate" % original.name)
            failures += problems(original)
    for failure in failures:
        print("FAIL: " + failure, file=sys.stderr)
    if not failures:
        print("translations: %s complete" % ", ".join(LANGUAGES))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
