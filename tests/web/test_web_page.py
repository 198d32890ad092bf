"""The game in its page in headless Chromium: start-up, the picture against the Linux build's,
the start panel and sound, scaling and the pointer, the keys, the screens, the end panel, and
the message a broken download gives."""

import shutil

import pytest
from PIL import Image, ImageChops, ImageDraw

from chromium import Browser, Release
from harness import RESET_LINE, SCREEN_H, SCREEN_W, TAIKO_LINE, catalogue, screens
from harness.text import HUD_FONT
from harness.screens import PLAY_AREA
from harness.xsession import wait_until

NORMAL_LOOK = ["quimbo_normal"]


def audio_state(browser):
    return browser.evaluate("Module.SDL2 && Module.SDL2.audioContext ? "
                            "Module.SDL2.audioContext.state : 'none'")


def cursor_box(shot, data):
    """Where the game's cursor is drawn on a menu shot: the box of pixels that differ from the
    menu picture, which must be no larger than the cursor."""
    diff = ImageChops.difference(shot.image, data.picture("menu").convert("RGB"))
    box = diff.getbbox()
    if box is None:
        return None
    cursor = data.picture("cursor")
    assert box[2] - box[0] <= cursor.width and box[3] - box[1] <= cursor.height, \
        "the menu differs from its picture beyond the cursor, at %r" % (box,)
    return box


# The page's blits round the text's soft edges by a level or two otherwise than the Linux
# build's (SDL's plain C blitters against its SIMD ones); the glyphs themselves are the same.
TEXT_TOLERANCE = 3


def hud_shows(shot, data, text, at):
    """Whether the HUD figure at `at` is `text` as the game writes it, edges within the
    tolerance."""
    under = screens.running_frame_under(data)
    x, y = at
    box = (x, y, x + screens.FIGURE_BOX[0], y + screens.FIGURE_BOX[1])
    want = data.text.expected(under, HUD_FONT, screens.WHITE, text, x, y, screens.FIGURE_BOX)
    diff = screens.max_channel(ImageChops.difference(shot.image.crop(box), want.convert("RGB")))
    return max(diff.getdata()) <= TEXT_TOLERANCE


def start_game(browser, data):
    """Clicks START's place on the page, whatever the picture's shown size."""
    resets = browser.count_line(RESET_LINE)
    x, y = browser.game_point(*screens.START_POINT)
    browser.click_page(x, y)
    browser.wait_for_line(RESET_LINE, resets + 1)


def play_from_start_panel(browser):
    left, top, width, height = browser.canvas_box()
    browser.click_page(left + width / 2, top + height / 2)
    browser.wait_for("quimbo.state === 'playing'")


def running(browser, data, what="a running frame"):
    return browser.wait_for_picture(lambda s: screens.is_running(s, data), what)


def new_game_if_over(browser, shot, data):
    """The enemies come at random, and on a slow machine the magician can lose all his health
    before a step of the test is done: Return then starts a new game for the step to go on in.
    Whether the shot was of the game-over screen."""
    if not screens.is_game_over(shot, data):
        return False
    browser.key("Enter")
    return True


def no_errors(browser):
    assert browser.exceptions == []
    assert [line for kind, line in browser.console if kind == "error"] == []


def test_start_up_prints_its_lines_shows_the_linux_menu_and_starts_sound_on_the_click(
        open_game, game_data, linux_menu):
    browser = open_game()
    # Every picture line in load order, then the first reset, as the desktop game prints them.
    browser.wait_for_line(RESET_LINE)
    assert "".join(line + "\n" for line in browser.console_lines()) == \
        catalogue.start_up_output()
    assert browser.evaluate("document.title") == "Quimbo Harvo & Zelvä Dorpo"
    assert browser.evaluate("document.querySelector('link[rel=icon]').href").endswith(".png")
    assert audio_state(browser) == "suspended"

    play_from_start_panel(browser)
    wait_until(lambda: audio_state(browser) == "running", 30, 0.05, "the sound running")
    assert browser.evaluate("document.activeElement.id") == "canvas"

    # Away from the menu's buttons, so the cursor sits on plain picture.
    browser.mouse("mouseMoved", *browser.game_point(860, 120))
    web = browser.wait_for_picture(
        lambda s: screens.is_menu(s, game_data) and cursor_box(s, game_data) is not None,
        "the menu with the game's cursor")
    mask = Image.new("L", (SCREEN_W, SCREEN_H), 255)
    for shot in (web, linux_menu):
        box = cursor_box(shot, game_data)
        if box is not None:
            ImageDraw.Draw(mask).rectangle((box[0], box[1], box[2] - 1, box[3] - 1), fill=0)
    diff = ImageChops.difference(web.image, linux_menu.image).convert("L")
    differing = ImageChops.multiply(diff.point(lambda v: 255 if v else 0), mask).getbbox()
    assert differing is None, "the web menu differs from the Linux menu within %r" % (differing,)
    no_errors(browser)


