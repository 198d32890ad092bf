"""Drives the real game in a real X window, for the window tests and the docs screenshots.

A Session starts its own Xvfb (the display number comes back through -displayfd, so
sessions never collide), runs the game binary in it from a chosen data root with the
dummy audio driver, sends keys and clicks with xdotool, reads screenshots as RGB pixels,
and stops everything it started, by PID, whatever happens in the test:

    with Session(binary) as game:
        game.wait_for_output("Game succesfully reseted")
        game.click(350, 312)
        shot = game.wait_for_screen(lambda s: s.pixel(512, 700) != (0, 0, 0))

Everything that changes between runs is a constructor argument: the data root (the
working directory the game reads "Data/..." from), extra environment, screen size.
"""

import ctypes
import ctypes.util
import os
import select
import signal
import subprocess
import tempfile
import threading
import time
import tty

from PIL import Image

SCREEN_W, SCREEN_H = 1024, 768
CONVERT = "/usr/bin/convert"
IMPORT = "/usr/bin/import"
XDOTOOL = "xdotool"
XVFB = "Xvfb"

# The game is a busy loop with no frame cap; on a loaded two-core machine a frame of the
# pause screen alone can take a good part of a second, so waits are generous by default.
DEFAULT_TIMEOUT = 30.0


class DriverError(AssertionError):
    """Something the driver waited for did not happen (reported as a test failure)."""


