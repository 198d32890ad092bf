#!/usr/bin/python3
"""The desktop icon: Quimbo's first frame, cut from its sheet, at the hicolor sizes.

Reads Data/Gfx/quimbo_normal.PNG (a row of equally wide frames, pure green as the
transparent colour), keeps the first frame, makes the green see-through, trims it to
the drawing, centres it on a square and writes packaging/icons/<N>x<N>/apps/<id>.png
for each size. Run it from anywhere; it finds the project from its own place.
"""

import os
import sys

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHEET = os.path.join(ROOT, "Data", "Gfx", "quimbo_normal.PNG")
FRAMES = 3  # the sheet's frame count, as the game loads it
KEY = (0, 255, 0)
ICON_NAME = "net.quimbo.Quimbo"  # the same id as the .desktop file and the metainfo
SIZES = (32, 48, 64, 128, 256)
OUT = os.path.join(ROOT, "packaging", "icons")
MARGIN = 1 / 16  # room round the drawing, as a share of the icon's side


def first_frame(path):
    sheet = Image.open(path).convert("RGB")
    width = sheet.width // FRAMES
    frame = sheet.crop((0, 0, width, sheet.height))
    rgba = Image.new("RGBA", frame.size)
    rgba.putdata([(r, g, b, 0) if (r, g, b) == KEY else (r, g, b, 255)
                  for r, g, b in frame.getdata()])
    box = rgba.getbbox()
    if box is None:
        sys.exit("make_icons: the first frame of %s is all colour key" % path)
    return rgba.crop(box)


def square(picture):
    side = max(picture.size)
    side += 2 * round(side * MARGIN)
    canvas = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    canvas.paste(picture, ((side - picture.width) // 2, (side - picture.height) // 2))
    return canvas


FAINT = 8  # alpha below which a pixel of the scaled edge cannot be seen


def scaled(picture, size):
    # Scaled with premultiplied alpha, so the key's green does not bleed into the edges. The
    # filter leaves a faint ring of near-invisible pixels whose colours come out of the
    # division by a tiny alpha at random; they are cleared.
    small = picture.convert("RGBa").resize((size, size), Image.LANCZOS).convert("RGBA")
    small.putdata([p if p[3] >= FAINT else (0, 0, 0, 0) for p in small.getdata()])
    return small


def main():
    if not os.path.exists(SHEET):
        sys.exit("make_icons: %s is missing; make the assets first" % SHEET)
    art = square(first_frame(SHEET))
    for size in SIZES:
        folder = os.path.join(OUT, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, ICON_NAME + ".png")
        # No time stamp or other metadata: the same sheet always gives the same bytes.
        scaled(art, size).save(path, optimize=True)
        print("icon", os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
