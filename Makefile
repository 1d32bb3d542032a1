# Entry points for people and CI. Each target installs what it needs on a fresh
# Debian 12 machine (with apt-get, as root or through sudo), or prints the
# command to run and stops.

BUILD      ?= build
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build demo test deps clean

all: build

deps:
	@scripts/ensure-packages cmake gcc g++ make libgtest-dev libgmock-dev libpng-dev

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBDF2VBT_WERROR=ON -DBDF2VBT_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

# Only the two programs: the demo shows what they do.
demo:
	@scripts/ensure-packages cmake gcc g++ make libpng-dev
	@echo "Configuring the build in $(BUILD)/"
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBDF2VBT_WERROR=ON -DBDF2VBT_TESTS=OFF $(CMAKE_ARGS) >/dev/null
	@echo "Building bdf2vbt and vbtdump (about a minute the first time)"
	@cmake --build $(BUILD) -j $(JOBS) --target bdf2vbt vbtdump
	@scripts/demo $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

# A Debian package of what `cmake --install` installs, as
# $(BUILD)/bdf2vbt_VERSION_ARCH.deb; CPack finds the programs with `file` and
# dpkg-dev computes their Depends. scripts/try-package installs it, tries it
# and removes it again (as root).
.PHONY: package package-check
package: build
	@scripts/ensure-packages dpkg-dev file
	cd $(BUILD) && cpack -G DEB

# The package's files, control fields and man pages as expected, and lintian
# clean.
package-check: package
	@scripts/ensure-packages lintian
	scripts/check-package $(BUILD)

# The whole test suite once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run.
ASAN_BUILD ?= build-asan
SANITIZE    = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: test-asan
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBDF2VBT_WERROR=ON -DBDF2VBT_STATIC=OFF \
	  -DCMAKE_C_FLAGS="$(SANITIZE)" -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The whole test suite once more on the plain twins of every fast path:
# no SSE2, no byte-order-specific code.
SCALAR_BUILD ?= build-scalar
.PHONY: test-scalar
test-scalar: deps
	cmake -S . -B $(SCALAR_BUILD) -DCMAKE_BUILD_TYPE=Release -DBDF2VBT_WERROR=ON -DBDF2VBT_SCALAR=ON $(CMAKE_ARGS)
	cmake --build $(SCALAR_BUILD) -j $(JOBS)
	cd $(SCALAR_BUILD) && ctest --output-on-failure -j $(JOBS)

# The device reader's code size and stack use with arm-none-eabi-gcc for
# Cortex-M0 and Cortex-M4 (the table of the README's "On the device");
# fails when the glyph set misses its goal on Cortex-M0.
.PHONY: reader-size
reader-size:
	@scripts/ensure-packages gcc-arm-none-eabi libnewlib-arm-none-eabi
	scripts/reader-size $(BUILD)/reader-size

# The reader's unit test as an s390x program under user-mode QEMU: files
# written little-endian, read on a big-endian machine.
BIG_ENDIAN_BUILD ?= $(BUILD)/s390x
.PHONY: test-big-endian
test-big-endian:
	@scripts/ensure-packages make gcc-s390x-linux-gnu libc6-dev-s390x-cross qemu-user
	mkdir -p $(BIG_ENDIAN_BUILD)
	s390x-linux-gnu-gcc -std=c99 -Wall -Wextra -Werror -pedantic -O2 -static -Ireader \
	  reader/*.c tests/reader/unit_test.c -o $(BIG_ENDIAN_BUILD)/reader_unit_test
	qemu-s390x $(BIG_ENDIAN_BUILD)/reader_unit_test > $(BIG_ENDIAN_BUILD)/unit_test.log || \
	  { cat $(BIG_ENDIAN_BUILD)/unit_test.log; exit 1; }
	cat $(BIG_ENDIAN_BUILD)/unit_test.log
	grep -qx 'byte order: big-endian' $(BIG_ENDIAN_BUILD)/unit_test.log

# examples/mcu-hello, a bare-metal program with a converted font in flash,
# run on QEMU's Cortex-M3 board lm3s6965evb: what it draws must be what
# vbtdump --text draws.
.PHONY: test-mcu
test-mcu: build
	@scripts/ensure-packages gcc-arm-none-eabi libnewlib-arm-none-eabi qemu-system-arm
	scripts/test-mcu $(BUILD)

# Fuzzing with libFuzzer (clang): FUZZ_SECONDS of work on every core.
# make fuzz: the conversion of BDF texts;
# make fuzz-vbtdump: vbtdump on any bytes as a VBT2 file;
# make fuzz-reader: the device reader on any bytes as a file, with codes and
# a UTF-8 text in front of them.
# scripts/fuzz-seeds makes their seeds from the sample fonts. Findings land
# in build-fuzz/artifacts/.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_FLAGS    = -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g

.PHONY: fuzz fuzz-vbtdump fuzz-reader fuzz-build
fuzz-build:
	@scripts/ensure-packages cmake make clang libclang-rt-14-dev libpng-dev
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DBDF2VBT_TESTS=OFF -DBDF2VBT_STATIC=OFF -DBDF2VBT_FUZZ=ON -DCMAKE_C_FLAGS="$(FUZZ_FLAGS)" -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target bdf2vbt convert_fuzzer vbtdump_fuzzer reader_fuzzer
	scripts/fuzz-seeds $(FUZZ_BUILD)

fuzz: fuzz-build
	scripts/fuzz $(FUZZ_BUILD) convert_fuzzer $(FUZZ_BUILD)/seeds-bdf $(FUZZ_SECONDS) $(JOBS)

fuzz-vbtdump: fuzz-build
	scripts/fuzz $(FUZZ_BUILD) vbtdump_fuzzer $(FUZZ_BUILD)/seeds-vbt $(FUZZ_SECONDS) $(JOBS)

fuzz-reader: fuzz-build
	scripts/fuzz $(FUZZ_BUILD) reader_fuzzer $(FUZZ_BUILD)/seeds-reader $(FUZZ_SECONDS) $(JOBS)

# Speed and memory of the release build on a generated font, GNU Unifont and
# 1000 small fonts (on demand, never part of make test): BENCH_RUNS runs of
# each scenario, BENCH_GLYPHS glyphs in the generated font.
BENCH_RUNS   ?= 9
BENCH_GLYPHS ?= 57000
.PHONY: bench
bench: build
	@scripts/ensure-packages time hyperfine xfonts-unifont pcf2bdf xfonts-utils valgrind
	scripts/bench $(BUILD) $(BENCH_RUNS) $(BENCH_GLYPHS)
