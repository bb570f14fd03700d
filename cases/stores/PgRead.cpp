// SPDX-License-Identifier: GPL-3.0-or-later
// A session's reading: the entries, the head, a capture's bytes, and others' appends heard.
#include "EntryRows.h"
#include "PgSession.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

} // namespace

namespace Cases {

QString PgSession::channel() const
{
    return QStringLiteral("glenlantern_case_%1").arg(m_caseKey);
}

void PgSession::read(const std::function<void(const CaseEntry &)> &visit, CaseStore::Order order,
                     const QString &kind) const
{
    if (!isOpen())
        fail(Tr::tr("the server cannot be reached"));
    QSqlQuery query(database());
    QString sql = QStringLiteral("SELECT %1 FROM glenlantern.entries WHERE case_key = ?")
                          .arg(EntryColumns(m_schema));
    if (!kind.isEmpty())
        sql += QStringLiteral(" AND kind = ?");
    // Byte order, as a case folder sorts: the same export from either store.
    sql += order == CaseStore::Order::Sequence
            ? QStringLiteral(" ORDER BY seq")
            : QStringLiteral(" ORDER BY service COLLATE \"C\" NULLS FIRST, seq");
    if (!query.prepare(sql))
        fail(query.lastError().databaseText().trimmed());
    query.addBindValue(m_caseKey);
    if (!kind.isEmpty())
        query.addBindValue(kind);
    {
        const SilenceGuard guard(*this);
        if (!query.exec())
            fail(query.lastError().databaseText().trimmed());
    }
    while (query.next())
        visit(EntryAt(query));
}

QList<CaseEntry> PgSession::readAfter(qint64 seq, int limit) const
{
    const SilenceGuard guard(*this);
    QSqlQuery query(database());
    const bool ok = query.exec(QStringLiteral("SELECT %1 FROM glenlantern.entries WHERE case_key = %2 "
                                              "AND seq > %3 ORDER BY seq LIMIT %4")
                                       .arg(EntryColumns(m_schema))
                                       .arg(m_caseKey)
                                       .arg(seq)
                                       .arg(limit));
    run(query, ok, [this](const QString &why) { fail(why); });
    QList<CaseEntry> entries;
    while (query.next())
        entries.append(EntryAt(query));
    return entries;
}

ChainHead PgSession::head() const
{
    const SilenceGuard guard(*this);
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT head_seq, head_hash FROM glenlantern.cases WHERE key = %1")
                            .arg(m_caseKey))
        || !query.next())
        fail(query.lastError().databaseText().trimmed());
    return {query.value(0).toLongLong(), query.value(1).toString()};
}

void PgSession::snapshot(const std::function<void()> &work) const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        fail(query.lastError().databaseText().trimmed());
    try {
        work();
    } catch (...) {
        query.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    query.exec(QStringLiteral("COMMIT"));
}

// A file kept in one of the case's tables of files (captures, stamps); null with the reason.
QByteArray PgSession::readFile(const QString &table, const QString &file, QString &problem) const
{
    const SilenceGuard guard(*this);
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("SELECT data FROM glenlantern.%1 WHERE case_key = ? AND file = ?")
                               .arg(table))) {
        problem = query.lastError().databaseText().trimmed();
        return {};
    }
    query.addBindValue(m_caseKey);
    query.addBindValue(file);
    if (!query.exec()) {
        problem = query.lastError().databaseText().trimmed();
        return {};
    }
    if (!query.next()) {
        problem = Tr::tr("%1 is missing from the database").arg(file);
        return {};
    }
    return query.value(0).toByteArray();
}

std::unique_ptr<QIODevice> PgSession::openCapture(const QString &file, QString &problem) const
{
    const QByteArray data = readFile(QStringLiteral("captures"), file, problem);
    if (!problem.isEmpty())
        return nullptr;
    auto device = std::make_unique<QBuffer>();
    device->setData(data);
    device->open(QIODevice::ReadOnly);
    return device;
}

QByteArray PgSession::readStamp(const QString &file, QString &problem) const
{
    return readFile(QStringLiteral("stamps"), file, problem);
}

void PgSession::listen(const std::function<void(qint64)> &heard)
{
    QSqlDriver *driver = database().driver();
    QObject::disconnect(driver, &QSqlDriver::notification, nullptr, nullptr);
    QObject::connect(driver, &QSqlDriver::notification, driver,
                     [heard](const QString &, QSqlDriver::NotificationSource source, const QVariant &payload) {
                         // This program's own appends are known to it already.
                         if (source == QSqlDriver::OtherSource)
                             heard(payload.toLongLong());
                     });
    const SilenceGuard guard(*this);
    driver->subscribeToNotification(channel());
}

} // namespace Cases
