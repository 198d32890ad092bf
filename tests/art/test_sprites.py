"""What the player sees of the sprites, measured on the committed pictures.

The game shows a sheet's frames at fixed frame times and a new sheet from its frame 1, so
these checks look at the frames that are on show and at the sky they are seen against.
Run from the project root: python3 -m pytest -q tests/art/test_sprites.py (Debian's python3)
Run as a script it prints the figures of the magician, his blast and the sky, for the data
under the given folder (another checkout's Data/, say) or the committed one:
    PYTHONPATH=tests:tools python3 tests/art/test_sprites.py [DATA]
"""

import os
import sys
from collections import deque

import numpy as np
import pytest
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # tools/ is on the path (pytest.ini): leave no __pycache__ there
from assetgen import palette  # noqa: E402  (the colours the magician is drawn in)
from harness import catalogue  # noqa: E402

KEY = np.array((0, 255, 0), dtype=np.uint8)
DATA = [os.path.join(ROOT, "Data")]  # the data measured; the report may point it elsewhere
PLAY_TOP, PLAY_BOTTOM, PLAY_LEFT, PLAY_RIGHT = 0, 480, 350, 674  # where the magician flies


# {file name: (frames, frame width, height)} of every picture.
CATALOGUE = {e.file_name: (e.frames, e.width, e.height) for e in catalogue.pictures()}


def frames(name):
    count, w, h = CATALOGUE[name]
    rgb = np.array(Image.open(os.path.join(DATA[0], "Gfx", name)).convert("RGB"))
    assert rgb.shape[:2] == (h, w * max(count, 1)), name
    return [rgb[:, k * w : (k + 1) * w] for k in range(max(count, 1))]


def art(frame):
    return ~np.all(frame == KEY, axis=2)


def luminance(rgb):
    """Relative luminance of sRGB colours (the measure behind contrast ratios)."""
    c = np.asarray(rgb, dtype=np.float64) / 255.0
    c = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return c @ np.array([0.2126, 0.7152, 0.0722])


def contrast(la, lb):
    return (np.maximum(la, lb) + 0.05) / (np.minimum(la, lb) + 0.05)


def sky_rows():
    """The luminance of the clear sky on each row of the play area. The few soft clouds are
    left out (a tenth of the row's darkest pixels): they are pale, and against them the
    dark outline does the work."""
    sky = np.array(Image.open(os.path.join(DATA[0], "Gfx", "taustakuva.PNG")).convert("RGB"))
    return np.percentile(luminance(sky[:, PLAY_LEFT:PLAY_RIGHT]), 10, axis=1)


def edge_ring(mask):
    """Art pixels with a see-through pixel (or the frame's edge) beside them: the silhouette's rim."""
    p = np.pad(mask, 1)
    inner = p[:-2, 1:-1] & p[2:, 1:-1] & p[1:-1, :-2] & p[1:-1, 2:]
    return mask & ~inner


def piece_masks(mask, diagonal=False):
    """The separate pieces of art, largest first: 4-connected, or 8-connected with diagonal."""
    steps = [(dy, dx) for dy in (-1, 0, 1) for dx in (-1, 0, 1) if (dy or dx) and (diagonal or not dy * dx)]
    seen, out = np.zeros_like(mask), []
    for y, x in zip(*np.nonzero(mask)):
        if seen[y, x]:
            continue
        piece, todo = np.zeros_like(mask), deque([(y, x)])
        seen[y, x] = piece[y, x] = True
        while todo:
            cy, cx = todo.popleft()
            for ny, nx in ((cy + dy, cx + dx) for dy, dx in steps):
                if 0 <= ny < mask.shape[0] and 0 <= nx < mask.shape[1] and mask[ny, nx] and not seen[ny, nx]:
                    seen[ny, nx] = piece[ny, nx] = True
                    todo.append((ny, nx))
        out.append(piece)
    return sorted(out, key=lambda p: -p.sum())


def pieces(mask):
    return len(piece_masks(mask))


