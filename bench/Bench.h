// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What every benchmark gets: a scratch folder and the size to work at.
struct BenchContext
{
    QString folder;          // temporary, removed at the end of the run
    qsizetype lines = 0;     // lines of generated input
    QString collationLocale; // the locale sorting peers run in (LC_ALL)
    int runs = 3;            // each time is the best of this many runs

    QString path(const QString &name) const { return folder + u'/' + name; }
};

// A command-line program doing the same job as one of ours, run in the context's folder,
// so that file names are given relative to it.
struct Peer
{
    QString program;
    QStringList arguments;
    QString outputFile;      // empty: output discarded
    QStringList environment; // NAME=value pairs added to the inherited environment

    QString commandLine() const;
};

struct BenchRow
{
    QString operation;
    double oursMs = 0;
    double peerMs = 0;
    QString peer;
};

// One table for the whole run, printed at the end in Markdown.
class BenchTable
{
public:
    void add(BenchRow row) { m_rows.append(std::move(row)); }
    void print() const;

private:
    QList<BenchRow> m_rows;
};

// The best wall time of the context's number of runs, in milliseconds. `prepare` runs
// before each timed run and is not timed.
double timeOurs(const BenchContext &context, const std::function<void()> &work,
                const std::function<void()> &prepare = {});
double timePeer(const BenchContext &context, const Peer &peer);

// A benchmark suite: adds its rows to the table. Suites are listed in main.cpp.
using BenchSuite = void (*)(const BenchContext &context, BenchTable &table);
void benchLists(const BenchContext &context, BenchTable &table);
void benchConsole(const BenchContext &context, BenchTable &table);
void benchRtf(const BenchContext &context, BenchTable &table);
void benchAddress(const BenchContext &context, BenchTable &table);
void benchInterop(const BenchContext &context, BenchTable &table);
void benchCases(const BenchContext &context, BenchTable &table);
