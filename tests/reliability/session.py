"""The scripted sessions that the reliability checks run on the real game in a real X window.

full_session walks every screen: the menu, a game (held arrows, Space, Left Ctrl), the pause,
the game given up, the menu again, the high-score table, and the quit. short_session only
starts a game from the menu, plays a few seconds and leaves with Escape; it makes no
assumption about what the screens look like, so it also serves when the data are damaged,
while full_session knows every screen by the game's pictures and waits for each.

Both take a harness.xsession.Session, which may run the game under a wrapper (strace,
valgrind).
"""

import time

from harness import RESET_LINE, moves, screens
from harness.xsession import DriverError, wait_until

# Keys held and pressed while playing: the arrows steer, Space casts, Left Ctrl blasts.
PLAY_KEYS = ("Right", "Up", "Left", "Down")


def play(game, seconds):
    """Steers round with the arrows for a while, casting and blasting on the way."""
    deadline = time.monotonic() + seconds
    i = 0
    while time.monotonic() < deadline:
        key = PLAY_KEYS[i % len(PLAY_KEYS)]
        game.keydown(key)
        game.key("space")
        if i % 2 == 1:
            game.key("Control_L")
        time.sleep(0.3)
        game.keyup(key)
        i += 1


def quit_from_anywhere(game, timeout):
    """Escape until the program ends: running -> paused -> game over -> menu -> quit.

    Each press moves one state on, and an Escape on the menu ends the program, so presses
    beyond the needed ones do no harm."""
    deadline = time.monotonic() + timeout
    while game.running() and time.monotonic() < deadline:
        game.x("xdotool", "key", "Escape", check=False)
        try:
            wait_until(lambda: not game.running(), 0.3, what="the end of the game")
        except DriverError:
            pass
    return game.wait_exit(max(1.0, deadline - time.monotonic()))


def start_game(game, timeout):
    """Clicks the menu's start area, holding the button until the game has started."""
    resets = game.count_output(RESET_LINE)
    game.click(*screens.START_POINT, until=lambda: game.count_output(RESET_LINE) > resets,
               timeout=timeout, what="a game started from the menu")


def short_session(game, play_seconds=2.5, timeout=60.0):
    """Menu, a few seconds of play, Escape back to the shell. Returns the exit status."""
    game.wait_for_output(RESET_LINE, timeout=timeout)
    game.game_window(timeout=timeout)
    start_game(game, timeout)
    play(game, play_seconds)
    return quit_from_anywhere(game, timeout)


def full_session(game, data, play_seconds=3.0, timeout=60.0):
    """Every screen in turn, each waited for until it is on show (`data`: the game's
    pictures, harness.screens.Data). Returns the exit status."""
    def shown(condition, what):
        return moves.shot_when(game, data, condition, what, timeout=timeout)
    game.wait_for_output(RESET_LINE, timeout=timeout)
    game.game_window(timeout=timeout)
    shown(screens.is_menu, "the main menu")
    start_game(game, timeout)
    shown(screens.is_running, "a running frame")
    play(game, play_seconds)

    game.key("p")
    shown(screens.is_paused, "the pause screen")
    game.key("Escape")
    shown(screens.is_game_over, "the game-over screen")
    game.key("Escape")
    shown(screens.is_menu, "the main menu after the game")
    game.click(*screens.HISCORE_POINT,
               until=lambda: shown(screens.is_hiscore, "the high-score table"),
               timeout=timeout)
    game.key("space")
    shown(screens.is_menu, "the menu after the table")
    game.key("Escape")
    return game.wait_exit(timeout)
