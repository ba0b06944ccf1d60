# Everything starts here: each target first makes sure the packages are installed.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build build-asan test test-unit test-asan demo bench bench-micro check-win32 fuzz package screenshots clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTALQEN_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTALQEN_SANITIZE=ON -DTALQEN_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

# The whole suite in a Release build (-O3 shows warnings that lower levels do not), then
# again with every program built with AddressSanitizer; warnings are errors in both.
test: build build-asan
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The sanitizer half alone.
test-asan: build-asan
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test-unit: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L unit

demo: build
	@scripts/demo $(BUILD)

# The Debian package of the three programs, from a Release build of its own.
package: deps
	@cmake -S . -B build-release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTALQEN_BENCH=OFF >/dev/null
	@cmake --build build-release -j $(JOBS)
	@cd build-release && cpack -G DEB >/dev/null && ls -1 $$PWD/talqen_*.deb

# PNGs of the desktop program's windows in docs/, taken under Xvfb.
screenshots: build
	@scripts/install-deps screenshots
	@scripts/screenshots $(BUILD)

# One table: rendering beside xmllint, peak memory, retrievals against their limits.
bench: build
	@scripts/install-deps bench
	@scripts/bench-table $(BUILD)

# The Google Benchmark programs (load, render, the journal window's list).
bench-micro: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true

# Each libFuzzer target for FUZZ_SECONDS (clang, AddressSanitizer), on a seed corpus
# written from the tests' data; prints the executions and what was found.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS := reply_stream_fuzz journal_text_fuzz base64_fuzz profile_file_fuzz sim_request_fuzz assembly_fuzz
fuzz:
	@scripts/install-deps fuzz
	@cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-16 \
	  -DTALQEN_FUZZ=ON -DBUILD_TESTING=OFF -DTALQEN_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS) seed_corpus
	@build-fuzz/fuzz/seed_corpus build-fuzz/corpus tests/render/golden/every_element.xml
	@for f in $(FUZZ_TARGETS); do \
	  echo "== $$f"; mkdir -p build-fuzz/corpus/$$f; \
	  build-fuzz/fuzz/$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -timeout=20 -rss_limit_mb=2048 \
	    build-fuzz/corpus/$$f > build-fuzz/$$f.log 2>&1 || { tail -40 build-fuzz/$$f.log; exit 1; }; \
	  grep -E "stat::number_of_executed_units|stat::new_units_added" build-fuzz/$$f.log; done

# Compiles the device link for Windows where a MinGW cross compiler is installed
# (g++-mingw-w64-x86-64-posix): the Win32 serial backend is never built on Linux otherwise.
MINGW ?= x86_64-w64-mingw32-g++-posix
check-win32:
	@command -v $(MINGW) >/dev/null || { echo "check-win32: $(MINGW) not installed"; exit 1; }
	@for f in src/link/*.cpp src/text/*.cpp src/messages/*.cpp; do \
	  $(MINGW) -std=c++20 -Wall -Wextra -Werror -Isrc -fsyntax-only $$f || exit 1; done
	@echo "check-win32: the device link compiles for Windows"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-release build-fuzz
