# Entry points for people and CI. Each target installs what it needs on a fresh
# Debian 12 machine (with apt-get, as root or through sudo), or prints the
# command to run and stops.

BUILD      ?= build
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build demo test deps clean

all: build

deps:
	@scripts/ensure-packages cmake g++ make libgtest-dev libgmock-dev libpng-dev

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBDF2VBT_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
