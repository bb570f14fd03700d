# SPDX-License-Identifier: GPL-3.0-or-later
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
	python3 bench/commandline.py $(BUILD)
	python3 bench/walk.py $(BUILD)
	python3 bench/matrix.py $(BUILD)
	python3 bench/sweep.py $(BUILD)
	python3 bench/pgcase.py $(BUILD)

# The libFuzzer targets for a bounded time each, in a clang build of its own. Each runs over
# its committed seeds (fuzz/seeds/<target>) and keeps what it finds in $(FUZZ_BUILD)/fuzz/corpus;
# every target runs even when one finds a fault, and the targets that did are named at the end.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS      ?= fuzz_rtf fuzz_listfile fuzz_console fuzz_mozlz4 fuzz_whatsmyname \
                fuzz_hitrule fuzz_serveraddress
fuzz: deps
	@sh scripts/setup-deps.sh fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGL_FUZZ=ON \
		-DGL_BUILD_TESTS=OFF -DGL_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) --target fuzzers -j $(JOBS)
	@failed=""; for target in $(FUZZERS); do \
		seeds=fuzz/seeds/$$target; \
		[ $$target = fuzz_rtf ] && seeds="$$seeds tests/data/rtf"; \
		mkdir -p $(FUZZ_BUILD)/fuzz/corpus/$$target; \
		echo "== $$target, $(FUZZ_SECONDS) s"; \
		$(FUZZ_BUILD)/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/fuzz/$$target- \
			$(FUZZ_BUILD)/fuzz/corpus/$$target $$seeds || failed="$$failed $$target"; \
	done; \
	if [ -n "$$failed" ]; then \
		echo "Faults found by:$$failed (inputs in $(FUZZ_BUILD)/fuzz/<target>-crash-*)"; exit 1; \
	fi

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
