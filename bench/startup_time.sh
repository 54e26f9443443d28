#!/usr/bin/env bash
# Time from process start to the main window shown with the song list filled, on a generated data folder
# of 20,000 songs, as the median of several runs. Usage: bench/startup_time.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build-test}
runs=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/make_data_folder" "$work/data" 20000 --no-texts >/dev/null
mkdir -p "$work/program/config" "$work/home"
# A decided language, no update question and no presentation window: the plain start of a daily user.
printf '[sonstiges]\r\nautoopen=0\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n' > "$work/program/config/einstellungen.ini"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
export XDG_RUNTIME_DIR="$work/home/runtime" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  line=$(PSALMORA_STARTUP_PROBE=1 "$build/src/psalmora" --program-dir "$work/program" --data-dir "$work/data" 2>/dev/null |
         grep '^startup-shown ' || true)
  [ -n "$line" ] || { echo "the program did not report its start" >&2; exit 1; }
  shown=${line#startup-shown }
  times+=($(( (shown - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to main window with 20,000 songs: median ${sorted[$(( runs / 2 ))]} ms (runs: ${times[*]})"
