# Two commands do everything on a fresh Debian machine:
#   make run    installs what building and playing need, builds and starts the game
#   make test   installs everything, builds and runs every test, plays the web page in
#               Chromium, Firefox and WebKit, runs the tests again (but for the window and
#               package tests) under AddressSanitizer and UBSan in build-asan, replays the fuzz
#               corpora and fuzzes each target for FUZZ_SECONDS in build-fuzz (clang), runs the
#               window-free tests, plays the Windows zip and installs its installer under Wine
#               (build-win), and builds the package, the page, the zip and the installer a second
#               time elsewhere to check they come out byte for byte the same
# and, not part of the tests:
#   make check    the quick loop while working: builds, and runs the tests that need no display,
#                 browser or package (CONTRIBUTING.md)
#   make install  builds what is installed if out of date and installs it under PREFIX (default
#                 /usr/local; DESTDIR is honoured)
#   make deb      the same, packed into the Debian package in build/deb
#   make windows  cross-builds the window program for 64-bit Windows with MinGW-w64 into
#                 build-win/tarnwick-VERSION-windows-x64.zip, and its installer beside it (.msi)
#   make bench    builds the benchmarks in build-bench and runs them, and the page's
#                 (make bench-web) (docs/performance.md)
#   make web      builds the browser page in build-web/site (emscripten)
#   make serve    builds the page and serves it at http://localhost:8000
#   make fuzz     fuzzes each target for FUZZ_LONG_SECONDS (docs/reliability.md)
#   make soak     plays SOAK_HOURS of game time in every scene (docs/reliability.md)
# Each target installs the packages of its own job only (scripts/install-deps.sh).
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc)
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_LONG_SECONDS ?= 1800
SOAK_HOURS ?= 168
# Where `make install` puts the game; empty keeps the build's CMAKE_INSTALL_PREFIX.
PREFIX ?=
WEB_DIR ?= build-web
WIN_DIR ?= build-win
WIN_CMAKE = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	-DCMAKE_BUILD_TYPE=RelWithDebInfo
# Debian's emscripten finds its JavaScript tools through NODE_PATH. Its system libraries come
# prebuilt in its cache; where that is not writable, a cache of its own in the build dir.
EMSCRIPTEN_CACHE := /usr/share/emscripten/cache
EMSCRIPTEN_OWN_CACHE = $(if $(shell test -w $(EMSCRIPTEN_CACHE) && echo y),,\
	EM_CACHE=$(CURDIR)/$(WEB_DIR)/emscripten-cache)
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs $(EMSCRIPTEN_OWN_CACHE)
# Every date written into what is built is SOURCE_DATE_EPOCH (scripts/source-date-epoch.sh).
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell ./scripts/source-date-epoch.sh 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif
# Run as root after a user's build, `make install` and `make deb` hand what they wrote in the
# build folder to the folder's owner.
GIVE_BACK = ./scripts/give-back.sh $(BUILD_DIR)
# What `make install` and `make deb` ship, built if out of date: the programs, their data and the
# packaging files, never the tests, and no package check (the whole build, with its packages,
# when nothing was configured yet). Given back to the folder's owner even when it fails.
BUILD_INSTALLED = if [ -f $(BUILD_DIR)/CMakeCache.txt ]; then \
		cmake --build $(BUILD_DIR) -j $(JOBS) --target tarnwick tarnwick-text tarnwick_packaging \
		|| { $(GIVE_BACK); exit 1; }; \
	else $(MAKE) --no-print-directory build; fi

.PHONY: all check deps-check deps-build deps-deb deps-web deps-windows deps-test configure build configure-tests \
	build-tests run install deb windows test test-sanitized test-web test-windows \
	test-reproducible web serve bench-web fuzz-build fuzz-check fuzz soak bench clean

all: build

deps-build deps-check deps-deb deps-web deps-windows deps-test:
	@./scripts/install-deps.sh $(@:deps-%=%)

configure: deps-build
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tarnwick

install:
	@$(BUILD_INSTALLED)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix "$(PREFIX)")
	@$(GIVE_BACK)

deb:
	@$(BUILD_INSTALLED)
	@command -v dpkg-shlibdeps > /dev/null || ./scripts/install-deps.sh deb
	@./packaging/make-deb.sh $(BUILD_DIR) $(BUILD_DIR)/deb $(BUILD_DIR)/packaging/control
	@$(GIVE_BACK)

