# Two commands do everything on a fresh Debian machine:
#   make run    installs what is missing, builds and starts the game
#   make test   installs what is missing, builds and runs every test
# and, not part of the tests:
#   make bench  builds the benchmarks in build-bench and runs them (docs/performance.md)
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tarnwick

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BENCH=ON > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target tarnwick tarnwick_bench minimal_window swap_probe
	./bench/run_benchmarks.sh $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR)
