// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The files a user opened or saved last, newest first, kept in the program's settings under a
// key of their own (in memory only when the key is empty).
class RecentFiles
{
public:
    static constexpr qsizetype MaxFiles = 8;

    explicit RecentFiles(QString settingsKey = {});

    const QStringList &files() const { return m_files; }
    // The file (made absolute) goes to the front, once.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store() const;

    QString m_key;
    QStringList m_files;
};
