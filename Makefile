# Front door: every target installs what is missing, configures and builds.
PRESET ?= default
BUILD_DIR := build
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all install-deps configure build demo test install screenshot bench asan clean

all: build

install-deps:
	sh scripts/install-deps

configure: install-deps
	cmake --preset $(PRESET) -DVANTREL_WERROR=$(WERROR)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

demo: build
	./$(BUILD_DIR)/vantrel demo

test: build
	ctest --preset $(PRESET) -j $(JOBS)

install: build
	cmake --install $(BUILD_DIR)

screenshot: build
	sh scripts/screenshot docs/editor.png

bench: install-deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	./build-release/vantrel_bench

asan: install-deps
	cmake --preset asan -DVANTREL_WERROR=$(WERROR)
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

clean:
	rm -rf build build-asan build-release
