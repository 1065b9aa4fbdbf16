# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps configure build run test test-sanitize fuzz bench install package clean

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

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_DIR ?= build-asan
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DSPORVIK_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j2
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure --no-tests=error --timeout 300 -j2

# Each fuzz target run for FUZZ_TIME seconds under libFuzzer (clang).
FUZZ_TIME ?= 60
fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_TIME)

bench: build
	$(BUILD_DIR)/bin/sporvik_bench
	$(BUILD_DIR)/bin/sporvik_bench_pages
	$(BUILD_DIR)/bin/sporvik_bench_dialog
	$(BUILD_DIR)/bin/sporvik_bench_extract
	$(BUILD_DIR)/bin/sporvik_bench_glyphs
	$(BUILD_DIR)/bin/sporvik_bench_extract_cli --benchmark_enable_random_interleaving=true

# PREFIX=/usr/local unless given; DESTDIR works as usual.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in build/: sudo apt install ./build/sporvik_*.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
