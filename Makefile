# Top-level entry points: `make` builds, `make test` builds and runs every test (also under
# the sanitizers, and the Windows build under Wine), `make demo` runs the tools against the
# device simulators, `make windows` cross-builds the tools and dialog programs for Windows.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A compiler cache (ccache, used when installed) keyed on paths relative to the tree, so a
# second clone or work tree reuses what the first compiled.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

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
	scripts/windows-qt.sh --background
	$(MAKE) format-check
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300
	$(MAKE) lint
	$(MAKE) package-check
	$(MAKE) fuzz-smoke
	python3 tests/fault_runs.py $(BUILD)
	$(MAKE) windows-test

# The sanitizer build: clang with ASan and UBSan for the unit tests, and the fuzz targets
# built in the same tree (libFuzzer's coverage on all code), so one build serves both.
asan-test:
	CXX=clang++-14 cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON \
	  -DSUITE_FUZZ=ON -DSUITE_WITH_QT=OFF
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)

# Fuzzing: clang with libFuzzer, ASan and UBSan. `make fuzz` runs every target for
# FUZZ_SECONDS (default 10 minutes each); `make test` runs each for a few seconds over its
# seed corpus (from the sanitizer build), so a target that no longer builds or crashes on
# its seeds fails.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 600

fuzz-build:
	CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUITE_FUZZ=ON \
	  -DSUITE_WITH_QT=OFF -DSUITE_FOLDERS="common;link;cli;plc;monitor;sim;setup_tool;protocol_tool"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

fuzz: deps
	$(MAKE) fuzz-build
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
	$(MAKE) build
	python3 tests/fault_runs.py $(BUILD) --long

fuzz-smoke: asan-test
	scripts/fuzz.sh $(ASAN_BUILD) 3

# Tidy habits: `make format` formats every C++ file of the tree with .clang-format;
# `make format-check` fails on a file that is not formatted; `make lint` runs clang-tidy with
# the checks in .clang-tidy over the core folders (not their tests), from the build's
# compile_commands.json. `make test` runs both first.
CXX_SOURCES = $(wildcard $(shell git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null))
LINT_FOLDERS = common|link|plc|monitor|cli|plc_tool/core|setup_tool/core|protocol_tool/core
LINT_FILES = ^$(CURDIR)/($(LINT_FOLDERS))/(?!(.*/)?tests/).*\.cpp$$
CLANG_FORMAT ?= clang-format
RUN_CLANG_TIDY ?= run-clang-tidy-14

.PHONY: format format-check lint
format:
	$(CLANG_FORMAT) -i $(CXX_SOURCES)

format-check: deps
	@$(CLANG_FORMAT) --dry-run -Werror $(CXX_SOURCES) && echo "format-check: every C++ file is formatted"

lint: deps configure
	$(RUN_CLANG_TIDY) -p $(BUILD) -quiet -j $(JOBS) '$(LINT_FILES)' > $(BUILD)/lint.log 2>&1 \
	  || { sed 's/\x1b\[[0-9;]*m//g' $(BUILD)/lint.log \
	       | grep -v 'warnings generated\|^Suppressed \|^Use -header-filter\|^clang-tidy-14 '; exit 1; }
	@echo "lint: no findings (log: $(BUILD)/lint.log)"


# Installing and packaging. `make install` installs the built suite under PREFIX (as root,
# or with sudo, for a system prefix); `make package` builds the Debian package in $(BUILD);
# `make package-check` unpacks it and checks what it installs.
PREFIX ?= /usr/local
.PHONY: install package package-check

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: deps
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB

package-check: package
	packaging/package-check.sh $(BUILD)

# Windows: the command-line tools, the core's unit tests and the three dialog programs with
# their Qt tests, cross-built with MinGW-w64 (the static Qt for Windows is built once per
# machine by scripts/windows-qt.sh, when missing), run under Wine against the Linux build's
# simulators. SUITE_WINDOWS_QT=off leaves the dialog programs out.
WINDOWS_BUILD ?= build-windows
WINDOWS_TARGETS = quarnctl skelligctl vantorctl windows_unit_tests windows_dialogs

.PHONY: windows windows-test windows-package screenshots-windows

windows:
	scripts/windows-configure.sh $(WINDOWS_BUILD)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target $(WINDOWS_TARGETS)

windows-test: windows-package
	$(MAKE) build
	scripts/windows-test.sh $(WINDOWS_BUILD) $(BUILD)
	scripts/windows-install-test.sh $(WINDOWS_BUILD) $(BUILD)

# The zip and the setup program (NSIS) of what `make windows` built.
windows-package: windows
	scripts/windows-package.sh $(WINDOWS_BUILD)

# The dialogs and the variables window drawn by Wine (windows platform plugin, on Xvfb).
screenshots-windows: windows
	$(MAKE) build
	scripts/screenshots-windows.sh $(WINDOWS_BUILD) $(BUILD)
