"""The game on phones and tablets: the page's touch controls in headless Chromium with touch
emulation and several touch points, the page's layout at a phone's and a tablet's sizes, a
hidden page, and the page opened again without a network."""

import time

import pytest
from PIL import ImageChops

from chromium import Browser, Release
from harness import RESET_LINE, TAIKO_LINE, screens
from harness.screens import PLAY_AREA
from harness.xsession import DriverError, wait_until

CONTROLS = "#touch [data-key]"
VISIBLE_BOXES = """Array.prototype.filter.call(document.querySelectorAll(%s), function (e) {
    return e.offsetParent !== null; }).map(function (e) {
    var r = e.getBoundingClientRect(); return [e.getAttribute('data-key'),
    e.getAttribute('aria-label'), r.left, r.top, r.width, r.height]; })"""


def visible_controls(browser, selector=CONTROLS):
    return browser.evaluate(VISIBLE_BOXES % repr(selector))


def held(browser):
    return browser.evaluate("quimbo.keysHeld()")


def centre(browser, selector):
    left, top, width, height = browser.box(selector)
    return left + width / 2, top + height / 2


def tap(browser, selector, finger=9):
    """A finger on the control for a few frames, then lifted, as a thumb taps."""
    browser.finger(finger, *centre(browser, selector))
    frames = browser.evaluate("quimbo.frames")
    browser.wait_for("quimbo.frames > %d" % (frames + 2))
    browser.finger(finger)


def tap_game(browser, point):
    browser.finger(9, *browser.game_point(*point))
    frames = browser.evaluate("quimbo.frames")
    # QUIT ends the frames while the finger is still down.
    browser.wait_for("quimbo.frames > %d || quimbo.state === 'ended'" % (frames + 2))
    browser.finger(9)


def screen(browser, data, check, what):
    return browser.wait_for_picture(lambda s: check(s, data), what)


def open_phone(site, width, height, scale=2.625):
    browser = Browser(width, height, touch=True, scale=scale).__enter__()
    browser.open(site.url)
    browser.wait_for("quimbo.state === 'ready'", what="the start panel")
    return browser


def start_by_touch(browser, data):
    assert browser.evaluate("document.getElementById('play').textContent") == "Tap to play"
    assert "pad" in browser.evaluate("document.getElementById('help').textContent")
    left, top, width, height = browser.canvas_box()
    browser.finger(1, left + width / 2, top + height / 2)
    browser.finger(1)
    browser.wait_for("quimbo.state === 'playing'")
    resets = browser.count_line(RESET_LINE)
    tap_game(browser, screens.START_POINT)
    browser.wait_for_line(RESET_LINE, resets + 1)
    screen(browser, data, screens.is_running, "a running frame")


def check_layout(browser):
    """Every control shown is at least 44x44 CSS pixels and clear of the picture; the page is
    at its own scale and has not scrolled."""
    left, top, width, height = browser.canvas_box()
    shown = visible_controls(browser) + visible_controls(browser, "#fullscreen button")
    assert shown
    for key, label, x, y, w, h in shown:
        assert label and w >= 44 and h >= 44, (key, w, h)
        apart = x + w <= left or x >= left + width or y + h <= top or y >= top + height
        assert apart, "%s at %r covers the picture at %r" % (key, (x, y, w, h), (left, top))
        assert x >= 0 and y >= 0 and x + w <= browser.width and y + h <= browser.height, key
    assert browser.evaluate("[visualViewport.scale, scrollX, scrollY]") == [1, 0, 0]


def new_game_if_over(browser, data):
    if screens.is_game_over(browser.game_picture(), data):
        tap(browser, "[data-screen=gameover] [data-key=Enter]")


