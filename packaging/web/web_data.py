#!/usr/bin/python3
"""The web release's copy of Data/: the same files, but the two fonts carry only the glyphs
the game can draw, which makes the download about 0.7 MB smaller. The desktop, Windows and
Debian releases keep the whole fonts.

    web_data.py DATA_DIR OUT_DIR

The game writes figures, "%", "-" and the high-score table's names; the fonts keep every
printable ASCII character, so that a new text in plain letters still draws. Each kept glyph is
rendered by FreeType from the whole font and from the subset at the game's sizes, and the two
must give the same pixels. Files are written only when their bytes change, so a second build
does not pack the data again.
"""

import io
import os
import logging
import sys

from fontTools import subset
from PIL import Image, ImageDraw, ImageFont

FONTS = ("Fonts/verdana.ttf", "Fonts/verdanab.ttf")
KEPT = "".join(chr(c) for c in range(0x20, 0x7F))
SIZES = (14, 32)  # the HUD and table font, the game-over score's font


def subset_font(path):
    options = subset.Options()
    # Everything that shapes a glyph's pixels or place stays: hinting, kerning, metrics.
    options.hinting = True
    options.legacy_kern = True
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = True
    options.prune_unicode_ranges = False
    font = subset.load_font(path, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=KEPT)
    subsetter.subset(font)
    out = io.BytesIO()
    subset.save_font(font, out, options)
    return out.getvalue()


def drawn(font, text):
    image = Image.new("L", (40 * len(text), 80))
    ImageDraw.Draw(image).text((4, 4), text, font=font, fill=255)
    return image.tobytes()


def same_pixels(whole_path, subset_bytes):
    for size in SIZES:
        whole = ImageFont.truetype(whole_path, size)
        part = ImageFont.truetype(io.BytesIO(subset_bytes), size)
        for text in list(KEPT) + ["10. bumar 5345234 100 % -1"]:
            if drawn(whole, text) != drawn(part, text):
                return "%r at %d px" % (text, size)
    return None


def write_if_changed(path, content):
    if os.path.isfile(path):
        with open(path, "rb") as f:
            if f.read() == content:
                return
    with open(path, "wb") as f:
        f.write(content)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    data, out = argv[1], argv[2]
    # The subsetter names each table it drops (FontForge's time stamps); nothing to act on.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    wanted = set()
    for folder, _, files in os.walk(data):
        for name in files:
            source = os.path.join(folder, name)
            relative = os.path.relpath(source, data).replace(os.sep, "/")
            target = os.path.join(out, relative)
            wanted.add(relative)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            if relative in FONTS:
                content = subset_font(source)
                differs = same_pixels(source, content)
                if differs:
                    print("web_data.py: the subset of %s draws %s otherwise" % (relative, differs),
                          file=sys.stderr)
                    return 1
            else:
                with open(source, "rb") as f:
                    content = f.read()
            write_if_changed(target, content)
    # A file gone from Data/ leaves the copy too.
    for folder, _, files in os.walk(out):
        for name in files:
            path = os.path.join(folder, name)
            if os.path.relpath(path, out).replace(os.sep, "/") not in wanted:
                os.remove(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
