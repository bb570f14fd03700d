// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CSV as spreadsheets read it: RFC 4180, UTF-8.
#include <QByteArray>
#include <QStringList>

// One cell: quoted when it holds a comma, a quote or a line break. A cell a spreadsheet would
// take for a formula (=, +, -, @, a tab or a carriage return first: terms, titles and lists are
// anyone's) gets a leading apostrophe, so it stays text.
QByteArray CsvField(const QString &text);
// The cells as one record, ended by CR LF.
QByteArray CsvRecord(const QStringList &fields);
