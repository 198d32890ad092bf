"""The game writes nothing: a whole scripted session of the real game, in a real X window, under
strace, with every file-creating or file-writing call of the game and of any process it starts
collected. Devices (/dev/...) are not files and may be opened both ways."""

import os
import re

from harness.xsession import Session
from session import full_session

STRACE = "/usr/bin/strace"
# Every call that can make, change or remove a name in the file system, and the opens.
CALLS = ("open,openat,openat2,creat,mkdir,mkdirat,rename,renameat,renameat2,link,linkat,"
         "symlink,symlinkat,unlink,unlinkat,rmdir,truncate,ftruncate,mknod,mknodat,chmod,"
         "fchmodat,utimensat")
CALL = re.compile(r"^\d+\s+(\w+)\((.*)")
PATH = re.compile(r'"([^"]*)"')
WRITE_FLAGS = {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND"}


def offending(log_lines):
    """The traced calls that create, change or write a file, attempts included (a call the
    system refused was still made). Signal lines and the second halves of calls that strace
    split between processes carry no call name and are passed over."""
    found = []
    for line in log_lines:
        match = CALL.match(line)
        if not match:
            continue
        name, rest = match.groups()
        if name.startswith("open"):
            path = PATH.search(rest)
            flags = set(re.findall(r"O_[A-Z]+", rest))
            if flags & WRITE_FLAGS and not (path and path.group(1).startswith("/dev/")):
                found.append(line.strip())
        else:
            found.append(line.strip())
    return found


def test_a_whole_session_creates_and_writes_no_file(game_binary, data_root, game_data,
                                                    tmp_path):
    assert os.access(STRACE, os.X_OK), "strace is not installed (scripts/install-deps has it)"
    log = tmp_path / "trace"
    wrapper = [STRACE, "-f", "-qq", "-o", str(log), "-e", "trace=" + CALLS]
    with Session(game_binary, data_root, wrapper=wrapper) as game:
        status = full_session(game, game_data, timeout=120)
        errors = game.errors()
    assert status == 0
    assert errors == ""
    lines = log.read_text().splitlines()
    # The trace saw the game read its data, so it did watch the right process.
    assert any("Data/Gfx/taustakuva.PNG" in line for line in lines)
    assert offending(lines) == []
