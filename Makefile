# The front door: `make run` starts the editor, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: all deps configure build test run bench samples clean
.PHONY: test-sanitize fuzz soak install uninstall package

all: build

# What scripts/install-deps installs for a target: building and running the
# programs need no test tools; the targets that run tests or benchmarks turn
# the tests on in the build folder.
DEPS = run
TESTING =
test bench soak screenshot test-sanitize: DEPS = test
test bench soak screenshot: TESTING = -DBUILD_TESTING=ON
fuzz: DEPS = fuzz
package: DEPS = package

deps:
	@scripts/install-deps $(DEPS)

# A new build folder leaves the tests out unless the target needs them. An
# existing one keeps what it has and is configured again only when asked to
# change (`cmake --build` notices edits by itself), so `sudo make install`
# after `make` does not configure the build folder again as root.
configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
	   cmake -S . -B $(BUILD) $(or $(TESTING),-DBUILD_TESTING=OFF) $(CMAKE_FLAGS) >/dev/null; \
	 elif [ -n "$(strip $(TESTING) $(CMAKE_FLAGS))" ]; then \
	   cmake -S . -B $(BUILD) $(TESTING) $(CMAKE_FLAGS) >/dev/null; \
	 fi

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# `make run FILE=card.rom` opens the file at start.
run: build
	@if [ -x $(BUILD)/ui/veltra ]; then exec $(BUILD)/ui/veltra $(FILE); \
	 else echo "The editor is not built yet: only the image model exists so far." >&2; exit 1; fi

samples: build
	@cmake --build $(BUILD) --target samples
	@ls $(BUILD)/samples

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

clean:
	rm -rf $(BUILD)

# Installs the programs, desktop entry, icons, metainfo and man pages under
# PREFIX (DESTDIR, when given, is put before every path); `sudo make
# uninstall` removes what the last install put there. The list of installed
# files leaves DESTDIR out: give uninstall the same DESTDIR.
install: build
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@if [ ! -f $(BUILD)/install_manifest.txt ]; then echo "Nothing was installed from $(BUILD)." >&2; exit 1; fi
	@sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | tr '\n' '\0' | xargs -0 rm -fv

