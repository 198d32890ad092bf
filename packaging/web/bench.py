#!/usr/bin/python3
"""The web release's figures, beside the native benchmark's of the same screens.

    bench.py --release DIR --native PERFORMANCE_MD [--out FILE] [--play-seconds N]

In Debian's headless Chromium (software WebGL, the machine's two cores): the download
gzipped, the time from navigation to the first menu frame, the frames per second of the
menu, of a game in play with stars flying, and of the pause screen, and the wasm memory
before and after N seconds of play. Beside them, from the native benchmark's report of the
same run (make bench), the frames per second its CPU medians allow for the same screens. A
figure, not a gate: the browser caps frames at the display's rate (60 a second headless), the
native figures are uncapped costs.

Then the same screens on a phone's setting: a 915x412 landscape page at a device pixel ratio
of 2.625, with touch, the CPU slowed four times by Chromium's throttling, played by touch on
the page's own controls; and the time from navigation to the 33 picture lines there.
"""

import argparse
import gzip
import os
import random
import re
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path[:0] = [os.path.join(ROOT, "tests"), os.path.join(ROOT, "tests", "web")]

from chromium import Browser, Release  # noqa: E402
from harness import RESET_LINE, screens  # noqa: E402
from harness.screens import Data  # noqa: E402

FILES = ("index.html", "quimbo.js", "quimbo.wasm", "quimbo.data", "icon.png")
NATIVE_ROWS = {"menu": "MAINMENU", "running": "RUNNING, full scene",
               "paused": "PAUSED (drawPauseScreen + flip)"}
MEMORY = "Module.HEAP8.buffer.byteLength"


def download_sizes(folder):
    sizes = {}
    for name in FILES:
        with open(os.path.join(folder, name), "rb") as f:
            content = f.read()
        sizes[name] = (len(content), len(gzip.compress(content, 9)))
    return sizes


def native_fps(report):
    with open(report, encoding="utf-8") as f:
        text = f.read()
    fps = {}
    for scene, row in NATIVE_ROWS.items():
        found = re.search(r"^\| %s \| ([0-9.]+) \|" % re.escape(row), text, re.M)
        fps[scene] = 1000.0 / float(found.group(1)) if found else None
    return fps


def frame_rate(browser, seconds, during=None):
    """Game frames a second over `seconds` of wall time, as the page counts them."""
    start_frames, start_ms = browser.evaluate("[quimbo.frames, performance.now()]")
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if during:
            during()
        time.sleep(0.25)
    frames, ms = browser.evaluate("[quimbo.frames, performance.now()]")
    return (frames - start_frames) * 1000.0 / (ms - start_ms)


def first_frame_ms(url, runs):
    times = []
    for _ in range(runs):
        with Browser() as browser:
            browser.open(url)
            browser.wait_for("quimbo.state === 'ready'")
            times.append(browser.evaluate("quimbo.firstFrameMs"))
    return times


def play_a_little(browser, rng):
    """A player's keys: steering held for a moment, stars, now and then the blast; a game
    over starts a new game."""
    key = rng.choice(["ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown"])
    browser.key(key, "down")
    browser.key("Space")
    if rng.random() < 0.05:
        browser.key("Control")
    browser.key(key, "up")


def measure(release, play_seconds, data):
    with Release(release) as site:
        first = first_frame_ms(site.url, 3)
        with Browser() as browser:
            browser.open(site.url)
            browser.wait_for("quimbo.state === 'ready'")
            left, top, width, height = browser.canvas_box()
            browser.click_page(left + width / 2, top + height / 2)
            browser.wait_for("quimbo.state === 'playing'")
            fps = {"menu": frame_rate(browser, 5)}
            browser.click_page(*browser.game_point(*screens.START_POINT))
            browser.wait_for_line(RESET_LINE, 2)
            rng = random.Random(1)
            frame_rate(browser, 5, lambda: browser.key("Space"))  # the scene fills up
            fps["running"] = frame_rate(browser, 5, lambda: browser.key("Space"))
            still_running = screens.is_running(browser.game_picture(), data)
            browser.key("P")
            browser.wait_for_picture(lambda s: screens.is_paused(s, data), "the pause screen")
            fps["paused"] = frame_rate(browser, 5)
            browser.key("Enter")
            memory_before = browser.evaluate(MEMORY)
            resets = browser.count_line(RESET_LINE)
            end = time.monotonic() + play_seconds
            while time.monotonic() < end:
                play_a_little(browser, rng)
                if screens.is_game_over(browser.game_picture(), data):
                    browser.key("Enter")
            memory_after = browser.evaluate(MEMORY)
            games = browser.count_line(RESET_LINE) - resets + 1
    return first, fps, still_running, (memory_before, memory_after, games)


PHONE = dict(width=915, height=412, touch=True, scale=2.625)
PHONE_THROTTLE = 4
PICTURE_LINES = 33
# The time of the 33rd line the game prints, from navigation.
COUNT_LINES = """(function () {
  var lines = 0, log = console.log;
  console.log = function () {
    if (++lines === %d) window.linesDoneMs = performance.now();
    return log.apply(console, arguments);
  };
})();""" % PICTURE_LINES


