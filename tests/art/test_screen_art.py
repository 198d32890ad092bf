"""The screens around the play as the game draws them: the pause box whole over the dimmed
game, the red score readable on the game-over picture, the high-score scroll centred on the
rows the game writes, and the menu's landscape clear of its buttons.

Run as a script it prints the figures these tests assert on:
    python3 tests/art/test_screen_art.py   (Debian's python3, the Makefile's PYTHON)
"""

import os

import numpy as np
from PIL import Image, ImageFont

from harness import catalogue
from harness.screens import LAYOUT

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
KEY = (0, 255, 0)

# What the game writes over its pictures (the same texts and fonts as in its code, at the
# places of its layout).
SCORE_AT = LAYOUT["GAME_OVER_SCORE_AT"]  # the red score, 14-point bold, from the picture's top-left
LONGEST_SCORE = "-2147483648"
TABLE = [(160, "1. zedko", "5345234"), (205, "2. bumar", "2342355"), (245, "3. zedko", "2312434"),
         (290, "4. zedko", "2212332"), (335, "5. bumar", "1565455"), (375, "6. bumar", "1453432"),
         (420, "7. bumar", "1345234"), (465, "8. zedko", "1332434"), (510, "9. bumar", "1323323"),
         (555, "10. bumar", "-1")]
NAME_X, SCORE_X = LAYOUT["TABLE_NAME_X"], LAYOUT["TABLE_SCORE_X"]
# The buttons' pixels: the menu's click areas without their excluded bounds.
BUTTON_X = (LAYOUT["START_AREA"][0] + 1, LAYOUT["START_AREA"][2] - 1)
BUTTONS_Y = [(LAYOUT[a][1] + 1, LAYOUT[a][3] - 1) for a in ("START_AREA", "HISCORE_AREA", "QUIT_AREA")]


def data_file(name):
    """The path of a catalogued file, by its file name ("menu.PNG")."""
    return os.path.join(ROOT, catalogue.by_file_name()[name].path)


def picture(name):
    return np.array(Image.open(data_file(name)).convert("RGB")).astype(np.int32)


def font(name, size):
    return ImageFont.truetype(data_file(name), size)


def luminance(rgb):
    """Relative luminance of sRGB colours (last axis), as contrast ratios use it."""
    c = np.asarray(rgb, dtype=np.float64) / 255.0
    lin = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return lin @ np.array([0.2126, 0.7152, 0.0722])


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def lum(pic):
    return pic @ np.array([299, 587, 114]) / 1000.0


# ---- pause box -----------------------------------------------------------------------------


def pause_box_edges():
    """The box is drawn whole, with no transparent colour: its outermost ring of pixels is
    what borders the dimmed game. Returns the colours found on that ring and whether any
    pixel is the empty black behind a rounded corner, or the key."""
    p = picture("pausebox.PNG")
    ring = np.concatenate([p[0], p[-1], p[:, 0], p[:, -1]])
    colours = {tuple(c) for c in ring}
    black = int(np.all(p == 0, axis=2).sum())
    key = int(np.all(p == KEY, axis=2).sum())
    return colours, black, key, p.shape[1], p.shape[0]


def test_pause_box_is_whole_to_its_corners():
    colours, black, key, w, h = pause_box_edges()
    assert len(colours) == 1, "the edge changes colour (a corner is cut): %r" % colours
    assert black == 0 and key == 0
    assert w <= 1024 and h <= 768


# ---- game over -----------------------------------------------------------------------------


def score_place():
    """The box the longest possible score fills when the game writes it."""
    f = font("verdanab.ttf", 14)
    left, top, right, bottom = f.getbbox(LONGEST_SCORE)
    ascent, descent = f.getmetrics()
    x0, y0 = SCORE_AT
    return x0, y0, x0 + right + 2, y0 + ascent + descent


def game_over_figures():
    p = picture("gameover.PNG")
    x0, y0, x1, y1 = score_place()
    place = p[y0:y1, x0:x1].reshape(-1, 3)
    worst = min(contrast((255, 0, 0), c) for c in {tuple(c) for c in place})
    # "Your score:" ends just left of the number: its rightmost lit column on the score's
    # rows, lit meaning clearly lighter than the plaque under the number.
    plaque = lum(p[y0:y1, x0:x1]).max()
    rows = lum(p[y0:y1, : x0])
    lit = np.nonzero((rows > plaque + 80).any(axis=0))[0]
    label_end = int(lit.max()) if len(lit) else -1
    return worst, label_end, p.shape[1], p.shape[0], (x1 - x0, y1 - y0)


