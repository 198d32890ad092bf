"""The game on phones and tablets, in headless Chromium with touch emulation and several touch
points; a desktop window without touch controls; the page opened again without a network."""

import time

import pytest
from PIL import ImageChops

from chromium import Browser, Release
from harness import RESET_LINE, TAIKO_LINE, screens
from harness.screens import PLAY_AREA
from harness.xsession import DriverError, wait_until

SHOWN = """Array.prototype.filter.call(document.querySelectorAll(%r), function (e) {
    return e.offsetParent !== null; }).map(function (e) { var r = e.getBoundingClientRect();
    return [e.getAttribute('data-key'), e.getAttribute('aria-label'), r.left, r.top, r.width,
            r.height]; })"""
SOUND = "Module.SDL2.audioContext.state"


def shown(browser, selector="#touch [data-key]"):
    return browser.evaluate(SHOWN % selector)


def held(browser):
    return browser.evaluate("quimbo.keysHeld()")


def centre(browser, selector):
    left, top, width, height = browser.box(selector)
    return left + width / 2, top + height / 2


def tap(browser, where, finger=9):
    """A finger on a control (a selector) or a point for a few frames, then lifted; QUIT ends
    the frames while the finger is still down."""
    browser.finger(finger, *(centre(browser, where) if isinstance(where, str) else where))
    frames = browser.evaluate("quimbo.frames")
    browser.wait_for("quimbo.frames > %d || quimbo.state === 'ended'" % (frames + 2))
    browser.finger(finger)


def screen(browser, data, check, what=None):
    return browser.wait_for_picture(lambda s: check(s, data), what or check.__name__)


@pytest.fixture
def phone(open_game):
    return lambda width=915, height=412, url=None: open_game(width, height, url, touch=True)


def start_by_touch(browser, data):
    assert browser.evaluate("document.getElementById('play').textContent") == "Tap to play"
    assert "pad" in browser.evaluate("document.getElementById('help').textContent")
    tap(browser, "#play", 1)
    browser.wait_for("quimbo.state === 'playing'")
    resets = browser.count_line(RESET_LINE)
    # START by a tap quicker than a frame (one task of the page), which must not be lost.
    browser.evaluate("""(function () {
        var finger = new Touch({identifier: 77, target: canvas, clientX: %f, clientY: %f});
        var lifted = {bubbles: true, cancelable: true, touches: [], targetTouches: [],
                      changedTouches: [finger]};
        canvas.dispatchEvent(new TouchEvent('touchstart', Object.assign({}, lifted,
            {touches: [finger], targetTouches: [finger]})));
        canvas.dispatchEvent(new TouchEvent('touchend', lifted));
        return 1; })()""" % browser.game_point(*screens.START_POINT))
    browser.wait_for_line(RESET_LINE, resets + 1)
    screen(browser, data, screens.is_running)


def check_layout(browser):
    """Every control shown is at least 44x44 CSS pixels, labelled, on the page and clear of
    the picture; the page is at its own scale and has not scrolled."""
    left, top, width, height = browser.canvas_box()
    controls = shown(browser) + shown(browser, "#fullscreen button")
    for key, label, x, y, w, h in controls:
        assert label and w >= 44 and h >= 44, (key, w, h)
        assert x + w <= left or x >= left + width or y + h <= top or y >= top + height, key
        assert x >= 0 and y >= 0 and x + w <= browser.width and y + h <= browser.height, key
    assert browser.evaluate("[visualViewport.scale, scrollX, scrollY]") == [1, 0, 0]
    return {control[0] for control in controls}


def new_game_if_over(browser, data):
    # The enemies come at random: a game lost before a step is done is started anew.
    if screens.is_game_over(browser.game_picture(), data):
        tap(browser, on("gameover", "Enter"))


def on(screen, code):
    return "[data-screen=%s] [data-key=%s]" % (screen, code)


