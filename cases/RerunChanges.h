// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case's searches run again, and what changed: the distinct pairs of service line and term the
// case searched, each pair's latest result, and a new result compared with it. A pair changed
// when its verdict did, or when the verdict stayed and the page's text did (its SHA-256, where
// both searches have one). QtCore alone: the job without a window and the window share it.
#include "CaseStore.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace Cases {

// One pair of service line and term, with its latest search before the run: the latest that
// holds a verdict (a page the user clicked to since is no new result), else the latest of all
// (one recorded before searches had verdicts, or seen in the pane alone).
struct RerunPair
{
    QString serviceLine; // as the record holds it
    QString term;
    CaseEntry before;
};

// Collects the pairs from a case's searches, given in the record's order. A search without a
// service line (one handed to the user's browser) makes no pair.
class RerunPairs
{
public:
    void add(const CaseEntry &search);
    // In the order each pair first appears; with a group (not null), only the pairs of services
    // in it (its name compared ignoring case).
    QList<RerunPair> pairs(const QString &group = {}) const;
    // The latest search of a pair (service line, term) so far; an empty one for a pair not seen.
    CaseEntry before(const std::pair<QString, QString> &pair) const;
    // The pairs of the case's store; CaseOpenError when it cannot be read.
    static QList<RerunPair> read(const CaseStore &store, const QString &group = {});

private:
    QList<RerunPair> m_pairs;
    QHash<std::pair<QString, QString>, qsizetype> m_index;
};

// What a change is counted as in a run's summary. A verdict of none before (a search recorded
// before searches had verdicts) is a first verdict: neither a new hit nor a hit gone.
enum class RerunKind { NewHit, HitGone, Blocked, Error, PageChanged, Other, FirstVerdict };

struct RerunChange
{
    CaseEntry before;
    CaseEntry after; // the new search
    // Whether the page's text changed; nothing where either search has no hash of it.
    std::optional<bool> pageChanged;

    RerunKind kind() const;
    // "changed" or "same", or empty where it cannot be told.
    QString pageWord() const;
};

// The change from `before` to `after`; nothing when they are the same.
std::optional<RerunChange> CompareRerun(const CaseEntry &before, const CaseEntry &after);

// A run's numbers, for its summary line.
struct RerunCounts
{
    qsizetype pairs = 0;               // searched again
    std::array<qsizetype, 7> kinds {}; // by RerunKind

    void add(const RerunChange &change) { ++kinds[size_t(change.kind())]; }
    qsizetype changed() const;
    // "12 searched again, 3 changed: new hits 1, hits gone 1, blocked 1, errors 0, pages
    // changed 0", and the other changes and first verdicts when there are any.
    QString summary() const;
};

// The header "term,service,before,after,page,address" and a record for every change.
QByteArray RerunCsv(const QList<RerunChange> &changes);

// The case's last run again: its searches are the latest started by `rerun`, back to the first
// pair that repeats (a run searches each pair once), each compared with the pair's latest search
// before it (as RerunPair::before). Reads the store twice, on one state of it.
struct LastRerun
{
    QList<RerunChange> changes; // in the order their pairs first appear in the case
    qsizetype pairs = 0;        // searched in it; 0 when the case records no run
    QString started;            // the time of its first search, as entries hold times
};
LastRerun ReadLastRerun(const CaseStore &store);

} // namespace Cases
