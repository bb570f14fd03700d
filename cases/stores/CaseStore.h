// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a case's record lives: a case folder (SQLite) or a server shared by a team
// (PostgreSQL), behind one interface: same entries, same chain, the previous hash read and the
// new entry written in one transaction of the store, so that several writers append in turn.
#include "CaseEntry.h"
#include "Error.h"

#include <QIODevice>

#include <functional>
#include <memory>

namespace Cases {

// A case that cannot be opened or read: the message says which and why (missing, another
// program's database, damaged, made by a newer version...).
class CaseOpenError : public CommandError
{
public:
    using CommandError::CommandError;
};

// The case can be read but not written here (a read-only folder); it may be opened read-only.
class CaseReadOnlyError : public CaseOpenError
{
public:
    using CaseOpenError::CaseOpenError;
};

// The case is open for writing in another program; it may still be opened read-only.
class CaseLockedError : public CaseReadOnlyError
{
public:
    CaseLockedError(QString message, qint64 pid, QString host)
        : CaseReadOnlyError(std::move(message)), m_pid(pid), m_host(std::move(host))
    {
    }
    qint64 pid() const { return m_pid; }
    const QString &host() const { return m_host; }

private:
    qint64 m_pid;
    QString m_host;
};

// An entry that was not written (a full or read-only disk, a case opened read-only): nothing of
// it is in the store, and the next append tries again.
class CaseWriteError : public CommandError
{
public:
    using CommandError::CommandError;
};

// The case's identity, fixed when it is created.
struct CaseInfo
{
    QString location; // the folder, or the server's address
    QString id;       // a UUID, without braces
    QString created;  // UTC time, as entries hold it
    int schema = 0;
};

// The last entry as the store records it beside the entries: an entry removed from the end of
// the chain is found by it.
struct ChainHead
{
    qint64 seq = 0;
    QString hash;
};

// What a copy of a case reads from: calls `put` for every entry in order, with the bytes of
// a capture's file (nullptr for other entries).
using CopyPut = std::function<void(const CaseEntry &entry, QIODevice *capture)>;
using CopySource = std::function<void(const CopyPut &put)>;

// The schema this version of the program writes, and the newest it reads. 2: a search's status,
// verdict and text hash (EntryField::since).
inline constexpr int kSchemaVersion = 2;

class CaseStore
{
public:
    virtual ~CaseStore() = default;

    virtual CaseInfo info() const = 0;
    virtual bool isReadOnly() const = 0;

    // Appends a search, a note or a failed capture. The store gives the entry its seq,
    // prev_hash and hash, reading the entry before and writing this one in one transaction,
    // and returns it as written. CaseWriteError when it is not written: then nothing of it is.
    virtual CaseEntry append(CaseEntry entry) = 0;
    // Appends a capture whose file (sha256 and size already in the entry) the caller wrote at
    // `writtenFile`, a name from scratchPath(): the file becomes the store's together with the
    // entry. When the entry cannot be written the file is left where it was.
    virtual CaseEntry appendCapture(CaseEntry entry, const QString &writtenFile) = 0;
    // A new name for a capture file being written, in a place from which appendCapture takes it
    // without copying it.
    virtual QString scratchPath(const QString &extension) const = 0;

    enum class Order { Sequence, ServiceThenSequence };
    // Calls `visit` for each entry of the kind (every kind when empty), in the order asked for.
    // CaseOpenError when the store cannot be read.
    virtual void read(const std::function<void(const CaseEntry &)> &visit,
                      Order order = Order::Sequence, const QString &kind = {}) const = 0;
    virtual ChainHead head() const = 0;
    // Runs `work` on one unchanging state of the store: what it reads (entries, head) is not
    // moved by appends another program makes meanwhile. CaseOpenError when it cannot start.
    virtual void snapshot(const std::function<void()> &work) const = 0;
    // A capture's bytes, or nullptr with the reason (missing, unreadable, not a name of the
    // store's).
    virtual std::unique_ptr<QIODevice> openCapture(const QString &file, QString &problem) const = 0;
    // Appends a stamp entry (kStamp, its stamp fields filled in) with the authority's answer,
    // which the store keeps beside it (a case folder's stamps/, a server's database) under
    // StampFileName(): both or neither. CaseWriteError when it is not written; a stamp never
    // waits for a server that is away.
    virtual CaseEntry appendStamp(CaseEntry entry, const QByteArray &answer) = 0;
    // The answer a stamp entry names, or empty with the reason (missing, unreadable).
    virtual QByteArray readStamp(const CaseEntry &stamp, QString &problem) const = 0;
    // Entries appended here that the store has not taken yet (a server out of reach).
    virtual int waiting() const { return 0; }
};

} // namespace Cases
