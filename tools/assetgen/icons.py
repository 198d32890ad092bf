"""The desktop icons: the magician on his carpet, drawn afresh at each icon size.

The icon is not a scaled sprite: the same vector drawing that makes his sprite sheet is
drawn straight into each square, tilted as if the carpet were climbing, so that the art
fills the square the way desktop icons do and every size is sharp. The wand is raised
with its star burning, as when he casts. Nothing here reads the clock: every run gives
the same pixels.
"""

import cairo
import numpy as np
from PIL import Image

from . import canvas as cv
from . import player

SIZES = (32, 48, 64, 128, 256)
TILT = -0.40  # radians: the carpet climbs towards the upper right
FILL = 0.94  # share of the side that the drawing's longer span takes
PHASE = 0.25  # the carpet's wave, chosen so the tassels hang clear of the body
POSE = "lift"
BURST = 0.8  # the size of the light at the wand's tip
MEASURE = 200  # side, in sprite pixels, of the scratch square the drawing is measured in
OUTLINE = 1.6  # the sprites' outline, in sprite pixels
# In the game he sits at the back of the carpet, so that his wand reaches where the stars
# start; the icon seats him in the middle, where the tilted drawing fills a square.
SEAT = 0


def turned(ctx):
    """Turns the sprite frame about its middle."""
    ctx.rotate(TILT)
    ctx.translate(-player.W / 2, -player.H / 2)


def magician(ctx):
    turned(ctx)
    player.magician(ctx, PHASE, POSE, seat=SEAT)


def light(ctx):
    """The star of light at the wand's tip. It is drawn over the outline, without a dark rim
    of its own, so that its rays stay bright in the smallest icons."""
    turned(ctx)
    x, y = wand_tip()
    player.burst(ctx, x, y, BURST, 0.35)


def wand_tip():
    """Where the magician's drawing puts the wand's tip, in sprite pixels: it is drawn once
    on a scratch surface, which also tells where the carpet's wave has lifted him."""
    scratch = cairo.Context(cairo.ImageSurface(cairo.FORMAT_ARGB32, 1, 1))
    return player.magician(scratch, PHASE, POSE, seat=SEAT)


def drawn(side, units_per_px, centre, outline_px):
    """Premultiplied RGBA (side x side) of the drawing, `units_per_px` sprite pixels to one
    icon pixel, with `centre` (in sprite pixels, relative to the turn's middle) in the middle."""

    def placed(draw):
        def place(ctx):
            # The shading's offsets are given in final pixels; counting them in sprite
            # pixels keeps the light and shadow in the same proportion at every size.
            cv._scale_now[-1] /= units_per_px
            ctx.translate(side / 2, side / 2)
            ctx.scale(1 / units_per_px, 1 / units_per_px)
            ctx.translate(-centre[0], -centre[1])
            draw(ctx)
        return place

    art = cv.outline(cv.render(side, side, placed(magician)), outline_px)
    return cv.reduce(cv.over(cv.render(side, side, placed(light)), art))


def extent():
    """The outlined drawing's box (x0, y0, x1, y1) in sprite pixels, about the turn's middle."""
    art = drawn(MEASURE, 1.0, (0.0, 0.0), OUTLINE)
    ys, xs = np.nonzero(art[..., 3] > 0)
    half = MEASURE / 2
    if xs.size == 0 or xs.min() == 0 or ys.min() == 0 or xs.max() == MEASURE - 1 \
            or ys.max() == MEASURE - 1:
        raise ValueError("the magician does not fit the measuring square")
    return xs.min() - half, ys.min() - half, xs.max() + 1 - half, ys.max() + 1 - half


def icon(size, box):
    """The icon at `size` pixels as a PIL RGBA picture."""
    x0, y0, x1, y1 = box
    span = max(x1 - x0, y1 - y0) - 2 * OUTLINE  # the art without its outline
    units_per_px = span / (FILL * size - 2 * OUTLINE * FILL * size / span)
    # A line under one pixel would vanish in the small sizes; the art shrinks to make room.
    outline_px = OUTLINE / units_per_px
    if outline_px < 1.0:
        outline_px = 1.0
        units_per_px = span / (FILL * size - 2.0)
    art = drawn(size, units_per_px, ((x0 + x1) / 2, (y0 + y1) / 2), outline_px)
    alpha = art[..., 3:4]
    rgb = art[..., :3] / np.maximum(alpha, 1e-6)
    rgba = np.concatenate([rgb, alpha], axis=2)
    pixels = np.clip(np.rint(rgba * 255.0), 0, 255).astype(np.uint8)
    pixels[pixels[..., 3] == 0] = 0  # see-through pixels carry no stray colour
    return Image.fromarray(np.ascontiguousarray(pixels), "RGBA")


def build():
    """Returns {size: PIL RGBA picture} for every icon size."""
    box = extent()
    return {size: icon(size, box) for size in SIZES}
