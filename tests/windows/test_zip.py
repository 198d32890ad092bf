"""What the Windows zip holds, checked without running it."""

import io
import tarfile
import os
import zipfile

from PIL import Image

import dllcheck
import sources
from harness import PROJECT_ROOT as ROOT
from harness.install import project_version as version

LIBRARY_DLLS = {"SDL.dll", "SDL2.dll", "SDL_image.dll", "SDL_mixer.dll", "SDL_ttf.dll",
                "libpng16.dll", "zlib1.dll", "libfreetype.dll"}


def data_files():
    found = set()
    for folder, _, files in os.walk(os.path.join(ROOT, "Data")):
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), ROOT).replace(os.sep, "/"))
    return found


def test_zip_holds_the_game_its_dlls_data_readme_and_every_licence(release_zip):
    with zipfile.ZipFile(release_zip) as archive:
        # The files stand at the zip's top, quimbo.exe among them.
        names = {n for n in archive.namelist() if not n.endswith("/")}
        licences = {"licences/%s-%s.txt" % (e["name"], e["version"])
                    for e in sources.read_list()}
        want = ({"quimbo.exe", "README.txt", "LICENSE.txt"} | LIBRARY_DLLS | licences
                | data_files())
        assert names == want
        # The data travel unchanged.
        for name in data_files():
            with open(os.path.join(ROOT, name), "rb") as original:
                assert archive.read(name) == original.read(), name
        readme = archive.read("README.txt").decode("utf-8-sig")
        assert version() in readme and "@" not in readme
        assert "\r\n" in readme  # Notepad's line ends


def test_every_imported_dll_is_bundled_or_part_of_windows_and_none_is_extra(unpacked):
    lines, problems = dllcheck.check(unpacked)
    assert problems == []
    # The picture library must read PNG through the bundled libpng, not quietly without it.
    assert any(l.split()[:3] == ["SDL_image.dll", "imports", "libpng16.dll"] for l in lines)


def test_exe_carries_the_game_icon_and_its_version(unpacked):
    with open(os.path.join(unpacked, "quimbo.exe"), "rb") as f:
        exe = f.read()
    assert ("ProductVersion\0" + version()).encode("utf-16-le") in exe
    # The icon's large picture is stored as a PNG inside the resources.
    icon = Image.open(os.path.join(ROOT, "packaging", "icons", "256x256", "apps",
                                   "net.quimbo.quimbo.png")).convert("RGBA")
    start = exe.find(b"\x89PNG\r\n\x1a\n")
    found = False
    while start >= 0 and not found:
        try:
            found = Image.open(io.BytesIO(exe[start:])).convert("RGBA").tobytes() == icon.tobytes()
        except OSError:
            pass
        start = exe.find(b"\x89PNG\r\n\x1a\n", start + 1)
    assert found, "the 256-pixel icon is not in quimbo.exe"


def test_pinned_sources_check_their_contents_not_their_compression(tmp_path):
    # The same files packed twice, with other compression and another top folder, check the
    # same; a changed byte does not.
    for n, (top, data, mode) in enumerate([("a-1", b"x", "w:gz"), ("b-1", b"x", "w:xz"),
                                           ("a-1", b"y", "w:gz")]):
        path = tmp_path / ("%d.tar" % n)
        with tarfile.open(path, mode) as tar:
            info = tarfile.TarInfo(top + "/f.txt")
            info.size, info.mtime = len(data), n
            tar.addfile(info, io.BytesIO(data))
    sums = [sources.contents_checksum(tmp_path / ("%d.tar" % n)) for n in range(3)]
    assert sums[0] == sums[1] != sums[2]
