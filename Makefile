# Two entry points for a fresh machine:
#   make run   - install what is missing, build a release build, run Movrane on the bundled sample installation
#   make test  - install what is missing, build with AddressSanitizer and UndefinedBehaviorSanitizer, run all tests
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
BENCH_DIR := build/bench
SAMPLE_DIR := build/sample-installation

.PHONY: run test deps release test-build bench screenshots clean

deps:
	@bash scripts/install-deps.sh

release: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMOVRANE_BUILD_TESTS=OFF -DMOVRANE_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	@bash scripts/run-sample.sh $(RELEASE_DIR) $(SAMPLE_DIR)

screenshots: deps
	@bash scripts/screenshot.sh

test-build: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMOVRANE_SANITIZE=ON -DMOVRANE_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

test: test-build
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMOVRANE_BUILD_TESTS=OFF -DMOVRANE_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target movrane-bench movrane-graph-bench
	@$(BENCH_DIR)/bench/movrane-bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bench/movrane-graph-bench

clean:
	rm -rf build
