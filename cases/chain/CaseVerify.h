// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Verify: the chain recomputed from the stored fields, every capture's file against its
// recorded size and hash, every stamp's answer against the entry it stamps, and the head the
// store keeps against the last entry.
#include "CaseStore.h"

namespace Cases {

struct VerifyReport
{
    QString problem; // the first entry or file that does not hold; empty when all holds
    qint64 entries = 0;
    qint64 searches = 0;
    qint64 captures = 0; // files
    qint64 failedCaptures = 0;
    qint64 notes = 0;
    QString head; // the last entry's hash
    // Stamps that hold, and the last one's time (UTC) and authority (name and address).
    qint64 stamps = 0;
    QString lastStampTime, lastStampAuthority, lastStampUrl;

    bool holds() const { return problem.isEmpty(); }
    QString summary(const QString &location) const; // one line, a second on the stamps
};

// CaseOpenError when the store cannot be read at all. Stamps are checked against the CA
// certificates of `caFile` (PEM), else the system's trust store.
// A copy is checked without `trustChain`: its stamps' signatures and hashes, as the original's.
VerifyReport VerifyCase(const CaseStore &store, const QString &caFile = {}, bool trustChain = true);

} // namespace Cases
