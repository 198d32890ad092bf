"""Runs the real game, in its own X server or headless, for the tests and the screenshot tool.

A Session starts its own Xvfb (the display number comes back through -displayfd, so sessions
never collide), runs the game binary in it from a chosen data root with the dummy audio
driver, sends keys and clicks with xdotool, grabs screenshots with Pillow, and stops
everything it started, by PID, whatever happens in the test:

    with Session(binary) as game:
        game.wait_for_output(RESET_LINE)
        game.click(350, 312, until=lambda: game.count_output(RESET_LINE) > 1)
        shot = game.wait_for_screen(lambda s: s.pixel(512, 700) != (0, 0, 0))

Everything that changes between runs is a constructor argument: the data root (the working
directory the game reads "Data/..." from), extra environment, a wrapper command, the screen.
Nothing here sleeps for luck: every wait polls for what the game prints or shows.

The pieces a Session is made of are functions of their own, for suites that run something
else in an X server (the Windows build under Wine): start_xvfb, OutputPump, run_x,
move_pointer, button_held, grab, wait_for_shot, wait_until and stop_process.
"""

import contextlib
import os
import select
import signal
import subprocess
import tempfile
import threading
import time
import tty

from harness import SCREEN_H, SCREEN_W

XDOTOOL = "xdotool"
XVFB = "Xvfb"

# The game is a busy loop with no frame cap; on a loaded two-core machine a frame of the
# pause screen alone can take a good part of a second, so waits are generous by default.
DEFAULT_TIMEOUT = 30.0


class DriverError(AssertionError):
    """Something the driver waited for did not happen (reported as a test failure)."""


def wait_until(condition, timeout=DEFAULT_TIMEOUT, interval=0.02, what="condition"):
    """Calls condition() until it returns something truthy, and returns that value.

    Raises DriverError after `timeout` seconds; the last value is in the message so a
    failure says what was seen instead."""
    deadline = time.monotonic() + timeout
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

    def save(self, path):
        self.image.save(path)


class OutputPump:
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

    def text(self):
        with self._lock:
            return b"".join(self._chunks).decode("latin-1")


def stop_process(proc, grace=5):
    """SIGTERM, then SIGKILL if it lingers: only the process the caller started."""
    if proc.poll() is None:
        try:
            proc.send_signal(signal.SIGTERM)
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(grace)


def start_xvfb(screen=(SCREEN_W, SCREEN_H, 24), timeout=DEFAULT_TIMEOUT):
    """Starts an Xvfb of its own and returns (process, display name such as ":3").

    Xvfb picks a free display number and writes it to the pipe given by -displayfd, so
    servers started at once never collide. The caller stops the process (stop_process)."""
    read_fd, write_fd = os.pipe()
    try:
        xvfb = subprocess.Popen(
            [XVFB, "-displayfd", str(write_fd), "-screen", "0", "%dx%dx%d" % screen,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except BaseException:
        os.close(read_fd)
        raise
    finally:
        os.close(write_fd)
    try:
        number = b""
        deadline = time.monotonic() + timeout
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_fd], [], [], left)[0]:
                raise DriverError("Xvfb did not report its display number")
            chunk = os.read(read_fd, 64)
            if not chunk:
                raise DriverError("Xvfb ended before reporting its display (status %r)"
                                  % xvfb.poll())
            number += chunk
    except BaseException:
        stop_process(xvfb)
        raise
    finally:
        os.close(read_fd)
    return xvfb, ":" + number.decode().strip()


