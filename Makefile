# SPDX-License-Identifier: GPL-3.0-or-later
# Everything starts here: each target first makes sure the packages are installed.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build build-asan test test-unit test-asan demo bench bench-micro fuzz package screenshots windows windows-package test-windows windows-screenshot clean

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

# The Debian package of the three programs, from a Release build of its own, checked by
# Debian's lintian, which fails it on any error or warning.
package: deps
	@cmake -S . -B build-release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTALQEN_BENCH=OFF >/dev/null
	@cmake --build build-release -j $(JOBS)
	@cd build-release && cpack -G DEB >/dev/null && ls -1 $$PWD/talqen_*.deb
	@if command -v lintian >/dev/null; then lintian --fail-on error,warning build-release/talqen_*.deb; \
	  else echo "package: lintian is not installed, the package was not checked"; fi

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
FUZZ_TARGETS := reply_stream_fuzz journal_text_fuzz base64_fuzz profile_file_fuzz sim_request_fuzz assembly_fuzz archive_file_fuzz
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

# Windows: talqen.exe, talqen-cli.exe and the tests as static .exe files, cross-built
# with MinGW-w64 against Qt, libxml2, SQLite, libxlsxwriter, OpenSSL and libpq built once per machine
# from Debian's source packages (into ~/.cache/talqen); the tests run under Wine, and the programs against
# talqen-sim beside the Linux ones.
WINDOWS_BUILD ?= build-windows
WINE ?= $(shell command -v wine64 || echo /usr/lib/wine/wine64)
windows:
	@scripts/install-deps windows
	@libxml2=$$(scripts/build-windows-libxml2) && sqlite=$$(scripts/build-windows-sqlite) && \
	  xlsxwriter=$$(scripts/build-windows-xlsxwriter) && openssl=$$(JOBS=$(JOBS) scripts/build-windows-openssl) && \
	  libpq=$$(JOBS=$(JOBS) scripts/build-windows-libpq $$openssl) && qt=$$(JOBS=$(JOBS) scripts/build-windows-qt) && \
	  cmake -S . -B $(WINDOWS_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DTALQEN_WINDOWS_PREFIX="$$libxml2;$$sqlite;$$xlsxwriter;$$openssl;$$libpq;$$qt" -DTALQEN_WERROR=ON -DTALQEN_BENCH=OFF >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The setup program and the zip of the programs, in $(WINDOWS_BUILD).
windows-package: windows
	@cd $(WINDOWS_BUILD) && cpack >/dev/null && ls -1 $$PWD/talqen-*-setup.exe $$PWD/talqen-*-windows.zip

WINESERVER ?= $(shell command -v wineserver || echo /usr/lib/wine/wineserver)
WINE_ENV = WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wine WINEDEBUG=-all
# The unit and UI tests under one persistent Wine server: a test that starts while an idle
# server is shutting down otherwise loses its connection ("wine client error ... reset by
# peer"). Then the programs against talqen-sim, talqen-cli.exe against a PostgreSQL server
# over TLS, and talqen.exe (in Russian, then on a Ukrainian Windows) and the setup program
# on a virtual X display with a window manager.
XVFB_RUN = xvfb-run -a -s "-screen 0 1280x1024x24"
test-windows: windows-package build
	@$(WINE_ENV) $(WINESERVER) -k >/dev/null 2>&1 || true
	@mkdir -p $(WINDOWS_BUILD)/wine && $(WINE_ENV) $(WINESERVER) -p
	@$(WINE_ENV) $(WINE) wineboot -i >/dev/null 2>&1 || true
	@status=0; ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS) || status=$$?; \
	  $(WINE_ENV) $(WINESERVER) -k >/dev/null 2>&1; exit $$status
	@tests/windows/against-sim $(BUILD) $(WINDOWS_BUILD)
	@tests/windows/central-under-wine $(BUILD) $(WINDOWS_BUILD)
	@$(XVFB_RUN) tests/windows/desktop-against-sim $(BUILD) $(WINDOWS_BUILD)
	@$(XVFB_RUN) tests/windows/archive-against-sim $(BUILD) $(WINDOWS_BUILD)
	@$(XVFB_RUN) tests/windows/desktop-in-ukrainian $(BUILD) $(WINDOWS_BUILD)
	@$(XVFB_RUN) tests/windows/setup-under-wine $(WINDOWS_BUILD)

# The picture of talqen.exe under Wine in docs/, taken as the desktop test drives it.
windows-screenshot: windows build
	@scripts/install-deps screenshots
	@SCREENSHOT=$(CURDIR)/docs/windows-desktop.png $(XVFB_RUN) tests/windows/desktop-against-sim $(BUILD) $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-release build-fuzz $(WINDOWS_BUILD)
