"""The desktop icons at the hicolor sizes, drawn by the asset generator (tools/assetgen/icons.py).

Usage: make icons (the Makefile's PYTHON, tools/make_icons.py [--out DIR])

Writes packaging/icons/<N>x<N>/apps/<id>.png for each size, and the web page's home-screen
icons packaging/web/icons/icon-192.png and icon-512.png (under DIR and DIR/web with --out, so
that a test can compare the two). Run it from anywhere; it finds the project from its own place.
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
WEB_OUT = os.path.join(ROOT, "packaging", "web", "icons")
WEB_SIZES = (192, 512)  # what a phone's home screen and its splash screen ask of a web app


def save(picture, path):
    # No time stamp or other text chunks: the same drawing always gives the same bytes.
    picture.save(path, "PNG", compress_level=9)
    print("icon", os.path.relpath(path, ROOT) if path.startswith(ROOT + os.sep) else path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=OUT, help="the folder for the <N>x<N> folders")
    out = parser.parse_args().out
    for size, picture in icons.build().items():
        folder = os.path.join(out, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        save(picture, os.path.join(folder, ICON_NAME + ".png"))
    web_out = WEB_OUT if out == OUT else os.path.join(out, "web")
    os.makedirs(web_out, exist_ok=True)
    box = icons.extent()
    for size in WEB_SIZES:
        save(icons.icon(size, box), os.path.join(web_out, "icon-%d.png" % size))


if __name__ == "__main__":
    main()