@pytest.mark.parametrize("width, height", [(800, 600), (1500, 700)])
def test_the_picture_fills_the_window_at_4_3_and_a_click_on_start_starts_a_game(
        open_game, game_data, width, height):
    browser = open_game(width, height)
    left, top, shown_w, shown_h = browser.canvas_box()
    # The largest 4:3 picture that fits, centred.
    assert shown_w == min(width, height * 4 // 3) and shown_h == shown_w * 3 // 4
    assert abs(left - (width - shown_w) / 2) <= 0.5 and abs(top - (height - shown_h) / 2) <= 0.5

    play_from_start_panel(browser)
    start_game(browser, game_data)
    shot = running(browser, game_data)
    for at in (screens.HEALTH_AT, screens.MAGIC_AT):
        assert hud_shows(shot, game_data, "100 %", at)
        assert not hud_shows(shot, game_data, "90 %", at)
    no_errors(browser)


def click_within_one_task(browser, x, y):
    """Moves to (x, y), presses and releases the left button in one task of the page, so that
    no game frame can come between the press and the release."""
    browser.evaluate("""(function () {
        var canvas = document.getElementById('canvas');
        var at = {bubbles: true, cancelable: true, clientX: %f, clientY: %f, button: 0};
        canvas.dispatchEvent(new MouseEvent('mousemove', at));
        canvas.dispatchEvent(new MouseEvent('mousedown', Object.assign({buttons: 1}, at)));
        canvas.dispatchEvent(new MouseEvent('mouseup', at));
        return 1; })()""" % (x, y))


def test_a_click_quicker_than_a_frame_still_starts_and_quits(open_game, game_data):
    # The game samples the button once a frame: the page keeps the release back until a
    # frame has seen the press.
    browser = open_game(800, 600)
    play_from_start_panel(browser)
    resets = browser.count_line(RESET_LINE)
    click_within_one_task(browser, *browser.game_point(*screens.START_POINT))
    browser.wait_for_line(RESET_LINE, resets + 1)
    running(browser, game_data)
    for screen in (screens.is_paused, screens.is_game_over, screens.is_menu):
        browser.key("Escape")
        browser.wait_for_picture(lambda s: screen(s, game_data), screen.__name__)
    click_within_one_task(browser, *browser.game_point(*screens.QUIT_POINT))
    browser.wait_for("quimbo.state === 'ended'", what="the end panel after QUIT")
    no_errors(browser)


class TestPlay:
    """One game played with the keys, on a page taller than the window."""

    def test_keys_steer_attack_pause_and_give_up_and_quit_shows_the_end_panel(
            self, open_game, game_data):
        browser = open_game()
        # A page that can scroll, as on a portal that sets the game into a longer page; with
        # no scroll bar, so that the picture keeps its 1024x768 for the screen checks.
        browser.evaluate("document.documentElement.style.overflow = 'auto';"
                         "document.documentElement.style.scrollbarWidth = 'none';"
                         "document.body.style.overflow = 'visible';"
                         "document.body.style.height = '4000px'; window.scrollTo(0, 10); 1")
        assert browser.evaluate("window.scrollY") == 10
        browser.evaluate("window.scrollTo(0, 0); 1")
        play_from_start_panel(browser)
        start_game(browser, game_data)
        running(browser, game_data)

        # The attack first, while the magician is fresh and has all his magic.
        def cast():
            if browser.count_line(TAIKO_LINE):
                return True
            new_game_if_over(browser, browser.game_picture(), game_data)
            browser.key("Space")
            return False
        wait_until(cast, 30, 0.3, "the magic attack line")

        self.steer(browser, game_data, ["ArrowLeft", "ArrowUp"], (PLAY_AREA[0], PLAY_AREA[1]))
        self.steer(browser, game_data, ["ArrowDown"], None)
        assert browser.evaluate("window.scrollY") == 0

        browser.key("P")
        browser.wait_for_picture(lambda s: screens.is_paused(s, game_data), "the pause screen")
        browser.key("Enter")
        running(browser, game_data, "the game again after Return")

        browser.key("Escape")
        browser.wait_for_picture(lambda s: screens.is_paused(s, game_data), "the pause screen")
        browser.key("Escape")
        browser.wait_for_picture(lambda s: screens.is_game_over(s, game_data), "game over")
        resets = browser.count_line(RESET_LINE)
        browser.key("Enter")
        browser.wait_for_line(RESET_LINE, resets + 1)
        running(browser, game_data, "the new game")

        # Back to the menu, then QUIT: the page's end panel, and Play again brings the menu.
        for screen in (screens.is_paused, screens.is_game_over, screens.is_menu):
            browser.key("Escape")
            browser.wait_for_picture(lambda s: screen(s, game_data), screen.__name__)
        browser.click_page(*browser.game_point(*screens.QUIT_POINT))
        browser.wait_for("quimbo.state === 'ended' && !document.getElementById('end').hidden",
                         what="the end panel after QUIT")
        browser.evaluate("document.getElementById('again').click(); 1")
        browser.wait_for("quimbo.state === 'playing'")
        frames = browser.evaluate("quimbo.frames")
        browser.wait_for("quimbo.frames > %d" % (frames + 5), what="frames after Play again")
        browser.wait_for_picture(lambda s: screens.is_menu(s, game_data), "the menu again")
        browser.key("Escape")
        browser.wait_for("quimbo.state === 'ended'", what="the end panel after Escape")
        assert browser.evaluate("window.scrollY") == 0
        no_errors(browser)

    @staticmethod
    def steer(browser, data, keys, corner):
        """Holds the keys until the magician stands at the corner (or, with no corner, until
        it has moved), checking the page never scrolls meanwhile."""
        before = browser.game_picture()
        for key in keys:
            browser.key(key, "down")
        try:
            def arrived(shot, data):
                assert browser.evaluate("window.scrollY") == 0, "the page scrolled"
                if new_game_if_over(browser, shot, data):
                    return False
                if corner is None:
                    return screens.is_running(shot, data) and \
                        ImageChops.difference(shot.image.crop(PLAY_AREA),
                                              before.image.crop(PLAY_AREA)).getbbox()
                pos, match = screens.magician_position(shot, data, corner, 1, None, NORMAL_LOOK)
                return pos == corner and match > 0.9
            browser.wait_for_picture(lambda s: arrived(s, data), "the magician moved")
        finally:
            for key in keys:
                browser.key(key, "up")


def damaged_copy(release_dir, tmp_path, name, damage):
    copy = tmp_path / "release"
    shutil.copytree(release_dir, copy)
    path = copy / name
    if damage == "missing":
        path.unlink()
    elif damage == "cut":
        path.write_bytes(path.read_bytes()[: path.stat().st_size // 2])
    else:
        content = bytearray(path.read_bytes())
        content[len(content) // 2] ^= 0xFF
        path.write_bytes(bytes(content))
    return str(copy)


@pytest.mark.parametrize("name, damage", [("quimbo.data", "cut"), ("quimbo.data", "flipped"),
                                          ("quimbo.wasm", "missing"), ("quimbo.js", "missing")])
def test_a_broken_file_shows_a_message_not_a_blank_page(release_dir, tmp_path, name, damage):
    folder = damaged_copy(release_dir, tmp_path, name, damage)
    with Release(folder) as site, Browser() as browser:
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'error'", what="the error message")
        text = browser.evaluate("document.getElementById('message').hidden ? '' : "
                                "document.getElementById('message-text').textContent")
        assert name in text
        assert browser.count_line(RESET_LINE) == 0


@pytest.mark.parametrize("removed, told", [
    ("window.WebAssembly", "no WebAssembly"),
    # Without sound the desktop game does not start either; the page says so, with the
    # game's own message.
    ("window.AudioContext; delete window.webkitAudioContext",
     "could not start. It said: Failed to initialize SDL: No audio context available"),
])
def test_a_browser_that_lacks_what_the_game_needs_is_told_so(site, removed, told):
    with Browser() as browser:
        browser.send("Page.addScriptToEvaluateOnNewDocument", source="delete %s;" % removed)
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'error'", what="the error message")
        assert told in browser.evaluate("document.getElementById('message').hidden ? '' : "
                                        "document.getElementById('message-text').textContent")
        assert browser.exceptions == []
