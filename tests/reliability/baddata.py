"""The game against damaged data: every data file missing, empty, cut in half, replaced by random
bytes or by a valid file of another kind, and the whole Data directory missing.

Each case copies Data/ into a temporary directory, damages it, and runs the real game there in
its own Xvfb: the menu, a game started with a click, a few seconds of play, Escape back to the
shell. The game must end by itself with status 0 and write on standard error only the line
that names an unreadable picture (nothing at all for a sound or a font): the PNG decoder's own
diagnosis of a damaged picture is kept off the player's terminal.

Every test run covers a representative part of the matrix (one of each damage on each kind of
file, and Data/ missing); with QUIMBO_BADDATA=all it covers all of it (`make baddata-matrix`).
The game is $QUIMBO_BIN and the intact data the one under $QUIMBO_DATA_ROOT, as in every suite:

    QUIMBO_BIN=build/quimbo python3 -m pytest tests/reliability/baddata.py   # the representative part
    QUIMBO_BADDATA=all python3 -m pytest tests/reliability/baddata.py -k Sound  # the matrix's sounds
    python3 -m pytest --collect-only -q tests/reliability/baddata.py           # the list of cases
"""

import os
import random
import shutil
import tempfile
import traceback

import pytest

from harness import RESET_LINE, catalogue
from harness.xsession import Session
from session import short_session

PICTURE_FILES = [e.path for e in catalogue.pictures()]
DATA_FILES = [e.path for e in catalogue.entries()]

FAULTS = ("missing", "empty", "truncated", "random", "other-kind")

# One of each kind of damage on each kind of file, and the whole directory gone: the part of the
# matrix that every test run covers unless QUIMBO_BADDATA is "all".
REPRESENTATIVE = [
    ("Data/Gfx/quimbo_normal.PNG", "missing"),
    ("Data/Gfx/birdr_normal.PNG", "truncated"),
    ("Data/Gfx/taustakuva.PNG", "random"),
    ("Data/Gfx/menu.PNG", "other-kind"),
    ("Data/Gfx/pause.PNG", "empty"),
    ("Data/Sound/aani4.wav", "truncated"),
    ("Data/Sound/boost.wav", "random"),
    ("Data/Sound/aww.wav", "other-kind"),
    ("Data/Sound/slime.wav", "empty"),
    ("Data/Fonts/verdana.ttf", "truncated"),
    ("Data/Fonts/verdanab.ttf", "random"),
    ("Data/Fonts/verdana.ttf", "other-kind"),
    ("Data", "missing"),
]


def all_cases():
    return [(f, fault) for f in DATA_FILES for fault in FAULTS] + [("Data", "missing")]


def other_kind(path):
    """A valid file of another kind for this slot: a sound for a picture, a picture for a
    sound, a sound for a font."""
    if path.endswith(".PNG") or path.endswith(".ttf"):
        return "Data/Sound/aani1.wav"
    return "Data/Gfx/cursor.PNG"


def damage(root, path, fault):
    target = os.path.join(root, path)
    if path == "Data":
        shutil.rmtree(target)
        return
    original = open(target, "rb").read()
    if fault == "missing":
        os.remove(target)
        return
    if fault == "empty":
        data = b""
    elif fault == "truncated":
        data = original[: len(original) // 2]
    elif fault == "random":
        data = random.Random(path).randbytes(len(original))
    else:
        data = open(os.path.join(root, other_kind(path)), "rb").read()
    with open(target, "wb") as out:
        out.write(data)


def expected_errors(path):
    if path == "Data":
        return "".join("ERROR opening image %s\n" % p for p in PICTURE_FILES)
    if path in PICTURE_FILES:
        return "ERROR opening image %s\n" % path
    return ""


def run_case(binary, data_source, path, fault, wrapper=(), timeout=90.0):
    """Runs one case; returns None when it passed, else what went wrong."""
    work = tempfile.mkdtemp(prefix="quimbo-baddata-")
    try:
        shutil.copytree(os.path.join(data_source, "Data"), os.path.join(work, "Data"))
        damage(work, path, fault)
        with Session(binary, work, wrapper=wrapper) as game:
            try:
                status = short_session(game, timeout=timeout)
            except Exception as exc:  # the session's own words say what was not reached
                return "%s; stderr: %r" % (exc, game.errors()[-400:])
            errors = game.errors()
            output = game.output()
        problems = []
        if status != 0:
            problems.append("exit status %r" % status)
        if errors != expected_errors(path):
            problems.append("stderr %r" % errors[-600:])
        pictures_left = 0 if path == "Data" else len(PICTURE_FILES) - (path in PICTURE_FILES)
        if output.count("loaded successfully!") != pictures_left:
            problems.append("%d pictures loaded, %d expected"
                            % (output.count("loaded successfully!"), pictures_left))
        if output.count(RESET_LINE) < 2:
            problems.append("no game was started")
        return "; ".join(problems) or None
    except Exception:
        return traceback.format_exc()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def cases():
    return all_cases() if os.environ.get("QUIMBO_BADDATA") == "all" else REPRESENTATIVE


@pytest.mark.parametrize("path, fault", cases())
def test_damaged_data_is_said_and_the_game_plays_on(game_binary, data_root, path, fault):
    if not os.path.isdir(os.path.join(data_root, "Data")):
        pytest.fail("no Data/ under %s: nothing to damage" % data_root)
    problem = run_case(game_binary, data_root, path, fault)
    assert problem is None, problem
