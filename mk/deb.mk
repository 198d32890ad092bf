# Releases: the source tarball and the Debian package, built away from the work tree.
# The version is the one in CMakeLists.txt's project() line.
QUIMBO_VERSION := $(shell sed -n 's/^project.quimbo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
QUIMBO_RELEASE = quimbo-$(QUIMBO_VERSION)
DIST_DIR ?= dist
# Where the finished releases are collected (the Windows zip goes there too).
RELEASE_DIR ?= dist
DEB_DIR ?= build-deb
DISTCHECK_DIR ?= build-distcheck
TARBALL = $(DIST_DIR)/$(QUIMBO_RELEASE).tar.gz
# The tests that need an X server or a sound card stay with `make test`.
DISTCHECK_SKIP = ^(window\.|reliability\.(devices|baddata))

.PHONY: deps-deb dist distcheck deb test-packaging

## installs what the Debian package needs
deps-deb:
	@scripts/install-deps deb

# The same bytes for the same tree: names sorted, owners and times fixed to the last commit.
## dist/quimbo-VERSION.tar.gz of the tracked files, as they are now
dist:
	@test -n '$(QUIMBO_VERSION)' || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
	@mkdir -p '$(DIST_DIR)'
	git ls-files -z | LC_ALL=C sort -z | tar --create --null --no-recursion --files-from=- \
	  --owner=0 --group=0 --numeric-owner --mtime=@$$(git log -1 --format=%ct) \
	  --transform='s,^,$(QUIMBO_RELEASE)/,' --format=gnu | gzip -9n > '$(TARBALL).part'
	mv -f '$(TARBALL).part' '$(TARBALL)'
	@echo "dist: $(TARBALL)"

## unpacks that tarball elsewhere, builds it and runs its headless tests
distcheck: dist
	rm -rf '$(DISTCHECK_DIR)'
	mkdir -p '$(DISTCHECK_DIR)'
	tar -xzf '$(TARBALL)' -C '$(DISTCHECK_DIR)'
	$(MAKE) --no-print-directory -C '$(DISTCHECK_DIR)/$(QUIMBO_RELEASE)' BUILD=build build
	cd '$(DISTCHECK_DIR)/$(QUIMBO_RELEASE)/build' && \
	  ctest --output-on-failure -j$(JOBS) -E '$(DISTCHECK_SKIP)'
	rm -rf '$(DISTCHECK_DIR)'
	@echo "distcheck: $(TARBALL) builds and passes its headless tests"

# The architecture `make deb` builds for: this machine's, as dpkg names it.
DEB_ARCH = $(shell dpkg --print-architecture)
comma := ,

# Built from the release tarball in a folder of its own, so neither the build folder nor the
# work tree is touched. lintian fails the build on any error or warning.
## the Debian source and binary packages in build-deb/, lintian-checked, into dist/
deb: deps-deb dist
	$(call debian-package,$(DEB_ARCH),$(DEB_DIR),--build=source$(comma)binary)

# $(call debian-package,ARCH,FOLDER,DPKG_BUILDPACKAGE_OPTIONS[,ENVIRONMENT]): unpacks the
# release tarball in FOLDER, builds the package for ARCH there with the environment given,
# checks it with lintian and copies what was made to the release folder.
define debian-package
	@changelog=$$(dpkg-parsechangelog -l debian/changelog -S Version); \
	  if [ "$$changelog" != '$(QUIMBO_VERSION)' ]; then \
	    echo "deb: debian/changelog is at $$changelog, CMakeLists.txt at $(QUIMBO_VERSION)" >&2; \
	    exit 1; fi
	rm -rf '$(2)'
	mkdir -p '$(2)'
	tar -xzf '$(TARBALL)' -C '$(2)'
	cd '$(2)/$(QUIMBO_RELEASE)' && $(4) dpkg-buildpackage $(3) -us -uc -j$(JOBS)
	rm -rf '$(2)/$(QUIMBO_RELEASE)'
	lintian --display-info --fail-on error,warning '$(2)/quimbo_$(QUIMBO_VERSION)_$(1).changes'
	mkdir -p '$(RELEASE_DIR)'
	cp -f '$(2)'/quimbo_$(QUIMBO_VERSION)* '$(RELEASE_DIR)/'
	@ls -1 '$(RELEASE_DIR)'/quimbo_$(QUIMBO_VERSION)*
endef

# The player's build without GoogleTest, the build / sudo install / build sequence, and the
# package built, checked, installed, started and purged (the last two need root).
## the player's build, build / sudo install / build, the package installed and purged
test-packaging:
	QUIMBO_BUILD='$(abspath $(BUILD))' $(PYTHON) -m pytest -q tests/packaging
