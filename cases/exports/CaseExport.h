// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The case written out for others: CSV (one row a search, for spreadsheets), JSON Lines (every
// entry with its hash: the chain as it is), an HTML report per service, WARC 1.1 (every entry a
// metadata record, every captured file and captured page's part a resource record) and WACZ
// 1.1.1 (the WARC with its index and pages, which a web-archive player opens). Read from the store as it
// is written out, never the whole case in memory.
#include "CaseStore.h"

#include <QStringList>

#include <optional>

namespace Cases {

enum class ExportFormat { Csv, Jsonl, Html, Warc, Wacz };

std::optional<ExportFormat> ExportFormatNamed(const QString &name); // csv, jsonl, html, warc, wacz
QStringList ExportFormatNames();

// Writes the file whole or not at all (the old file stays when writing fails): CommandError
// naming the file and the system's reason. Returns what was left out: captures whose files
// could not be read (WARC), each named with its record.
// The HTML report checks the case's stamps against the CA certificates of `tsaCaFile` (the
// system's trusted ones when empty).
QStringList ExportCase(const CaseStore &store, ExportFormat format, const QString &outFile,
                       const QString &tsaCaFile = {});

// The case's name as a title: its folder's name, or its name on the server.
QString CaseTitle(const CaseInfo &info);
// WACZ 1.1.1 (CaseWacz.cpp): the WARC, its index, its pages and the stamps in one archive.
QStringList WriteWacz(const CaseStore &store, const QString &outFile);
// The key a CDXJ index sorts an address by (SURT: the host's labels from the last, the port
// where it is not the scheme's, the path, the query's arguments sorted; lower case).
QByteArray SurtKey(const QByteArray &url);

} // namespace Cases
