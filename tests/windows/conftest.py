"""The release under test and the Wine desk it runs in, shared by the Windows tests.

The release is dist/quimbo-VERSION-windows-x64.zip (and its installer), as `make windows`
leaves them; the version is the one in CMakeLists.txt. The zip is unpacked once into a
temporary folder; one Xvfb and one throwaway Wine prefix serve every test.
"""

import os
import re
import shutil
import sys
import tempfile
import zipfile

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tools", "windows"))

from wine import WineDesk  # noqa: E402


def version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"^project\(quimbo VERSION ([0-9.]+)", f.read(), re.M).group(1)


RELEASE = "quimbo-%s-windows-x64" % version()
ZIP = os.path.join(ROOT, "dist", RELEASE + ".zip")
INSTALLER = os.path.join(ROOT, "dist", RELEASE + "-setup.exe")


@pytest.fixture(scope="session")
def release_zip():
    if not os.path.isfile(ZIP):
        pytest.fail("%s is missing: run make windows first" % ZIP)
    return ZIP


@pytest.fixture(scope="session")
def unpacked(release_zip):
    """The release folder, unpacked from the zip as a player would."""
    scratch = tempfile.mkdtemp(prefix="quimbo-zip-")
    with zipfile.ZipFile(release_zip) as archive:
        archive.extractall(scratch)
    yield os.path.join(scratch, RELEASE)
    shutil.rmtree(scratch, ignore_errors=True)


@pytest.fixture(scope="session")
def desk():
    with WineDesk() as made:
        print("Wine prefix set up in %.0f s" % made.boot_seconds)
        yield made
