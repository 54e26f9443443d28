#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
build=${PSALMORA_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPSALMORA_WERROR=ON -DPSALMORA_BUILD_BENCH=ON
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --timeout 600
