#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the browser fixtures of the import tests with the real browsers from Debian, in a home
# folder of their own, and copies the files the readers need into home/ here, at the places the
# browsers keep them:
#   home/.config/mozilla/firefox/profiles.ini
#   home/.config/mozilla/firefox/<profile>/search.json.mozlz4, places.sqlite
#   home/.config/chromium/Default/Web Data
# Nothing here is written by this project's code: Firefox and Chromium write every byte, driven
# through their own remote-control protocols (see drive_firefox.py and drive_chromium.py).
#
#   sh tests/data/browsers/make-fixtures.sh      (as root on Debian 12; needs the Debian mirror)
#
# Made with firefox-esr 153.8.0esr and chromium 156.0.8078.129. Every engine address points at
# 127.0.0.1:8080 (nothing is fetched from it); the only requests go to servers the drivers start
# on 127.0.0.1 and 127.0.0.2 themselves.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
command -v firefox-esr >/dev/null && command -v chromium >/dev/null || {
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q firefox-esr chromium
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
mkdir -p "$HOME"

# Firefox: a new profile (Firefox writes profiles.ini), then engines and keyword bookmarks.
firefox-esr --headless -CreateProfile glfixture >/dev/null 2>&1
firefox_root="$HOME/.config/mozilla/firefox"
[ -f "$firefox_root/profiles.ini" ] || firefox_root="$HOME/.mozilla/firefox"
profile=$(sed -n 's/^Path=//p' "$firefox_root/profiles.ini" | head -n 1)
python3 "$here/drive_firefox.py" firefox-esr "$firefox_root/$profile"

# Chromium: engines added in its settings page and one found on a site.
python3 "$here/drive_chromium.py" chromium "$HOME/.config/chromium"

# Only the files the readers read; the profiles hold much more.
out="$here/home"
rm -rf "$out"
mkdir -p "$out/.config/mozilla/firefox/$profile" "$out/.config/chromium/Default"
cp "$firefox_root/profiles.ini" "$out/.config/mozilla/firefox/"
cp "$firefox_root/$profile/search.json.mozlz4" "$firefox_root/$profile/places.sqlite" \
    "$out/.config/mozilla/firefox/$profile/"
cp "$HOME/.config/chromium/Default/Web Data" "$out/.config/chromium/Default/"
# Firefox closes places.sqlite with its write-ahead log folded in; a log left over would mean
# the copy is not the whole database.
for log in "$firefox_root/$profile/places.sqlite-wal" "$HOME/.config/chromium/Default/Web Data-wal"; do
    if [ -s "$log" ]; then
        echo "make-fixtures: $log is not empty; the browser did not close cleanly" >&2
        exit 1
    fi
done
ls -lR "$out"
