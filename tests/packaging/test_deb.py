"""The Debian package: `make deb` builds it and lintian finds no error or warning in it; it
installs with apt, its menu entry's command starts the game from /, and a purge takes every
one of its files away.

Installing and purging need root; those steps skip with a message otherwise (CI runs as root).
"""

import os
import subprocess

import pytest

from harness.install import APP_ID, make, project_version, run, start_like_the_menu

# What playing needs, and what only the tests and tools need: the package must not pull these.
TEST_RIG = ("googletest", "libgtest", "xvfb", "xdotool", "imagemagick", "python3", "strace",
            "valgrind", "x11-utils", "lintian", "debhelper", "-dev")


@pytest.fixture(scope="module")
def package(tmp_path_factory):
    """`make deb` into a folder of its own; it fails when lintian reports an error or warning."""
    folder = tmp_path_factory.mktemp("deb")
    out = folder / "deb"
    before = run(["git", "status", "--porcelain"]).stdout
    built = make("deb", "DEB_DIR=%s" % out, "DIST_DIR=%s" % (folder / "dist"))
    assert run(["git", "status", "--porcelain"]).stdout == before, "make deb changed the tree"
    return out, built.stdout


def deb_path(out):
    return str(out / ("quimbo_%s_amd64.deb" % project_version()))


def test_package_is_lintian_clean_and_depends_on_what_playing_needs(package):
    out, log = package
    assert not any(line[:3] in ("E: ", "W: ") for line in log.splitlines()), log
    for source_file in ("quimbo_%s.dsc", "quimbo_%s.tar.xz"):
        assert (out / (source_file % project_version())).exists()
    depends = run(["dpkg-deb", "-f", deb_path(out), "Depends"]).stdout
    names = [alternative.split()[0] for field in depends.split(",")
             for alternative in field.split("|")]
    for needed in ("libsdl1.2-compat-shim", "libsdl-image1.2", "libsdl-mixer1.2",
                   "libsdl-ttf2.0-0"):
        assert needed in names, depends
    assert not [n for n in names for rig in TEST_RIG if rig in n], depends
    contents = run(["dpkg-deb", "-c", deb_path(out)]).stdout
    for path in ("./usr/games/quimbo", "./usr/lib/games/quimbo/quimbo",
                 "./usr/share/games/quimbo/Data/Gfx/menu.PNG",
                 "./usr/share/applications/%s.desktop" % APP_ID,
                 "./usr/share/metainfo/%s.metainfo.xml" % APP_ID,
                 "./usr/share/icons/hicolor/256x256/apps/%s.png" % APP_ID,
                 "./usr/share/man/man6/quimbo.6.gz", "./usr/share/doc/quimbo/copyright"):
        assert " %s\n" % path in contents + "\n", path


# Another apt run (an unattended upgrade) may hold the package manager's lock for a while.
WAIT_FOR_LOCK = ["-o", "DPkg::Lock::Timeout=300"]


def installed(name):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status}", name], capture_output=True,
                            text=True)
    return result.returncode == 0 and "installed" in result.stdout.split()[-1:]


def package_files(deb):
    """The files (not folders) the package puts down, as absolute paths."""
    names = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
    return [line.split(None, 5)[5].lstrip(".") for line in names if not line.startswith("d")]


@pytest.mark.skipif(os.geteuid() != 0, reason="needs root: it installs and purges the package "
                    "with apt-get (CI runs it as root)")
def test_installs_starts_from_its_menu_entry_and_purges_without_a_trace(package):
    if installed("quimbo"):
        pytest.skip("quimbo is installed on this machine already; the test would purge it")
    out, _ = package
    deb = deb_path(out)
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    try:
        subprocess.run(["apt-get", *WAIT_FOR_LOCK, "install", "-y", "-q", deb], check=True,
                       env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=600)
        files = package_files(deb)
        assert all(os.path.lexists(path) for path in files)
        start_like_the_menu("/usr/share/applications/%s.desktop" % APP_ID, "/",
                            lambda game: None)
    finally:
        subprocess.run(["apt-get", *WAIT_FOR_LOCK, "purge", "-y", "-q", "quimbo"], env=env,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=600)
    assert not installed("quimbo")
    assert [path for path in files if os.path.lexists(path)] == []
    for folder in ("/usr/lib/games/quimbo", "/usr/share/games/quimbo", "/usr/share/doc/quimbo"):
        assert not os.path.exists(folder), folder
