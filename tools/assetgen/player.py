"""The magician on his flying carpet, and the blast cloud behind him.

Every player sheet has 128 x 96 frames. The carpet and the seated body lie inside the
hit box x 26-122, y 36-82 of the frame; only the hat's tip rises above it.
He faces right, the way his stars fly. His gown is pale and a moonlit rim runs outside his
dark outline, so he reads from the night at the top of the play area to the glow at its
bottom; every picture stays inside its frame.

His stars leave from the middle of the frame, so he sits at the back of the carpet and holds
his wand out over its front: the wand's tip, not his face, is where the stars appear.
"""

import math

from . import canvas as cv
from .palette import (
    AURA,
    BEARD,
    BLAST,
    BLAST_DK,
    BLAST_EDGE,
    BLAST_LT,
    BEARD_DK,
    BUBBLE,
    BUBBLE_DK,
    BUBBLE_LT,
    CARPET,
    CARPET_DK,
    CARPET_LT,
    CLOUD,
    CLOUD_DK,
    CLOUD_LT,
    GOLD,
    GOLD_DK,
    GOLD_LT,
    GOWN,
    GOWN_DK,
    GOWN_LT,
    INK,
    PINK,
    ROBE,
    ROBE_DK,
    ROBE_LT,
    SKIN,
    SKIN_DK,
    SLIME,
    SLIME_DK,
    SLIME_LT,
    WHITE,
    WOOD,
)

W, H = 128, 96
TAU = 2 * math.pi

ROBE_T = (ROBE_DK, ROBE, ROBE_LT)
GOWN_T = (GOWN_DK, GOWN, GOWN_LT)
SKIN_T = (SKIN_DK, SKIN, SKIN)
GOLD_T = (GOLD_DK, GOLD, GOLD_LT)
CARPET_T = (CARPET_DK, CARPET, CARPET_LT)
BEARD_T = (BEARD_DK, BEARD, WHITE)
SLIME_T = (SLIME_DK, SLIME, SLIME_LT)


def ripple(x, phase):
    """Height of the carpet's wave at x: one travelling wave along the carpet, gentle, since
    the idle sheet runs through it about seven times a second."""
    return 1.5 * math.sin(TAU * (x - 30) / 44.0 - TAU * phase)


# The rider rides a third of the wave under him: half a pixel up and down, a calm idle.
RIDE = 0.35


def carpet(ctx, phase):
    xs = [30 + 4 * i for i in range(22)]  # x 30 to 114, the tassels and rim still inside the frame
    top = [(x, 67 + ripple(x, phase)) for x in xs]
    bottom = [(x, y + 8) for x, y in reversed(top)]
    # Tassels at both ends swing with the wave.
    for end_x, sign in ((30, -1), (114, 1)):
        base_y = 67 + ripple(end_x, phase)
        swing = 2.0 * math.sin(TAU * phase + (0 if sign < 0 else 1.3))
        for j, dy in enumerate((1.5, 4.0, 6.5)):
            x0, y0 = end_x, base_y + dy
            x1 = end_x + sign * (5 + j % 2) + swing * 0.4
            y1 = y0 + 3 + swing * 0.5 * sign
            cv.ink(ctx, cv.poly([(x0, y0), (x1, y1)], closed=False), 2.6)
            cv.ink(ctx, cv.poly([(x0, y0), (x1, y1)], closed=False), 1.2, GOLD)
            cv.fill(ctx, cv.circle(x1, y1, 1.5), GOLD)
    cv.shaded(ctx, cv.poly(top + bottom), CARPET_T, shift=1.4, rim=1.0)
    # Gold border and diamonds ride the same wave.
    edge = [(x, y + 2.2) for x, y in top[1:-1]]
    cv.ink(ctx, cv.poly(edge, closed=False), 1.0, GOLD)
    for x, y in top[2:-2:3]:
        cv.fill(ctx, cv.poly([(x, y + 3.6), (x + 2.2, y + 5.4), (x, y + 7.2), (x - 2.2, y + 5.4)]), GOLD_LT)


