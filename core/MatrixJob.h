// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// glenlantern --matrix --services FILE --terms FILE [--group NAME] [--out FILE] [--pause SECONDS]:
// the result matrix without a window, written as CSV.
#include "Matrix.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

struct CommandLine;

// The services of a list to search, blank lines left out; with a group, only those in it (its
// name compared ignoring case). Throws UsageError when none is left.
QList<QByteArray> MatrixServices(const QList<QByteArray> &lines, const QString &group);
// The terms of a list, blank lines left out. Throws UsageError when none is left.
QStringList MatrixTerms(const QList<QByteArray> &lines);

// The header "term,service,result,status,address" and a record for every cell, in order.
QByteArray MatrixCsv(const MatrixRun &run);
// The same for cells kept apart from their run: those done, in order (a run stopped early leaves
// the others out).
QByteArray MatrixCsv(const QList<MatrixCell> &cells, const QStringList &terms,
                     const QStringList &services);

// Every cell of a matrix, those not searched too ("not searched", no status), with the run's
// start and end as UTC times in two more columns: what the window exports.
QByteArray MatrixExportCsv(const QList<MatrixCell> &cells, const QStringList &terms,
                           const QStringList &services, const QDateTime &started,
                           const QDateTime &ended);

struct MatrixJobOutput
{
    QByteArray csv;     // for standard output; empty when it went to --out
    QStringList errors; // lines for standard error: each cell in error with its reason, problems
    int status = 0;     // 0 it ran; 1 every page failed to load, or the CSV was not written
};
// Reads the lists, runs the matrix in an event loop of its own and writes the CSV to --out or
// gives it back. Throws UsageError (status 2) for input it cannot use: a list that cannot be
// read, nothing to search, a rule that does not parse, a folder for --out that is not there.
// `cellDone` hears of each cell as it is judged (the job records it in a case).
MatrixJobOutput RunMatrixJob(const CommandLine &options, PageLoader &loader,
                             const std::function<void(const MatrixRun &, qsizetype)> &cellDone = {});
