"""What the game's screens look like, checked against its own Data pictures and fonts.

Everything here reads a screenshot (driver.Shot) and compares it with what the game was
given to draw: a picture at its place, a sprite sheet's frames at a position, the film of
the pause screen, a figure written in the HUD font. Nothing is eyeballed: each helper
returns a number or a reading that a test can assert on.
"""

import os

from PIL import Image, ImageChops, ImageDraw, ImageFont

from driver import data_root

SCREEN_W, SCREEN_H = 1024, 768
GREEN = (0, 255, 0)  # the transparent colour of every sheet and of the pause film
WHITE, BLACK, RED = (255, 255, 255), (0, 0, 0), (255, 0, 0)

HUD_Y = 640  # the panel's top edge
HEALTH_AT, MAGIC_AT, SCORE_AT = (171, 684), (432, 684), (704, 714)
FIGURE_BOX = (240, 56)  # room for one HUD figure, short of the next one to its right
GAME_OVER_SCORE_OFFSET = (234, 43)  # where the score sits inside the game-over picture

# Menu click areas: the pointer has to be strictly inside.
START_AREA = (349, 311, 699, 416)
HISCORE_AREA = (349, 431, 699, 536)
QUIT_AREA = (349, 551, 699, 656)

PLAY_AREA = (350, 0, 674, 480)  # left, top, right, bottom limits of the magician

# The sheets and their frame counts.
FRAMES = {
    "quimbo_normal": 3, "quimbo_zap": 3, "quimbo_bubble": 1, "quimbo_falling": 6,
    "quimbo_slime": 1, "boost": 8, "zap": 8, "dorpoball": 1,
    "birdr_normal": 14, "birdr_dying": 6, "birdr_falling": 2, "birdl_normal": 14,
    "birdl_dying": 6, "birdl_falling": 2, "plane_normal": 2, "plane_falling": 2,
    "slime": 6, "slime_blowing": 4, "bubble": 4, "cursor": 1,
}
FRAMES.update({"scenery%d" % k: 1 for k in range(6)})
MAGICIAN_SHEETS = ["quimbo_normal", "quimbo_zap", "quimbo_bubble", "quimbo_falling",
                   "quimbo_slime"]
ENEMY_SHEETS = ["birdr_normal", "birdr_dying", "birdr_falling", "birdl_normal", "birdl_dying",
                "birdl_falling", "plane_normal", "plane_falling", "slime", "slime_blowing"]
# Pictures that can be on a running frame, by what a test looks for.
ACTORS = {
    "enemies": ENEMY_SHEETS,
    "stars": ["zap"],
    "bubbles": ["bubble"],
    "ball": ["dorpoball"],
    "cloud": ["boost"],
    "magician": MAGICIAN_SHEETS,
}
RUNNING_PICTURES = (["taustakuva", "hudi"] + ["scenery%d" % k for k in range(6)]
                    + [name for names in ACTORS.values() for name in names])


class Data:
    """The game's pictures and fonts under one data root, loaded on demand."""

    def __init__(self, root=None):
        self.root = root or data_root()
        self._pictures = {}
        self._fonts = {}
        self._exclusive = {}
        self._colours = {}

    def picture(self, name):
        if name not in self._pictures:
            path = os.path.join(self.root, "Data", "Gfx", name + ".PNG")
            self._pictures[name] = Image.open(path).convert("RGB")
        return self._pictures[name]

    def frame_size(self, name):
        pic = self.picture(name)
        return pic.width // FRAMES[name], pic.height

    def frames(self, name):
        w, h = self.frame_size(name)
        pic = self.picture(name)
        return [pic.crop((i * w, 0, i * w + w, h)) for i in range(FRAMES[name])]

    def font(self, file="verdana.ttf", size=32):
        if (file, size) not in self._fonts:
            self._fonts[file, size] = ImageFont.truetype(
                os.path.join(self.root, "Data", "Fonts", file), size)
        return self._fonts[file, size]

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