def scarf(ctx, phase, dy):
    """A gold scarf streaming back and up from the neck in the wind, waving; short and high, so
    that the blast's fire shows below it."""
    pts_top, pts_bot = [], []
    for i in range(7):
        t = i / 6.0
        x = 80 - 9 * t
        wave = 2.0 * t * math.sin(TAU * (phase - 0.9 * t))
        y = 51 + dy - 8 * t + wave
        half = 2.6 - 0.8 * t
        pts_top.append((x, y - half))
        pts_bot.append((x, y + half))
    end = pts_bot[-1]
    tail = [(end[0] - 4, end[1] + 2.5), (end[0] - 1, end[1] + 3.5)]
    cv.shaded(ctx, cv.poly(pts_top + tail + list(reversed(pts_bot))), GOLD_T, shift=1.0, rim=0.8)


def hat(ctx, dy, slimed=False):
    def cone(c):
        c.new_sub_path()
        c.move_to(75, 40 + dy)
        c.curve_to(77, 30 + dy, 74, 20 + dy, 63, 13 + dy)
        c.curve_to(74, 15 + dy, 86, 24 + dy, 98, 40 + dy)
        c.close_path()

    cv.shaded(ctx, cone, ROBE_T, shift=1.6, rim=1.0)
    band = cv.poly([(77.5, 35 + dy), (95, 35 + dy), (97, 38.5 + dy), (76.5, 38.5 + dy)])
    cv.shaded(ctx, band, GOLD_T, shift=0.8, rim=0.6, line=0.8)
    star = cv.poly(cv.star_points(84, 28 + dy, 3.6, 1.5, 0.15))
    cv.fill(ctx, star, GOLD)
    cv.ink(ctx, star, 0.7)
    cv.shaded(ctx, cv.ellipse(87, 39.5 + dy, 14, 3.2), (ROBE_DK, ROBE, ROBE_LT), shift=0.8, rim=0.6)
    if slimed:
        goo = cv.smooth([(70, 16 + dy), (77, 18 + dy), (80, 24 + dy), (77, 27 + dy), (76, 33 + dy),
                         (74, 30 + dy), (72, 24 + dy), (66, 17 + dy)])
        cv.shaded(ctx, goo, SLIME_T, shift=1.0, rim=0.8)


def head(ctx, dy, mouth_open=False):
    cv.shaded(ctx, cv.circle(87, 46 + dy, 8.5), SKIN_T, shift=1.5, rim=0.9)
    cv.fill(ctx, cv.ellipse(91.5, 44.2 + dy, 1.3, 1.9), INK)
    cv.fill(ctx, cv.circle(91.9, 43.5 + dy, 0.5), WHITE)
    beard = cv.smooth([(80, 49 + dy), (88, 50.5 + dy), (96, 50 + dy), (96, 55 + dy), (90, 63 + dy),
                       (87, 58 + dy), (82, 54 + dy)])
    cv.shaded(ctx, beard, BEARD_T, shift=1.2, rim=0.8)
    cv.shaded(ctx, cv.circle(95.5, 47.5 + dy, 2.4), (SKIN_DK, SKIN, WHITE), shift=0.6, rim=0.5, line=0.8)
    if mouth_open:
        cv.fill(ctx, cv.ellipse(93, 53 + dy, 1.7, 2.1), INK)


