"""The common moves through the game's screens, for tests and tools that drive a Session.

Each move waits for what the game prints or shows before it returns, so the next move always
starts from a known screen: a key is pressed only on the screen it is meant for.
"""

from harness import RESET_LINE, screens


def shot_when(game, data, condition, what, timeout=30):
    """The first screenshot on which condition(shot, data) holds."""
    return game.wait_for_screen(lambda s: condition(s, data), timeout=timeout, what=what)


def menu_shown(game, data):
    return shot_when(game, data, screens.is_menu, "the main menu")


def start_from_menu(game, data):
    """Clicks the start area of a menu on show; returns the first running frame seen."""
    resets = game.count_output(RESET_LINE)
    game.click(*screens.START_POINT, until=lambda: game.count_output(RESET_LINE) > resets,
               what="a game started from the menu")
    return shot_when(game, data, screens.is_running, "a running frame")


def new_game_from_game_over(game, data):
    """Return on a game-over screen on show: waits for the reset it brings about and for a
    running frame, so that the screen seen next is the new game's, not the old game-over
    picture that stays up until the new game's first frame is drawn."""
    resets = game.count_output(RESET_LINE)
    game.key("Return")
    game.wait_for_output(RESET_LINE, resets + 1)
    return shot_when(game, data, screens.is_running, "the new game's first frame")


def quit_from_menu(game, data):
    """Escape on the menu ends the program, with status 0 and nothing on standard error."""
    menu_shown(game, data)
    game.key("Escape")
    assert game.wait_exit() == 0
    assert game.errors() == ""
