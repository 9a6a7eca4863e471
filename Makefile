# Convenience wrapper around CMake. `make run` converts the bundled samples,
# `make test` builds and runs every test.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all build run test install clean windows test-windows test-asan fuzz bench

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	cp samples/*.csv $(BUILD)/demo/
	cd $(BUILD)/demo && ../rptconv '*.csv'
	@echo "Pages written to $(BUILD)/demo/:" && ls $(BUILD)/demo/*.htm

# The Windows tests run too where the cross compiler and Wine are installed.
HAVE_WINDOWS_TOOLS := $(shell command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1 && \
  { command -v wine || command -v wine64; } >/dev/null 2>&1 && echo yes)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
ifeq ($(HAVE_WINDOWS_TOOLS),yes)
	$(MAKE) test-windows
else
	@echo "Windows tests skipped: mingw-w64 or wine not installed"
endif

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) build-win build-asan

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRPTCONV_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# Coverage-guided fuzzing of the conversion core (FUZZ_SECONDS, default 60).
FUZZ_SECONDS ?= 60
fuzz:
	bash tests/fuzz/run_fuzz.sh $(FUZZ_SECONDS)

# The Windows program, cross-built with mingw-w64: build-win/rptconv.exe.
windows:
	cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build build-win -j $(JOBS)

# Its tests under Wine (unit tests, platform layer, golden pages, end to end),
# then the samples converted by it and by the Linux program, byte for byte.
test-windows: windows build
	cd build-win && ctest --output-on-failure -j $(JOBS)
	bash tests/wine/compare_samples.sh $(BUILD)/rptconv build-win/rptconv.exe samples \
	  tests/wine/wine-run.sh $(CURDIR)/build-win/wineprefix

BENCH_MB ?= 256
bench: build
	bash bench/run $(BENCH_MB)
