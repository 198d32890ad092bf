"""What the Python suites share: where the game and its data are, the lines it prints, and
helpers to run it (xsession), read its catalogue of data files (catalogue), look at its screens
(screens), check what it writes on them (text), and install and package it (install).

pytest.ini at the project root puts tests/ on the import path for every pytest run, so a suite
imports these as `from harness import xsession`; a script run on its own (a tool that is also
a command) puts tests/ on its path itself. Importing this package costs nothing: it reads
no file and starts nothing.
"""

import os

PROJECT_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# What the game prints on standard output.
RESET_LINE = "Game succesfully reseted"
TAIKO_LINE = "Quimbo taiko!"
PICTURE_LOADED = "Image Data/%s loaded successfully!"

# The game's screen.
SCREEN_W, SCREEN_H = 1024, 768


class MissingPiece(AssertionError):
    """A file the tests need is not there: a failure that names it, never a skip."""


def game_binary():
    """The game under test: $QUIMBO_BIN (CTest sets it), else build/quimbo in the project."""
    path = os.environ.get("QUIMBO_BIN") or os.path.join(PROJECT_ROOT, "build", "quimbo")
    if not os.access(path, os.X_OK):
        raise MissingPiece("no game binary at %s (build it, or set QUIMBO_BIN)" % path)
    return path


def data_root():
    """The folder the tests run the game in, which holds Data/: $QUIMBO_DATA_ROOT, else the
    project."""
    return os.environ.get("QUIMBO_DATA_ROOT") or PROJECT_ROOT
