"""A test case that runs the real game in its own X server, with the common moves."""

import unittest

import screens
from driver import Session, data_root, game_binary

RESET_LINE = "Game succesfully reseted"


class GameTestCase(unittest.TestCase):
    """Each test method starts its own game; the session is stopped whatever happens."""

    @classmethod
    def setUpClass(cls):
        cls.data = screens.Data()

    def setUp(self):
        self.game = Session(game_binary(), data_root=data_root())
        self.game.__enter__()
        self.addCleanup(self.game.stop)
        self.game.wait_for_output(RESET_LINE)

    def shot_when(self, condition, what, timeout=30):
        return self.game.wait_for_screen(lambda s: condition(s, self.data), timeout=timeout,
                                         what=what)

    def menu_shown(self):
        return self.shot_when(screens.is_menu, "the main menu")

    def start_game_from_menu(self):
        """Clicks the start button; returns the first running frame seen."""
        resets = self.game.count_output(RESET_LINE)
        self.game.click(350, 312)
        self.game.wait_for_output(RESET_LINE, resets + 1)
        return self.shot_when(screens.is_running, "a running frame")

    def quit_from_menu(self):
        self.menu_shown()
        self.game.key("Escape")
        self.assertEqual(self.game.wait_exit(), 0)
        self.assertEqual(self.game.errors(), "")
