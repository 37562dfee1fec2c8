# Front door: every target installs what is missing, configures and builds. With CI set, the
# build is the ci preset's: the default build with warnings as errors.
PRESET ?= $(if $(CI),ci,default)
# Each preset builds in its own folder (CMakePresets.json): build/ for the default one.
BUILD_DIR := $(if $(filter default,$(PRESET)),build,build-$(PRESET))
JOBS ?= $(shell nproc)
WERROR_FLAG := $(if $(CI),-DVANTREL_WERROR=ON)

.PHONY: all install-deps configure build demo test install screenshot viewer-picture plot-picture \
	bench asan fuzz \
	format-check clean

all: build

install-deps:
	sh scripts/install-deps

configure: install-deps
	cmake --preset $(PRESET) $(WERROR_FLAG)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

# The demo needs only the program and the module, not the tests.
demo: configure
	cmake --build --preset $(PRESET) -j $(JOBS) --target vantrel Vantrel
	./$(BUILD_DIR)/vantrel demo

test: build
	ctest --preset $(PRESET) -j $(JOBS)

install: build
	cmake --install $(BUILD_DIR)

screenshot: build
	VANTREL=$(BUILD_DIR)/vantrel sh scripts/screenshot docs/editor.png

viewer-picture: build
	VANTREL=$(BUILD_DIR)/vantrel sh scripts/viewer-screenshot docs/viewer.png

# The README's plot: the contour example drawn by vantrel plot, rendered to PNG.
plot-picture: build
	./$(BUILD_DIR)/vantrel plot examples/contour.element -p examples/linear3.toml --profile \
		-o docs/contour-plot.png

bench: install-deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target vantrel_bench vantrel_path_bench \
		vantrel_viewer_bench
	./build-release/vantrel_bench
	./build-release/vantrel_path_bench
	./build-release/vantrel_viewer_bench

# Address and undefined-behaviour checks over the whole test suite; the first report stops the
# program that made it (compiled so, and by the test preset's ASAN_OPTIONS and UBSAN_OPTIONS).
asan: install-deps
	cmake --preset asan $(WERROR_FLAG)
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Each fuzzer runs for FUZZ_SECONDS on a corpus seeded from the examples and fuzz/seeds, with
# the dictionary of its input's words where fuzz/ has one (the translation's input is an
# element's text). The path commands' fuzzer runs them as the program does, so their output and
# messages are discarded (libFuzzer's own reports still come through).
FUZZ_SECONDS ?= 60
FUZZERS := translate project import script element cam numbertext path
fuzz: install-deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DVANTREL_FUZZ=ON \
		-DVANTREL_SANITIZE=ON -DVANTREL_BUILD_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZERS))
	for f in $(FUZZERS); do \
		input=$$f; [ $$f = translate ] && input=element; \
		mkdir -p build-fuzz/corpus/$$f && cp fuzz/seeds/$$input/* build-fuzz/corpus/$$f/; \
		[ $$input = element ] && cp examples/*.element build-fuzz/corpus/$$f/; \
		[ $$f = project ] && cp examples/*.toml build-fuzz/corpus/$$f/; \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt \
		./build-fuzz/$${f}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			$$([ -f fuzz/$$input.dict ] && echo -dict=fuzz/$$input.dict) \
			$$([ $$f = path ] && echo -close_fd_mask=3) \
			build-fuzz/corpus/$$f || exit 1; \
	done

format-check: install-deps
	sh scripts/check-format

clean:
	rm -rf build build-ci build-debug build-asan build-release build-fuzz
