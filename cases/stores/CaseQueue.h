// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The journal of a server case: every record the program makes goes here first, on this
// machine, in order, kept through the program's end however it ends, and leaves only once the
// server has confirmed its commit. One file a record (written whole, then renamed into place), a capture's bytes in a file
// beside it, in the case's cache folder (files 0600, folders 0700: a case is confidential). Each
// program holds a journal of its own (queue-1, queue-2...: a lock of the system on each), so two
// programs of one user on one case never mix their records; a journal whose program ended is
// taken by the next that opens the case. The window's thread adds, the writer's thread sends and
// removes: the list is guarded.
#include "CaseEntry.h"

#include <QList>
#include <QMutex>

#include <functional>

namespace Cases {

struct QueuedRecord
{
    QString name;         // the record's file in the journal
    CaseEntry entry;      // seq, prev_hash and hash not given yet
    QString origin;       // a UUID naming the record, so that it is written once however often it is sent
    QString searchOrigin; // a capture's or note's search when that search was journalled too
    QString captureFile;  // the capture's bytes in the journal; empty for other records
};

class CaseQueue
{
public:
    // The first journal of the folder no running program holds. CaseWriteError when none can be
    // made.
    explicit CaseQueue(const QString &caseCacheFolder);
    ~CaseQueue();
    CaseQueue(const CaseQueue &) = delete;
    CaseQueue &operator=(const CaseQueue &) = delete;

    // In the journal's folder before it returns; a capture's file is moved in. CaseWriteError when the disk
    // refuses it: then nothing of it is kept.
    void add(QueuedRecord record, const QString &writtenCapture = {});
    int size() const;
    // The first records, at most `count`, in the order they were made.
    QList<QueuedRecord> first(int count) const;
    // A record's capture bytes; a null array with the reason when they cannot be read.
    QByteArray captureOf(const QueuedRecord &record, QString &problem) const;
    // Sent and confirmed: gone, the record's file first, then its capture's (a capture's file
    // left behind alone is removed at the next start). The first records only.
    void remove(const QList<QueuedRecord> &records);
    // A record the server refuses, moved to refused/ with the reason beside it.
    void setAside(const QueuedRecord &record, const QString &reason);
    // Where captures are written before they are recorded.
    QString scratchFolder() const { return m_folder + QStringLiteral("/scratch"); }
    const QString &folder() const { return m_folder; }

    // A place where a test stops the program as a kill would there ("journal", "journalled",
    // "sending", "committed", "removed record", "removed capture"). Nothing in the program sets it.
    using Checkpoint = std::function<void(const char *)>;
    void setCheckpoint(Checkpoint checkpoint) { m_checkpoint = std::move(checkpoint); }
    void checkpoint(const char *name) const
    {
        if (m_checkpoint)
            m_checkpoint(name);
    }

private:
    void load();

    QString m_folder;
    int m_lockFd = -1;
    mutable QMutex m_mutex;
    qint64 m_next = 1;
    QList<QueuedRecord> m_records;
    Checkpoint m_checkpoint;
};

} // namespace Cases
