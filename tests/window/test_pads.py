"""A game played by pad alone through the real window, SDL2 virtual game controllers standing in
for the pads (attached inside the game by the preloaded virtual_pads.cpp); then a second pad
plugged in during play, the first pulled out while it holds Down, and the keyboard after."""

import os

import pytest

import harness
from harness import RESET_LINE, TAIKO_LINE, moves, screens
from harness.xsession import Session, wait_until

# The virtual pads' buttons and stick, in SDL's game-controller order.
A, B, BACK, START, UP, DOWN, LEFT = 0, 1, 4, 6, 11, 12, 13
INSIDE_DEAD_ZONE = 6000  # the stick counts from about a quarter of its travel, 8192
NORMAL_LOOK = ["quimbo_normal"]


class Pads:
    """The test's end of the virtual pads: each command returns once the game has taken it."""

    def __init__(self, commands, seen):
        # Opened for reading too, the pipe takes commands before the game opens its end.
        self.pipe, self.seen = os.open(commands, os.O_RDWR), seen

    def send(self, *words, until=None):
        def saw():
            with open(self.seen) as f:
                return f.read().splitlines()
        line, before = " ".join(map(str, words)), len(saw())
        os.write(self.pipe, (line + "\n").encode())
        wait_until(lambda: (until or line) in saw()[before:], what="the game to take " + line)

    def hold(self, pad, down, *buttons):
        for button in buttons:
            self.send("button", pad, button, int(down))

    def tap(self, pad, button):
        self.hold(pad, True, button)
        self.hold(pad, False, button)

    def stick(self, pad, x, y):
        self.send("axis", pad, 0, x)
        self.send("axis", pad, 1, y)


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
        pads = Pads(commands, seen)
        moves.menu_shown(game, game_data)
        yield game, game_data, pads
        os.close(pads.pipe)


def test_a_game_by_pad_alone_then_pads_come_and_go(padded):
    game, data, pads = padded
    w, h = data.frame_size("quimbo_normal")
    left, top, right, bottom = screens.PLAY_AREA
    start_x = screens.MAGICIAN_START_CENTRE[0] - w // 2
    low_rows = screens.strip_top(data)

    def running(what="a running frame"):
        return moves.shot_when(game, data, screens.is_running, what)

    def until_seen(pad, button, seen, what):
        """Presses again until seen(): a press the magician was too busy for is lost."""
        wait_until(lambda: seen() or pads.tap(pad, button), interval=0.3, what=what)

    def cast(pad):
        casts = game.count_output(TAIKO_LINE)
        until_seen(pad, A, lambda: game.count_output(TAIKO_LINE) > casts, "a cast by pad %d" % pad)

    def blast(pad):
        """The blast by B: for five seconds nothing but the steering moves the magician."""
        def cloud(shot):
            return screens.actor_pixels(shot, data, "cloud") > 50
        moves.shot_when(game, data, lambda s, d: screens.is_running(s, d) and not cloud(s),
                        "a running frame without the blast")
        until_seen(pad, B, lambda: cloud(running()), "the blast by B")

    def at(spot, rows=None, reach=1):
        def there(shot, data):
            pos, match = screens.magician_position(shot, data, spot, reach, rows, NORMAL_LOOK)
            return pos == spot and match > 0.9
        return there

    def stays_at(spot, rows=None):
        """Still at `spot` after eight more points are scored."""
        first = screens.hud_figures(running(), data)[2]
        wait_until(lambda: screens.hud_figures(running(), data)[2] >= first + 8, what="8 points")
        shot = running()
        assert at(spot, rows, 2)(shot, data), "the magician left %r: %s" % (spot, game.keep(shot))

    def starts_a_game(*buttons):
        resets = game.count_output(RESET_LINE)
        for button in buttons:
            pads.tap(0, button)
        game.wait_for_output(RESET_LINE, resets + 1)
        running("the new game's first frame")

    # START: Up puts the pointer on it, a second Up stays there, A presses it; then a cast.
    starts_a_game(UP, UP, A)
    cast(0)

    # Steering by the d-pad, then by the stick; a tilt inside the dead zone moves nothing.
    blast(0)
    pads.hold(0, True, UP, LEFT)
    moves.shot_when(game, data, at((left, top)), "the magician in the top left corner")
    pads.hold(0, False, UP, LEFT)
    corner = (right - w, bottom - h)
    pads.stick(0, 32767, 32767)
    moves.shot_when(game, data, at(corner, low_rows), "the magician in the bottom right corner")
    pads.stick(0, -INSIDE_DEAD_ZONE, -INSIDE_DEAD_ZONE)
    stays_at(corner, low_rows)
    pads.stick(0, 0, 0)

    # Start pauses and resumes; Back pauses and gives up; A starts a new game.
    for button, shown in ((START, screens.is_paused), (START, screens.is_running),
                          (BACK, screens.is_paused), (BACK, screens.is_game_over)):
        pads.tap(0, button)
        moves.shot_when(game, data, shown, "%s after button %d" % (shown.__name__, button))
    starts_a_game(A)

    # A second pad plugged in during play casts. The first, pulled out while it holds Down,
    # leaves nothing held: the keyboard's Up takes the magician to the top, and it stays there.
    pads.send("attach", until="added")
    cast(1)
    blast(1)
    pads.hold(0, True, DOWN)
    moves.shot_when(game, data, at((start_x, bottom - h), low_rows), "the magician at the bottom")
    pads.send("detach 0", until="removed 0")
    game.keydown("Up")
    try:
        moves.shot_when(game, data, at((start_x, top)), "the magician at the top by the keyboard")
    finally:
        game.keyup("Up")
    stays_at((start_x, top))
