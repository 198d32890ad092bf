"""What the player sees of the sprites, measured on the committed pictures.

The game shows a sheet's frames at fixed frame times and a new sheet from its frame 1, so
these checks look at the frames that are on show and at the sky they are seen against.
Run from the project root: python3 -m pytest -q tests/art/test_sprites.py (Debian's python3)
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
PLAY_TOP, PLAY_BOTTOM, PLAY_LEFT, PLAY_RIGHT = 0, 480, 350, 674  # where the magician flies


# {file name: (frames, frame width, height)} of every picture.
CATALOGUE = {e.file_name: (e.frames, e.width, e.height) for e in catalogue.pictures()}


def frames(name):
    count, w, h = CATALOGUE[name]
    rgb = np.array(Image.open(os.path.join(ROOT, "Data", "Gfx", name)).convert("RGB"))
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
    sky = np.array(Image.open(os.path.join(ROOT, "Data", "Gfx", "taustakuva.PNG")).convert("RGB"))
    return np.percentile(luminance(sky[:, PLAY_LEFT:PLAY_RIGHT]), 10, axis=1)


def edge_ring(mask):
    """Art pixels with a see-through pixel (or the frame's edge) beside them: the silhouette's rim."""
    p = np.pad(mask, 1)
    inner = p[:-2, 1:-1] & p[2:, 1:-1] & p[1:-1, :-2] & p[1:-1, 2:]
    return mask & ~inner


def pieces(mask):
    """Number of separate pieces of art (4-connected)."""
    seen = np.zeros_like(mask)
    count = 0
    for y, x in zip(*np.nonzero(mask)):
        if seen[y, x]:
            continue
        count += 1
        todo = deque([(y, x)])
        seen[y, x] = True
        while todo:
            cy, cx = todo.popleft()
            for ny, nx in ((cy - 1, cx), (cy + 1, cx), (cy, cx - 1), (cy, cx + 1)):
                if 0 <= ny < mask.shape[0] and 0 <= nx < mask.shape[1] and mask[ny, nx] and not seen[ny, nx]:
                    seen[ny, nx] = True
                    todo.append((ny, nx))
    return count


def has_colour(frame, colours):
    return np.any([np.all(frame == np.array(c, dtype=np.uint8), axis=2) for c in colours], axis=0)


def dark_share(frame):
    """Share of a frame's art that is dark outline."""
    a = art(frame)
    return float((luminance(frame[a]) < 0.06).mean())


# ---- art inside its frame --------------------------------------------------------------

INSIDE = ["zap.PNG", "quimbo_normal.PNG", "quimbo_zap.PNG", "quimbo_bubble.PNG", "quimbo_falling.PNG",
          "quimbo_slime.PNG", "boost.PNG", "birdr_normal.PNG", "birdl_normal.PNG", "birdr_dying.PNG",
          "birdl_dying.PNG", "birdr_falling.PNG", "birdl_falling.PNG", "plane_falling.PNG",
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


def test_attack_frame_on_show_has_the_face_and_the_burst_where_the_stars_fly():
    normal, shown = frames("quimbo_normal.PNG")[1], frames("quimbo_zap.PNG")[1]
    assert skin(shown).sum() >= 0.8 * skin(normal).sum(), "the arm hides the face"
    # The burst: white-hot pixels ahead of the face, at the height the stars leave (the
    # frame's middle row, give or take ten, and a star is 16 high).
    ys, xs = np.nonzero(luminance(shown) > 0.85)
    burst = xs > 100
    assert burst.sum() >= 12
    assert 30 <= ys[burst].mean() <= 66


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

    # Falling: not a plain half turn, which has no direction.
    a, b = (art(f) for f in frames(side + "_falling.PNG"))
    flipped = a[::-1, ::-1]
    assert (flipped & b).sum() / (flipped | b).sum() < 0.6


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