def has_colour(frame, colours):
    return np.any([np.all(frame == np.array(c, dtype=np.uint8), axis=2) for c in colours], axis=0)


def dark_share(frame):
    """Share of a frame's art that is dark outline."""
    a = art(frame)
    return float((luminance(frame[a]) < 0.06).mean())


# ---- art inside its frame --------------------------------------------------------------

INSIDE = ["zap.PNG", "quimbo_normal.PNG", "quimbo_zap.PNG", "quimbo_bubble.PNG", "quimbo_falling.PNG",
          "quimbo_slime.PNG", "boost.PNG", "birdr_normal.PNG", "birdl_normal.PNG", "birdr_dying.PNG",
          "birdl_dying.PNG", "birdr_falling.PNG", "birdl_falling.PNG", "plane_normal.PNG", "plane_falling.PNG",
          "slime_blowing.PNG"]


@pytest.mark.parametrize("name", INSIDE)
def test_art_keeps_off_the_frame_edges(name):
    # Art on a frame's edge is art the frame cut off: a flat bottom, a clipped wing tip.
    for k, f in enumerate(frames(name)):
        a = art(f)
        assert not (a[0].any() or a[-1].any() or a[:, 0].any() or a[:, -1].any()), "frame %d" % k


# ---- stars -----------------------------------------------------------------------------


def test_stars_are_bright_and_alike_so_random_frames_sparkle():
    stars = frames("zap.PNG")
    sizes = np.array([art(f).sum() for f in stars])
    bright = np.array([luminance(f[art(f)]).mean() for f in stars])
    for k, f in enumerate(stars):
        assert dark_share(f) <= 1 / 3, "frame %d is mostly outline" % k
    assert sizes.min() >= 0.85 * sizes.max(), sizes
    assert bright.min() >= 0.85 * bright.max(), bright
    assert bright.min() >= 0.4, "a star must outshine the sky"
    # Low sparks stretched along their flight: a stack of five, 10 px apart, reads as a spray.
    for k, f in enumerate(stars):
        ys, xs = np.nonzero(art(f))
        tall, wide = np.ptp(ys) + 1, np.ptp(xs) + 1
        assert tall <= 8 and wide >= 1.5 * tall, "frame %d: %d x %d" % (k, wide, tall)


# ---- the magician ----------------------------------------------------------------------


def test_magician_outline_and_gown_stand_out_at_every_height():
    sky = sky_rows()
    gown = (palette.GOWN_DK, palette.GOWN, palette.GOWN_LT)
    for name in ("quimbo_normal.PNG", "quimbo_zap.PNG"):
        for k, f in enumerate(frames(name)):
            h = f.shape[0]
            ring = edge_ring(art(f))
            robe = has_colour(f, gown)
            assert robe.sum() > 150, "%s frame %d: where is the gown?" % (name, k)
            ring_y, robe_y = np.nonzero(ring)[0], np.nonzero(robe)[0]
            ring_l, robe_l = luminance(f[ring]), luminance(f[robe])
            for top in range(PLAY_TOP, PLAY_BOTTOM - h + 1, 4):
                rim = contrast(ring_l, sky[top + ring_y])
                assert (rim >= 3).mean() >= 0.9, "%s frame %d at y %d: outline %.2f" % (
                    name, k, top, np.median(rim))
                body = contrast(robe_l, sky[top + robe_y])
                assert (body >= 3).mean() >= 0.8, "%s frame %d at y %d: gown %.2f" % (
                    name, k, top, np.median(body))


def hat_tip(f):
    return int(np.nonzero(art(f).any(axis=1))[0][0])


def test_idle_bobs_at_most_a_pixel_per_frame():
    tips = [hat_tip(f) for f in frames("quimbo_normal.PNG")]
    steps = [abs(a - b) for a, b in zip(tips, tips[1:] + tips[:1])]
    assert max(steps) <= 1, tips


def skin(f):
    return has_colour(f, (palette.SKIN, palette.SKIN_DK))


