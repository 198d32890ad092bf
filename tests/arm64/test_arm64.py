"""The arm64 package, as `make deb-arm64` leaves it in dist/, tested on this machine under
qemu-aarch64: what the package says and holds, then its game, unpacked from it and started
from its data folder, headless and in a window of its own.

The emulator is called directly (no binfmt_misc here) and without -L: the arm64 loader and
libraries are installed as multiarch packages. The game's standard output reaches the test
through a pseudo-terminal (xsession.Session does that); piped, an emulated program's lines
arrive only when it ends. A hung emulated program may ignore SIGTERM, so every run has a
SIGKILL behind it: after the session's own stop, after a hard time limit, and when the test
process itself dies.
"""

import os
import signal
import threading

import pytest
from PIL import Image, ImageChops, ImageDraw

import harness
from harness import RESET_LINE, moves, screens
from harness.catalogue import start_up_output
from harness.install import project_version, run
from harness.xsession import Session, keep_shot

EMULATOR = ["setpriv", "--pdeathsig", "KILL", "qemu-aarch64"]
# Emulation is several times slower than the real thing, and the machine may be busy.
TIMEOUT = 120.0
HARD_LIMIT = 300.0
EM_AARCH64 = 183  # the ELF machine number of 64-bit ARM

# What playing needs: the package must depend on each of these.
PLAY_LIBRARIES = ("libsdl1.2-compat-shim", "libsdl-image1.2", "libsdl-mixer1.2",
                  "libsdl-ttf2.0-0")


@pytest.fixture(scope="module")
def deb():
    path = os.environ.get("QUIMBO_ARM64_DEB") or os.path.join(
        harness.PROJECT_ROOT, "dist", "quimbo_%s_arm64.deb" % project_version())
    if not os.path.isfile(path):
        pytest.fail("%s is missing: run make deb-arm64 first" % path)
    return path


@pytest.fixture(scope="module")
def unpacked(deb, tmp_path_factory):
    """The package's files under a folder of their own: (the game binary, its data folder)."""
    root = tmp_path_factory.mktemp("arm64")
    run(["dpkg-deb", "-x", deb, str(root)])
    return (str(root / "usr" / "lib" / "games" / "quimbo" / "quimbo"),
            str(root / "usr" / "share" / "games" / "quimbo"))


class hard_limit:
    """SIGKILL for the session's game if it still runs `seconds` after the start, whatever
    the test is doing meanwhile (a hung screenshot or X client included)."""

    def __init__(self, session, seconds=HARD_LIMIT):
        self.session, self.seconds = session, seconds

    def __enter__(self):
        pid = self.session.game.pid
        self.timer = threading.Timer(self.seconds, self._kill, (pid,))
        self.timer.daemon = True
        self.timer.start()
        return self.session

    def _kill(self, pid):
        if self.session.game is not None and self.session.game.poll() is None:
            os.kill(pid, signal.SIGKILL)

    def __exit__(self, *exc):
        self.timer.cancel()
        return False


def test_package_is_for_arm64_depends_on_the_sdl_libraries_and_holds_an_arm64_game(deb,
                                                                                  unpacked):
    assert run(["dpkg-deb", "-f", deb, "Architecture"]).stdout.strip() == "arm64"
    depends = run(["dpkg-deb", "-f", deb, "Depends"]).stdout
    names = [alternative.split()[0] for field in depends.split(",")
             for alternative in field.split("|")]
    for needed in PLAY_LIBRARIES:
        assert needed in names, depends
    assert not [n for n in names if n.endswith("-dev")], depends
    binary, data = unpacked
    with open(binary, "rb") as f:
        header = f.read(20)
    assert header[:4] == b"\x7fELF" and header[4] == 2, "not a 64-bit ELF program"
    assert int.from_bytes(header[18:20], "little") == EM_AARCH64
    # The build links the mixer through a private folder; the package must not look there.
    dynamic = run(["readelf", "-d", binary]).stdout
    assert "RPATH" not in dynamic and "RUNPATH" not in dynamic, dynamic
    assert "libSDL_mixer-1.2.so.0" in dynamic
    assert os.path.isfile(os.path.join(data, "Data", "Gfx", "menu.PNG"))


def test_headless_under_emulation_loads_every_picture_resets_and_ends_with_status_0(unpacked):
    binary, data = unpacked
    with Session(binary, data_root=data, wrapper=EMULATOR, headless=True) as game, \
            hard_limit(game):
        game.wait_for_output(RESET_LINE, timeout=TIMEOUT)
        status = game.terminate(timeout=TIMEOUT)
        assert game.output() == start_up_output()
        assert game.errors() == ""
        assert status == 0


def cursor_box(data):
    """The corner the cursor is drawn in, as (left, top, right, bottom) with both ends in."""
    w, h = data.frame_size("cursor")
    return (0, 0, w - 1, h - 1)


def pixels_apart(seen, want, masked):
    """How many pixels of two screenshots differ at all, leaving out the box `masked`."""
    mask = Image.new("L", seen.size, 255)
    ImageDraw.Draw(mask).rectangle(masked, fill=0)
    apart = screens.max_channel(ImageChops.difference(seen, want)).point(
        lambda v: 255 if v else 0)
    return ImageChops.multiply(apart, mask).histogram()[255]


def menu_with_cursor_in_corner(game, data):
    """The menu with the pointer pushed into the top-left corner, once the game draws its
    cursor there."""
    game.wait_for_output(RESET_LINE, timeout=TIMEOUT)
    moves.shot_when(game, data, screens.is_menu, "the main menu", timeout=TIMEOUT)
    game.move_to(0, 0)
    return game.wait_for_screen(
        lambda s: screens.is_menu(s, data)
        and screens.sprite_match(s, data, ["cursor"], 0, 0) == 1.0,
        timeout=TIMEOUT, what="the menu with the cursor in the corner")


def escape_quits(game, data):
    game.key("Escape")
    assert game.wait_exit(timeout=TIMEOUT) == 0
    assert game.output() == start_up_output()
    assert game.errors() == ""


def test_menu_under_emulation_is_the_linux_builds_and_escape_ends_it(unpacked, game_binary):
    binary, data = unpacked
    pictures = screens.Data(data)
    try:
        # The Linux build, from the same data folder, draws the menu to compare with.
        with Session(game_binary, data_root=data) as linux:
            want = menu_with_cursor_in_corner(linux, pictures)
            escape_quits(linux, pictures)
        with Session(binary, data_root=data, wrapper=EMULATOR) as game, hard_limit(game):
            seen = menu_with_cursor_in_corner(game, pictures)
            # Both draw their cursor in the same corner; it is masked all the same, so that
            # the comparison is of the menu alone.
            differing = pixels_apart(seen.image, want.image, cursor_box(pictures))
            assert differing == 0, "%d pixels differ from the Linux menu: %s (Linux: %s)" % (
                differing, keep_shot(seen), keep_shot(want))
            escape_quits(game, pictures)
    finally:
        pictures.close()