def body(ctx, dy):
    robe = cv.smooth([(77, 50 + dy), (88, 50 + dy), (95, 58 + dy), (103, 67 + dy), (84, 70 + dy),
                      (66, 69 + dy), (65, 62 + dy), (71, 55 + dy)])
    cv.shaded(ctx, robe, GOWN_T, shift=1.3, rim=0.9)
    for sx, sy in ((72, 63), (82, 58), (88, 66)):
        star = cv.poly(cv.star_points(sx, sy + dy, 2.2, 0.9))
        cv.fill(ctx, star, GOLD)
        cv.ink(ctx, star, 0.5, GOLD_DK)
    cv.shaded(ctx, cv.ellipse(95, 66 + dy, 10, 4.2), GOWN_T, shift=0.9, rim=0.7)
    # A violet slipper tucked under his knee, below the wand: the stars leave over it, and
    # gold on gold would hide them.
    shoe = cv.smooth([(97, 64 + dy), (104, 63.5 + dy), (108.5, 60.5 + dy), (107.5, 67 + dy), (99, 69 + dy)])
    cv.shaded(ctx, shoe, ROBE_T, shift=0.8, rim=0.6)


def arm(ctx, dy, hand, tip, shoulder=(85, 54)):
    """The sleeve from the shoulder to the hand, and the wand from the hand to its tip."""
    shoulder = (shoulder[0], shoulder[1] + dy)
    sleeve = cv.poly([shoulder, hand], closed=False)
    cv.ink(ctx, sleeve, 7.0)
    cv.ink(ctx, sleeve, 5.0, GOWN)
    cv.ink(ctx, cv.poly([(shoulder[0] + 1, shoulder[1] - 1.5), (hand[0], hand[1] - 1.5)], closed=False),
           1.2, GOWN_LT)
    wand = cv.poly([(hand[0] - (tip[0] - hand[0]) * 0.25, hand[1] - (tip[1] - hand[1]) * 0.25), tip],
                   closed=False)
    cv.ink(ctx, wand, 3.8)
    cv.ink(ctx, wand, 2.0, WOOD)
    cv.shaded(ctx, cv.circle(hand[0], hand[1], 2.8), SKIN_T, shift=0.7, rim=0.5, line=0.9)
    tip_star = cv.poly(cv.star_points(tip[0], tip[1], 3.8, 1.6))
    cv.fill(ctx, tip_star, GOLD_LT)
    cv.ink(ctx, tip_star, 0.8)


# The stars' start: a star's middle lies here in the frame, give or take ten rows.
STAR_START = (72, 56)

# The rider is drawn in his own coordinates and set this far along the carpet: back, so that
# his face and hands stay left of where the stars appear (x 64-80 of the frame).
RIDER_DX = -36

POSES = {
    # name: (hand, wand tip, shoulder) in the rider's coordinates, relative to the body's bob.
    # At rest the wand points ahead over the carpet, its tip on the stars' start.
    "forward": ((94, 57), (108, 54), (85, 55)),
    # The attack: the same hand lifts a little and the wand tilts up, so the change from the
    # resting pose is a flick of the wrist, and the burst lights where the stars leave.
    "lift": ((94, 56), (109, 53), (85, 55)),
    "point": ((95, 56), (110, 52), (85, 55)),
    # The desktop icon's cast: the wand raised high.
    "raised": ((97, 42), (106, 25), (85, 54)),
}


def magician(ctx, phase, pose="forward", with_carpet=True, slimed=False, mouth_open=False, extra=None,
             seat=RIDER_DX):
    """The carpet and its rider, sitting `seat` pixels from the carpet's middle; `extra(ctx, dy)`
    draws more on the rider, in his coordinates. Returns the wand's tip in the frame."""
    dy = RIDE * ripple(80 + seat, phase) if with_carpet else 0.0
    if with_carpet:
        carpet(ctx, phase)
    ctx.save()
    ctx.translate(seat, 0)
    scarf(ctx, phase, dy)
    body(ctx, dy)
    head(ctx, dy, mouth_open)
    hat(ctx, dy, slimed)
    hand, tip, shoulder = POSES[pose]
    arm(ctx, dy, (hand[0], hand[1] + dy), (tip[0], tip[1] + dy), shoulder)
    if extra is not None:
        extra(ctx, dy)
    ctx.restore()
    return (tip[0] + seat, tip[1] + dy)


