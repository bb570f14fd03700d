// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case on a PostgreSQL server (Qt SQL's QPSQL driver), shared by a team: every program
// appends in turn, the database serialising the appends (the case's row locked while the
// previous hash is read and the new entries written), so the chain stays one however many
// write. Captures are kept in the database.
//
// Open for writing, the window never waits for the server: a record goes to the journal on this
// machine (CaseQueue) and a writer of its own sends it from a thread of its own (PgWriter),
// exactly once (its UUID unique in the database). Others' entries are told by LISTEN/NOTIFY on
// that thread rather than by asking the server every few seconds: the news comes the moment the
// other program commits, costs nothing while nobody writes, and a team of many programs does not
// load the server with polls. Open read-only (verify, export, copy), the store reads on the
// calling thread.
#include "CaseQueue.h"
#include "CaseStore.h"
#include "ServerAddress.h"

#include <QObject>
#include <QThread>

namespace Cases {

class PgSession;
class PgWriter;

class PgCaseStore : public QObject, public CaseStore
{
    Q_OBJECT

public:
    enum class Access { Write, ReadOnly };

    // Opens the case the address names. Write creates the program's tables when the database
    // has none (or brings older ones up to date), and the case when it is new. CaseOpenError
    // with the reason when the address is wrong, the server cannot be reached (Write may still
    // start when this program has opened the case before: its records then wait), the password
    // is refused, or the database holds another program's tables or a newer version's.
    static std::unique_ptr<PgCaseStore> open(const QString &address, Access access);
    // Makes the case the address names, which must be new, a copy of another case: its identity
    // and its entries as they are, in one transaction.
    static void createCopy(const QString &address, const CaseInfo &identity, const CopySource &source);
    // Waits for what is being sent (see flush), then lets the writer go: what is left waits in
    // the journal for the next start.
    ~PgCaseStore() override;

    CaseInfo info() const override { return m_info; }
    bool isReadOnly() const override { return m_access == Access::ReadOnly; }
    // Kept in the journal and sent by the writer: the entry comes back at once with a negative
    // seq (its place among this run's records) and no hash; captures and notes may name such a
    // search by that number. CaseWriteError when the journal cannot keep it.
    CaseEntry append(CaseEntry entry) override;
    CaseEntry appendCapture(CaseEntry entry, const QString &writtenFile) override;
    QString scratchPath(const QString &extension) const override;
    // Read on the calling thread (a connection of its own, made when first needed, for a store
    // open for writing); the window asks by requestEntries instead.
    void read(const std::function<void(const CaseEntry &)> &visit, Order order = Order::Sequence,
              const QString &kind = {}) const override;
    ChainHead head() const override;
    void snapshot(const std::function<void()> &work) const override;
    std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const override;
    CaseEntry appendStamp(CaseEntry entry, const QByteArray &answer) override;
    QByteArray readStamp(const CaseEntry &stamp, QString &problem) const override;
    int waiting() const override { return m_journal ? m_journal->size() : 0; }

    // Who the entries of this program name: the database user and this machine.
    QString author() const { return m_author; }
    // The entries after `seq`, read on the writer's thread and told by entriesRead.
    void requestEntries(qint64 seq);
    // Sends what waits now, and waits while the server takes it, at most `timeoutMs` (and no
    // longer than one try when the server cannot be reached). How many records still wait.
    int flush(int timeoutMs);

Q_SIGNALS:
    // Another program appended: the case now holds entries up to this seq.
    void othersAppended(qint64 headSeq);
    // How many records wait for the server.
    void waitingChanged(int count);
    // A record that waited reached the server: its provisional seq (0 for a record of an earlier
    // run) and the entry as written.
    void waitingSent(qint64 provisionalSeq, const Cases::CaseEntry &written);
    // The server went away (with the reason) or came back.
    void reachableChanged(bool reachable, const QString &reason);
    // A part of the entries after `after`, in order (requestEntries).
    void entriesRead(qint64 after, const QList<Cases::CaseEntry> &entries);
    // The server refused a record: it is kept aside in the journal's folder, with the reason.
    void recordRefused(const QString &reason);

private:
    PgCaseStore(const ServerAddress &address, Access access);
    PgSession &reader() const;
    void startWriter(qint64 caseKey, bool reachable);
    void takeSent(const QStringList &origins, const QList<CaseEntry> &written);
    void rememberIdentity(qint64 caseKey) const;
    bool recallIdentity(qint64 &caseKey);
    QString cacheFolder() const;
    [[noreturn]] void fail(const QString &reason) const;

    ServerAddress m_address;
    Access m_access;
    QString m_author;
    CaseInfo m_info;
    mutable std::unique_ptr<PgSession> m_reader;
    std::shared_ptr<CaseQueue> m_journal;
    QThread m_thread;
    PgWriter *m_writer = nullptr;
    QHash<qint64, QString> m_originOf;    // this run's records: provisional seq to origin
    QHash<QString, qint64> m_provisional; // and back, while they wait
    QHash<QString, qint64> m_sent;        // origins sent meanwhile: the seq they got
    qint64 m_nextProvisional = -1;
    bool m_reachable = true; // as the writer last told
};

} // namespace Cases
