"""The screens around the play: menu, high-score table, game over, pause box and pause film."""

import math

import cairo
import numpy as np

from . import canvas as cv
from . import critters, player, world
from .palette import (
    AURA,
    CARPET_DK,
    GOLD,
    GOLD_DK,
    GOLD_LT,
    INK,
    KEY,
    PARCHMENT,
    PARCHMENT_DK,
    PARCHMENT_LT,
    RED_DK,
    ROBE,
    ROBE_DK,
    ROBE_LT,
    WHITE,
)

TAU = 2 * math.pi
TITLE_INK = (60, 22, 40)  # the dark brown-violet of writing on parchment

# The menu's click areas: x 350-698 and these y ranges, inclusive.
BUTTONS = (("START", 312, 415), ("HIGH SCORES", 432, 535), ("QUIT", 552, 655))
BUTTON_X0, BUTTON_X1 = 350, 698


def frame_panel(ctx, x, y, w, h, r=14):
    """A parchment panel with a violet and gold frame.

    The outer edge is square: the game draws these pictures whole, with no transparent
    colour, so anything outside a rounded edge would show as dark wedges over the game.
    """
    ctx.rectangle(x, y, w, h)
    cv.color(ctx, INK)
    ctx.fill()
    ctx.rectangle(x + 2, y + 2, w - 4, h - 4)
    cv.color(ctx, ROBE_DK)
    ctx.fill()
    cv.fill(ctx, cv.rounded(x + 4, y + 4, w - 8, h - 8, r - 3), ROBE)
    cv.fill(ctx, cv.rounded(x + 8, y + 8, w - 16, h - 16, r - 5), GOLD_DK)
    cv.fill(ctx, cv.rounded(x + 9.5, y + 9.5, w - 19, h - 19, r - 6), PARCHMENT_LT)
    cv.fill(ctx, cv.rounded(x + 11, y + 11, w - 22, h - 22, r - 7), PARCHMENT)
    for cx, cy in ((x + 10, y + 10), (x + w - 10, y + 10), (x + 10, y + h - 10), (x + w - 10, y + h - 10)):
        cv.shaded(ctx, cv.poly(cv.star_points(cx, cy, 7, 3)), (GOLD_DK, GOLD, GOLD_LT), shift=1.0, rim=0.6,
                  line=1.2)


def paste_sprite(dst, rgb_sheet, frames, k, x, y, scale=1):
    """Copies frame k of a keyed sheet onto an RGB picture, skipping key pixels."""
    fw = rgb_sheet.shape[1] // frames
    f = rgb_sheet[:, k * fw : (k + 1) * fw]
    if scale != 1:
        f = np.repeat(np.repeat(f, scale, axis=0), scale, axis=1)
    h, w = f.shape[:2]
    art = ~np.all(f == np.array(KEY, dtype=np.uint8), axis=2)
    region = dst[y : y + h, x : x + w]
    region[art] = f[art]


# ---- main menu ----------------------------------------------------------------------


def menu_art(ctx):
    world.sky(ctx, horizon=752)
    # The title in two lines of large gold letters with a dark edge.
    for line, base, size in (("Quimbo Harvo", 128, 84), ("& Zelvä Dorpo", 228, 72)):
        cv.text(ctx, line, 516, base + 5, size, INK, bold=True, family=cv.SERIF, anchor="center",
                edge=INK, edge_w=9)
        cv.text(ctx, line, 512, base, size, GOLD, bold=True, family=cv.SERIF, anchor="center",
                edge=CARPET_DK, edge_w=7)
        cv.text(ctx, line, 512, base, size, GOLD, bold=True, family=cv.SERIF, anchor="center")
    for x, y, r in ((150, 60, 10), (880, 70, 8), (120, 200, 7), (905, 210, 11), (330, 270, 6), (700, 272, 7)):
        cv.sparkle(ctx, x, y, r, GOLD_LT)


