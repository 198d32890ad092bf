#!/usr/bin/python3
"""The pinned library sources of the Windows and web builds: find, check and unpack them.

sources.tsv beside this file names each library once: its version, the address upstream
serves it from, its licence and a checksum of its contents. The checksum covers what the
tarball holds, not its compressed bytes: the SHA-256 of a listing of every file's path
(without the top folder) and the SHA-256 of its contents (or a link's target). A copy that
a code host compresses anew, or a local copy of the same files, checks the same; a single
changed byte in any file does not.

    sources.py list                          name and version, one a line
    sources.py fetch NAME --cache DIR [--sources DIR]
                                             prints the path of the checked tarball
    sources.py unpack NAME --cache DIR [--sources DIR] --into DIR
                                             a fresh checked copy in DIR/NAME-VERSION
    sources.py checksum TARBALL              the contents checksum of any tarball
"""

import argparse
import hashlib
import os
import shutil
import sys
import tarfile
import tempfile
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
LIST = os.path.join(HERE, "sources.tsv")
COLUMNS = ("name", "version", "url", "licence", "licence_file", "checksum")


class SourceError(Exception):
    pass


def read_list(path=LIST):
    """The pinned sources in build order, as dictionaries keyed by COLUMNS."""
    entries = []
    with open(path, encoding="utf-8") as listing:
        for number, line in enumerate(listing, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != len(COLUMNS):
                raise SourceError("%s:%d: %d columns, expected %d"
                                  % (path, number, len(fields), len(COLUMNS)))
            entries.append(dict(zip(COLUMNS, fields)))
    return entries


def find(name, path=LIST):
    for entry in read_list(path):
        if entry["name"] == name:
            return entry
    raise SourceError("%s is not in %s" % (name, path))


def file_name(entry):
    """The tarball's local name: name-version with the compression of the download."""
    for ext in (".tar.gz", ".tar.xz", ".tar.bz2"):
        if entry["url"].endswith(ext):
            return "%s-%s%s" % (entry["name"], entry["version"], ext)
    raise SourceError("%s: cannot tell the archive type of %s" % (entry["name"], entry["url"]))


def _inner(member_name):
    parts = member_name.lstrip("./").split("/", 1)
    return parts[1] if len(parts) == 2 else ""


def contents_checksum(tarball):
    """SHA-256 over the sorted lines "<sha256 of contents>  <path below the top folder>"."""
    lines = []
    with tarfile.open(tarball) as archive:
        for member in archive:
            path = _inner(member.name)
            if not path:
                continue
            if member.isfile():
                digest = hashlib.sha256()
                stream = archive.extractfile(member)
                for block in iter(lambda: stream.read(1 << 20), b""):
                    digest.update(block)
                lines.append("%s  %s\n" % (digest.hexdigest(), path))
            elif member.issym():
                lines.append("%s  %s\n" % (hashlib.sha256(member.linkname.encode()).hexdigest(),
                                           path))
    lines.sort()
    return hashlib.sha256("".join(lines).encode()).hexdigest()


def _download(url, target):
    partial = target + ".part"
    print("sources: downloading %s" % url, file=sys.stderr)
    with urllib.request.urlopen(url, timeout=120) as response, open(partial, "wb") as out:
        shutil.copyfileobj(response, out)
    os.replace(partial, target)


def fetch(entry, cache, sources=None):
    """The checked tarball: from `sources` if given, else the cache, else downloaded into
    the cache. A file whose contents do not match the list is never used."""
    name = file_name(entry)
    if sources:
        path = os.path.join(sources, name)
        if not os.path.isfile(path):
            raise SourceError("%s is not in %s" % (name, sources))
    else:
        os.makedirs(cache, exist_ok=True)
        path = os.path.join(cache, name)
        if not os.path.isfile(path):
            _download(entry["url"], path)
    got = contents_checksum(path)
    if got != entry["checksum"]:
        raise SourceError("%s: contents checksum %s, the list pins %s"
                          % (path, got, entry["checksum"]))
    return path


def unpack(entry, tarball, into):
    """A fresh copy of the sources in into/NAME-VERSION, whatever the top folder was called."""
    os.makedirs(into, exist_ok=True)
    target = os.path.join(into, "%s-%s" % (entry["name"], entry["version"]))
    shutil.rmtree(target, ignore_errors=True)
    scratch = tempfile.mkdtemp(dir=into)
    try:
        with tarfile.open(tarball) as archive:
            archive.extractall(scratch, filter="data") if hasattr(tarfile, "data_filter") \
                else archive.extractall(scratch)
        tops = os.listdir(scratch)
        if len(tops) != 1:
            raise SourceError("%s: expected one top folder, found %r" % (tarball, tops))
        os.rename(os.path.join(scratch, tops[0]), target)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    return target


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("command", choices=("list", "fetch", "unpack", "checksum"))
    parser.add_argument("name", nargs="?")
    parser.add_argument("--cache")
    parser.add_argument("--sources")
    parser.add_argument("--into")
    args = parser.parse_args(argv)
    try:
        if args.command == "list":
            for entry in read_list():
                print(entry["name"], entry["version"])
        elif args.command == "checksum":
            print(contents_checksum(args.name))
        else:
            entry = find(args.name)
            tarball = fetch(entry, args.cache, args.sources)
            if args.command == "fetch":
                print(tarball)
            else:
                print(unpack(entry, tarball, args.into))
    except (SourceError, OSError, tarfile.TarError) as failure:
        print("sources: %s" % failure, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
