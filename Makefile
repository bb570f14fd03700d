# The two commands of the README. Both install what is missing, configure and build.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz package clean

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
	python3 bench/startup.py $(BUILD)
	python3 bench/walk.py $(BUILD)

# The RTF reader under libFuzzer for a bounded time, in a clang build of its own.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@sh scripts/setup-deps.sh fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGL_FUZZ=ON \
		-DGL_BUILD_TESTS=OFF -DGL_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) --target fuzz_rtf -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/fuzz/corpus
	$(FUZZ_BUILD)/fuzz/fuzz_rtf -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
		-max_len=65536 $(FUZZ_BUILD)/fuzz/corpus tests/data/rtf

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
