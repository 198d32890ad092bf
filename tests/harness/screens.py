"""What the game's screens look like, checked against its own Data pictures and fonts.

Everything here reads a screenshot (xsession.Shot) and compares it with what the game was
given to draw: a picture at its place, a sprite sheet's frames at a position, the film of the
pause screen, a figure written with the game's font. Nothing is eyeballed: each helper returns
a number or a reading that a test can assert on.
"""

import functools
import os
import re

from PIL import Image, ImageChops, ImageDraw

from harness import PROJECT_ROOT, SCREEN_H, SCREEN_W, catalogue, data_root
from harness.text import HUD_FONT, SCORE_FONT, TextWriter

GREEN = (0, 255, 0)  # the transparent colour of every sheet and of the pause film
WHITE, BLACK, RED = (255, 255, 255), (0, 0, 0), (255, 0, 0)



def _layout():
    """Every place of the game's src/layout.h by its name: a number, or the tuple of a brace
    list's numbers (x, y, or left, top, right, bottom)."""
    with open(os.path.join(PROJECT_ROOT, "src", "layout.h"), encoding="utf-8") as f:
        header = f.read()
    places = {}
    for name, value in re.findall(r"^const \w+ (\w+) = ([^;]+);", header, re.M):
        numbers = tuple(int(n) for n in re.findall(r"-?\d+", value))
        places[name] = numbers if value.startswith("{") else numbers[0]
    return places


# Where the game writes, clicks and steers, from the game's own layout.
LAYOUT = _layout()
HUD_Y = LAYOUT["HUD_TOP"]  # the HUD panel's top edge
HEALTH_AT, MAGIC_AT, SCORE_AT = LAYOUT["HEALTH_AT"], LAYOUT["MAGIC_AT"], LAYOUT["SCORE_AT"]
GAME_OVER_SCORE_OFFSET = LAYOUT["GAME_OVER_SCORE_AT"]  # inside the game-over picture
TABLE_NAME_X, TABLE_SCORE_X = LAYOUT["TABLE_NAME_X"], LAYOUT["TABLE_SCORE_X"]
# Menu click areas (left, top, right, bottom): the pointer has to be strictly inside.
START_AREA, HISCORE_AREA, QUIT_AREA = (LAYOUT["START_AREA"], LAYOUT["HISCORE_AREA"],
                                       LAYOUT["QUIT_AREA"])
PLAY_AREA = LAYOUT["PLAY_AREA"]  # left, top, right, bottom limits of the magician
MAGICIAN_START_CENTRE = LAYOUT["MAGICIAN_START_CENTRE"]

# The room each text has before the next thing on the screen, and points well inside the menu
# areas, away from their borders.
FIGURE_BOX = (240, 56)
GAME_OVER_SCORE_BOX = (120, 24)
TABLE_BOX = (190, 36)
START_POINT = (420, 360)
HISCORE_POINT = (420, 480)
QUIT_POINT = (420, 600)


def _names(*prefixes):
    return [e.name for e in catalogue.pictures() if e.name.startswith(prefixes)]


# The sheets of each kind of actor, by their names in the catalogue.
MAGICIAN_SHEETS = _names("quimbo_")
ENEMY_SHEETS = _names("bird", "plane", "slime")
SCENERY = _names("scenery")
ACTORS = {
    "enemies": ENEMY_SHEETS,
    "stars": ["zap"],
    "bubbles": ["bubble"],
    "ball": ["dorpoball"],
    "cloud": ["boost"],
    "magician": MAGICIAN_SHEETS,
}
# Every picture that can be on a running frame.
RUNNING_PICTURES = (["taustakuva", "hudi"] + SCENERY
                    + [name for names in ACTORS.values() for name in names])


