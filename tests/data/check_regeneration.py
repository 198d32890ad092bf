"""Regenerates every data file into a scratch tree and compares it with the committed Data/ and
docs/assets.png.

By default a picture is compared by what it shows (its size and every decoded pixel) and a sound
by what it plays (its format and every sample), so a library update that only changes how the
same pixels are compressed passes; fonts and texts are compared byte for byte. With --bytes
(`make check-assets`) every file must be byte for byte what the committed one is, as `make assets`
in a clean clone must leave `git status` clean; a difference then names the libraries that moved
since Data/made-with.txt was written.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import wave

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tools"))

import make_assets  # noqa: E402  (the record of the libraries the data was made with)

MADE_WITH = os.path.join("Data", make_assets.MADE_WITH_FILE)


def tree(base, sub):
    top = os.path.join(base, sub)
    if os.path.isfile(top):
        return {sub}
    found = set()
    for folder, _, files in os.walk(top):
        for f in files:
            found.add(os.path.relpath(os.path.join(folder, f), base))
    return found


def file_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def picture(path):
    with Image.open(path) as im:
        return im.size, im.convert("RGBA").tobytes()


def sound(path):
    with wave.open(path, "rb") as w:
        return w.getparams()[:4], w.readframes(w.getnframes())


def content(path):
    """What a file is to the game: pixels, samples, or its bytes."""
    ext = os.path.splitext(path)[1].lower()
    if ext == ".png":
        return picture(path)
    if ext == ".wav":
        return sound(path)
    return file_bytes(path)


def first_difference(a, b):
    """A short reading of where two pictures or two sounds part."""
    if a[0] != b[0]:
        return "format %s, now %s" % (a[0], b[0])
    at = next((i for i, (x, y) in enumerate(zip(a[1], b[1])) if x != y), min(len(a[1]), len(b[1])))
    return "first differing byte of the decoded data at %d of %d" % (at, len(a[1]))


def moved_libraries(made):
    recorded = make_assets.read_made_with(os.path.join(ROOT, MADE_WITH))
    now = make_assets.read_made_with(os.path.join(made, MADE_WITH))
    return ["%s %s, now %s" % (name, recorded.get(name, "unrecorded"), version)
            for name, version in now.items() if recorded.get(name) != version]


def compare(made, by_bytes):
    """The problems found between the fresh tree under `made` and the committed one."""
    fresh = tree(made, "Data") | tree(made, "docs/assets.png")
    committed = tree(ROOT, "Data") | tree(ROOT, "docs/assets.png")
    # The record itself follows the machine, not the game: it is read, never compared.
    fresh.discard(MADE_WITH)
    committed.discard(MADE_WITH)
    problems = ["only committed: " + f for f in sorted(committed - fresh)]
    problems += ["only generated: " + f for f in sorted(fresh - committed)]
    for f in sorted(fresh & committed):
        new, old = os.path.join(made, f), os.path.join(ROOT, f)
        if by_bytes:
            if file_bytes(new) != file_bytes(old):
                problems.append("differs: " + f)
            continue
        a, b = content(old), content(new)
        if a != b:
            detail = "" if isinstance(a, bytes) else " (%s)" % first_difference(a, b)
            problems.append("differs: %s%s" % (f, detail))
    return problems, len(fresh | committed)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bytes", action="store_true",
                        help="compare every file byte for byte, not pictures by pixels and sounds by samples")
    args = parser.parse_args(argv)
    with tempfile.TemporaryDirectory(prefix="quimbo-assets-") as made:
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_assets.py"), "--out", made],
                       check=True)
        problems, count = compare(made, args.bytes)
        moved = moved_libraries(made)
    for p in problems:
        print(p)
    if moved:
        print("libraries moved since %s was written: %s" % (MADE_WITH, "; ".join(moved)))
        if not problems:
            print("every file is as committed; `make assets` writes the new versions down")
    print("%d files compared %s, %d problems"
          % (count, "byte for byte" if args.bytes else "by pixels, samples and bytes", len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