def _max_channel(diff):
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
    same = _max_channel(ImageChops.difference(seen, want)).point(
        lambda v: 255 if v <= tolerance else 0)
    mask = Image.new("L", want.size, 255)
    if key is not None:
        keyed = _max_channel(ImageChops.difference(want, Image.new("RGB", want.size, key)))
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
    best = 0.0
    for name in sheets:
        for frame in data.frames(name):
            exclude = None
            if rows is not None:
                exclude = (0, rows, SCREEN_W, SCREEN_H)
            best = max(best, picture_match(shot, frame, x, y, tolerance=0, key=GREEN,
                                           exclude=exclude))
    return best


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
    """Checks pixels of a paused screen inside box against the film laid over `under`
    (a picture of the whole screen as it was when the game was paused, or a function of
    (x, y)). Returns (pixels that match, pixels checked, pixels where the film shows
    through)."""
    pattern = film_pattern(data.picture(film_name))
    px = shot.image.load()
    under_px = under.load() if hasattr(under, "load") else None
    good = checked = clear = 0
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        for x in range(x0, x1):
            film = pattern[x % 2, y % 2]
            want = film if film is not None else (under_px[x, y] if under_px else under(x, y))
            checked += 1
            clear += film is None
            if all(abs(a - b) <= 6 for a, b in zip(px[x, y], want)):
                good += 1
    return good, checked, clear


# --- text --------------------------------------------------------------------------

def _ink(image, base, threshold=60):
    return _max_channel(ImageChops.difference(image, base)).point(
        lambda v: 255 if v > threshold else 0).convert("1")


def _count(mask):
    return mask.histogram()[-1]


def text_ink(shot, under, x, y, box=FIGURE_BOX):
    """The screen's ink inside a box whose top-left corner is (x, y): the pixels that differ
    from `under`, the picture the text was written over (a whole-screen image)."""
    region = (x, y, min(SCREEN_W, x + box[0]), min(SCREEN_H, y + box[1]))
    base = under.crop(region)
    return _ink(shot.image.crop(region), base), base, region


def render_ink(base, font, text, colour, offset=(0, 0)):
    img = base.copy()
    ImageDraw.Draw(img).text(offset, text, font=font, fill=colour)
    return _ink(img, base)


def _miss(seen, want):
    """Pixels that are ink in one mask and not in the other, as a share of all ink."""
    union = _count(ImageChops.logical_or(seen, want))
    return _count(ImageChops.logical_xor(seen, want)) / union if union else 1.0


def _best_alignment(shot, under, font, text, colour, x, y, box, prefix_only=False):
    seen, base, _ = text_ink(shot, under, x - 2, y - 2, (box[0] + 4, box[1] + 4))
    best = 1.0
    for dy in (-1, 0, 1):
        for dx in (-2, -1, 0, 1, 2):
            want = render_ink(base, font, text, colour, (2 + dx, 2 + dy))
            if prefix_only:
                # Only the columns the text covers: the rest of the number lies beyond.
                bbox = want.getbbox()
                if not bbox:
                    continue
                cut = (0, 0, bbox[2], want.height)
                best = min(best, _miss(seen.crop(cut), want.crop(cut)))
            else:
                best = min(best, _miss(seen, want))
    return best


def text_mismatch(shot, under, font, text, colour, x, y, box=FIGURE_BOX):
    """How far the screen is from `text` written at (x, y), from 0 (the same ink) to 1 (no
    ink in common). The best alignment within a pixel or two is taken, since two
    renderers may place a glyph a pixel apart."""
    return _best_alignment(shot, under, font, text, colour, x, y, box)


def read_text(shot, under, font, candidates, colour, x, y, box=FIGURE_BOX):
    """The candidate text that the screen shows best at (x, y), and its mismatch."""
    scored = [(text_mismatch(shot, under, font, t, colour, x, y, box), t) for t in candidates]
    miss, text = min(scored)
    return text, miss


def _glyph_template(font, ch, colour):
    size = font.getbbox("0")
    base = Image.new("RGB", (size[2] * 3 + 8, size[3] * 2 + 8), (0, 0, 0) if colour != (0, 0, 0)
                     else (255, 255, 255))
    ink = render_ink(base, font, ch, colour, (4, 4))
    bbox = ink.getbbox()
    return ink.crop(bbox), bbox[1] - 4  # the glyph, and its top below the text's top