# The .deb, from a release build of the programs alone in its own folder,
# compiled with the flags Debian builds its own packages with: -O2 (at -O3
# GCC 12 warns of overlapping copies inside std::string that cannot happen),
# fortified string and memory functions, stack protector, relocations
# read-only and bound at start. lintian then checks it: an error or a
# warning fails.
PACKAGE_BUILD ?= build-package
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(PACKAGE_BUILD) -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
	  -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@cd $(PACKAGE_BUILD) && cpack -G DEB >/dev/null
	@lintian --fail-on error,warning $(PACKAGE_BUILD)/*.deb
	@ls $(PACKAGE_BUILD)/*.deb

# The whole suite built with AddressSanitizer (leaks included) and UBSan, in
# its own build folder. Benchmarks are left out: they time, they do not test.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DVELTRA_SANITIZE=ON -DVELTRA_BUILD_UI=ON -DVELTRA_BUILD_CLI=ON \
	  -DVELTRA_BUILD_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/hardening/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang), each run for FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PARALLEL ?= 0
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DVELTRA_BUILD_FUZZ=ON -DVELTRA_SANITIZE=ON \
	  -DVELTRA_BUILD_UI=OFF -DVELTRA_BUILD_CLI=OFF -DVELTRA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_PARALLEL=$(FUZZ_PARALLEL) fuzz/run.sh $(FUZZ_BUILD)

# The long run: each target for an hour, or FUZZ_SECONDS when it is given,
# the three side by side (docs/reliability.md records one).
.PHONY: fuzz-long
fuzz-long:
	@$(MAKE) --no-print-directory fuzz FUZZ_PARALLEL=1 \
	  FUZZ_SECONDS=$(if $(filter command line environment,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),3600)

# The full soak: SOAK_CYCLES load -> edit -> save -> load cycles, and
# KILL_ROUNDS saves killed at a random moment.
SOAK_CYCLES ?= 10000
KILL_ROUNDS ?= 500
soak: build
	@VELTRA_SOAK_CYCLES=$(SOAK_CYCLES) VELTRA_KILL_ROUNDS=$(KILL_ROUNDS) $(BUILD)/tests/hardening/soak_tests

# Pictures of the window, one per tab, with the GTX 670 sample loaded, at
# 100 % and, in screenshots/200/, at a display scale of 200 %, and with the
# GTX 770 sample, whose Boost page scrolls its 52 entries, in
# screenshots/gtx770/. The README's picture is build/screenshots/frequency.png
# copied to docs/; docs/qt-boost-200.png is build/screenshots/200/boost.png
# and docs/ladder.png the GTX 770's Boost page.
.PHONY: screenshot
screenshot: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/ui/qt/veltra_screenshot $(BUILD)/screenshots $(BUILD)/samples/gtx670.rom
	@QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 $(BUILD)/tests/ui/qt/veltra_screenshot $(BUILD)/screenshots/200 \
	  $(BUILD)/samples/gtx670.rom
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/ui/qt/veltra_screenshot $(BUILD)/screenshots/gtx770 $(BUILD)/samples/gtx770.rom
	@cp $(BUILD)/screenshots/gtx770/boost.png docs/ladder.png
	@echo docs/ladder.png

# Windows: the programs and their tests cross-built with MinGW-w64 in their
# own folder; `make test-windows` runs the tests under wine64, and `make
# windows` leaves veltra-VERSION-win64.zip there. Optimised as the Linux
# build is (-O2): at -O3 GCC 12 warns of overlapping copies inside
# std::string that cannot happen.
WINDOWS_BUILD ?= build-windows
# The tests' Wine prefixes, each PREFIX:DPI: most tests run at 100 % display
# scale, the Win32 window's own tests once more at 150 %.
WINE_PREFIXES = wine:96 wine-144dpi:144
.PHONY: windows test-windows windows-build
windows-build:
	@scripts/install-deps windows
	@cmake --no-warn-unused-cli -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DBUILD_TESTING=ON -DVELTRA_BUILD_UI=ON -DVELTRA_BUILD_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@: >$(WINDOWS_BUILD)/wineboot.log
	@for p in $(WINE_PREFIXES); do \
	   cmake/wine-prefix $(WINDOWS_BUILD)/$${p%:*} $${p#*:} >>$(WINDOWS_BUILD)/wineboot.log 2>&1 || \
	     { cat $(WINDOWS_BUILD)/wineboot.log >&2; exit 1; }; \
	 done
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

windows: windows-build
	@cmake --build $(WINDOWS_BUILD) --target windows_zip
	@ls $(WINDOWS_BUILD)/veltra-*-win64.zip

# Each prefix keeps one Wine server for the whole run: a server that falls
# idle between two tests ends, and a test that starts as it ends fails
# ("wine client error: recvmsg: Connection reset by peer"). One left from the
# set-up or from an interrupted run is ended first: a prefix has one server.
# Wine's own services start with the first program and live as long as the
# server: a program that does nothing starts them, lest they hold the first
# test's output open and ctest wait for it to the end of the run.
test-windows: windows-build
	@for p in $(WINE_PREFIXES); do \
	   cmake/wine-run $(WINDOWS_BUILD)/$${p%:*} wineserver -k 2>/dev/null; \
	   cmake/wine-run $(WINDOWS_BUILD)/$${p%:*} wineserver -w && \
	   cmake/wine-run $(WINDOWS_BUILD)/$${p%:*} wineserver -p && \
	   cmake/wine-run $(WINDOWS_BUILD)/$${p%:*} cmd /c exit </dev/null >/dev/null 2>&1 || exit 1; \
	 done
	@cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS); status=$$?; \
	 for p in $(WINE_PREFIXES); do $(CURDIR)/cmake/wine-run $${p%:*} wineserver -k; done; \
	 exit $$status

# veltra.exe from the zip under Wine on a virtual X screen, opening the GTX
# 670 sample: its picture for the README, its Boost page at 150 % and 200 %
# display scale, and its start to its first frame timed against the least
# window a program can show; docs/windows-ladder.png is the GTX 770 sample's
# Boost page.
.PHONY: screenshot-windows bench-windows
screenshot-windows: windows samples
	@scripts/install-deps windows-screen
	@scripts/windows-screen $(WINDOWS_BUILD) screenshot docs/windows.png $(BUILD)/samples/gtx670.rom
	@echo docs/windows.png
	@scripts/windows-screen $(WINDOWS_BUILD) screenshot docs/windows-ladder.png $(BUILD)/samples/gtx770.rom 96 1
	@echo docs/windows-ladder.png
	@for scale in 150 200; do \
	   scripts/windows-screen $(WINDOWS_BUILD) screenshot docs/windows-boost-$$scale.png $(BUILD)/samples/gtx670.rom \
	     $$((scale * 96 / 100)) 1 && echo docs/windows-boost-$$scale.png || exit 1; \
	 done

bench-windows: windows samples
	@scripts/install-deps windows-screen
	@scripts/windows-screen $(WINDOWS_BUILD) start-time $(BUILD)/samples/gtx670.rom 7
