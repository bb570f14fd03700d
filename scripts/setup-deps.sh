#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, and only those that are missing.
set -eu
PACKAGES="g++ make cmake qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libqt6svg6 libqt6openglwidgets6 qt6-image-formats-plugins xvfb xauth xdotool x11-utils trayer unrtf
  fonts-dejavu-core python3 imagemagick desktop-file-utils appstream
  librsvg2-bin dpkg-dev liblz4-dev zlib1g-dev libssl-dev openssl libqt6sql6-sqlite libqt6sql6-psql postgresql-15 sqlite3 dbus-daemon libglib2.0-bin
  time weston qt6-wayland at-spi2-core python3-pyatspi"
# `make fuzz` alone needs clang and its fuzzing runtime.
if [ "${1:-}" = fuzz ]; then
    PACKAGES="clang libclang-rt-14-dev"
fi
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
