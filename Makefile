# Top-level entry points: `make` builds, `make test` builds and runs every test (also under
# the sanitizers), `make demo` runs the tools against the device simulators.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all build deps configure test asan-test demo bench clean screenshots

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
	$(MAKE) package-check
	$(MAKE) asan-test

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
	rm -rf $(BUILD) $(ASAN_BUILD)

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