def run_x(display, *args, check=True):
    """Runs an X client (xdotool, xprop, ...) on a display and returns its output."""
    result = subprocess.run(list(args), env=dict(os.environ, DISPLAY=display),
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    if check and result.returncode != 0:
        raise DriverError("%s failed: %s" % (" ".join(args), result.stderr.decode().strip()))
    return result.stdout.decode()


def grab(display):
    """The whole screen of a display as an RGB picture, pixel-exact."""
    from PIL import ImageGrab
    return ImageGrab.grab(xdisplay=display).convert("RGB")


# The game hides the system pointer in full screen, which puts SDL into relative mouse
# mode: absolute moves are not seen, so the pointer is pushed into the corner (0, 0) and
# then moved by the wanted distance.
def move_pointer(display, x, y):
    run_x(display, XDOTOOL, "mousemove_relative", "--", "-4000", "-4000")
    if x or y:
        run_x(display, XDOTOOL, "mousemove_relative", "--", str(x), str(y))


@contextlib.contextmanager
def button_held(display, x, y, button=1):
    """Moves to (x, y) and holds the button down while the block waits for what the press
    brings. The game reads the button once a frame and acts on a press it sees begin, so a
    press shorter than a frame could go unseen: the button is released only once the game
    has answered, however long a frame takes under load."""
    move_pointer(display, x, y)
    run_x(display, XDOTOOL, "mousedown", str(button))
    try:
        yield
    finally:
        run_x(display, XDOTOOL, "mouseup", str(button))


def keep_shot(shot):
    """Saves a screenshot for a failure message and returns its path."""
    handle, path = tempfile.mkstemp(prefix="quimbo-window-", suffix=".png")
    os.close(handle)
    shot.save(path)
    return path


def wait_for_shot(take, condition, timeout=DEFAULT_TIMEOUT, what="the screen", interval=0.02):
    """Calls take() for a screenshot until condition(shot) holds, and returns that shot. On a
    timeout the last screenshot is saved and its path is in the failure message."""
    last = []

    def check():
        shot = take()
        last[:] = [shot]
        return shot if condition(shot) else None
    try:
        return wait_until(check, timeout, interval=interval, what=what)
    except DriverError as failure:
        if not last:
            raise
        raise DriverError("%s; last screenshot: %s" % (failure, keep_shot(last[0]))) from None


class Session:
    """Xvfb plus one run of the game (or the game alone, headless). Use it as a context manager.

    binary        the game executable
    data_root     the working directory the game reads "Data/..." from (default: current one)
    env           extra environment for the game, applied last (may override the drivers)
    wrapper       a command line to run the game under (strace, valgrind): the game's path
                  is appended to it
    args          arguments for the game (or for the script that starts it)
    headless      no X server: SDL's dummy video driver instead of a real window
    audio_driver  SDL_AUDIODRIVER for the game ("dummy"; None leaves the environment's)

    The game's standard output goes to a pseudo-terminal, so that its stdio writes each line
    as it prints it and tests can wait for lines while it runs; the bytes arrive unchanged
    (raw mode). Standard error is a plain pipe.
    """

    def __init__(self, binary, data_root=None, env=None, wrapper=(), args=(), headless=False,
                 screen=(SCREEN_W, SCREEN_H, 24), audio_driver="dummy"):
        self.command = list(wrapper) + [os.path.abspath(binary)] + list(args)
        self.data_root = os.path.abspath(data_root or os.getcwd())
        self.extra_env = dict(env or {})
        self.headless = headless
        self.screen = screen
        self.audio_driver = audio_driver
        self.display = None
        self.xvfb = None
        self.game = None
        self.stdout = None
        self.stderr = None
        self._stdout_file = None
        self._x = None
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
        self.xvfb, self.display = start_xvfb(self.screen)

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
            self.game = subprocess.Popen(self.command, cwd=self.data_root, env=self.env(),
                                         stdin=subprocess.DEVNULL, stdout=slave,
                                         stderr=subprocess.PIPE)
        except BaseException:
            os.close(master)
            raise
        finally:
            os.close(slave)
        self._stdout_file = os.fdopen(master, "rb", buffering=0)
        self.stdout = OutputPump(self._stdout_file)
        self.stderr = OutputPump(self.game.stderr)

    def stop(self):
        """Ends the game (if still running) and Xvfb: only the processes this session started."""
        if self._x is not None:
            self._x.close()
            self._x = None
        if self.game is not None:
            stop_process(self.game)
            if self.returncode is None:
                self.returncode = self.game.returncode
            self.stdout.join()
            self.stderr.join()
            self._stdout_file.close()
            self.game.stderr.close()
            self.game = None
        if self.xvfb is not None:
            stop_process(self.xvfb)
            self.xvfb = None

    def running(self):
        return self.game is not None and self.game.poll() is None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the game to end by itself and returns its exit status."""
        try:
            self.returncode = self.game.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("the game did not end within %.0f s" % timeout) from None
        self.stdout.join()
        self.stderr.join()
        return self.returncode

    def terminate(self, timeout=DEFAULT_TIMEOUT):
        """SIGTERM, which SDL turns into a quit request; returns the exit status."""
        if self.game.poll() is None:
            self.game.send_signal(signal.SIGTERM)
        return self.wait_exit(timeout)

    # --- output ---------------------------------------------------------------------

    def output(self):
        return self.stdout.text()

    def errors(self):
        return self.stderr.text()

    def count_output(self, line):
        return self.output().splitlines().count(line)

    def wait_for_output(self, line, count=1, timeout=DEFAULT_TIMEOUT):
        """Waits until `line` has appeared as a whole line at least `count` times."""
        def seen():
            self.check_alive()
            return self.count_output(line) >= count
        wait_until(seen, timeout, what="%d x %r on standard output" % (count, line))

    def check_alive(self):
        if self.game is not None and self.game.poll() is not None:
            raise DriverError("the game ended early with status %r; stderr: %r"
                              % (self.game.returncode, self.errors()[-500:]))

    # --- the X side -----------------------------------------------------------------

    def xlib(self):
        """A python-xlib connection to this session's display, kept for the session."""
        if self._x is None:
            from Xlib import display
            self._x = display.Display(self.display)
        return self._x

    def x(self, *args, check=True):
        """Runs an X client (xdotool, ...) on this session's display."""
        return run_x(self.display, *args, check=check)

    def game_window(self, timeout=DEFAULT_TIMEOUT):
        """The id of the game's mapped top-level window."""
        def find():
            self.check_alive()
            out = self.x(XDOTOOL, "search", "--onlyvisible", "--pid", str(self.game.pid),
                         check=False)
            if not out.split():
                out = self.x(XDOTOOL, "search", "--onlyvisible", "--name", "Quimbo", check=False)
            ids = [int(w) for w in out.split()]
            return ids[-1] if ids else None
        return wait_until(find, timeout, interval=0.05, what="the game window")

    def window_geometry(self, window):
        """(x, y, width, height) of a window, on the root window's coordinates."""
        x = self.xlib()
        win = x.create_resource_object("window", window)
        geometry = win.get_geometry()
        origin = win.translate_coords(x.screen().root, 0, 0)
        return (-origin.x, -origin.y, geometry.width, geometry.height)

    def window_title(self, window):
        """The window's _NET_WM_NAME, decoded from UTF-8."""
        x = self.xlib()
        win = x.create_resource_object("window", window)
        prop = win.get_full_property(x.intern_atom("_NET_WM_NAME"), x.intern_atom("UTF8_STRING"))
        if prop is None:
            return None
        value = prop.value
        return value.decode("utf-8") if isinstance(value, bytes) else bytes(value).decode("utf-8")

    def close_window(self):
        """A close request from the window system, as a window manager's close button sends
        it: a WM_PROTOCOLS client message that carries WM_DELETE_WINDOW."""
        from Xlib import X
        from Xlib.protocol import event
        x = self.xlib()
        win = x.create_resource_object("window", self.game_window())
        message = event.ClientMessage(window=win, client_type=x.intern_atom("WM_PROTOCOLS"),
                                      data=(32, [x.intern_atom("WM_DELETE_WINDOW"),
                                                 X.CurrentTime, 0, 0, 0]))
        win.send_event(message, event_mask=0)
        x.flush()

    # --- keys -----------------------------------------------------------------------
    # Key names are X keysyms: Escape, Return, p, space, Control_L, Up, Down, Left, Right.

    def key(self, name):
        """A press and release, delivered together (the game sees one key-down event)."""
        self.x(XDOTOOL, "key", "--clearmodifiers", name)

    def keydown(self, name):
        self.x(XDOTOOL, "keydown", name)

    def keyup(self, name):
        self.x(XDOTOOL, "keyup", name)

    # --- mouse ----------------------------------------------------------------------
    # The game hides the system pointer in full screen, which puts SDL into relative
    # mouse mode: absolute moves are not seen, so the pointer is pushed into the corner
    # (0, 0) and then moved by the wanted distance.

    def move_to(self, x, y):
        move_pointer(self.display, x, y)

    def click(self, x, y, until, button=1, timeout=DEFAULT_TIMEOUT, what=None):
        """Moves to (x, y) and holds the button down until `until()` returns something
        truthy (what the click must bring about), which it returns."""
        def answered():
            self.check_alive()
            return until()
        with button_held(self.display, x, y, button):
            return wait_until(answered, timeout,
                              what=what or "the click at (%d, %d) to take effect" % (x, y))

    # --- screenshots ----------------------------------------------------------------

    def screenshot(self):
        """The whole screen, pixel-exact."""
        return Shot(grab(self.display))

    def wait_for_screen(self, condition, timeout=DEFAULT_TIMEOUT, what="the screen"):
        """Takes screenshots until condition(shot) holds, and returns that shot. On a
        timeout the last screenshot is saved and its path is in the failure message."""
        def take():
            self.check_alive()
            return self.screenshot()
        return wait_for_shot(take, condition, timeout, what)

    def keep(self, shot):
        """Saves a screenshot for a failure message and returns its path."""
        return keep_shot(shot)
