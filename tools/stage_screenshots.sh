#!/usr/bin/env bash
# Pictures of the stage view as the band's phones and tablets show it: runs psalmora on a small data
# folder with the stage server on (--stage-port), sends a song through the remote's own requests, and
# lets Debian's chromium (headless) take the stage page at phone and tablet size and the remote's PIN page.
#   bash tools/stage_screenshots.sh [BUILD_DIR] [OUT_DIR]
# Needs Xvfb, curl and chromium (not installed by install-deps.sh: no test uses it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
out=${2:-screenshots}
work=$(mktemp -d)
trap 'kill "${program:-}" 2>/dev/null; wait "${program:-}" 2>/dev/null; kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb

mkdir -p "$work/data" "$work/program/config" "$out"
cp -r data/layouts "$work/program/"
printf '1\t05.03.2018-14:07\tGro\xdf ist dein Name\tG\t\t\t\t\t\t\t\t\t0\tStrophe 1\x81Refrain\x81Strophe 2\t\t72\t\t\t\t\t\t\r\n2\t01.12.2017-09:05\tAbendlied\tD\t\t\t\t\t\t\t\t\t0\t\t\t61\t\t\t\t\t\t\r\n' >"$work/data/lieder.dat"
printf '>G          D/F#        Em     C\r\nGro\xdf ist dein Name, Herr, und hoch erhoben\r\n>G/H      Am7    D\r\nDich will ich loben allezeit\r\n#Great is your name\r\n\r\n>C     G      D     Em\r\nHalleluja, Halleluja\r\n>C        D        G\r\nDir sei Ehre in Ewigkeit\r\n\r\n>G          D\r\nZweite Strophe hier\r\n' >"$work/data/1.dat"
printf '>D      A\r\nDer Tag geht zu Ende\r\n\r\n>G     D\r\nNun ruhet alles\r\n' >"$work/data/2.dat"
printf 'Sonntag\t|1|2\t\t\t\t\t\t\t\r\n' >"$work/data/auswahl.dat"
printf '3\r\n' >"$work/data/id.dat"
printf '[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n[buehne]\r\npin=1357\r\n' >"$work/program/config/einstellungen.ini"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
port=$((20000 + RANDOM % 20000))
HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
  "$build/src/psalmora" --program-dir "$work/program" --data-dir "$work/data" --stage-port "$port" &
program=$!
base=http://127.0.0.1:$port
for _ in $(seq 60); do curl -sf "$base/stage/state" >/dev/null && break; sleep 0.5; done

# The leader's phone: log in, send the first song of the selection, paging on, next slide.
curl -sf -c "$work/cookies" -d pin=1357 "$base/remote/login" >/dev/null
for action in "a=send&row=0" "a=paging&on=1" "a=next"; do
  curl -sf -b "$work/cookies" -d "$action" "$base/remote/action" >/dev/null
  sleep 1
done

shot() {  # size, path, file
  chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars --window-size="$1" \
    --user-data-dir="$work/chromium" --screenshot="$out/$3" "$base$2" >/dev/null 2>&1
}
shot 412,900 /stage stage-phone.png
shot 820,1180 /stage stage-tablet.png
shot 412,900 /remote remote-pin.png
import -window root "$out/stage-window.png"
echo "pictures in $out"
