#!/usr/bin/python3
"""Where a phone's RUNNING frame spends its time: a Chromium CPU profile of a game in play on
the phone setting of bench.py (915x412, device pixel ratio 2.625, touch, the CPU slowed four
times), summed by function.

    profile.py RELEASE_DIR [SECONDS [paused]]

Build the release with the wasm's function names kept first (WEB_PROFILING=1 make web); a
release without them shows its wasm functions by number only. Prints the share of samples of
the heaviest functions, by their own time and by the time spent under them.
"""

import collections
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path[:0] = [HERE, os.path.join(ROOT, "tests"), os.path.join(ROOT, "tests", "web")]

from bench import PHONE, PHONE_THROTTLE  # noqa: E402
from chromium import Browser, Release  # noqa: E402
from harness import RESET_LINE, screens  # noqa: E402

SHOWN = 25


def profile_running(site, seconds, paused=False):
    with Browser(**PHONE) as browser:
        browser.send("Emulation.setCPUThrottlingRate", rate=PHONE_THROTTLE)
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'")
        # By mouse and keyboard, so that a release from before the touch controls compares.
        left, top, width, height = browser.canvas_box()
        browser.click_page(left + width / 2, top + height / 2)
        browser.wait_for("quimbo.state === 'playing'")
        browser.click_page(*browser.game_point(*screens.START_POINT))
        browser.wait_for_line(RESET_LINE, 2)
        if paused:
            browser.key("P")
        browser.send("Profiler.enable")
        browser.send("Profiler.setSamplingInterval", interval=200)
        browser.send("Profiler.start")
        frames = browser.evaluate("quimbo.frames")
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not paused:
                browser.key("Space")
            time.sleep(0.2)
        frames = browser.evaluate("quimbo.frames") - frames
        return browser.send("Profiler.stop")["profile"], frames / seconds


def summary(profile):
    nodes = {node["id"]: node for node in profile["nodes"]}
    parent = {}
    for node in profile["nodes"]:
        for child in node.get("children", []):
            parent[child] = node["id"]
    counts = collections.Counter(profile["samples"])
    own, under = collections.Counter(), collections.Counter()
    for ident, count in counts.items():
        name = nodes[ident]["callFrame"]["functionName"] or "(anonymous)"
        own[name] += count
        seen, at = set(), ident
        while at is not None:
            name = nodes[at]["callFrame"]["functionName"] or "(anonymous)"
            if name not in seen:
                under[name] += count
                seen.add(name)
            at = parent.get(at)
    return own, under, sum(counts.values())


def main(argv):
    if len(argv) not in (2, 3, 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with Release(argv[1]) as site:
        paused = argv[3:] == ["paused"]
        profile, fps = profile_running(site, float(argv[2]) if len(argv) >= 3 else 8, paused)
    own, under, total = summary(profile)
    print("%s at %.1f frames a second; %d samples" % ("PAUSED" if paused else "RUNNING", fps,
                                                      total))
    for title, counter in (("own time", own), ("time under", under)):
        print("\n| %s | share |\n|---|---:|" % title)
        for name, count in counter.most_common(SHOWN):
            print("| %s | %.1f %% |" % (name, 100.0 * count / total))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
