"""The Windows build under Wine: start-up output, a game started from the menu, the way out,
and a start without its data. Each test runs the unpacked zip as a player would."""

import os
import shutil

from PIL import Image

import harness
import wine
from harness import catalogue
from harness.screens import HEALTH_AT, HUD_Y, MAGIC_AT
from harness.xsession import DriverError

ROOT = harness.PROJECT_ROOT
RESET_LINE = harness.RESET_LINE + "\n"
ATTACK_LINE = harness.TAIKO_LINE + "\n"
START = (500, 360)  # inside the START button (350-698, 312-415)

# The pictures in the order the game loads them, from the project's one list.
PICTURES = [entry.path for entry in catalogue.pictures()]
START_UP = catalogue.start_up_output()


def picture(name):
    return Image.open(os.path.join(ROOT, "Data", "Gfx", name + ".PNG")).convert("RGB")


def centred_share(shot, name):
    pic = picture(name)
    return wine.picture_share(shot, pic, 512 - pic.width // 2, 384 - pic.height // 2)


def menu_shown(shot):
    return wine.picture_share(shot, picture("menu")) > 0.97


def running(shot):
    # The HUD panel's top rows, above the figures.
    return wine.picture_share(shot.crop((0, HUD_Y, 1024, HUD_Y + 40)),
                              picture("hudi").crop((0, 0, 1024, 40))) > 0.97


def keep(shot, name):
    """Saves a screenshot into $QUIMBO_WINE_SHOTS, when set (for the docs)."""
    folder = os.environ.get("QUIMBO_WINE_SHOTS")
    if folder:
        shot.save(os.path.join(folder, "screen-windows-%s.png" % name))


def lines(text):
    """Text written in Windows' text mode, whose line ends are CR LF, with LF line ends."""
    assert "\r" not in text.replace("\r\n", ""), repr(text)
    return text.replace("\r\n", "\n")


def game_output(game):
    return lines(game.output())


def game_errors(game):
    """Standard error without Wine's own notes about itself."""
    return "".join(line for line in lines(game.errors()).splitlines(True)
                   if not line.startswith(("wine:", "Wine ", "it looks like wine32",
                                           "multiarch", "execute ", "apt-get ")))


def files(folder):
    return sorted(os.path.relpath(os.path.join(d, f), folder)
                  for d, _, names in os.walk(folder) for f in names)


def test_start_up_prints_the_pictures_then_the_reset_and_escape_quits(desk, unpacked):
    assert len(PICTURES) == 33
    before = files(unpacked)
    with wine.WineGame(desk, os.path.join(unpacked, "quimbo.exe")) as game:
        game.wait_for_screen(menu_shown, "the main menu")
        desk.key("Escape")
        status = game.wait_exit(15)
    assert game_output(game) == START_UP
    assert game_errors(game) == ""
    assert status == 0
    # The output went to the handles it was given, not into files beside the game.
    assert files(unpacked) == before


def test_a_game_from_the_menu_reads_full_hud_attacks_and_four_escapes_end_it(desk, unpacked):
    data = os.path.join(unpacked, "Data")
    under = picture("taustakuva")
    under.paste(picture("hudi"), (0, HUD_Y))
    font = wine.font(os.path.join(data, "Fonts", "verdana.ttf"), 32)
    with wine.WineGame(desk, os.path.join(unpacked, "quimbo.exe")) as game:
        menu = game.wait_for_screen(menu_shown, "the main menu")
        shot = game.click_until(*START, running, "a running game after START")
        keep(menu, "menu")
        keep(shot, "running")
        # The figures a misread 100 would most likely be taken for. The reading is quick:
        # nobody steers, and the first enemies are on their way.
        candidates = (100, 10, 0, 90, 99, 1)
        health, miss_h = wine.read_percent(shot, under, font, *HEALTH_AT, candidates)
        magic, miss_m = wine.read_percent(shot, under, font, *MAGIC_AT, candidates)
        assert (health, magic) == (100, 100), (miss_h, miss_m)
        assert max(miss_h, miss_m) < 0.35

        # The output reaches the pipe only at the end (Windows buffers it whole), so the
        # attack is seen on the screen first: the magic figure leaves 100 %. A magician
        # carried by a bubble ignores Space, so it is pressed again until the magic goes.
        def magic_spent(shot):
            return wine.text_mismatch(shot, under, font, "100 %", *MAGIC_AT) > 0.35
        for _ in range(5):
            desk.key("space")
            try:
                game.wait_for_screen(magic_spent, "magic spent by the attack", timeout=8)
                break
            except DriverError:
                continue
        else:
            raise DriverError("five presses of Space spent no magic")
        # Pause, give up, back to the menu, quit: each screen is waited for before the next key.
        desk.key("Escape")
        game.wait_for_screen(lambda s: centred_share(s, "pausebox") > 0.9, "the pause screen")
        desk.key("Escape")
        game.wait_for_screen(lambda s: centred_share(s, "gameover") > 0.9, "game over")
        desk.key("Escape")
        game.wait_for_screen(menu_shown, "the menu again")
        desk.key("Escape")
        status = game.wait_exit(10)
    output = game_output(game)
    assert output.startswith(START_UP + RESET_LINE + ATTACK_LINE)
    assert output[len(START_UP + RESET_LINE):].replace(ATTACK_LINE, "") == ""
    assert game_errors(game) == ""
    assert status == 0


def test_without_data_it_names_every_missing_picture_and_quits_cleanly(desk, unpacked, tmp_path):
    bare = tmp_path / "bare"
    shutil.copytree(unpacked, bare, ignore=shutil.ignore_patterns("Data"))
    with wine.WineGame(desk, str(bare / "quimbo.exe")) as game:
        game.wait_for_errors("ERROR opening image %s" % PICTURES[-1])
        wine.wait_until(lambda: game.alive() and desk.window_named("Quimbo"),
                        what="the game's window")
        desk.key("Escape")
        status = game.wait_exit(15)
    assert game_errors(game) == "".join("ERROR opening image %s\n" % p for p in PICTURES)
    assert game_output(game) == RESET_LINE
    assert status == 0


def test_a_start_up_that_fails_says_why_and_ends_with_status_1(desk, unpacked):
    # A sound driver that does not exist: SDL itself will not start, nothing is shown, and the
    # status tells whatever started the game.
    exe = os.path.join(unpacked, "quimbo.exe")
    with wine.WineGame(desk, exe, env={"SDL_AUDIODRIVER": "nonexistent"}) as game:
        status = game.wait_exit(60)
    assert game_errors(game).startswith("Failed to initialize SDL: "), game_errors(game)
    assert game_output(game) == ""
    assert status == 1
