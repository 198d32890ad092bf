"""A player's build without GoogleTest, one version everywhere, and the source tarball."""

import glob
import hashlib
import os
import subprocess
import tarfile

from harness import PROJECT_ROOT
from harness.install import make, project_version, run


def test_the_game_alone_configures_and_builds_with_googletest_hidden(tmp_path):
    build = tmp_path / "build"
    run(["cmake", "-S", PROJECT_ROOT, "-B", str(build), "-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON",
         "-DBUILD_TESTING=OFF"])
    run(["cmake", "--build", str(build), "-j2"])
    assert os.access(build / "quimbo", os.X_OK)
    assert not (build / "tests").exists() and not (build / "bench").exists()


def test_the_package_and_the_readme_carry_the_projects_version():
    version = project_version()
    changelog = run(["dpkg-parsechangelog", "-l", "debian/changelog", "-S", "Version"])
    assert changelog.stdout.strip() == version
    with open(os.path.join(PROJECT_ROOT, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    for arch in ("amd64", "arm64"):
        assert "quimbo_%s_%s.deb" % (version, arch) in readme
    assert "quimbo-%s.tar.gz" % version in readme


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def test_dist_packs_every_tracked_file_and_only_those_the_same_way_twice(tmp_path):
    version = project_version()
    tarballs = []
    for run_dir in ("one", "two"):
        make("dist", "DIST_DIR=%s" % (tmp_path / run_dir))
        tarballs.append(tmp_path / run_dir / ("quimbo-%s.tar.gz" % version))
    assert digest(tarballs[0]) == digest(tarballs[1])
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=PROJECT_ROOT, capture_output=True,
                             check=True).stdout.decode().split("\0")
    prefix = "quimbo-%s/" % version
    with tarfile.open(tarballs[0]) as tar:
        members = tar.getmembers()
    assert {m.name for m in members} == {prefix + name for name in tracked if name}
    assert all(m.uid == 0 and m.gid == 0 for m in members)
    modes = {m.name[len(prefix):]: m.mode for m in members}
    assert modes["debian/rules"] & 0o111 and modes["scripts/install-deps"] & 0o111


def test_make_help_names_every_target_and_ci_runs_every_release_suite():
    """A target without its `## ` note, or a suite that no make file or CI runs, shows here."""
    listed = {}
    suites = {}
    for line in make("-s", "help").stdout.splitlines():
        if line.startswith("  ") and "=" not in line.split()[0]:
            name, _, note = line.strip().partition(" ")
            listed[name] = note.strip()
        elif ": " in line and line.startswith(("make test runs", "CI then")):
            head, _, names = line.partition(": ")
            suites[head] = names.split()
    make_files = glob.glob(os.path.join(PROJECT_ROOT, "mk", "*.mk")) + glob.glob(
        os.path.join(PROJECT_ROOT, "packaging", "*", "*.mk")) + [
        os.path.join(PROJECT_ROOT, "Makefile")]
    declared = set()
    for path in make_files:
        with open(path, encoding="utf-8") as f:
            for line in f:
                if line.startswith(".PHONY:"):
                    declared.update(line.split()[1:])
    assert declared - set(listed) == set()
    assert all(listed.values())
    assert len(suites) == 2 and set(sum(suites.values(), [])) <= set(listed)
    with open(os.path.join(PROJECT_ROOT, ".ci", "run"), encoding="utf-8") as f:
        ci = f.read()
    assert "timed make test\n" in ci
    for suite in suites["CI then builds each release and runs"]:
        assert "timed make %s\n" % suite in ci
