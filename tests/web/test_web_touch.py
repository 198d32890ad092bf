"""The game on phones and tablets, in headless Chromium with touch emulation and several touch
points, and opened again without a network; a desktop window without touch controls."""

import time

import pytest

from chromium import Release
from harness import RESET_LINE, TAIKO_LINE, screens
from harness.xsession import DriverError, wait_until

# Each control on show: its key (None: the full-screen button), its label and its CSS box.
SHOWN = """[].filter.call(document.querySelectorAll(%r), function (e) { return e.offsetParent;
    }).map(function (e) { var r = e.getBoundingClientRect(); return [e.getAttribute('data-key'),
    e.getAttribute('aria-label'), r.left, r.top, r.width, r.height]; })"""
# A tap on START quicker than a frame (one task of the page), which must not be lost.
QUICK_TAP = """(function (at) { var f = new Touch({identifier: 7, target: canvas, clientX: at[0],
    clientY: at[1]}), e = {bubbles: true, cancelable: true, changedTouches: [f], touches: [f]};
    canvas.dispatchEvent(new TouchEvent('touchstart', e)); e.touches = [];
    canvas.dispatchEvent(new TouchEvent('touchend', e)); })(%s)"""
SOUND, HELD = "Module.SDL2.audioContext.state", "quimbo.keysHeld()"
TOUCH_KEYS, PAD = "#touch [data-key]", "#pad [data-key=Arrow%s]"
ON = "[data-screen=%s] [data-key=%s]"  # a screen's control


def put(browser, finger, where, fx=0.5, fy=0.5):
    """A finger on a control (a selector) or a point of the picture, or lifted (None)."""
    if where is None:
        return browser.finger(finger)
    is_control = isinstance(where, str)
    x, y, w, h = browser.box(where) if is_control else browser.game_point(*where) + (0, 0)
    browser.finger(finger, x + fx * w, y + fy * h)


def tap(browser, where, finger=9):
    """Down for a few frames, then lifted; QUIT ends the frames under the finger."""
    put(browser, finger, where)
    frames = browser.evaluate("quimbo.frames")
    browser.wait_for("quimbo.frames > %d || quimbo.state === 'ended'" % (frames + 2))
    put(browser, finger, None)


def screen(browser, data, check):
    return browser.wait_for_picture(lambda s: check(s, data), check.__name__)


@pytest.fixture
def phone(open_game):
    return lambda width=915, height=412, url=None: open_game(width, height, url, touch=True)


def start_by_touch(browser, data):
    texts = browser.evaluate("['play', 'help'].map(function (id) { return document."
                             "getElementById(id).textContent; })")
    assert texts[0] == "Tap to play" and "pad" in texts[1]
    tap(browser, "#play", 1)
    browser.wait_for("quimbo.state === 'playing'")
    resets = browser.count_line(RESET_LINE)
    browser.evaluate(QUICK_TAP % list(browser.game_point(*screens.START_POINT)))
    browser.wait_for_line(RESET_LINE, resets + 1)
    screen(browser, data, screens.is_running)


def layout(browser):
    """The keys shown, each control 44x44 or more, labelled, on the page, off the picture."""
    left, top, width, height = browser.canvas_box()
    shown = browser.evaluate(SHOWN % (TOUCH_KEYS + ", #fullscreen button"))
    for key, label, x, y, w, h in shown:
        assert label and w >= 44 and h >= 44, (key, w, h)
        assert x + w <= left or x >= left + width or y + h <= top or y >= top + height, key
        assert x >= 0 and y >= 0 and x + w <= browser.width and y + h <= browser.height, key
    assert browser.evaluate("[visualViewport.scale, scrollX, scrollY]") == [1, 0, 0]
    return {control[0] for control in shown}


def in_play(browser, data, shot=None):
    # The enemies come at random: a game lost before a step is done is started anew.
    if screens.is_game_over(shot or browser.game_picture(), data):
        tap(browser, ON % ("gameover", "Enter"))
    return not shot or screens.is_running(shot, data)


