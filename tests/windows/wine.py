"""Runs the Windows build of the game under Wine, in an X server of its own.

A WineDesk is one Xvfb (its display number comes back through -displayfd) and one throwaway
Wine prefix, with a home folder of its own so that Wine writes nothing outside them. A
WineGame is one run of a Windows program in that desk: its standard output and error are
pipes read on threads, keys and clicks go through xdotool, screenshots through import.
Everything is stopped by what started it: the game by its PID, the prefix's processes by
that prefix's wineserver, Xvfb by its PID.

Waits poll what they look at until a generous timeout; nothing sleeps for a fixed time.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from PIL import Image, ImageChops, ImageDraw, ImageFont

SCREEN = (1024, 768)
IMPORT = "/usr/bin/import"
# Wine's first start in a new prefix sets the prefix up, which takes a while on a loaded
# machine; the game itself is slower under Wine than natively.
BOOT_TIMEOUT = 180.0
TIMEOUT = 60.0


class WineError(AssertionError):
    """Something waited for did not happen (a test failure)."""


def wait_until(condition, timeout=TIMEOUT, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WineError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class _Reader:
    """Collects a pipe's bytes on a thread, so the pipe never fills and tests can poll."""

    def __init__(self, pipe):
        self._pipe, self._chunks, self._lock = pipe, [], threading.Lock()
        self._thread = threading.Thread(target=self._pump, daemon=True)
        self._thread.start()

    def _pump(self):
        for chunk in iter(lambda: os.read(self._pipe.fileno(), 65536), b""):
            with self._lock:
                self._chunks.append(chunk)

    def join(self, timeout=10.0):
        self._thread.join(timeout)

    def text(self):
        with self._lock:
            return b"".join(self._chunks).decode("latin-1")


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
            self._start_xvfb()
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

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % SCREEN,
                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,),
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        finally:
            os.close(write_fd)
        try:
            number = b""
            deadline = time.monotonic() + TIMEOUT
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_fd], [], [], left)[0]:
                    raise WineError("Xvfb did not report its display number")
                chunk = os.read(read_fd, 64)
                if not chunk:
                    raise WineError("Xvfb ended before reporting its display")
                number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()

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
            if self.xvfb.poll() is None:
                self.xvfb.send_signal(signal.SIGTERM)
                try:
                    self.xvfb.wait(10)
                except subprocess.TimeoutExpired:
                    self.xvfb.kill()
                    self.xvfb.wait(10)
            self.xvfb = None
        shutil.rmtree(self.scratch, ignore_errors=True)

    # --- the X side ---------------------------------------------------------------------

    def x(self, *argv):
        result = subprocess.run(list(argv), env=dict(os.environ, DISPLAY=self.display),
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if result.returncode != 0:
            raise WineError("%s failed: %s" % (" ".join(argv), result.stderr.decode().strip()))
        return result.stdout.decode()

    def screenshot(self):
        raw = subprocess.run([IMPORT, "-display", self.display, "-window", "root", "-depth", "8",
                              "rgb:-"], stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=60)
        if raw.returncode != 0 or len(raw.stdout) != SCREEN[0] * SCREEN[1] * 3:
            raise WineError("import failed: " + raw.stderr.decode().strip())
        return Image.frombytes("RGB", SCREEN, raw.stdout)

    def key(self, name):
        self.x("xdotool", "key", "--clearmodifiers", name)

    def window_named(self, name):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                             env=dict(os.environ, DISPLAY=self.display),
                             stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return out.stdout.split()


class WineGame:
    """One run of a Windows program in a desk; use it as a context manager."""

    def __init__(self, desk, exe, cwd=None):
        self.desk, self.exe = desk, exe
        self.cwd = cwd or os.path.dirname(exe)
        self.proc = None
        self.returncode = None

    def __enter__(self):
        self.proc = subprocess.Popen(["wine", self.exe], cwd=self.cwd, env=self.desk.env(),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
        self._out, self._err = _Reader(self.proc.stdout), _Reader(self.proc.stderr)
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait(30)
        self._out.join()
        self._err.join()
        self.proc.stdout.close()
        self.proc.stderr.close()
        return False

    def output(self):
        return self._out.text()

    def errors(self):
        return self._err.text()

    def alive(self):
        if self.proc.poll() is not None:
            raise WineError("the game ended early with status %r; stderr: %r"
                            % (self.proc.returncode, self.errors()[-600:]))
        return True

    def wait_for_screen(self, condition, what, timeout=TIMEOUT):
        """Screenshots until condition(shot) holds; returns that shot. On a timeout the last
        one is kept and named in the failure."""
        last = []

        def check():
            self.alive()
            shot = self.desk.screenshot()
            last[:] = [shot]
            return shot if condition(shot) else None
        try:
            return wait_until(check, timeout, what=what)
        except WineError as failure:
            if not last:
                raise
            path = os.path.join(tempfile.gettempdir(), "quimbo-wine-%d.png" % os.getpid())
            last[0].save(path)
            raise WineError("%s; last screenshot: %s" % (failure, path)) from None

    def click_until(self, x, y, condition, what, timeout=TIMEOUT):
        """Presses the left button at (x, y) and holds it until the screen shows what the
        click brings (however long a frame takes under load); returns that screenshot."""
        self.desk.x("xdotool", "mousemove_relative", "--", "-4000", "-4000")
        self.desk.x("xdotool", "mousemove_relative", "--", str(x), str(y))
        self.desk.x("xdotool", "mousedown", "1")
        try:
            return self.wait_for_screen(condition, what, timeout)
        finally:
            self.desk.x("xdotool", "mouseup", "1")

    def wait_for_errors(self, text, timeout=TIMEOUT):
        wait_until(lambda: self.alive() and text in self.errors(), timeout,
                   what="%r on standard error" % text)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            self.returncode = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WineError("the program did not end within %.0f s" % timeout) from None
        self._out.join()
        self._err.join()
        return self.returncode


# --- what the screen shows ------------------------------------------------------------------

def _max_channel(diff):
    r, g, b = diff.split()
    return ImageChops.lighter(r, ImageChops.lighter(g, b))


def picture_share(shot, picture, x=0, y=0, tolerance=6):
    """Share of a picture's pixels that the screen shows at (x, y) within `tolerance` per
    channel; the game's cursor, or anything small drawn over it, costs only its own pixels."""
    seen = shot.crop((x, y, x + picture.width, y + picture.height))
    same = _max_channel(ImageChops.difference(seen, picture.convert("RGB"))).point(
        lambda v: 255 if v <= tolerance else 0)
    return same.histogram()[255] / (picture.width * picture.height)


def _ink(image, base, threshold=60):
    return _max_channel(ImageChops.difference(image, base)).point(
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
