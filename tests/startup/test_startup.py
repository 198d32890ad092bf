"""Start-up and shut-down of the real game binary, headless (SDL's dummy drivers)."""

from harness import RESET_LINE, catalogue


def test_prints_every_picture_in_catalogue_order_then_the_reset_and_quits_cleanly(
        headless_game):
    assert catalogue.pictures(), "the catalogue lists no pictures"
    game = headless_game()
    game.wait_for_output(RESET_LINE)
    status = game.terminate()
    # The game keeps its own loads; its printed order is tied here to the catalogue's.
    assert game.output() == catalogue.start_up_output()
    assert game.errors() == ""
    assert status == 0


# A library that will not start is reported on standard error; nothing is shown and the
# program ends with status 1, so that whatever started it can tell.

def test_unknown_video_driver_reports_sdls_own_text(headless_game):
    game = headless_game(env={"SDL_VIDEODRIVER": "nonexistent"})
    status = game.wait_exit()
    errors = game.errors()
    assert errors.startswith("Failed to initialize SDL: "), repr(errors)
    assert errors.endswith("\n") and errors.count("\n") == 1, repr(errors)
    assert len(errors.strip()) > len("Failed to initialize SDL:"), "SDL's error text is missing"
    assert game.output() == ""
    assert status == 1


def test_mixer_failure_message_is_exact_and_has_no_line_break(headless_game):
    # SDL itself starts with the disk audio driver; opening the device then fails because
    # its output file cannot be created, so only the mixer gives up.
    game = headless_game(env={"SDL_DISKAUDIOFILE": "/nonexistent-quimbo-dir/audio.raw"},
                         audio_driver="disk")
    status = game.wait_exit()
    assert game.errors() == "Failed to initialize SDL_mixer}n"
    assert game.output() == ""
    assert status == 1


def test_audio_driver_that_cannot_open_is_said_with_status_1(headless_game):
    game = headless_game(audio_driver="nonexistent")
    status = game.wait_exit()
    assert game.errors().startswith("Failed to initialize SDL: "), repr(game.errors())
    assert game.output() == ""
    assert status == 1
