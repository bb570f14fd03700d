// SPDX-License-Identifier: GPL-3.0-or-later
#include "PgWriter.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// A server away is tried again after a second, then less and less often, up to this.
constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 30000;
// The connection is looked at locally this often, and asked (a statement the server answers)
// every tenth time: a link that broke while nothing was sent is found before the next record.
constexpr int kWatchMs = 2000;
constexpr int kReadPart = 5000;

} // namespace

namespace Cases {

JournalSender::Sent JournalSender::sendBatch(QStringList &refused)
{
    QList<QueuedRecord> batch = m_journal.first(m_single ? 1 : kBatch);
    QList<QByteArray> captures;
    qint64 bytes = 0;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        QString problem;
        captures.append(m_journal.captureOf(batch.at(i), problem));
        if (!problem.isEmpty() && i == 0) {
            m_journal.setAside(batch.at(i), problem);
            refused.append(problem);
            return {};
        }
        bytes += captures.constLast().size();
        if (!problem.isEmpty() || (bytes > kBatchBytes && i + 1 < batch.size())) {
            const qsizetype keep = problem.isEmpty() ? i + 1 : i; // an unreadable one goes alone
            batch.resize(keep);
            captures.resize(keep);
            break;
        }
    }
    if (batch.isEmpty())
        return {};
    m_journal.checkpoint("sending");
    Sent sent;
    try {
        sent.written = m_session.append(batch, captures);
    } catch (const CaseWriteError &error) {
        if (batch.size() > 1) {
            m_single = true;
            return {};
        }
        m_journal.setAside(batch.constFirst(), error.message());
        refused.append(error.message());
        m_single = false;
        return {};
    }
    m_journal.checkpoint("committed");
    m_journal.remove(batch);
    for (const QueuedRecord &record : std::as_const(batch))
        sent.origins.append(record.origin);
    return sent;
}

PgWriter::PgWriter(const ServerAddress &address, const CaseInfo &identity, qint64 caseKey,
                   std::shared_ptr<CaseQueue> journal)
    : m_address(address), m_identity(identity), m_caseKey(caseKey), m_journal(std::move(journal))
{
}

PgWriter::~PgWriter() = default;

void PgWriter::interrupt()
{
    m_stopping = true;
    SilenceGuard::interrupt(m_current);
}

void PgWriter::start(bool reachable)
{
    m_reachable = reachable;
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &PgWriter::sendAll);
    m_watch = new QTimer(this);
    m_watch->setInterval(kWatchMs);
    connect(m_watch, &QTimer::timeout, this, &PgWriter::watch);
    m_watch->start();
    sendAll();
}

void PgWriter::stop()
{
    m_stopping = true;
    delete m_retry;
    delete m_watch;
    m_retry = m_watch = nullptr;
    m_sender.reset();
    m_current = nullptr;
    m_session.reset();
}

bool PgWriter::ensureConnected()
{
    if (m_session && m_session->isOpen() && !m_session->isBroken())
        return true;
    if (m_stopping)
        return false;
    m_sender.reset();
    m_current = nullptr;
    m_session = std::make_unique<PgSession>(m_address, PgSession::Role::Writer, PgSession::Prompt::Never);
    m_current = m_session.get();
    QString problem;
    try {
        if (!m_session->connect(problem))
            throw ServerLost {problem};
        m_session->prepareSchema(true);
        m_session->openCase(false, m_identity);
        m_session->listen([this](qint64 head) { Q_EMIT othersAppended(head); });
    } catch (const ServerLost &lostLink) {
        lost(lostLink.reason);
        return false;
    } catch (const CommandError &error) {
        lost(error.message());
        return false;
    }
    m_sender = std::make_unique<JournalSender>(*m_journal, *m_session);
    m_retryMs = kFirstRetryMs;
    if (!m_reachable) {
        m_reachable = true;
        Q_EMIT reachableChanged(true, {});
    }
    // What the others recorded while this program could not hear them.
    if (std::exchange(m_everConnected, true)) {
        try {
            Q_EMIT othersAppended(m_session->head().seq);
        } catch (const CommandError &) {
        }
    }
    return true;
}

void PgWriter::wake()
{
    if (m_retry && !m_retry->isActive())
        sendAll();
}

void PgWriter::tryNow()
{
    if (m_retry)
        m_retry->stop();
    sendAll();
}

void PgWriter::sendAll()
{
    if (m_stopping || !m_retry || !ensureConnected()) {
        Q_EMIT tried(false);
        return;
    }
    try {
        while (!m_stopping && m_journal->size() > 0) {
            QStringList refusals;
            const JournalSender::Sent sent = m_sender->sendBatch(refusals);
            for (const QString &reason : std::as_const(refusals))
                Q_EMIT refused(reason);
            if (!sent.origins.isEmpty())
                Q_EMIT this->sent(sent.origins, sent.written);
        }
    } catch (const ServerLost &lostLink) {
        lost(lostLink.reason);
        Q_EMIT tried(false);
        return;
    }
    Q_EMIT tried(true);
}

void PgWriter::lost(const QString &reason)
{
    m_sender.reset();
    if (m_session)
        m_session->close();
    if (m_reachable) {
        m_reachable = false;
        Q_EMIT reachableChanged(false, reason);
    }
    if (!m_retry || m_stopping)
        return;
    // A host that drops every packet holds each try for the connect timeout: tried less often
    // the longer it stays away.
    if (m_retry->isActive())
        return;
    m_retry->start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, kLongestRetryMs);
}

void PgWriter::watch()
{
    if (!m_session || !m_retry || m_retry->isActive())
        return;
    try {
        if (!m_session->isOpen() || m_session->isBroken())
            throw ServerLost {Tr::tr("the server closed the connection")};
        if (++m_ticks % 10 == 0)
            m_session->head();
    } catch (const ServerLost &lostLink) {
        lost(lostLink.reason);
    } catch (const CommandError &error) {
        lost(error.message());
    }
}

void PgWriter::readAfter(qint64 seq)
{
    // While the server is away the log waits: it is told when the server is back.
    if ((m_retry && m_retry->isActive()) || !ensureConnected())
        return;
    try {
        for (;;) {
            const QList<CaseEntry> part = m_session->readAfter(seq, kReadPart);
            Q_EMIT entriesRead(seq, part);
            if (part.size() < kReadPart)
                break;
            seq = part.constLast().seq;
        }
    } catch (const ServerLost &lostLink) {
        lost(lostLink.reason);
    } catch (const CommandError &error) {
        lost(error.message());
    }
}

} // namespace Cases
