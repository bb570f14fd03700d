// SPDX-License-Identifier: GPL-3.0-or-later
#include "RerunChanges.h"

#include "Csv.h"
#include "FillText.h"
#include "HitRule.h"
#include "ServiceLine.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using namespace Cases;

bool isWord(const QString &verdict, const char *word)
{
    return verdict == QLatin1StringView(word);
}

bool isRerun(const CaseEntry &search)
{
    return search.startedBy == QLatin1StringView(StartedBy::kRerun)
            && !search.serviceLine.isEmpty();
}

} // namespace

namespace Cases {

void RerunPairs::add(const CaseEntry &search)
{
    if (search.kind != QLatin1StringView(kSearch) || search.serviceLine.isEmpty())
        return;
    const std::pair<QString, QString> key {search.serviceLine, search.term};
    const auto found = m_index.constFind(key);
    if (found == m_index.cend()) {
        m_index.insert(key, m_pairs.size());
        m_pairs.append({search.serviceLine, search.term, search});
        return;
    }
    // A search without a verdict (a page seen in the pane) does not hide the result before it.
    CaseEntry &before = m_pairs[*found].before;
    if (!search.verdict.isEmpty() || before.verdict.isEmpty())
        before = search;
}

QList<RerunPair> RerunPairs::pairs(const QString &group) const
{
    if (group.isNull())
        return m_pairs;
    const QString wanted = TrimBlanks(group);
    QHash<QString, bool> inGroup; // a line's answer, asked once
    QList<RerunPair> chosen;
    for (const RerunPair &pair : m_pairs) {
        auto known = inGroup.constFind(pair.serviceLine);
        if (known == inGroup.cend())
            known = inGroup.insert(pair.serviceLine,
                                   ServiceLine(pair.serviceLine.toUtf8())
                                           .Groups()
                                           .contains(wanted, Qt::CaseInsensitive));
        if (*known)
            chosen.append(pair);
    }
    return chosen;
}

CaseEntry RerunPairs::before(const std::pair<QString, QString> &pair) const
{
    const auto found = m_index.constFind(pair);
    return found == m_index.cend() ? CaseEntry() : m_pairs.at(*found).before;
}

QList<RerunPair> RerunPairs::read(const CaseStore &store, const QString &group)
{
    RerunPairs collected;
    store.read([&](const CaseEntry &search) { collected.add(search); }, CaseStore::Order::Sequence,
               QString::fromLatin1(kSearch));
    return collected.pairs(group);
}

RerunKind RerunChange::kind() const
{
    const QString &was = before.verdict;
    const QString &now = after.verdict;
    if (was.isEmpty())
        return RerunKind::FirstVerdict;
    if (was == now)
        return RerunKind::PageChanged;
    if (isWord(now, Verdict::kFound))
        return RerunKind::NewHit;
    if (isWord(was, Verdict::kFound)
        && (isWord(now, Verdict::kNotFound) || isWord(now, Verdict::kUnknown)))
        return RerunKind::HitGone;
    if (isWord(now, Verdict::kBlocked))
        return RerunKind::Blocked;
    if (isWord(now, Verdict::kError))
        return RerunKind::Error;
    return RerunKind::Other;
}

QString RerunChange::pageWord() const
{
    if (!pageChanged)
        return {};
    return *pageChanged ? QStringLiteral("changed") : QStringLiteral("same");
}

std::optional<RerunChange> CompareRerun(const CaseEntry &before, const CaseEntry &after)
{
    RerunChange change {before, after, std::nullopt};
    if (!before.textSha256.isEmpty() && !after.textSha256.isEmpty())
        change.pageChanged = before.textSha256 != after.textSha256;
    if (before.verdict == after.verdict && !change.pageChanged.value_or(false))
        return std::nullopt;
    return change;
}

qsizetype RerunCounts::changed() const
{
    qsizetype sum = 0;
    for (const qsizetype count : kinds)
        sum += count;
    return sum;
}

QString RerunCounts::summary() const
{
    const auto count = [this](RerunKind kind) { return kinds.at(size_t(kind)); };
    QString text = FillText(
            Tr::tr("%1 searched again, %2 changed: new hits %3, hits gone %4, blocked %5, "
                   "errors %6, pages changed %7"),
            pairs, changed(), count(RerunKind::NewHit), count(RerunKind::HitGone),
            count(RerunKind::Blocked), count(RerunKind::Error), count(RerunKind::PageChanged));
    if (const qsizetype other = count(RerunKind::Other))
        text += Tr::tr(", other changes %1").arg(other);
    if (const qsizetype first = count(RerunKind::FirstVerdict))
        text += Tr::tr(", without an earlier verdict %1").arg(first);
    return text;
}

QByteArray RerunCsv(const QList<RerunChange> &changes)
{
    QByteArray csv = CsvRecord({QStringLiteral("term"), QStringLiteral("service"),
                                QStringLiteral("before"), QStringLiteral("after"),
                                QStringLiteral("page"), QStringLiteral("address")});
    for (const RerunChange &change : changes) {
        const CaseEntry &now = change.after;
        csv += CsvRecord({now.term, now.service, change.before.verdict, now.verdict,
                          change.pageWord(),
                          now.finalAddress.isEmpty() ? now.address : now.finalAddress});
    }
    return csv;
}

LastRerun ReadLastRerun(const CaseStore &store)
{
    LastRerun last;
    const QString searches = QString::fromLatin1(kSearch);
    store.snapshot([&] {
        // The searches run again, a pair by a number: the last run goes back from the latest of
        // them to the first pair that repeats.
        QHash<std::pair<QString, QString>, int> numbers;
        QList<std::pair<qint64, int>> reruns;
        store.read(
                [&](const CaseEntry &search) {
                    if (!isRerun(search))
                        return;
                    const std::pair<QString, QString> key {search.serviceLine, search.term};
                    const int number = numbers.value(key, int(numbers.size()));
                    numbers.insert(key, number);
                    reruns.append({search.seq, number});
                },
                CaseStore::Order::Sequence, searches);
        QSet<int> seen;
        QSet<qint64> run;
        for (auto it = reruns.crbegin(); it != reruns.crend() && !seen.contains(it->second); ++it) {
            seen.insert(it->second);
            run.insert(it->first);
        }
        last.pairs = run.size();
        // Each compared with its pair's result just before it, in the order the pairs came.
        RerunPairs collected;
        QHash<std::pair<QString, QString>, RerunChange> found;
        store.read(
                [&](const CaseEntry &search) {
                    if (run.contains(search.seq)) {
                        if (last.started.isEmpty())
                            last.started = search.time;
                        const std::pair<QString, QString> key {search.serviceLine, search.term};
                        if (const auto change = CompareRerun(collected.before(key), search))
                            found.insert(key, *change);
                    }
                    collected.add(search);
                },
                CaseStore::Order::Sequence, searches);
        for (const RerunPair &pair : collected.pairs()) {
            if (const auto change = found.constFind({pair.serviceLine, pair.term});
                change != found.cend())
                last.changes.append(*change);
        }
    });
    return last;
}

} // namespace Cases