class Data:
    """The game's pictures and fonts under one data root, loaded on demand."""

    def __init__(self, root=None):
        self.root = root or data_root()
        self.text = TextWriter(self.root)
        self._pictures = {}
        self._exclusive = {}
        self._colours = {}

    def close(self):
        self.text.close()

    def picture(self, name):
        if name not in self._pictures:
            path = os.path.join(self.root, catalogue.picture(name).path)
            self._pictures[name] = Image.open(path).convert("RGB")
        return self._pictures[name]

    def frame_count(self, name):
        return max(1, catalogue.picture(name).frames)

    def frame_size(self, name):
        pic = self.picture(name)
        return pic.width // self.frame_count(name), pic.height

    @functools.lru_cache(maxsize=None)
    def frames(self, name):
        w, h = self.frame_size(name)
        pic = self.picture(name)
        return [pic.crop((i * w, 0, i * w + w, h)) for i in range(self.frame_count(name))]

    def centred(self, name):
        """Top-left corner of a picture centred on the screen, halves truncated."""
        pic = self.picture(name)
        return SCREEN_W // 2 - pic.width // 2, SCREEN_H // 2 - pic.height // 2

    def colours(self, name):
        if name not in self._colours:
            pic = self.picture(name)
            counts = pic.getcolors(pic.width * pic.height)
            self._colours[name] = {c for _, c in counts} - {GREEN}
        return self._colours[name]

    def exclusive_colours(self, group):
        """Colours of a group of sheets that no other picture of a running frame uses:
        where they appear on the screen, one of that group is drawn there."""
        if group not in self._exclusive:
            mine = set()
            for name in ACTORS[group]:
                mine |= self.colours(name)
            for name in RUNNING_PICTURES:
                if name not in ACTORS[group]:
                    mine -= self.colours(name)
            if not mine:
                raise AssertionError("the %s share every colour with other pictures" % group)
            self._exclusive[group] = mine
        return self._exclusive[group]


def max_channel(diff):
    """The largest of the three channel differences, pixel by pixel."""
    r, g, b = diff.split()
    return ImageChops.lighter(r, ImageChops.lighter(g, b))


def _clip(box):
    x0, y0, x1, y1 = box
    return max(0, x0), max(0, y0), min(SCREEN_W, x1), min(SCREEN_H, y1)


def picture_match(shot, picture, x, y, tolerance=6, key=None, exclude=None):
    """Share of a picture's pixels (those not of colour `key`, and outside the screen box
    `exclude`) that the screen shows at (x, y) within `tolerance` per channel."""
    box = _clip((x, y, x + picture.width, y + picture.height))
    if box[0] >= box[2] or box[1] >= box[3]:
        return 0.0
    seen = shot.image.crop(box)
    want = picture.crop((box[0] - x, box[1] - y, box[2] - x, box[3] - y))
    same = max_channel(ImageChops.difference(seen, want)).point(
        lambda v: 255 if v <= tolerance else 0)
    mask = Image.new("L", want.size, 255)
    if key is not None:
        keyed = max_channel(ImageChops.difference(want, Image.new("RGB", want.size, key)))
        mask = keyed.point(lambda v: 255 if v > 0 else 0)
    if exclude is not None:
        ex = (max(0, exclude[0] - box[0]), max(0, exclude[1] - box[1]),
              min(want.width, exclude[2] - box[0]), min(want.height, exclude[3] - box[1]))
        if ex[0] < ex[2] and ex[1] < ex[3]:
            ImageDraw.Draw(mask).rectangle((ex[0], ex[1], ex[2] - 1, ex[3] - 1), fill=0)
    total = mask.histogram()[255]
    if total == 0:
        return 0.0
    return ImageChops.multiply(same, mask).histogram()[255] / total


def sprite_match(shot, data, sheets, x, y, rows=None):
    """Best share, over every frame of the given sheets, of the frame's opaque pixels that
    the screen shows with the frame's top-left corner at (x, y). `rows` limits the
    comparison to the frame's rows above that screen y (for sprites behind the landscape)."""
    exclude = None if rows is None else (0, rows, SCREEN_W, SCREEN_H)
    return max(picture_match(shot, frame, x, y, tolerance=0, key=GREEN, exclude=exclude)
               for name in sheets for frame in data.frames(name))


def count_colours(shot, colours, box=(0, 0, SCREEN_W, HUD_Y)):
    """Pixels inside box (left, top, right, bottom) whose colour is one of `colours`."""
    region = shot.image.crop(_clip(box))
    counts = region.getcolors(region.width * region.height) or []
    return sum(n for n, c in counts if c in colours)


def actor_pixels(shot, data, group, box=(0, 0, SCREEN_W, HUD_Y)):
    return count_colours(shot, data.exclusive_colours(group), box)


# --- the pause film ------------------------------------------------------------------

