"""`make install` and `make uninstall`: the tree they put down, the desktop files, the man page,
and the installed game started from an unrelated folder in its own X server.

QUIMBO_BUILD names the build folder that holds the game binary (default: build/).
"""

import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "window"))
sys.path.insert(0, os.path.join(HERE, "..", "startup"))
from driver import PROJECT_ROOT, DriverError, Session  # noqa: E402
from test_startup import RESET_LINE, START_UP_OUTPUT  # noqa: E402

from PIL import Image  # noqa: E402

BUILD = os.environ.get("QUIMBO_BUILD", os.path.join(PROJECT_ROOT, "build"))
APP_ID = "net.quimbo.Quimbo"
ICON_SIZES = (32, 48, 64, 128, 256)


def make(*args):
    """Runs the project's Makefile as a user would, with nothing inherited from a calling make."""
    env = {k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}
    result = subprocess.run(["make", "--no-print-directory", "-C", PROJECT_ROOT, "BUILD=" + BUILD]
                            + list(args), env=env, stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        raise AssertionError("make %s failed:\n%s%s" % (" ".join(args), result.stdout,
                                                       result.stderr))
    return result


def files_under(root):
    """Every file below root, as paths relative to it."""
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def expected_tree(prefix):
    """What an install under prefix (relative, without its leading slash) must hold, exactly."""
    tree = {
        prefix + "/bin/quimbo",
        prefix + "/lib/games/quimbo/quimbo",
        prefix + "/share/applications/%s.desktop" % APP_ID,
        prefix + "/share/metainfo/%s.metainfo.xml" % APP_ID,
        prefix + "/share/man/man6/quimbo.6",
    }
    tree |= {prefix + "/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID)
             for s in ICON_SIZES}
    tree |= {prefix + "/share/games/quimbo/Data/" + path
             for path in files_under(os.path.join(PROJECT_ROOT, "Data"))}
    return tree


class StagedInstall(unittest.TestCase):
    """`make install DESTDIR=stage PREFIX=/usr`, as a package build does it."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="quimbo-install-")
        cls.stage = os.path.join(cls.tmp, "stage")
        make("install", "DESTDIR=" + cls.stage, "PREFIX=/usr")
        cls.usr = os.path.join(cls.stage, "usr")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def path(self, relative):
        return os.path.join(self.usr, relative)

    def test_tree_holds_exactly_the_game_its_data_and_desktop_files(self):
        self.assertEqual(files_under(self.stage), expected_tree("usr"))
        data = os.path.join(PROJECT_ROOT, "Data")
        for relative in files_under(data):
            with open(os.path.join(data, relative), "rb") as a, \
                    open(self.path("share/games/quimbo/Data/" + relative), "rb") as b:
                self.assertTrue(a.read() == b.read(), relative + " differs from Data/")
        for relative, mode in (("bin/quimbo", 0o755), ("lib/games/quimbo/quimbo", 0o755),
                               ("share/games/quimbo/Data/Gfx/menu.PNG", 0o644),
                               ("share/man/man6/quimbo.6", 0o644)):
            self.assertEqual(stat.S_IMODE(os.stat(self.path(relative)).st_mode), mode, relative)

    def test_launcher_names_the_prefix_and_never_the_staging_folder(self):
        with open(self.path("bin/quimbo")) as f:
            text = f.read()
        self.assertIn("cd '/usr/share/games/quimbo'", text)
        self.assertIn("exec '/usr/lib/games/quimbo/quimbo'", text)
        self.assertNotIn("@", text)
        self.assertNotIn(self.stage, text)
        subprocess.run(["sh", "-n", self.path("bin/quimbo")], check=True)
        with open(self.path("share/man/man6/quimbo.6")) as f:
            man = f.read()
        self.assertIn("/usr/share/games/quimbo/Data", man)
        self.assertNotIn("/usr/local", man)

    def test_desktop_entry_validates_and_matches_the_command_and_icon(self):
        desktop = self.path("share/applications/%s.desktop" % APP_ID)
        result = subprocess.run(["desktop-file-validate", desktop], capture_output=True,
                                text=True)
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        with open(desktop, encoding="utf-8") as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertEqual(entry["Categories"], "Game;ArcadeGame;")
        self.assertEqual(entry["Exec"], "quimbo")
        self.assertEqual(entry["Icon"], APP_ID)
        self.assertEqual(entry["Name"], "Quimbo Harvo & Zelv\u00e4 Dorpo")

    def test_metainfo_validates_and_launches_the_desktop_entry(self):
        metainfo = self.path("share/metainfo/%s.metainfo.xml" % APP_ID)
        result = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(metainfo, encoding="utf-8") as f:
            text = f.read()
        self.assertIn('<launchable type="desktop-id">%s.desktop</launchable>' % APP_ID, text)
        self.assertIn("<binary>quimbo</binary>", text)

    def test_man_page_renders_with_the_controls_and_no_warnings(self):
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
        result = subprocess.run(["man", "--warnings", "-l", self.path("share/man/man6/quimbo.6")],
                                capture_output=True, text=True, env=env)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        page = result.stdout
        for needed in ("QUIMBO(6)", "CONTROLS", "Arrow keys", "Space", "Left Ctrl",
                       "P or Escape", "Return or P", "Failed to initialize SDL_mixer}n",
                       "ERROR opening image"):
            self.assertIn(needed, page)

    def test_icons_are_square_and_transparent_round_the_magician(self):
        for size in ICON_SIZES:
            with Image.open(self.path("share/icons/hicolor/%dx%d/apps/%s.png"
                                      % (size, size, APP_ID))) as icon:
                self.assertEqual(icon.size, (size, size))
                rgba = icon.convert("RGBA")
                alpha = rgba.getchannel("A")
                self.assertEqual(alpha.getpixel((0, 0)), 0, "corner of the %d icon" % size)
                # The magician on his carpet is wider than tall, so he fills a band of the square.
                self.assertGreater(sum(1 for a in alpha.getdata() if a == 255), size * size // 16)
                # The colour key is gone: no pure green is left where the icon shows.
                self.assertFalse(any(px[:3] == (0, 255, 0) and px[3] > 0
                                     for px in rgba.getdata()), "green in the %d icon" % size)


class Uninstall(unittest.TestCase):
    def test_removes_every_file_it_put_and_nothing_else(self):
        tmp = tempfile.mkdtemp(prefix="quimbo-uninstall-")
        try:
            stage = os.path.join(tmp, "stage")
            # Someone else's files in the shared folders must survive.
            neighbours = ["usr/local/share/applications/other.desktop", "usr/local/bin/other",
                          "usr/local/share/games/other/data.txt"]
            for relative in neighbours:
                os.makedirs(os.path.dirname(os.path.join(stage, relative)), exist_ok=True)
                with open(os.path.join(stage, relative), "w") as f:
                    f.write("not the game's\n")
            make("install", "DESTDIR=" + stage)
            self.assertEqual(files_under(stage), expected_tree("usr/local") | set(neighbours))
            make("uninstall", "DESTDIR=" + stage)
            self.assertEqual(files_under(stage), set(neighbours))
        finally:
            shutil.rmtree(tmp, ignore_errors=True)


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


class InstalledGameStarts(unittest.TestCase):
    """The installed command, started from a folder that holds no Data/, finds its data."""

    def test_starts_from_anywhere_loads_everything_and_quits_with_escape(self):
        tmp = tempfile.mkdtemp(prefix="quimbo-installed-")
        try:
            prefix = os.path.join(tmp, "prefix")
            elsewhere = os.path.join(tmp, "somewhere", "else")
            os.makedirs(elsewhere)
            make("install", "PREFIX=" + prefix)
            with Session(os.path.join(prefix, "bin", "quimbo"), data_root=elsewhere) as game:
                game.wait_for_output(RESET_LINE)
                game.game_window()
                status = quit_from_the_menu(game)
                self.assertEqual(game.output(), START_UP_OUTPUT)
                self.assertNotIn("ERROR opening image", game.errors())
                self.assertEqual(status, 0)
            self.assertEqual(os.listdir(elsewhere), [], "the game wrote into its start folder")
        finally:
            shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
