"""The real game on a machine that lacks a device: no sound card, no display at all, or a
display that refuses the game's video mode. Each is said on standard error, nothing is shown,
and the program still ends with status 0."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import RESET_LINE, open_session, quit_from_anywhere  # noqa: E402
from driver import PROJECT_ROOT, game_binary  # noqa: E402

MIXER_MESSAGE = "Failed to initialize SDL_mixer}n"
# alsa-lib describes its failed search for a card before it gives up; those lines are its own.
ALSA_PREFIX = "ALSA lib "


class MissingDevices(unittest.TestCase):
    def test_no_sound_card_gives_the_mixer_message_and_status_0(self):
        # ALSA, SDL's usual way to a sound card, with no card configured at all.
        env = {"ALSA_CONFIG_PATH": "/dev/null"}
        with open_session(game_binary(), PROJECT_ROOT, env=env, headless=True,
                          audio_driver="alsa") as game:
            status = game.wait_exit()
            errors = game.errors()
        self.assertEqual(status, 0)
        self.assertTrue(errors.endswith(MIXER_MESSAGE), repr(errors[-200:]))
        others = errors[: -len(MIXER_MESSAGE)].splitlines()
        self.assertEqual([line for line in others if not line.startswith(ALSA_PREFIX)], [])
        self.assertEqual(game.output(), "")

    def test_no_display_gives_sdls_message_and_status_0(self):
        # SDL told to use X, with no X server to be found.
        env = {"SDL_VIDEODRIVER": "x11"}
        with open_session(game_binary(), PROJECT_ROOT, env=env, headless=True) as game:
            status = game.wait_exit()
            errors = game.errors()
        self.assertEqual(status, 0)
        self.assertTrue(errors.startswith("Failed to initialize SDL: "), repr(errors))
        self.assertGreater(len(errors.strip()), len("Failed to initialize SDL:"))
        self.assertEqual(errors.count("\n"), 1, repr(errors))
        self.assertEqual(game.output(), "")

    def test_no_display_and_no_driver_named_is_no_display(self):
        # Nothing tells SDL where to draw: rather than run unseen off screen, the game says so.
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER",
                                                                "WAYLAND_DISPLAY")}
        env["SDL_AUDIODRIVER"] = "dummy"
        done = subprocess.run([game_binary()], cwd=PROJECT_ROOT, env=env, timeout=60,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True)
        self.assertEqual(done.returncode, 0)
        self.assertIn("Failed to initialize SDL: No available video device\n", done.stderr)
        self.assertNotIn("Image ", done.stdout)

    def test_refused_video_mode_is_said_and_the_game_shuts_down(self):
        # An X screen of 256 colours: SDL finds no way to show a 32-bit picture on it.
        with open_session(game_binary(), PROJECT_ROOT, screen=(1024, 768, 8)) as game:
            status = game.wait_exit()
            errors = game.errors()
        self.assertEqual(status, 0)
        self.assertTrue(errors.startswith("Failed to set video mode: "), repr(errors))
        self.assertGreater(len(errors.strip()), len("Failed to set video mode:"))
        self.assertEqual(errors.count("\n"), 1, repr(errors))
        # Refused before the first picture: nothing was loaded and no game was reset.
        self.assertEqual(game.output(), "")

    def test_smaller_display_is_no_refusal(self):
        # A screen smaller than the game's mode is not refused: SDL scales the picture down,
        # the menu comes up, and Escape ends the program as usual.
        with open_session(game_binary(), PROJECT_ROOT, screen=(800, 600, 24)) as game:
            game.wait_for_output(RESET_LINE)
            game.game_window()
            status = quit_from_anywhere(game, 60)
            errors = game.errors()
        self.assertEqual(status, 0)
        self.assertEqual(errors, "")

if __name__ == "__main__":
    unittest.main()
