"""Runs the Windows build of the game under Wine, in an X server of its own.

A WineDesk is one Xvfb (started the way every window test starts it) and one throwaway Wine
prefix, with a home folder of its own so that Wine writes nothing outside them. A WineGame
is one run of a Windows program in that desk: its standard output and error are pipes read
on threads, keys and clicks go through xdotool, screenshots through Pillow. Everything is
stopped by what started it: the game by its PID, the prefix's processes by that prefix's
wineserver, Xvfb by its PID.

Waits poll what they look at until a generous timeout; nothing sleeps for a fixed time.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import ImageChops, ImageDraw, ImageFont

from harness import PROJECT_ROOT, SCREEN_H, SCREEN_W
from harness.install import project_version
from harness.screens import max_channel, picture_match
from harness.xsession import (DriverError, OutputPump, Shot, button_held, grab, run_x,
                              start_xvfb, stop_process, wait_for_shot, wait_until)

# The release as `make windows` leaves it.
RELEASE = "quimbo-%s-windows-x64" % project_version()
ZIP = os.path.join(PROJECT_ROOT, "dist", RELEASE + ".zip")
INSTALLER = os.path.join(PROJECT_ROOT, "dist", RELEASE + "-setup.exe")

# Wine's first start in a new prefix sets the prefix up, which takes a while on a loaded
# machine; the game itself is slower under Wine than natively.
BOOT_TIMEOUT = 180.0
TIMEOUT = 60.0
# A screenshot of the whole screen is a few milliseconds of work; polling slower than the
# native tests leaves the CPU to Wine.
POLL = 0.1


class WineDesk:
    """Xvfb at 1024x768x24 and a Wine prefix made for this desk alone."""

    def __init__(self):
        self.scratch = tempfile.mkdtemp(prefix="quimbo-wine-")
        self.prefix = os.path.join(self.scratch, "prefix")
        self.home = os.path.join(self.scratch, "home")
        os.makedirs(self.home)
        self.xvfb = None
        self.display = None
        self.boot_seconds = None

    def __enter__(self):
        try:
            self.xvfb, self.display = start_xvfb((SCREEN_W, SCREEN_H, 24), TIMEOUT)
            self._boot()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def env(self, **extra):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("SDL_", "WINE", "XDG_")) and k not in ("WAYLAND_DISPLAY",)}
        env.update(DISPLAY=self.display, HOME=self.home, WINEPREFIX=self.prefix,
                   WINEDEBUG="-all", SDL_AUDIODRIVER="dummy",
                   XDG_DATA_HOME=os.path.join(self.home, "data"),
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                   # No .NET or browser engine to install, and no menu entries on the host.
                   WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        env.update(extra)
        return env

    def _boot(self):
        """Sets the prefix up and waits until every process of it has ended."""
        began = time.monotonic()
        self.run(["wineboot", "--init"], timeout=BOOT_TIMEOUT)
        self.wineserver("-w", timeout=BOOT_TIMEOUT)
        self.boot_seconds = time.monotonic() - began

    def run(self, argv, timeout=TIMEOUT, cwd=None):
        """Runs a command in the desk to its end; returns (status, stdout, stderr)."""
        result = subprocess.run(argv, env=self.env(), cwd=cwd, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=timeout)
        return result.returncode, result.stdout.decode("latin-1"), \
            result.stderr.decode("latin-1")

    def wine(self, *args, timeout=TIMEOUT, cwd=None):
        return self.run(["wine"] + list(args), timeout=timeout, cwd=cwd)

    def wineserver(self, *args, timeout=TIMEOUT):
        subprocess.run(["wineserver"] + list(args), env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def close(self):
        if self.display is not None and os.path.isdir(self.prefix):
            try:
                self.wineserver("-k", timeout=30)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb is not None:
            stop_process(self.xvfb, grace=10)
            self.xvfb = None
        shutil.rmtree(self.scratch, ignore_errors=True)

    # --- the X side ---------------------------------------------------------------------

    def x(self, *argv, check=True):
        return run_x(self.display, *argv, check=check)

    def screenshot(self):
        return grab(self.display)

    def key(self, name):
        self.x("xdotool", "key", "--clearmodifiers", name)

    def window_named(self, name):
        return self.x("xdotool", "search", "--onlyvisible", "--name", name, check=False).split()


class WineGame:
    """One run of a Windows program in a desk; use it as a context manager."""

    def __init__(self, desk, exe, cwd=None, env=None):
        self.desk, self.exe = desk, exe
        self.cwd = cwd or os.path.dirname(exe)
        self.extra_env = env or {}
        self.proc = None
        self.returncode = None

    def __enter__(self):
        self.proc = subprocess.Popen(["wine", self.exe], cwd=self.cwd,
                                     env=self.desk.env(**self.extra_env),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
        self._out, self._err = OutputPump(self.proc.stdout), OutputPump(self.proc.stderr)
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait(30)
        self._out.join(10)
        self._err.join(10)
        self.proc.stdout.close()
        self.proc.stderr.close()
        return False

    def output(self):
        return self._out.text()

    def errors(self):
        return self._err.text()

    def alive(self):
        if self.proc.poll() is not None:
            raise DriverError("the game ended early with status %r; stderr: %r"
                              % (self.proc.returncode, self.errors()[-600:]))
        return True

    def wait_for_screen(self, condition, what, timeout=TIMEOUT):
        """Screenshots until condition(shot) holds; returns that shot. On a timeout the last
        one is kept and named in the failure."""
        def take():
            self.alive()
            return self.desk.screenshot()
        return wait_for_shot(take, condition, timeout, what, interval=POLL)

    def click_until(self, x, y, condition, what, timeout=TIMEOUT):
        """Presses the left button at (x, y) and holds it until the screen shows what the
        click brings; returns that screenshot."""
        with button_held(self.desk.display, x, y):
            return self.wait_for_screen(condition, what, timeout)

    def wait_for_errors(self, text, timeout=TIMEOUT):
        wait_until(lambda: self.alive() and text in self.errors(), timeout, interval=POLL,
                   what="%r on standard error" % text)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            self.returncode = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("the program did not end within %.0f s" % timeout) from None
        self._out.join(10)
        self._err.join(10)
        return self.returncode


# --- what the screen shows ------------------------------------------------------------------

def picture_share(shot, picture, x=0, y=0):
    """Share of a picture's pixels that the screen shows at (x, y); the game's cursor, or
    anything small drawn over it, costs only its own pixels."""
    return picture_match(Shot(shot), picture, x, y)


def _ink(image, base, threshold=60):
    return max_channel(ImageChops.difference(image, base)).point(
        lambda v: 255 if v > threshold else 0).convert("1")


def _count(mask):
    return mask.histogram()[-1]


def text_mismatch(shot, under, font, text, x, y, box=(240, 56), colour=(255, 255, 255)):
    """How far the screen is from `text` written at (x, y) over the picture `under`: the ink
    in one and not the other as a share of all ink, from 0 (the same) to 1. The best of a
    few one-pixel shifts counts, since two font renderers may place glyphs a pixel apart."""
    region = (x - 2, y - 2, x + box[0] + 2, y + box[1] + 2)
    base = under.crop(region)
    seen = _ink(shot.crop(region), base)
    best = 1.0
    for dy in (-1, 0, 1):
        for dx in (-2, -1, 0, 1, 2):
            drawn = base.copy()
            ImageDraw.Draw(drawn).text((2 + dx, 2 + dy), text, font=font, fill=colour)
            want = _ink(drawn, base)
            union = _count(ImageChops.logical_or(seen, want))
            if union:
                best = min(best, _count(ImageChops.logical_xor(seen, want)) / union)
    return best


def read_percent(shot, under, font, x, y, candidates):
    """Which of the candidate "N %" figures the screen shows best at (x, y), and its mismatch."""
    return min((text_mismatch(shot, under, font, "%d %%" % n, x, y), n) for n in candidates)[::-1]


def font(path, size):
    return ImageFont.truetype(path, size)