def buttons_art(ctx):
    """Three buttons exactly over the click areas, on a clear layer."""
    for label, y0, y1 in BUTTONS:
        x0, w, h = BUTTON_X0, BUTTON_X1 + 1 - BUTTON_X0, y1 + 1 - y0
        cv.fill(ctx, cv.rounded(x0, y0, w, h, 18), INK)
        cv.fill(ctx, cv.rounded(x0 + 3, y0 + 3, w - 6, h - 6, 15), GOLD_DK)
        cv.fill(ctx, cv.rounded(x0 + 3, y0 + 3, w - 6, h - 9, 15), GOLD)
        cv.fill(ctx, cv.rounded(x0 + 8, y0 + 8, w - 16, h - 18, 11), ROBE_DK)
        cv.fill(ctx, cv.rounded(x0 + 8, y0 + 8, w - 16, (h - 18) * 0.55, 11), ROBE)
        cv.fill(ctx, cv.rounded(x0 + 16, y0 + 12, w - 32, 6, 3), ROBE_LT)
        cv.text(ctx, label, x0 + w / 2 + 2, y0 + h / 2 + 16, 38, INK, bold=True, anchor="center")
        cv.text(ctx, label, x0 + w / 2, y0 + h / 2 + 14, 38, WHITE, bold=True, anchor="center", edge=INK,
                edge_w=3)


# (piece, left edge, mirrored), at the pieces' own pitch so that their ground lines join.
MENU_LANDSCAPE = ((2, -64, False), (4, 192, True), (4, 448, False), (3, 704, False), (1, 960, False))


def menu(pieces):
    pic = cv.flat(cv.reduce(cv.render(1024, 768, menu_art, 2), 2))
    # The landscape stands on the bottom edge. Under the buttons lie only the low rocks and
    # fences (the second one mirrored, so the two meet as a pair); the cottage and the
    # windmill stand clear of them at either side.
    for i, x, mirror in MENU_LANDSCAPE:
        p = pieces["scenery%d.PNG" % i]
        if mirror:
            p = p[:, ::-1]
        left = max(0, -x)
        p = p[:, left : 1024 - x]
        paste_sprite(pic, p, 1, 0, x + left, 768 - p.shape[0])
    # The magician and his foes, drawn afresh at twice their size, outlines included.
    big = lambda w, h, draw: cv.sprite(w * 2, h * 2, lambda c: (c.scale(2, 2), draw(c)), line=3.2)
    # The magician keeps the moonlit rim he has in the game, twice as wide as he is drawn here.
    rimmed = cv.sprite(256, 192, lambda c: (c.scale(2, 2), player.magician(c, 0.0)), line=3.2, aura=AURA,
                       aura_w=2.8)
    paste_sprite(pic, rimmed, 1, 0, 40, 330)
    paste_sprite(pic, big(16, 16, lambda c: critters.star_draw(c, 0)), 1, 0, 296, 372)
    paste_sprite(pic, big(48, 40, lambda c: critters.bird_flying(c, critters.ROBIN_T, 2, False)), 1, 0,
                 770, 330)
    paste_sprite(pic, big(48, 48, lambda c: critters.slime_draw(c, 1)), 1, 0, 860, 410)
    return cv.over_rgb(cv.reduce(cv.render(1024, 768, buttons_art, 2), 2), pic)


# ---- high-score table ---------------------------------------------------------------


# The rows the game writes: 32-point regular type, names at x 300 and scores at x 500.
TABLE_ROWS = (
    (160, "1. zedko", "5345234"), (205, "2. bumar", "2342355"), (245, "3. zedko", "2312434"),
    (290, "4. zedko", "2212332"), (335, "5. bumar", "1565455"), (375, "6. bumar", "1453432"),
    (420, "7. bumar", "1345234"), (465, "8. zedko", "1332434"), (510, "9. bumar", "1323323"),
    (555, "10. bumar", "-1"),
)
TABLE_NAME_X, TABLE_SCORE_X = 300, 500


