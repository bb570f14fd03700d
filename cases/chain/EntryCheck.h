// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What each field of a record may hold. A record's hash shows that it is the one written; it
// does not show that what was written is what its column holds: a team member can append through
// SQL a record with a right hash whose time holds a line break and a forged header after it.
// Verify refuses such a record, and what reads a verified case can rely on its fields.
#include "CaseStore.h"

namespace Cases {

// Why the entry's fields are not what their columns hold, naming the record; empty when they
// are. The fields its kind has are checked: kind, time, author, hashes, a search's outcome, a
// capture's kind, file, SHA-256 and size, the search a capture or a note belongs to.
QString EntryFieldProblem(const CaseEntry &entry);
// The same for the case's identity: its id a UUID, its creation a record's time.
QString IdentityProblem(const CaseInfo &info);

// UTC to the millisecond in the one form records hold (RecordTime): 2024-05-01T09:30:00.125Z.
bool IsRecordTime(const QString &text);
// SHA-256 as records hold it: 64 lowercase hex digits.
bool IsSha256Hex(const QString &text);

} // namespace Cases
