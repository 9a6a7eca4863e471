# Convenience wrapper around CMake. `make run` builds the program alone and
# converts the bundled samples; `make test` configures the tests too (after
# making sure GoogleTest is there) and runs every one of them.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all build run test test-packages install clean windows test-windows test-asan fuzz bench

all: build

# configure DIR, FLAGS: a configure that fails takes its cache with it, so
# that the next make configures afresh instead of building a half-made tree.
configure = cmake -S . -B $(1) $(2) || { rm -f $(1)/CMakeCache.txt; exit 1; }

$(BUILD)/CMakeCache.txt:
	$(call configure,$(BUILD),-DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS))

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target rptconv

# The classic pages beside the samples, then their modern pages and the index
# of them in modern/.
run: build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo/modern
	cp samples/*.csv $(BUILD)/demo/
	cd $(BUILD)/demo && ../rptconv '*.csv'
	cd $(BUILD)/demo && ../rptconv --style=modern -d modern --index=modern/index.htm '*.csv'
	@echo "Classic pages: $(BUILD)/demo/*.htm"
	@echo "Modern pages:  $(BUILD)/demo/modern/*.htm"
	@echo "Their index:   $(BUILD)/demo/modern/index.htm (open it in a browser)"

# The Windows tests run too where the cross compiler and Wine are installed.
HAVE_WINDOWS_TOOLS := $(shell command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1 && \
  { command -v wine || command -v wine64; } >/dev/null 2>&1 && echo yes)

# GoogleTest for the native tests: installed through apt-get where that can
# be done, else the list of packages to install.
test-packages:
	bash tests/need_packages.sh native

test: test-packages
	$(call configure,$(BUILD),-DCMAKE_BUILD_TYPE=Release -DRPTCONV_TESTS=ON $(CMAKE_FLAGS))
	cmake --build $(BUILD) -j $(JOBS)
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
test-asan: test-packages
	$(call configure,build-asan,-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRPTCONV_SANITIZE=ON -DRPTCONV_TESTS=ON)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# Coverage-guided fuzzing of the conversion core (FUZZ_SECONDS, default 60).
FUZZ_SECONDS ?= 60
fuzz:
	bash tests/fuzz/run_fuzz.sh $(FUZZ_SECONDS)

# The Windows program, cross-built with mingw-w64: build-win/rptconv.exe.
WINDOWS_FLAGS = -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
windows:
	$(call configure,build-win,$(WINDOWS_FLAGS))
	cmake --build build-win -j $(JOBS) --target rptconv

# Its tests under Wine (unit tests, platform layer, golden pages, end to end),
# then the samples converted by it and by the Linux program, byte for byte.
# Under load Wine now and then starts a program that writes nothing (seen
# once in the end-to-end script, not reproduced in eight runs after): a test
# that fails once runs a second time, so only a failure seen twice counts.
test-windows: build
	bash tests/need_packages.sh windows
	$(call configure,build-win,$(WINDOWS_FLAGS) -DRPTCONV_TESTS=ON)
	cmake --build build-win -j $(JOBS)
	cd build-win && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2
	bash tests/wine/compare_samples.sh $(BUILD)/rptconv build-win/rptconv.exe samples \
	  tests/wine/wine-run.sh $(CURDIR)/build-win/wineprefix
	bash tests/wine/compare_samples.sh $(BUILD)/rptconv build-win/rptconv.exe tests/modern \
	  tests/wine/wine-run.sh $(CURDIR)/build-win/wineprefix

BENCH_MB ?= 256
bench: build
	bash bench/run $(BENCH_MB)