@pytest.mark.parametrize("width, height", [(915, 412), (412, 915), (1024, 768)])
def test_a_whole_game_by_touch(site, game_data, width, height):
    browser = open_phone(site, width, height)
    try:
        # The drawing buffer stays the game's size at any device pixel ratio.
        assert browser.evaluate("[canvas.width, canvas.height]") == [1024, 768]
        start_by_touch(browser, game_data)
        check_layout(browser)
        assert {c[0] for c in visible_controls(browser)} == {
            "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Space", "ControlLeft", "KeyP"}

        # Between two arrows the pad holds both: up and left to the corner.
        pad_left, pad_top, pad_w, _ = browser.box("#pad")
        corner = (PLAY_AREA[0], PLAY_AREA[1])
        browser.finger(1, pad_left + pad_w * 0.2, pad_top + pad_w * 0.2)
        assert held(browser) == ["ArrowLeft", "ArrowUp"]

        def at_corner(shot, data):
            new_game_if_over(browser, data)
            pos, match = screens.magician_position(shot, data, corner, 1)
            return pos == corner and match > 0.9
        browser.wait_for_picture(lambda s: at_corner(s, game_data), "the magician at the corner")

        # Down held by one finger while another taps cast: he leaves the corner downwards and
        # the attack is cast; lifting the cast finger leaves Down held.
        browser.finger(1, *centre(browser, "#pad [data-key=ArrowDown]"))
        assert held(browser) == ["ArrowDown"]
        before = browser.game_picture()

        def cast():
            if browser.count_line(TAIKO_LINE):
                return True
            new_game_if_over(browser, game_data)
            tap(browser, "[data-key=Space]", finger=2)
            assert held(browser) == ["ArrowDown"]
            return False
        wait_until(cast, 30, 0.3, "the magic attack line")
        shot = browser.game_picture()
        assert ImageChops.difference(shot.image.crop(PLAY_AREA),
                                     before.image.crop(PLAY_AREA)).getbbox()
        if screens.is_running(shot, game_data):
            assert screens.magician_position(shot, game_data, corner, 1)[1] < 0.9
        browser.finger(1)
        assert held(browser) == []

        # Pause, resume, give up, a new game, back to the menu, QUIT and Play again.
        tap(browser, "[data-key=KeyP]")
        screen(browser, game_data, screens.is_paused, "the pause screen")
        assert {c[0] for c in visible_controls(browser)} == {"Enter", "Escape"}
        check_layout(browser)
        tap(browser, "[data-screen=paused] [data-key=Enter]")
        screen(browser, game_data, screens.is_running, "the game again")
        tap(browser, "[data-key=KeyP]")
        tap(browser, "[data-screen=paused] [data-key=Escape]")
        screen(browser, game_data, screens.is_game_over, "game over")
        resets = browser.count_line(RESET_LINE)
        tap(browser, "[data-screen=gameover] [data-key=Enter]")
        browser.wait_for_line(RESET_LINE, resets + 1)
        tap(browser, "[data-key=KeyP]")
        tap(browser, "[data-screen=paused] [data-key=Escape]")
        tap(browser, "[data-screen=gameover] [data-key=Escape]")
        screen(browser, game_data, screens.is_menu, "the menu")
        assert visible_controls(browser) == []
        tap_game(browser, screens.HISCORE_POINT)
        screen(browser, game_data, screens.is_hiscore, "the high-score table")
        tap(browser, "[data-screen=hiscore] [data-key]")
        screen(browser, game_data, screens.is_menu, "the menu again")
        tap_game(browser, screens.QUIT_POINT)
        browser.wait_for("quimbo.state === 'ended'", what="the end panel")
        assert visible_controls(browser) == []
        centre_x, centre_y = centre(browser, "#again")
        browser.finger(1, centre_x, centre_y)
        browser.finger(1)
        browser.wait_for("quimbo.state === 'playing'")
        screen(browser, game_data, screens.is_menu, "the menu after Play again")
        assert browser.evaluate("[visualViewport.scale, scrollX, scrollY]") == [1, 0, 0]
        assert browser.exceptions == []
    finally:
        browser.close()


def test_no_key_stays_held_by_a_slide_a_cancel_a_hidden_page_or_a_key_press(site, game_data):
    browser = open_phone(site, 915, 412)
    try:
        start_by_touch(browser, game_data)
        # A finger sliding across the pad changes direction, and off it lets go.
        browser.finger(1, *centre(browser, "#pad [data-key=ArrowDown]"))
        browser.finger(2, *centre(browser, "[data-key=Space]"))
        assert held(browser) == ["ArrowDown", "Space"]
        browser.finger(1, *centre(browser, "#pad [data-key=ArrowUp]"))
        assert held(browser) == ["ArrowUp", "Space"]
        browser.finger(2, *browser.game_point(512, 300))
        assert held(browser) == ["ArrowUp"]
        browser.finger(2)
        left, top, width, _ = browser.box("#pad")
        browser.finger(1, left + width + 20, top)
        assert held(browser) == []
        browser.finger(1)

        # A cancelled touch lets go of everything.
        browser.finger(1, *centre(browser, "#pad [data-key=ArrowLeft]"))
        browser.finger(2, *centre(browser, "[data-key=ControlLeft]"))
        assert held(browser) == ["ArrowLeft", "ControlLeft"]
        browser.cancel_touches()
        assert held(browser) == []

        # A page hidden while a key is held lets go of it, and pauses the game.
        browser.finger(1, *centre(browser, "#pad [data-key=ArrowRight]"))
        hide(browser, True)
        assert held(browser) == []
        hide(browser, False)
        browser.finger(1)
        screen(browser, game_data, screens.is_paused, "the pause screen after coming back")

        # A key pressed on a keyboard means a keyboard player: the controls go.
        browser.key("Enter")
        screen(browser, game_data, screens.is_running, "the game resumed by the keyboard")
        assert visible_controls(browser) == []
    finally:
        browser.close()


