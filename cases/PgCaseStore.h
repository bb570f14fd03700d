// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A case on a PostgreSQL server (Qt SQL's QPSQL driver), shared by a team: every program
// appends in turn, the database serialising the appends (the case's row locked while the
// previous hash is read and the new entry written), so the chain stays one however many write.
// Captures are kept in the database. Records the server cannot take wait on disk in the
// case's cache folder and are sent in order when it is back, or at the next start.
//
// Others' entries are told by LISTEN/NOTIFY rather than by asking the server every few
// seconds: the news comes the moment the other program commits, costs nothing while nobody
// writes, and a team of many programs does not load the server with polls.
#include "CaseQueue.h"
#include "CaseStore.h"
#include "ServerAddress.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>

namespace Cases {

class PgCaseStore : public QObject, public CaseStore
{
    Q_OBJECT

public:
    enum class Access { Write, ReadOnly };

    // Opens the case the address names. Write creates the program's tables when the database
    // has none, and the case when it is new. CaseOpenError with the reason when the address is
    // wrong, the server cannot be reached (Write may still start when this program has opened
    // the case before: its records then wait), the password is refused, or the database holds
    // another program's tables or a newer version's.
    static std::unique_ptr<PgCaseStore> open(const QString &address, Access access);
    // Makes the case the address names, which must be new, a copy of another case: its identity
    // and its entries as they are, in one transaction.
    static void createCopy(const QString &address, const CaseInfo &identity, const CopySource &source);
    ~PgCaseStore() override;

    CaseInfo info() const override { return m_info; }
    bool isReadOnly() const override { return m_access == Access::ReadOnly; }
    // When the server cannot be reached the entry waits in the queue and is returned with a
    // negative seq (its place among the waiting) and no hash; captures and notes may name such
    // a search by that number.
    CaseEntry append(CaseEntry entry) override;
    CaseEntry appendCapture(CaseEntry entry, const QString &writtenFile) override;
    QString scratchPath(const QString &extension) const override;
    void read(const std::function<void(const CaseEntry &)> &visit, Order order = Order::Sequence,
              const QString &kind = {}) const override;
    ChainHead head() const override;
    void snapshot(const std::function<void()> &work) const override;
    std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const override;
    CaseEntry appendStamp(CaseEntry entry, const QByteArray &answer) override;
    QByteArray readStamp(const CaseEntry &stamp, QString &problem) const override;
    int waiting() const override { return m_queue ? int(m_queue->records().size()) : 0; }

    // Who the entries of this program name: the database user and this machine.
    QString author() const { return m_author; }
    bool isConnected() const;
    // Connects again when the server went away, and sends what waits, in order, as far as the
    // server takes it.
    void sendWaiting();

Q_SIGNALS:
    // Another program appended: the case now holds entries up to this seq.
    void othersAppended(qint64 headSeq);
    // How many records wait for the server.
    void waitingChanged(int count);
    // A record that waited reached the server: its provisional seq and the entry as written.
    void waitingSent(qint64 provisionalSeq, const Cases::CaseEntry &written);
    // The server went away or came back.
    void reachableChanged(bool reachable);

private:
    PgCaseStore(const ServerAddress &address, Access access);
    QSqlDatabase database() const;
    bool connectToServer(QString &problem);
    void disconnectFromServer();
    void prepareSchema();
    void openCase();
    void rememberIdentity() const;
    bool recallIdentity();
    QString cacheFolder() const;
    CaseEntry write(CaseEntry entry, const QString &origin, const QString &searchOrigin,
                    const QByteArray *capture);
    CaseEntry enqueue(CaseEntry entry, const QString &searchOrigin, const QString &writtenCapture);
    QString channel() const;
    bool resolveSearch(CaseEntry &entry, QString &searchOrigin) const;
    void sendFirstWaiting();
    void listen();
    void checkConnection();
    [[noreturn]] void fail(const QString &reason) const;

    ServerAddress m_address;
    Access m_access;
    QString m_connection;
    QString m_author;
    CaseInfo m_info;
    qint64 m_caseKey = 0; // the case's row in glenlantern.cases
    std::unique_ptr<CaseQueue> m_queue;
    QHash<qint64, QString> m_provisional; // waiting searches: provisional seq to origin
    QHash<QString, qint64> m_sent;        // origins sent meanwhile: the seq they got
    qint64 m_nextProvisional = -1;
    QTimer m_retry;
    QTimer m_watch; // a listening connection's state looked at, locally
};

} // namespace Cases
