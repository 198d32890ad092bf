"""A game pad in the page: a stand-in for the browser's Gamepad API with the standard layout,
plugged in once the game runs (listed from then on, as a browser does). Up, Up and A start a
game from the menu; A casts."""

from chromium import Browser
from harness import RESET_LINE, TAIKO_LINE, screens
from harness.xsession import wait_until

A, UP = 0, 12  # the standard layout's buttons
START = screens.START_AREA
STAND_IN_PAD = """(function () {
  var pad = {id: 'Stand-in pad (STANDARD GAMEPAD)', index: 0, connected: true, timestamp: 1,
             mapping: 'standard', axes: [0, 0, 0, 0], buttons: []}, plugged = false;
  for (var i = 0; i < 17; i++) pad.buttons.push({pressed: false, touched: false, value: 0});
  navigator.getGamepads = function () { return plugged ? [pad, null, null, null] : []; };
  window.standInPad = {
    plugIn: function () {
      plugged = true;
      window.dispatchEvent(Object.assign(new Event('gamepadconnected'), {gamepad: pad}));
    },
    press: function (b, down) {
      pad.buttons[b] = {pressed: down, touched: down, value: down ? 1 : 0};
      pad.timestamp += 1;
    }};
})();"""


def test_a_standard_pad_starts_a_game_by_up_up_a_and_casts_with_a(site, game_data):
    with Browser() as browser:
        def tap(button):  # held over a few frames, then let go over a few more
            for down in ("true", "false"):
                frames = browser.evaluate("standInPad.press(%d, %s); quimbo.frames"
                                          % (button, down))
                browser.wait_for("quimbo.frames > %d" % (frames + 3))

        def shows(check):
            return check(browser.game_picture(), game_data)

        def on_start(shot, data):
            x, y = (START[0] + START[2]) // 2, (START[1] + START[3]) // 2
            return screens.is_menu(shot, data) and screens.picture_match(
                shot, data.picture("cursor"), x, y, key=screens.GREEN) > 0.99

        browser.send("Page.addScriptToEvaluateOnNewDocument", source=STAND_IN_PAD)
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'", what="the start panel")
        left, top, width, height = browser.canvas_box()
        browser.click_page(left + width / 2, top + height / 2)
        browser.wait_for_picture(lambda shot: screens.is_menu(shot, game_data), "the menu")
        browser.evaluate("standInPad.plugIn(); 1")
        # Presses are lost until the game's look for new pads, about once a second, finds it.
        wait_until(lambda: tap(UP) or shows(on_start), 30, 0.2, "Up to put the pointer on START")
        tap(UP)
        assert shows(on_start), "a second Up left START"
        resets = browser.count_line(RESET_LINE)
        tap(A)
        browser.wait_for_line(RESET_LINE, resets + 1)
        # A lost game (the enemies come at random) is started anew by A as well.
        wait_until(lambda: browser.count_line(TAIKO_LINE) or tap(A), 30, 0.3, "a cast by A")
        assert browser.exceptions == []
