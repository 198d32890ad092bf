"""Birds, the plane, the slime, the star, the bubble, the bonus ball and the cursor."""

import math

from . import canvas as cv
from .palette import (
    BUBBLE,
    BUBBLE_DK,
    BUBBLE_LT,
    CANARY,
    CANARY_DK,
    CANARY_LT,
    GOLD,
    GOLD_DK,
    GOLD_LT,
    INK,
    PARCHMENT,
    RED,
    RED_DK,
    RED_LT,
    ROBIN,
    ROBIN_DK,
    ROBIN_LT,
    SLIME,
    SLIME_DK,
    SLIME_LT,
    SMOKE,
    SMOKE_DK,
    STONE,
    STONE_DK,
    STONE_LT,
    WHITE,
    WOOD,
    WOOD_LT,
    CLOUD,
    BEARD_DK,
    SKIN,
    SKIN_DK,
)

TAU = 2 * math.pi
GOLD_T = (GOLD_DK, GOLD, GOLD_LT)
WHITE_T = (BEARD_DK, WHITE, WHITE)

# ---- birds: 48 x 40 frames, the body along y 15-24 (hit box 0, 15, 48, 9) -----------------

BIRD_W, BIRD_H = 48, 40


def bird(ctx, tones, wing, dead=False, ruffle=0.0):
    """A round bird facing left, its wing at `wing` radians (positive: up)."""
    dark, base, light = tones

    def wing_path(angle, length, width, px=27.0, py=17.5):
        # The wing hangs from the shoulder (px, py); angle 0 points straight back.
        dx, dy = math.cos(angle), -math.sin(angle)
        return cv.ellipse(px + 0.5 * length * dx, py + 0.5 * length * dy, length * 0.5, width, -angle)

    # Far wing, behind the body, a little behind the near one in the beat.
    cv.shaded(ctx, wing_path(wing * 0.85 + 0.2, 15, 4.0, 25.0, 16.5), (dark, dark, base), shift=1.0, rim=0.7)
    tail = cv.poly([(35, 17), (45, 12 + ruffle), (43.5, 19), (45, 25 - ruffle), (35, 22)])
    cv.shaded(ctx, tail, tones, shift=1.0, rim=0.7)
    cv.shaded(ctx, cv.ellipse(24, 20, 12.5, 9.5), tones, shift=2.0, rim=1.3)
    cv.fill(ctx, cv.ellipse(21, 23.5, 7.5, 4.5), light)
    beak = cv.poly([(11.5, 16.5), (4, 19.5), (11.5, 22)])
    cv.shaded(ctx, beak, GOLD_T, shift=0.7, rim=0.5, line=0.9)
    if dead:
        cv.fill(ctx, cv.circle(16, 14.5, 3.2), WHITE)
        for sx in (-2.0, 2.0):
            cv.ink(ctx, cv.poly([(16 + sx, 14.5 - 2.0), (16 - sx, 14.5 + 2.0)], closed=False), 1.3)
    else:
        cv.fill(ctx, cv.circle(16, 14.5, 3.0), WHITE)
        cv.ink(ctx, cv.circle(16, 14.5, 3.0), 0.8)
        cv.fill(ctx, cv.circle(15, 14.8, 1.5), INK)
        cv.fill(ctx, cv.circle(15.5, 14.0, 0.5), WHITE)
    cv.shaded(ctx, wing_path(wing, 17, 4.6), tones, shift=1.0, rim=0.8)


BEATS = 2  # wing beats per flying sheet: at the birds' slowest frame time, still a beat a second


def wing_angle(k, n=14):
    """From 50 degrees up to 60 down and back, BEATS times a sheet; the tips stay in the frame."""
    return math.radians(-5 + 55 * math.cos(TAU * BEATS * k / n))


def body_bob(k, n=14):
    """The body rises on the downstroke and sinks as the wings come up: a pixel each way."""
    return -1.0 * math.sin(TAU * BEATS * k / n)


def feather(ctx, x, y, angle, tones):
    cv.shaded(ctx, cv.ellipse(x, y, 3.6, 1.5, angle), tones, shift=0.6, rim=0.4, line=0.8)


# Loose feathers over a falling bird: where they float in the first frame, and their tilt.
# In the second frame each is higher and tilted the other way, so they drift up and sway
# while the bird drops away from them.
LOOSE_FEATHERS = ((10, 10.5, 0.5), (39, 11.0, 2.5), (30, 5.5, 0.1))
FEATHER_RISE = 3.0


