// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseVerify.h"

#include "Case.h"
#include "EntryCheck.h"
#include "FillText.h"
#include "StampCheck.h"

#include <QCoreApplication>
#include <QSet>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

// Stops the walk at the first entry that does not hold; the store's reading goes on unheard.
class ChainWalk
{
public:
    ChainWalk(const CaseStore &store, VerifyReport &report, const QString &caFile, bool trustChain)
        : m_store(store), m_report(report),
          m_previous(GenesisHash(store.info().id, store.info().created)), m_stamps(store, caFile, trustChain)
    {
    }

    // Before the walk: which entries are stamped, so that the walk keeps their hash and time.
    void findStamped() { m_stamps.findStamped(); }

    void visit(const CaseEntry &entry)
    {
        if (!m_report.problem.isEmpty())
            return;
        m_report.problem = problemOf(entry);
        if (!m_report.problem.isEmpty())
            return;
        ++m_report.entries;
        m_lastSeq = entry.seq;
        m_previous = entry.hash;
        m_report.head = entry.hash;
        m_stamps.passed(entry);
        if (entry.kind == QLatin1StringView(kSearch)) {
            ++m_report.searches;
            m_searches.insert(entry.seq);
        } else if (entry.kind == QLatin1StringView(kNote)) {
            ++m_report.notes;
        } else if (entry.kind == QLatin1StringView(kStamp)) {
            m_stamps.held(entry, m_report);
        } else if (entry.isCaptureFile()) {
            ++m_report.captures;
        } else {
            ++m_report.failedCaptures;
        }
    }

    void checkHead()
    {
        if (!m_report.problem.isEmpty())
            return;
        const ChainHead head = m_store.head();
        if (head.seq > m_lastSeq)
            m_report.problem = FillText(Tr::tr("record %1 is missing (the case's head names record %2)"),
                                        m_lastSeq + 1, head.seq);
        else if (head.seq < m_lastSeq)
            m_report.problem = FillText(Tr::tr("record %1 was added outside the program (the case's "
                                               "head names record %2)"),
                                        head.seq + 1, head.seq);
        else if (head.hash != m_previous)
            m_report.problem = Tr::tr("the case's head does not match record %1").arg(m_lastSeq);
    }

private:
    QString problemOf(const CaseEntry &entry) const
    {
        const qint64 expected = m_lastSeq + 1;
        if (entry.seq > expected)
            return entry.seq == expected + 1
                    ? Tr::tr("record %1 is missing").arg(expected)
                    : FillText(Tr::tr("records %1 to %2 are missing"), expected, entry.seq - 1);
        if (entry.seq != expected)
            return Tr::tr("record %1 is out of order").arg(entry.seq);
        if (EntryHash(entry) != entry.hash)
            return Tr::tr("record %1 was changed (its content does not match its hash)").arg(entry.seq);
        if (entry.prevHash != m_previous)
            return Tr::tr("record %1 does not follow the record before it (the chain is broken)")
                    .arg(entry.seq);
        // A record appended through SQL with a right hash and a forged field.
        if (const QString problem = EntryFieldProblem(entry); !problem.isEmpty())
            return problem;
        const bool search = entry.kind == QLatin1StringView(kSearch);
        if (entry.kind == QLatin1StringView(kStamp))
            return m_stamps.problemOf(entry);
        if (!search && !m_searches.contains(entry.searchSeq))
            return FillText(Tr::tr("record %1 refers to record %2, which is no search before it"),
                            entry.seq, entry.searchSeq);
        return entry.isCaptureFile() ? captureProblem(entry) : QString();
    }

    QString captureProblem(const CaseEntry &entry) const
    {
        QString problem;
        const std::unique_ptr<QIODevice> file = m_store.openCapture(entry.file, problem);
        FileDigest digest;
        if (file && !DigestOf(*file, digest, problem))
            problem = Tr::tr("%1 cannot be read (%2)").arg(entry.file, problem);
        if (problem.isEmpty() && digest.size != entry.size)
            problem = FillText(Tr::tr("%1 has %2 bytes where %3 were recorded"), entry.file,
                               digest.size, entry.size);
        else if (problem.isEmpty() && digest.sha256 != entry.sha256)
            problem = Tr::tr("%1 was changed (its SHA-256 is not the one recorded)").arg(entry.file);
        return problem.isEmpty()
                ? problem
                : FillText(Tr::tr("the capture of record %1: %2"), entry.seq, problem);
    }

    const CaseStore &m_store;
    VerifyReport &m_report;
    QString m_previous;
    qint64 m_lastSeq = 0;
    QSet<qint64> m_searches;
    StampCheck m_stamps;
};

} // namespace

namespace Cases {

VerifyReport VerifyCase(const CaseStore &store, const QString &caFile, bool trustChain)
{
    VerifyReport report;
    report.problem = IdentityProblem(store.info());
    if (!report.holds())
        return report;
    ChainWalk walk(store, report, caFile, trustChain);
    store.snapshot([&] {
        walk.findStamped();
        store.read([&](const CaseEntry &entry) { walk.visit(entry); });
        walk.checkHead();
    });
    return report;
}

QString VerifyReport::summary(const QString &location) const
{
    if (!holds())
        return FillText(Tr::tr("The case \"%1\" does not hold: %2"), location, problem);
    return FillText(Tr::tr("The case \"%1\" holds: %2 records (searches: %3, captures: %4, "
                           "failed captures: %5, notes: %6), chain head sha256:%7"),
                    location, entries, searches, captures, failedCaptures, notes,
                    head.isEmpty() ? QStringLiteral("-") : head)
            + StampSummary(*this);
}

} // namespace Cases
