# The two commands of the README. Both install what is missing, configure and build.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	@sh scripts/setup-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGL_WERROR=ON

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd samples && ../$(BUILD)/glenlantern

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/glbench

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
