// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Verify's part on stamps: each stamp's answer read back, its hash the one recorded, its token
// over the hash of the entry it names, signed by an authority the CA file (or the system) trusts,
// and its time after that entry's own.
#include "CaseVerify.h"

#include <QHash>
#include <QSet>

namespace Cases {

class StampCheck
{
public:
    StampCheck(const CaseStore &store, QString caFile, bool trustChain = true)
        : m_store(store), m_caFile(std::move(caFile)), m_trustChain(trustChain)
    {
    }

    // Reads the stamp entries first: which entries the walk must remember.
    void findStamped();
    // An entry the walk passed, remembered when a stamp names it.
    void passed(const CaseEntry &entry);
    // What does not hold of a stamp entry; empty when it holds.
    QString problemOf(const CaseEntry &stamp) const;
    // A stamp that held, counted.
    void held(const CaseEntry &stamp, VerifyReport &report) const;

private:
    const CaseStore &m_store;
    QString m_caFile;
    bool m_trustChain;
    QSet<qint64> m_wanted;
    QHash<qint64, std::pair<QString, QString>> m_seen; // seq: hash, time
};

// The line on the stamps verify prints after its summary; empty for a case without stamps.
QString StampSummary(const VerifyReport &report);

} // namespace Cases
