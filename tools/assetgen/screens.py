"""The screens around the play: menu, high-score table, game over, pause box and pause film."""

import math

import numpy as np

from . import canvas as cv
from . import critters, player, world
from .palette import (
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
    """A parchment panel with a violet and gold frame."""
    cv.fill(ctx, cv.rounded(x, y, w, h, r), INK)
    cv.fill(ctx, cv.rounded(x + 2, y + 2, w - 4, h - 4, r - 2), ROBE_DK)
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


def menu(pieces):
    pic = cv.flat(cv.reduce(cv.render(1024, 768, menu_art, 2), 2))
    # The landscape stands on the bottom edge, the cauldron at the right.
    for i, x in ((1, 0), (2, 254), (3, 508), (0, 762)):
        p = pieces["scenery%d.PNG" % i]
        paste_sprite(pic, p, 1, 0, x, 768 - p.shape[0])
    # The magician and his foes, drawn afresh at twice their size, outlines included.
    big = lambda w, h, draw: cv.sprite(w * 2, h * 2, lambda c: (c.scale(2, 2), draw(c)), line=3.2)
    paste_sprite(pic, big(128, 96, lambda c: player.magician(c, 0.0)), 1, 0, 40, 330)
    paste_sprite(pic, big(16, 16, lambda c: critters.star_draw(c, 0)), 1, 0, 296, 372)
    paste_sprite(pic, big(48, 40, lambda c: critters.bird_flying(c, critters.ROBIN_T, 2, False)), 1, 0,
                 770, 330)
    paste_sprite(pic, big(48, 48, lambda c: critters.slime_draw(c, 1)), 1, 0, 860, 410)
    return cv.over_rgb(cv.reduce(cv.render(1024, 768, buttons_art, 2), 2), pic)


# ---- high-score table ---------------------------------------------------------------


def topten_art(ctx):
    world.sky(ctx, horizon=768)
    ctx.rectangle(0, 0, 1024, 768)
    cv.color(ctx, (10, 8, 30), 0.35)
    ctx.fill()
    # A scroll: the sheet with a roll at the top and the bottom.
    cv.fill(ctx, cv.rounded(236, 56, 552, 656, 10), INK)
    cv.fill(ctx, cv.rounded(240, 60, 544, 648, 8), PARCHMENT_DK)
    cv.fill(ctx, cv.rounded(246, 64, 532, 640, 6), PARCHMENT)
    cv.fill(ctx, cv.rounded(254, 150, 516, 480, 6), PARCHMENT_LT)
    for y in (44, 692):
        roll = cv.rounded(220, y, 584, 32, 16)
        cv.shaded(ctx, roll, (PARCHMENT_DK, PARCHMENT, PARCHMENT_LT), shift=4, rim=2.5, line=2.5)
        for x in (214, 810):
            cv.shaded(ctx, cv.circle(x, y + 16, 12), (RED_DK, (176, 40, 56), (220, 90, 96)), shift=2, rim=1.2,
                      line=2)
    cv.text(ctx, "HIGH SCORES", 512, 130, 44, TITLE_INK, bold=True, family=cv.SERIF, anchor="center")
    for x in (278, 746):
        cv.shaded(ctx, cv.poly(cv.star_points(x, 112, 14, 6)), (GOLD_DK, GOLD, GOLD_LT), shift=1.6, rim=1.0,
                  line=1.6)
    cv.fill(ctx, cv.poly([(300, 142), (724, 142), (724, 144.5), (300, 144.5)]), TITLE_INK)
    cv.fill(ctx, cv.poly([(300, 640), (724, 640), (724, 642.5), (300, 642.5)]), TITLE_INK)
    for i in range(5):
        cv.shaded(ctx, cv.poly(cv.star_points(432 + 40 * i, 668, 9, 4)), (GOLD_DK, GOLD, GOLD_LT), shift=1.2,
                  rim=0.8, line=1.4)


def topten():
    return cv.flat(cv.reduce(cv.render(1024, 768, topten_art, 2), 2))


# ---- game over: 480 x 160; the game writes the score at (234, 43) -----------------------

GAMEOVER_W, GAMEOVER_H = 480, 160
SCORE_AT = (234, 43)


def gameover_art(ctx):
    frame_panel(ctx, 0, 0, GAMEOVER_W, GAMEOVER_H)
    cv.text(ctx, "GAME OVER", 240, 40, 30, (150, 24, 40), bold=True, family=cv.SERIF, anchor="center",
            edge=PARCHMENT_LT, edge_w=3)
    # 14-pt bold text drawn at y 43 has its baseline about 13 px lower.
    cv.text(ctx, "Your score:", SCORE_AT[0] - 6, SCORE_AT[1] + 13, 15, TITLE_INK, bold=True, anchor="right")
    cv.fill(ctx, cv.poly([(40, 76), (440, 76), (440, 77.5), (40, 77.5)]), PARCHMENT_DK)
    cv.text(ctx, "Return: play again", 240, 104, 16, TITLE_INK, anchor="center")
    cv.text(ctx, "Escape: main menu", 240, 128, 16, TITLE_INK, anchor="center")
    for x in (60, 420):
        cv.shaded(ctx, cv.poly(cv.star_points(x, 112, 12, 5)), (GOLD_DK, GOLD, GOLD_LT), shift=1.2, rim=0.8,
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

FILM_DARK = (14, 10, 30)


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
