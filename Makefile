# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j2

run: build
	$(BUILD_DIR)/bin/Sporvik

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error --timeout 120 -j2

bench: build
	$(BUILD_DIR)/bin/sporvik_bench
	$(BUILD_DIR)/bin/sporvik_bench_pages
	$(BUILD_DIR)/bin/sporvik_bench_dialog
	$(BUILD_DIR)/bin/sporvik_bench_extract
	$(BUILD_DIR)/bin/sporvik_bench_extract_cli --benchmark_enable_random_interleaving=true

clean:
	rm -rf $(BUILD_DIR)
