"""The scripted sessions that the reliability checks run on the real game in a real X window.

full_session walks every screen: the menu, a game (held arrows, Space, Left Ctrl), the pause,
the game given up, the menu again, the high-score table, and the quit. short_session only
starts a game from the menu, plays a few seconds and leaves with Escape; it makes no
assumption about what the screens look like, so it also serves when the data are damaged.

Both can run the game under a wrapper (strace, valgrind): the wrapper's command line comes
first and the game's path is appended to it.
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "window"))
from driver import DriverError, Session, wait_until  # noqa: E402

RESET_LINE = "Game succesfully reseted"

# Points inside the menu's three click areas (start, high scores, quit), away from their borders.
START_POINT = (420, 360)
SCORES_POINT = (420, 480)

# Keys held and pressed while playing: the arrows steer, Space casts, Left Ctrl blasts.
PLAY_KEYS = ("Right", "Up", "Left", "Down")


def open_session(binary, data_root, wrapper=(), env=None, screen=None, headless=False,
                 audio_driver="dummy"):
    wrapper = list(wrapper)
    if wrapper:
        kwargs = dict(args=wrapper[1:] + [os.path.abspath(binary)])
        binary = wrapper[0]
    else:
        kwargs = {}
    if screen is not None:
        kwargs["screen"] = screen
    return Session(binary, data_root=data_root, env=env, headless=headless,
                   audio_driver=audio_driver, **kwargs)


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
            wait_until(lambda: not game.running(), 1.0, what="the end of the game")
        except DriverError:
            pass
    return game.wait_exit(max(1.0, deadline - time.monotonic()))


def short_session(game, play_seconds=2.5, timeout=60.0):
    """Menu, a few seconds of play, Escape back to the shell. Returns the exit status."""
    game.wait_for_output(RESET_LINE, timeout=timeout)
    game.game_window(timeout=timeout)
    # A press that lands before the menu's first frame is not seen: click until a game starts.
    def started():
        game.click(*START_POINT)
        return game.count_output(RESET_LINE) >= 2
    wait_until(started, timeout, interval=0.2, what="a game started from the menu")
    play(game, play_seconds)
    return quit_from_anywhere(game, timeout)


def _still(game, before, timeout, what):
    """Waits for a screen that stands still (two equal shots in a row) and differs from before."""
    last = [None]

    def check():
        game._check_alive()
        shot = game.screenshot().image.tobytes()
        settled = shot == last[0] and shot != before
        last[0] = shot
        return shot if settled else None
    return wait_until(check, timeout, interval=0.2, what=what)


def full_session(game, play_seconds=3.0, timeout=60.0):
    """Every screen in turn, each waited for until it is on show. Returns the exit status."""
    game.wait_for_output(RESET_LINE, timeout=timeout)
    game.game_window(timeout=timeout)
    menu = _still(game, None, timeout, "the main menu")

    def started():
        game.click(*START_POINT)
        return game.count_output(RESET_LINE) >= 2
    wait_until(started, timeout, interval=0.2, what="a game started from the menu")
    play(game, play_seconds)

    game.key("p")
    paused = _still(game, menu, timeout, "the pause screen")
    game.key("Escape")
    over = _still(game, paused, timeout, "the game-over screen")
    game.key("Escape")
    menu = _still(game, over, timeout, "the main menu after the game")

    def table_shown():
        game.click(*SCORES_POINT)
        shot = game.screenshot().image.tobytes()
        return shot != menu
    wait_until(table_shown, timeout, interval=0.2, what="the high-score table")
    table = _still(game, menu, timeout, "the high-score table")
    game.key("space")
    _still(game, table, timeout, "the menu after the table")
    game.key("Escape")
    return game.wait_exit(timeout)


if __name__ == "__main__":
    import argparse
    import shlex

    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--data-root", default=os.getcwd())
    parser.add_argument("--short", action="store_true", help="the short session")
    parser.add_argument("--timeout", type=float, default=60.0)
    parser.add_argument("--wrap", default="", help="a command line to run the game under")
    opts = parser.parse_args()
    with open_session(opts.binary, opts.data_root, shlex.split(opts.wrap)) as session:
        run = short_session if opts.short else full_session
        status = run(session, timeout=opts.timeout)
        sys.stdout.write(session.errors())
    print("exit status", status)
    sys.exit(0 if status == 0 else 1)
