# The arm64 package for 64-bit ARM boards and laptops, cross-built here from the same release
# tarball and debian/ as `make deb`, and tested under qemu. On an arm64 machine `make deb` builds the same package natively.
DEB_ARM64_DIR ?= build-deb-arm64
# The mixer's arm64 development files, unpacked here since the package cannot be installed
# beside the amd64 one (packaging/arm64/mixer-dev).
ARM64_MIXER_DEV ?= build-arm64/mixer-dev
ARM64_DEB = $(RELEASE_DIR)/quimbo_$(QUIMBO_VERSION)_arm64.deb

.PHONY: deps-arm64 deb-arm64 test-arm64

## installs the cross compilers, qemu and the arm64 libraries
deps-arm64:
	@scripts/install-deps arm64

# -d: dpkg-checkbuilddeps would ask for the mixer's arm64 -dev package, which is unpacked
# privately rather than installed. The cross profile and nocheck say what a cross build is:
# its programs cannot run here, so no test runs during the build (make test-arm64 runs it
# under qemu instead). CC and CXX name the cross compilers, which dpkg-architecture checks
# against the target. PKG_CONFIG_PATH is set for this build command alone, so no other build
# sees the private folder.
ARM64_BUILD_ENV = DEB_BUILD_OPTIONS=nocheck CC=aarch64-linux-gnu-gcc CXX=aarch64-linux-gnu-g++ \
  PKG_CONFIG_PATH='$(abspath $(ARM64_MIXER_DEV))/pkgconfig'

## dist/quimbo_VERSION_arm64.deb, built in build-deb-arm64/, lintian-checked
deb-arm64: deps-arm64 dist
	packaging/arm64/mixer-dev '$(ARM64_MIXER_DEV)'
	$(call debian-package,arm64,$(DEB_ARM64_DIR),-a arm64 -Pcross$(comma)nocheck -d --build=binary,$(ARM64_BUILD_ENV))

# The Linux game's menu is the reference the emulated one is compared with.
## the packaged game under qemu, headless and in Xvfb (its menu against Linux's)
test-arm64: deps-arm64 game
	QUIMBO_ARM64_DEB='$(abspath $(ARM64_DEB))' QUIMBO_BIN='$(abspath $(BUILD))/quimbo' \
	  $(PYTHON) -m pytest -q tests/arm64
