"""The drawing pipeline shared by every picture.

A picture is drawn with cairo at SCALE times its final size into a premultiplied
RGBA array, gets its dark outline by dilating its silhouette, is reduced by box
averaging, and is then either thresholded against the colour key (sprites: every
pixel fully key or fully art) or flattened (plain pictures). Nothing here reads
the clock or an unseeded random source, so every run gives the same bytes.
"""

import math
import os

import cairo
import numpy as np
from PIL import Image

from .palette import INK, KEY

SCALE = 4
_scale_now = [SCALE]  # the scale of the render in progress, for device-space shading


def rgbf(c):
    return tuple(v / 255.0 for v in c)


def color(ctx, c, a=1.0):
    ctx.set_source_rgba(*rgbf(c), a)


def render(w, h, draw, scale=SCALE):
    """Runs draw(ctx) on a w x h picture (user units are final pixels); returns hi-res RGBA."""
    surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, w * scale, h * scale)
    ctx = cairo.Context(surf)
    ctx.scale(scale, scale)
    opts = cairo.FontOptions()
    opts.set_antialias(cairo.ANTIALIAS_GRAY)
    opts.set_hint_style(cairo.HINT_STYLE_NONE)
    opts.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(opts)
    _scale_now.append(scale)
    try:
        draw(ctx)
    finally:
        _scale_now.pop()
    surf.flush()
    stride = surf.get_stride()
    buf = np.ndarray((h * scale, stride // 4, 4), dtype=np.uint8, buffer=surf.get_data())
    # cairo keeps ARGB32 as B, G, R, A bytes on little-endian machines.
    return buf[:, : w * scale, [2, 1, 0, 3]].astype(np.float32) / 255.0


def dilate(mask, r):
    """Grows a boolean mask by r pixels (alternate square and cross steps: an octagon)."""
    for i in range(r):
        p = np.pad(mask, 1)
        if i % 2 == 0:
            mask = p[1:-1, :-2] | p[1:-1, 2:] | p[1:-1, 1:-1]
            p = np.pad(mask, 1)
            mask = p[:-2, 1:-1] | p[2:, 1:-1] | p[1:-1, 1:-1]
        else:
            mask = p[1:-1, 1:-1] | p[:-2, 1:-1] | p[2:, 1:-1] | p[1:-1, :-2] | p[1:-1, 2:]
    return mask


def outline(arr, width=1.6, c=INK, scale=SCALE, silhouette=None):
    """Puts a dark band of `width` final pixels around the silhouette (behind the art).

    `silhouette` (a hi-res RGBA) gives the shape to ring when it differs from the art, as for
    a bubble whose hollow middle must stay clear.
    """
    shape = (silhouette if silhouette is not None else arr)[..., 3] > 0.5
    grown = dilate(shape, int(round(width * scale)))
    if silhouette is not None:
        grown &= ~shape
    grown = grown.astype(np.float32)
    ring = np.empty_like(arr)
    ring[..., :3] = np.array(rgbf(c), dtype=np.float32) * grown[..., None]
    ring[..., 3] = grown
    return over(arr, ring)


def over(top, bottom):
    return top + (1.0 - top[..., 3:4]) * bottom


def tint(arr, c, amount):
    """Mixes the art toward colour c, keeping its coverage (premultiplied)."""
    out = arr.copy()
    target = np.array(rgbf(c), dtype=np.float32) * arr[..., 3:4]
    out[..., :3] = arr[..., :3] * (1 - amount) + target * amount
    return out


def reduce(arr, scale=SCALE):
    h, w = arr.shape[0] // scale, arr.shape[1] // scale
    return arr.reshape(h, scale, w, scale, 4).mean(axis=(1, 3))


def keyed(arr):
    """Low-res RGBA -> RGB uint8 where each pixel is exactly the key or opaque art."""
    a = arr[..., 3]
    art = a >= 0.5
    rgb = arr[..., :3] / np.maximum(a, 1e-6)[..., None]
    out = np.clip(np.rint(rgb * 255.0), 0, 255).astype(np.uint8)
    out[~art] = KEY
    check_no_near_key(out, art)
    return out


def check_no_near_key(out, art):
    r, g, b = (out[..., i].astype(int) for i in range(3))
    near = art & (g > 200) & (r < 60) & (b < 60)
    if near.any():
        ys, xs = np.nonzero(near)
        raise ValueError("art pixel near the colour key at %d,%d" % (xs[0], ys[0]))


def flat(arr, back=(0, 0, 0)):
    """Low-res RGBA -> opaque RGB uint8 over a solid colour."""
    bg = np.array(rgbf(back), dtype=np.float32)
    rgb = arr[..., :3] + (1 - arr[..., 3:4]) * bg
    return np.clip(np.rint(rgb * 255.0), 0, 255).astype(np.uint8)


def over_rgb(layer, rgb):
    """A low-res RGBA layer laid over an opaque RGB uint8 picture; returns RGB uint8."""
    base = rgb.astype(np.float32) / 255.0
    out = layer[..., :3] + (1 - layer[..., 3:4]) * base
    return np.clip(np.rint(out * 255.0), 0, 255).astype(np.uint8)


def sprite(w, h, draw, line=1.6, glints=None, aura=None, aura_w=1.0):
    """One keyed sprite frame: draw, outline, reduce, threshold.

    `glints` draws small lights (sparkles) over the outlined art, so they keep no dark rim.
    `aura` rings the dark outline once more in a light colour, `aura_w` pixels wide: a dark
    line alone vanishes against the night at the top of the sky.
    """
    arr = outline(render(w, h, draw), line)
    if aura is not None:
        arr = outline(arr, aura_w, aura)
    if glints is not None:
        arr = over(render(w, h, glints), arr)
    return keyed(reduce(arr))


def sheet(frames):
    return np.concatenate(frames, axis=1)


def inside(frame, what):
    """Raises unless the keyed frame's art stays off its four edges (art there looks cut)."""
    edges = {"top": frame[0], "bottom": frame[-1], "left": frame[:, 0], "right": frame[:, -1]}
    for name, e in edges.items():
        if (e != np.array(KEY, dtype=np.uint8)).any():
            raise ValueError("%s touches the %s edge of its frame" % (what, name))
    return frame


def paste(dst, src, x, y):
    """Premultiplied `over` of a low-res RGBA src onto dst at (x, y), in place."""
    h, w = src.shape[:2]
    region = dst[y : y + h, x : x + w]
    region[...] = over(src, region)


def save_png(rgb, path):
    """RGB without alpha, no text or time chunks: the same bytes on every run."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    Image.fromarray(np.ascontiguousarray(rgb), "RGB").save(path, "PNG", compress_level=9)


# ---- drawing helpers (user units are final pixels) -------------------------------------


def device_shift(ctx, dx, dy):
    """A shift of (dx, dy) final pixels on the page, in the current user space."""
    s = _scale_now[-1]
    return ctx.device_to_user_distance(dx * s, dy * s)


def shaded(ctx, path, tones, shift=1.6, rim=1.2, line=1.0):
    """Fills `path` in flat tones lit from the top-left of the page and strokes it in ink.

    tones = (dark, base, light): a dark crescent at the bottom-right, a light one at the
    top-left, the base between. Shading follows the page, so mirrored or turning art stays
    lit from the top-left.
    """
    dark, base, light = tones
    ctx.save()
    path(ctx)
    ctx.clip()
    color(ctx, dark)
    ctx.paint()
    m = ctx.get_matrix()
    sx, sy = device_shift(ctx, -shift, -shift)
    ctx.translate(sx, sy)
    path(ctx)
    ctx.set_matrix(m)
    ctx.clip_preserve()
    color(ctx, light)
    ctx.fill()
    rx, ry = device_shift(ctx, rim, rim)
    ctx.translate(rx, ry)
    path(ctx)
    ctx.set_matrix(m)
    color(ctx, base)
    ctx.fill()
    ctx.restore()
    if line:
        ink(ctx, path, line)


def ink(ctx, path, line=1.0, c=INK):
    path(ctx)
    ctx.set_line_width(line)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    color(ctx, c)
    ctx.stroke()


def fill(ctx, path, c, a=1.0):
    path(ctx)
    color(ctx, c, a)
    ctx.fill()


def ellipse(cx, cy, rx, ry, angle=0.0):
    def path(ctx):
        ctx.save()
        ctx.translate(cx, cy)
        ctx.rotate(angle)
        ctx.scale(rx, ry)
        ctx.new_sub_path()
        ctx.arc(0, 0, 1, 0, 2 * math.pi)
        ctx.restore()

    return path


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def poly(points, closed=True):
    def path(ctx):
        ctx.new_sub_path()
        ctx.move_to(*points[0])
        for p in points[1:]:
            ctx.line_to(*p)
        if closed:
            ctx.close_path()

    return path


def smooth(points, closed=True):
    """A closed curve through the points (Catmull-Rom turned into Bezier segments)."""

    def path(ctx):
        n = len(points)
        ctx.new_sub_path()
        ctx.move_to(*points[0])
        last = n if closed else n - 1
        for i in range(last):
            p0 = points[(i - 1) % n] if (closed or i > 0) else points[i]
            p1 = points[i]
            p2 = points[(i + 1) % n]
            p3 = points[(i + 2) % n] if (closed or i + 2 < n) else p2
            c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
            c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
            ctx.curve_to(*c1, *c2, *p2)
        if closed:
            ctx.close_path()

    return path


def rounded(x, y, w, h, r):
    def path(ctx):
        ctx.new_sub_path()
        ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
        ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
        ctx.close_path()

    return path


def star_points(cx, cy, r_out, r_in, angle=0.0, n=5):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = angle - math.pi / 2 + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def sparkle(ctx, cx, cy, r, c, line=0.0):
    """A four-pointed twinkle."""
    pts = star_points(cx, cy, r, r * 0.28, 0.0, 4)
    fill(ctx, poly(pts), c)
    if line:
        ink(ctx, poly(pts), line)


# ---- text ---------------------------------------------------------------------------------

SANS = "DejaVu Sans"
SERIF = "DejaVu Serif"


def font(ctx, size, bold=False, family=SANS):
    weight = cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)


def text(ctx, s, x, y, size, c, bold=False, family=SANS, anchor="left", edge=None, edge_w=0.0):
    """Writes s with its baseline at y; anchor says whether x is the left, centre or right.

    Returns (left, top, right, bottom) of the ink, for layout checks.
    """
    font(ctx, size, bold, family)
    ext = ctx.text_extents(s)
    if anchor == "center":
        x = x - ext.x_advance / 2
    elif anchor == "right":
        x = x - ext.x_advance
    ctx.new_path()
    ctx.move_to(x, y)
    ctx.text_path(s)
    if edge is not None:
        color(ctx, edge)
        ctx.set_line_width(edge_w)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
    color(ctx, c)
    ctx.fill()
    return (x + ext.x_bearing, y + ext.y_bearing, x + ext.x_bearing + ext.width, y + ext.y_bearing + ext.height)


# A heart, point down, centred on (cx, cy) and about 2.6 s wide: the health sign.
def heart(cx, cy, s):
    def path(ctx):
        ctx.new_sub_path()
        ctx.move_to(cx, cy + 0.95 * s)
        ctx.curve_to(cx - 1.3 * s, cy + 0.1 * s, cx - 1.1 * s, cy - 0.95 * s, cx, cy - 0.35 * s)
        ctx.curve_to(cx + 1.1 * s, cy - 0.95 * s, cx + 1.3 * s, cy + 0.1 * s, cx, cy + 0.95 * s)
        ctx.close_path()

    return path