def skin_with_edges(f):
    """The skin and its anti-aliased edge: pixels near a skin tone that touch skin. Blends of
    other colours that happen to come near a skin tone, away from any skin, are left out."""
    tones = np.array((palette.SKIN, palette.SKIN_DK), dtype=float)
    near = art(f) & (np.sqrt(((f[..., None, :].astype(float) - tones) ** 2).sum(-1)).min(-1) <= 40)
    grown = skin(f)
    while True:
        p = np.pad(grown, 1)
        more = grown | (near & (p[:-2, 1:-1] | p[2:, 1:-1] | p[1:-1, :-2] | p[1:-1, 2:]))
        if more.sum() == grown.sum():
            return grown
        grown = more


# Where the stars appear in the player's frame: their top-left at the middle (64, 48), ten
# rows up or nine down, and a star is 16 square.
STARS_X, STARS_Y = slice(64, 81), slice(38, 75)
STAR_MIDDLE = (72, 56)


def burst_pixels(resting, attack):
    """(rows, columns) of the white-hot pixels an attack frame adds to the resting frame."""
    return np.nonzero((luminance(attack) > 0.85) & ~(luminance(resting) > 0.85))


def test_stars_leave_from_the_wand_and_the_attack_does_not_pop():
    normal, zap = frames("quimbo_normal.PNG"), frames("quimbo_zap.PNG")
    for k, f in enumerate(normal + zap):
        assert not skin_with_edges(f)[STARS_Y, STARS_X].any(), "frame %d: the stars cover his face or hand" % k
    for k in range(3):
        # The burst: white-hot pixels the attack adds to the resting frame, round the wand's tip.
        ys, xs = burst_pixels(normal[k], zap[k])
        assert len(xs) >= (12 if k else 6), "frame %d" % k
        assert np.hypot(xs.mean() - STAR_MIDDLE[0], ys.mean() - STAR_MIDDLE[1]) <= 10, "frame %d" % k
        # The pose changes at the wrist only: the outline stays, the face does not move.
        a, b = art(normal[k]), art(zap[k])
        assert (a & b).sum() / (a | b).sum() >= 0.9, "frame %d" % k
        (ny, nx), (zy, zx) = (np.nonzero(skin(f)) for f in (normal[k], zap[k]))
        assert np.hypot(nx.mean() - zx.mean(), ny.mean() - zy.mean()) <= 1.0, "frame %d" % k
        assert skin(zap[k]).sum() >= 0.8 * skin(normal[k]).sum(), "the arm hides the face"


def gown_colour(riders):
    gown = (palette.GOWN_DK, palette.GOWN, palette.GOWN_LT)
    return np.median(np.concatenate([f[has_colour(f, gown)] for f in riders]), axis=0)


def fill_colour(f):
    """The median colour of a frame's art, leaving out the dark outline."""
    return np.median(f[art(f) & (luminance(f) > 0.06)].astype(float), axis=0)


def outline_change(a, b):
    """The share of two frames' outline that differs between them."""
    a, b = art(a), art(b)
    return (a ^ b).sum() / (a | b).sum()


def lower_edge_shift(a, b):
    """How far left the lower edge of the fire under the carpet has moved from frame a to b,
    and how much better that shift matches than none (error at the shift / error standing)."""
    now, nxt = lower_edge(art(a)), lower_edge(art(b))
    xs = np.arange(40, 100)  # under the carpet
    err = {d: np.abs(nxt[xs] - now[xs + d]).mean() for d in range(-15, 16)}
    best = min(err, key=err.get)
    return best, err[best] / max(err[0], 1e-9)


def fire_shares(cloud, rider):
    """Of the fire that shows round him: its area against his, and its shares behind his back and
    low (x below 48, y from 40), above y 40 and ahead of x 70."""
    ys, xs = np.nonzero(art(cloud) & ~art(rider))
    return (len(xs) / art(rider).sum(), *[np.mean(m) for m in ((xs < 48) & (ys >= 40), ys < 40, xs >= 70)])


