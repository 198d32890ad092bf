"""A game pad in the page: a stand-in for the browser's Gamepad API, with the standard layout,
plugged in once the game runs. Up, Up and A start a game from the menu; A casts."""

from chromium import Browser
from harness import RESET_LINE, TAIKO_LINE, screens
from harness.xsession import wait_until

# The standard layout's buttons.
A, UP = 0, 12

# Installed before the page's own scripts. Like a real browser, it lists the pad only once it
# is plugged in (then it also tells the page so); `standInPad.press` holds or lets go a button.
STAND_IN_PAD = """
(function () {
  var buttons = [];
  for (var i = 0; i < 17; i++) buttons.push({pressed: false, touched: false, value: 0});
  var pad = {id: 'Stand-in pad (STANDARD GAMEPAD)', index: 0, connected: true,
             mapping: 'standard', axes: [0, 0, 0, 0], buttons: buttons, timestamp: 1};
  var plugged = false;
  navigator.getGamepads = function () { return plugged ? [pad, null, null, null] : []; };
  window.standInPad = {
    plugIn: function () {
      plugged = true;
      var event = new Event('gamepadconnected');
      event.gamepad = pad;
      window.dispatchEvent(event);
    },
    press: function (button, down) {
      buttons[button] = {pressed: down, touched: down, value: down ? 1 : 0};
      pad.timestamp += 1;
    }
  };
})();
"""


def frames_pass(browser, count=3):
    frames = browser.evaluate("quimbo.frames")
    browser.wait_for("quimbo.frames > %d" % (frames + count), what="%d frames" % count)


def tap(browser, button):
    """A press held over a few frames, then let go over a few more."""
    browser.evaluate("standInPad.press(%d, true); 1" % button)
    frames_pass(browser)
    browser.evaluate("standInPad.press(%d, false); 1" % button)
    frames_pass(browser)


def pointer_at(browser, data, area):
    """Whether the game's own pointer is drawn at the middle of a menu button."""
    shot = browser.game_picture()
    if not screens.is_menu(shot, data):
        return False
    cursor = data.picture("cursor")
    x, y = (area[0] + area[2]) // 2, (area[1] + area[3]) // 2
    return screens.picture_match(shot, cursor, x, y, key=screens.GREEN) > 0.99


def test_a_standard_pad_starts_a_game_by_up_up_a_and_casts_with_a(site, game_data):
    with Browser() as browser:
        browser.send("Page.addScriptToEvaluateOnNewDocument", source=STAND_IN_PAD)
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'", what="the start panel")
        left, top, width, height = browser.canvas_box()
        browser.click_page(left + width / 2, top + height / 2)
        browser.wait_for("quimbo.state === 'playing'")
        browser.wait_for_picture(lambda s: screens.is_menu(s, game_data), "the menu")
        browser.evaluate("standInPad.plugIn(); 1")

        # The game looks for new pads about once a second: until it has seen this one, its
        # presses are lost, as the first press of a pad in a real browser may be.
        start_area = screens.LAYOUT["START_AREA"]

        def on_start():
            tap(browser, UP)
            return pointer_at(browser, game_data, start_area)
        wait_until(on_start, 30, 0.2, "the pad's Up to put the pointer on START")
        tap(browser, UP)
        assert pointer_at(browser, game_data, start_area), "a second Up left START"
        resets = browser.count_line(RESET_LINE)
        tap(browser, A)
        browser.wait_for_line(RESET_LINE, resets + 1)
        browser.wait_for_picture(lambda s: screens.is_running(s, game_data), "a running frame")

        def cast():
            if browser.count_line(TAIKO_LINE):
                return True
            shot = browser.game_picture()
            if screens.is_game_over(shot, game_data):  # lost to the random enemies: anew
                tap(browser, A)
            tap(browser, A)
            return False
        wait_until(cast, 30, 0.3, "the magic attack by A")
        assert browser.exceptions == []