def wand_tip(pose, phase):
    """Where the wand's tip lies in the frame, for a pose and the carpet's phase."""
    hand_tip = POSES[pose][1]
    return (hand_tip[0] + RIDER_DX, hand_tip[1] + RIDE * ripple(80 + RIDER_DX, phase))


def rider(w, h, draw, glints=None):
    """A player frame: the dark outline, the moonlit rim round it, and inside the frame."""
    return cv.inside(cv.sprite(w, h, draw, glints=glints, aura=AURA, aura_w=1.4), "a player frame")


def burst(ctx, x, y, size, turn):
    """The star of light at the wand's tip: size 0 to 1."""
    for i in range(8):
        a = turn + i * TAU / 8
        r = (4 + 6 * size) * (1.0 if i % 2 == 0 else 0.7)
        cv.ink(ctx, cv.poly([(x + 3 * math.cos(a), y + 3 * math.sin(a)),
                             (x + r * math.cos(a), y + r * math.sin(a))], closed=False), 1.2, GOLD)
    cv.sparkle(ctx, x, y, 4 + 5 * size, GOLD_LT, 0.8)
    cv.sparkle(ctx, x, y, 2 + 2 * size, WHITE)


# Where loose sparkles fly from the tip: above, ahead and below it, never back over the face.
FLECKS = ((1, -13), (8, -9), (-6, -11), (9, 8), (2, 12), (-5, 10))


def flecks(ctx, x, y, spread, turn):
    """Loose sparkles flying from the tip, drawn without outline; `spread` 0 to 1.4."""
    for i, (dx, dy) in enumerate(FLECKS[: int(2 + 3 * spread)]):
        wob = 1.5 * math.sin(turn * 3 + i)
        cv.sparkle(ctx, x + dx * (0.6 + 0.4 * spread) + wob, y + dy * (0.6 + 0.4 * spread), 1.8 + (i % 2),
                   GOLD_LT if i % 2 else WHITE)


def normal_frames():
    return [rider(W, H, lambda c, k=k: magician(c, k / 3.0)) for k in range(3)]


def zap_frames():
    """The attack. The game shows frame 1 first, for a whole frame time, and frame 2 for a
    moment before the normal sheet returns; frame 0 is seen only in the game's first instant.
    So frame 1 carries the full burst and frame 2 its last sparkle."""
    out = []
    for k, (pose, size, spread) in enumerate((("lift", 0.3, 0.3), ("point", 1.0, 1.0), ("point", 0.85, 1.4))):
        tip = wand_tip(pose, k / 3.0)

        def draw(c, k=k, pose=pose, size=size):
            magician(c, k / 3.0, pose, mouth_open=(k > 0))
            burst(c, tip[0], tip[1], size, 0.35 * k)

        def glints(c, spread=spread, k=k, tip=tip):
            flecks(c, tip[0], tip[1], spread, 0.35 * k)

        out.append(rider(W, H, draw, glints=glints))
    return out


# The bubble ride: an oval rim round the whole picture, inside the frame with a pixel to spare.
RING_C, RING_R = (64, 48), (59.5, 44.0)


def shell_arc(c, r, start_deg, end_deg, width, colour):
    """A stroke along the bubble's oval rim, r of the way out."""
    c.new_path()
    c.save()
    c.translate(*RING_C)
    c.scale(*RING_R)
    c.arc(0, 0, r, math.radians(start_deg), math.radians(end_deg))
    c.restore()
    c.set_line_width(width)
    cv.color(c, colour)
    c.stroke()


