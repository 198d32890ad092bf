# Installing the game like any other on a Linux desktop:
#   make install                      into /usr/local (run `make` first, then `sudo make install`)
#   make install PREFIX=$HOME/.local  for one user, no root needed
#   make install DESTDIR=/tmp/stage   staged, for packaging: the files name PREFIX, not DESTDIR
#   make uninstall                    with the same PREFIX and DESTDIR removes it again
#
# The game reads "Data/..." from its working directory, so the command in bin/ is a small
# script that changes into the installed data directory and starts the binary from there.
PREFIX ?= /usr/local
DESTDIR ?=

QUIMBO_ID := net.quimbo.Quimbo
QUIMBO_ICON_SIZES := 32 48 64 128 256
QUIMBO_BINDIR = $(PREFIX)/bin
QUIMBO_LIBDIR = $(PREFIX)/lib/games/quimbo
QUIMBO_DATADIR = $(PREFIX)/share/games/quimbo
QUIMBO_APPDIR = $(PREFIX)/share/applications
QUIMBO_METADIR = $(PREFIX)/share/metainfo
QUIMBO_ICONDIR = $(PREFIX)/share/icons/hicolor
QUIMBO_MANDIR = $(PREFIX)/share/man/man6

EXTRA_TESTS += test-install

.PHONY: install install-files uninstall icons test-install

install: build
	@$(MAKE) --no-print-directory install-files

# The copying alone, from an existing build; `install` builds first.
install-files:
	@$(if $(findstring ',$(PREFIX))$(findstring |,$(PREFIX))$(findstring &,$(PREFIX)),echo "install: PREFIX may not hold quotes or the characters | and &" >&2; exit 1,:)
	@case '$(PREFIX)' in /*) ;; *) echo "install: PREFIX must be an absolute path" >&2; exit 1;; esac
	@test -x '$(BUILD)/quimbo' || { echo "install: $(BUILD)/quimbo is not built: run make first" >&2; exit 1; }
	@test -d Data/Gfx || { echo "install: Data/ is missing: run make assets first" >&2; exit 1; }
	install -d '$(DESTDIR)$(QUIMBO_BINDIR)' '$(DESTDIR)$(QUIMBO_LIBDIR)' \
	  '$(DESTDIR)$(QUIMBO_APPDIR)' '$(DESTDIR)$(QUIMBO_METADIR)' '$(DESTDIR)$(QUIMBO_MANDIR)'
	install -m 755 '$(BUILD)/quimbo' '$(DESTDIR)$(QUIMBO_LIBDIR)/quimbo'
	@# A fresh copy of the data, so files dropped from Data/ since the last install go too.
	rm -rf '$(DESTDIR)$(QUIMBO_DATADIR)/Data'
	cd Data && find . -type d -exec install -d '$(DESTDIR)$(QUIMBO_DATADIR)/Data/{}' ';'
	cd Data && find . -type f -exec install -m 644 '{}' '$(DESTDIR)$(QUIMBO_DATADIR)/Data/{}' ';'
	sed -e 's|@GAMEDATADIR@|$(QUIMBO_DATADIR)|g' -e 's|@GAMELIBDIR@|$(QUIMBO_LIBDIR)|g' \
	  packaging/quimbo.in > '$(DESTDIR)$(QUIMBO_BINDIR)/quimbo.new'
	chmod 755 '$(DESTDIR)$(QUIMBO_BINDIR)/quimbo.new'
	mv -f '$(DESTDIR)$(QUIMBO_BINDIR)/quimbo.new' '$(DESTDIR)$(QUIMBO_BINDIR)/quimbo'
	install -m 644 packaging/$(QUIMBO_ID).desktop '$(DESTDIR)$(QUIMBO_APPDIR)/$(QUIMBO_ID).desktop'
	install -m 644 packaging/$(QUIMBO_ID).metainfo.xml '$(DESTDIR)$(QUIMBO_METADIR)/$(QUIMBO_ID).metainfo.xml'
	sed -e 's|/usr/local/|$(PREFIX)/|g' packaging/quimbo.6 > '$(DESTDIR)$(QUIMBO_MANDIR)/quimbo.6'
	chmod 644 '$(DESTDIR)$(QUIMBO_MANDIR)/quimbo.6'
	for size in $(QUIMBO_ICON_SIZES); do \
	  install -d "$(DESTDIR)$(QUIMBO_ICONDIR)/$${size}x$${size}/apps" && \
	  install -m 644 "packaging/icons/$${size}x$${size}/apps/$(QUIMBO_ID).png" \
	    "$(DESTDIR)$(QUIMBO_ICONDIR)/$${size}x$${size}/apps/$(QUIMBO_ID).png" || exit 1; \
	done
	@$(MAKE) --no-print-directory quimbo-icon-cache

uninstall:
	rm -f '$(DESTDIR)$(QUIMBO_BINDIR)/quimbo' \
	  '$(DESTDIR)$(QUIMBO_APPDIR)/$(QUIMBO_ID).desktop' \
	  '$(DESTDIR)$(QUIMBO_METADIR)/$(QUIMBO_ID).metainfo.xml' \
	  '$(DESTDIR)$(QUIMBO_MANDIR)/quimbo.6'
	for size in $(QUIMBO_ICON_SIZES); do \
	  rm -f "$(DESTDIR)$(QUIMBO_ICONDIR)/$${size}x$${size}/apps/$(QUIMBO_ID).png"; \
	done
	@# Only the two folders that are the game's own go whole; shared ones such as bin/ stay.
	rm -rf '$(DESTDIR)$(QUIMBO_LIBDIR)' '$(DESTDIR)$(QUIMBO_DATADIR)'
	@$(MAKE) --no-print-directory quimbo-icon-cache

# A desktop that keeps an icon cache in the theme finds a new icon only once the cache is
# rebuilt. Where there is no cache the icons are found without one, so none is made.
.PHONY: quimbo-icon-cache
quimbo-icon-cache:
	@if [ -z '$(DESTDIR)' ] && [ -f '$(QUIMBO_ICONDIR)/icon-theme.cache' ] && \
	    command -v gtk-update-icon-cache >/dev/null 2>&1; then \
	  gtk-update-icon-cache -q -t -f '$(QUIMBO_ICONDIR)' || true; \
	fi

# The desktop icons, cut from the magician's picture in Data/; committed under packaging/.
icons:
	/usr/bin/python3 tools/make_icons.py

# Installs into temporary folders, checks the tree and the desktop files, and starts the
# installed game from an unrelated folder in its own X server.
test-install:
	QUIMBO_BUILD='$(abspath $(BUILD))' /usr/bin/python3 tests/install/test_install.py -v