# Each step of a game after the play: the control tapped, the screen it leads to, and the
# controls then shown (None: the full-screen button).
PLAY = {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Space", "ControlLeft", "KeyP", None}
ASK = {"Enter", "Escape", None}
PAUSE, RESUME, GIVE_UP = on("running", "KeyP"), on("paused", "Enter"), on("paused", "Escape")
STEPS = [(PAUSE, screens.is_paused, ASK), (RESUME, screens.is_running, PLAY),
         (PAUSE, screens.is_paused, ASK), (GIVE_UP, screens.is_game_over, ASK),
         (on("gameover", "Enter"), screens.is_running, PLAY), (PAUSE, screens.is_paused, ASK),
         (GIVE_UP, screens.is_game_over, ASK), (on("gameover", "Escape"), screens.is_menu, {None}),
         (screens.HISCORE_POINT, screens.is_hiscore, {"Escape", None}),
         (on("hiscore", "Escape"), screens.is_menu, {None})]


@pytest.mark.parametrize("width, height", [(915, 412), (412, 915), (1024, 768)])
def test_a_whole_game_by_touch(phone, game_data, width, height):
    browser = phone(width, height)
    # The drawing buffer stays the game's size at any device pixel ratio.
    assert browser.evaluate("[canvas.width, canvas.height]") == [1024, 768]
    start_by_touch(browser, game_data)
    assert check_layout(browser) == PLAY

    # Between two arrows the pad holds both: up and left, to the corner.
    pad_left, pad_top, pad_size, _ = browser.box("#pad")
    corner = (PLAY_AREA[0], PLAY_AREA[1])
    browser.finger(1, pad_left + pad_size * 0.2, pad_top + pad_size * 0.2)
    assert held(browser) == ["ArrowLeft", "ArrowUp"]

    def at_corner(shot, data):
        new_game_if_over(browser, data)
        where, match = screens.magician_position(shot, data, corner, 1)
        return where == corner and match > 0.9
    browser.wait_for_picture(lambda s: at_corner(s, game_data), "the magician at the corner")

    # Down held by one finger while another taps cast: the attack is cast, he has left the
    # corner, and lifting the cast finger leaves Down held.
    browser.finger(1, *centre(browser, "#pad [data-key=ArrowDown]"))
    before = browser.game_picture()

    def cast():
        if browser.count_line(TAIKO_LINE):
            return True
        new_game_if_over(browser, game_data)
        tap(browser, "[data-key=Space]", 2)
        assert held(browser) == ["ArrowDown"]
    wait_until(cast, 30, 0.3, "the magic attack line")
    shot = browser.game_picture()
    assert ImageChops.difference(shot.image.crop(PLAY_AREA), before.image.crop(PLAY_AREA))
    if screens.is_running(shot, game_data):
        assert screens.magician_position(shot, game_data, corner, 1)[1] < 0.9
    browser.finger(1)
    assert held(browser) == []

    for control, check, controls in STEPS:
        tap(browser, control if isinstance(control, str) else browser.game_point(*control))
        screen(browser, game_data, check)
        assert check_layout(browser) == controls, check.__name__
    tap(browser, browser.game_point(*screens.QUIT_POINT))
    browser.wait_for("quimbo.state === 'ended'", what="the end panel")
    assert shown(browser) == []
    tap(browser, "#again", 1)
    screen(browser, game_data, screens.is_menu, "the menu after Play again")
    assert browser.exceptions == []


def test_no_key_stays_held_by_a_slide_a_cancel_a_hidden_page_or_a_key_press(phone, game_data):
    browser = phone()
    start_by_touch(browser, game_data)
    # A finger sliding across the pad changes direction; one sliding off a control lets go.
    browser.finger(1, *centre(browser, "#pad [data-key=ArrowDown]"))
    browser.finger(2, *centre(browser, "[data-key=Space]"))
    assert held(browser) == ["ArrowDown", "Space"]
    browser.finger(1, *centre(browser, "#pad [data-key=ArrowUp]"))
    browser.finger(2, *browser.game_point(512, 300))
    assert held(browser) == ["ArrowUp"]
    left, top, width, _ = browser.box("#pad")
    browser.finger(1, left + width + 20, top)
    assert held(browser) == []
    browser.finger(1)
    browser.finger(2)

    browser.finger(1, *centre(browser, "#pad [data-key=ArrowLeft]"))
    browser.finger(2, *centre(browser, "[data-key=ControlLeft]"))
    assert held(browser) == ["ArrowLeft", "ControlLeft"]
    browser.cancel_touches()
    assert held(browser) == []

    browser.finger(1, *centre(browser, "#pad [data-key=ArrowRight]"))
    hide(browser, True)
    assert held(browser) == []
    hide(browser, False)
    browser.finger(1)
    screen(browser, game_data, screens.is_paused)

    # A key pressed on a keyboard means a keyboard player: the controls go.
    browser.key("Enter")
    screen(browser, game_data, screens.is_running)
    assert shown(browser) == []


def hide(browser, hidden):
    """The page behind another tab, which the browser gives no frames, or shown again."""
    if hidden:
        browser.other_tab = browser.send("Target.createTarget", url="about:blank")["targetId"]
        browser.wait_for("document.hidden", what="the page hidden")
    else:
        me = browser.send("Target.getTargetInfo")["targetInfo"]["targetId"]
        browser.send("Target.activateTarget", targetId=me)
        browser.send("Target.closeTarget", targetId=browser.other_tab)
        browser.wait_for("!document.hidden", what="the page shown")


def test_a_hidden_page_is_silent_and_the_game_does_not_jump_on_its_return(phone, game_data):
    browser = phone()
    start_by_touch(browser, game_data)
    wait_until(lambda: browser.evaluate(SOUND) == "running", 30, 0.05, "the sound running")
    running_ms = browser.evaluate("Module._webRunningMs()")
    hide(browser, True)
    frames = browser.evaluate("quimbo.frames")
    wait_until(lambda: browser.evaluate(SOUND) == "suspended", 30, 0.05, "no sound")
    time.sleep(8)  # the time away, which the game must not jump by
    assert browser.evaluate("quimbo.frames") - frames <= 1, "frames in the hidden page"
    hide(browser, False)
    wait_until(lambda: browser.evaluate(SOUND) == "running", 30, 0.05, "the sound back")
    # Back on the pause screen, the game's time where it stood; it goes on from there.
    screen(browser, game_data, screens.is_paused)
    assert browser.evaluate("Module._webRunningMs()") - running_ms < 3000
    tap(browser, RESUME)
    screen(browser, game_data, screens.is_running)


def test_a_desktop_window_shows_no_touch_control(open_game, game_data):
    browser = open_game(1280, 720)
    browser.click_page(*browser.game_point(512, 384))
    browser.wait_for("quimbo.state === 'playing'")
    browser.click_page(*browser.game_point(*screens.START_POINT))
    screen(browser, game_data, screens.is_running)
    assert shown(browser) == [] and browser.canvas_box()[2:] == [960, 720]


def test_the_page_plays_offline_after_a_first_visit(release_dir, phone, game_data):
    with Release(release_dir) as site:
        browser = phone(url=site.url)
        browser.wait_for("navigator.serviceWorker.controller !== null",
                         what="the service worker in charge")
        browser.evaluate("window.firstVisit = true")
    # The server is gone: the page, the game and its files come from the worker's cache.
    browser.send("Page.reload", ignoreCache=True)

    def reloaded():
        try:
            return browser.evaluate("!window.firstVisit && quimbo.state === 'ready'")
        except DriverError:  # the old page going while it is asked
            return False
    wait_until(reloaded, 60, 0.1, "the start panel offline")
    start_by_touch(browser, game_data)
