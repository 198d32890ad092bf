"""A game played by pad alone, through the real window: SDL2 virtual game controllers, attached
inside the game by a preloaded test library, stand in for the pads. Then a second pad plugged
in during play, the first pulled out while it holds Down, and the keyboard after."""

import os

import pytest

import harness
from harness import RESET_LINE, TAIKO_LINE, moves, screens
from harness.xsession import Session, wait_until

# The virtual pads' buttons and axes, in SDL's game-controller order.
A, B, BACK, START = 0, 1, 4, 6
UP, DOWN, LEFT, RIGHT = 11, 12, 13, 14
STICK_X, STICK_Y = 0, 1
FULL_TILT = 32767
INSIDE_DEAD_ZONE = 6000  # the stick counts from about a quarter of its travel, 8192
NORMAL_LOOK = ["quimbo_normal"]


class Pads:
    """The test's end of the virtual pads: commands into the game, and what the game saw."""

    def __init__(self, game, commands, seen):
        self.game, self.seen = game, seen

        def opened():
            game.check_alive()
            try:
                return os.open(commands, os.O_WRONLY | os.O_NONBLOCK)
            except OSError:  # the game has not opened its end yet
                return None
        self.pipe = wait_until(opened, what="the virtual pads' command pipe")

    def close(self):
        os.close(self.pipe)

    def saw(self):
        with open(self.seen) as f:
            return f.read().splitlines()

    def send(self, command, until=None):
        """Sends a command and, if `until` names a line, waits until the game has taken it."""
        seen = len(self.saw())
        os.write(self.pipe, (command + "\n").encode())
        if until:
            wait_until(lambda: until in self.saw()[seen:], what="the game to take %r" % until)

    def button(self, pad, button, down):
        state = 1 if down else 0
        self.send("button %d %d %d" % (pad, button, state),
                  until="button %d %d %d" % (pad, button, state))

    def tap(self, pad, button):
        """A press the game has seen, then its release."""
        self.button(pad, button, True)
        self.button(pad, button, False)

    def axis(self, pad, axis, value):
        self.send("axis %d %d %d" % (pad, axis, value), until="axis %d %d %d" % (pad, axis, value))


@pytest.fixture
def padded(game_binary, data_root, game_data, tmp_path):
    library = os.environ.get("QUIMBO_VIRTUAL_PADS") or os.path.join(
        harness.PROJECT_ROOT, "build", "tests", "window", "libvirtual_pads.so")
    if not os.path.exists(library):
        raise harness.MissingPiece("no virtual pad library at %s (install libsdl2-dev and build "
                                   "the tests)" % library)
    commands, seen = str(tmp_path / "pad-commands"), str(tmp_path / "pad-events")
    os.mkfifo(commands)
    env = {"LD_PRELOAD": library, "QUIMBO_PAD_COMMANDS": commands, "QUIMBO_PAD_EVENTS": seen,
           "SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS": "1",
           # The sanitizer build wants its runtime loaded first, ahead of the preloaded pads.
           "ASAN_OPTIONS": ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"),
                                                  "verify_asan_link_order=0"]))}
    with Session(game_binary, data_root=data_root, env=env) as game:
        game.wait_for_output(RESET_LINE)
        pads = Pads(game, commands, seen)
        moves.menu_shown(game, game_data)
        yield game, pads
        pads.close()


def running(game, data, what="a running frame"):
    return moves.shot_when(game, data, screens.is_running, what)


def cast(game, pads, pad):
    """A cast by A; a press the magician was too busy for (a slime, a bubble) is made again."""
    casts = game.count_output(TAIKO_LINE)

    def cast_seen():
        if game.count_output(TAIKO_LINE) > casts:
            return True
        pads.tap(pad, A)
        return False
    wait_until(cast_seen, interval=0.3, what="a cast by pad %d" % pad)


