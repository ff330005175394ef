# The project's commands. `make demo` and `make test` install what is missing first.
BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench
JOBS           ?= $(shell nproc)
CLI             = $(BUILD_DIR)/bin/quorvin-fin

.PHONY: all build test unit soak demo bench fuzz deps format lint clean

all: build

deps:
	@scripts/deps.sh

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVIN_TESTS=OFF >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Everything under ASan+UBSan, against a throwaway PostgreSQL cluster.
test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	scripts/test.sh $(TEST_BUILD_DIR)

# Only the fast tests (no database).
unit:
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest -L unit -j $(JOBS) --output-on-failure

# The reliability suite, long (QUORVIN_SOAK_N sessions, default 20; SOAK_ROUNDS rounds, default 3).
soak: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	scripts/soak.sh $(TEST_BUILD_DIR)

# The end-to-end story on the private local database (reset first).
demo: deps build
	$(CLI) db start
	$(CLI) db reset
	$(CLI) demo
	$(CLI) boleto-exemplo $(BUILD_DIR)/boleto-exemplo.pdf

bench: deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DQUORVIN_TESTS=OFF -DQUORVIN_BENCH=ON >/dev/null
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	scripts/bench.sh $(BENCH_BUILD_DIR)

# Every fuzz target under libFuzzer (clang, ASan+UBSan) for FUZZ_SECONDS each; not part of make test
# (CI runs it for a few seconds per target after make test).
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS   ?= 300
fuzz:
	cmake -S tests/fuzz -B $(FUZZ_BUILD_DIR) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	tests/fuzz/run.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The format check (what CI runs first) and clang-tidy with the committed .clang-tidy.
lint: deps
	scripts/lint.sh --tidy $(TEST_BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR)
