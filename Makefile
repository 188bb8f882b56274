# Wraps CMake. `make demo` builds and runs the main job on sample photos;
# `make test` builds with the sanitizers and runs every test; `make package`
# makes the Debian package of the release build.
JOBS ?= $(shell nproc)
BUILD ?= build/release
TESTBUILD ?= build/test

.PHONY: all deps build demo test testdata clean bench package

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGALVORA_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

package: build
	cmake --build $(BUILD) --target package

demo: build
	@bash scripts/demo.sh $(BUILD)

testdata: deps
	@bash scripts/fetch-testdata.sh $(TESTBUILD)/testdata

test: deps testdata
	cmake -S . -B $(TESTBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGALVORA_SANITIZE=ON -DGALVORA_TESTS=ON
	cmake --build $(TESTBUILD) -j $(JOBS)
	@bash scripts/run-tests.sh $(TESTBUILD) $(JOBS)

# Release build of its own (with the Google Benchmark programs), then the
# side-by-side figures against vipsthumbnail.
bench: deps
	@bash scripts/bench.sh build/bench

clean:
	rm -rf build
