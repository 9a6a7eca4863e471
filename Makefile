# Convenience wrapper around CMake. `make run` converts the bundled samples,
# `make test` builds and runs every test.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all build run test install clean windows test-asan fuzz bench

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

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) build-win build-asan
