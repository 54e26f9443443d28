#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
build=${PSALMORA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"

if [ -x "$build/src/psalmora" ]; then
  # Qt WebEngine refuses to start as root without this.
  [ "$(id -u)" -eq 0 ] && export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$build/src/psalmora" "$@"
  fi
  exec "$build/src/psalmora" "$@"
fi

# Without the window: list the songs of a demo data folder.
demo=${PSALMORA_DEMO_DIR:-$build/demo-data}
"$build/src/psalmora-tool" --data-dir "$demo" init
"$build/src/psalmora-tool" --data-dir "$demo" list
