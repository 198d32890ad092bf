"""`make install` and `make uninstall`: the tree they put down, the desktop files, the man page,
the icons, and the installed game started the way the menu starts it.

QUIMBO_BUILD names the build folder that holds the game binary (default: build/).
"""

import os
import shutil
import stat
import subprocess
import sys

import pytest
from PIL import Image

from harness import PROJECT_ROOT
from harness.install import (APP_ID, ICON_SIZES, clean_env, desktop_entry, files_under, make,
                             project_version, run, start_like_the_menu)

BUILD = os.environ.get("QUIMBO_BUILD", os.path.join(PROJECT_ROOT, "build"))
DOCS = ("README.md", "LICENSE", "DejaVu-LICENSE.txt")


def expected_tree(prefix):
    """What an install under prefix (relative, without its leading slash) must hold, exactly."""
    tree = {
        prefix + "/bin/quimbo",
        prefix + "/lib/games/quimbo/quimbo",
        prefix + "/share/applications/%s.desktop" % APP_ID,
        prefix + "/share/metainfo/%s.metainfo.xml" % APP_ID,
        prefix + "/share/man/man6/quimbo.6",
    }
    tree |= {prefix + "/share/doc/quimbo/" + name for name in DOCS}
    tree |= {prefix + "/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID)
             for s in ICON_SIZES}
    tree |= {prefix + "/share/games/quimbo/Data/" + path
             for path in files_under(os.path.join(PROJECT_ROOT, "Data"))}
    return tree


@pytest.fixture(scope="module")
def staged(tmp_path_factory):
    """`make install DESTDIR=stage PREFIX=/usr`, as a package build does it."""
    stage = tmp_path_factory.mktemp("install") / "stage"
    make("install", "DESTDIR=%s" % stage, "PREFIX=/usr", build=BUILD)
    return str(stage)


def usr(stage, relative):
    return os.path.join(stage, "usr", relative)


def test_tree_holds_exactly_the_game_its_data_docs_and_desktop_files(staged):
    assert files_under(staged) == expected_tree("usr")
    data = os.path.join(PROJECT_ROOT, "Data")
    for relative in files_under(data):
        with open(os.path.join(data, relative), "rb") as a, \
                open(usr(staged, "share/games/quimbo/Data/" + relative), "rb") as b:
            assert a.read() == b.read(), relative + " differs from Data/"
    for relative, mode in (("bin/quimbo", 0o755), ("lib/games/quimbo/quimbo", 0o755),
                           ("share/games/quimbo/Data/Gfx/menu.PNG", 0o644),
                           ("share/applications/%s.desktop" % APP_ID, 0o644),
                           ("share/man/man6/quimbo.6", 0o644)):
        assert stat.S_IMODE(os.stat(usr(staged, relative)).st_mode) == mode, relative
    # The installed binary carries no debug information; the one in the build folder keeps it.
    sections = run(["readelf", "-S", "-W", usr(staged, "lib/games/quimbo/quimbo")]).stdout
    assert ".debug_info" not in sections and ".symtab" not in sections


def test_command_man_page_and_menu_name_the_prefix_never_the_staging_folder(staged):
    with open(usr(staged, "bin/quimbo")) as f:
        launcher = f.read()
    assert "cd '/usr/share/games/quimbo'" in launcher
    assert "exec '/usr/lib/games/quimbo/quimbo'" in launcher
    subprocess.run(["sh", "-n", usr(staged, "bin/quimbo")], check=True)
    with open(usr(staged, "share/man/man6/quimbo.6")) as f:
        man = f.read()
    assert "/usr/share/games/quimbo/Data" in man and "/usr/share/doc/quimbo" in man
    assert man.startswith('.TH QUIMBO 6 ') and '"Quimbo %s"' % project_version() in man
    entry = desktop_entry(usr(staged, "share/applications/%s.desktop" % APP_ID))
    assert entry["Exec"] == "/usr/bin/quimbo"
    for path in ("bin/quimbo", "share/man/man6/quimbo.6", "share/applications/%s.desktop" % APP_ID,
                 "share/metainfo/%s.metainfo.xml" % APP_ID):
        with open(usr(staged, path), encoding="utf-8") as f:
            text = f.read()
        assert staged not in text and "@" not in text.replace("<", " ").split("://")[0], path


def test_desktop_entry_and_metainfo_validate_with_nothing_reported(staged):
    desktop = usr(staged, "share/applications/%s.desktop" % APP_ID)
    result = run(["desktop-file-validate", desktop], check=False)
    assert (result.returncode, result.stdout + result.stderr) == (0, "")
    entry = desktop_entry(desktop)
    assert entry["Categories"] == "Game;ArcadeGame;"
    assert entry["Icon"] == APP_ID
    assert entry["Name"] == "Quimbo Harvo & Zelv\u00e4 Dorpo"
    metainfo = usr(staged, "share/metainfo/%s.metainfo.xml" % APP_ID)
    result = run(["appstreamcli", "validate", "--pedantic", "--no-net", "--no-color", metainfo],
                 check=False)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stdout.strip().splitlines() == ["\u2714 Validation was successful."], result.stdout
    with open(metainfo, encoding="utf-8") as f:
        text = f.read()
    assert '<launchable type="desktop-id">%s.desktop</launchable>' % APP_ID in text
    assert '<release version="%s"' % project_version() in text
    for shot in ("screen-running.png", "screen-menu.png"):
        assert shot in text and os.path.exists(os.path.join(PROJECT_ROOT, "docs", shot))


