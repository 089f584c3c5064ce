# Zentrap: `make run` builds and starts the program; `make test` builds and runs every test.
# Both install what is missing first (scripts/install-deps).

JOBS ?= $(shell nproc)
RELEASE := build/release
SANITIZE := build/asan
BENCH := build/bench
FUZZ := build/fuzz
FUZZ_SECONDS ?= 30
PREFIX ?= /usr/local

.PHONY: deps run build install test check bench fuzz format clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRAP_BUILD_TESTS=OFF
	cmake --build $(RELEASE) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ]; then echo "make run: no DISPLAY. Start an X session first, or try it headless: scripts/with-test-desktop $(RELEASE)/bin/zentrap" >&2; exit 1; fi
	$(RELEASE)/bin/zentrap

install: build
	cmake --install $(RELEASE) --prefix $(PREFIX)

test: deps
	cmake -S . -B $(SANITIZE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRAP_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS) --timeout 600

# clang-format on every C++ file and the clang-tidy profile on the program code (uses the test build).
check: deps
	cmake -S . -B $(SANITIZE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRAP_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	scripts/check-code $(SANITIZE)

bench: deps
	@scripts/install-bench-peers
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRAP_BUILD_TESTS=OFF -DZENTRAP_BUILD_BENCH=ON
	cmake --build $(BENCH) -j $(JOBS)
	scripts/run-benchmarks $(BENCH)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZENTRAP_BUILD_TESTS=OFF -DZENTRAP_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
