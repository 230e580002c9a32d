# make run   installs what is missing, builds, and runs the main job under Wine
# make test  installs what is missing, builds, and runs every test
# make bench installs what is missing, builds, and runs the benchmark

BUILD := build/cross
.PHONY: all deps build run test bench clean

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

clean:
	rm -rf build
