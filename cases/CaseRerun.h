// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case's searches run again: every pair of service line and term it holds a search for,
// searched with the result matrix's loader and rules and as politely (MatrixRun), each new search
// told to be recorded and compared with the pair's latest result. The job without a window and
// the window's Run All Again share it.
#include "Matrix.h"
#include "RerunChanges.h"

#include <QObject>

#include <memory>

struct CommandLine;

namespace Cases {

class Case;

class CaseRerun : public QObject
{
    Q_OBJECT

public:
    // The pairs' services' rules are read here: a rule that does not parse makes its pairs'
    // results errors, and the others still run. Ends with the object (the caller then cancels
    // the loads still open).
    CaseRerun(QList<RerunPair> pairs, PageLoader &loader, MatrixLimits limits = {},
              QObject *parent = nullptr);
    ~CaseRerun() override;

    void Start();
    // Ends the run: nothing more is asked of the loader (whose loads the caller cancels), and
    // what was done stays.
    void Stop();
    bool IsStopped() const { return !m_run; }
    const QList<RerunPair> &Pairs() const { return m_pairs; }
    qsizetype DoneCount() const { return m_counts.pairs; }
    bool IsFinished() const { return m_finished; }
    // The changes so far, in the order of the pairs.
    QList<RerunChange> Changes() const;
    const RerunCounts &Counts() const { return m_counts; }
    // Each result in error so far, with its reason: "term" with service: reason.
    const QStringList &Errors() const { return m_errors; }
    bool EveryLoadFailed() const { return m_run && m_run->EveryLoadFailed(); }

Q_SIGNALS:
    // A pair's new search (started by rerun, its outcome set), to be recorded. None for a pair
    // whose line made no search (its result is an error all the same).
    void Searched(qsizetype pair, const Cases::CaseEntry &search);
    // The pair's result changed; its change is at `position` among Changes().
    void Changed(qsizetype pair, qsizetype position);
    void PairDone(qsizetype pair);
    void Finished();

private:
    void cellDone(qsizetype cell);

    QList<RerunPair> m_pairs;
    std::unique_ptr<MatrixRun> m_run;
    QList<std::optional<RerunChange>> m_changes; // by pair
    QStringList m_errors;
    RerunCounts m_counts;
    bool m_finished = false;
};

struct RerunJobOutput
{
    QStringList out;    // each change when no --out is given, then the summary line
    QStringList errors; // results in error, records not written, a CSV not written
    int status = 0;     // 0 it ran; 1 every page failed, a record or the CSV was not written
};
// glenlantern --rerun-case CASE [--group NAME] [--pause SECONDS] [--connections N] [--out FILE]:
// the case's pairs searched again in an event loop of its own, each recorded in `openCase`, the
// changes written as CSV to --out. Throws UsageError (status 2) when there is nothing to search
// or --out's folder is not there, CaseOpenError when the case cannot be read.
RerunJobOutput RunRerunJob(const CommandLine &options, Case &openCase, PageLoader &loader);

} // namespace Cases