def test_blast_fire_trails_behind_and_below_him_in_its_own_colours_and_flows():
    cloud, riders = frames("boost.PNG"), frames("quimbo_normal.PNG")
    gown = gown_colour(riders)
    for k, c in enumerate(cloud):
        for rider in riders:
            # A trail of fire behind a carpet, not a bonfire under it, still well round him.
            size, behind_low, above, ahead = fire_shares(c, rider)
            assert size >= 0.6 and behind_low >= 0.7 and max(above, ahead) <= 0.05, (k, size, behind_low, above, ahead)
        colour = fill_colour(c)
        assert np.linalg.norm(colour - gown) >= 100, colour
        assert np.linalg.norm(colour - np.array(sky_cloud_colour())) >= 60, colour
    # It flows: the bulges running back along the jets and the drifting puffs change the tone
    # of a fifth of the fire from frame to frame (it fills the space behind him, so its outline
    # stays much the same).
    for k, c in enumerate(cloud):
        nxt = cloud[(k + 1) % len(cloud)]
        either = art(c) | art(nxt)
        assert (np.any(c != nxt, axis=2) & either).sum() >= 0.2 * either.sum(), "frame %d" % k


def lower_edge(mask):
    """The lowest art row of each column (0 where a column is empty)."""
    rows = np.arange(mask.shape[0])[:, None]
    return np.where(mask.any(axis=0), (mask * rows).max(axis=0), 0).astype(float)


def sky_cloud_mask():
    """The sky's clouds, rows 150 to 560 of the background: pixels that stand off the clear
    sky of their row (the row's median), the moon's halo left out."""
    sky = np.array(Image.open(os.path.join(DATA[0], "Gfx", "taustakuva.PNG")).convert("RGB")).astype(int)
    part = sky[150:560]
    mask = np.abs(part - np.median(part, axis=1, keepdims=True)).sum(axis=2) > 12
    mask[:100, 680:960] = False
    return part, mask


def sky_cloud_colour():
    part, mask = sky_cloud_mask()
    return np.median(part[mask], axis=0)


def sky_cloud_heights(mask):
    """The height of each cloud. Clouds lie side by side or one above another: the mask is
    split into bands of rows and each band into runs of columns."""
    heights = []
    rows = np.nonzero(mask.any(axis=1))[0]
    for band in np.split(rows, np.nonzero(np.diff(rows) > 2)[0] + 1):
        cols = np.nonzero(mask[band[0] : band[-1] + 1].any(axis=0))[0]
        for run in np.split(cols, np.nonzero(np.diff(cols) > 8)[0] + 1):
            if len(run) >= 60:
                ys = np.nonzero(mask[band[0] : band[-1] + 1, run[0] : run[-1] + 1].any(axis=1))[0]
                heights.append(int(ys.max() - ys.min() + 1))
    return heights


def sky_cloud_steps(part, mask):
    """The 99th percentile of the steps between neighbours inside the clouds' bodies (two
    pixels in from the mask's edge, which also leaves out the stars), down and across."""
    body = mask.copy()
    for dy in (-2, 0, 2):
        for dx in (-2, 0, 2):
            body &= np.roll(np.roll(mask, dy, axis=0), dx, axis=1)
    out = []
    for axis in (0, 1):
        step = np.abs(np.diff(part, axis=axis)).sum(axis=2)
        inside = body[1:] & body[:-1] if axis == 0 else body[:, 1:] & body[:, :-1]
        out.append(float(np.percentile(step[inside], 99)))
    return out


def test_sky_has_clouds_of_several_sizes_with_soft_edges():
    part, mask = sky_cloud_mask()
    heights = sky_cloud_heights(mask)
    distinct = []
    for h in sorted(heights):
        if not distinct or h - distinct[-1] >= 6:
            distinct.append(h)
    assert len(distinct) >= 3, heights
    # Soft edges and no seams where puffs overlap: no sharp step between neighbours in a cloud.
    assert max(sky_cloud_steps(part, mask)) <= 30


