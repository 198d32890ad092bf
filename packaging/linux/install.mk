# Installing the game like any other on a Linux desktop, through CMake's install rules
# (packaging/linux/install.cmake): `make && sudo make install` builds as yourself, then
# installs into /usr/local; `make install PREFIX=$HOME/.local` for one user needs no root.
# `make install` never configures or builds: run as root it would leave root's files in the
# build folder, and the next `make` as yourself would fail on them. It installs what `make`
# built, with the binary stripped.
## PREFIX=DIR        where make install puts the game (/usr/local)
PREFIX ?= /usr/local
## DESTDIR=DIR       a staging folder for packagers: the files still name PREFIX, not DESTDIR
DESTDIR ?=

QUIMBO_ICONDIR = $(PREFIX)/share/icons/hicolor

.PHONY: install uninstall icons test-install

## installs what make built into PREFIX (never builds; the binary stripped)
install:
	@$(if $(findstring ',$(PREFIX)$(DESTDIR)),echo "install: PREFIX and DESTDIR must be without quotes" >&2; exit 1,:)
	@case '$(PREFIX)' in /*) ;; *) echo "install: PREFIX must be an absolute path" >&2; exit 1;; esac
	@test -x '$(BUILD)/quimbo' && test -f '$(BUILD)/cmake_install.cmake' || \
	  { echo "install: $(BUILD)/quimbo is not built: run make first, as yourself" >&2; exit 1; }
	@test -d Data/Gfx || { echo "install: Data/ is missing: run make assets first" >&2; exit 1; }
	DESTDIR='$(DESTDIR)' cmake --install '$(BUILD)' --prefix '$(PREFIX)' --strip
	@# CMake notes what it put down in the build folder; the file stays the builder's.
	@if [ "$$(id -u)" = 0 ] && [ -f '$(BUILD)/install_manifest.txt' ]; then \
	  chown --reference='$(BUILD)' '$(BUILD)/install_manifest.txt'; fi
	@$(MAKE) --no-print-directory quimbo-icon-cache

# Removes exactly the files CMake noted in $(BUILD)/install_manifest.txt at the last install,
# once they are sure to lie under this PREFIX (CMake notes some with DESTDIR in front, some
# without); then the game's own folders, if that left them empty. Shared folders such as bin/
# stay, as do files put there by anyone else.
INSTALL_MANIFEST = $(BUILD)/install_manifest.txt
QUIMBO_OWN_DIRS = lib/games/quimbo share/games/quimbo share/doc/quimbo

## with the same PREFIX and DESTDIR, removes what the last make install put down
uninstall:
	@$(if $(findstring ',$(PREFIX)$(DESTDIR)),echo "uninstall: PREFIX and DESTDIR must be without quotes" >&2; exit 1,:)
	@case '$(PREFIX)' in /*) ;; *) echo "uninstall: PREFIX must be an absolute path" >&2; exit 1;; esac
	@test -f '$(INSTALL_MANIFEST)' || \
	  { echo "uninstall: no $(INSTALL_MANIFEST): nothing was installed from $(BUILD)" >&2; exit 1; }
	@files=$$(sed -e 's|^$(DESTDIR)$(PREFIX)/|$(PREFIX)/|' '$(INSTALL_MANIFEST)'); \
	  if printf '%s\n' "$$files" | grep -qv '^$(PREFIX)/'; then \
	    echo "uninstall: the last make install from $(BUILD) went elsewhere than $(DESTDIR)$(PREFIX)" >&2; \
	    exit 1; fi; \
	  echo "uninstall: removing $$(printf '%s\n' "$$files" | wc -l) files under $(DESTDIR)$(PREFIX)"; \
	  printf '%s\n' "$$files" | sed -e 's|^|$(DESTDIR)|' | tr '\n' '\0' | xargs -0 rm -f --
	@for dir in $(QUIMBO_OWN_DIRS); do \
	  if [ -d "$(DESTDIR)$(PREFIX)/$$dir" ]; then \
	    find "$(DESTDIR)$(PREFIX)/$$dir" -depth -type d -empty -delete; fi; \
	done
	@$(MAKE) --no-print-directory quimbo-icon-cache

# A desktop that keeps an icon cache in the theme finds a new icon only once the cache is
# rebuilt. Where there is no cache the icons are found without one, so none is made.
.PHONY: quimbo-icon-cache
## refreshes the desktop's icon cache, where it keeps one
quimbo-icon-cache:
	@if [ -z '$(DESTDIR)' ] && [ -f '$(QUIMBO_ICONDIR)/icon-theme.cache' ] && \
	    command -v gtk-update-icon-cache >/dev/null 2>&1; then \
	  gtk-update-icon-cache -q -t -f '$(QUIMBO_ICONDIR)' || true; \
	fi

## the desktop icons under packaging/icons/, drawn from the magician's vector drawing
icons:
	$(PYTHON) tools/make_icons.py

# Installs into temporary folders, checks the tree and the desktop files, and starts the
# installed game from an unrelated folder in its own X server.
## installs into temporary folders, checks them, starts the installed game in Xvfb
test-install:
	QUIMBO_BUILD='$(abspath $(BUILD))' $(PYTHON) -m pytest -q tests/install
