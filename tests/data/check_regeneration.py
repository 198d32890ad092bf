#!/usr/bin/python3
"""Regenerates every data file into a scratch tree and compares it byte for byte with the committed
Data/ and docs/assets.png: `make assets` in a clean clone must leave `git status` clean."""

import filecmp
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def tree(base, sub):
    top = os.path.join(base, sub)
    if os.path.isfile(top):
        return {sub}
    found = set()
    for folder, _, files in os.walk(top):
        for f in files:
            found.add(os.path.relpath(os.path.join(folder, f), base))
    return found


def main():
    with tempfile.TemporaryDirectory(prefix="quimbo-assets-") as out:
        subprocess.run(["/usr/bin/python3", os.path.join(ROOT, "tools", "make_assets.py"), "--out", out],
                       check=True)
        made = tree(out, "Data") | tree(out, "docs/assets.png")
        committed = tree(ROOT, "Data") | tree(ROOT, "docs/assets.png")
        problems = ["only committed: " + f for f in sorted(committed - made)]
        problems += ["only generated: " + f for f in sorted(made - committed)]
        for f in sorted(made & committed):
            if not filecmp.cmp(os.path.join(out, f), os.path.join(ROOT, f), shallow=False):
                problems.append("differs: " + f)
    for p in problems:
        print(p)
    print("%d files compared, %d problems" % (len(made | committed), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
