// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The case written out for others: CSV (one row a search, for spreadsheets), JSON Lines (every
// entry with its hash: the chain as it is), an HTML report per service, and WARC 1.1 (every
// entry a metadata record, every captured file a resource record). Read from the store as it
// is written out, never the whole case in memory.
#include "CaseStore.h"

#include <QStringList>

#include <optional>

namespace Cases {

enum class ExportFormat { Csv, Jsonl, Html, Warc };

std::optional<ExportFormat> ExportFormatNamed(const QString &name); // csv, jsonl, html, warc
QStringList ExportFormatNames();

// Writes the file whole or not at all (the old file stays when writing fails): CommandError
// naming the file and the system's reason. Returns what was left out: captures whose files
// could not be read (WARC), each named with its record.
QStringList ExportCase(const CaseStore &store, ExportFormat format, const QString &outFile);

} // namespace Cases
