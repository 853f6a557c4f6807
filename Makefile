# The two commands of the README. Both install what is missing, then build.
BUILD := build
# As many jobs as the machine has cores, for the build and for the tests.
JOBS := $(shell nproc)
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps build test run bench dist clean

all: build

deps:
	@tools/setup-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS)

test: build
	@tools/run-tests.sh

run: build
	@tools/run.sh

bench: build
	@tools/bench.sh

dist: build
	@tools/make-dist.sh

clean:
	rm -rf $(BUILD)
