# The two commands of the README: `make run` and `make test`.  Both install
# what is missing first, so they work on a fresh Debian or Ubuntu machine.

BUILD_DIR := build
ASAN_DIR := build-asan
# The compilers and linkers run with their large allocations on transparent
# huge pages (tools/hugepages.c, and glibc's malloc by its tunable), which
# spares them most of their page faults: a build takes about a fifth less
# time.  ccache where it is installed (tools/install-deps.sh installs it):
# asked when the build is configured, after the packages are in.  Paths
# inside the project count relative to it, so that another clone of the
# same sources hits the same entries, with or without debug information.
HUGEPAGES := $(CURDIR)/build-tools/hugepages.so
ON_HUGE_PAGES := env;LD_PRELOAD=$(HUGEPAGES);GLIBC_TUNABLES=glibc.malloc.hugetlb=1
CMAKE_CONFIGURE = cmake -G Ninja -DHELIDISK_WERROR=ON \
  "-DCMAKE_CXX_COMPILER_LAUNCHER=$(ON_HUGE_PAGES)$$(command -v ccache >/dev/null && echo ';ccache')" \
  "-DCMAKE_CXX_LINKER_LAUNCHER=$(ON_HUGE_PAGES)"
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1
CTEST := QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2
FUZZ_SECONDS := 300

.PHONY: run test ctest-release ctest-asan deps build build-asan lint bench screenshot fuzz memory package package-test clean

run: build
	@tools/run-helidisk.sh $(BUILD_DIR)

# Static analysis, the sanitizers' build and a short fuzzing run first, side
# by side (each leaves a core idle at times: linking, the single-threaded
# fuzzer); the two suites last, also side by side (the release suite's long
# soak test would leave a core idle for its last 20 s), each printed whole
# when it ends, so that the final lines are a ctest summary.
test: build
	$(MAKE) --no-print-directory -j 3 -O lint build-asan fuzz FUZZ_SECONDS=30
	$(MAKE) --no-print-directory -j 2 -O ctest-release ctest-asan

ctest-release:
	cd $(BUILD_DIR) && $(CTEST)

ctest-asan:
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

deps:
	@tools/install-deps.sh

$(HUGEPAGES): tools/hugepages.c | deps
	mkdir -p $(@D)
	$(CC) -O2 -Wall -Wextra -Werror -shared -fPIC -o $@ $<

build: deps $(HUGEPAGES)
	$(CMAKE_CONFIGURE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD_DIR)

build-asan: deps $(HUGEPAGES)
	$(CMAKE_CONFIGURE) -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELIDISK_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_DIR)

lint: build
	tools/lint.sh $(BUILD_DIR)

bench: build
	$(BUILD_DIR)/bench/helidisk_bench

screenshot: build
	@tools/install-deps.sh x11-utils imagemagick
	tools/screenshot.sh $(BUILD_DIR) docs/screenshot.png
	XDG_RUNTIME_DIR=$$(mktemp -d) $(BUILD_DIR)/tools/screenshots/helidisk_overlay_screenshot docs/overlay.png
	XDG_RUNTIME_DIR=$$(mktemp -d) $(BUILD_DIR)/tools/screenshots/helidisk_sunspot_screenshot docs/sunspots.png

fuzz: deps
	tools/fuzz.sh $(FUZZ_SECONDS)

memory: build
	@tools/install-deps.sh heaptrack
	tools/memory.sh $(BUILD_DIR)

# The Debian package, helidisk_<version>_<arch>.deb in the build directory.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Builds the package and inspects it (control fields, files, manual pages,
# AppStream metadata, lintian); CI runs it after `make test`.
package-test: build
	@tools/install-deps.sh appstream lintian
	tools/package-test.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz build-tools fuzz-corpus-work
