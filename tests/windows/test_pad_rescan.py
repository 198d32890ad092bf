"""Pad rescans under Wine with the release's own SDL.dll and SDL2.dll: a pad plugged in later
appears at the next rescan, still sends its release when pulled out, and has gone at the one
after; SDL_Quit takes SDL2's joysticks down. packaging/windows/pad_rescan.c does the playing
(and prints what a rescan costs, which is not tested here)."""

import os
import re
import shutil
import subprocess

import pytest

import harness

PREFIX = os.path.join(harness.PROJECT_ROOT, "build-windows", "prefix")
PROGRAM = os.path.join(harness.PROJECT_ROOT, "packaging", "windows", "pad_rescan.c")


def test_pads_come_and_go_across_rescans(desk, unpacked):
    if not os.path.isfile(os.path.join(PREFIX, "lib", "libSDL.dll.a")):
        pytest.fail("%s has no SDL 1.2 import library: run make windows first" % PREFIX)
    folder = desk.drive_c("pad-rescan")
    os.makedirs(folder, exist_ok=True)
    for dll in ("SDL.dll", "SDL2.dll"):
        shutil.copy(os.path.join(unpacked, dll), folder)
    exe = os.path.join(folder, "pad_rescan.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-std=c99", "-O2", "-o", exe, PROGRAM,
                    "-I" + os.path.join(PREFIX, "include", "SDL"),
                    "-L" + os.path.join(PREFIX, "lib"), "-lSDL"], check=True)
    status, out, err = desk.wine(exe, "5", cwd=folder)
    out = out.replace("\r\n", "\n")
    print(out)
    assert status == 0, err[-2000:]
    after, before = map(int, re.search(r"plugged in: (\d+) pads after a rescan, (\d+) before",
                                       out).groups())
    assert after == before + 1
    assert "pressed: seen\npulled out: its release seen\n" in out
    assert "pulled out: %d pads after a rescan\n" % before in out
    assert out.endswith("after SDL_Quit: SDL2's joysticks down\n")
