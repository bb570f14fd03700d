// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The files of a case folder: case.sqlite and the files SQLite keeps beside it, case.lock and
// captures/. A case is often a folder someone else handed over, so nothing in it is followed out
// of it: each name is looked at below the folder's own descriptor without following a link, and
// must be what it claims (regular files, captures/ a folder of its own). What the program makes
// there is the user's alone (folders 0700, files 0600).
#include "PrivateFiles.h"

#include <QIODevice>
#include <QStringList>

#include <memory>

namespace Cases {

class CaseFolder
{
public:
    static constexpr char kDatabase[] = "case.sqlite";
    static constexpr char kLock[] = "case.lock";
    static constexpr char kCaptures[] = "captures";

    explicit CaseFolder(QString path) : m_path(std::move(path)) { }
    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + u'/' + name; }
    QString capturesPath() const { return filePath(QLatin1StringView(kCaptures)); }

    // Opens the folder, made (0700) when `create` and it is missing; the reason when it cannot.
    QString open(bool create);
    // Whether the name is there (a link or anything else counts; nothing is followed).
    bool holds(const QString &name) const;
    // Nothing but what a creation that did not finish leaves: case.lock, case.sqlite.new and its
    // companions, an empty captures/ folder.
    bool holdsOnlyLeftovers() const;

    // The database's file and the companions SQLite opens by name beside it (-wal, -shm,
    // -journal): the reason when one is not a regular file. SQLite follows links and waits on a
    // pipe, so this comes before SQLite is given the file.
    QString databaseProblem(const QString &database) const;
    // The companions there are now; after an open that failed, those that came with it are
    // removed, so a failed open leaves the folder as it found it: while this program holds the
    // lock any of them, else only empty or barely begun ones and only while no writer holds it.
    QStringList companions(const QString &database) const;
    void removeNewCompanions(const QString &database, const QStringList &before) const;
    // A database file of a creation that did not finish removed, with its companions.
    void removeWithCompanions(const QString &database) const;
    // A new database file, empty and 0600, for SQLite to fill: its companions take its mode.
    QString createDatabase(const QString &database) const;
    QString rename(const QString &from, const QString &to) const;
    // Whether the disk holding the folder has no room left (after an error that may say so).
    bool diskFull() const;

    // The lock of the system on case.lock, held until the folder is destroyed. CaseLockedError
    // when another program holds it, CaseReadOnlyError when it cannot be taken here (a link or
    // anything but a regular file there is never opened for writing).
    void lock();

    // captures/: a folder of the case's own, made when `create`; the reason when it is not.
    QString openCaptures(bool create);
    // What is wrong with the folder's own files (case.lock, captures/) for verify; empty if nothing.
    QString problem() const;
    // A capture's file for reading, or nullptr with the reason.
    std::unique_ptr<QIODevice> openCapture(const QString &name, QString &problem) const;
    bool holdsCapture(const QString &name) const;
    // A file the program wrote in captures/ (`scratch`) made private and renamed `name`.
    QString takeCapture(const QString &scratch, const QString &name) const;
    QString renameCapture(const QString &from, const QString &to) const;
    // A new capture file with these bytes (a copy of a case).
    QString writeCapture(const QString &name, QIODevice &from) const;
    // The captures a program was writing when it ended; nothing records them.
    void removePartials() const;
    // Every file in captures/ and the folder itself (a copy that failed).
    void removeCaptures();

private:
    QString m_path;
    FileDescriptor m_fd;
    FileDescriptor m_lockFd;
    FileDescriptor m_capturesFd;
    QString m_capturesProblem;
};

} // namespace Cases
