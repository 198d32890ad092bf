#!/usr/bin/python3
"""Makes every data file of the game from source: 33 pictures, 7 sounds, 2 fonts, the contact sheet.

Usage: /usr/bin/python3 tools/make_assets.py [--out DIR]

Without --out it writes into the repository (Data/ and docs/assets.png); with --out it writes
the same tree under DIR, so that a test can compare the two byte for byte. Every run gives the
same bytes: fixed seeds, no clock, PNG without time or text chunks, plain RIFF WAV.
"""

import argparse
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import canvas, contact, critters, player, screens, sounds, world  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The asset catalogue: file name and frame count; 0 marks a plain picture.
CATALOGUE = [
    ("quimbo_normal.PNG", 3),
    ("quimbo_zap.PNG", 3),
    ("quimbo_bubble.PNG", 1),
    ("quimbo_falling.PNG", 6),
    ("quimbo_slime.PNG", 1),
    ("boost.PNG", 8),
    ("scenery0.PNG", 1),
    ("scenery1.PNG", 1),
    ("scenery2.PNG", 1),
    ("scenery3.PNG", 1),
    ("scenery4.PNG", 1),
    ("scenery5.PNG", 1),
    ("zap.PNG", 8),
    ("dorpoball.PNG", 1),
    ("birdr_normal.PNG", 14),
    ("birdr_dying.PNG", 6),
    ("birdr_falling.PNG", 2),
    ("birdl_normal.PNG", 14),
    ("birdl_dying.PNG", 6),
    ("birdl_falling.PNG", 2),
    ("plane_normal.PNG", 2),
    ("plane_falling.PNG", 2),
    ("slime.PNG", 6),
    ("slime_blowing.PNG", 4),
    ("bubble.PNG", 4),
    ("cursor.PNG", 1),
    ("taustakuva.PNG", 0),
    ("hudi.PNG", 0),
    ("menu.PNG", 0),
    ("topten.PNG", 0),
    ("gameover.PNG", 0),
    ("pausebox.PNG", 0),
    ("pause.PNG", 0),
]

FONTS = [  # (file in Data/Fonts, DejaVu file it is a copy of)
    ("verdana.ttf", "DejaVuSans.ttf"),
    ("verdanab.ttf", "DejaVuSans-Bold.ttf"),
]
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


def pictures():
    gfx = {}
    gfx.update(player.build())
    gfx.update(critters.build())
    gfx.update(world.build())
    gfx.update(screens.build({k: v for k, v in gfx.items() if k.startswith("scenery")}))
    names = [n for n, _ in CATALOGUE]
    if sorted(gfx) != sorted(names):
        raise SystemExit("pictures made do not match the catalogue: %s" % sorted(set(gfx) ^ set(names)))
    for name, frames in CATALOGUE:
        if frames and gfx[name].shape[1] % frames:
            raise SystemExit("%s is not a whole number of frames" % name)
    return gfx


def fonts(font_dir):
    os.makedirs(font_dir, exist_ok=True)
    for name, source in FONTS:
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

    gfx = pictures()
    for name, _ in CATALOGUE:
        canvas.save_png(gfx[name], os.path.join(root, "Data", "Gfx", name))
    sounds.build(os.path.join(root, "Data", "Sound"))
    fonts(os.path.join(root, "Data", "Fonts"))
    contact.build(gfx, CATALOGUE, os.path.join(root, "docs", "assets.png"))
    print("make_assets: %d pictures, %d sounds, %d fonts and the contact sheet in %s (%.1f s)"
          % (len(gfx), len(sounds.SOUNDS), len(FONTS), root, time.monotonic() - start))


if __name__ == "__main__":
    main()
