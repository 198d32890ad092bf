"""The screens around the play: the main menu and its click areas, the high-score table, the
pause screen and the game-over screen, and every way between them."""

import time

from harness import RESET_LINE, moves, screens
from harness.screens import BLACK, TABLE_BOX, TABLE_NAME_X, TABLE_SCORE_X
from harness.text import HUD_FONT

HISCORE_ROWS = [(160, "1. zedko", "5345234"), (205, "2. bumar", "2342355"),
                (420, "7. bumar", "1345234"), (555, "10. bumar", "-1")]

# Clicks that must start nothing: on the start area's borders and in the gaps between the
# areas. Each comes with a one-pixel move along its border, made while the button is held,
# that shows a menu frame has seen the press.
START, SCORES, QUIT = screens.START_AREA, screens.HISCORE_AREA, screens.QUIT_AREA
MISSES = [((START[0], 350), (0, 1)), ((START[2], 350), (0, 1)),
          ((500, (START[3] + SCORES[1]) // 2), (1, 0)), ((500, (SCORES[3] + QUIT[1]) // 2), (1, 0)),
          ((START[0] + 1, START[1]), (1, 0))]


def cursor_at(game, data, x, y):
    """Whether the menu is on show with the game's own cursor drawn with its corner at (x, y)."""
    shot = game.screenshot()
    return (screens.is_menu(shot, data)
            and screens.sprite_match(shot, data, ["cursor"], x, y) == 1.0)


class TestMainMenu:
    def test_cursor_follows_the_pointer_and_only_inside_clicks_count(self, game, game_data):
        moves.menu_shown(game, game_data)
        game.move_to(200, 150)
        game.wait_for_screen(lambda s: cursor_at(game, game_data, 200, 150), what="the cursor")
        for i, ((x, y), (dx, dy)) in enumerate(MISSES):
            nudged = []

            def pressed_and_seen():
                if not nudged:
                    game.x("xdotool", "mousemove_relative", "--", str(dx), str(dy))
                    nudged.append(True)
                return cursor_at(game, game_data, x + dx, y + dy)
            game.click(x, y, until=pressed_and_seen,
                       what="the cursor moved with the button held at (%d, %d)" % (x, y))
            # The cursor seen somewhere new shows that a menu frame saw the button released.
            game.move_to(100 + 10 * i, 100)
            game.wait_for_screen(lambda s: cursor_at(game, game_data, 100 + 10 * i, 100),
                                 what="the cursor after the click at (%d, %d)" % (x, y))
        assert game.count_output(RESET_LINE) == 1
        moves.quit_from_menu(game, game_data)

    def test_high_score_table_opens_from_its_area_and_any_key_returns(self, game, game_data):
        moves.menu_shown(game, game_data)
        shot = game.click(*screens.HISCORE_POINT,
                          until=lambda: moves.shot_when(game, game_data, screens.is_hiscore,
                                                        "the high-score table"))
        under = game_data.picture("topten")
        text = game_data.text
        for y, name, score in HISCORE_ROWS:
            miss = text.mismatch(shot, under, HUD_FONT, BLACK, name, TABLE_NAME_X, y, TABLE_BOX)
            assert miss == 0, "%r at (%d, %d): %d pixels differ; screenshot: %s" % (
                name, TABLE_NAME_X, y, miss, game.keep(shot))
            assert text.read_number(shot, under, HUD_FONT, BLACK, TABLE_SCORE_X, y,
                                    TABLE_BOX) == int(score), "the score of the row at y %d" % y
        game.key("a")
        moves.menu_shown(game, game_data)
        assert game.count_output(RESET_LINE) == 1
        moves.quit_from_menu(game, game_data)


class TestPauseAndGameOver:
    def paused_over_frozen_frame(self, game, data):
        shot = moves.shot_when(game, data, screens.is_paused, "the pause box, centred")
        # The HUD panel's top band is the same in every running frame: through the film's
        # clear pixels it must show unchanged, and the film everywhere else.
        good, checked, clear = screens.through_film(
            shot, data, screens.running_frame_under(data), (0, 640, 1024, 680))
        assert clear > 0, "the film hides the game completely"
        assert good == checked, "pixels of the film over the frozen HUD"
        return shot

    def test_pause_resume_give_up_new_game_and_back_to_the_menu(self, game, game_data):
        data = game_data
        moves.menu_shown(game, data)
        moves.start_from_menu(game, data)

        game.key("p")
        first = self.paused_over_frozen_frame(game, data)
        time.sleep(1.0)  # nothing may move while paused: compare with a later picture
        later = moves.shot_when(game, data, screens.is_paused, "the pause screen")
        assert first.image.tobytes() == later.image.tobytes()

        game.key("Return")
        moves.shot_when(game, data, screens.is_running, "the game resumed by Return")
        game.key("p")
        self.paused_over_frozen_frame(game, data)
        game.key("p")
        # The score rises once a tenth of a second of play: let it show before giving up, so
        # the game-over screen has a score above nought to read however quick the steps were.
        moves.shot_when(game, data, lambda shot, d: screens.is_running(shot, d) and
                        (screens.hud_figures(shot, d)[2] or 0) > 0, "a score above nought")

        game.key("Escape")
        self.paused_over_frozen_frame(game, data)
        game.key("Escape")
        over = moves.shot_when(game, data, screens.is_game_over, "the game-over screen")
        score = screens.game_over_score(over, data)
        assert score is not None, "no score on the game-over screen: %s" % game.keep(over)
        assert score > 0

        moves.new_game_from_game_over(game, data)
        assert game.count_output(RESET_LINE) == 3
        game.key("Escape")
        self.paused_over_frozen_frame(game, data)
        game.key("Escape")
        moves.shot_when(game, data, screens.is_game_over, "the game-over screen")
        game.key("Escape")
        moves.quit_from_menu(game, data)
        assert game.count_output(RESET_LINE) == 3
