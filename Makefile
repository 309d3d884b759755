# Two commands do everything on a fresh Debian machine:
#   make run    installs what is missing, builds and starts the game
#   make test   installs what is missing, builds and runs every test, plays the web page in
#               Chromium, runs the tests again (but for the window and package tests) under
#               AddressSanitizer and UBSan in build-asan, then replays the fuzz corpora and
#               fuzzes each target for FUZZ_SECONDS in build-fuzz (clang)
# and, not part of the tests:
#   make install  installs the game under PREFIX (default /usr/local; DESTDIR is honoured)
#   make deb      builds the Debian package in build/deb
#   make bench    builds the benchmarks in build-bench and runs them, and the page's
#                 (make bench-web) (docs/performance.md)
#   make web      builds the browser page in build-web/site (emscripten)
#   make serve    builds the page and serves it at http://localhost:8000
#   make fuzz     fuzzes each target for FUZZ_LONG_SECONDS (docs/reliability.md)
#   make soak     plays SOAK_HOURS of game time in every scene (docs/reliability.md)
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

.PHONY: all deps configure build run install deb test test-sanitized test-web web serve \
	bench-web fuzz-build fuzz-check fuzz soak bench clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tarnwick

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix "$(PREFIX)")

deb: build
	@cmake --build $(BUILD_DIR) --target deb

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-web
	@$(MAKE) --no-print-directory test-sanitized
	@$(MAKE) --no-print-directory fuzz-check

test-sanitized: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE=ON > /dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -LE 'window|install'

web: deps
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel > /dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR) -j $(JOBS)

serve: web
	cd $(WEB_DIR)/site && python3 -m http.server 8000 --bind 127.0.0.1

# The page in Debian's Chromium, driven by playwright-core (tests/web). A page that stops
# answering fails its test after five minutes instead of holding up the run.
test-web: web
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	cd tests/web && TARNWICK_SITE=$(CURDIR)/$(WEB_DIR)/site node --test --test-timeout=300000 *.test.js

fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets

fuzz-check: fuzz-build
	./fuzz/run_fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz: fuzz-build
	./fuzz/run_fuzzers.sh $(FUZZ_DIR) $(FUZZ_LONG_SECONDS)

soak: build
	cd $(BUILD_DIR) && TARNWICK_SOAK_HOURS=$(SOAK_HOURS) ctest --output-on-failure -j $(JOBS) -L soak

bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BENCH=ON > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target tarnwick tarnwick_bench minimal_window swap_probe \
		terminal_bench
	./bench/run_benchmarks.sh $(BENCH_DIR)
	@$(MAKE) --no-print-directory bench-web

# The page's size, time to ready and cost of a long log, in Debian's Chromium.
bench-web: web
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	node bench/web_bench.js $(WEB_DIR)/site

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(WEB_DIR) tests/web/node_modules