def blast(game, data, pads, pad):
    """The blast by B, for the five seconds in which nothing but the steering moves the
    magician; a press it was too busy for is made again."""
    def cloud(shot):
        return screens.actor_pixels(shot, data, "cloud") > 50
    moves.shot_when(game, data, lambda s, d: screens.is_running(s, d) and not cloud(s),
                    "a running frame without the blast")

    def blasting():
        if cloud(running(game, data)):
            return True
        pads.tap(pad, B)
        return cloud(running(game, data))
    wait_until(blasting, interval=0.3, what="the blast by B")


def wait_at(game, data, spot, rows=None, what="the magician"):
    def there(shot, data):
        pos, match = screens.magician_position(shot, data, spot, 1, rows, NORMAL_LOOK)
        return pos == spot and match > 0.9
    return moves.shot_when(game, data, there, "%s at %r" % (what, spot))


def stays_at(game, data, spot, rows=None, frames=8):
    """The magician is still at `spot` over many frames (the HUD's score moves on meanwhile)."""
    first = screens.hud_figures(running(game, data), data)[2]
    wait_until(lambda: screens.hud_figures(running(game, data), data)[2] >= first + frames,
               what="%d more points scored" % frames)
    shot = running(game, data)
    pos, match = screens.magician_position(shot, data, spot, 2, rows, NORMAL_LOOK)
    assert pos == spot and match > 0.9, "the magician left %r for %r; screenshot: %s" % (
        spot, pos, game.keep(shot))


def test_a_game_by_pad_alone_then_pads_come_and_go(padded, game_data):
    game, pads = padded
    data = game_data
    w, h = data.frame_size("quimbo_normal")
    left, top, right, bottom = screens.PLAY_AREA
    cx, cy = screens.MAGICIAN_START_CENTRE
    start_x = cx - w // 2
    low_rows = screens.strip_top(data)

    # START from the menu: Up puts the pointer on START, a second Up stays there, A presses it.
    resets = game.count_output(RESET_LINE)
    pads.tap(0, UP)
    pads.tap(0, UP)
    pads.tap(0, A)
    game.wait_for_output(RESET_LINE, resets + 1)
    running(game, data)
    cast(game, pads, 0)

    # Steering by the d-pad, then by the stick; a tilt inside the dead zone moves nothing.
    blast(game, data, pads, 0)
    pads.button(0, UP, True)
    pads.button(0, LEFT, True)
    wait_at(game, data, (left, top))
    pads.button(0, UP, False)
    pads.button(0, LEFT, False)
    corner = (right - w, bottom - h)
    pads.axis(0, STICK_X, FULL_TILT)
    pads.axis(0, STICK_Y, FULL_TILT)
    wait_at(game, data, corner, low_rows)
    pads.axis(0, STICK_X, -INSIDE_DEAD_ZONE)
    pads.axis(0, STICK_Y, -INSIDE_DEAD_ZONE)
    stays_at(game, data, corner, low_rows)
    pads.axis(0, STICK_X, 0)
    pads.axis(0, STICK_Y, 0)

    # Start pauses and resumes; Back pauses and gives up; A starts a new game.
    pads.tap(0, START)
    moves.shot_when(game, data, screens.is_paused, "the pause by Start")
    pads.tap(0, START)
    running(game, data, "the game resumed by Start")
    pads.tap(0, BACK)
    moves.shot_when(game, data, screens.is_paused, "the pause by Back")
    pads.tap(0, BACK)
    moves.shot_when(game, data, screens.is_game_over, "the game given up by Back")
    resets = game.count_output(RESET_LINE)
    pads.tap(0, A)
    game.wait_for_output(RESET_LINE, resets + 1)
    running(game, data, "the new game started by A")

    # A second pad plugged in during play casts.
    pads.send("attach", until="added")
    cast(game, pads, 1)

    # The first pad pulled out while it holds Down leaves nothing held: the keyboard's Up
    # takes the magician to the top, where it stays once Up is let go.
    blast(game, data, pads, 1)
    pads.button(0, DOWN, True)
    wait_at(game, data, (start_x, bottom - h), low_rows)
    pads.send("detach 0", until="removed 0")
    game.keydown("Up")
    try:
        wait_at(game, data, (start_x, top))
    finally:
        game.keyup("Up")
    stays_at(game, data, (start_x, top))