def bubble_frame():
    def inside(c):
        # The rider, a little smaller, in the middle of the bubble.
        c.translate(RING_C[0], RING_C[1] + 1)
        c.scale(0.82, 0.82)
        c.translate(-67, -47)
        magician(c, 0.0)

    man = cv.outline(cv.render(W, H, inside))
    man = cv.tint(man, BUBBLE_LT, 0.3)

    def shell(c):
        rim = cv.ellipse(RING_C[0], RING_C[1], *RING_R)
        cv.ink(c, rim, 5.6)
        cv.ink(c, rim, 3.6, BUBBLE)
        c.set_line_cap(1)
        shell_arc(c, 0.9, 195, 250, 3.0, WHITE)
        cv.fill(c, cv.circle(RING_C[0] - 33, RING_C[1] - 21, 2.4), WHITE)
        cv.fill(c, cv.circle(RING_C[0] + 33, RING_C[1] + 26, 1.6), BUBBLE_LT)
        shell_arc(c, 0.93, 20, 70, 1.6, BUBBLE_DK)

    ring = cv.render(W, H, shell)
    return cv.inside(cv.keyed(cv.reduce(cv.over(ring, man))), "the bubble ride")


def slime_frame():
    goo_t = SLIME_T

    def on_rider(c, dy):
        # Splashes over his shoulders and his face.
        cv.shaded(c, cv.smooth([(72, 52), (86, 51), (92, 56), (84, 59), (76, 60), (68, 58)]), goo_t,
                  shift=1.0, rim=0.8)
        cv.shaded(c, cv.smooth([(88, 39), (97, 38), (99, 41), (97, 47), (95, 43), (90, 42)]), goo_t,
                  shift=0.8, rim=0.6)

    def draw(c):
        magician(c, 0.0, slimed=True, extra=on_rider)
        # Splashes over the carpet, and drips hanging below it.
        cv.shaded(c, cv.smooth([(38, 66), (54, 64), (60, 69), (50, 72), (40, 71)]), goo_t, shift=1.0, rim=0.8)
        cv.shaded(c, cv.smooth([(98, 66), (112, 64), (117, 70), (106, 72)]), goo_t, shift=1.0, rim=0.8)
        for x, length in ((44, 12), (56, 7), (74, 14), (90, 9), (108, 11)):
            y0 = 74 + ripple(x, 0.0)
            drip = cv.smooth([(x - 2.6, y0), (x + 2.6, y0), (x + 1.4, y0 + length - 3),
                              (x + 2.4, y0 + length), (x, y0 + length + 2.2), (x - 2.4, y0 + length),
                              (x - 1.4, y0 + length - 3)])
            cv.shaded(c, drip, goo_t, shift=0.8, rim=0.6)

    return rider(W, H, draw)


def falling_frames():
    """Thrown off the carpet: he hangs tilted back, arms up, his hat lifting off, while his
    arms, scarf and hat flutter and the carpet flaps below.

    The game shows these frames 10 ms apart, the whole sheet about sixteen times a second, so
    a turn of the body would blur into a spinning wheel; the pose holds and only the loose
    parts move, a pixel or two each frame, which reads as a flutter in the wind of the fall.
    """
    out = []
    for k in range(6):
        w = TAU * k / 6  # one flutter per sheet

        def draw(c, k=k, w=w):
            # The carpet stays the size it was and where it was, only tipping a little as it
            # flaps, so the change from the riding pose does not make it jump.
            c.save()
            c.translate(72, 71)
            c.rotate(math.radians(-4 + 2.0 * math.sin(w)))
            c.translate(-72, -70)
            carpet(c, k / 6.0)
            c.restore()
            c.save()
            c.translate(60 + 1.0 * math.sin(w), 44)
            c.rotate(math.radians(-26 + 2.0 * math.sin(w)))
            c.translate(-84, -52)
            # The hat has come off: it flies above and behind him, wobbling.
            c.save()
            c.translate(80, 38)
            c.rotate(math.radians(-24 + 6 * math.sin(w + 1.0)))
            c.translate(-86 - 1.0 * math.cos(w), -40 - 9 - 1.2 * math.sin(w))
            hat(c, 0.0)
            c.restore()
            scarf(c, k / 6.0, 0.0)
            body(c, 0.0)
            head(c, 0.0, mouth_open=True)
            # The wand arm thrown up ahead of his face, waving.
            hand = (107 + 1.2 * math.sin(w), 45 - 1.5 * math.cos(w))
            a = math.radians(-70 + 14 * math.sin(w))
            arm(c, 0.0, hand, (hand[0] + 12 * math.cos(a), hand[1] + 12 * math.sin(a)), (89, 58))
            c.restore()

        out.append(rider(W, H, draw))
    return out


