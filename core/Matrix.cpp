// SPDX-License-Identifier: GPL-3.0-or-later
#include "Matrix.h"

#include "Error.h"
#include "ServiceLine.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QUrl>

#include <algorithm>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Matrix)
};

} // namespace

qint64 RetryAfterMs(const QByteArray &value, const QDateTime &now)
{
    const QByteArray text = value.trimmed();
    if (!text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](char c) {
            return c >= '0' && c <= '9';
        })) {
        // Counted without overflow: past the most, more digits change nothing.
        qint64 ms = 0;
        for (const char digit : text) {
            ms = ms * 10 + (digit - '0') * 1000;
            if (ms >= kMostRetryAfterMs)
                return kMostRetryAfterMs;
        }
        return ms;
    }
    // An HTTP date ends in "GMT", which Qt's reader of such dates wants as "+0000".
    QString date = QString::fromLatin1(text);
    if (date.endsWith(u"GMT"))
        date = date.chopped(3) + QStringLiteral("+0000");
    const QDateTime at = QDateTime::fromString(date, Qt::RFC2822Date);
    if (!at.isValid())
        return -1;
    return std::clamp<qint64>(now.msecsTo(at), 0, kMostRetryAfterMs);
}

MatrixRun::MatrixRun(const QList<QByteArray> &serviceLines, const QStringList &terms,
                     PageLoader &loader, MatrixLimits limits, QObject *parent,
                     const QList<MatrixCell> &earlier)
    : QObject(parent), m_loader(loader), m_terms(terms), m_scheduler(limits)
{
    const bool resume = earlier.size() == terms.size() * serviceLines.size();
    for (const QByteArray &line : serviceLines) {
        m_names.append(ServiceDisplayName(line));
        m_rules.append(HitRules::Of(ServiceLine(line), m_names.last()));
    }
    for (qsizetype t = 0; t < terms.size(); ++t) {
        for (qsizetype s = 0; s < serviceLines.size(); ++s) {
            if (resume && earlier.at(m_cells.size()).done) {
                m_kept.insert(m_cells.size());
                m_cells.append(earlier.at(m_cells.size()));
                continue;
            }
            addCell(t, s, serviceLines.at(s));
        }
    }
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, &MatrixRun::pump);
}

MatrixRun::MatrixRun(const QList<QByteArray> &serviceLines, const QStringList &terms,
                     const QList<MatrixPair> &pairs, PageLoader &loader, MatrixLimits limits,
                     QObject *parent)
    : QObject(parent), m_loader(loader), m_terms(terms), m_scheduler(limits)
{
    QStringList broken(serviceLines.size());
    for (const QByteArray &line : serviceLines) {
        m_names.append(ServiceDisplayName(line));
        try {
            m_rules.append(HitRules::Of(ServiceLine(line), m_names.last()));
        } catch (const CommandError &error) {
            broken[m_rules.size()] = error.message();
            m_rules.append(HitRules());
        }
    }
    for (const MatrixPair &pair : pairs) {
        if (broken.at(pair.service).isEmpty()) {
            addCell(pair.term, pair.service, serviceLines.at(pair.service));
            continue;
        }
        MatrixCell cell;
        cell.term = pair.term;
        cell.service = pair.service;
        cell.verdict = {HitResult::Error, broken.at(pair.service)};
        cell.done = true;
        m_cells.append(cell);
    }
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, &MatrixRun::pump);
}

// A cell to search, queued at its host; a cell of an error when the line makes no search of
// the term.
void MatrixRun::addCell(qsizetype term, qsizetype service, const QByteArray &serviceLine)
{
    MatrixCell cell;
    cell.term = term;
    cell.service = service;
    try {
        cell.request = GoRequestFor(serviceLine, m_terms.at(term));
        cell.address = cell.request->address;
        m_scheduler.Add(QUrl::fromEncoded(EncodedAddress(cell.address), QUrl::TolerantMode).host());
        m_cellOfRequest.append(m_cells.size());
        ++m_open;
    } catch (const CommandError &error) {
        cell.verdict = {HitResult::Error, error.message()};
        cell.done = true;
    }
    m_cells.append(cell);
}

void MatrixRun::Start()
{
    m_clock.start();
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        if (m_cells.at(i).done && !m_kept.contains(i))
            emit CellDone(i);
    }
    pump();
}

void MatrixRun::pump()
{
    const qint64 now = m_clock.elapsed();
    for (const int request : m_scheduler.Take(now)) {
        const MatrixCell &cell = m_cells.at(m_cellOfRequest.at(request));
        QPointer<MatrixRun> self(this);
        m_loader.Load(*cell.request, [self, request](const PageOutcome &outcome) {
            if (self)
                self->loaded(request, outcome);
        });
    }
    if (m_open == 0) {
        if (!m_finished) {
            m_finished = true;
            emit Finished();
        }
        return;
    }
    if (const std::optional<qint64> next = m_scheduler.NextTime(now))
        m_wake.start(int(std::max<qint64>(1, *next - now)));
}

void MatrixRun::loaded(int request, const PageOutcome &outcome)
{
    const qint64 now = m_clock.elapsed();
    const qsizetype index = m_cellOfRequest.at(request);
    MatrixCell &cell = m_cells[index];
    ++cell.tries;
    // Politeness: a 429, and a 503 that says when to come back, are asked again later.
    const bool wait = outcome.error.isEmpty()
            && (outcome.status == 429 || (outcome.status == 503 && outcome.retryAfterMs >= 0));
    if (wait) {
        const qint64 delay = outcome.retryAfterMs >= 0 ? outcome.retryAfterMs : kDefaultWaitMs;
        if (cell.tries < kMostTries && delay <= kLongestWaitMs) {
            m_scheduler.Defer(request, now, delay);
            return pump();
        }
        if (delay > kLongestWaitMs) {
            m_scheduler.Finish(request, now);
            ++m_loads;
            cell.status = outcome.status;
            cell.verdict = {HitResult::Blocked,
                            Tr::tr("the site asks to wait longer than the %1 seconds a search "
                                   "waits")
                                    .arg(kLongestWaitMs / 1000)};
            return finishCell(index);
        }
    }
    m_scheduler.Finish(request, now);
    ++m_loads;
    if (!outcome.error.isEmpty())
        ++m_failedLoads;
    cell.status = outcome.status;
    if (!outcome.finalAddress.isEmpty())
        cell.address = outcome.finalAddress;
    cell.title = outcome.title;
    if (outcome.error.isEmpty())
        cell.textSha256 = QString::fromLatin1(
                QCryptographicHash::hash(outcome.text.toUtf8(), QCryptographicHash::Sha256).toHex());
    cell.verdict = m_rules.at(cell.service).Judge(outcome, m_terms.at(cell.term));
    if (wait && cell.verdict.result == HitResult::Blocked)
        cell.verdict.reason += Tr::tr(" (%1 times)").arg(cell.tries);
    finishCell(index);
}

void MatrixRun::finishCell(qsizetype cell)
{
    m_cells[cell].done = true;
    --m_open;
    emit CellDone(cell);
    pump();
}
