#!/usr/bin/env bash
# Builds the Debian packages from a built tree (cpack, no rebuild), unpacks them into a temporary root and
# runs the installed programs there: the tool on a temporary data folder with the installed defaults, the
# version and usage of all three programs; the desktop entry and the AppStream metadata go through their
# validators.
# usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack"
}
app_deb=$work/out/psalmora_${version}_amd64.deb
server_deb=$work/out/psalmora-server_${version}_amd64.deb
[ -f "$app_deb" ] || fail "no $(basename "$app_deb") (got: $(ls "$work/out"))"
[ -f "$server_deb" ] || fail "no $(basename "$server_deb")"

# Library dependencies come from dpkg-shlibdeps, the programs run by name from the list.
app_depends=$(dpkg-deb -f "$app_deb" Depends)
for needed in libqt6widgets6 libqt6webenginecore6 libcurl4 libqt6webenginecore6-bin libreoffice-impress \
  poppler-utils gstreamer1.0-plugins-good fonts-liberation2; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$app_depends" || fail "psalmora does not depend on $needed: $app_depends"
done
grep -q ffmpeg <<<"$(dpkg-deb -f "$app_deb" Recommends)" || fail "psalmora does not recommend ffmpeg"
server_depends=$(dpkg-deb -f "$server_deb" Depends)
for needed in libsqlite3-0 libsodium23 adduser; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$server_depends" || fail "psalmora-server does not depend on $needed"
done
grep -q "Qt6" <<<"$(dpkg-deb -f "$server_deb" Depends)" && fail "psalmora-server depends on Qt"

root=$work/root
dpkg -x "$app_deb" "$root"
dpkg -x "$server_deb" "$root"
for file in usr/bin/psalmora usr/bin/psalmora-tool usr/bin/psalmora-server \
  usr/share/psalmora/config/einstellungen.ini usr/share/psalmora/config/sprachen.spr \
  usr/share/psalmora/layouts/layout.ini usr/share/psalmora/help/help.htm \
  usr/share/applications/org.psalmora.Psalmora.desktop usr/share/metainfo/org.psalmora.Psalmora.metainfo.xml \
  usr/share/mime/packages/org.psalmora.Psalmora.xml \
  usr/share/icons/hicolor/scalable/apps/org.psalmora.Psalmora.svg \
  usr/share/icons/hicolor/48x48/apps/org.psalmora.Psalmora.png \
  usr/share/icons/hicolor/256x256/apps/org.psalmora.Psalmora.png \
  usr/share/man/man1/psalmora.1.gz usr/share/man/man1/psalmora-tool.1.gz usr/share/man/man1/psalmora-server.1.gz \
  usr/lib/systemd/system/psalmora-server.service; do
  [ -e "$root/$file" ] || fail "the packages do not install /$file"
done
dpkg-deb -c "$app_deb" | grep -q "psalmora-server" && fail "psalmora-server is in the program's package"
# The Bible the build imported from the KJV SWORD module, when it could.
if [ -f "$build/defaults/bibel/uebersetzungen.dat" ]; then
  [ -e "$root/usr/share/psalmora/bibel/uebersetzungen.dat" ] || fail "the package does not ship the Bible"
fi

desktop-file-validate "$root/usr/share/applications/org.psalmora.Psalmora.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.psalmora.Psalmora.metainfo.xml" || fail "metainfo"
# The file types as the desktop's MIME database reads them (shared-mime-info comes with Qt's packages).
if command -v update-mime-database >/dev/null; then
  update-mime-database "$root/usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
  grep -qx "50:application/x-psalmora-export:\*.exp" "$root/usr/share/mime/globs2" || fail "no MIME type for .exp"
  grep -qx "50:application/x-ccli-usr:\*.usr" "$root/usr/share/mime/globs2" || fail "no MIME type for .usr"
fi

# The installed programs, as a user with a fresh home.
export HOME=$work/home XDG_DATA_HOME=$work/home/share XDG_CONFIG_HOME=$work/home/config
export XDG_RUNTIME_DIR=$work/home/run QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
tool=$root/usr/bin/psalmora-tool
"$tool" --version | grep -qx "psalmora-tool $version (.*)" || fail "psalmora-tool --version"
"$tool" --help | grep -q "import-ccli" || fail "psalmora-tool --help"
"$root/usr/bin/psalmora-server" --version | grep -qx "psalmora-server $version" || fail "psalmora-server --version"
"$root/usr/bin/psalmora-server" --help | grep -q "adduser EMAIL" || fail "psalmora-server --help"
"$root/usr/bin/psalmora" --version | grep -q "^Psalmora $version" || fail "psalmora --version"
"$root/usr/bin/psalmora" --help | grep -q "^Usage: psalmora \[options\] \[FILE" || fail "psalmora --help"
"$root/usr/bin/psalmora" --help | grep -q -- "--stage-port <PORT>" || fail "psalmora --help names --stage-port"
status=0
"$root/usr/bin/psalmora" --stage-port 70000 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "psalmora --stage-port 70000 is wrong usage"

data=$work/songs
"$tool" --data-dir "$data" init >/dev/null || fail "installed psalmora-tool init"
"$tool" --data-dir "$data" list | grep -q "Das erste Lied" || fail "installed psalmora-tool list"
printf '[File]\r\nType=SongSelect Import File\r\nVersion=3.0\r\n[S A12345]\r\nTitle=Paketlied\r\nFields=Verse 1\r\nWords=Eine Zeile\r\n' \
  >"$work/lied.usr"
"$tool" --data-dir "$data" import-ccli "$work/lied.usr" >/dev/null || fail "installed psalmora-tool import-ccli"
"$tool" --data-dir "$data" list | grep -q "Paketlied" || fail "imported song not listed"
# The defaults came from the installed share/psalmora into the per-user program folder; the install itself
# stays untouched even for root, who could write to it.
[ -f "$XDG_DATA_HOME/psalmora/config/installed-defaults.dat" ] || fail "no defaults in the per-user program folder"
[ -f "$XDG_DATA_HOME/psalmora/layouts/layout.ini" ] || fail "no layouts in the per-user program folder"
[ ! -e "$root/usr/bin/config" ] || fail "the tool wrote into the installed bin folder"
echo "packages: $(basename "$app_deb") $(basename "$server_deb")"
