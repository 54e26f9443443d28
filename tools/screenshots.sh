#!/usr/bin/env bash
# Pictures of the program as a team sees it on two monitors: starts Xvfb with a 1280x1024 monitor and a
# 1024x768 beamer beside it, runs psalmora on a generated data folder with the presentation window
# opening at start, and saves a picture of the whole desktop and of each monitor.
#   bash tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
# Needs a build with the benchmarks (for make_data_folder), Xvfb, xrandr and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
out=${2:-screenshots}
work=$(mktemp -d)
trap 'kill "${program:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 2304x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb
xrandr --setmonitor LEFT 1280/338x1024/270+0+0 screen
xrandr --setmonitor RIGHT 1024/270x768/203+1280+0 none

"$build/bench/make_data_folder" "$work/data" 200 >/dev/null
mkdir -p "$work/program/config"
printf '[sonstiges]\r\nautoopen=1\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n' \
  >"$work/program/config/einstellungen.ini"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
  "$build/src/psalmora" --program-dir "$work/program" --data-dir "$work/data" &
program=$!
sleep "${PSALMORA_SHOT_WAIT:-8}"

mkdir -p "$out"
import -window root "$out/desktop.png"
import -window root -crop 1280x1024+0+0 "$out/monitor1-main.png"
import -window root -crop 1024x768+1280+0 "$out/monitor2-beamer.png"
echo "pictures in $out"
