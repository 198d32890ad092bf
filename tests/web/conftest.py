"""The web release under test, as `make web` leaves it in dist/, served on 127.0.0.1.

    release_dir   dist/quimbo-VERSION-web, the unpacked release
    site          that folder on a static file server for the whole run
    open_game     a function that opens the page in a fresh headless Chromium at a window
                  size (a phone's with touch=True) and waits for the start panel; closed
                  after the test
    linux_menu    the Linux build's main menu, from the real game in its own Xvfb
"""

import os

import pytest

from chromium import RELEASE_DIR, Browser, Release


@pytest.fixture(scope="session")
def release_dir():
    if not os.path.isfile(os.path.join(RELEASE_DIR, "index.html")):
        pytest.fail("%s is missing: run make web first" % RELEASE_DIR)
    return RELEASE_DIR


@pytest.fixture(scope="session")
def site(release_dir):
    with Release(release_dir) as served:
        yield served


@pytest.fixture
def open_game(site):
    opened = []

    def open_(width=1024, height=768, url=None, ready=True, touch=False):
        # A phone or tablet: touch, at a phone's device pixel ratio.
        browser = Browser(width, height, touch, 2.625 if touch else 1).__enter__()
        opened.append(browser)
        browser.open(url or site.url)
        if ready:
            browser.wait_for("quimbo.state === 'ready'", what="the start panel")
        return browser
    yield open_
    for browser in opened:
        browser.close()


@pytest.fixture(scope="session")
def linux_menu(game_binary, data_root, game_data):
    from harness import RESET_LINE, moves
    from harness.xsession import Session
    with Session(game_binary, data_root=data_root) as game:
        game.wait_for_output(RESET_LINE)
        return moves.menu_shown(game, game_data)