def test_red_score_reads_on_its_plaque_and_follows_its_label():
    worst, label_end, w, h, _ = game_over_figures()
    assert worst >= 4.7
    assert SCORE_AT[0] - 16 <= label_end < SCORE_AT[0]
    assert w <= 1024 and h <= 768


def test_score_sits_in_a_black_box_with_a_bright_frame():
    p = picture("gameover.PNG")
    x0, y0 = SCORE_AT[0] - 10, SCORE_AT[1] - 6
    assert (p[y0 : y0 + 22, x0 : x0 + 200] == 0).all(), "the score's box is not pure black"
    # The frame that draws the eye: bright just outside the box, left of it and above it.
    assert min(luminance(p[y0 + 11, x0 - 4]), luminance(p[y0 - 4, x0 + 100])) >= 0.4


# ---- pause film ----------------------------------------------------------------------------


def test_pause_film_dims_the_sky_without_a_screen_door():
    # The 2x2 film tiled over the sky (x 0-600, y 0-450 of the background), as the pause shows it.
    sky, film = picture("taustakuva.PNG")[:450, :600], np.tile(picture("pause.PNG"), (225, 300, 1))
    shown = np.where(np.all(film == KEY, axis=2)[..., None], sky, film)
    assert np.median(np.abs(np.diff(shown, axis=1)).max(axis=2)) <= 40
    assert luminance(shown).mean() < 0.8 * luminance(sky).mean()


# ---- high scores ---------------------------------------------------------------------------


def table_ink():
    """Left, right, top and bottom of the ink of the ten rows as the game writes them."""
    f = font("verdana.ttf", 32)
    boxes = []
    for y, name, score in TABLE:
        for x, text in ((NAME_X, name), (SCORE_X, score)):
            l, t, r, b = f.getbbox(text)
            boxes.append((x + l, y + t, x + r, y + b))
    return (min(b[0] for b in boxes), max(b[2] for b in boxes), min(b[1] for b in boxes),
            max(b[3] for b in boxes))


def panel_runs():
    """On each row's middle line, the light run of the scroll that holds the row's name."""
    p = lum(picture("topten.PNG"))
    runs = []
    for y, _, _ in TABLE:
        line = p[y + 20] > 180
        left = NAME_X
        while left > 0 and line[left - 1]:
            left -= 1
        right = NAME_X
        while right < len(line) - 1 and line[right + 1]:
            right += 1
        runs.append((left, right))
    return runs


def test_high_score_scroll_is_centred_on_the_rows_it_holds():
    left, right, _, _ = table_ink()
    for run_left, run_right in panel_runs():
        assert abs((run_left + run_right) / 2 - (left + right) / 2) <= 3, (run_left, run_right, left, right)
        assert left - run_left >= 24 and run_right - right >= 24


# ---- menu ----------------------------------------------------------------------------------


def menu_clutter(gap=14):
    """Pixels of landscape in a band just under the last button. The landscape stands on
    the bottom edge, so whatever of it rose behind a button would also show in this band;
    the sky there changes only from row to row."""
    p = picture("menu.PNG")
    x0, x1 = BUTTON_X
    y0 = BUTTONS_Y[-1][1] + 1
    band = p[y0 : y0 + gap, x0 : x1 + 1]
    median = np.median(band, axis=1, keepdims=True)
    return int((np.abs(band - median).max(axis=2) > 24).sum())


def test_menu_landscape_stays_clear_of_the_buttons():
    assert menu_clutter() == 0


if __name__ == "__main__":
    colours, black, key, w, h = pause_box_edges()
    print("pause box %dx%d: edge colours %d, black pixels %d, key pixels %d" % (w, h, len(colours), black, key))
    worst, label_end, w, h, place = game_over_figures()
    print("game over %dx%d: red score %.2f:1 at worst over its %dx%d place, label ends at x %d"
          % (w, h, worst, place[0], place[1], label_end))
    left, right, top, bottom = table_ink()
    runs = panel_runs()
    print("high scores: rows' ink x %d-%d (centre %.1f), y %d-%d; scroll's light run x %d-%d (centre %.1f)"
          % (left, right, (left + right) / 2, top, bottom, runs[0][0], runs[0][1], sum(runs[0]) / 2))
    print("menu: %d pixels of landscape just under the last button" % menu_clutter())


def test_menu_magician_keeps_his_moonlit_rim():
    # The large magician at (40, 330) on the menu is ringed in the same light as in the game.
    from assetgen import palette
    region = picture("menu.PNG")[330:522, 40:296]
    rim = np.all(region == np.array(palette.AURA), axis=2).sum()
    assert rim >= 1000, rim
