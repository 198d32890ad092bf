#!/usr/bin/python3
"""Writes the release's index.html from packaging/web/index.html: the version, and the size
and CRC-32 of each file the page fetches, so that the page can tell a file that arrived cut
short or damaged from the real one and say so instead of starting a broken game.

    page.py TEMPLATE RELEASE_DIR VERSION > RELEASE_DIR/index.html
"""

import json
import os
import sys
import zlib

FETCHED = ("quimbo.wasm", "quimbo.data")


def describe(folder):
    files = {}
    for name in FETCHED:
        with open(os.path.join(folder, name), "rb") as f:
            content = f.read()
        files[name] = {"size": len(content), "crc32": zlib.crc32(content)}
    return files


def page(template, folder, version):
    text = template.replace("@FILES@", json.dumps(describe(folder), sort_keys=True))
    return text.replace("@VERSION@", version)


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        template = f.read()
    sys.stdout.write(page(template, argv[2], argv[3]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
