# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cmake --build <build> --target package` (make package).
# Depends is worked out by dpkg-shlibdeps from the libraries the binary links, plus what it only
# loads at run time, which dpkg-shlibdeps cannot see: the WebEngine helper process that renders
# the browser pane, the SVG plugins that draw the icon and Qt's SQLite driver that reads browser
# profiles and keeps cases (liblz4 is named too, for the profiles' compressed search files, and
# zlib for the cases' WARC export), and Qt's own
# translations (qtbase_<lang>.qm: the standard buttons in the user's language).

string(REGEX REPLACE "^www\\." "" _gl_maker_domain "${GL_MAKER_HOST}")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "glenlantern")
set(CPACK_PACKAGE_VENDOR "Glen Lantern")
set(CPACK_PACKAGE_CONTACT "Glen Lantern <support@${_gl_maker_domain}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web search from saved lists of services and terms")
set(CPACK_PACKAGE_DESCRIPTION
"Glen Lantern keeps two lists side by side: search services (a name and an
address with a placeholder for the term) and search terms. Pick a service or
a term and the result opens at once in the browser pane beside the lists;
walk through a list with the arrow keys and every step searches again.
Around the lists: a console that edits the term list as plain text, a Quick
Launcher that sends one term to a meta-search service in the default web
browser, rich-text notepad windows and a tray mode.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
# Install into the staging folder through DESTDIR, so that the install step sees the real prefix
# and writes it into the desktop entry and the manual page. With DESTDIR, CPack installs to
# CPACK_INSTALL_PREFIX, whatever the build's own prefix is.
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "web")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${GL_MAKER_HOST}/products/glenLantern/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian's shlibs for WebEngine name the helper's package today; it stays here in case they stop.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6webenginecore6-bin, libqt6openglwidgets6, libqt6svg6, libqt6sql6-sqlite, libqt6sql6-psql, liblz4-1, zlib1g, libssl3, qt6-translations-l10n")
# One running program per session, the command line handed to it and the desktop's search all
# go over the session bus; without one the program still runs, each start on its own. Qt's
# Wayland platform lets it run as a native window in the Wayland sessions GNOME and KDE start;
# without it Qt falls back to X11 through Xwayland, so it is recommended, not required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus, qt6-wayland")

include(CPack)
