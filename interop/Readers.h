// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The readers of each kind of file. Each reads one file and adds what it found to the report;
// a file that cannot be read throws CommandError with a message naming it.
#include "Interop.h"

#include <QJsonDocument>

namespace Interop {

// The file's bytes, when it is a regular file that can be read and not larger than this.
constexpr qint64 kMaxInputFile = 64 * 1024 * 1024;
QByteArray ReadInputFile(const QString &path);

// A found service from an address already mapped to the placeholder: the name made fit for a
// line, the address cleaned and, when no reason is given, checked.
FoundService MakeService(const QString &source, const QString &file, const QString &name,
                         const QString &address, bool hasTerm, const QString &skipReason = {});

// The same for a search sent as a form: the body (application/x-www-form-urlencoded, with the
// placeholder where the term goes) is posted to the address; the term may be in either.
FoundService MakeFormService(const QString &source, const QString &file, const QString &name,
                             const QString &address, const QString &body, bool hasTerm);

// Firefox: the engines of search.json.mozlz4 and the keyword bookmarks of places.sqlite.
QList<FoundService> FirefoxEngines(const QJsonDocument &search, const QString &file,
                                   const QString &source);
void ReadFirefoxSearch(const QString &path, const QString &source, ImportReport &report);
void ReadFirefoxPlaces(const QString &path, const QString &source, ImportReport &report);
// A Firefox keyword bookmark: %s the term encoded, %S as typed, "&mozcharset=X" at the end or
// the page's remembered charset (may be empty) the term's charset.
FoundService FirefoxKeyword(const QString &source, const QString &file, const QString &name,
                            const QString &url, const QString &postData, const QString &charset);

// Chromium and Google Chrome: the keywords table of "Web Data".
void ReadChromiumWebData(const QString &path, const QString &source, ImportReport &report);
// postParams: a POST engine's form as Chromium keeps it ("name=value,name=value").
FoundService ChromiumKeyword(const QString &source, const QString &file, const QString &name,
                             const QString &url, const QString &inputEncodings,
                             const QString &postParams = {});

// KDE web shortcuts.
FoundService KdeShortcut(const QByteArray &content, const QString &file, const QString &source);
void ReadKdeShortcut(const QString &path, const QString &source, ImportReport &report);

// OpenSearch description documents; `base` resolves a relative template (may be empty).
FoundService OpenSearchDocument(const QByteArray &bytes, const QString &file, const QString &source,
                                const QString &base);
void ReadOpenSearch(const QString &path, const QString &source, ImportReport &report);

// Sites in the WhatsMyName project's JSON format, each a service with its group and rules.
QList<FoundService> WhatsMyNameSites(const QJsonDocument &document, const QString &file,
                                     const QString &source);
void ReadWhatsMyName(const QString &path, const QString &source, ImportReport &report);

} // namespace Interop
