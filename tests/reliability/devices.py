"""The real game on a machine that lacks a device: no sound card, no display at all, or a
display that refuses the game's video mode. Each is said on standard error, nothing is shown,
and the program ends with status 1, so that a launcher or a script can tell."""

import os
import subprocess

from harness import RESET_LINE, SCREEN_H, SCREEN_W
from harness.xsession import Session
from session import quit_from_anywhere

MIXER_MESSAGE = "Failed to initialize SDL_mixer}n"
# alsa-lib describes its failed search for a card before it gives up; those lines are its own.
ALSA_PREFIX = "ALSA lib "


def test_no_sound_card_gives_the_mixer_message_and_status_1(game_binary, data_root):
    # ALSA, SDL's usual way to a sound card, with no card configured at all.
    with Session(game_binary, data_root, env={"ALSA_CONFIG_PATH": "/dev/null"}, headless=True,
                 audio_driver="alsa") as game:
        status = game.wait_exit()
        errors = game.errors()
    assert status == 1
    assert errors.endswith(MIXER_MESSAGE), repr(errors[-200:])
    others = errors[: -len(MIXER_MESSAGE)].splitlines()
    assert [line for line in others if not line.startswith(ALSA_PREFIX)] == []
    assert game.output() == ""


def one_sdl_failure(errors, prefix):
    """SDL's own text after the game's prefix, on one line."""
    assert errors.startswith(prefix), repr(errors)
    assert len(errors.strip()) > len(prefix.strip()), "SDL's error text is missing"
    assert errors.count("\n") == 1, repr(errors)


def test_no_display_gives_sdls_message_and_status_1(game_binary, data_root):
    # SDL told to use X, with no X server to be found.
    with Session(game_binary, data_root, env={"SDL_VIDEODRIVER": "x11"}, headless=True) as game:
        status = game.wait_exit()
        one_sdl_failure(game.errors(), "Failed to initialize SDL: ")
    assert status == 1
    assert game.output() == ""


def test_no_display_and_no_driver_named_is_no_display(game_binary, data_root):
    # Nothing tells SDL where to draw: rather than run unseen off screen, the game says so.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER",
                                                            "WAYLAND_DISPLAY")}
    env["SDL_AUDIODRIVER"] = "dummy"
    done = subprocess.run([game_binary], cwd=data_root, env=env, timeout=60,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True)
    assert done.returncode == 1
    assert "Failed to initialize SDL: No available video device\n" in done.stderr
    assert "Image " not in done.stdout


def test_refused_video_mode_is_said_and_the_game_shuts_down(game_binary, data_root):
    # An X screen of 256 colours: SDL finds no way to show a 32-bit picture on it.
    with Session(game_binary, data_root, screen=(SCREEN_W, SCREEN_H, 8)) as game:
        status = game.wait_exit()
        one_sdl_failure(game.errors(), "Failed to set video mode: ")
    assert status == 1
    # Refused before the first picture: nothing was loaded and no game was reset.
    assert game.output() == ""


def test_smaller_display_is_no_refusal(game_binary, data_root):
    # A screen smaller than the game's mode is not refused: SDL scales the picture down, the
    # menu comes up, and Escape ends the program as usual.
    with Session(game_binary, data_root, screen=(800, 600, 24)) as game:
        game.wait_for_output(RESET_LINE)
        game.game_window()
        status = quit_from_anywhere(game, 60)
        errors = game.errors()
    assert status == 0
    assert errors == ""
