#!/usr/bin/python3
"""What lets the web release go on a home screen and play offline, added to its folder: the
web app manifest, its two icons, and the service worker with the release's version and the
list of the files it keeps.

    offline.py RELEASE_DIR VERSION

Run after the page's own files are in RELEASE_DIR.
"""

import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WEB = os.path.join(HERE, "..", "..", "packaging", "web")
ICONS = ("icon-192.png", "icon-512.png")
# What the page loads to play; "./" is the page as its folder's address asks for it.
KEPT = ["./", "index.html", "quimbo.js", "quimbo.wasm", "quimbo.data", "icon.png",
        "manifest.webmanifest"] + list(ICONS)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder, version = argv[1], argv[2]
    for name in ICONS:
        shutil.copyfile(os.path.join(WEB, "icons", name), os.path.join(folder, name))
    shutil.copyfile(os.path.join(WEB, "manifest.webmanifest"),
                    os.path.join(folder, "manifest.webmanifest"))
    for name in KEPT[1:]:
        if not os.path.isfile(os.path.join(folder, name)):
            print("offline.py: %s is not in %s" % (name, folder), file=sys.stderr)
            return 1
    with open(os.path.join(WEB, "sw.js"), encoding="utf-8") as f:
        worker = f.read()
    worker = worker.replace("@VERSION@", version).replace("@FILES@", json.dumps(KEPT))
    with open(os.path.join(folder, "sw.js"), "w", encoding="utf-8") as f:
        f.write(worker)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
