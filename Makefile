# Front door for newcomers and CI. `make run` and `make test` work on a fresh machine.
BUILD_DIR   ?= build
BUILD_TYPE  ?= RelWithDebInfo
JOBS        ?= $(shell nproc)
DEMO_DIR    := $(BUILD_DIR)/demo-game

.PHONY: all deps configure build test test-loaded tsan run install bench fuzz-build fuzz fuzz-smoke web-deps web-libs web web-test clean

all: build

deps:
	@bash scripts/deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The plain suite RUNS times while two busy processes load the CPUs, then every test that failed
# at least once and the time of each run. `make test-loaded LOADED_ARGS=--all` runs every test.
RUNS        ?= 3
LOADED_ARGS ?=
test-loaded: build
	@bash scripts/test-under-load.sh --runs $(RUNS) --build-dir $(BUILD_DIR) -j $(JOBS) $(LOADED_ARGS)

# The threaded suites (sound workers and mixer, image worker bands) under ThreadSanitizer, in a
# build of their own: a second engine build, so it is kept out of `make test`.
tsan: deps
	@cmake -S . -B $(BUILD_DIR)/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUM_SANITIZERS=OFF \
	  -DVELLUM_TSAN=ON >/dev/null
	@cmake --build $(BUILD_DIR)/tsan -j $(JOBS) --target vellum_tests_tsan
	@TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" $(BUILD_DIR)/tsan/tests/vellum_tests_tsan

# Packs the bundled demo into a game folder and runs it; headless when there is no display.
# Builds only what the demo needs, not the test suites or the sanitizer build.
RUN_TARGETS := vellum vellum-pack vellum-image vellum-movie
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(RUN_TARGETS)
	@bash scripts/run-demo.sh $(BUILD_DIR) $(DEMO_DIR)

# Installs the engine, the tools and their manual pages, the plug-in headers and the authors' guide
# under PREFIX (bin/, share/man/man1/, include/vellum/, share/doc/vellum/); DESTDIR is honoured.
# Builds only what it installs.
PREFIX      ?= /usr/local
INSTALL_TARGETS := vellum vellum-pack vellum-image vellum-movie vellum-sq vellum-lint vellum_command_reference vellum_message_reference
install: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(INSTALL_TARGETS)
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

# libFuzzer builds of the fuzz targets (clang); `make fuzz FUZZ_SECONDS=60` runs each for a while.
# `make fuzz-build` only builds them (CI does, so the clang build stays warning-clean).
FUZZ_SECONDS ?= 30
fuzz-build: deps
	@cmake -S . -B $(BUILD_DIR)/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELLUM_LIBFUZZER=ON >/dev/null
	@cmake --build $(BUILD_DIR)/fuzz -j $(JOBS) --target vellum_fuzzers

# Each target starts from its seeds in tests/fuzz/corpus; what it finds on the way goes into a
# temporary folder (libFuzzer adds to the first folder only), so the seeds stay as they are, and
# so do the game folders the targets write into. An input that crashes or hangs (over 25 s) is
# kept in build/fuzz/crashes and stops the run.
fuzz: fuzz-build
	@tmp=$$(mktemp -d) && trap 'rm -rf "$$tmp"' EXIT && mkdir -p $(BUILD_DIR)/fuzz/crashes && \
	for f in $(BUILD_DIR)/fuzz/tests/fuzz/*_fuzz; do \
	  name=$$(basename $$f); echo "== $$name ($(FUZZ_SECONDS) s)"; mkdir "$$tmp/$$name"; \
	  TMPDIR="$$tmp" $$f -max_total_time=$(FUZZ_SECONDS) -timeout=25 \
	    -artifact_prefix=$(BUILD_DIR)/fuzz/crashes/$$name- "$$tmp/$$name" tests/fuzz/corpus/$$name || exit 1; \
	done

# A short run of every target (CI, after the suite): each landing explores the parsers a little.
fuzz-smoke:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=15

# The web build: the C libraries built for the browser from Debian's sources (once, kept in
# $(BUILD_DIR)/web-deps), the engine built with emscripten ($(WEB_ENGINE_DIR)), and the demo
# published as a page in $(WEB_SITE_DIR) (index.html, vellum.js/.wasm, game.json/.data) with
# the native vellum-pack. `python3 scripts/web/serve.py $(WEB_SITE_DIR)` serves it for trying.
WEB_DEPS_PREFIX := $(abspath $(BUILD_DIR))/web-deps/prefix
WEB_ENGINE_DIR  := $(BUILD_DIR)/web-engine
WEB_SITE_DIR    := $(BUILD_DIR)/web/site
WEB_DEMO_DIR    := $(BUILD_DIR)/web/demo-game
WEB_JOBS        ?= $(JOBS)
WEB_ENV         := NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch
WEB_NATIVE_TARGETS := vellum vellum-pack vellum-movie

web-deps:
	@bash scripts/deps.sh --web

web-libs: web-deps
	@JOBS=$(WEB_JOBS) bash scripts/web/build-libs.sh $(BUILD_DIR)

web: web-libs configure
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_ENGINE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=node -DVELLUM_WEB_DEPS=$(WEB_DEPS_PREFIX) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_ENGINE_DIR) -j $(WEB_JOBS) --target vellum
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(WEB_NATIVE_TARGETS)
	@bash scripts/pack-demo.sh $(BUILD_DIR) $(WEB_DEMO_DIR) >/dev/null
	@rm -rf $(WEB_SITE_DIR)
	@$(BUILD_DIR)/vellum-pack web $(WEB_DEMO_DIR) -o $(WEB_SITE_DIR) --engine $(WEB_ENGINE_DIR)

# The demo's playthrough under node (the same story as the native engine, status 0), then in the
# page, in headless Chromium: the story it prints and its title, story page and save screen shots
# must match the native engine's (within a tolerance for the software renderer); the page is then
# reloaded and loads the save from the browser's storage; last, a player's start with the browser's
# own clicks (start-up dialog, title, leave) must end cleanly with the title's music recorded. What
# the runs left is kept in $(BUILD_DIR)/web/node-test and $(BUILD_DIR)/web/page-test.
web-test: web
	@bash scripts/web/playthrough-node.sh $(BUILD_DIR) $(WEB_ENGINE_DIR) $(BUILD_DIR)/web/node-test
	@python3 tests/web/page_test.py --native $(BUILD_DIR) --site $(WEB_SITE_DIR) --work $(BUILD_DIR)/web/page-test

clean:
	rm -rf $(BUILD_DIR)