def table_centre():
    """The middle, across, of the ink of the rows the game writes over the scroll."""
    ctx = cairo.Context(cairo.ImageSurface(cairo.FORMAT_ARGB32, 1, 1))
    cv.font(ctx, 32)
    left, right = 1024.0, 0.0
    for _, name, score in TABLE_ROWS:
        for x, text in ((TABLE_NAME_X, name), (TABLE_SCORE_X, score)):
            ext = ctx.text_extents(text)
            left = min(left, x + ext.x_bearing)
            right = max(right, x + ext.x_bearing + ext.width)
    return round((left + right) / 2)


def topten_art(ctx):
    world.sky(ctx, horizon=768)
    ctx.rectangle(0, 0, 1024, 768)
    cv.color(ctx, (10, 8, 30), 0.35)
    ctx.fill()
    # A scroll centred on the rows, not on the screen: the sheet with a roll at the top and
    # the bottom, its light middle reaching well past the longest row on either side.
    cx = table_centre()
    half = 300  # the light middle's half width
    cv.fill(ctx, cv.rounded(cx - half - 34, 56, 2 * half + 68, 656, 10), INK)
    cv.fill(ctx, cv.rounded(cx - half - 30, 60, 2 * half + 60, 648, 8), PARCHMENT_DK)
    cv.fill(ctx, cv.rounded(cx - half - 24, 64, 2 * half + 48, 640, 6), PARCHMENT)
    cv.fill(ctx, cv.rounded(cx - half, 150, 2 * half, 480, 6), PARCHMENT_LT)
    for y in (44, 692):
        roll = cv.rounded(cx - half - 50, y, 2 * half + 100, 32, 16)
        cv.shaded(ctx, roll, (PARCHMENT_DK, PARCHMENT, PARCHMENT_LT), shift=4, rim=2.5, line=2.5)
        for x in (cx - half - 56, cx + half + 56):
            cv.shaded(ctx, cv.circle(x, y + 16, 12), (RED_DK, (176, 40, 56), (220, 90, 96)), shift=2, rim=1.2,
                      line=2)
    cv.text(ctx, "HIGH SCORES", cx, 130, 44, TITLE_INK, bold=True, family=cv.SERIF, anchor="center")
    for x in (cx - 234, cx + 234):
        cv.shaded(ctx, cv.poly(cv.star_points(x, 112, 14, 6)), (GOLD_DK, GOLD, GOLD_LT), shift=1.6, rim=1.0,
                  line=1.6)
    cv.fill(ctx, cv.poly([(cx - 212, 142), (cx + 212, 142), (cx + 212, 144.5), (cx - 212, 144.5)]), TITLE_INK)
    cv.fill(ctx, cv.poly([(cx - 212, 640), (cx + 212, 640), (cx + 212, 642.5), (cx - 212, 642.5)]), TITLE_INK)
    for i in range(5):
        cv.shaded(ctx, cv.poly(cv.star_points(cx - 80 + 40 * i, 668, 9, 4)), (GOLD_DK, GOLD, GOLD_LT), shift=1.2,
                  rim=0.8, line=1.4)


def topten():
    return cv.flat(cv.reduce(cv.render(1024, 768, topten_art, 2), 2))


# ---- game over: the game writes the score at (234, 43) in pure red, 14-point bold -------

GAMEOVER_W, GAMEOVER_H = 520, 320
SCORE_AT = (234, 43)
# Pure red reads at over 5:1 only on pure black: the score's own box is black, from 10 px left
# of where the game writes to well past the longest score, and a gold frame round it draws the
# eye there first.
SCORE_BOX = (SCORE_AT[0] - 12, SCORE_AT[1] - 8, 226, 30)  # x, y, w, h inside the frame
BLACK = (0, 0, 0)


def score_box(ctx):
    x, y, w, h = SCORE_BOX
    cv.fill(ctx, cv.rounded(x - 5, y - 5, w + 10, h + 10, 7), GOLD_DK)
    cv.fill(ctx, cv.rounded(x - 3.5, y - 3.5, w + 7, h + 7, 6), GOLD_LT)
    cv.fill(ctx, cv.rounded(x - 2, y - 2, w + 4, h + 4, 5), GOLD)
    ctx.rectangle(x, y, w, h)
    cv.color(ctx, BLACK)
    ctx.fill()
    # A star at the box's far end, past the longest score the game can write.
    cv.shaded(ctx, cv.poly(cv.star_points(x + w + 2, y + h / 2, 11, 4.5)), (GOLD_DK, GOLD, GOLD_LT), shift=1.0,
              rim=0.6, line=1.2)