def hide(browser, hidden):
    """The page hidden behind another tab, which the browser gives no frames, or shown again."""
    if hidden:
        browser.other_tab = browser.send("Target.createTarget", url="about:blank")["targetId"]
        browser.wait_for("document.hidden", what="the page hidden")
    else:
        me = browser.send("Target.getTargetInfo")["targetInfo"]["targetId"]
        browser.send("Target.activateTarget", targetId=me)
        browser.send("Target.closeTarget", targetId=browser.other_tab)
        browser.wait_for("!document.hidden", what="the page shown")


def test_a_hidden_page_is_silent_and_the_game_does_not_jump_on_its_return(site, game_data):
    browser = open_phone(site, 915, 412)
    try:
        start_by_touch(browser, game_data)
        wait_until(lambda: browser.evaluate("Module.SDL2.audioContext.state") == "running",
                   30, 0.05, "the sound running")
        screen(browser, game_data, screens.is_running, "a running frame")
        running_ms = browser.evaluate("Module._webRunningMs()")
        hide(browser, True)
        frames = browser.evaluate("quimbo.frames")
        wait_until(lambda: browser.evaluate("Module.SDL2.audioContext.state") == "suspended",
                   30, 0.05, "the sound suspended")
        # The time away, which the game must not jump by; the page gets no frames meanwhile.
        time.sleep(8)
        assert browser.evaluate("quimbo.frames") - frames <= 1, "frames in the hidden page"
        hide(browser, False)
        wait_until(lambda: browser.evaluate("Module.SDL2.audioContext.state") == "running",
                   30, 0.05, "the sound back")
        # Back on the pause screen, the game's time where it stood.
        screen(browser, game_data, screens.is_paused, "the pause screen")
        paused_ms = browser.evaluate("Module._webRunningMs()")
        tap(browser, "[data-screen=paused] [data-key=Enter]")
        screen(browser, game_data, screens.is_running, "the game resumed")
        assert paused_ms - running_ms < 3000, (running_ms, paused_ms)
    finally:
        browser.close()


def test_a_desktop_window_shows_no_touch_control(open_game, game_data):
    browser = open_game(1280, 720)
    assert browser.evaluate("document.getElementById('play').textContent") == "Click to play"
    left, top, width, height = browser.canvas_box()
    browser.click_page(left + width / 2, top + height / 2)
    browser.wait_for("quimbo.state === 'playing'")
    browser.click_page(*browser.game_point(*screens.START_POINT))
    browser.wait_for_line(RESET_LINE, 2)
    screen(browser, game_data, screens.is_running, "a running frame")
    assert visible_controls(browser) == []
    # The picture as large as the window allows, as before.
    assert browser.canvas_box()[2:] == [960, 720]


def test_the_page_plays_offline_after_a_first_visit(release_dir, game_data):
    site = Release(release_dir).__enter__()
    browser = open_phone(site, 915, 412)
    try:
        browser.wait_for("navigator.serviceWorker.controller !== null",
                         what="the service worker in charge")
        browser.evaluate("window.firstVisit = true")
        site.__exit__(None, None, None)  # the network is gone
        site = None
        browser.send("Page.reload", ignoreCache=True)

        def reloaded():
            try:
                return browser.evaluate("!window.firstVisit && window.quimbo && "
                                        "quimbo.state === 'ready'")
            except DriverError:  # the old page going while it is asked
                return False
        wait_until(reloaded, 60, 0.1, "the start panel offline")
        start_by_touch(browser, game_data)
    finally:
        browser.close()
        if site is not None:
            site.__exit__(None, None, None)
