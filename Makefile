# Two commands do everything on a fresh Debian machine:
#   make run    installs what building and playing need, builds and starts the game
#   make test   installs everything, builds and runs every test, plays the web page in
#               Chromium, Firefox and WebKit, runs the tests again (but for the window and
#               package tests) under AddressSanitizer and UBSan in build-asan, replays the fuzz
#               corpora and fuzzes each target for FUZZ_SECONDS in build-fuzz (clang), and builds
#               the package and the page a second time elsewhere to check they come out byte for
#               byte the same
# and, not part of the tests:
#   make install  installs what was built under PREFIX (default /usr/local; DESTDIR is honoured)
#   make deb      packs what was built into the Debian package in build/deb
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
# Debian's emscripten finds its JavaScript tools through NODE_PATH. Its system libraries come
# prebuilt in its cache; where that is not writable, a cache of its own in the build dir.
EMSCRIPTEN_CACHE := /usr/share/emscripten/cache
EMSCRIPTEN_OWN_CACHE = $(if $(shell test -w $(EMSCRIPTEN_CACHE) && echo y),,\
	EM_CACHE=$(CURDIR)/$(WEB_DIR)/emscripten-cache)
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs $(EMSCRIPTEN_OWN_CACHE)
# Every date written into what is built is the last commit's, so that a build gives the same
# bytes on any day.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif
# Run as root after a user's build, `make install` and `make deb` hand what they wrote in the
# build folder to the folder's owner.
GIVE_BACK = ./scripts/give-back.sh $(BUILD_DIR)

.PHONY: all deps-build deps-deb deps-web deps-test configure build configure-tests build-tests \
	run install deb test test-sanitized test-web test-reproducible web serve bench-web \
	fuzz-build fuzz-check fuzz soak bench clean

all: build

deps-build deps-deb deps-web deps-test:
	@./scripts/install-deps.sh $(@:deps-%=%)

configure: deps-build
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tarnwick

# What was built, as it is: no package check, no configuring, no building, unless nothing was
# built yet.
install:
	@[ -f $(BUILD_DIR)/cmake_install.cmake ] || $(MAKE) --no-print-directory build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix "$(PREFIX)")
	@$(GIVE_BACK)

deb:
	@[ -f $(BUILD_DIR)/cmake_install.cmake ] || $(MAKE) --no-print-directory build
	@command -v dpkg-shlibdeps > /dev/null || ./scripts/install-deps.sh deb
	@./packaging/make-deb.sh $(BUILD_DIR) $(BUILD_DIR)/deb $(BUILD_DIR)/packaging/control
	@$(GIVE_BACK)

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
	@$(MAKE) --no-print-directory test-reproducible

# The package and the page built again from the same sources in a scratch folder elsewhere
# must come out byte for byte the same as build/deb and build-web/site.
test-reproducible: deps-test deb web
	@$(EMSCRIPTEN_ENV) JOBS=$(JOBS) ./tests/install/reproducible_test.sh $(BUILD_DIR) $(WEB_DIR)

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
# fails its test after five minutes instead of holding up the run.
NO_BROWSER_DOWNLOADS = PUPPETEER_SKIP_DOWNLOAD=1 PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 SE_OFFLINE=true
test-web: web
	cd tests/web && $(NO_BROWSER_DOWNLOADS) npm ci --no-audit --no-fund --loglevel=error
	cd tests/web && $(NO_BROWSER_DOWNLOADS) TARNWICK_SITE=$(CURDIR)/$(WEB_DIR)/site \
		xvfb-run -a -s '-screen 0 1280x720x24 -nolisten tcp' \
		node --test --test-timeout=300000 *.test.js

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
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(WEB_DIR) tests/web/node_modules
