"""`make` as a user, `sudo make install`, then `make` and `make run` as the user again: every
step works and nothing in the build folder belongs to root.

Needs root (to be the root step and to act as the unprivileged user `nobody`); skipped with a
message otherwise. It works in a copy of the project's tracked files owned by `nobody`.
"""

import os
import pathlib
import pwd
import shutil
import tempfile

import pytest

from harness import RESET_LINE
from harness.install import clean_env, project_version, quit_from_the_menu, run
from harness.xsession import Session

USER = "nobody"
RUNUSER = shutil.which("runuser") or "/usr/sbin/runuser"

pytestmark = pytest.mark.skipif(os.geteuid() != 0, reason="needs root: it runs `make install` "
                                "as root and the builds as the user nobody (CI runs it as root)")


def as_user(*args, cwd):
    return run([RUNUSER, "-u", USER, "--"] + list(args), cwd=cwd, env=clean_env(HOME=str(cwd)))


def not_the_users(folder):
    return run(["find", folder, "!", "-user", USER]).stdout.split()


@pytest.fixture
def shared_tmp():
    """A folder the user can reach (pytest's own temporary folders are root's alone)."""
    folder = tempfile.mkdtemp(prefix="quimbo-user-root-")
    os.chmod(folder, 0o755)
    yield pathlib.Path(folder)
    shutil.rmtree(folder, ignore_errors=True)


def test_build_as_user_install_as_root_then_build_and_play_as_user(shared_tmp):
    tmp_path = shared_tmp
    run(["make", "--no-print-directory", "dist", "DIST_DIR=%s" % tmp_path])
    run(["tar", "-xzf", str(tmp_path / ("quimbo-%s.tar.gz" % project_version())), "-C",
         str(tmp_path)])
    clone = tmp_path / ("quimbo-%s" % project_version())
    nobody = pwd.getpwnam(USER)
    run(["chown", "-R", "%d:%d" % (nobody.pw_uid, nobody.pw_gid), str(clone)])
    build = str(clone / "build")

    as_user("make", cwd=clone)
    stage = tmp_path / "stage"
    run(["make", "--no-print-directory", "install", "DESTDIR=%s" % stage], cwd=clone)
    assert (stage / "usr/local/lib/games/quimbo/quimbo").exists()
    assert not_the_users(build) == []
    as_user("make", cwd=clone)

    # make run, as the user, in an X server of its own; Escape on the menu ends the game.
    with Session(RUNUSER, args=["-u", USER, "--", "make", "--no-print-directory", "run"],
                 data_root=str(clone), env={"HOME": str(clone), "MAKEFLAGS": ""}) as game:
        game.wait_for_output(RESET_LINE, timeout=300)
        game.game_window()
        status = quit_from_the_menu(game)
        assert "ERROR opening image" not in game.errors()
        assert status == 0
    assert not_the_users(build) == []
    assert run(["find", str(clone), "-user", "root"]).stdout == ""
