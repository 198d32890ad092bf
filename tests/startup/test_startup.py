"""Start-up and shut-down of the real game binary, headless (SDL's dummy drivers)."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "window"))
from driver import Session, data_root, game_binary  # noqa: E402

# Every picture the game loads, in the order start-up loads them: the magician's sheets and
# the blast cloud, the landscape pieces, the single pictures, the star and the bonus ball,
# the enemy and bubble sheets, the menu cursor and the pause film.
PICTURES = (
    ["quimbo_normal", "quimbo_zap", "quimbo_bubble", "quimbo_falling", "quimbo_slime", "boost"]
    + ["scenery%d" % k for k in range(6)]
    + ["taustakuva", "hudi", "menu", "topten", "gameover", "pausebox", "zap", "dorpoball"]
    + ["birdr_normal", "birdr_dying", "birdr_falling", "birdl_normal", "birdl_dying",
       "birdl_falling", "plane_normal", "plane_falling", "slime", "slime_blowing", "bubble"]
    + ["cursor", "pause"])

RESET_LINE = "Game succesfully reseted"
START_UP_OUTPUT = "".join("Image Data/Gfx/%s.PNG loaded successfully!\n" % name
                          for name in PICTURES) + RESET_LINE + "\n"


def headless(env=None, audio_driver="dummy"):
    return Session(game_binary(), data_root=data_root(), env=env, headless=True,
                   audio_driver=audio_driver)


class CompleteStartUp(unittest.TestCase):
    def test_prints_every_picture_in_load_order_then_the_reset_and_quits_cleanly(self):
        self.assertEqual(len(PICTURES), 33)
        with headless() as game:
            game.wait_for_output(RESET_LINE)
            status = game.terminate()
            self.assertEqual(game.output(), START_UP_OUTPUT)
            self.assertEqual(game.errors(), "")
            self.assertEqual(status, 0)


class LibraryFailures(unittest.TestCase):
    """A library that will not start is reported on standard error; nothing is shown and the
    program still ends with status 0."""

    def test_unknown_video_driver_reports_sdls_own_text(self):
        with headless(env={"SDL_VIDEODRIVER": "nonexistent"}) as game:
            status = game.wait_exit()
            errors = game.errors()
            self.assertTrue(errors.startswith("Failed to initialize SDL: "), repr(errors))
            self.assertTrue(errors.endswith("\n"), repr(errors))
            self.assertGreater(len(errors.strip()), len("Failed to initialize SDL:"),
                               "SDL's error text is missing")
            self.assertEqual(errors.count("\n"), 1, repr(errors))
            self.assertEqual(game.output(), "")
            self.assertEqual(status, 0)

    def test_mixer_failure_message_is_exact_and_has_no_line_break(self):
        # SDL itself starts with the disk audio driver; opening the device then fails
        # because its output file cannot be created, so only the mixer gives up.
        env = {"SDL_DISKAUDIOFILE": "/nonexistent-quimbo-dir/audio.raw"}
        with headless(env=env, audio_driver="disk") as game:
            status = game.wait_exit()
            self.assertEqual(game.errors(), "Failed to initialize SDL_mixer}n")
            self.assertEqual(game.output(), "")
            self.assertEqual(status, 0)


if __name__ == "__main__":
    unittest.main()