def tap(browser, selector):
    left, top, width, height = browser.box(selector)
    browser.finger(1, left + width / 2, top + height / 2)
    frames = browser.evaluate("quimbo.frames")
    browser.wait_for("quimbo.frames > %d" % (frames + 1))
    browser.finger(1)


def measure_phone(site, data):
    with Browser(**PHONE) as browser:
        browser.send("Emulation.setCPUThrottlingRate", rate=PHONE_THROTTLE)
        browser.send("Page.addScriptToEvaluateOnNewDocument", source=COUNT_LINES)
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'")
        lines_ms = browser.evaluate("window.linesDoneMs")
        left, top, width, height = browser.canvas_box()
        browser.finger(1, left + width / 2, top + height / 2)
        browser.finger(1)
        browser.wait_for("quimbo.state === 'playing'")
        fps = {"menu": frame_rate(browser, 5)}
        x, y = browser.game_point(*screens.START_POINT)
        browser.finger(1, x, y)
        browser.wait_for("quimbo.screen === 'running'")
        browser.finger(1)
        cast = lambda: tap(browser, "[data-key=Space]")  # noqa: E731
        frame_rate(browser, 5, cast)  # the scene fills up
        fps["running"] = frame_rate(browser, 5, cast)
        tap(browser, "[data-key=KeyP]")
        browser.wait_for_picture(lambda s: screens.is_paused(s, data), "the pause screen")
        fps["paused"] = frame_rate(browser, 5)
    return fps, lines_ms


def report(release, native, play_seconds, data):
    sizes = download_sizes(release)
    first, fps, still_running, memory = measure(release, play_seconds, data)
    native = native_fps(native)
    total = sum(g for _, g in sizes.values())
    lines = ["# The game in the browser", "",
             "Headless Chromium with software WebGL on this machine, beside the native "
             "benchmark of the same run. The browser gives at most one frame per display "
             "refresh (60 a second headless); the native figures are 1000 / the CPU median of "
             "a frame, uncapped.", "",
             "| File | Bytes | Gzipped |", "|---|---:|---:|"]
    for name in FILES:
        lines.append("| %s | %d | %d |" % (name, sizes[name][0], sizes[name][1]))
    lines += ["| **download** | %d | **%d** (%.2f MB; target <= 1.8 MB) |"
              % (sum(s for s, _ in sizes.values()), total, total / 1048576), "",
              "Navigation to the first menu frame, three fresh loads: %s ms (median %.0f ms; "
              "target <= 2000 ms)." % (", ".join("%.0f" % t for t in first),
                                       statistics.median(first)), "",
              "| Screen | Web frames/s | Native frames/s (uncapped) | Target in the browser |",
              "|---|---:|---:|---|"]
    targets = {"menu": "", "running": "60 (the display's rate)", "paused": ">= 40"}
    names = {"menu": "MAINMENU", "running": "RUNNING, a game with stars flying "
             "(native: the full scene)", "paused": "PAUSED"}
    for scene in ("menu", "running", "paused"):
        lines.append("| %s | %.1f | %s | %s |" % (
            names[scene], fps[scene],
            "%.0f" % native[scene] if native[scene] else "n/a", targets[scene]))
    before, after, games = memory
    lines += ["", "Wasm memory over %d s of play (%d game%s): %d bytes before, %d after "
              "(%+d)." % (play_seconds, games, "" if games == 1 else "s", before, after,
                          after - before)]
    if not still_running:
        lines.append("The game was no longer running when its frame rate was taken.")
    with Release(release) as site:
        phone, lines_ms = measure_phone(site, data)
    lines += ["", "A phone: 915x412 landscape at a device pixel ratio of 2.625, touch, the CPU "
              "slowed %d times; played on the page's touch controls." % PHONE_THROTTLE, "",
              "| Screen | Phone frames/s | Target |", "|---|---:|---|"]
    phone_targets = {"menu": ">= 55", "running": ">= 55", "paused": ">= 25"}
    for scene in ("menu", "running", "paused"):
        lines.append("| %s | %.1f | %s |" % (names[scene].split(",")[0], phone[scene],
                                            phone_targets[scene]))
    lines += ["", "Navigation to the %d picture lines on the phone: %.0f ms (target <= 3000 ms)."
              % (PICTURE_LINES, lines_ms)]
    lines.append("Load average at the end: %.2f." % os.getloadavg()[0])
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--release", required=True)
    parser.add_argument("--native", required=True)
    parser.add_argument("--out")
    parser.add_argument("--play-seconds", type=int, default=60)
    args = parser.parse_args()
    data = Data(ROOT)
    try:
        text = report(args.release, args.native, args.play_seconds, data)
    finally:
        data.close()
    sys.stdout.write(text)
    if args.out:
        with open(args.out, "w", encoding="utf-8") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
