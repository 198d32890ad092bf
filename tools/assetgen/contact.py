"""The contact sheet docs/assets.png: every sheet frame by frame, every picture, with its name."""

import math

import cairo
import numpy as np
from PIL import Image

from . import canvas as cv
from .palette import KEY

WIDTH = 1320
MARGIN = 16
GAP = 6
LABEL_H = 22
BACK = (112, 112, 118)  # neutral grey, where the key colour is transparent
TILE = (136, 136, 142)  # each frame's own box, so the frame size shows


def scaled(rgb, zoom):
    """Integer zoom up (nearest) or a whole-number reduction (box average)."""
    if zoom >= 1:
        return np.repeat(np.repeat(rgb, int(zoom), axis=0), int(zoom), axis=1)
    im = Image.fromarray(rgb).reduce(int(round(1 / zoom)))
    return np.asarray(im)


def entries(gfx, catalogue):
    """(label, list of frame pictures, zoom, keyed) for every picture in catalogue order."""
    out = []
    for name, frames in catalogue:
        rgb = gfx[name]
        h, w = rgb.shape[:2]
        if frames:
            fw = w // frames
            zoom = 4 if fw <= 24 else 2 if fw <= 64 else 1
            parts = [rgb[:, k * fw : (k + 1) * fw] for k in range(frames)]
            label = "%s   %d frame%s of %d x %d" % (name, frames, "s" if frames > 1 else "", fw, h)
            out.append((label, parts, zoom, True))
        else:
            zoom = 0.25 if w >= 1024 and h > 128 else 0.5 if w >= 1024 else 16 if w <= 4 else 1
            label = "%s   %d x %d%s" % (name, w, h, "   (shown at 1/%d)" % round(1 / zoom) if zoom < 1 else "")
            out.append((label, [rgb], zoom, name == "pause.PNG"))
    return out


def label_width(text):
    """The width of a label as cv.text will write it."""
    ctx = cairo.Context(cairo.ImageSurface(cairo.FORMAT_ARGB32, 4, 4))
    cv.font(ctx, 13, bold=True)
    return ctx.text_extents(text).x_advance + 4


def build(gfx, catalogue, path):
    items = entries(gfx, catalogue)
    # Lay out: each entry is a label over a row of tiles, wrapping when a row is full.
    placed = []  # (x, y, picture, keyed)
    labels = []  # (x, baseline, text)
    x, y, row_h = MARGIN, MARGIN, 0
    for label, parts, zoom, is_keyed in items:
        pics = [scaled(p, zoom) for p in parts]
        block_w = sum(p.shape[1] + 2 * 2 + GAP for p in pics) - GAP
        block_w = min(max(block_w, int(math.ceil(label_width(label)))), WIDTH - 2 * MARGIN)
        if x > MARGIN and x + block_w > WIDTH - MARGIN:
            x, y, row_h = MARGIN, y + row_h + 14, 0
        labels.append((x, y + 15, label))
        cx, cy, line_h = x, y + LABEL_H, 0
        for p in pics:
            pw, ph = p.shape[1] + 4, p.shape[0] + 4
            if cx + pw > WIDTH - MARGIN:
                cx, cy, line_h = x, cy + line_h + GAP, 0
            placed.append((cx, cy, p, is_keyed))
            cx += pw + GAP
            line_h = max(line_h, ph)
        row_h = max(row_h, cy + line_h - y)
        x += block_w + 24
    height = y + row_h + MARGIN

    sheet = np.empty((height, WIDTH, 3), dtype=np.uint8)
    sheet[...] = BACK
    for px, py, p, is_keyed in placed:
        h, w = p.shape[:2]
        sheet[py : py + h + 4, px : px + w + 4] = TILE
        region = sheet[py + 2 : py + 2 + h, px + 2 : px + 2 + w]
        if is_keyed:
            art = ~np.all(p == np.array(KEY, dtype=np.uint8), axis=2)
            region[art] = p[art]
        else:
            region[...] = p

    def write(ctx):
        for lx, ly, text in labels:
            cv.text(ctx, text, lx, ly, 13, (250, 250, 250), bold=True, edge=(40, 40, 48), edge_w=2.5)
            cv.text(ctx, text, lx, ly, 13, (250, 250, 250), bold=True)

    cv.save_png(cv.over_rgb(cv.reduce(cv.render(WIDTH, height, write, 1), 1), sheet), path)
