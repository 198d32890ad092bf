"""The world behind the actors: the dusk sky, the six landscape pieces and the HUD panel."""

import math
import random

import cairo
import numpy as np

from . import canvas as cv
from .palette import KEY
from .palette import (
    BUBBLE_LT,
    CLOUD_DK,
    DUSK,
    FAR_HILL,
    GLOW,
    GOLD,
    GOLD_DK,
    GOLD_LT,
    GRASS,
    GRASS_DK,
    GRASS_LT,
    MAUVE,
    NEAR_HILL,
    NIGHT,
    ORANGE,
    PANEL,
    PANEL_DK,
    PANEL_LT,
    PINK,
    RED,
    RED_DK,
    RED_LT,
    ROBE,
    ROBE_DK,
    ROBE_LT,
    ROOF,
    SLIME,
    SLIME_DK,
    SLIME_LT,
    SOIL,
    STONE,
    STONE_DK,
    STONE_LT,
    VIOLET,
    WHITE,
    WINDOW,
    WOOD,
    WOOD_LT,
    CANARY,
    BUBBLE,
)

TAU = 2 * math.pi
HORIZON = 640  # the top edge of the HUD panel, where the landscape stands
GOLD_T = (GOLD_DK, GOLD, GOLD_LT)

# ---- the dusk sky --------------------------------------------------------------------


def sky(ctx, w=1024, h=768, seed=7, horizon=HORIZON):
    """The dusk sky down to `horizon`, with far hills standing on it."""
    g = cairo.LinearGradient(0, 0, 0, horizon)
    for stop, c in ((0.0, NIGHT), (0.32, DUSK), (0.58, VIOLET), (0.76, MAUVE), (0.88, PINK),
                    (0.96, ORANGE), (1.0, GLOW)):
        g.add_color_stop_rgb(stop, *cv.rgbf(c))
    ctx.rectangle(0, 0, w, h)
    ctx.set_source(g)
    ctx.fill()
    # The clouds first, so that the stars can keep out of them.
    layer = clouds_layer(w, h)
    ctx.set_source_surface(layer.surface, 0, 0)
    ctx.paint()
    rng = random.Random(seed)
    for _ in range(150):  # faint stars, thinning toward the horizon, none behind a cloud
        x, y = rng.uniform(0, w), rng.uniform(0, 330) ** 1.0
        if rng.random() < y / 360:
            continue
        r = rng.choice((0.6, 0.7, 0.9, 1.2))
        a = 0.45 + 0.5 * rng.random()
        if layer.cover(x, y, r + 3) > 0.02:
            continue
        cv.fill(ctx, cv.circle(x, y, r), WHITE, a)
    for x, y, s in ((130, 70, 4.0), (300, 150, 3.0), (610, 48, 3.5), (930, 260, 3.0), (470, 220, 2.5)):
        cv.sparkle(ctx, x, y, s, WHITE)
    # The moon with a soft halo.
    halo = cairo.RadialGradient(820, 130, 40, 820, 130, 130)
    halo.add_color_stop_rgba(0, *cv.rgbf(GLOW), 0.35)
    halo.add_color_stop_rgba(1, *cv.rgbf(GLOW), 0.0)
    ctx.arc(820, 130, 130, 0, TAU)
    ctx.set_source(halo)
    ctx.fill()
    cv.fill(ctx, cv.circle(820, 130, 44), (255, 238, 196))
    for x, y, r in ((806, 118, 9), (836, 146, 6), (828, 112, 4), (800, 148, 5)):
        cv.fill(ctx, cv.circle(x, y, r), (236, 214, 176))
    hills(ctx, w, horizon)


# The weather: (middle x, middle y, width, height, seed, puffs). A heaped bank, a mid-sized
# cloud, a small puff and two long thin streaks: shapes and heights that differ, so the sky
# does not repeat one cloud.
CLOUDS = (
    (250, 330, 310, 48, 1, 7),
    (700, 262, 220, 32, 2, 5),
    (470, 468, 120, 24, 3, 3),
    (880, 420, 270, 15, 4, 6),
    (120, 528, 210, 13, 5, 5),
)
CLOUD_TOP = (198, 174, 218)  # lit by the moon above
CLOUD_BOTTOM = (228, 142, 152)  # lit by the glow at the horizon below
CLOUD_ALPHA = 0.55


