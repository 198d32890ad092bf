"""Plays the game in its own X server and saves one screenshot of each screen under docs/:
the main menu, a busy running frame, the pause, the game-over screen and the high scores.

    make screenshots (the Makefile's PYTHON, tools/screenshots.py [--binary build/quimbo] [--out docs])
"""

import argparse
import os
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests"))  # the helpers that drive the game

from harness import RESET_LINE, moves, screens  # noqa: E402
from harness.xsession import Session  # noqa: E402

GROUPS = ("enemies", "stars", "bubbles", "ball")


def busy_frame(game, data, seconds=40):
    """Plays for a while and returns the running frame that shows the most kinds of
    actor (enemies, stars, bubbles, the bonus ball), stopping early once all are there."""
    best, best_kinds = None, -1
    began = time.monotonic()
    last_attack = 0.0
    while time.monotonic() - began < seconds:
        if time.monotonic() - last_attack > 2.5:
            game.key("space")
            last_attack = time.monotonic()
        shot = game.screenshot()
        if screens.is_game_over(shot, data):
            moves.new_game_from_game_over(game, data)
            continue
        if not screens.is_running(shot, data):
            continue
        kinds = sum(screens.actor_pixels(shot, data, g) > 20 for g in GROUPS)
        if kinds > best_kinds:
            best, best_kinds = shot, kinds
        if kinds == len(GROUPS):
            break
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", default=os.path.join(ROOT, "build", "quimbo"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    data = screens.Data(ROOT)

    def save(shot, name):
        path = os.path.join(args.out, "screen-%s.png" % name)
        shot.save(path)
        print("wrote", os.path.relpath(path, ROOT))

    def when(condition, what):
        return moves.shot_when(game, data, condition, what)

    with Session(args.binary, data_root=ROOT) as game:
        game.wait_for_output(RESET_LINE)
        # The pointer rests on the start button, so the menu shows the game's cursor.
        game.move_to(560, 380)
        save(when(lambda s, d: screens.is_menu(s, d)
                  and screens.sprite_match(s, d, ["cursor"], 560, 380) == 1.0,
                  "the menu with the cursor"), "menu")

        moves.start_from_menu(game, data)
        save(busy_frame(game, data), "running")

        game.key("p")
        save(when(screens.is_paused, "the pause"), "paused")
        game.key("Escape")
        save(when(screens.is_game_over, "game over"), "gameover")

        game.key("Escape")
        moves.menu_shown(game, data)
        save(game.click(*screens.HISCORE_POINT,
                        until=lambda: when(screens.is_hiscore, "high scores")), "hiscore")
        game.key("Escape")
        moves.quit_from_menu(game, data)
        status = game.wait_exit()
    data.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
