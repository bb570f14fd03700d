#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies a few of KDE's own web shortcuts from Debian's kio package, unchanged, into
# share/kservices5/searchproviders/ here: a system data folder laid out as KDE Frameworks 5 lays
# it out (/usr/share/kservices5/searchproviders; Frameworks 6 uses /usr/share/kf6/searchproviders).
#
#   sh tests/data/kde/get-kio-files.sh      (needs the Debian mirror; taken from kio 5.103.0-1+deb12u1)
#
# The ones chosen: plain \{@} queries (google: Charset=utf8, duckduckgo: Charset= empty), legacy
# charsets (multitran-enru: "cp 1251", grec: ISO-8859-15), and queries that need more than one
# term: words one by one (nl-telephone \{1} \{2}, docbook \{1}) and named fields
# (google_advanced, cpan).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download kio
dpkg -x kio_*.deb root
out="$here/share/kservices5/searchproviders"
rm -rf "$out"
mkdir -p "$out"
for name in google duckduckgo multitran-enru grec nl-telephone docbook google_advanced cpan; do
    cp "root/usr/share/kservices5/searchproviders/$name.desktop" "$out/"
done
ls -l "$out"
