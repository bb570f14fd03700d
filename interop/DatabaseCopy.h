// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A browser's SQLite database read through a copy: the browser keeps its files locked while it
// runs and must never see them written, so the file (with its journal or write-ahead log) is
// copied to a temporary folder and the copy is opened read-only.
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace Interop {

class DatabaseCopy
{
public:
    // Throws CommandError naming the file when it cannot be copied or opened as a database.
    explicit DatabaseCopy(const QString &path);
    ~DatabaseCopy();
    DatabaseCopy(const DatabaseCopy &) = delete;
    DatabaseCopy &operator=(const DatabaseCopy &) = delete;

    bool hasTable(const QString &table);
    // Runs the query and calls `row` for each row; throws CommandError when it fails.
    void forEachRow(const QString &sql, const std::function<void(const QSqlQuery &)> &row);

private:
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    QTemporaryDir m_folder;
    QString m_connection;
};

} // namespace Interop