def gameover_art(ctx):
    frame_panel(ctx, 0, 0, GAMEOVER_W, GAMEOVER_H)
    # The score line on a dark plaque across the top of the sheet, like a scoreboard.
    cv.fill(ctx, cv.rounded(22, 20, GAMEOVER_W - 44, 66, 8), GOLD_DK)
    cv.fill(ctx, cv.rounded(24, 22, GAMEOVER_W - 48, 62, 7), BLACK)
    score_box(ctx)
    # 14-pt bold text drawn at y 43 has its baseline about 13 px lower.
    cv.text(ctx, "Your score:", SCORE_BOX[0] - 10, SCORE_AT[1] + 13, 16, GOLD_LT, bold=True, anchor="right")
    cv.text(ctx, "GAME OVER", GAMEOVER_W / 2, 166, 60, (150, 24, 40), bold=True, family=cv.SERIF,
            anchor="center", edge=PARCHMENT_LT, edge_w=4)
    cv.fill(ctx, cv.poly([(60, 198), (GAMEOVER_W - 60, 198), (GAMEOVER_W - 60, 199.5), (60, 199.5)]),
            PARCHMENT_DK)
    cv.text(ctx, "Return: play again", GAMEOVER_W / 2, 240, 21, TITLE_INK, bold=True, anchor="center")
    cv.text(ctx, "Escape: main menu", GAMEOVER_W / 2, 274, 21, TITLE_INK, bold=True, anchor="center")
    for x in (70, GAMEOVER_W - 70):
        cv.shaded(ctx, cv.poly(cv.star_points(x, 250, 16, 6.5)), (GOLD_DK, GOLD, GOLD_LT), shift=1.2, rim=0.8,
                  line=1.4)


def gameover():
    return cv.flat(cv.reduce(cv.render(GAMEOVER_W, GAMEOVER_H, gameover_art)))


# ---- pause box ----------------------------------------------------------------------


def pausebox_art(ctx):
    frame_panel(ctx, 0, 0, 440, 200)
    cv.text(ctx, "PAUSED", 220, 78, 48, TITLE_INK, bold=True, family=cv.SERIF, anchor="center")
    for x in (86, 354):
        cv.shaded(ctx, cv.poly(cv.star_points(x, 60, 13, 5.5)), (GOLD_DK, GOLD, GOLD_LT), shift=1.2, rim=0.8,
                  line=1.4)
    cv.fill(ctx, cv.poly([(60, 98), (380, 98), (380, 99.5), (60, 99.5)]), PARCHMENT_DK)
    cv.text(ctx, "P or Return: continue", 220, 136, 22, TITLE_INK, bold=True, anchor="center")
    cv.text(ctx, "Escape: give up", 220, 168, 22, TITLE_INK, bold=True, anchor="center")


def pausebox():
    return cv.flat(cv.reduce(cv.render(440, 200, pausebox_art)))


# ---- pause film: a 2 x 2 tile, dark on one diagonal and key on the other ---------------

# A deep night blue close to the sky's own colours: the dimmed world shows through every other
# pixel, and a film far from the sky would shimmer wherever the picture is scaled.
FILM_DARK = (22, 16, 88)


def pause_film():
    tile = np.zeros((2, 2, 3), dtype=np.uint8)
    tile[0, 0] = tile[1, 1] = FILM_DARK
    tile[0, 1] = tile[1, 0] = KEY
    return tile


def build(pieces):
    """pieces: the landscape sheets, which the menu shows along its bottom."""
    return {
        "menu.PNG": menu(pieces),
        "topten.PNG": topten(),
        "gameover.PNG": gameover(),
        "pausebox.PNG": pausebox(),
        "pause.PNG": pause_film(),
    }
