"""The game's window: full screen at 1024 x 768, its title, and the two ways to end it."""

import subprocess
import unittest

from gametest import GameTestCase


class WindowAndQuit(GameTestCase):
    def test_opens_full_screen_with_its_title_and_escape_on_the_menu_quits(self):
        window = self.game.game_window()
        self.assertEqual(self.game.window_geometry(window), (0, 0, 1024, 768))
        shot = self.menu_shown()
        self.assertEqual((shot.width, shot.height), (1024, 768))
        title = subprocess.run(["xprop", "-id", str(window), "-notype", "_NET_WM_NAME"],
                               env={"DISPLAY": self.game.display, "LC_ALL": "C.UTF-8"},
                               capture_output=True).stdout.decode("utf-8")
        self.assertIn('"Quimbo Harvo & Zelvä Dorpo"', title)
        self.quit_from_menu()

    def test_close_request_from_the_window_system_ends_the_game(self):
        self.menu_shown()
        self.game.close_window()
        self.assertEqual(self.game.wait_exit(), 0)
        self.assertEqual(self.game.errors(), "")

    def test_close_request_while_running_ends_the_game(self):
        self.menu_shown()
        self.start_game_from_menu()
        self.game.close_window()
        self.assertEqual(self.game.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
