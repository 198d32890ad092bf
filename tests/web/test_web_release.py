"""The web release as a player or a game portal gets it: the zip and the folder beside it."""

import gzip
import json
import os
import re
import zipfile

from PIL import Image

from chromium import ZIP
from harness.install import project_version

PAGE_FILES = {"index.html", "quimbo.js", "quimbo.wasm", "quimbo.data", "icon.png",
              "manifest.webmanifest", "sw.js", "icon-192.png", "icon-512.png"}
# What a player's browser fetches, the service worker's copies included, gzipped as servers
# send it: a phone's download.
DOWNLOAD_LIMIT = 1.8 * 1024 * 1024


def folder_files(root):
    return sorted(os.path.relpath(os.path.join(d, f), root).replace(os.sep, "/")
                  for d, _, files in os.walk(root) for f in files)


def test_the_zip_holds_the_folder_with_index_html_at_its_top(release_dir):
    with zipfile.ZipFile(ZIP) as archive:
        names = [n for n in archive.namelist() if not n.endswith("/")]
        assert names == sorted(names)
        assert names == folder_files(release_dir)
        for name in names:
            with open(os.path.join(release_dir, name), "rb") as f:
                assert archive.read(name) == f.read(), name
    assert PAGE_FILES <= set(names)
    assert {"README.txt", "LICENSE.txt"} <= set(names)
    # The eight libraries' licences and the fonts'.
    assert len([n for n in names if n.startswith("licences/")]) == 9


def test_the_page_asks_no_other_host_and_the_download_is_small(release_dir):
    with open(os.path.join(release_dir, "index.html"), encoding="utf-8") as f:
        page = f.read()
    assert not re.search(r"""(src|href)\s*=\s*["']?(https?:)?//""", page)
    assert "@FILES@" not in page and "@VERSION@" not in page
    total = 0
    for name in PAGE_FILES:
        with open(os.path.join(release_dir, name), "rb") as f:
            total += len(gzip.compress(f.read(), 9))
    assert total <= DOWNLOAD_LIMIT


def test_the_manifest_and_the_service_worker_belong_to_this_release(release_dir):
    with open(os.path.join(release_dir, "manifest.webmanifest"), encoding="utf-8") as f:
        manifest = json.load(f)
    assert manifest["name"] == "Quimbo Harvo & Zelvä Dorpo"
    assert (manifest["background_color"], manifest["orientation"]) == ("#000000", "landscape")
    assert manifest["display"] in ("fullscreen", "standalone")
    for icon in manifest["icons"]:
        with Image.open(os.path.join(release_dir, icon["src"])) as picture:
            assert "%dx%d" % picture.size == icon["sizes"]
    assert sorted(icon["sizes"] for icon in manifest["icons"]) == ["192x192", "512x512"]
    with open(os.path.join(release_dir, "sw.js"), encoding="utf-8") as f:
        assert 'var CACHE = "quimbo-%s";' % project_version() in f.read()