def _glyph_miss(seen, seen_top, template, template_top):
    """1 - overlap of two glyph masks, at the best shift of up to a pixel each way."""
    if abs(seen.width - template.width) > 2 or abs(seen.height - template.height) > 2 \
            or abs(seen_top - template_top) > 2:
        return 1.0
    w, h = max(seen.width, template.width) + 2, max(seen.height, template.height) + 2
    a = Image.new("1", (w, h), 0)
    a.paste(seen, (1, 1))
    best = 1.0
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            b = Image.new("1", (w, h), 0)
            b.paste(template, (1 + dx, 1 + dy))
            best = min(best, _miss(a, b))
    return best


def read_number(shot, under, font, colour, x, y, box=FIGURE_BOX, suffix=""):
    """Reads a decimal number written at (x, y), followed by `suffix` (spaces ignored).
    The ink is cut into glyphs at empty columns and each glyph is matched on its own
    against the font's characters, so the reading does not depend on how two renderers
    space their glyphs. Returns the number (None if unreadable) and the worst glyph's
    mismatch (0 is a perfect match)."""
    seen, _, _ = text_ink(shot, under, x, y, box)
    columns = [seen.crop((c, 0, c + 1, seen.height)).getbbox() is not None
               for c in range(seen.width)]
    glyphs, c = [], 0
    while c < len(columns):
        if columns[c]:
            start = c
            while c < len(columns) and columns[c]:
                c += 1
            part = seen.crop((start, 0, c, seen.height))
            bbox = part.getbbox()
            glyphs.append((part.crop(bbox), bbox[1]))
        c += 1
    chars = "0123456789-" + "".join(ch for ch in suffix if ch != " ")
    templates = {ch: _glyph_template(font, ch, colour) for ch in set(chars)}
    text, worst = "", 0.0
    for glyph, top in glyphs:
        miss, ch = min((_glyph_miss(glyph, top, *templates[ch]), ch) for ch in templates)
        text += ch
        worst = max(worst, miss)
    want_suffix = suffix.replace(" ", "")
    if want_suffix:
        if not text.endswith(want_suffix):
            return None, 1.0
        text = text[:-len(want_suffix)]
    try:
        return int(text), worst
    except ValueError:
        return None, 1.0


def text_offset(shot, under, font, text, colour, x, y, box=FIGURE_BOX):
    """How many pixels the screen's ink lies from where `text` written with its top-left
    corner at (x, y) would put it (the larger of the two axes)."""
    seen, base, _ = text_ink(shot, under, x, y, box)
    want = render_ink(base, font, text, colour).getbbox()
    got = seen.getbbox()
    if not want or not got:
        return SCREEN_W
    return max(abs(got[0] - want[0]), abs(got[1] - want[1]))


def read_figure(shot, under, font, colour, x, y, box=FIGURE_BOX, suffix=""):
    """A number written at exactly (x, y): the reading, or None with a mismatch of 1 when
    the text is unreadable or stands more than two pixels away from that place."""
    value, miss = read_number(shot, under, font, colour, x, y, box, suffix)
    if value is None or text_offset(shot, under, font, "%d%s" % (value, suffix), colour,
                                     x, y, box) > 2:
        return None, 1.0
    return value, miss


def running_frame_under(data):
    """The HUD panel over the background: what the figures are written on."""
    frame = data.picture("taustakuva").copy()
    frame.paste(data.picture("hudi"), (0, HUD_Y))
    return frame


def hud_figures(shot, data):
    """Reads health, magic and score from a running frame's HUD."""
    under = running_frame_under(data)
    font = data.font()
    health, miss_h = read_figure(shot, under, font, WHITE, *HEALTH_AT, suffix=" %")
    magic, miss_m = read_figure(shot, under, font, WHITE, *MAGIC_AT, suffix=" %")
    score, miss_s = read_figure(shot, under, font, WHITE, *SCORE_AT)
    return (health, magic, score), (miss_h, miss_m, miss_s)


def hud_panel_match(shot, data):
    """Share of the HUD panel shown unchanged, leaving out the three figures' boxes
    (and the bottom rows, where the figures are)."""
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
    return HUD_Y - max(data.picture("scenery%d" % k).height for k in range(6))
