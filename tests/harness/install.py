"""What the install and package tests share: running the project's make, reading a desktop
entry, starting an installed game the way the menu does and ending it from the main menu."""

import os
import re
import shlex
import subprocess

from harness import PROJECT_ROOT, RESET_LINE
from harness.catalogue import start_up_output
from harness.xsession import DriverError, Session

START_UP_OUTPUT = start_up_output()

APP_ID = "net.quimbo.quimbo"
ICON_SIZES = (32, 48, 64, 128, 256)


def project_version():
    with open(os.path.join(PROJECT_ROOT, "CMakeLists.txt")) as f:
        return re.search(r"^project\(quimbo VERSION ([0-9.]+)", f.read(), re.M).group(1)


def clean_env(**extra):
    """The environment without anything a calling make passes down."""
    env = {k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}
    env.update(extra)
    return env


def run(args, cwd=PROJECT_ROOT, timeout=900, env=None, check=True):
    result = subprocess.run(args, cwd=cwd, env=env or clean_env(), stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise AssertionError("%s failed (%d):\n%s%s" % (" ".join(args), result.returncode,
                                                       result.stdout[-4000:],
                                                       result.stderr[-4000:]))
    return result


def make(*args, build=None, cwd=PROJECT_ROOT, check=True):
    """Runs the project's Makefile as a user would, with nothing inherited from a calling make."""
    build_args = ["BUILD=" + build] if build else []
    return run(["make", "--no-print-directory"] + build_args + list(args), cwd=cwd, check=check)


def files_under(root):
    """Every file (or symbolic link) below root, as paths relative to it."""
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def desktop_entry(path):
    with open(path, encoding="utf-8") as f:
        return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)


def exec_command(entry):
    """The Exec line as the argument list a desktop starts (no field codes are used)."""
    return shlex.split(entry["Exec"])


def wm_class(game, window):
    """The window's WM_CLASS as (instance, class), read from the X server."""
    out = game.x("xprop", "-id", str(window), "WM_CLASS")
    names = re.findall(r'"([^"]*)"', out)
    if len(names) != 2:
        raise DriverError("no WM_CLASS on window %d: %r" % (window, out))
    return tuple(names)


def quit_from_the_menu(game, tries=6):
    """Escape on the main menu ends the game. A press sent while the new window is still
    settling can be lost on a busy machine, so it is sent again until the game has ended;
    a second Escape on the menu does no harm."""
    for _ in range(tries):
        game.key("Escape")
        try:
            return game.wait_exit(timeout=20)
        except DriverError:
            continue
    raise DriverError("the game did not end after %d presses of Escape" % tries)


def start_like_the_menu(desktop_file, cwd, check):
    """Starts the game with the desktop entry's own Exec line from `cwd` in its own X server,
    checks its start-up, its window's WM_CLASS against StartupWMClass and a clean quit, and
    hands the session to `check` before it ends."""
    entry = desktop_entry(desktop_file)
    command = exec_command(entry)
    with Session(command[0], args=command[1:], data_root=cwd) as game:
        game.wait_for_output(RESET_LINE)
        window = game.game_window()
        instance, klass = wm_class(game, window)
        assert entry["StartupWMClass"] == klass, (entry["StartupWMClass"], instance, klass)
        check(game)
        status = quit_from_the_menu(game)
        assert game.output() == START_UP_OUTPUT
        assert "ERROR opening image" not in game.errors()
        assert status == 0
