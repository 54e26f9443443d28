#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs the whole test suite; then
# builds the core, the tool and the core tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# in a second build folder and runs those tests there.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
build=${PSALMORA_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPSALMORA_WERROR=ON -DPSALMORA_BUILD_BENCH=ON
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --timeout 600

sanitized=${PSALMORA_SANITIZE_BUILD_DIR:-build-sanitize}
cmake -S . -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DPSALMORA_WERROR=ON \
  -DPSALMORA_BUILD_UI=OFF -DPSALMORA_SANITIZE=ON
cmake --build "$sanitized" --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$sanitized" --output-on-failure --timeout 600