def test_man_page_renders_with_the_controls_and_no_warnings(staged):
    env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
    result = subprocess.run(["man", "--warnings", "-l", usr(staged, "share/man/man6/quimbo.6")],
                            capture_output=True, text=True, env=env)
    assert (result.returncode, result.stderr) == (0, "")
    for needed in ("QUIMBO(6)", "CONTROLS", "Arrow keys", "Space", "Left Ctrl", "P or Escape",
                   "Return or P", "Failed to initialize SDL_mixer}n", "ERROR opening image"):
        assert needed in result.stdout


def test_icons_fill_their_square_and_are_what_the_drawing_makes(staged, tmp_path):
    run([sys.executable, os.path.join(PROJECT_ROOT, "tools", "make_icons.py"),
         "--out", str(tmp_path)])
    for size in ICON_SIZES:
        relative = "%dx%d/apps/%s.png" % (size, size, APP_ID)
        with open(usr(staged, "share/icons/hicolor/" + relative), "rb") as f:
            installed = f.read()
        with open(os.path.join(tmp_path, relative), "rb") as f:
            assert installed == f.read(), "the committed %d icon is not what the drawing makes" \
                % size
        with Image.open(usr(staged, "share/icons/hicolor/" + relative)) as icon:
            assert (icon.size, icon.mode) == ((size, size), "RGBA")
            alpha = icon.getchannel("A")
            assert alpha.getpixel((0, 0)) == 0, "corner of the %d icon" % size
            left, top, right, bottom = alpha.point(lambda a: 255 if a >= 128 else 0).getbbox()
            spans = sorted(((right - left) / size, (bottom - top) / size))
            assert spans[1] >= 0.85 and spans[0] >= 0.70, (size, spans)


def test_unusual_prefixes_are_quoted_or_refused(tmp_path):
    stage = tmp_path / "stage"
    make("install", "DESTDIR=%s" % stage, "PREFIX=/opt/my games", build=BUILD)
    desktop = str(stage / "opt/my games/share/applications" / (APP_ID + ".desktop"))
    assert desktop_entry(desktop)["Exec"] == '"/opt/my games/bin/quimbo"'
    result = run(["desktop-file-validate", desktop], check=False)
    assert (result.returncode, result.stdout + result.stderr) == (0, "")
    # A quote would end a quoted folder name early in the Makefile or in the installed command,
    # a percent sign is a field code in a desktop entry: refused, and nothing written.
    for prefix in ("/opt/it's", "/opt/100%"):
        refused = make("install", "DESTDIR=%s" % (tmp_path / "other"), "PREFIX=" + prefix,
                       build=BUILD, check=False)
        assert refused.returncode != 0, prefix
        assert "without quotes" in " ".join((refused.stdout + refused.stderr).split()), prefix
        assert not (tmp_path / "other").exists(), prefix


def test_uninstall_removes_every_file_it_put_and_nothing_else(tmp_path):
    stage = tmp_path / "stage"
    # Someone else's files in the shared folders must survive.
    neighbours = ["usr/local/share/applications/other.desktop", "usr/local/bin/other",
                  "usr/local/share/games/other/data.txt", "usr/local/share/doc/other/README"]
    for relative in neighbours:
        (stage / relative).parent.mkdir(parents=True, exist_ok=True)
        (stage / relative).write_text("not the game's\n")
    make("install", "DESTDIR=%s" % stage, build=BUILD)
    assert files_under(str(stage)) == expected_tree("usr/local") | set(neighbours)
    make("uninstall", "DESTDIR=%s" % stage, build=BUILD)
    assert files_under(str(stage)) == set(neighbours)


def test_installed_game_starts_from_its_menu_entry_anywhere(tmp_path):
    """The menu entry's command, for a prefix whose bin/ is on no PATH, started from a folder
    that holds no Data/: it finds its data, its window is the entry's, and it writes nothing."""
    prefix = tmp_path / "prefix"
    elsewhere = tmp_path / "somewhere" / "else"
    elsewhere.mkdir(parents=True)
    make("install", "PREFIX=%s" % prefix, build=BUILD)
    start_like_the_menu(str(prefix / "share/applications" / (APP_ID + ".desktop")),
                        str(elsewhere), lambda game: None)
    assert os.listdir(elsewhere) == [], "the game wrote into its start folder"
    shutil.rmtree(prefix)


def test_installed_command_passes_on_a_failed_start_ups_status(tmp_path):
    # A quit from the menu ends with 0 (the menu-start test above); a game that cannot start
    # must end with 1 through the launcher too, for a desktop or a script to see.
    prefix = tmp_path / "prefix"
    make("install", "PREFIX=%s" % prefix, build=BUILD)
    failed = run([str(prefix / "bin" / "quimbo")], check=False,
                 env=clean_env(SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="nonexistent"))
    assert failed.returncode == 1, failed.stdout + failed.stderr
    assert failed.stderr.startswith("Failed to initialize SDL: "), failed.stderr
    assert failed.stdout == ""