# The blast's fire: white-hot where it leaves the carpet, gold and orange as it streams away,
# rose and magenta as it cools; warm colours that neither his pale violet gown nor the sky's
# lavender clouds share.
BLAST_HOT = (GOLD, BLAST_LT, WHITE)
BLAST_FIRE = (BLAST_DK, BLAST, BLAST_LT)
BLAST_EMBER = (BLAST_EDGE, BLAST_DK, BLAST)

# The tail is a fan of jets of fire, each a tube from the carpet's back end out behind and
# below him: start, end, radius at the start and at the end, the height of the bulges that run
# along it, and where they are (in gaps between bulges), so that the jets do not thin out all
# at once. Between them they fill the space behind his back and under the carpet's end: the
# fire trails behind the carpet, no higher than his shoulders and no further forward than his
# knees, and shows round him by well over half his own size.
BLAST_JETS = (
    ((44, 56), (18, 50), 9.0, 8.5, 1.8, 0.0),  # up behind his back
    ((40, 68), (16, 64), 10.0, 10.5, 2.5, 0.5),  # straight back
    ((40, 78), (16, 80), 10.0, 10.5, 2.5, 0.25),  # back, behind the tassels
    ((66, 86), (16, 87), 6.5, 7.0, 1.5, 0.75),  # down and back, under the carpet's end
    ((82, 87), (40, 87.5), 2.5, 3.5, 1.4, 0.4),  # along the carpet's underside, from under his knees
)
# The bulges: one every 30 pixels along a jet, three passing by in a sheet, so each frame
# moves them 11 pixels back, well under half the gap to the next: the eye follows the fire
# streaming back rather than seeing it roll forward.
BULGE_GAP = 30.0
BULGES_PER_SHEET = 3


def jet_circles(jet, f):
    """The circles whose union is one jet at the sheet's time f: (x, y, radius, how far along)."""
    (x0, y0), (x1, y1), r_start, r_end, bulge, phase = jet
    length = math.hypot(x1 - x0, y1 - y0)
    steps = int(length / 1.5)
    out = []
    for j in range(steps + 1):
        u = j / steps
        r = (r_start + (r_end - r_start) * u) * (1 - 0.35 * u ** 4)  # the tip burns out
        r += bulge * math.sin(TAU * (u * length / BULGE_GAP + phase - BULGES_PER_SHEET * f)) * min(1.0, 4 * u)
        out.append((x0 + (x1 - x0) * u, y0 + (y1 - y0) * u, max(r, 0.5), u))
    return out


def jet(ctx, jet_, f):
    """One jet in three flat tones lit from the top-left: white-hot at the carpet, then fire,
    then the embers at its tip."""
    circles = jet_circles(jet_, f)
    for tone in range(3):
        for x, y, r, u in circles:
            tones = BLAST_HOT if u < 0.25 else BLAST_FIRE if u < 0.6 else BLAST_EMBER
            if tone == 0:
                cv.fill(ctx, cv.circle(x, y, r), tones[0])
            elif tone == 1:
                cv.fill(ctx, cv.circle(x - 0.15 * r, y - 0.2 * r, 0.82 * r), tones[1])
            else:
                cv.fill(ctx, cv.circle(x - 0.35 * r, y - 0.4 * r, 0.4 * r), tones[2])


