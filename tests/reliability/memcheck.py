"""Valgrind's memcheck over a whole scripted session of the real game in Xvfb: the menu, play,
the pause, the game given up, the menu, the high-score table and the quit.

Fails on any invalid read, write or free, wherever it happens (valgrind.supp names the known
false reports of the system), and on memory definitely lost by the game's own code. Other
findings (uninitialised values inside the system libraries, their own leaks) are counted and
shown, not failed.

    memcheck.py --binary build/quimbo
"""

import argparse
import os
import shutil
import sys
import tempfile
import xml.etree.ElementTree as ET

# A command, not a test module: the shared helpers are in tests/.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import PROJECT_ROOT  # noqa: E402
from harness.screens import Data  # noqa: E402
from harness.xsession import Session  # noqa: E402
from session import full_session  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
OUR_CODE = os.path.join(PROJECT_ROOT, "src")
INVALID = ("InvalidRead", "InvalidWrite", "InvalidFree", "MismatchedFree", "Overlap",
           "InvalidJump", "InvalidMemPool")


def frames(error):
    for frame in error.iter("frame"):
        yield (frame.findtext("fn") or "?", frame.findtext("dir") or "",
               frame.findtext("file") or "", frame.findtext("line") or "",
               frame.findtext("obj") or "")


# Library calls that hand what they allocate to the caller: a leak under one of them is ours.
OWNED_BY_CALLER = ("SDL_CreateRGBSurface", "SDL_DisplayFormat", "SDL_ConvertSurface", "IMG_Load",
                   "TTF_OpenFont", "TTF_Render", "Mix_LoadWAV", "SDL_RWFrom", "SDL_LoadBMP")
ALLOCATORS = ("malloc", "calloc", "realloc", "operator new", "operator new[]", "memalign",
              "posix_memalign")


def ours(error, binary):
    """Memory lost by the game: allocated directly by its code, or handed to it by a library
    call that gives the caller the ownership. Memory that a library allocated for itself on
    the way through one of our calls (SDL's D-Bus link made during SDL_Init) is not."""
    stack = [f for f in frames(error) if not f[0].startswith(ALLOCATORS)]
    if stack and (stack[0][1].startswith(OUR_CODE) or stack[0][4] == binary):
        return True
    return any(fn.startswith(OWNED_BY_CALLER) for fn, _, _, _, _ in stack)


def describe(error):
    text = error.findtext("what") or error.findtext("xwhat/text") or error.findtext("kind")
    stack = ["    %s %s" % (fn, "%s/%s:%s" % (d, f, l) if f else obj)
             for fn, d, f, l, obj in list(frames(error))[:12]]
    return "\n".join([text] + stack)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", default=os.path.join(PROJECT_ROOT, "build", "quimbo"))
    parser.add_argument("--keep", help="also copy valgrind's XML report here")
    opts = parser.parse_args()

    work = tempfile.mkdtemp(prefix="quimbo-memcheck-")
    report = os.path.join(work, "memcheck.xml")
    wrapper = ["/usr/bin/valgrind", "--tool=memcheck", "--leak-check=full",
               "--show-leak-kinds=definite", "--errors-for-leak-kinds=definite",
               "--num-callers=40", "--child-silent-after-fork=yes",
               "--suppressions=" + os.path.join(HERE, "valgrind.supp"),
               "--log-file=" + os.path.join(work, "memcheck.log"),
               "--xml=yes", "--xml-file=" + report]
    data = Data(PROJECT_ROOT)
    try:
        with Session(opts.binary, PROJECT_ROOT, wrapper=wrapper) as game:
            status = full_session(game, data, play_seconds=20.0, timeout=900.0)
            errors = game.errors()
        if opts.keep:
            shutil.copy(report, opts.keep)
        root = ET.parse(report).getroot()
    finally:
        data.close()
        shutil.rmtree(work, ignore_errors=True)

    binary = os.path.realpath(opts.binary)
    failures, noted = [], {}
    for error in root.findall("error"):
        kind = error.findtext("kind")
        if kind in INVALID or (kind.startswith("Leak_Definitely") and ours(error, binary)):
            failures.append(describe(error))
        else:
            noted[kind] = noted.get(kind, 0) + 1
    print("memcheck session: exit status %r, %d failing findings; other findings by kind: %r"
          % (status, len(failures), noted))
    for failure in failures:
        print(failure)
    if errors:
        print("standard error of the game: %r" % errors[-1000:])
    return 0 if status == 0 and not failures and not errors else 1


if __name__ == "__main__":
    sys.exit(main())
