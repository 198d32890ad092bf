"""The game's window: full screen at 1024 x 768, its title, and the two ways to end it."""

from harness import SCREEN_H, SCREEN_W, moves


class TestWindowAndQuit:
    def test_opens_full_screen_with_its_title_and_escape_on_the_menu_quits(self, game,
                                                                          game_data):
        window = game.game_window()
        assert game.window_geometry(window) == (0, 0, SCREEN_W, SCREEN_H)
        shot = moves.menu_shown(game, game_data)
        assert (shot.width, shot.height) == (SCREEN_W, SCREEN_H)
        assert game.window_title(window) == "Quimbo Harvo & Zelvä Dorpo"
        moves.quit_from_menu(game, game_data)

    def test_close_request_from_the_window_system_ends_the_game(self, game, game_data):
        moves.menu_shown(game, game_data)
        game.close_window()
        assert game.wait_exit() == 0
        assert game.errors() == ""

    def test_close_request_while_running_ends_the_game(self, game, game_data):
        moves.menu_shown(game, game_data)
        moves.start_from_menu(game, game_data)
        game.close_window()
        assert game.wait_exit() == 0
