// SPDX-License-Identifier: GPL-3.0-or-later
#include "StampCheck.h"

#include "CaseStamp.h"
#include "FillText.h"

#include <QCoreApplication>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

} // namespace

namespace Cases {

void StampCheck::findStamped()
{
    m_store.read([this](const CaseEntry &stamp) { m_wanted.insert(stamp.stampedSeq); },
                 CaseStore::Order::Sequence, QString::fromLatin1(kStamp));
}

void StampCheck::passed(const CaseEntry &entry)
{
    if (m_wanted.contains(entry.seq))
        m_seen.insert(entry.seq, {entry.hash, entry.time});
}

QString StampCheck::problemOf(const CaseEntry &stamp) const
{
    const auto named = m_seen.constFind(stamp.stampedSeq);
    QString problem;
    StampFacts facts;
    if (stamp.stampedSeq >= stamp.seq || named == m_seen.cend()) {
        problem = Tr::tr("it names record %1, which is no record before it").arg(stamp.stampedSeq);
    } else if (named->first != stamp.stampedHash) {
        problem = Tr::tr("it is over another hash than record %1's").arg(stamp.stampedSeq);
    } else {
        const QByteArray answer = m_store.readStamp(stamp, problem);
        if (problem.isEmpty() && Sha256Hex(answer) != stamp.tokenSha256)
            problem = Tr::tr("stamps/%1 was changed (its SHA-256 is not the one recorded)").arg(StampFileName(stamp));
        else if (problem.isEmpty())
            problem = StampProblem(answer, QByteArray::fromHex(stamp.stampedHash.toLatin1()), m_caFile, facts, m_trustChain);
        if (problem.isEmpty() && facts.time != stamp.stampTime)
            problem = Tr::tr("the token's time is %1, not the %2 recorded").arg(facts.time, stamp.stampTime);
        else if (problem.isEmpty() && !StampFollows(facts, named->second))
            problem = Tr::tr("its time %1 is before record %2's own (%3)")
                              .arg(facts.time, QString::number(stamp.stampedSeq), named->second);
    }
    return problem.isEmpty() ? problem
                             : Tr::tr("the stamp of record %1 (record %2, by %3): %4")
                                       .arg(QString::number(stamp.seq), QString::number(stamp.stampedSeq),
                                            stamp.tsaUrl, problem);
}

void StampCheck::held(const CaseEntry &stamp, VerifyReport &report) const
{
    ++report.stamps;
    report.lastStampTime = stamp.stampTime;
    report.lastStampAuthority = stamp.tsaName;
    report.lastStampUrl = stamp.tsaUrl;
}

QString StampSummary(const VerifyReport &report)
{
    if (!report.holds() || report.stamps == 0)
        return {};
    return u'\n'
            + FillText(Tr::tr("Stamps that hold: %1; the last at %2 (UTC) by %3 (%4)"), report.stamps,
                       report.lastStampTime, report.lastStampAuthority, report.lastStampUrl);
}

} // namespace Cases
