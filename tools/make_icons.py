"""The desktop icons at the hicolor sizes, drawn by the asset generator (tools/assetgen/icons.py).

Usage: make icons (the Makefile's PYTHON, tools/make_icons.py [--out DIR])

Writes packaging/icons/<N>x<N>/apps/<id>.png for each size (under DIR with --out, so that a
test can compare the two). Run it from anywhere; it finds the project from its own place.
Every run gives the same bytes.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import icons  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICON_NAME = "net.quimbo.quimbo"  # the same id as the .desktop file and the metainfo
OUT = os.path.join(ROOT, "packaging", "icons")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=OUT, help="the folder for the <N>x<N> folders")
    out = parser.parse_args().out
    for size, picture in icons.build().items():
        folder = os.path.join(out, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, ICON_NAME + ".png")
        # No time stamp or other text chunks: the same drawing always gives the same bytes.
        picture.save(path, "PNG", compress_level=9)
        print("icon", path if out != OUT else os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
