# Tolvane: `make run` builds and starts the program; `make test` builds and runs every test.
# Both install what is missing first (Debian 12, as root).
SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -c
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
# Build folder root: helpers working side by side each use their own (make test B=build/x).
B ?= build

.PHONY: all deps native win64 win32 test test-native test-wine run demo fuzz fuzz-smoke bench clean

all: native win64 win32

deps:
	@bash tools/install-deps.sh

# Portable code and its tests, with AddressSanitizer and UndefinedBehaviorSanitizer.
native:
	cmake -S . -B $(B)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON
	cmake --build $(B)/native -j $(JOBS)

# Everything, 64-bit Windows: the build whose tests run under Wine here.
win64:
	prefix=$$(bash tools/build-mingw-deps.sh x86_64-w64-mingw32) && \
	cmake -S . -B $(B)/win64 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake -DTOLVANE_DEPS_PREFIX=$$prefix \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(ROOT)/tools/wine-run.sh
	cmake --build $(B)/win64 -j $(JOBS)

# The 32-bit release: built and linked, not run (these machines cannot execute 32-bit code).
win32:
	prefix=$$(bash tools/build-mingw-deps.sh i686-w64-mingw32) && \
	cmake -S . -B $(B)/win32 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DTOLVANE_DEPS_PREFIX=$$prefix
	cmake --build $(B)/win32 -j $(JOBS)

test: deps
	$(MAKE) native win64 win32
	$(MAKE) test-native test-wine fuzz-smoke
	@bash tools/test-summary.sh $(B)/test-native.log $(B)/test-wine.log

test-native:
	ctest --test-dir $(B)/native --output-on-failure --timeout 300 -j $(JOBS) 2>&1 | tee $(B)/test-native.log

# Wine tests share port 80 and 443 of one network namespace: one at a time.
test-wine:
	TOLVANE_WINE_BUILD=$(ROOT)/$(B)/win64 bash tools/with-wine.sh ctest --test-dir $(B)/win64 --output-on-failure --timeout 300 -j 1 2>&1 | tee $(B)/test-wine.log

# Fuzz targets (clang + libFuzzer): `make fuzz-smoke` runs each briefly, `make fuzz` longer.
FUZZ_SECONDS ?= 300
fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B $(B)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTOLVANE_SANITIZE=ON -DTOLVANE_FUZZ=ON -DTOLVANE_TESTS=OFF
	cmake --build $(B)/fuzz -j $(JOBS)

fuzz-smoke: fuzz-build
	bash tools/run-fuzzers.sh $(B)/fuzz 20

fuzz: fuzz-build
	bash tools/run-fuzzers.sh $(B)/fuzz $(FUZZ_SECONDS)

bench: deps
	$(MAKE) win64
	cmake -S . -B $(B)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BENCH=ON -DTOLVANE_TESTS=OFF
	cmake --build $(B)/bench -j $(JOBS)
	bash tools/run-benchmarks.sh $(ROOT)/$(B)

run: deps
	$(MAKE) win64
	TOLVANE_BUILD=$(ROOT)/$(B) bash tools/run-program.sh

demo: deps
	$(MAKE) win64
	TOLVANE_BUILD=$(ROOT)/$(B) bash tools/run-program.sh --demo

clean:
	rm -rf $(B)
