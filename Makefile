# The front door: `make run` starts the editor, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench samples clean
.PHONY: test-sanitize fuzz soak

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/ui/veltra ]; then exec $(BUILD)/ui/veltra; \
	 else echo "The editor is not built yet: only the image model exists so far." >&2; exit 1; fi

samples: build
	@cmake --build $(BUILD) --target samples
	@ls $(BUILD)/samples

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

clean:
	rm -rf $(BUILD)

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
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DVELTRA_BUILD_FUZZ=ON -DVELTRA_SANITIZE=ON \
	  -DVELTRA_BUILD_UI=OFF -DVELTRA_BUILD_CLI=OFF -DVELTRA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	@FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh $(FUZZ_BUILD)

# The full soak: SOAK_CYCLES load -> edit -> save -> load cycles, and
# KILL_ROUNDS saves killed at a random moment.
SOAK_CYCLES ?= 10000
KILL_ROUNDS ?= 500
soak: build
	@VELTRA_SOAK_CYCLES=$(SOAK_CYCLES) VELTRA_KILL_ROUNDS=$(KILL_ROUNDS) $(BUILD)/tests/hardening/soak_tests

# Pictures of the window, one per tab, with a sample image loaded.
.PHONY: screenshot
screenshot: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/ui/veltra_screenshot $(BUILD)/screenshots
