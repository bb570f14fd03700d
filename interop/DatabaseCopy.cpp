// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseCopy.h"

#include "Error.h"
#include "FileIo.h"
#include "Readers.h"
#include "InteropText.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

#include <cerrno>

namespace Interop {

namespace {

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("glinterop-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

DatabaseCopy::DatabaseCopy(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath()), m_connection(nextConnectionName())
{
    if (!m_folder.isValid())
        fail(Tr::tr("no temporary folder for its copy (%1)").arg(m_folder.errorString()));
    // Checks that it is a regular file the user can read, with the usual messages.
    if (!QFileInfo::exists(m_path))
        ThrowCannotOpen(m_path, SystemErrorText(ENOENT));
    if (IsOtherThanRegularFile(m_path))
        fail(Tr::tr("it is not a regular file"));
    const QString copy = m_folder.filePath(QStringLiteral("db"));
    for (const char *suffix : {"", "-wal", "-journal"}) {
        const QString from = m_path + QLatin1String(suffix);
        if (*suffix && !QFileInfo(from).isFile())
            continue;
        QFile source(from);
        // Opened first: a copy that fails to open it loses the system's reason.
        if (!source.open(QIODevice::ReadOnly))
            ThrowCannotOpen(from, CleanSystemText(source.errorString()));
        if (!source.copy(copy + QLatin1String(suffix)))
            fail(Tr::tr("its copy failed (%1)").arg(CleanSystemText(source.errorString())));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid())
        fail(QStringLiteral(
                "the SQLite driver of Qt is missing (Debian package libqt6sql6-sqlite)"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    db.setDatabaseName(copy);
    if (!db.open())
        fail(Tr::tr("it is not a database (%1)").arg(db.lastError().databaseText()));
}

DatabaseCopy::~DatabaseCopy()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void DatabaseCopy::fail(const QString &what) const
{
    ThrowCannotRead(m_path, what);
}

bool DatabaseCopy::hasTable(const QString &table)
{
    bool found = false;
    forEachRow(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
            [&](const QSqlQuery &query) { found = found || query.value(0).toString() == table; });
    return found;
}

void DatabaseCopy::forEachRow(const QString &sql, const std::function<void(const QSqlQuery &)> &row)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        const QString reason = query.lastError().databaseText();
        if (reason.contains(u"not a database"))
            fail(Tr::tr("it is not a database (%1)").arg(reason));
        fail(Tr::tr("the database cannot be read (%1)").arg(reason));
    }
    while (query.next())
        row(query);
    if (query.lastError().isValid())
        fail(Tr::tr("the database cannot be read (%1)").arg(query.lastError().databaseText()));
}

} // namespace Interop
