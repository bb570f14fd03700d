// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bench.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

static QString shellQuoted(const QString &word)
{
    static const QString plain = QStringLiteral("-_./=+,:%@");
    const bool safe = !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetterOrNumber() || plain.contains(c);
    });
    if (safe)
        return word;
    QString quoted = word;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString Peer::commandLine() const
{
    QStringList words = environment;
    words.append(program);
    for (const QString &argument : arguments)
        words.append(shellQuoted(argument));
    QString line = words.join(u' ');
    if (!outputFile.isEmpty())
        line += QStringLiteral(" > ") + shellQuoted(outputFile);
    return line;
}

// The best of the runs: on a shared machine the others are slowed by whatever else runs.
static double best(const QList<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

double timeOurs(const BenchContext &context, const std::function<void()> &work,
                const std::function<void()> &prepare)
{
    QList<double> times;
    for (int run = 0; run < context.runs; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    return best(times);
}

double timePeer(const BenchContext &context, const Peer &peer)
{
    QList<double> times;
    for (int run = 0; run < context.runs; ++run) {
        QProcess process;
        QStringList environment = QProcess::systemEnvironment();
        environment += peer.environment;
        process.setEnvironment(environment);
        process.setWorkingDirectory(context.folder);
        process.setStandardOutputFile(peer.outputFile.isEmpty() ? QProcess::nullDevice()
                                                                : context.path(peer.outputFile));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        process.start(peer.program, peer.arguments);
        // grep and its kind answer 1 for "nothing found", which is a finished job here.
        if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() > 1)
            throw std::runtime_error("peer failed: " + peer.commandLine().toStdString());
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    return best(times);
}

void BenchTable::print() const
{
    std::printf("| operation | ours (ms) | peer (ms) | ratio | peer |\n");
    std::printf("|---|---:|---:|---:|---|\n");
    for (const BenchRow &row : m_rows) {
        std::printf("| %s | %.1f | %.1f | %.2f | `%s` |\n", qPrintable(row.operation), row.oursMs,
                    row.peerMs, row.peerMs > 0 ? row.oursMs / row.peerMs : 0.0,
                    qPrintable(row.peer));
    }
    std::fflush(stdout);
}
