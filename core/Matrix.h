// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The result matrix: every term searched with every service, each page judged by the service's
// rules (HitRule), the requests paced by MatrixScheduler. The pages come from a PageLoader: the
// job without a window fetches over the network, the window will load its hidden pages.
#include "HitRule.h"
#include "MatrixScheduler.h"
#include "Search.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>

// Loads the page of one search.
class PageLoader
{
public:
    virtual ~PageLoader() = default;
    // Loads the search (a GET, or a POST of its form body) and calls `done` once with what came,
    // later, from the event loop, never from within Load.
    virtual void Load(const SearchRequest &request, std::function<void(const PageOutcome &)> done)
            = 0;
    // Ends every load still open; their `done` is never called.
    virtual void Cancel() { }
};

// What a cell of a matrix says that was stopped before its search.
inline constexpr char kNotSearched[] = "not searched";

// How long a Retry-After header asks to wait from `now`, in milliseconds: a number of seconds
// (digits alone) or an HTTP date, one gone by as 0; however large the value, at most
// kMostRetryAfterMs. -1 when it cannot be read.
inline constexpr qint64 kMostRetryAfterMs = 24 * 3600 * 1000LL;
qint64 RetryAfterMs(const QByteArray &value, const QDateTime &now);

struct MatrixCell
{
    qsizetype term = 0;
    qsizetype service = 0;
    std::optional<SearchRequest> request; // nothing when the service makes no search of it
    HitVerdict verdict;
    int status = 0;  // the final page's HTTP status; 0 when none came
    QString address; // the address finally shown; the address searched when no page came
    int tries = 0;
    bool done = false;
    QString title;      // the final page's title
    QString textSha256; // SHA-256 of the final page's text (UTF-8, as the rules read it); empty when no page came
};

// One cell searched alone: a term's index and a service's index.
struct MatrixPair
{
    qsizetype term = 0;
    qsizetype service = 0;
};

class MatrixRun : public QObject
{
    Q_OBJECT

public:
    // A 429 is asked again at most this often in all, and only when it asks to wait no longer
    // than kLongestWaitMs (kDefaultWaitMs when it does not say).
    static constexpr int kMostTries = 3;
    static constexpr qint64 kDefaultWaitMs = 10'000;
    static constexpr qint64 kLongestWaitMs = 300'000;

    // The cells, term by term, each with every service in the list's order. The services' rules
    // are read first: throws CommandError naming a service whose rule does not parse.
    // `earlier`: the cells of a run of the same lists that was stopped; those it searched are
    // kept as they are, and only the others are searched.
    MatrixRun(const QList<QByteArray> &serviceLines, const QStringList &terms, PageLoader &loader,
              MatrixLimits limits = {}, QObject *parent = nullptr,
              const QList<MatrixCell> &earlier = {});
    // The cells of these pairs alone, in their order: searches run again, where not every term
    // went to every service. A service whose rule does not parse gives its cells an error
    // naming the rule, and nothing is asked of it; the other cells still run.
    MatrixRun(const QList<QByteArray> &serviceLines, const QStringList &terms,
              const QList<MatrixPair> &pairs, PageLoader &loader, MatrixLimits limits = {},
              QObject *parent = nullptr);

    void Start();
    const QList<MatrixCell> &Cells() const { return m_cells; }
    const QStringList &Terms() const { return m_terms; }
    const QStringList &ServiceNames() const { return m_names; }
    // At least one page was asked for, and every one failed without an answer.
    bool EveryLoadFailed() const { return m_loads > 0 && m_failedLoads == m_loads; }

Q_SIGNALS:
    void CellDone(qsizetype cell);
    void Finished();

private:
    void addCell(qsizetype term, qsizetype service, const QByteArray &serviceLine);
    void pump();
    void loaded(int request, const PageOutcome &outcome);
    void finishCell(qsizetype cell);

    PageLoader &m_loader;
    QStringList m_terms;
    QStringList m_names;
    QList<HitRules> m_rules;
    QList<MatrixCell> m_cells;
    QSet<qsizetype> m_kept; // cells of an earlier run, told of there
    QList<qsizetype> m_cellOfRequest;
    MatrixScheduler m_scheduler;
    QElapsedTimer m_clock;
    QTimer m_wake;
    qsizetype m_open = 0;
    qsizetype m_loads = 0;
    qsizetype m_failedLoads = 0;
    bool m_finished = false;
};