class CloudLayer:
    """The sky's clouds as one soft picture laid over the gradient, and how much of the sky
    they cover at a point."""

    def __init__(self, rgba):
        self.alpha = rgba[..., 3]
        h, w = self.alpha.shape
        premul = np.clip(np.rint(rgba[..., :3] * rgba[..., 3:4] * 255.0), 0, 255).astype(np.uint8)
        bgra = np.dstack([premul[..., 2], premul[..., 1], premul[..., 0],
                          np.clip(np.rint(rgba[..., 3] * 255.0), 0, 255).astype(np.uint8)])
        self.data = np.ascontiguousarray(bgra)
        self.surface = cairo.ImageSurface.create_for_data(memoryview(self.data), cairo.FORMAT_ARGB32, w, h,
                                                          w * 4)

    def cover(self, x, y, r):
        h, w = self.alpha.shape
        x0, x1 = max(0, int(x - r)), min(w, int(x + r) + 1)
        y0, y1 = max(0, int(y - r)), min(h, int(y + r) + 1)
        return float(self.alpha[y0:y1, x0:x1].max()) if x0 < x1 and y0 < y1 else 0.0


def smoothstep(e0, e1, v):
    t = np.clip((v - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def cloud_field(xs, ys, cx, cy, width, height, seed, puffs):
    """How far inside one cloud each point lies: a smooth maximum of its puffs' fields, so the
    puffs merge into one outline with no seam or crease where they meet. The heap rises from
    a flat base."""
    rng = random.Random(seed * 31 + 7)
    base = cy + height / 2
    total = np.zeros(xs.shape)
    soft = 0.3  # how round the joins between puffs are: round enough to fill the dips
    for i in range(puffs):
        u = (i + 0.5) / puffs
        hump = math.sin(math.pi * u) ** 0.7  # tallest in the middle
        px = cx - width / 2 + width * u + rng.uniform(-0.25, 0.25) * width / puffs
        ry = height * (0.35 + 0.65 * hump) * rng.uniform(0.85, 1.0)
        rx = max(width / puffs * rng.uniform(0.9, 1.3), ry * 1.2)
        py = base - ry * 0.55
        total += np.exp(np.maximum(1 - ((xs - px) / rx) ** 2 - ((ys - py) / ry) ** 2, -3.0) / soft)
    field = soft * np.log(total)
    # The flat base, soft as the rest of the edge.
    return np.minimum(field, (base - ys) / max(4.0, height * 0.3))


def clouds_layer(w, h):
    """Straight RGBA (floats 0 to 1) of the sky's clouds, w x h: each cloud lit from the moon
    above and the glow below, with an edge that fades over a few pixels."""
    rgba = np.zeros((h, w, 4), dtype=np.float64)
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float64) + 0.5
    for cx, cy, width, height, seed, puffs in CLOUDS:
        x0, x1 = max(0, int(cx - width / 2 - 40)), min(w, int(cx + width / 2 + 40))
        y0, y1 = max(0, int(cy - height)), min(h, int(cy + height))
        sx, sy = xs[y0:y1, x0:x1], ys[y0:y1, x0:x1]
        a = smoothstep(0.0, 0.7, cloud_field(sx, sy, cx, cy, width, height, seed, puffs)) * CLOUD_ALPHA
        v = smoothstep(cy - height / 2, cy + height / 2, sy)[..., None]
        colour = (np.array(CLOUD_TOP) * (1 - v) + np.array(CLOUD_BOTTOM) * v) / 255.0
        region = rgba[y0:y1, x0:x1]
        # Where two clouds meet, the nearer (later) one covers the other.
        out_a = a + region[..., 3] * (1 - a)
        mixed = (colour * a[..., None] + region[..., :3] * (region[..., 3:4] * (1 - a[..., None])))
        region[..., :3] = np.where(out_a[..., None] > 0, mixed / np.maximum(out_a[..., None], 1e-9), 0)
        region[..., 3] = out_a
    return CloudLayer(rgba)


def hills(ctx, w=1024, horizon=HORIZON):
    """Two rows of far hills along the horizon, with the ground below them."""
    for base, amp, c, seed in ((horizon - 40, 46, FAR_HILL, 3), (horizon - 18, 30, NEAR_HILL, 5)):
        rng = random.Random(seed)
        waves = [(rng.uniform(0.5, 2.5), rng.uniform(0, TAU), rng.uniform(0.4, 1.0)) for _ in range(3)]
        ctx.new_path()
        ctx.move_to(0, 800)
        for x in range(0, w + 8, 8):
            y = base - amp * sum(a * (0.5 + 0.5 * math.sin(TAU * f * x / w + p)) for f, p, a in waves) / 2
            ctx.line_to(x, y)
        ctx.line_to(w, 800)
        ctx.close_path()
        cv.color(ctx, c)
        ctx.fill()
    ctx.rectangle(0, horizon, w, 200)
    cv.color(ctx, (34, 30, 58))
    ctx.fill()


def background():
    return cv.flat(cv.reduce(cv.render(1024, 768, sky, 2), 2))


# ---- the landscape pieces: 256 wide, standing on y 640 ------------------------------

PIECE_W = 256
GROUND = 22  # the ground band is this high at both ends of every piece, so any two join
GRASS_T = (GRASS_DK, GRASS, GRASS_LT)
STONE_T = (STONE_DK, STONE, STONE_LT)
WOOD_T = (SOIL, WOOD, WOOD_LT)
LEAF_T = ((36, 64, 60), (58, 94, 70), (92, 126, 80))


def ground(ctx, h, rise=0.0):
    """The ground band; `rise` lifts its middle into a low hill."""
    top = lambda x: h - GROUND - rise * math.sin(math.pi * x / PIECE_W) ** 2
    pts = [(x, top(x)) for x in range(-2, PIECE_W + 3, 4)]
    pts[0] = (-2, h - GROUND)
    pts[-1] = (PIECE_W + 2, h - GROUND)
    shape = cv.poly(pts + [(PIECE_W + 2, h + 2), (-2, h + 2)])
    cv.fill(ctx, shape, GRASS_DK)
    band = cv.poly(pts + [(x, y + 5) for x, y in reversed(pts)])
    cv.fill(ctx, band, GRASS)
    cv.fill(ctx, cv.poly(pts + [(x, y + 1.6) for x, y in reversed(pts)]), GRASS_LT)
    rng = random.Random(h * 7 + int(rise))
    for _ in range(14):  # tufts and pebbles
        x = rng.uniform(6, PIECE_W - 6)
        y = top(x) + rng.uniform(8, GROUND - 4 + rise * 0.5)
        if rng.random() < 0.5:
            cv.fill(ctx, cv.ellipse(x, y, 3, 1.6), GRASS)
        else:
            cv.fill(ctx, cv.ellipse(x, y, 2.2, 1.4), SOIL)
    return top


def tree(ctx, x, base, size, seed):
    rng = random.Random(seed)
    trunk = cv.poly([(x - size * 0.1, base), (x - size * 0.06, base - size * 0.9), (x + size * 0.06, base - size * 0.9),
                     (x + size * 0.12, base)])
    cv.shaded(ctx, trunk, WOOD_T, shift=1.2, rim=0.8, line=0.8)
    blobs = [(x, base - size * 1.25, size * 0.55)]
    for i in range(5):
        a = TAU * i / 5 + rng.uniform(-0.3, 0.3)
        blobs.append((x + size * 0.42 * math.cos(a), base - size * 1.2 + size * 0.32 * math.sin(a),
                      size * rng.uniform(0.3, 0.4)))
    for bx, by, r in sorted(blobs, key=lambda b: -b[1]):
        cv.shaded(ctx, cv.circle(bx, by, r), LEAF_T, shift=r * 0.3, rim=r * 0.15, line=0)


def bush(ctx, x, base, size):
    for dx, r in ((-0.5, 0.55), (0.5, 0.5), (0, 0.7)):
        cv.shaded(ctx, cv.circle(x + dx * size, base - r * size * 0.8, r * size), LEAF_T, shift=size * 0.2,
                  rim=size * 0.1, line=0)


def flowers(ctx, x0, x1, top, seed):
    rng = random.Random(seed)
    for _ in range(int((x1 - x0) / 7)):
        x = rng.uniform(x0, x1)
        y = top(x) + rng.uniform(1, 6)
        cv.ink(ctx, cv.poly([(x, y), (x, y - 5)], closed=False), 1.0, GRASS_DK)
        c = rng.choice((PINK, CANARY, WHITE, BUBBLE_LT))
        cv.fill(ctx, cv.circle(x, y - 6, 1.8), c)


def piece0(ctx, h=126):
    """The cauldron: its brew lies under the bubble point (60, 6) + the bubble's bottom half."""
    top = ground(ctx, h, 6)
    tree(ctx, 196, top(196) + 4, 50, 11)
    bush(ctx, 140, top(140) + 3, 14)
    # Stones and a little fire under the pot.
    for x, r in ((62, 7), (98, 7), (80, 6)):
        cv.shaded(ctx, cv.ellipse(x, top(x) - 2, r * 1.3, r), STONE_T, shift=1.4, rim=0.8)
    flame = cv.smooth([(70, 94), (74, 84), (78, 88), (81, 78), (85, 88), (89, 83), (91, 94)])
    cv.shaded(ctx, flame, (RED, ORANGE, GOLD_LT), shift=1.2, rim=1.6, line=0.8)
    pot = cv.smooth([(56, 46), (104, 46), (107, 62), (98, 82), (80, 88), (62, 82), (53, 62)])
    cv.shaded(ctx, pot, ((30, 28, 44), (58, 54, 76), (92, 88, 112)), shift=3.0, rim=1.6)
    cv.shaded(ctx, cv.ellipse(80, 45, 28, 5.5), ((30, 28, 44), (70, 66, 90), (110, 106, 130)), shift=1.2,
              rim=0.8)
    cv.fill(ctx, cv.ellipse(80, 45, 22, 3.4), SLIME)
    cv.fill(ctx, cv.ellipse(78, 44.4, 18, 2.2), SLIME_LT)
    for x, r in ((70, 2.2), (88, 2.6), (96, 1.6)):
        cv.shaded(ctx, cv.circle(x, 44.5 - r * 0.4, r), (SLIME_DK, SLIME, WHITE), shift=0.6, rim=0.4, line=0.6)
    for x in (56, 104):  # handles
        cv.ink(ctx, cv.ellipse(x, 54, 4, 5), 3.4)
        cv.ink(ctx, cv.ellipse(x, 54, 4, 5), 1.4, (92, 88, 112))


def piece1(ctx, h=112):
    top = ground(ctx, h, 26)
    tree(ctx, 70, top(70) + 4, 38, 21)
    tree(ctx, 168, top(168) + 4, 36, 22)
    bush(ctx, 122, top(122) + 3, 12)
    bush(ctx, 220, top(220) + 3, 10)
    flowers(ctx, 20, 240, top, 23)


def piece2(ctx, h=140):
    top = ground(ctx, h, 4)
    base = top(128) + 3
    wall = cv.poly([(72, base), (72, base - 50), (184, base - 50), (184, base)])
    cv.shaded(ctx, wall, ((178, 150, 118), (214, 190, 150), (236, 220, 186)), shift=2.0, rim=1.2)
    for x in range(80, 184, 16):  # timber frame
        cv.ink(ctx, cv.poly([(x, base - 50), (x, base)], closed=False), 1.6, WOOD)
    chimney = cv.poly([(150, base - 90), (150, base - 112), (164, base - 112), (164, base - 80)])
    cv.shaded(ctx, chimney, STONE_T, shift=1.4, rim=0.8)
    roof = cv.poly([(62, base - 48), (106, base - 96), (150, base - 96), (194, base - 48)])
    cv.shaded(ctx, roof, ((104, 40, 54), ROOF, (190, 96, 96)), shift=3.0, rim=1.6)
    for y in range(-86, -48, 10):
        cv.ink(ctx, cv.poly([(66 + (y + 48) * -0.9 + 0, base + y), (190 - (y + 48) * -0.9, base + y)],
                            closed=False), 0.9, (104, 40, 54))
    for wx in (84, 150):
        win = cv.rounded(wx, base - 40, 20, 18, 2)
        cv.fill(ctx, win, WINDOW)
        cv.ink(ctx, win, 1.6, WOOD)
        cv.ink(ctx, cv.poly([(wx + 10, base - 40), (wx + 10, base - 22)], closed=False), 1.2, WOOD)
        cv.ink(ctx, cv.poly([(wx, base - 31), (wx + 20, base - 31)], closed=False), 1.2, WOOD)
    door = cv.poly([(116, base), (116, base - 30), (122, base - 36), (134, base - 36), (140, base - 30),
                    (140, base)])
    cv.shaded(ctx, door, WOOD_T, shift=1.4, rim=0.8)
    cv.fill(ctx, cv.circle(135, base - 16, 1.4), GOLD)
    bush(ctx, 52, top(52) + 3, 13)
    bush(ctx, 210, top(210) + 3, 11)
    flowers(ctx, 190, 250, top, 31)


def piece3(ctx, h=160):
    """The windmill, the tallest piece."""
    top = ground(ctx, h, 10)
    base = top(128) + 3
    tower = cv.poly([(104, base), (112, base - 82), (144, base - 82), (152, base)])
    cv.shaded(ctx, tower, STONE_T, shift=3.0, rim=1.6)
    for y in range(int(base - 72), int(base), 14):
        cv.ink(ctx, cv.poly([(108, y), (148, y)], closed=False), 0.8, STONE_DK)
    cap = cv.poly([(106, base - 80), (128, base - 100), (150, base - 80)])
    cv.shaded(ctx, cap, ((104, 40, 54), ROOF, (190, 96, 96)), shift=1.6, rim=1.0)
    door = cv.rounded(121, base - 22, 14, 22, 5)
    cv.shaded(ctx, door, WOOD_T, shift=1.0, rim=0.6)
    cv.fill(ctx, cv.rounded(123, base - 60, 10, 12, 3), WINDOW)
    cv.ink(ctx, cv.rounded(123, base - 60, 10, 12, 3), 1.2, WOOD)
    hub = (128, base - 84)
    for i in range(4):
        a = math.radians(20 + 90 * i)
        dx, dy = math.cos(a), math.sin(a)
        nx, ny = -dy, dx
        p0 = (hub[0] + dx * 8, hub[1] + dy * 8)
        p1 = (hub[0] + dx * 44, hub[1] + dy * 44)
        sail = cv.poly([p0, p1, (p1[0] + nx * 11, p1[1] + ny * 11), (p0[0] + nx * 9, p0[1] + ny * 9)])
        cv.shaded(ctx, sail, ((180, 160, 150), (226, 212, 196), (246, 238, 226)), shift=1.0, rim=0.6)
        for j in range(1, 5):
            t = j / 5
            q = (p0[0] + (p1[0] - p0[0]) * t, p0[1] + (p1[1] - p0[1]) * t)
            cv.ink(ctx, cv.poly([q, (q[0] + nx * 10, q[1] + ny * 10)], closed=False), 0.7, WOOD)
        cv.ink(ctx, cv.poly([hub, p1], closed=False), 2.2, WOOD)
    cv.shaded(ctx, cv.circle(*hub, 4.5), WOOD_T, shift=0.8, rim=0.5)
    bush(ctx, 40, top(40) + 3, 14)
    bush(ctx, 200, top(200) + 3, 12)
    flowers(ctx, 160, 250, top, 41)


def piece4(ctx, h=86):
    """A rocky outcrop with a fence and flowers."""
    top = ground(ctx, h, 2)
    for x, y, rx, ry in ((46, 0, 30, 24), (78, 4, 20, 16), (24, 6, 16, 12)):
        cv.shaded(ctx, cv.ellipse(x, top(x) - ry * 0.7 + y, rx, ry), STONE_T, shift=3.0, rim=1.6)
    for x in range(110, 240, 22):  # fence posts and rails
        post = cv.poly([(x, top(x) + 3), (x, top(x) - 26), (x + 3, top(x) - 30), (x + 6, top(x) - 26),
                        (x + 6, top(x) + 3)])
        cv.shaded(ctx, post, WOOD_T, shift=1.0, rim=0.6, line=0.8)
    for dy in (-20, -10):
        rail = cv.poly([(106, top(106) + dy), (246, top(246) + dy), (246, top(246) + dy + 4),
                        (106, top(106) + dy + 4)])
        cv.shaded(ctx, rail, WOOD_T, shift=0.8, rim=0.5, line=0.8)
    flowers(ctx, 96, 252, top, 51)
    flowers(ctx, 10, 90, top, 52)


def piece5(ctx, h=118):
    """The signpost at the start of every game."""
    top = ground(ctx, h, 8)
    tree(ctx, 206, top(206) + 4, 46, 61)
    base = top(96) + 4
    post = cv.poly([(92, base), (92, base - 78), (100, base - 78), (100, base)])
    cv.shaded(ctx, post, WOOD_T, shift=1.2, rim=0.7)
    for y, text, flip in ((base - 72, "DORPO", False), (base - 48, "HARVO", True)):
        if flip:
            board = cv.poly([(96, y), (46, y), (36, y + 9), (46, y + 18), (96, y + 18)])
        else:
            board = cv.poly([(96, y), (146, y), (156, y + 9), (146, y + 18), (96, y + 18)])
        cv.shaded(ctx, board, ((150, 108, 72), (196, 150, 100), (224, 188, 136)), shift=1.2, rim=0.7)
        cv.text(ctx, text, 72 if flip else 120, y + 13.5, 10.5, (70, 40, 36), bold=True, anchor="center")
    cv.shaded(ctx, cv.circle(96, base - 80, 3.2), GOLD_T, shift=0.6, rim=0.4, line=0.8)
    bush(ctx, 30, top(30) + 3, 13)
    flowers(ctx, 110, 180, top, 62)


PIECES = [(piece0, 126), (piece1, 112), (piece2, 140), (piece3, 160), (piece4, 86), (piece5, 118)]


def scenery():
    out = {}
    for i, (fn, h) in enumerate(PIECES):
        art = cv.render(PIECE_W, h, lambda c, fn=fn, h=h: fn(c, h))
        rgb = cv.keyed(cv.reduce(cv.outline(art, 1.2)))
        # Nothing may be cut off at the top; at the sides only the ground band may touch.
        assert (rgb[0] == KEY).all(), "scenery%d is cut at the top" % i
        for col in (rgb[: h - GROUND - 1, 0], rgb[: h - GROUND - 1, -1]):
            assert (col == KEY).all(), "scenery%d is cut at a side" % i
        out["scenery%d.PNG" % i] = rgb
    return out


# ---- the HUD panel: 1024 x 128, drawn at y 640 ---------------------------------------

# Where the game writes its three white 32-point figures, in panel coordinates.
HEALTH_AT = (171, 684 - HORIZON)
MAGIC_AT = (432, 684 - HORIZON)
SCORE_AT = (704, 714 - HORIZON)


def hud(ctx):
    ctx.rectangle(0, 0, 1024, 128)
    cv.color(ctx, PANEL)
    ctx.fill()
    for y in range(10, 128, 24):  # planks
        cv.fill(ctx, cv.poly([(0, y), (1024, y), (1024, y + 1.2), (0, y + 1.2)]), PANEL_DK)
        cv.fill(ctx, cv.poly([(0, y + 1.2), (1024, y + 1.2), (1024, y + 2.2), (0, y + 2.2)]), PANEL_LT, 0.6)
    rng = random.Random(5)
    for _ in range(40):  # wood grain
        x, y = rng.uniform(0, 1024), rng.uniform(12, 124)
        cv.fill(ctx, cv.ellipse(x, y, rng.uniform(12, 40), 0.9), PANEL_LT, 0.5)
    # The trim along the top, where the landscape stands.
    cv.fill(ctx, cv.poly([(0, 0), (1024, 0), (1024, 7), (0, 7)]), GOLD_DK)
    cv.fill(ctx, cv.poly([(0, 0), (1024, 0), (1024, 2.5), (0, 2.5)]), GOLD)
    cv.fill(ctx, cv.poly([(0, 7), (1024, 7), (1024, 9), (0, 9)]), PANEL_DK)
    # Dark insets for the figures: 32-pt DejaVu is about 38 px high.
    for x, y, w, h in ((160, 36, 170, 54), (421, 36, 170, 54), (690, 30, 270, 90)):
        cv.fill(ctx, cv.rounded(x - 2, y - 2, w + 4, h + 4, 10), GOLD_DK)
        cv.fill(ctx, cv.rounded(x, y, w, h, 8), PANEL_DK)
        cv.fill(ctx, cv.rounded(x, y, w, 4, 2), (12, 8, 14))
    cv.text(ctx, "HEALTH", 171, 28, 15, GOLD_LT, bold=True)
    cv.text(ctx, "MAGIC", 432, 28, 15, GOLD_LT, bold=True)
    cv.text(ctx, "SCORE", 704, 64, 22, GOLD, bold=True)
    # Heart left of health, potion left of magic.
    heart = cv.heart(130, 64, 17)
    cv.shaded(ctx, heart, (RED_DK, RED, RED_LT), shift=2.0, rim=1.4, line=2.0)
    cv.fill(ctx, cv.ellipse(122, 56, 4, 2.5, -0.6), WHITE)
    flask = cv.smooth([(382, 44), (392, 44), (392, 54), (404, 68), (398, 84), (376, 84), (370, 68),
                       (382, 54)])
    cv.shaded(ctx, flask, ((60, 90, 160), BUBBLE, BUBBLE_LT), shift=2.0, rim=1.2, line=2.0)
    liquid = cv.smooth([(373, 70), (401, 70), (398, 83), (376, 83)])
    cv.shaded(ctx, liquid, (ROBE_DK, ROBE, ROBE_LT), shift=1.2, rim=0.8, line=0)
    cv.shaded(ctx, cv.rounded(380, 38, 14, 8, 2), ((98, 66, 48), WOOD, WOOD_LT), shift=1.0, rim=0.6,
              line=1.4)
    cv.sparkle(ctx, 386, 75, 4, GOLD_LT)
    # The magician's hat as an emblem at the left, and stars at the right.
    cv.fill(ctx, cv.circle(58, 68, 40), PANEL_DK)
    cv.ink(ctx, cv.circle(58, 68, 40), 3, GOLD_DK)
    hat = cv.poly([(32, 88), (44, 58), (40, 40), (52, 30), (60, 48), (72, 88)])
    cv.shaded(ctx, hat, (ROBE_DK, ROBE, ROBE_LT), shift=2.4, rim=1.4, line=2.0)
    cv.shaded(ctx, cv.ellipse(52, 90, 32, 6), (ROBE_DK, ROBE, ROBE_LT), shift=1.4, rim=0.8, line=2.0)
    cv.shaded(ctx, cv.poly(cv.star_points(56, 66, 7, 3)), GOLD_T, shift=1.0, rim=0.6, line=1.2)
    for x, y, r in ((610, 60, 8), (640, 86, 6), (990, 60, 8), (660, 48, 4), (1000, 96, 5)):
        cv.shaded(ctx, cv.poly(cv.star_points(x, y, r, r * 0.45)), GOLD_T, shift=1.0, rim=0.6, line=1.2)


def hud_panel():
    return cv.flat(cv.reduce(cv.render(1024, 128, hud, 2), 2))


def build():
    out = {"taustakuva.PNG": background(), "hudi.PNG": hud_panel()}
    out.update(scenery())
    return out
