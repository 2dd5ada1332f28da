# Tolvane: `make run` builds and starts the program; `make test` builds and runs every test.
# Both install what is missing first (Debian 12, as root).
SHELL := /bin/bash
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps native win64 win32 test test-native test-wine run demo fuzz fuzz-smoke bench clean

all: native win64 win32

deps:
	@bash tools/install-deps.sh

# Portable code and its tests, with AddressSanitizer and UndefinedBehaviorSanitizer.
native:
	cmake -S . -B build/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON
	cmake --build build/native -j $(JOBS)

# Everything, 64-bit Windows: the build whose tests run under Wine here.
win64:
	prefix=$$(bash tools/build-mingw-deps.sh x86_64-w64-mingw32) && \
	cmake -S . -B build/win64 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake -DTOLVANE_DEPS_PREFIX=$$prefix \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(ROOT)/tools/wine-run.sh
	cmake --build build/win64 -j $(JOBS)

# The 32-bit release: built and linked, not run (these machines cannot execute 32-bit code).
win32:
	prefix=$$(bash tools/build-mingw-deps.sh i686-w64-mingw32) && \
	cmake -S . -B build/win32 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DTOLVANE_DEPS_PREFIX=$$prefix
	cmake --build build/win32 -j $(JOBS)

test: deps
	$(MAKE) native win64 win32
	$(MAKE) test-native test-wine fuzz-smoke

test-native:
	ctest --test-dir build/native --output-on-failure -j $(JOBS)

# Wine tests share port 80 and 443 of one network namespace: one at a time.
test-wine:
	bash tools/with-wine.sh ctest --test-dir build/win64 --output-on-failure -j 1

# Fuzz targets (clang + libFuzzer): `make fuzz-smoke` runs each briefly, `make fuzz` longer.
FUZZ_SECONDS ?= 300
fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTOLVANE_SANITIZE=ON -DTOLVANE_FUZZ=ON -DTOLVANE_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS)

fuzz-smoke: fuzz-build
	bash tools/run-fuzzers.sh build/fuzz 20

fuzz: fuzz-build
	bash tools/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BENCH=ON -DTOLVANE_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	bash tools/run-benchmarks.sh

run: deps
	$(MAKE) win64
	bash tools/run-program.sh

demo: deps
	$(MAKE) win64
	bash tools/run-program.sh --demo

clean:
	rm -rf build
