// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Records a server case could not take yet, kept on disk in the case's cache folder until they
// are sent, in the order they were made. One file a record (written whole, then renamed), a
// capture's bytes in a file beside it. Each program holds a queue of its own (queue-1,
// queue-2...: a lock of the system on each), so two programs of one user on one case never mix
// their records; a queue whose program ended is taken by the next that opens the case.
#include "CaseEntry.h"

#include <QList>

namespace Cases {

struct QueuedRecord
{
    QString name;         // the record's file in the queue
    CaseEntry entry;      // seq, prev_hash and hash not given yet
    QString origin;       // a UUID naming the record, so that it is written once however often it is sent
    QString searchOrigin; // a capture's or note's search when that search was queued too
    QString captureFile;  // the capture's bytes in the queue; empty for other records
};

class CaseQueue
{
public:
    // The first queue of the folder no running program holds. CaseWriteError when none can be
    // made.
    explicit CaseQueue(const QString &caseCacheFolder);
    ~CaseQueue();
    CaseQueue(const CaseQueue &) = delete;
    CaseQueue &operator=(const CaseQueue &) = delete;

    const QList<QueuedRecord> &records() const { return m_records; }
    // Kept on disk before it returns; a capture's file is moved in. CaseWriteError when the
    // disk refuses it: then nothing of it is queued.
    void add(QueuedRecord record, const QString &writtenCapture = {});
    // Sent: gone from the queue. The first record only.
    void takeFirst();
    // The first record, which the server refuses, moved to refused/ with the reason beside it.
    void setFirstAside(const QString &reason);
    // Where captures are written before they are recorded.
    QString scratchFolder() const { return m_folder + QStringLiteral("/scratch"); }
    const QString &folder() const { return m_folder; }

private:
    void load();

    QString m_folder;
    int m_lockFd = -1;
    qint64 m_next = 1;
    QList<QueuedRecord> m_records;
};

} // namespace Cases
