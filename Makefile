# Top-level entry points: `make` builds, `make test` builds and runs every test (also under
# the sanitizers, and the Windows build under Wine), `make demo` runs the tools against the
# device simulators, `make windows` cross-builds the command-line tools for Windows.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all build deps configure test asan-test demo bench clean screenshots fuzz fuzz-build fuzz-smoke

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300
	$(MAKE) asan-test
	$(MAKE) fuzz-smoke
	$(MAKE) windows-test

asan-test:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON -DSUITE_WITH_QT=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L unit --timeout 300

demo: deps
	$(MAKE) build
	scripts/demo.sh $(BUILD)

bench: deps
	$(MAKE) build
	scripts/bench.sh $(BUILD)

screenshots: deps
	$(MAKE) build
	scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD)

# Fuzzing: clang with libFuzzer, ASan and UBSan. `make fuzz` runs every target for
# FUZZ_SECONDS (default 10 minutes each); `make test` runs each for a few seconds over its
# seed corpus, so a target that no longer builds or crashes on its seeds fails.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 600

fuzz-build:
	CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUITE_FUZZ=ON \
	  -DSUITE_WITH_QT=OFF -DSUITE_FOLDERS="common;link;plc;monitor;sim;setup_tool;protocol_tool"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

fuzz: deps
	$(MAKE) fuzz-build
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	scripts/fuzz.sh $(FUZZ_BUILD) 3

# Windows: the command-line tools and the core's unit tests cross-built with MinGW-w64, run
# under Wine against the Linux build's simulators.
WINDOWS_BUILD ?= build-windows
WINDOWS_TARGETS = quarnctl skelligctl vantorctl windows_unit_tests

.PHONY: windows windows-test windows-package

$(WINDOWS_BUILD)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
	  -DCMAKE_BUILD_TYPE=Release

windows: $(WINDOWS_BUILD)/CMakeCache.txt
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target $(WINDOWS_TARGETS)

windows-test: windows
	scripts/windows-test.sh $(WINDOWS_BUILD) $(BUILD)

windows-package: windows
	scripts/windows-package.sh $(WINDOWS_BUILD)
