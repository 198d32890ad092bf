"""The installer under Wine: a silent install, the installed game started the way its
shortcut starts it, and a silent uninstall that takes every installed file away."""

import os

import pytest

import wine
from wine import INSTALLER
from test_wine import menu_shown

NAME = "Quimbo Harvo & Zelvä Dorpo"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quimbo"


def tree(folder):
    return {os.path.relpath(os.path.join(d, f), folder)
            for d, _, files in os.walk(folder) for f in files}


@pytest.fixture(scope="module")
def installer():
    if not os.path.isfile(INSTALLER):
        pytest.fail("%s is missing: run make windows first" % INSTALLER)
    return INSTALLER


def test_silent_install_starts_the_game_and_uninstall_removes_every_file(desk, unpacked,
                                                                         installer):
    status, _, err = desk.wine(installer, "/S", timeout=300)
    assert status == 0, err
    desk.wineserver("-w", timeout=300)
    target = desk.drive_c("Program Files", "Quimbo")
    menu = desk.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", NAME)
    assert tree(target) == tree(unpacked) | {"uninstall.exe"}
    assert sorted(os.listdir(menu)) == sorted([NAME + ".lnk", "Uninstall.lnk"])
    status, listing, _ = desk.wine("reg", "query", UNINSTALL_KEY)
    assert status == 0 and "uninstall.exe" in listing  # listed in Settings > Apps

    # The shortcut starts the game in its own folder.
    with wine.WineGame(desk, os.path.join(target, "quimbo.exe"), cwd=target) as game:
        game.wait_for_screen(menu_shown, "the installed game's menu")
        desk.key("Escape")
        assert game.wait_exit(15) == 0

    # The uninstaller copies itself away and returns at once; its copy is waited for.
    status, _, err = desk.wine(os.path.join(target, "uninstall.exe"), "/S", timeout=300)
    assert status == 0, err
    desk.wineserver("-w", timeout=300)
    assert not os.path.exists(target)
    assert not os.path.exists(menu)
    assert desk.wine("reg", "query", UNINSTALL_KEY)[0] != 0
