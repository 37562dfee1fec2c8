# Front door: every target installs what is missing, configures and builds.
PRESET ?= default
BUILD_DIR := build
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all install-deps configure build demo test install screenshot bench asan fuzz clean

all: build

install-deps:
	sh scripts/install-deps

configure: install-deps
	cmake --preset $(PRESET) -DVANTREL_WERROR=$(WERROR)

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
	sh scripts/screenshot docs/editor.png

bench: install-deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target vantrel_bench
	./build-release/vantrel_bench

asan: install-deps
	cmake --preset asan -DVANTREL_WERROR=$(WERROR)
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Each fuzzer runs for FUZZ_SECONDS on a corpus seeded from the examples.
FUZZ_SECONDS ?= 60
fuzz: install-deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DVANTREL_FUZZ=ON -DVANTREL_SANITIZE=ON
	cmake --build build-fuzz -j $(JOBS) --target translate_fuzz project_fuzz
	mkdir -p build-fuzz/corpus/translate build-fuzz/corpus/project
	cp examples/*.element build-fuzz/corpus/translate/
	cp examples/*.toml build-fuzz/corpus/project/
	./build-fuzz/translate_fuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/translate
	./build-fuzz/project_fuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/project

clean:
	rm -rf build build-debug build-asan build-release build-fuzz