def carpet_red(f):
    return has_colour(f, (palette.CARPET_DK, palette.CARPET, palette.CARPET_LT))


def test_carpet_does_not_jump_when_he_falls_off():
    riding = carpet_red(frames("quimbo_normal.PNG")[1])
    ry, rx = np.nonzero(riding)
    for k, f in enumerate(frames("quimbo_falling.PNG")):
        ys, xs = np.nonzero(carpet_red(f))
        assert xs.max() - xs.min() >= 0.9 * (rx.max() - rx.min()), "frame %d" % k
        assert np.hypot(xs.mean() - rx.mean(), ys.mean() - ry.mean()) <= 6, "frame %d" % k


def test_fall_flutters_in_place_instead_of_spinning():
    # At 10 ms a frame the whole sheet runs sixteen times a second, so a turn of the body
    # becomes a blur: each frame must keep most of the last one's shape (a sixth of a turn
    # a frame keeps under half of it).
    shapes = [art(f) for f in frames("quimbo_falling.PNG")]
    for k in range(len(shapes)):
        kept = (shapes[k] & shapes[k - 1]).sum() / (shapes[k] | shapes[k - 1]).sum()
        assert kept >= 0.75, "frame %d keeps %.2f" % (k, kept)


# ---- enemies ---------------------------------------------------------------------------


@pytest.mark.parametrize("side", ["birdr", "birdl"])
def test_birds_beat_twice_a_sheet_bob_and_flash_when_hit(side):
    flying = frames(side + "_normal.PNG")
    lift = np.array([art(f)[:13].sum() for f in flying], dtype=float)  # wing above the body
    up = lift > lift.mean()
    beats = sum(1 for k in range(len(up)) if up[k] and not up[k - 1])
    assert beats == 2, lift
    eyes = [np.argwhere(has_colour(f, (palette.WHITE,)))[:, 0].mean() for f in flying]
    assert 0.5 <= max(eyes) - min(eyes) <= 2.5, "the body should bob a pixel or so"

    # The first dying frame shown (frame 1) flashes: far more white than a flying bird.
    white = lambda f: int((f.min(axis=2) >= 230).sum())
    assert white(frames(side + "_dying.PNG")[1]) >= 5 * max(white(f) for f in flying) + 50

    # Falling: not a plain half turn, which has no direction; and no drawn symbols round it
    # (arrows, strokes of white), only the bird and its own feathers.
    falling = frames(side + "_falling.PNG")
    a, b = (art(f) for f in falling)
    flipped = a[::-1, ::-1]
    assert (flipped & b).sum() / (flipped | b).sum() < 0.6
    for f in falling:
        assert not has_colour(f, (palette.WHITE,)).any()


@pytest.mark.parametrize("side", ["birdl", "birdr"])
def test_falling_birds_leave_light_feathers_that_drift_up(side):
    heights = []
    for k, f in enumerate(frames(side + "_falling.PNG")):
        feathers = piece_masks(art(f), diagonal=True)[1:]  # all but the bird
        # Two or three light vanes with no dark outline, each with a darker quill along it.
        tones = [luminance(f[p]) for p in feathers]
        assert 2 <= len(tones) <= 3, "frame %d: %d feathers" % (k, len(tones))
        assert all(t.min() >= 0.12 and t.max() >= 0.5 and np.ptp(t) >= 0.2 for t in tones), k
        heights.append([np.nonzero(p)[0].mean() for p in feathers])
    assert max(heights[1]) < min(heights[0]) or np.mean(heights[1]) <= np.mean(heights[0]) - 2, heights


def test_plane_falling_frames_differ_clearly():
    a, b = frames("plane_falling.PNG")
    union = art(a) | art(b)
    changed = np.any(a != b, axis=2)
    assert changed.sum() / union.sum() >= 0.3


