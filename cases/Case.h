// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The case the program records into, as the window uses it: searches appended when their
// outcome is known, notes, and captures written by the browser pane. One thread; each call
// is one transaction of the store.
#include "CaseStore.h"
#include "SqliteCaseStore.h"

#include <QHash>

namespace Cases {

class Case
{
public:
    using Access = SqliteCaseStore::Access;

    // The case in a folder (created when Write and the folder is new or empty). Throws
    // CaseLockedError when it is open for writing elsewhere (it can then be opened ReadOnly),
    // CaseReadOnlyError when it cannot be written here, CaseOpenError with the reason else.
    static std::unique_ptr<Case> openFolder(const QString &folder, Access access);
    // The case at a folder or a server's address (postgresql://...: see PgCaseStore, whose
    // signals tell of others' entries and of records waiting for the server).
    static std::unique_ptr<Case> open(const QString &location, Access access);
    explicit Case(std::unique_ptr<CaseStore> store, QString author = DefaultAuthor());

    CaseStore &store() const { return *m_store; }
    CaseInfo info() const { return m_store->info(); }
    bool isReadOnly() const { return m_store->isReadOnly(); }

    // A search, once its outcome is known (its page loaded or failed, or the user moved on):
    // `search` holds time (when it was shown: RecordTime), service, serviceLine, term, address,
    // postBody, finalAddress, title, outcome and startedBy; the rest is filled in. Returns the
    // entry as written: its seq is what captures and notes name. CaseWriteError when it was not
    // recorded (the window says so; the next append tries again).
    CaseEntry appendSearch(CaseEntry search);
    // The user's note on a search; a later note replaces it in the log and the exports.
    CaseEntry appendNote(qint64 searchSeq, const QString &text);
    // Where the pane writes a capture of kind kMhtml, kPdf or kPng before recordCapture.
    QString captureScratchPath(const QString &captureKind) const;
    // The capture the pane wrote at a scratch path: hashed, made the case's and recorded
    // against the search. An empty or unreadable file is recorded as a failed capture. On
    // CaseWriteError the file is removed: nothing records it.
    CaseEntry recordCapture(qint64 searchSeq, const QString &captureKind, const QString &writtenFile);
    // A capture that did not produce a file (the page never loaded, a disk error).
    CaseEntry recordCaptureFailure(qint64 searchSeq, const QString &captureKind,
                                   const QString &reason);

private:
    CaseEntry newEntry(const char *kind) const;

    std::unique_ptr<CaseStore> m_store;
    QString m_author;
};

// A result matrix's cell as its search records it: loaded with the HTTP status when a page came
// (failed when none did), its verdict word, the page's title and the hash of its text.
void SetCellOutcome(CaseEntry &search, int status, const QString &verdict, const QString &title,
                    const QString &textSha256);

// What belongs to each search besides itself: its latest note and its captures, in the order
// they were recorded. The log shows them beside the search; the exports write them with it.
struct Annotations
{
    QHash<qint64, CaseEntry> latestNote;
    QHash<qint64, QList<CaseEntry>> captures;

    void add(const CaseEntry &entry); // searches are left out
    static Annotations read(const CaseStore &store);
};

// A file's SHA-256 (lowercase hex) and size, read in pieces; false with the reason when it
// cannot be read to its end.
struct FileDigest
{
    QString sha256;
    qint64 size = 0;
};
bool DigestOf(QIODevice &device, FileDigest &digest, QString &problem);

} // namespace Cases