# The window program for Windows, its libraries built from Debian's source packages
# (packaging/windows), packed with its files into one zip and, with wixl, into an installer.
windows: deps-windows
	@cmake -S . -B $(WIN_DIR) $(WIN_CMAKE) > /dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS) --target zip msi

# The same build with its tests, which need the test job's packages.
configure-tests: deps-test
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_TESTS=ON > /dev/null

build-tests: configure-tests
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build-tests
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-web
	@$(MAKE) --no-print-directory test-sanitized
	@$(MAKE) --no-print-directory fuzz-check
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory test-reproducible

# The same build and its tests, but for those that need a display, a package or hours.
check: deps-check
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_TESTS=ON > /dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE 'window|install|soak'

# The window-free unit tests cross-built for Windows and run under Wine, the zip played under
# Wine on Xvfb with the helpers of the Linux window tests, and the installer's tables read with
# msiinfo, then installed, played, upgraded and uninstalled under Wine in a fresh prefix of its
# own. The Wine prefix of the other tests is made first, once.
test-windows: configure-tests
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target screen_probe send_close
	@cmake -S . -B $(WIN_DIR) $(WIN_CMAKE) -DTARNWICK_TESTS=ON \
		-DTARNWICK_LINUX_TOOLS=$(CURDIR)/$(BUILD_DIR)/tests/window > /dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)
	@./tests/windows/wine.sh $(WIN_DIR)/wine
	cd $(WIN_DIR) && ctest --output-on-failure -j $(JOBS)

# The package, the page, the zip and the installer built again from the same sources in a
# scratch folder elsewhere must come out byte for byte the same as build/deb, build-web/site and
# the zip and the installer in build-win.
test-reproducible: deps-test deb web windows
	@$(EMSCRIPTEN_ENV) JOBS=$(JOBS) ./tests/install/reproducible_test.sh $(BUILD_DIR) $(WEB_DIR) \
		$(WIN_DIR)

test-sanitized: deps-test
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON \
		-DTARNWICK_TESTS=ON > /dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -LE 'window|install'

web: deps-web
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel > /dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR) -j $(JOBS)

serve: web
	cd $(WEB_DIR)/site && python3 -m http.server 8000 --bind 127.0.0.1

# The page in Debian's Chromium, Firefox ESR and WebKitGTK, driven by playwright-core,
# puppeteer-core and selenium-webdriver (tests/web); none of them may fetch a browser or driver
# of its own. WebKit's browser needs an X display: a private Xvfb. A page that stops answering
# fails its test after five minutes instead of holding up the run. Then the page in Firefox ESR
# with Orca, in a private desktop of its own (skipped, status 77, when a part is not installed).
NO_BROWSER_DOWNLOADS = PUPPETEER_SKIP_DOWNLOAD=1 PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 SE_OFFLINE=true
test-web: web
	cd tests/web && $(NO_BROWSER_DOWNLOADS) npm ci --no-audit --no-fund --loglevel=error
	cd tests/web && $(NO_BROWSER_DOWNLOADS) TARNWICK_SITE=$(CURDIR)/$(WEB_DIR)/site \
		xvfb-run -a -s '-screen 0 1280x720x24 -nolisten tcp' \
		node --test --test-timeout=300000 *.test.js
	bash tests/web/orca_page.sh $(WEB_DIR)/site $(WEB_DIR)/artifacts/orca_page || [ $$? -eq 77 ]

fuzz-build: deps-test
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets

fuzz-check: fuzz-build
	./fuzz/run_fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz: fuzz-build
	./fuzz/run_fuzzers.sh $(FUZZ_DIR) $(FUZZ_LONG_SECONDS)

soak: build-tests
	cd $(BUILD_DIR) && TARNWICK_SOAK_HOURS=$(SOAK_HOURS) ctest --output-on-failure -j $(JOBS) -L soak

bench: deps-test
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BENCH=ON > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target tarnwick tarnwick_bench minimal_window swap_probe bench_key_probe \
		terminal_bench
	./bench/run_benchmarks.sh $(BENCH_DIR)
	@$(MAKE) --no-print-directory bench-web

# The page's size, time to ready, cost of a long log and cost while idle, in Debian's Chromium.
bench-web: web
	cd tests/web && $(NO_BROWSER_DOWNLOADS) npm ci --no-audit --no-fund --loglevel=error
	node bench/web_bench.js $(WEB_DIR)/site
	node bench/web_idle_bench.js $(WEB_DIR)/site

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(WEB_DIR) $(WIN_DIR) \
		tests/web/node_modules
