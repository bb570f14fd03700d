// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The thread a server case writes from: its own connection sends the journal to the server,
// listens for others' appends and reads for the log, and tells the case's owner by signals. A
// server that goes away is tried again, less often the longer it stays away, unseen by the
// window.
#include "PgSession.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

class QTimer;

namespace Cases {

// Sends what the journal holds, oldest first, many records in one transaction. A record leaves
// the journal only once the server has confirmed its commit; one the server holds already (its
// answer was lost) is found by its UUID and not written again.
class JournalSender
{
public:
    static constexpr int kBatch = 500;
    static constexpr qint64 kBatchBytes = 8 << 20; // of captures
    struct Sent
    {
        QStringList origins;
        QList<CaseEntry> written;
    };

    JournalSender(CaseQueue &journal, PgSession &session) : m_journal(journal), m_session(session) { }
    // One batch. ServerLost: nothing left the journal. A batch the server refuses is sent again a
    // record at a time, and the record it refuses is set aside with the reason (in `refused`).
    Sent sendBatch(QStringList &refused);

private:
    CaseQueue &m_journal;
    PgSession &m_session;
    bool m_single = false; // a batch was refused: one at a time until the refused one is found
};

class PgWriter : public QObject
{
    Q_OBJECT

public:
    PgWriter(const ServerAddress &address, const CaseInfo &identity, qint64 caseKey,
             std::shared_ptr<CaseQueue> journal);
    ~PgWriter() override;
    // From any thread: ends what the connection is waiting for now, so that stop() comes soon.
    void interrupt();

public Q_SLOTS:
    void start(bool reachable);
    // Records were added: sent unless the server is away (then at the next try).
    void wake();
    // A try now, away or not; `tried` tells how it went.
    void tryNow();
    void readAfter(qint64 seq);
    void stop();

Q_SIGNALS:
    void sent(const QStringList &origins, const QList<Cases::CaseEntry> &written);
    void refused(const QString &reason);
    void othersAppended(qint64 headSeq);
    void entriesRead(qint64 after, const QList<Cases::CaseEntry> &entries);
    void reachableChanged(bool reachable, const QString &reason);
    // A try ended: the journal is empty, or the server could not take it now.
    void tried(bool reached);

private:
    bool ensureConnected();
    void sendAll();
    void lost(const QString &reason);
    void watch();

    ServerAddress m_address;
    CaseInfo m_identity;
    qint64 m_caseKey;
    std::shared_ptr<CaseQueue> m_journal;
    std::unique_ptr<PgSession> m_session;
    std::atomic<const PgSession *> m_current = nullptr; // m_session, for interrupt() from elsewhere
    std::unique_ptr<JournalSender> m_sender;
    QTimer *m_retry = nullptr;
    QTimer *m_watch = nullptr;
    int m_retryMs = 1000;
    int m_ticks = 0;
    bool m_reachable = true;
    bool m_everConnected = false;
    std::atomic<bool> m_stopping = false;
};

} // namespace Cases
