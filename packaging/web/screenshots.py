#!/usr/bin/python3
"""The page at three window sizes, into docs/: the start panel at 800x600, a game in play at
1280x720 and the main menu at 1920x1080, from the release in RELEASE_DIR in headless Chromium;
and a game in play on a phone held sideways and upright, with its touch controls.

    screenshots.py RELEASE_DIR
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path[:0] = [os.path.join(ROOT, "tests"), os.path.join(ROOT, "tests", "web")]

from chromium import Browser, Release  # noqa: E402
from harness import RESET_LINE, screens  # noqa: E402
from harness.screens import Data  # noqa: E402


def shoot_phone(site, width, height):
    with Browser(width, height, touch=True) as browser:
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'")
        left, top, shown_w, shown_h = browser.canvas_box()
        for point in ((left + shown_w / 2, top + shown_h / 2),
                      browser.game_point(*screens.START_POINT)):
            browser.finger(1, *point)
            frames = browser.evaluate("quimbo.frames")
            browser.wait_for("quimbo.frames > %d" % (frames + 2))
            browser.finger(1)
        browser.wait_for_line(RESET_LINE, 2)
        frames = browser.evaluate("quimbo.frames")
        browser.wait_for("quimbo.frames > %d" % (frames + 90))
        path = os.path.join(ROOT, "docs", "web-phone-%dx%d.png" % (width, height))
        browser.screenshot().save(path, optimize=True)
        print(path)


def shoot(site, data, width, height, scene):
    with Browser(width, height) as browser:
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'")
        if scene != "start":
            left, top, shown_w, shown_h = browser.canvas_box()
            browser.click_page(left + shown_w / 2, top + shown_h / 2)
            browser.wait_for("quimbo.state === 'playing'")
        if scene == "menu":
            browser.mouse("mouseMoved", *browser.game_point(*screens.START_POINT))
        if scene == "running":
            browser.click_page(*browser.game_point(*screens.START_POINT))
            browser.wait_for_line(RESET_LINE, 2)
            # A few stars in flight make a livelier picture.
            for _ in range(3):
                browser.key("Space")
            frames = browser.evaluate("quimbo.frames")
            browser.wait_for("quimbo.frames > %d" % (frames + 90))
        path = os.path.join(ROOT, "docs", "web-%dx%d.png" % (width, height))
        browser.screenshot().save(path, optimize=True)
        print(path)


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    data = Data(ROOT)
    with Release(argv[1]) as site:
        shoot(site, data, 800, 600, "start")
        shoot(site, data, 1280, 720, "running")
        shoot(site, data, 1920, 1080, "menu")
        shoot_phone(site, 915, 412)
        shoot_phone(site, 412, 915)
    data.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
