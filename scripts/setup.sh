#!/usr/bin/env bash
# Installs what the build, the tests and the screenshot script need.
# Idempotent: does nothing when every package is already there.
#   setup.sh        the build, the tests and the screenshots
#   setup.sh fuzz   the same, and clang with libFuzzer for fuzz/run.sh
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qtbase5-dev qtmultimedia5-dev libqt5multimedia5-plugins qtdeclarative5-dev
  qttools5-dev-tools libqt5svg5-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth xdotool imagemagick pngquant time zlib1g-dev
  dbus-daemon
  # Text in painted widgets and pictures (the kit's tests measure it).
  fonts-dejavu-core
  # Independent readers the tests check our written files with (ffmpeg for
  # ffprobe, which reads WAV comments; eyed3 for version-4 ID3 tags).
  sox sndfile-programs midicsv python3-mutagen ffmpeg eyed3
  # The desktop-entry checker the autostart entries are validated with.
  desktop-file-utils
  # An independent LTC encoder the timecode decoder's test links.
  libltc-dev
  # An exFAT stick mounted through FUSE, as the batch's destination in a test
  # (a file system without the no-replace rename and without hard links).
  exfatprogs exfat-fuse
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
