#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, and only those that are missing.
set -eu
PACKAGES="g++ make cmake qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libqt6svg6 libqt6openglwidgets6 qt6-image-formats-plugins xvfb xauth xdotool x11-utils trayer unrtf
  fonts-dejavu-core python3 imagemagick desktop-file-utils appstream
  librsvg2-bin dpkg-dev liblz4-dev zlib1g-dev libssl-dev openssl libqt6sql6-sqlite libqt6sql6-psql postgresql-15 sqlite3 dbus-daemon libglib2.0-bin
  time weston qt6-wayland at-spi2-core python3-pyatspi chromium systemd"
# `make fuzz` alone needs clang and its fuzzing runtime.
if [ "${1:-}" = fuzz ]; then
    PACKAGES="clang libclang-rt-14-dev"
fi
# npm for the web-archive player below, where no Node.js is installed yet.
if [ "${1:-}" != fuzz ] && ! command -v npm >/dev/null; then
    PACKAGES="$PACKAGES nodejs npm"
fi
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
[ "${1:-}" = fuzz ] && exit 0
# The end-to-end tests open the exported archives in a web-archive player no one here wrote:
# ReplayWeb.page's built ui.js and sw.js from its npm package, in Debian's chromium, driven by
# playwright-core. Fetched from the npm registry once, never committed.
PLAYER="$(cd "$(dirname "$0")/.." && pwd)/tests/e2e/player"
if [ ! -f "$PLAYER/ready" ]; then
    echo "Fetching the web-archive player and playwright-core from the npm registry"
    rm -rf "$PLAYER" && mkdir -p "$PLAYER"
    (cd "$PLAYER" && npm pack --silent replaywebpage@2.5.3 >/dev/null \
        && tar xzf replaywebpage-2.5.3.tgz package/ui.js package/sw.js package/LICENSE \
        && npm install --silent --no-save --no-package-lock --no-audit --no-fund playwright-core@1.65.2 >/dev/null \
        && touch ready)
fi