def film_pattern(film):
    """What the film leaves on each pixel of a 2 x 2 cell once tiled at a 2-pixel pitch:
    the film's colour, or None where every film draw covering it is transparent. Later
    draws lie over earlier ones, so the last opaque one wins."""
    w, h = film.size
    px = film.load()
    reach_x, reach_y = w + 2, h + 2
    pattern = {}
    for cy in (0, 1):
        for cx in (0, 1):
            sx, sy = reach_x + cx, reach_y + cy  # a cell away from the screen's edges
            colour = None
            for j in range(sy // 2 + 1):
                for i in range(sx // 2 + 1):
                    fx, fy = sx - 2 * i, sy - 2 * j
                    if 0 <= fx < w and 0 <= fy < h and px[fx, fy] != GREEN:
                        colour = px[fx, fy]
            pattern[cx, cy] = colour
    return pattern


def through_film(shot, data, under, box, film_name="pause"):
    """Checks pixels of a paused screen inside box against the film laid over `under` (a
    picture of the whole screen as it was when the game was paused). Returns (pixels that
    match, pixels checked, pixels where the film shows through)."""
    pattern = film_pattern(data.picture(film_name))
    px = shot.image.load()
    under_px = under.load()
    good = checked = clear = 0
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        for x in range(x0, x1):
            film = pattern[x % 2, y % 2]
            want = film if film is not None else under_px[x, y]
            checked += 1
            clear += film is None
            if all(abs(a - b) <= 6 for a, b in zip(px[x, y], want)):
                good += 1
    return good, checked, clear


# --- the screens ---------------------------------------------------------------------

def running_frame_under(data):
    """The HUD panel over the background: what the figures are written on."""
    frame = data.picture("taustakuva").copy()
    frame.paste(data.picture("hudi"), (0, HUD_Y))
    return frame


def game_over_under(data):
    """The game-over screen before its score is written: black, the picture centred."""
    frame = Image.new("RGB", (SCREEN_W, SCREEN_H), BLACK)
    frame.paste(data.picture("gameover"), data.centred("gameover"))
    return frame


def hud_figures(shot, data):
    """Health, magic and score as the HUD of a running frame shows them; each is None when
    no number written at its place gives exactly the screen's pixels."""
    under = running_frame_under(data)
    read = data.text.read_number
    return (read(shot, under, HUD_FONT, WHITE, *HEALTH_AT, FIGURE_BOX, "%d %%"),
            read(shot, under, HUD_FONT, WHITE, *MAGIC_AT, FIGURE_BOX, "%d %%"),
            read(shot, under, HUD_FONT, WHITE, *SCORE_AT, FIGURE_BOX))


def game_over_score(shot, data):
    """The score written on the game-over screen, or None."""
    x, y = data.centred("gameover")
    dx, dy = GAME_OVER_SCORE_OFFSET
    return data.text.read_number(shot, game_over_under(data), SCORE_FONT, RED, x + dx, y + dy,
                                 GAME_OVER_SCORE_BOX)


def hud_panel_match(shot, data):
    """Share of the HUD panel shown unchanged, leaving out the rows of the three figures."""
    return picture_match(shot, data.picture("hudi"), 0, HUD_Y,
                         exclude=(0, HEALTH_AT[1] - 4, SCREEN_W, SCREEN_H))


def is_running(shot, data):
    return hud_panel_match(shot, data) > 0.97


def is_menu(shot, data):
    return picture_match(shot, data.picture("menu"), 0, 0) > 0.97


def is_hiscore(shot, data):
    return picture_match(shot, data.picture("topten"), 0, 0) > 0.8


def is_game_over(shot, data):
    x, y = data.centred("gameover")
    pic = data.picture("gameover")
    corners_black = all(shot.pixel(px, py) == BLACK
                        for px, py in ((0, 0), (SCREEN_W - 1, 0), (0, SCREEN_H - 1),
                                       (SCREEN_W - 1, SCREEN_H - 1), (x - 1, y - 1),
                                       (x + pic.width, y + pic.height)))
    score_box = (x + GAME_OVER_SCORE_OFFSET[0], y + GAME_OVER_SCORE_OFFSET[1],
                 x + pic.width, y + GAME_OVER_SCORE_OFFSET[1] + 30)
    return corners_black and picture_match(shot, pic, x, y, exclude=score_box) > 0.99


def is_paused(shot, data):
    x, y = data.centred("pausebox")
    return picture_match(shot, data.picture("pausebox"), x, y) > 0.99


def magician_position(shot, data, near, reach=3, rows=None, sheets=MAGICIAN_SHEETS):
    """Where the magician is drawn, searched within `reach` pixels of `near`: the top-left
    corner at which one of its frames matches best, and how well (0 to 1)."""
    best, where = -1.0, None
    x0, y0 = near
    for y in range(y0 - reach, y0 + reach + 1):
        for x in range(x0 - reach, x0 + reach + 1):
            match = sprite_match(shot, data, sheets, x, y, rows)
            if match > best:
                best, where = match, (x, y)
    return where, best


def strip_top(data):
    """The highest screen row the landscape pieces reach: sprites below it may be hidden."""
    return HUD_Y - max(data.picture(name).height for name in SCENERY)
