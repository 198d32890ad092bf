"""The project's one list of data files, tools/catalogue.tsv, as Python objects.

    from harness import catalogue
    for entry in catalogue.pictures():      # in the order the game loads them
        print(entry.file, entry.frames, entry.width, entry.height)

Every suite that needs the list of pictures, sounds or fonts reads it here.
"""

import collections
import functools
import os

from harness import PROJECT_ROOT

CATALOGUE = os.path.join(PROJECT_ROOT, "tools", "catalogue.tsv")
KINDS = ("picture", "sound", "font")


class Entry(collections.namedtuple("Entry", "kind file frames width height")):
    """One data file. `file` is the path under Data/; frames, width and height are those of a
    picture's frames (0: not a sheet, or not fixed)."""

    @property
    def path(self):
        """The path the game opens, relative to its data root: "Data/Gfx/menu.PNG"."""
        return "Data/" + self.file

    @property
    def file_name(self):
        """The file's name without its folder: "menu.PNG"."""
        return os.path.basename(self.file)

    @property
    def name(self):
        """The file's name without folder and extension: "menu"."""
        return os.path.splitext(os.path.basename(self.file))[0]


@functools.lru_cache(maxsize=None)
def entries(path=CATALOGUE):
    """Every entry, in the file's order. A malformed line fails with its line number."""
    found = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 5 or fields[0] not in KINDS:
                raise ValueError("%s:%d: expected kind, file, frames, width, height: %r"
                                 % (path, number, line))
            found.append(Entry(fields[0], fields[1], *(int(f) for f in fields[2:])))
    return tuple(found)


def of_kind(kind):
    return [e for e in entries() if e.kind == kind]


def pictures():
    return of_kind("picture")


def sounds():
    return of_kind("sound")


def fonts():
    return of_kind("font")


def by_file_name():
    """Every entry by its file name ("menu.PNG", "aani4.wav")."""
    return {e.file_name: e for e in entries()}


def picture(name):
    """The picture entry with this name ("quimbo_normal")."""
    for entry in pictures():
        if entry.name == name:
            return entry
    raise KeyError("no picture %r in %s" % (name, CATALOGUE))


def start_up_output():
    """What the game prints on standard output when it starts: a line for each picture, in
    the catalogue's order, which is the order it loads them, then the first reset."""
    from harness import PICTURE_LOADED, RESET_LINE
    return "".join(PICTURE_LOADED % e.file + "\n" for e in pictures()) + RESET_LINE + "\n"
