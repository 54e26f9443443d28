#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Psalmora needs. Run as root.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  g++ cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6 and the libraries of the design
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
  libgl-dev libxkbcommon-dev libpugixml-dev libcurl4-openssl-dev
  # video playback through GStreamer (without these QMediaPlayer crashes instead of reporting)
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-gl
  # converting videos to WMV (ffmpeg) and downloading the video list's videos (the default downloader)
  ffmpeg yt-dlp
  # a desktop to run in, screenshots, fonts
  xvfb xauth x11-xserver-utils imagemagick fonts-dejavu-core
  # metric-compatible stand-ins for the fonts layouts name (Arial, Times New Roman, Courier New)
  fonts-liberation2
  # the text of printed PDFs in the tests (pdftotext, pdfinfo); slide pictures and text of presentations
  poppler-utils
  # presentation files (ppt, pps, pptx, odp) read headless for the import and the slide pane
  libreoffice-impress
  # the song-management server: HTTP, its SQLite store, password hashes (HTTP also for the stage view)
  libcpp-httplib-dev libsqlite3-dev libsodium-dev libssl-dev
  # the QR code of the stage view's address
  libqrencode-dev
  # Bible texts from SWORD modules, and one module for the tests
  libsword-dev sword-text-kjv
  # the Debian packages (cpack: dpkg-shlibdeps, file) and the validators of the desktop entry and metadata
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