def test_slime_swells_then_splashes_in_the_frames_shown():
    normal = max(art(f).sum() for f in frames("slime.PNG"))
    blowing = frames("slime_blowing.PNG")
    assert pieces(art(blowing[1])) == 1 and art(blowing[1]).sum() > normal, "frame 1 is the swell"
    for k in (2, 3):
        ys, xs = np.nonzero(art(blowing[k]))
        assert xs.max() - xs.min() >= 36 and ys.max() - ys.min() >= 36, "frame %d splashes wide" % k
    assert pieces(art(blowing[3])) >= 8, "frame 3 is flying drops"


def report(data):
    DATA[0] = data
    normal, zap, cloud = frames("quimbo_normal.PNG"), frames("quimbo_zap.PNG"), frames("boost.PNG")
    print("skin where the stars appear, resting and attack frames:",
          [int(skin_with_edges(f)[STARS_Y, STARS_X].sum()) for f in normal + zap])
    for k in range(3):
        ys, xs = burst_pixels(normal[k], zap[k])
        a, b = art(normal[k]), art(zap[k])
        print("attack frame %d: burst centre (%.1f, %.1f), %.1f px from (72, 56); outline kept %.2f"
              % (k, xs.mean(), ys.mean(), np.hypot(xs.mean() - 72, ys.mean() - 56), (a & b).sum() / (a | b).sum()))
    shown = [(art(c) & ~art(r)).sum() / art(r).sum() for c in cloud for r in normal]
    print("blast shows round him: %.0f-%.0f %% of his own area" % (100 * min(shown), 100 * max(shown)))
    shares = 100 * np.array([fire_shares(c, r)[1:] for c in cloud for r in normal])
    print("of the fire shown: behind and low %.0f-%.0f %%, above y 40 up to %.1f %%, ahead of x 70 up to %.1f %%"
          % (shares[:, 0].min(), *shares.max(axis=0)))
    gown, sky_clouds = gown_colour(normal), sky_cloud_colour()
    fills = [fill_colour(c) for c in cloud]
    print("blast fill colour %s (luminance %.2f); from the gown %s: %.0f, from the sky's clouds %s: %.0f"
          % (np.round(fills[0]), luminance(fills[0]), np.round(gown), min(np.linalg.norm(f - gown) for f in fills),
             np.round(sky_clouds), min(np.linalg.norm(f - sky_clouds) for f in fills)))
    pairs = [(cloud[k], cloud[(k + 1) % 8]) for k in range(8)]
    print("blast outline change frame to frame: %.0f-%.0f %%; lower edge shift: %s"
          % (100 * min(outline_change(a, b) for a, b in pairs), 100 * max(outline_change(a, b) for a, b in pairs),
             [lower_edge_shift(a, b)[0] for a, b in pairs]))
    part, mask = sky_cloud_mask()
    print("sky cloud heights:", sky_cloud_heights(mask), "steps inside (down, across): %s" % sky_cloud_steps(part, mask))
    riding = carpet_red(normal[1])
    ry, rx = np.nonzero(riding)
    fall = [np.nonzero(carpet_red(f)) for f in frames("quimbo_falling.PNG")]
    print("carpet red: riding %d px wide at (%.0f, %.0f); falling %s px wide, moved %s px"
          % (rx.max() - rx.min() + 1, rx.mean(), ry.mean(), [int(xs.max() - xs.min() + 1) for ys, xs in fall],
             [round(float(np.hypot(xs.mean() - rx.mean(), ys.mean() - ry.mean())), 1) for ys, xs in fall]))
    print("plane: rows between the art and the frame's bottom:",
          [f.shape[0] - 1 - int(np.nonzero(art(f).any(axis=1))[0].max()) for f in frames("plane_normal.PNG")])
    print("falling birds: white pixels", [int(has_colour(f, (palette.WHITE,)).sum())
                                          for side in ("birdl", "birdr") for f in frames(side + "_falling.PNG")])


if __name__ == "__main__":
    report(sys.argv[1] if len(sys.argv) > 1 else DATA[0])
