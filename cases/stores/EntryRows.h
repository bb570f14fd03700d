// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An entry as a row of SQL, the same for the case folder and the server: its fields in the
// order of EntryFields(), then its hash.
#include "CaseEntry.h"
#include "CaseStore.h"

class QJsonObject;
class QSqlQuery;

namespace Cases {

// "seq, time, ..., hash", for SELECT and INSERT. Reading tables of an older version, a field
// they lack is read as NULL.
QString EntryColumns(int schema = kSchemaVersion);
// "?, ?, ..., ?": a place for each of EntryColumns().
QString EntryPlaceholders();
// Binds the entry's fields and hash in the columns' order; a field the entry does not hold is
// NULL.
void BindEntry(QSqlQuery &query, const CaseEntry &entry);
// The entry of the query's current row, selected by EntryColumns().
CaseEntry EntryAt(const QSqlQuery &query);
// The row of the server's entries table as JSON: case_key, the fields (null where the entry
// does not hold them), hash and origin.
QJsonObject EntryRow(const CaseEntry &entry, qint64 caseKey, const QString &origin);

} // namespace Cases
