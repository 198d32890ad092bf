#!/usr/bin/python3
"""Makes every data file of the game from source: the pictures, sounds and fonts of tools/catalogue.tsv,
and the contact sheet.

Usage: make assets (or the Makefile's PYTHON, tools/make_assets.py [--out DIR])

Without --out it writes into the repository (Data/ and docs/assets.png); with --out it writes
the same tree under DIR, so that a test can compare the two byte for byte. Every run gives the
same bytes with the same libraries: fixed seeds, no clock, PNG without time or text chunks, plain
RIFF WAV. Which libraries those were goes into Data/made-with.txt, so that when a library update
changes the bytes (a new zlib compresses the same pixels otherwise), the check says which moved.
"""

import argparse
import os
import platform
import shutil
import subprocess
import sys
import time
import zlib

sys.dont_write_bytecode = True  # leave no __pycache__ in the tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import canvas, contact, critters, player, screens, sounds, world  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The project's one list of data files (kind, file under Data/, frames, width, height).
CATALOGUE_FILE = os.path.join(REPO, "tools", "catalogue.tsv")

# What each font of the catalogue is a copy of, by its file under Data/Fonts.
FONT_SOURCES = {
    "verdana.ttf": "DejaVuSans.ttf",
    "verdanab.ttf": "DejaVuSans-Bold.ttf",
}
DEJAVU_DIR = "/usr/share/fonts/truetype/dejavu"
DEJAVU_LICENCE = "/usr/share/doc/fonts-dejavu-core/copyright"

FONTS_README = """The fonts of Quimbo Harvo & Zelva Dorpo

verdana.ttf   is DejaVu Sans       (DejaVuSans.ttf),      unchanged
verdanab.ttf  is DejaVu Sans Bold  (DejaVuSans-Bold.ttf), unchanged

The game opens its fonts under the names above; the files are the free DejaVu fonts,
copied byte for byte from Debian's fonts-dejavu-core package by tools/make_assets.py.
Their licence (Bitstream Vera licence, DejaVu changes in the public domain) is in
DejaVu-LICENSE.txt beside this file, copied from the package's copyright file.
"""


# The record of the libraries the data was made with, beside the data.
MADE_WITH_FILE = "made-with.txt"
MADE_WITH_HEADER = ("# The libraries tools/make_assets.py made this folder with: the same versions make the\n"
                    "# same bytes. `make check-assets` names the ones that moved when a file differs.\n")


def made_with():
    """(library, version) of everything that shapes the bytes of the data files."""
    import cairo
    import numpy
    import PIL
    from PIL import features

    try:
        dejavu = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "fonts-dejavu-core"],
                                capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        dejavu = "unknown"
    return [("python", platform.python_version()),
            ("pillow", PIL.__version__),
            ("pillow-zlib", features.version("zlib") or "unknown"),
            ("pycairo", cairo.version),
            ("cairo", cairo.cairo_version_string()),
            ("numpy", numpy.__version__),
            ("zlib", zlib.ZLIB_RUNTIME_VERSION),
            ("fonts-dejavu-core", dejavu)]


def write_made_with(data_dir):
    with open(os.path.join(data_dir, MADE_WITH_FILE), "w", encoding="ascii", newline="\n") as f:
        f.write(MADE_WITH_HEADER)
        for name, version in made_with():
            f.write("%s %s\n" % (name, version))


def read_made_with(path):
    """The record as {library: version}; empty when there is none."""
    try:
        with open(path, encoding="ascii") as f:
            return dict(line.split(None, 1) for line in f.read().splitlines()
                        if line.strip() and not line.startswith("#"))
    except FileNotFoundError:
        return {}


def read_catalogue():
    """The catalogue's rows as (kind, name in its Data/ folder, frames), in the file's order."""
    rows = []
    with open(CATALOGUE_FILE, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                kind, path, frames = line.rstrip("\n").split("\t")[:3]
                rows.append((kind, path.split("/", 1)[1], int(frames)))
    return rows


def picture_list(catalogue):
    """(name, frames) of every picture: the sheets first, then the single pictures (0 frames),
    each in the catalogue's order, as the contact sheet shows them."""
    rows = [(name, frames) for kind, name, frames in catalogue if kind == "picture"]
    return [r for r in rows if r[1]] + [r for r in rows if not r[1]]


def names_of(catalogue, kind):
    return [name for k, name, _ in catalogue if k == kind]


def pictures(picture_rows):
    gfx = {}
    gfx.update(player.build())
    gfx.update(critters.build())
    gfx.update(world.build())
    gfx.update(screens.build({k: v for k, v in gfx.items() if k.startswith("scenery")}))
    names = [n for n, _ in picture_rows]
    if sorted(gfx) != sorted(names):
        raise SystemExit("pictures made do not match the catalogue: %s" % sorted(set(gfx) ^ set(names)))
    for name, frames in picture_rows:
        if frames and gfx[name].shape[1] % frames:
            raise SystemExit("%s is not a whole number of frames" % name)
    return gfx


def fonts(font_dir, names):
    if sorted(names) != sorted(FONT_SOURCES):
        raise SystemExit("fonts known do not match the catalogue: %s" % sorted(set(names) ^ set(FONT_SOURCES)))
    os.makedirs(font_dir, exist_ok=True)
    for name in names:
        source = FONT_SOURCES[name]
        shutil.copyfile(os.path.join(DEJAVU_DIR, source), os.path.join(font_dir, name))
    shutil.copyfile(DEJAVU_LICENCE, os.path.join(font_dir, "DejaVu-LICENSE.txt"))
    with open(os.path.join(font_dir, "README.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write(FONTS_README)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", help="write the tree under this directory instead of the repository")
    args = parser.parse_args()
    root = os.path.abspath(args.out) if args.out else REPO
    start = time.monotonic()

    catalogue = read_catalogue()
    picture_rows = picture_list(catalogue)
    gfx = pictures(picture_rows)
    for name, _ in picture_rows:
        canvas.save_png(gfx[name], os.path.join(root, "Data", "Gfx", name))
    sound_names = names_of(catalogue, "sound")
    if sorted(sound_names) != sorted(sounds.SOUNDS):
        raise SystemExit("sounds made do not match the catalogue: %s" % sorted(set(sound_names) ^ set(sounds.SOUNDS)))
    sounds.build(os.path.join(root, "Data", "Sound"))
    font_names = names_of(catalogue, "font")
    fonts(os.path.join(root, "Data", "Fonts"), font_names)
    contact.build(gfx, picture_rows, os.path.join(root, "docs", "assets.png"))
    write_made_with(os.path.join(root, "Data"))
    print("make_assets: %d pictures, %d sounds, %d fonts and the contact sheet in %s (%.1f s)"
          % (len(gfx), len(sound_names), len(font_names), root, time.monotonic() - start))


if __name__ == "__main__":
    main()