# Everything of the fire keeps inside these boxes (x0, y0, x1, y1): behind his shoulders'
# height and his knees, but for a thin tongue under the carpet, and a pixel clear of the
# frame's edges; the fire has no square corner (the last figure: the corners' radius).
BLAST_BOXES = ((2.5, 39.5, 70.0, 93.0, 12.0), (62.0, 84.0, 76.0, 93.0, 3.0))


# The cooling glow the jets pour into, filling the space behind his back: a billow with puffs
# along its top and its trailing edge that drift back one puff a sheet.
GLOW_BOX = (3.0, 42.5, 44.0, 92.5)  # x0, y0, x1, y1
PUFF_GAP = 9.0


def glow_behind(ctx, f):
    x0, y0, x1, y1 = GLOW_BOX
    cv.fill(ctx, cv.rounded(x0, y0, x1 - x0, y1 - y0, 12), BLAST_DK)
    shift = PUFF_GAP * f
    for i in range(7):  # along the top, drifting back (left)
        x = x1 + 4 - i * PUFF_GAP - shift
        cv.fill(ctx, cv.circle(x, y0 + 2.0, 5.2 + 0.8 * math.sin(TAU * (i / 3.0 + f))), BLAST_DK)
    for i in range(7):  # down the trailing edge, curling under
        y = y0 + 3 + i * PUFF_GAP - shift
        cv.fill(ctx, cv.circle(x0 + 3.2, y, 4.8 + 0.8 * math.sin(TAU * (i / 3.0 + f))), BLAST_DK)


def boost_frames():
    """The blast: a fan of magic fire pouring back from the carpet; 8 frames.

    While the blast lasts the world races by four times as fast, so everything here flows
    back: bulges of fire run along the jets from the carpet to their tips, streaks of light
    shoot past beneath and sparks fly off. Everything moves on a cycle of exactly 8 frames,
    so the loop has no seam.
    """
    out = []
    for k in range(8):
        f = k / 8.0

        def draw(c, f=f):
            for x0, y0, x1, y1, r in BLAST_BOXES:
                cv.rounded(x0, y0, x1 - x0, y1 - y0, r)(c)
            c.clip()
            glow_behind(c, f)
            for j in BLAST_JETS:
                jet(c, j, f)
            # The white-hot mouth at the carpet's back end, flickering.
            glow = 9.0 + 1.0 * math.sin(TAU * 2 * f)
            cv.shaded(c, cv.ellipse(36, 76, glow * 1.2, glow), BLAST_HOT, shift=1.4, rim=0.8, line=0)

        def glints(c, f=f):
            # Streaks of light racing back, one trip a sheet, and sparks thrown off the tail.
            for j, (y, length, off) in enumerate(((84, 12, 0.0), (90, 10, 0.35), (70, 9, 0.7), (56, 8, 0.15))):
                t = (f + off) % 1.0
                x = 58 - 50 * t
                c.new_path()
                c.move_to(max(x, 5), y)
                c.line_to(max(min(x + length, 66), 6), y)
                c.set_line_width(1.1)
                c.set_line_cap(1)
                cv.color(c, WHITE if j % 2 == 0 else BLAST_LT)
                c.stroke()
            for i in range(5):
                t = (f + i / 5.0) % 1.0
                cv.sparkle(c, 30 - 22 * t, 70 + 14 * math.sin(TAU * i / 5) * (0.4 + 0.6 * t),
                           1.2 + 2.4 * math.sin(math.pi * t), GOLD_LT if i % 2 else WHITE)

        out.append(cv.inside(cv.sprite(W, H, draw, glints=glints), "the blast cloud"))
    return out


def build():
    """Returns {file name: RGB array} for the player's sheets."""
    return {
        "quimbo_normal.PNG": cv.sheet(normal_frames()),
        "quimbo_zap.PNG": cv.sheet(zap_frames()),
        "quimbo_bubble.PNG": bubble_frame(),
        "quimbo_falling.PNG": cv.sheet(falling_frames()),
        "quimbo_slime.PNG": slime_frame(),
        "boost.PNG": cv.sheet(boost_frames()),
    }
