# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
# Each target first makes sure its build folder belongs to this checkout, then
# installs the packages of the purposes it names (scripts/install-deps.sh),
# and builds no more than it uses.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all build run test test-package test-sanitize fuzz bench install package clean

all: build

# $(call prepare,DIR,PURPOSES)
prepare = @bash scripts/check-build-dir.sh $(1) && bash scripts/install-deps.sh $(2)

CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
# The program alone, unless the folder was already configured (perhaps with
# the tests: they stay, and are not built by the targets that do not use them).
configure = [ -f $(BUILD_DIR)/build.ninja ] || $(CONFIGURE)
# Tests, benchmarks and developer tools too.
configure_testing = grep -qx 'BUILD_TESTING:BOOL=ON' $(BUILD_DIR)/CMakeCache.txt 2>/dev/null \
  || $(CONFIGURE) -DBUILD_TESTING=ON

# The program, its help file and the sample glyphs it shows on first start.
run:
	$(call prepare,$(BUILD_DIR),build)
	@$(configure)
	cmake --build $(BUILD_DIR) -j2 --target Sporvik sample_glyphs
	$(BUILD_DIR)/bin/Sporvik

# Everything: the program, the tests, the benchmarks and the developer tools.
build:
	$(call prepare,$(BUILD_DIR),build test)
	@$(configure_testing)
	cmake --build $(BUILD_DIR) -j2

CTEST = ctest --output-on-failure --no-tests=error --timeout 120 -j2
test: build
	cd $(BUILD_DIR) && $(CTEST) --label-exclude packaging

# The install tree and the Debian package, through their validators.
test-package:
	$(call prepare,$(BUILD_DIR),build test package-checks)
	@$(configure_testing)
	cmake --build $(BUILD_DIR) -j2
	cd $(BUILD_DIR) && $(CTEST) --label-regex packaging

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_DIR ?= build-asan
test-sanitize:
	$(call prepare,$(SANITIZE_DIR),build test)
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DBUILD_TESTING=ON -DSPORVIK_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j2
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure --no-tests=error --timeout 300 -j2

# Each fuzz target run for FUZZ_TIME seconds under libFuzzer (clang).
FUZZ_TIME ?= 60
FUZZ_DIR ?= build-fuzz
fuzz:
	$(call prepare,$(FUZZ_DIR),build fuzz)
	FUZZ_DIR=$(FUZZ_DIR) bash scripts/fuzz.sh $(FUZZ_TIME)

bench:
	$(call prepare,$(BUILD_DIR),build test bench)
	@$(configure_testing)
	cmake --build $(BUILD_DIR) -j2
	$(BUILD_DIR)/bin/sporvik_bench
	$(BUILD_DIR)/bin/sporvik_bench_pages
	$(BUILD_DIR)/bin/sporvik_bench_dialog
	$(BUILD_DIR)/bin/sporvik_bench_extract
	$(BUILD_DIR)/bin/sporvik_bench_glyphs
	$(BUILD_DIR)/bin/sporvik_bench_extract_cli --benchmark_enable_random_interleaving=true
	$(BUILD_DIR)/bin/sporvik_bench_resources

# PREFIX=/usr/local unless given; DESTDIR works as usual.
PREFIX ?= /usr/local
install:
	$(call prepare,$(BUILD_DIR),build)
	@$(configure)
	cmake --build $(BUILD_DIR) -j2
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in build/: sudo apt install ./build/sporvik_*.deb
package:
	$(call prepare,$(BUILD_DIR),build package)
	@$(configure)
	cmake --build $(BUILD_DIR) -j2
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
