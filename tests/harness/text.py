"""What the game writes on its screens, checked against the game's own writing.

The game writes its figures and the high-score table with SDL_ttf at fixed places. The
helper program render_text (built beside the game) writes a given text with the game's own
routine and fonts onto a given picture, so a test knows the exact pixels the screen must show
there and compares them, pixel for pixel:

    writer = TextWriter(data_root)
    writer.shows(shot, under, HUD_FONT, WHITE, "100 %", 171, 684, (240, 56))  # -> True/False
    writer.read_number(shot, under, HUD_FONT, WHITE, 171, 684, (240, 56), "%d %%")  # -> 100

`under` is a whole-screen picture of what the text was written over; only the box whose
top-left corner is the text's place is compared.
"""

import os
import subprocess
import threading

from PIL import Image, ImageChops

from harness import PROJECT_ROOT, MissingPiece

# The game's two fonts as it opens them: the table and the HUD, and the game-over score.
HUD_FONT = ("Data/Fonts/verdana.ttf", 32)
SCORE_FONT = ("Data/Fonts/verdanab.ttf", 14)
DIGITS = "0123456789"


def helper_path():
    """render_text from $QUIMBO_RENDER_TEXT (CTest sets it), else from build/."""
    path = os.environ.get("QUIMBO_RENDER_TEXT") or os.path.join(
        PROJECT_ROOT, "build", "tests", "window", "render_text")
    if not os.access(path, os.X_OK):
        raise MissingPiece("no text helper at %s (build the render_text target, or set "
                           "QUIMBO_RENDER_TEXT)" % path)
    return path


def differing_pixels(a, b):
    """How many pixels of two pictures of one size differ at all."""
    diff = ImageChops.difference(a.convert("RGB"), b.convert("RGB")).convert("L")
    return diff.width * diff.height - diff.histogram()[0]


class TextWriter:
    """One render_text process, started on first use, for the whole run. The fonts are opened
    from the data root, as the game opens them."""

    def __init__(self, root):
        self.root = root
        self._proc = None
        self._lock = threading.Lock()
        self._cache = {}

    def close(self):
        if self._proc is not None:
            self._proc.stdin.close()
            self._proc.wait(10)
            self._proc.stdout.close()
            self._proc = None

    def _start(self):
        self._proc = subprocess.Popen([helper_path()], cwd=self.root, stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE)

    def write(self, under, font, colour, text):
        """`under` (a picture) with `text` written at its top-left corner, as the game does."""
        key = (under.tobytes(), under.size, font, colour, text)
        if key in self._cache:
            return self._cache[key]
        if "\n" in text or "\t" in text:
            raise ValueError("the helper takes one line of text: %r" % text)
        under = under.convert("RGB")
        w, h = under.size
        request = "%s\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n" % (font[0], font[1], *colour, w, h, text)
        with self._lock:
            if self._proc is None:
                self._start()
            self._proc.stdin.write(request.encode("latin-1") + under.tobytes())
            self._proc.stdin.flush()
            answer = self._proc.stdout.read(w * h * 3)
        if len(answer) != w * h * 3:
            raise MissingPiece("render_text gave no answer for %r (font %s)" % (text, font[0]))
        image = Image.frombytes("RGB", (w, h), answer)
        if len(self._cache) > 4096:
            self._cache.clear()
        self._cache[key] = image
        return image

    def expected(self, under, font, colour, text, x, y, box):
        """The screen's box at (x, y) as it must look with `text` written there."""
        return self.write(under.crop((x, y, x + box[0], y + box[1])), font, colour, text)

    def mismatch(self, shot, under, font, colour, text, x, y, box):
        """Pixels of the box at (x, y) that differ from `text` written there (0: the same)."""
        seen = shot.image.crop((x, y, x + box[0], y + box[1]))
        return differing_pixels(seen, self.expected(under, font, colour, text, x, y, box))

    def shows(self, shot, under, font, colour, text, x, y, box):
        return self.mismatch(shot, under, font, colour, text, x, y, box) == 0

    def read_number(self, shot, under, font, colour, x, y, box, form="%d"):
        """The whole number that the screen shows written as `form` at (x, y), or None when
        no number written there gives exactly the pixels on the screen.

        The digits are found one after another: each is the one whose writing matches the
        screen best over the columns it reaches; the reading counts only when the whole
        text, written at its place, is the screen's box pixel for pixel."""
        region = (x, y, x + box[0], y + box[1])
        seen = shot.image.crop(region)
        base = under.crop(region)
        prefix = ""
        for _ in range(12):
            scored = []
            for ch in ("-" + DIGITS if prefix == "" else DIGITS):
                written = self.write(base, font, colour, prefix + ch)
                ink = ImageChops.difference(written, base).getbbox()
                if ink is None:
                    continue
                cut = (0, 0, ink[2], base.height)
                scored.append((differing_pixels(seen.crop(cut), written.crop(cut)), ch))
            if not scored:
                return None
            prefix += min(scored)[1]
            if prefix != "-" and differing_pixels(
                    seen, self.write(base, font, colour, form % int(prefix))) == 0:
                return int(prefix)
        return None