def wait_until(condition, timeout=DEFAULT_TIMEOUT, interval=0.05, what="condition"):
    """Calls condition() until it returns something truthy, and returns that value.

    Raises DriverError after `timeout` seconds; the last value is in the message so a
    failure says what was seen instead."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() > deadline:
            raise DriverError("timed out after %.0f s waiting for %s (last seen: %r)"
                              % (timeout, what, last))
        time.sleep(interval)


class Shot:
    """One screenshot: an RGB picture with pixel helpers."""

    def __init__(self, image):
        self.image = image.convert("RGB")
        self.width, self.height = self.image.size
        self._px = self.image.load()

    def pixel(self, x, y):
        return self._px[x, y]

    def region(self, x, y, w, h):
        return self.image.crop((x, y, x + w, y + h))

    def differs(self, other, box=None):
        """Number of pixels that differ from another Shot, inside box (x, y, w, h) or all."""
        x0, y0, w, h = box if box else (0, 0, self.width, self.height)
        a, b = self._px, other._px
        return sum(1 for yy in range(y0, y0 + h) for xx in range(x0, x0 + w)
                   if a[xx, yy] != b[xx, yy])

    def save(self, path):
        self.image.save(path)


class _Stream:
    """Collects a child's output on a thread, so the pipe never fills and tests can poll."""

    def __init__(self, pipe):
        self._pipe = pipe
        self._chunks = []
        self._lock = threading.Lock()
        self._thread = threading.Thread(target=self._pump, daemon=True)
        self._thread.start()

    def _pump(self):
        while True:
            try:
                data = os.read(self._pipe.fileno(), 65536)
            except OSError:  # a pty's master reads EIO once the child has closed its side
                data = b""
            if not data:
                break
            with self._lock:
                self._chunks.append(data)

    def join(self, timeout=5.0):
        self._thread.join(timeout)

    def bytes(self):
        with self._lock:
            return b"".join(self._chunks)

    def text(self):
        return self.bytes().decode("latin-1")


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def send_close_request(display, window):
    """Asks a window to close the way a window manager does: WM_PROTOCOLS/WM_DELETE_WINDOW.

    Uses libX11 through ctypes, so no extra Python package is needed."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                               ctypes.c_long, ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise DriverError("cannot open display " + display)
    try:
        event = _XEvent()
        msg = event.xclient
        msg.type = 33  # ClientMessage
        msg.window = window
        msg.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        msg.format = 32
        msg.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        msg.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(event)):
            raise DriverError("XSendEvent refused the close request")
        x11.XFlush(dpy)
    finally:
        x11.XCloseDisplay(dpy)


class Session:
    """Xvfb plus one run of the game (or the game alone, headless). Use it as a context manager.

    binary      the game executable
    data_root   the working directory the game reads "Data/..." from (default: current one)
    env         extra environment for the game, applied last (may override the drivers)
    headless    no X server: SDL's dummy video driver instead of a real window
    audio_driver  SDL_AUDIODRIVER for the game ("dummy"; None leaves the environment's)

    The game's standard output goes to a pseudo-terminal, so that its stdio writes each
    line as it prints it and tests can wait for lines while it runs; the bytes arrive
    unchanged (raw mode). Standard error is a plain pipe.
    """

    def __init__(self, binary, data_root=None, env=None, args=(), headless=False,
                 screen=(SCREEN_W, SCREEN_H, 24), audio_driver="dummy"):
        self.binary = os.path.abspath(binary)
        self.data_root = os.path.abspath(data_root or os.getcwd())
        self.extra_env = dict(env or {})
        self.args = list(args)
        self.headless = headless
        self.screen = screen
        self.audio_driver = audio_driver
        self.display = None
        self.xvfb = None
        self.game = None
        self.stdout = None
        self.stderr = None
        self._stdout_file = None
        self.returncode = None

    # --- start and stop -------------------------------------------------------------

    def __enter__(self):
        try:
            if not self.headless:
                self.start_xvfb()
            self.start_game()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start_xvfb(self):
        read_fd, write_fd = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                [XVFB, "-displayfd", str(write_fd), "-screen", "0", "%dx%dx%d" % self.screen,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        finally:
            os.close(write_fd)
        try:
            number = b""
            deadline = time.monotonic() + DEFAULT_TIMEOUT
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_fd], [], [], left)[0]:
                    raise DriverError("Xvfb did not report its display number")
                chunk = os.read(read_fd, 64)
                if not chunk:
                    raise DriverError("Xvfb ended before reporting its display (status %r)"
                                      % self.xvfb.poll())
                number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        for key in ("SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "WAYLAND_DISPLAY", "DISPLAY"):
            env.pop(key, None)
        if self.headless:
            env["SDL_VIDEODRIVER"] = "dummy"
        else:
            env["DISPLAY"] = self.display
        if self.audio_driver is not None:
            env["SDL_AUDIODRIVER"] = self.audio_driver
        env.update(self.extra_env)
        return env

    def start_game(self):
        master, slave = os.openpty()
        tty.setraw(slave)
        try:
            self.game = subprocess.Popen([self.binary] + self.args, cwd=self.data_root,
                                         env=self.env(), stdin=subprocess.DEVNULL, stdout=slave,
                                         stderr=subprocess.PIPE)
        except BaseException:
            os.close(master)
            raise
        finally:
            os.close(slave)
        self._stdout_file = os.fdopen(master, "rb", buffering=0)
        self.stdout = _Stream(self._stdout_file)
        self.stderr = _Stream(self.game.stderr)

    def stop(self):
        """Ends the game (if still running) and Xvfb: only the processes this session started."""
        if self.game is not None:
            if self.game.poll() is None:
                self._signal(self.game, signal.SIGTERM)
                try:
                    self.game.wait(5)
                except subprocess.TimeoutExpired:
                    self._signal(self.game, signal.SIGKILL)
                    self.game.wait(5)
            if self.returncode is None:
                self.returncode = self.game.returncode
            self.stdout.join()
            self.stderr.join()
            self._stdout_file.close()
            self.game.stderr.close()
            self.game = None
        if self.xvfb is not None:
            if self.xvfb.poll() is None:
                self._signal(self.xvfb, signal.SIGTERM)
                try:
                    self.xvfb.wait(5)
                except subprocess.TimeoutExpired:
                    self._signal(self.xvfb, signal.SIGKILL)
                    self.xvfb.wait(5)
            self.xvfb = None

    @staticmethod
    def _signal(proc, sig):
        try:
            os.kill(proc.pid, sig)
        except ProcessLookupError:
            pass

    def running(self):
        return self.game is not None and self.game.poll() is None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the game to end by itself and returns its exit status."""
        try:
            self.returncode = self.game.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("the game did not end within %.0f s" % timeout)
        self.stdout.join()
        self.stderr.join()
        return self.returncode

    def terminate(self, timeout=DEFAULT_TIMEOUT):
        """SIGTERM, which SDL turns into a quit request; returns the exit status."""
        self._signal(self.game, signal.SIGTERM)
        return self.wait_exit(timeout)

    # --- output ---------------------------------------------------------------------

    def output(self):
        return self.stdout.text()

    def errors(self):
        return self.stderr.text()

    def output_lines(self):
        return self.output().splitlines()

    def count_output(self, line):
        return self.output_lines().count(line)

    def wait_for_output(self, line, count=1, timeout=DEFAULT_TIMEOUT):
        """Waits until `line` has appeared as a whole line at least `count` times."""
        def seen():
            self._check_alive()
            return self.count_output(line) >= count
        wait_until(seen, timeout, what="%d x %r on standard output" % (count, line))

    def _check_alive(self):
        if self.game is not None and self.game.poll() is not None:
            raise DriverError("the game ended early with status %r; stderr: %r"
                              % (self.game.returncode, self.errors()[-500:]))

    # --- the X side -----------------------------------------------------------------

    def x(self, *args, check=True):
        """Runs an X client (xdotool, xwininfo, ...) on this session's display."""
        result = subprocess.run(list(args), env=dict(os.environ, DISPLAY=self.display),
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if check and result.returncode != 0:
            raise DriverError("%s failed: %s" % (" ".join(args), result.stderr.decode().strip()))
        return result.stdout.decode()

    def game_window(self, timeout=DEFAULT_TIMEOUT):
        """The id of the game's mapped top-level window."""
        def find():
            self._check_alive()
            out = self.x(XDOTOOL, "search", "--onlyvisible", "--pid", str(self.game.pid),
                         check=False)
            ids = [int(w) for w in out.split()]
            if not ids:
                out = self.x(XDOTOOL, "search", "--onlyvisible", "--name", "Quimbo", check=False)
                ids = [int(w) for w in out.split()]
            return ids[-1] if ids else None
        return wait_until(find, timeout, what="the game window")

    def window_geometry(self, window):
        """(x, y, width, height) of a window, from xwininfo."""
        info = self.x("xwininfo", "-id", str(window))
        fields = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def close_window(self):
        """A close request from the window system, as a window manager's close button sends it."""
        send_close_request(self.display, self.game_window())

    # --- keys -----------------------------------------------------------------------
    # Key names are X keysyms: Escape, Return, p, space, Control_L, Up, Down, Left, Right.

    def key(self, name):
        """A press and release, delivered together (the game sees one key-down event)."""
        self.x(XDOTOOL, "key", "--clearmodifiers", name)

    def keydown(self, name):
        self.x(XDOTOOL, "keydown", name)

    def keyup(self, name):
        self.x(XDOTOOL, "keyup", name)

    def hold(self, name, seconds):
        """Holds a key down for a while, for keys the game reads as held."""
        self.keydown(name)
        try:
            time.sleep(seconds)
        finally:
            self.keyup(name)

    # --- mouse ----------------------------------------------------------------------
    # The game hides the system pointer in full screen, which puts SDL into relative
    # mouse mode: absolute moves are not seen, so the pointer is pushed into the corner
    # (0, 0) and then moved by the wanted distance.

    def move_to(self, x, y):
        self.x(XDOTOOL, "mousemove_relative", "--", "-4000", "-4000")
        if x or y:
            self.x(XDOTOOL, "mousemove_relative", "--", str(x), str(y))

    def click(self, x, y, button=1, hold=0.25):
        """Moves to (x, y) and presses the button long enough for a frame to sample it."""
        self.move_to(x, y)
        self.x(XDOTOOL, "mousedown", str(button))
        try:
            time.sleep(hold)
        finally:
            self.x(XDOTOOL, "mouseup", str(button))

    # --- screenshots ----------------------------------------------------------------

    def screenshot(self):
        """The whole screen, pixel-exact."""
        raw = subprocess.run([IMPORT, "-display", self.display, "-window", "root",
                              "-depth", "8", "rgb:-"],
                             stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if raw.returncode != 0:
            raise DriverError("import failed: " + raw.stderr.decode().strip())
        w, h = self.screen[0], self.screen[1]
        if len(raw.stdout) != w * h * 3:
            raise DriverError("screenshot has %d bytes, expected %d" % (len(raw.stdout), w * h * 3))
        return Shot(Image.frombytes("RGB", (w, h), raw.stdout))

    def wait_for_screen(self, condition, timeout=DEFAULT_TIMEOUT, what="the screen"):
        """Takes screenshots until condition(shot) holds, and returns that shot. On a
        timeout the last screenshot is saved and its path is in the failure message."""
        last = []

        def check():
            self._check_alive()
            shot = self.screenshot()
            last[:] = [shot]
            return shot if condition(shot) else None
        try:
            return wait_until(check, timeout, interval=0.1, what=what)
        except DriverError as failure:
            if not last:
                raise
            raise DriverError("%s; last screenshot: %s" % (failure, self.keep(last[0]))) from None

    def keep(self, shot):
        """Saves a screenshot for a failure message and returns its path."""
        path = os.path.join(tempfile.gettempdir(), "quimbo-window-%d-%d.png"
                            % (os.getpid(), int(time.time() * 1000)))
        shot.save(path)
        return path

# --- for test scripts ------------------------------------------------------------------

PROJECT_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def game_binary():
    """The game under test: $QUIMBO_BIN (CTest sets it), else build/quimbo in the project."""
    path = os.environ.get("QUIMBO_BIN") or os.path.join(PROJECT_ROOT, "build", "quimbo")
    if not os.access(path, os.X_OK):
        raise DriverError("no game binary at %s (set QUIMBO_BIN)" % path)
    return path


def data_root():
    """The data root the tests run the game in: $QUIMBO_DATA_ROOT, else the project."""
    return os.environ.get("QUIMBO_DATA_ROOT") or PROJECT_ROOT