# Each step of a game after the cast: the control tapped, the screen it leads to, the keys shown.
PLAY = {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Space", "ControlLeft", "KeyP", None}
PAUSE, ASK = ON % ("running", "KeyP"), {"Enter", "Escape", None}
RUN, PAUSED, OVER, MENU = (screens.is_running, screens.is_paused, screens.is_game_over,
                           screens.is_menu)
STEPS = [(PAUSE, PAUSED, ASK), (ON % ("paused", "Enter"), RUN, PLAY), (PAUSE, PAUSED, ASK),
         (ON % ("paused", "Escape"), OVER, ASK), (ON % ("gameover", "Enter"), RUN, PLAY),
         (PAUSE, PAUSED, ASK), (ON % ("paused", "Escape"), OVER, ASK),
         (ON % ("gameover", "Escape"), MENU, {None}), (screens.HISCORE_POINT, screens.is_hiscore,
         {"Escape", None}), (ON % ("hiscore", "Escape"), MENU, {None})]


@pytest.mark.parametrize("width, height", [(915, 412), (412, 915), (1024, 768)])
def test_a_whole_game_by_touch(phone, game_data, width, height):
    browser = phone(width, height)
    # The drawing buffer stays the game's size at any device pixel ratio.
    assert browser.evaluate("[canvas.width, canvas.height]") == [1024, 768]
    start_by_touch(browser, game_data)
    assert layout(browser) == PLAY
    # Between two arrows the pad holds both: up and left, to the corner; then Down held by one
    # finger while another taps cast: a star flies, and he leaves the corner.
    corner = tuple(screens.PLAY_AREA[:2])
    put(browser, 1, "#pad", 0.2, 0.2)
    assert browser.evaluate(HELD) == ["ArrowLeft", "ArrowUp"]

    def at_corner(shot):
        return screens.magician_position(shot, game_data, corner, 1)[1] > 0.9

    def cast():
        in_play(browser, game_data)
        tap(browser, "[data-key=Space]", 2)
        assert browser.evaluate(HELD) == ["ArrowDown"]
        return browser.count_line(TAIKO_LINE)
    browser.wait_for_picture(lambda s: in_play(browser, game_data, s) and at_corner(s), "corner")
    put(browser, 1, PAD % "Down")
    wait_until(cast, 30, 0.3, "the magic attack line")
    shot = browser.game_picture()
    assert not screens.is_running(shot, game_data) or not at_corner(shot)
    put(browser, 1, None)
    assert browser.evaluate(HELD) == []
    for control, check, keys in STEPS:
        tap(browser, control)
        screen(browser, game_data, check)
        assert layout(browser) == keys, check.__name__
    tap(browser, screens.QUIT_POINT)
    browser.wait_for("quimbo.state === 'ended'", what="the end panel")
    assert browser.evaluate(SHOWN % TOUCH_KEYS) == []
    tap(browser, "#again", 1)
    screen(browser, game_data, screens.is_menu)
    assert browser.exceptions == []


def test_offline_no_key_stays_held_and_a_hidden_page_stands_still_in_silence(
        release_dir, phone, game_data):
    with Release(release_dir) as site:
        browser = phone(url=site.url)
        browser.wait_for("navigator.serviceWorker.controller !== null", what="the worker")
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
    # A finger put down, slid (across the pad, off its control) or lifted, and the keys held.
    for finger, where, keys in [
            (1, PAD % "Down", ["ArrowDown"]), (2, "[data-key=Space]", ["ArrowDown", "Space"]),
            (1, PAD % "Up", ["ArrowUp", "Space"]), (2, (512, 300), ["ArrowUp"]),
            (1, (512, 300), []), (1, None, []), (2, None, []), (1, PAD % "Left", ["ArrowLeft"]),
            (2, "[data-key=ControlLeft]", ["ArrowLeft", "ControlLeft"])]:
        put(browser, finger, where)
        assert browser.evaluate(HELD) == keys, (finger, where)
    browser.cancel_touches()
    assert browser.evaluate(HELD) == []
    # Hidden behind another tab with a key held: it lets go, falls silent and stands still.
    browser.wait_for(SOUND + " === 'running'", what="the sound")
    running_ms = browser.evaluate("Module._webRunningMs()")
    put(browser, 1, PAD % "Right")
    other_tab = browser.send("Target.createTarget", url="about:blank")["targetId"]
    browser.wait_for("document.hidden", what="the page hidden")
    assert browser.evaluate(HELD) == []
    frames, back_at = browser.evaluate("quimbo.frames"), time.monotonic() + 8

    def away():
        assert browser.evaluate("quimbo.frames") - frames <= 1, "frames in the hidden page"
        return browser.evaluate(SOUND) == "suspended" and time.monotonic() > back_at
    wait_until(away, 30, 0.2, "eight seconds away in silence")
    browser.send("Target.activateTarget", targetId=browser.send("Target.getTargetInfo")
                 ["targetInfo"]["targetId"])
    browser.send("Target.closeTarget", targetId=other_tab)
    # Shown again: the sound back, on the pause screen, the game's time where it stood.
    browser.wait_for(SOUND + " === 'running'", what="the sound back")
    put(browser, 1, None)
    screen(browser, game_data, screens.is_paused)
    assert browser.evaluate("Module._webRunningMs()") - running_ms < 3000
    # A key pressed on a keyboard means a keyboard player: the controls go.
    browser.key("Enter")
    screen(browser, game_data, screens.is_running)
    assert browser.evaluate(SHOWN % TOUCH_KEYS) == []


def test_a_desktop_window_shows_no_touch_control(open_game, game_data):
    browser = open_game(1280, 720)
    browser.click_page(*browser.game_point(512, 384))
    browser.wait_for("quimbo.state === 'playing'")
    browser.click_page(*browser.game_point(*screens.START_POINT))
    screen(browser, game_data, screens.is_running)
    assert browser.evaluate(SHOWN % TOUCH_KEYS) == [] and browser.canvas_box()[2:] == [960, 720]
