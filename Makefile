# Every target installs what is missing first (scripts/install-deps).
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-release
MUTANTS_BUILD ?= build-mutants
BUILD_TYPE ?= RelWithDebInfo
CMAKE_ARGS ?=
FUZZ_SECONDS ?= 30
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all deps build run test test-asan test-asan-cores test-kills bench fuzz mutants clean install package

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/kb_zeva3 $(if $(FILE),"$(FILE)")

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j $(JOBS)

# Installs the editor under PREFIX (DESTDIR is honoured too).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same files: $(BUILD)/kb-zeva3_VERSION_ARCH.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
# (any finding fails its test; options and leak suppressions are built into
# the test programs, tests/sanitizer). -O1: a third quicker to build than
# -O2 instrumented; -g1: line numbers in the reports, no more. CMAKE_ARGS=
# -DKB_QSCINTILLA_FROM=build links the editing control of an ordinary build
# instead of building it again. The build lists each program's tests by running it:
# leaks are looked for in the test runs, not there. The carried editing
# control is built uninstrumented unless CMAKE_ARGS=-DKB_SANITIZE_QSCINTILLA=ON.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DKB_SANITIZE=ON -DKB_BUILD_BENCH=OFF $(CMAKE_ARGS)
	ASAN_OPTIONS=detect_leaks=0 cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 1200 -j $(JOBS)

# Only the Qt-free cores (kanji, settings) under the sanitizers: minutes
# instead of the whole suite's build.
test-asan-cores: deps
	$(MAKE) test-asan ASAN_BUILD=$(ASAN_BUILD)-cores CMAKE_ARGS="-DKB_KANJI_ONLY=ON $(CMAKE_ARGS)"

# Saves written in place killed at random moments, on 100 MB files: none may
# be left torn (the unit test does the same on 4 MB in make test).
test-kills: build
	KB_KILL_TEST_BYTES=104857600 KB_KILL_TEST_ROUNDS=25 $(BUILD)/tests/platform/settings_tests --gtest_filter='SaveJournal.*'

# One-line bugs from scripts/mutants.list, each put into the sources for a
# build of its own and shown to the tests that must notice it (end-to-end
# modules among them); prints the survivors. Do not edit while it runs.
mutants: deps
	scripts/mutants --build $(MUTANTS_BUILD) --jobs $(JOBS) $(if $(CMAKE_ARGS),-- $(CMAKE_ARGS))

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKB_BUILD_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/bench/kanji_bench
	KB_KANJI_LEVEL=UpToAvx2 $(BENCH_BUILD)/bench/kanji_bench
	$(BENCH_BUILD)/bench/settings_bench
	$(BENCH_BUILD)/bench/editor_bench
	$(BENCH_BUILD)/bench/utf8_bench
	$(BENCH_BUILD)/bench/editing_bench
	$(BENCH_BUILD)/bench/print_bench
	$(BENCH_BUILD)/bench/file_bench
	$(BENCH_BUILD)/bench/find_bench
	$(BENCH_BUILD)/bench/frame_bench
	$(BENCH_BUILD)/bench/popup_bench
	$(BENCH_BUILD)/bench/wrap_bench

# libFuzzer targets, each run for FUZZ_SECONDS, seeded with the test fixtures
# (new inputs go to fuzz-corpus/TARGET, the fixtures are only read).
fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKB_KANJI_ONLY=ON \
	  -DKB_BUILD_TESTS=OFF -DKB_BUILD_BENCH=OFF -DKB_BUILD_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  echo "== $$f"; mkdir -p fuzz-corpus/$$(basename $$f); \
	  $$f -max_total_time=$(FUZZ_SECONDS) -max_len=4096 fuzz-corpus/$$(basename $$f) tests/data || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(ASAN_BUILD)-cores $(FUZZ_BUILD) $(BENCH_BUILD) $(MUTANTS_BUILD)
