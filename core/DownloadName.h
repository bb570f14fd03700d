// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The name a page offers for a file it sends, made one that names a file in the download
// folder and nowhere else: its last part once decoded ("/", "\" and their %2F and %5C all end
// a folder), without control or direction characters (which can disguise a name), leading dots
// and blanks (a hidden file, or ".." itself), trailing dots and blanks, "<" and ">" made "_",
// and cut to kLongestDownloadName bytes of UTF-8 keeping its extension. "download" when nothing
// is left.
QString SafeDownloadName(const QString &offered);
constexpr qsizetype kLongestDownloadName = 200;

// Where the save dialog opens for a file the page offers: the download folder, with the name
// made safe.
QString DownloadTarget(const QString &downloadFolder, const QString &offered);
