"""The screens around the play: the main menu and its click areas, the high-score table,
the pause screen and the game-over screen, and every way between them."""

import time
import unittest

import screens
from gametest import RESET_LINE, GameTestCase
from screens import BLACK, RED

HISCORE_ROWS = [(160, "1. zedko", "5345234"), (205, "2. bumar", "2342355"),
                (420, "7. bumar", "1345234"), (555, "10. bumar", "-1")]


class MainMenu(GameTestCase):
    def cursor_at(self, x, y):
        """Waits for the menu with the game's own cursor drawn with its corner at (x, y)."""
        def seen(shot, data):
            return (screens.is_menu(shot, data)
                    and screens.sprite_match(shot, data, ["cursor"], x, y) == 1.0)
        return self.shot_when(seen, "the menu with the cursor at (%d, %d)" % (x, y))

    def test_cursor_follows_the_pointer_and_only_inside_clicks_count(self):
        self.menu_shown()
        self.game.move_to(200, 150)
        self.cursor_at(200, 150)
        # On the start area's left and right borders, and in the gaps between the areas.
        for i, (x, y) in enumerate([(349, 350), (699, 350), (500, 420), (500, 545),
                                    (350, 311)]):
            self.game.click(x, y)
            # The cursor seen somewhere new shows that menu frames ran after the click.
            self.game.move_to(100 + 10 * i, 100)
            self.cursor_at(100 + 10 * i, 100)
        self.assertEqual(self.game.count_output(RESET_LINE), 1)
        self.quit_from_menu()

    def test_high_score_table_opens_from_its_area_and_any_key_returns(self):
        self.menu_shown()
        self.game.click(500, 480)
        shot = self.shot_when(screens.is_hiscore, "the high-score table")
        under = self.data.picture("topten")
        font = self.data.font()
        for y, name, score in HISCORE_ROWS:
            miss = screens.text_mismatch(shot, under, font, name, BLACK, 300, y, (190, 36))
            self.assertLess(miss, 0.3, "%r at (300, %d)" % (name, y))
            number, _ = screens.read_figure(shot, under, font, BLACK, 500, y, (190, 36))
            self.assertEqual(number, int(score), "the score of the row at y %d" % y)
        self.game.key("a")
        self.menu_shown()
        self.assertEqual(self.game.count_output(RESET_LINE), 1)
        self.quit_from_menu()


class PauseAndGameOver(GameTestCase):
    def paused_over_frozen_frame(self):
        shot = self.shot_when(screens.is_paused, "the pause box, centred")
        # The HUD panel's top band is the same in every running frame: through the film's
        # clear pixels it must show unchanged, and the film everywhere else.
        good, checked, clear = screens.through_film(
            shot, self.data, screens.running_frame_under(self.data), (0, 640, 1024, 680))
        self.assertGreater(clear, 0, "the film hides the game completely")
        self.assertEqual(good, checked, "pixels of the film over the frozen HUD")
        return shot

    def game_over_score(self, shot):
        x, y = self.data.centred("gameover")
        under = shot.image.copy()
        under.paste((0, 0, 0), (0, 0, 1024, 768))
        under.paste(self.data.picture("gameover"), (x, y))
        dx, dy = screens.GAME_OVER_SCORE_OFFSET
        return screens.read_figure(shot, under, self.data.font("verdanab.ttf", 14), RED,
                                   x + dx, y + dy, (120, 24))

    def test_pause_resume_give_up_new_game_and_back_to_the_menu(self):
        self.menu_shown()
        self.start_game_from_menu()

        self.game.key("p")
        first = self.paused_over_frozen_frame()
        time.sleep(1.5)  # nothing may move while paused: compare with a later picture
        later = self.shot_when(screens.is_paused, "the pause screen")
        self.assertEqual(first.image.tobytes(), later.image.tobytes())

        self.game.key("Return")
        self.shot_when(screens.is_running, "the game resumed by Return")
        self.game.key("p")
        self.paused_over_frozen_frame()
        self.game.key("p")
        self.shot_when(screens.is_running, "the game resumed by P")

        self.game.key("Escape")
        self.paused_over_frozen_frame()
        self.game.key("Escape")
        over = self.shot_when(screens.is_game_over, "the game-over screen")
        score, miss = self.game_over_score(over)
        self.assertIsNotNone(score, "no score on the game-over screen")
        self.assertLess(miss, 0.4)
        self.assertGreater(score, 0)

        self.game.key("Return")
        self.game.wait_for_output(RESET_LINE, 3)
        self.shot_when(screens.is_running, "the new game")
        self.game.key("Escape")
        self.paused_over_frozen_frame()
        self.game.key("Escape")
        self.shot_when(screens.is_game_over, "the game-over screen")
        self.game.key("Escape")
        self.quit_from_menu()
        self.assertEqual(self.game.count_output(RESET_LINE), 3)


if __name__ == "__main__":
    unittest.main()
