#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the browser fixtures of the import tests with the real browsers from Debian, in a home
# folder of their own, and copies the files the readers need into home/ here, at the places the
# browsers keep them:
#   home/.config/mozilla/firefox/profiles.ini
#   home/.config/mozilla/firefox/<profile>/search.json.mozlz4, places.sqlite
#   home/.config/chromium/Default/Web Data
# Nothing here is written by this project's code: Firefox and Chromium write every byte. Firefox
# runs on an X server of its own (Xvfb) and its dialogs are clicked and typed into with xdotool
# (see drive_firefox.py); Chromium is driven through its remote-control protocol
# (drive_chromium.py).
#
#   sh tests/data/browsers/make-fixtures.sh [firefox|chromium]   (as root on Debian 12; needs
#                                     the Debian mirror; both browsers when none is named)
#
# Made with firefox-esr 153.8.0esr-1~deb12u1 (Firefox's files; remade for its dialogs) and
# chromium 156.0.8078.129 (Chromium's). Every engine address points at
# 127.0.0.1:8080 (nothing is fetched from it); the only requests go to servers the drivers start
# on 127.0.0.1 and 127.0.0.2 themselves.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
browsers=${1:-firefox chromium}
for tool in firefox-esr chromium xvfb-run xdotool; do
    command -v $tool >/dev/null || {
        export DEBIAN_FRONTEND=noninteractive
        apt-get install -y -q firefox-esr chromium xvfb xauth xdotool
        break
    }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
mkdir -p "$HOME"
out="$here/home"

# Only the files the readers read (the profiles hold much more), each checked for a
# write-ahead log left over: the browser closes its databases with the log folded in.
keep() {
    mkdir -p "$2"
    [ ! -s "$1-wal" ] || {
        echo "make-fixtures: $1-wal is not empty; the browser did not close cleanly" >&2
        exit 1
    }
    cp "$1" "$2/"
}

for browser in $browsers; do
    case $browser in
    firefox)
        # A new profile (Firefox writes profiles.ini), then engines and keyword bookmarks.
        firefox-esr --headless -CreateProfile glfixture >/dev/null 2>&1
        root="$HOME/.config/mozilla/firefox"
        [ -f "$root/profiles.ini" ] || root="$HOME/.mozilla/firefox"
        profile=$(sed -n 's/^Path=//p' "$root/profiles.ini" | head -n 1)
        xvfb-run -a -s "-screen 0 1280x1024x24" \
            python3 "$here/drive_firefox.py" firefox-esr "$root/$profile"
        rm -rf "$out/.config/mozilla"
        keep "$root/profiles.ini" "$out/.config/mozilla/firefox"
        keep "$root/$profile/search.json.mozlz4" "$out/.config/mozilla/firefox/$profile"
        keep "$root/$profile/places.sqlite" "$out/.config/mozilla/firefox/$profile"
        ;;
    chromium)
        # Engines added in its settings page and one found on a site.
        python3 "$here/drive_chromium.py" chromium "$HOME/.config/chromium"
        rm -rf "$out/.config/chromium"
        keep "$HOME/.config/chromium/Default/Web Data" "$out/.config/chromium/Default"
        ;;
    esac
done
find "$out" -type f -exec ls -l {} +
