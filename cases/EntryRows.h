// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An entry as a row of SQL, the same for the case folder and the server: its fields in the
// order of EntryFields(), then its hash.
#include "CaseEntry.h"

class QSqlQuery;

namespace Cases {

// "seq, time, ..., hash", for SELECT and INSERT.
QString EntryColumns();
// "?, ?, ..., ?": a place for each of EntryColumns().
QString EntryPlaceholders();
// Binds the entry's fields and hash in the columns' order; a field its kind lacks is NULL.
void BindEntry(QSqlQuery &query, const CaseEntry &entry);
// The entry of the query's current row, selected by EntryColumns().
CaseEntry EntryAt(const QSqlQuery &query);

} // namespace Cases
