#!/usr/bin/python3
"""Checks the DLLs of a Windows release folder, with the cross toolchain's objdump.

Every DLL that quimbo.exe or a bundled DLL imports must be in the folder or be part of
Windows itself, and every DLL in the folder must be needed: imported on the way from
quimbo.exe, or opened by name by a bundled DLL (sdl12-compat opens SDL2.dll when the game
starts, so no import table names it). Prints each file's imports and where they come from;
exits with status 1 on any missing or unneeded DLL.

    dllcheck.py FOLDER
"""

import os
import subprocess
import sys

OBJDUMP = "x86_64-w64-mingw32-objdump"

# DLLs every 64-bit Windows has in its system folder, lower case. The C runtime msvcrt.dll
# is one of them; the API sets (api-ms-win-*) are Windows' own too.
WINDOWS_DLLS = {
    "advapi32.dll", "cfgmgr32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "d3d9.dll",
    "d3d11.dll", "dinput8.dll", "dsound.dll", "dwmapi.dll", "dxgi.dll", "gdi32.dll",
    "hid.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll",
    "oleaut32.dll", "opengl32.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll", "xinput1_4.dll",
}

# DLLs that open another by name at run time, lower case: the opener and the DLL it opens.
OPENED_BY_NAME = {"sdl.dll": "sdl2.dll"}


def imports(path):
    """The DLL names in a file's import table, as written there."""
    out = subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, check=True)
    return [line.split("DLL Name:", 1)[1].strip() for line in out.stdout.splitlines()
            if "DLL Name:" in line]


def is_windows_dll(name):
    low = name.lower()
    return low in WINDOWS_DLLS or low.startswith("api-ms-win-")


def opens_by_name(opener, name):
    with open(opener, "rb") as f:
        return name.encode() in f.read()


def check(folder, exe="quimbo.exe"):
    """Returns (report lines, problems)."""
    bundled = {f.lower(): f for f in os.listdir(folder) if f.lower().endswith(".dll")}
    lines, problems = [], []
    needed, queue = set(), [exe]

    def need(low):
        if low not in needed:
            needed.add(low)
            queue.append(bundled[low])

    while queue:
        name = queue.pop(0)
        for dll in imports(os.path.join(folder, name)):
            low = dll.lower()
            if low in bundled:
                where = "in the folder"
                need(low)
            elif is_windows_dll(dll):
                where = "part of Windows"
            else:
                where = "MISSING"
                problems.append("%s imports %s, which is neither in the folder nor part of "
                                "Windows" % (name, dll))
            lines.append("%-16s imports %-22s %s" % (name, dll, where))
        opened = OPENED_BY_NAME.get(name.lower())
        if opened is None:
            continue
        if opened not in bundled:
            problems.append("%s opens %s, which is not in the folder" % (name, opened))
        elif not opens_by_name(os.path.join(folder, name), bundled[opened]):
            problems.append("%s no longer names %s" % (name, bundled[opened]))
        else:
            lines.append("%-16s opens   %-22s in the folder" % (name, bundled[opened]))
            need(opened)
    for low, name in sorted(bundled.items()):
        if low not in needed:
            problems.append("%s is in the folder but nothing needs it" % name)
    return lines, problems


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    lines, problems = check(argv[1])
    print("\n".join(lines))
    for problem in problems:
        print("dllcheck: " + problem, file=sys.stderr)
    if not problems:
        print("dllcheck: every imported DLL is in the folder or part of Windows, "
              "and every DLL in the folder is needed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