def loose_feather(ctx, x, y, angle, tones):
    """A light feather with no outline: a vane, and its quill along it and out of its end."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    cv.fill(ctx, cv.poly([(-3.6, 0), (-1.5, -1.6), (2.2, -1.3), (3.4, 0), (2.2, 1.2), (-1.5, 1.4)]), tones[2])
    ctx.new_path()
    ctx.move_to(-5.0, 0.3)
    ctx.line_to(3.0, 0)
    ctx.set_line_width(0.8)
    cv.color(ctx, tones[0])
    ctx.stroke()
    ctx.restore()


def flip(ctx, facing_right):
    if facing_right:
        ctx.translate(BIRD_W, 0)
        ctx.scale(-1, 1)


def bird_flying(ctx, tones, k, facing_right):
    flip(ctx, facing_right)
    ctx.translate(0, body_bob(k))
    bird(ctx, tones, wing_angle(k), ruffle=1.5 * math.sin(TAU * BEATS * k / 14))


def hit_flash(ctx, cx, cy, r):
    """The white star of a hit, with a gold heart: drawn behind the bird, without outline."""
    for radius, colour in ((r, WHITE), (r * 0.62, GOLD_LT)):
        pts = []
        for i in range(16):
            a = TAU * i / 16 + 0.2
            rr = radius if i % 2 == 0 else radius * 0.5
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a) * 0.9))
        cv.fill(ctx, cv.poly(pts), colour)


def bird_sheets(prefix, tones, facing_right):
    flying = [cv.inside(cv.sprite(BIRD_W, BIRD_H, lambda c, k=k: bird_flying(c, tones, k, facing_right)),
                        "a flying bird") for k in range(14)]

    # Dying. The game shows frame 1 first (frame 0 only in its first instant): both are the
    # hit, a white flash behind a startled, paled bird; then feathers fly and the eyes cross.
    pale = (tones[1], tones[2], WHITE)
    dying = []
    for k in range(6):
        if k < 2:
            def startled(c):
                flip(c, facing_right)
                c.translate(24, 20)
                c.scale(0.86, 0.86)
                c.translate(-24, -20)
                bird(c, pale, math.radians(45), ruffle=2)

            def flash(c, k=k):
                flip(c, facing_right)
                hit_flash(c, 24, 20, 21 - 1.5 * k)

            art = cv.over(cv.outline(cv.render(BIRD_W, BIRD_H, startled)), cv.render(BIRD_W, BIRD_H, flash))
            dying.append(cv.inside(cv.keyed(cv.reduce(art)), "a bird's hit flash"))
            continue

        def draw(c, k=k):
            flip(c, facing_right)
            t = (k - 1) / 4.0
            for i in range(6):  # feathers fly out and turn
                a = i * TAU / 6 + 0.4
                d = 6 + 10 * t
                feather(c, 24 + d * math.cos(a) * 1.05, 20 + d * math.sin(a) * 0.7 - t,
                        a + 2.5 * t, tones)
            c.translate(24, 20)
            c.rotate(-0.35 * t)
            c.scale(1 - 0.1 * t, 1 - 0.1 * t)
            c.translate(-24, -20)
            bird(c, tones, math.radians(50 - 100 * t), dead=True, ruffle=2)
        dying.append(cv.inside(cv.sprite(BIRD_W, BIRD_H, draw), "a dying bird"))

    # Falling: two frames a quarter turn apart, tumbling head over tail, with a few loose
    # feathers left floating above it as it drops; a half turn a frame would read as a flip
    # with no direction.
    falling = []
    for k in range(2):
        def draw(c, k=k):
            flip(c, facing_right)
            c.save()
            c.translate(24, 23)
            c.rotate(math.radians(150 + 90 * k))
            c.scale(0.74, 0.74)
            c.translate(-24, -20)
            bird(c, tones, math.radians(-40), dead=True, ruffle=2)
            c.restore()

        def feathers(c, k=k):
            flip(c, facing_right)
            for i, (x, y, a) in enumerate(LOOSE_FEATHERS):
                sway = 0.35 if i % 2 else -0.35
                loose_feather(c, x + (1 if i % 2 else -1) * k, y - FEATHER_RISE * k, a + sway * k, tones)

        falling.append(cv.inside(cv.sprite(BIRD_W, BIRD_H, draw, glints=feathers), "a falling bird"))

    return {
        prefix + "_normal.PNG": cv.sheet(flying),
        prefix + "_dying.PNG": cv.sheet(dying),
        prefix + "_falling.PNG": cv.sheet(falling),
    }


# ---- plane: 96 x 44 frames, the box x 6-89, y 10-34 holds the body, nose at the left --------

PLANE_W, PLANE_H = 96, 44
RED_T = (RED_DK, RED, RED_LT)
STEEL_T = (STONE_DK, STONE, STONE_LT)


def plane(ctx, prop, smoking=False):
    cv.shaded(ctx, cv.ellipse(44, 11, 19, 2.8), RED_T, shift=1.0, rim=0.7)  # upper wing
    for x in (34, 54):
        cv.ink(ctx, cv.poly([(x, 12), (x + 2, 26)], closed=False), 2.6)
        cv.ink(ctx, cv.poly([(x, 12), (x + 2, 26)], closed=False), 1.0, STONE_LT)
    # The landing gear, its wheel a pixel clear of the frame's bottom edge.
    cv.ink(ctx, cv.poly([(40, 30), (38.5, 35.5)], closed=False), 2.6)
    cv.shaded(ctx, cv.circle(38, 37.2, 3.2), STEEL_T, shift=0.8, rim=0.5)
    fin = cv.smooth([(74, 17), (80, 8), (86, 3.5), (91, 5), (90, 17)])
    cv.shaded(ctx, fin, RED_T, shift=1.2, rim=0.8)
    body = cv.smooth([(9, 17), (24, 13), (52, 13.5), (76, 15.5), (91, 14.5), (91, 22), (78, 25),
                      (52, 30), (22, 31), (9, 27)])
    cv.shaded(ctx, body, RED_T, shift=2.0, rim=1.2)
    cv.fill(ctx, cv.poly([(14, 21), (86, 19), (86, 21.2), (14, 23.4)]), GOLD)  # a gold stripe
    cv.shaded(ctx, cv.circle(66, 22.5, 3.6), WHITE_T, shift=0.6, rim=0.4, line=0.8)
    cv.fill(ctx, cv.circle(66, 22.5, 1.5), RED_DK)
    cv.shaded(ctx, cv.ellipse(84, 20.5, 8, 2.4), RED_T, shift=0.8, rim=0.5)  # tail plane
    # The pilot: leather cap, goggles and a white scarf.
    cv.shaded(ctx, cv.circle(50, 10.5, 4.6), (SKIN_DK, SKIN, SKIN), shift=0.8, rim=0.5)
    cv.shaded(ctx, cv.ellipse(51, 8.6, 4.8, 2.6), (WOOD, WOOD_LT, WOOD_LT), shift=0.6, rim=0.4, line=0.8)
    cv.shaded(ctx, cv.circle(47, 10.5, 1.9), (BUBBLE_DK, BUBBLE, WHITE), shift=0.4, rim=0.3, line=0.8)
    scarf_end = 3 * (prop % 2)
    cv.shaded(ctx, cv.poly([(53, 13), (62, 12 - scarf_end * 0.5), (63, 15 + scarf_end * 0.3), (54, 15)]),
              WHITE_T, shift=0.5, rim=0.3, line=0.8)
    cv.shaded(ctx, cv.ellipse(44, 28, 17, 3.4), RED_T, shift=1.0, rim=0.7)  # lower wing
    cv.shaded(ctx, cv.circle(10, 22, 4.4), GOLD_T, shift=0.9, rim=0.6)  # spinner
    if prop == 0:
        blade = cv.ellipse(5.5, 22, 1.8, 13)
        cv.shaded(ctx, blade, STEEL_T, shift=0.6, rim=0.4)
    elif prop == 1:
        cv.fill(ctx, cv.ellipse(5.5, 22, 2.2, 12.5), CLOUD)
        blade = cv.ellipse(5.5, 22, 1.6, 4.5)
        cv.shaded(ctx, blade, STEEL_T, shift=0.6, rim=0.4)
    else:  # stopped, askew
        cv.shaded(ctx, cv.ellipse(5.5, 22, 1.8, 9, 0.5), STEEL_T, shift=0.6, rim=0.4)


def plane_sheets():
    normal = [cv.sprite(PLANE_W, PLANE_H, lambda c, k=k: plane(c, k)) for k in range(2)]
    # Shot down. The two frames alternate at the plane's frame time, so they differ in
    # everything loose: the plane shudders between two dive angles, the flame flickers, the
    # stopped propeller jerks and the smoke billows in puffs that take each other's places.
    smoke = (  # frame: (x, y, r) of the puffs, trailing up and back from the engine
        ((62, 17, 3.6), (71, 12, 4.8), (80, 8.5, 5.2), (89, 8, 3.8)),
        ((66, 14, 5.0), (75, 10.5, 4.0), (84, 8, 5.0), (91, 12.5, 2.8)),
    )
    falling = []
    for k in range(2):
        def draw(c, k=k):
            for i, (x, y, r) in enumerate(smoke[k]):
                tones = (SMOKE_DK, SMOKE, CLOUD) if i % 2 == k else (SMOKE_DK, SMOKE_DK, SMOKE)
                cv.shaded(c, cv.circle(x, y, r), tones, shift=1.2, rim=0.8, line=0)
            c.save()
            c.translate(42, 24 + 0.6 * k)
            c.rotate(math.radians(-15 - 7 * k))
            c.scale(0.66, 0.66)
            c.translate(-48, -22)
            plane(c, 2 + k)
            c.restore()
            # Flames at the engine.
            fx, fy = (22, 29) if k == 0 else (23, 31)
            flame = [(fx - 5, fy + 2), (fx - 2, fy - 7 - 3 * k), (fx + 1, fy - 2), (fx + 3, fy - 9 + 4 * k),
                     (fx + 6, fy + 1), (fx + 1, fy + 5)]
            cv.shaded(c, cv.smooth(flame), (RED, GOLD, GOLD_LT), shift=0.8, rim=0.6, line=0.8)

        falling.append(cv.inside(cv.sprite(PLANE_W, PLANE_H, draw), "a falling plane"))
    return {"plane_normal.PNG": cv.sheet(normal), "plane_falling.PNG": cv.sheet(falling)}


# ---- slime: 48 x 48 frames, the whole frame is its hit box, so the blob fills it -------------

SLIME_S = 48
SLIME_T = (SLIME_DK, SLIME, SLIME_LT)


def blob_points(cx, bottom, rx, ry, wob):
    pts = []
    for i in range(16):
        a = TAU * i / 16
        x = cx + rx * math.cos(a)
        y = bottom - ry + ry * math.sin(a) * (0.75 if math.sin(a) > 0 else 1.0)
        y += wob * math.sin(3 * a)
        pts.append((x, y))
    return pts


def slime_face(ctx, cx, cy, squash, look=-1.3):
    for ex in (-7.5, 6.5):
        ew, eh = 5.8 * (1 + squash * 0.2), 6.6 * (1 - squash * 0.2)
        cv.fill(ctx, cv.ellipse(cx + ex, cy, ew, eh), WHITE)
        cv.ink(ctx, cv.ellipse(cx + ex, cy, ew, eh), 1.0)
        cv.fill(ctx, cv.circle(cx + ex + look, cy + 0.8, 2.8), INK)
        cv.fill(ctx, cv.circle(cx + ex + look - 0.8, cy - 0.3, 1.0), WHITE)
    mouth = cv.poly([(cx - 5, cy + 9), (cx - 1, cy + 11.5), (cx + 4, cy + 9)], closed=False)
    cv.ink(ctx, mouth, 1.3)


def slime_draw(ctx, k):
    """Frame k of the wobble: the blob squashes and stretches once in six frames."""
    s = math.sin(TAU * k / 6)
    rx, ry = 19.5 * (1 + 0.08 * s), 19 * (1 - 0.1 * s)
    pts = blob_points(24, 45, rx, ry, 1.2 * math.cos(TAU * k / 6))
    cv.shaded(ctx, cv.smooth(pts), SLIME_T, shift=2.4, rim=1.5)
    cv.fill(ctx, cv.ellipse(15 - 0.5 * s, 45 - ry * 1.45, 3.8, 2.4, -0.5), SLIME_LT)
    slime_face(ctx, 23, 45 - ry * 0.95, s)


def slime_sheets():
    normal = [cv.sprite(SLIME_S, SLIME_S, lambda c, k=k: slime_draw(c, k)) for k in range(6)]

    # Shot. The game shows frame 1 first and frame 2 next, each for a whole frame time, and
    # frame 3 only for a moment before the slime is gone: frame 1 is the swell, frame 2 the
    # splash, frame 3 the last drops; frame 0, seen only in the game's first instant, the hit.
    def swell(c, grow):
        pts = blob_points(24, 46.5, 19.5 + 1.3 * grow, 19 + 2.5 * grow, 1.2 - 0.4 * grow)
        cv.shaded(c, cv.smooth(pts), SLIME_T, shift=2.4, rim=1.5)
        cv.fill(c, cv.ellipse(14, 15 + 3 * (1 - grow), 4.2, 2.6, -0.5), SLIME_LT)
        for ex in (-7.5, 7.5):  # eyes squeezed shut
            side = 1 if ex < 0 else -1
            cv.ink(c, cv.poly([(24 + ex - 3.5 * side, 19), (24 + ex + 3.5 * side, 22.5), (24 + ex - 3.5 * side, 26)],
                              closed=False), 1.5)
        cv.fill(c, cv.ellipse(24, 33, 3.4 + grow, 3.2 + 1.4 * grow), INK)

    def splash(c, t):
        # Droplets fly out from the middle, stretched at first, rounding as they go.
        for i in range(8):
            a = TAU * i / 8 + 0.3
            d = 12 + 6 * t + (1.5 if i % 2 else 0)
            r = (5.0 - 3.0 * t) * (1 if i % 3 else 0.75)
            x, y = 24 + d * math.cos(a), 24.5 + d * math.sin(a) * 0.92
            stretch = 1.3 - 0.5 * t
            cv.shaded(c, cv.ellipse(x, y, r * stretch, r * 0.9, a), SLIME_T, shift=1.0, rim=0.7)
        # The splat in the middle: a ragged star of goo, shrinking as it flies apart.
        lobes = [(24 + (13 - 12 * t) * (1 if i % 2 else 0.5) * math.cos(TAU * i / 12),
                  24.5 + (13 - 12 * t) * (1 if i % 2 else 0.5) * math.sin(TAU * i / 12)) for i in range(12)]
        cv.shaded(c, cv.smooth(lobes), SLIME_T, shift=1.4, rim=1.0)

    blowing = []
    for k in range(4):
        def draw(c, k=k):
            if k == 0:  # the hit: squashed flat, eyes shut
                c.translate(24, 46)
                c.scale(1.06, 0.8)
                c.translate(-24, -46)
                swell(c, 0.0)
            elif k == 1:
                swell(c, 1.0)
            else:
                splash(c, 0.2 if k == 2 else 0.6)

        def glints(c, k=k):
            if k == 2:  # the pop
                for i in range(6):
                    a = TAU * i / 6
                    cv.sparkle(c, 24 + 8.5 * math.cos(a + 0.5), 24.5 + 8.5 * math.sin(a + 0.5), 2.4, WHITE)
        blowing.append(cv.inside(cv.sprite(SLIME_S, SLIME_S, draw, line=1.2, glints=glints), "the slime's burst %d" % k))
    return {"slime.PNG": cv.sheet(normal), "slime_blowing.PNG": cv.sheet(blowing)}


# ---- star: 16 x 16 frames (hit box 15 x 15), a spark of gold streaking along its flight ----
# Stars fly right in stacks of five, 10 px apart: each is a low spark stretched along its
# flight with a short tail, so that a stack reads as a spray rather than a column of stars.
# A star shows a new frame on nearly every drawn frame, in no steady order, so every frame has
# the same size and brightness; a thin gold-dark edge stands in for the dark outline, which
# would swallow so small a spark.

STAR_Y = 7.5  # the spark's middle row, the middle of the hit box


def spark_points(k):
    """Frame k's spark: a four-pointed twinkle, long along the flight and low across it, its
    points breathing a little from frame to frame."""
    a = TAU * k / 8
    return [(14.3 + 0.3 * math.sin(a), STAR_Y), (10.4, STAR_Y + 1.7), (9.0, STAR_Y + 3.2 + 0.2 * math.cos(a)),
            (7.6, STAR_Y + 1.7), (1.2 + 0.4 * math.cos(a), STAR_Y), (7.6, STAR_Y - 1.7),
            (9.0, STAR_Y - 3.2 - 0.2 * math.cos(a)), (10.4, STAR_Y - 1.7)]


def star_draw(ctx, k):
    spark = cv.poly(spark_points(k))
    cv.shaded(ctx, spark, GOLD_T, shift=0.5, rim=0.4, line=0)
    cv.ink(ctx, spark, 0.8, GOLD_DK)
    cv.fill(ctx, cv.ellipse(9.0, STAR_Y, 3.2, 1.5), GOLD_LT)


def star_frames():
    out = []
    for k in range(8):
        def draw(c, k=k):
            star_draw(c, k)

        def glint(c, k=k):
            # The white core twinkles at the spark's head, the same size in every frame.
            a = TAU * k / 8
            cv.fill(c, cv.ellipse(9.6 + 0.4 * math.cos(a), STAR_Y, 2.4, 1.0), WHITE)
        out.append(cv.inside(cv.sprite(16, 16, draw, line=0, glints=glint), "a star"))
    return out


# ---- bubble: 40 x 40 frames, the frame is the contact box; frame 3 fully formed ------------


def bubble_frames():
    out = []
    for k, r in enumerate((6.0, 10.5, 15.0, 18.0)):
        cy = 38.5 - r if k < 3 else 20.0

        def ring(c, r=r, cy=cy, k=k):
            if k == 0:
                cv.shaded(c, cv.circle(20, cy, r), (BUBBLE_DK, BUBBLE, BUBBLE_LT), shift=1.2, rim=0.8)
            else:
                rim = cv.circle(20, cy, r - 1.2)
                cv.ink(c, rim, 2.6, BUBBLE)
                cv.ink(c, cv.circle(20, cy, r - 2.6), 0.8, BUBBLE_LT)
                c.new_path()
                c.arc(20, cy, r * 0.72, math.radians(195), math.radians(255))
                c.set_line_width(max(1.6, r * 0.16))
                cv.color(c, WHITE)
                c.stroke()
                c.new_path()
                c.arc(20, cy, r - 1.2, math.radians(15), math.radians(80))
                c.set_line_width(1.6)
                cv.color(c, BUBBLE_DK)
                c.stroke()
            cv.fill(c, cv.circle(20 - r * 0.45, cy - r * 0.45, max(1.2, r * 0.12)), WHITE)

        def disc(c, r=r, cy=cy):
            cv.fill(c, cv.circle(20, cy, r), WHITE)

        art = cv.render(40, 40, ring)
        art = cv.outline(art, 1.3, silhouette=cv.render(40, 40, disc))
        out.append(cv.keyed(cv.reduce(art)))
    return out


# ---- the bonus ball: a shiny ball with a red heart, health -------------------------------


def ball_frame():
    def draw(c):
        cv.shaded(c, cv.circle(20, 20, 17), (BUBBLE_DK, PARCHMENT, WHITE), shift=3.0, rim=2.0)
        band = cv.ellipse(20, 20, 17, 5.5, -0.35)
        c.save()
        cv.circle(20, 20, 17)(c)
        c.clip()
        cv.shaded(c, band, GOLD_T, shift=1.0, rim=0.7, line=0.9)
        c.restore()
        cv.shaded(c, cv.heart(20.5, 21, 9.5), (RED_DK, RED, RED_LT), shift=1.4, rim=1.0, line=1.2)

    def glint(c):
        cv.fill(c, cv.ellipse(12, 11, 4, 2.4, -0.7), WHITE)
        cv.fill(c, cv.circle(17, 16.5, 1.4), WHITE)

    return cv.sprite(40, 40, draw, glints=glint)


# ---- the cursor: a wand whose white tip is the top-left pixel ------------------------------


def cursor_frame():
    def draw(c):
        shaft = cv.poly([(6, 6), (20.5, 20.5)], closed=False)
        cv.ink(c, shaft, 4.6)
        cv.ink(c, shaft, 2.8, WOOD)
        cv.ink(c, cv.poly([(7, 6.2), (20, 19.2)], closed=False), 0.9, WOOD_LT)
        tip = cv.poly([(1.2, 1.2), (7, 7)], closed=False)
        cv.ink(c, tip, 4.6)
        cv.ink(c, tip, 2.8, WHITE)

    def glints(c):
        cv.sparkle(c, 13, 3.5, 3.2, GOLD_LT)
        cv.sparkle(c, 4, 13, 2.4, GOLD)

    art = cv.outline(cv.render(24, 24, draw), 1.0)
    art = cv.over(cv.render(24, 24, glints), art)
    rgb = cv.keyed(cv.reduce(art))
    rgb[0, 0] = INK  # the hot spot: the very tip is always drawn
    return rgb


ROBIN_T = (ROBIN_DK, ROBIN, ROBIN_LT)
CANARY_T = (CANARY_DK, CANARY, CANARY_LT)


def build():
    out = {}
    out.update(bird_sheets("birdr", ROBIN_T, facing_right=False))
    out.update(bird_sheets("birdl", CANARY_T, facing_right=True))
    out.update(plane_sheets())
    out.update(slime_sheets())
    out["zap.PNG"] = cv.sheet(star_frames())
    out["bubble.PNG"] = cv.sheet(bubble_frames())
    out["dorpoball.PNG"] = ball_frame()
    out["cursor.PNG"] = cursor_frame()
    return out
