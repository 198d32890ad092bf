"""The release under test and the Wine desk it runs in, shared by the Windows tests.

The release is dist/quimbo-VERSION-windows-x64.zip (and its installer), as `make windows`
leaves them; the version is the one in CMakeLists.txt. The zip is unpacked once into a
temporary folder; one Xvfb and one throwaway Wine prefix serve every test.
"""

import os
import shutil
import tempfile
import zipfile

import pytest

from wine import RELEASE, ZIP, WineDesk


@pytest.fixture(scope="session")
def release_zip():
    if not os.path.isfile(ZIP):
        pytest.fail("%s is missing: run make windows first" % ZIP)
    return ZIP


@pytest.fixture(scope="session")
def unpacked(release_zip):
    """The release folder, unpacked from the zip as a player would: Windows' "Extract All"
    puts the zip's files into a folder named after it."""
    scratch = tempfile.mkdtemp(prefix="quimbo-zip-")
    with zipfile.ZipFile(release_zip) as archive:
        archive.extractall(os.path.join(scratch, RELEASE))
    yield os.path.join(scratch, RELEASE)
    shutil.rmtree(scratch, ignore_errors=True)


@pytest.fixture(scope="session")
def desk():
    with WineDesk() as made:
        print("Wine prefix set up in %.0f s" % made.boot_seconds)
        yield made
