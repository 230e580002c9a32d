# make run   installs what is missing, builds, and runs the main job under Wine
# make test  installs what is missing, builds, and runs every test
# make bench installs what is missing, builds, and runs the benchmark
# make bench64 the same with a 64-bit build under 64-bit Wine (for side-by-side runs)

BUILD := build/cross
.PHONY: all deps build run test bench bench64 clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@bash scripts/run-main.sh

test: build
	@bash scripts/run-tests.sh

bench: build
	cmake --build $(BUILD) --target morvane_bench
	@bash scripts/run-bench.sh

bench64:
	@bash scripts/install-deps.sh --bench64
	@[ -f build/bench64/build.ninja ] || cmake -S . -B build/bench64 -G Ninja \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DMORVANE_OUTPUT_DIR=$(CURDIR)/build/bench64/out >/dev/null
	cmake --build build/bench64 --target morvane_bench
	@bash scripts/run-bench.sh 64

clean:
	rm -rf build
