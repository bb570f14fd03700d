// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One connection to a team's server and the case it holds, used only on the thread that made
// it (Qt SQL's rule). A case open for writing has one on its writer's thread; the jobs that read
// (verify, export, copy) have their own. Its parts: connecting (PgConnect.cpp), the tables
// (PgSchema.cpp), appending (PgAppend.cpp) and reading (PgRead.cpp).
#include "CaseQueue.h"
#include "CaseStore.h"
#include "ServerAddress.h"

#include <QSqlDatabase>

#include <functional>

class QSqlQuery;

namespace Cases {

// The link broke or the server stopped answering while an operation ran: nothing of it holds,
// unless the server committed before its answer was lost (the next try then finds the records
// by their UUIDs).
struct ServerLost
{
    QString reason;
};

class PgSession
{
public:
    // A writer's statements are short, so the server ends one that waits too long; a reader's
    // may stream a whole case to a slow link.
    enum class Role { Writer, Reader };
    // Whether a password the server wants may be asked of the user (on the window's thread).
    enum class Prompt { Allowed, Never };

    PgSession(const ServerAddress &address, Role role, Prompt prompt);
    ~PgSession();
    PgSession(const PgSession &) = delete;
    PgSession &operator=(const PgSession &) = delete;

    const ServerAddress &address() const { return m_address; }
    const CaseInfo &info() const { return m_info; }
    qint64 caseKey() const { return m_caseKey; }

    // Connects; false with the reason. See PgConnect.cpp for the password and TLS rules.
    bool connect(QString &problem);
    void close();
    bool isOpen() const;
    // libpq's own view: the server said goodbye, or a read found the link broken.
    bool isBroken() const;

    // Makes the tables when the database has none, or brings older ones to this version
    // (`write`); CaseOpenError when they are another program's or a newer version's.
    void prepareSchema(bool write);
    // Finds the case by its name, making it when `create` and it is new. CaseOpenError when it is
    // not there, or is not the case `expected` names (a database made anew under the same name).
    void openCase(bool create, const CaseInfo &expected = {});
    // The identity remembered from an earlier start, for a session that has not reached the
    // server.
    void adopt(const CaseInfo &info, qint64 caseKey);

    // The records, in order, after the case's head in one transaction; a record the case holds
    // already (an earlier try whose answer was lost) is not written again. `captures` holds each
    // record's capture bytes (empty for the others). Returns each record as the case holds it.
    // ServerLost when the link broke; CaseWriteError when the server refused the batch (nothing
    // of it is written).
    QList<CaseEntry> append(const QList<QueuedRecord> &records, const QList<QByteArray> &captures);
    // The case the address names, which must be new, as a copy of another (CaseOpenError).
    void createCopy(const CaseInfo &identity, const CopySource &source);

    void read(const std::function<void(const CaseEntry &)> &visit, CaseStore::Order order,
              const QString &kind) const;
    // At most `limit` entries after `seq`, in order: the log's reading, a part at a time.
    QList<CaseEntry> readAfter(qint64 seq, int limit) const;
    ChainHead head() const;
    void snapshot(const std::function<void()> &work) const;
    std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const;
    // A stamp's token, kept under the stamp's file name.
    QByteArray readStamp(const QString &file, QString &problem) const;

    // Others' appends, told as the case's head seq, from the thread's event loop.
    void listen(const std::function<void(qint64)> &heard);

    [[noreturn]] void fail(const QString &reason) const;

private:
    friend class SilenceGuard;
    QSqlDatabase database() const;
    int socket() const;
    QString channel() const;
    QString connectOptions(const QString &sslMode) const;
    // Runs the query; on failure throws ServerLost when the link broke, else `refusal(why)`.
    void run(QSqlQuery &query, bool ok, const std::function<void(const QString &)> &refusal) const;
    void upgradeSchema(QSqlQuery &query, int from);
    QByteArray readFile(const QString &table, const QString &file, QString &problem) const;

    ServerAddress m_address;
    Role m_role;
    Prompt m_prompt;
    QString m_connection;
    CaseInfo m_info;
    qint64 m_caseKey = 0; // the case's row in glenlantern.cases
    int m_schema = 0;     // the server's tables' version
};

// Holds an operation of the session to account: when the server says nothing for
// kSilenceLimitMs while it runs (a server stopped, a link that drops every packet, a proxy that
// hangs; keepalives cannot tell, as the machine or proxy in between still answers them), the
// connection is shut from another thread, and the operation fails as a broken link does.
class SilenceGuard
{
public:
    static constexpr int kSilenceLimitMs = 12000;
    explicit SilenceGuard(const PgSession &session);
    ~SilenceGuard();
    // From any thread: ends at once what the session waits for (the session is not touched,
    // only compared).
    static void interrupt(const PgSession *session);
    SilenceGuard(const SilenceGuard &) = delete;
    SilenceGuard &operator=(const SilenceGuard &) = delete;

private:
    quint64 m_ticket = 0;
};

} // namespace Cases
