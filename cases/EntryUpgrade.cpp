// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryUpgrade.h"

#include "CaseEntry.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace Cases {

namespace {

// The record's fields the table has no column for, each with the type it takes.
QList<std::pair<QString, QString>> missingColumns(const QSet<QString> &present, bool server)
{
    QList<std::pair<QString, QString>> missing;
    for (const EntryField &field : EntryFields()) {
        const QString name = QString::fromLatin1(field.name);
        if (present.contains(name))
            continue;
        const char *type = field.number ? (server ? "bigint" : "INTEGER") : (server ? "text" : "TEXT");
        missing.append({name, QString::fromLatin1(type)});
    }
    return missing;
}

// The statements in one transaction: all or none. The reason of the first that fails.
QString runAll(QSqlQuery &query, const QStringList &statements, const QString &begin,
               const std::function<void(QSqlQuery &)> &first = {})
{
    if (!query.exec(begin))
        return query.lastError().databaseText().trimmed();
    if (first)
        first(query);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            const QString why = query.lastError().databaseText().trimmed();
            query.exec(QStringLiteral("ROLLBACK"));
            return why;
        }
    }
    return query.exec(QStringLiteral("COMMIT")) ? QString() : query.lastError().databaseText().trimmed();
}

} // namespace

QString UpgradeFolderEntries(QSqlQuery &query, bool readOnly)
{
    QSet<QString> present;
    if (!query.exec(QStringLiteral("PRAGMA main.table_info(entries)")))
        return query.lastError().databaseText();
    while (query.next())
        present.insert(query.value(1).toString());
    const auto missing = missingColumns(present, false);
    if (missing.isEmpty() || present.isEmpty())
        return {}; // nothing to add, or no table at all: the caller's check says so
    QStringList added;
    for (const auto &[name, type] : missing)
        added.append(readOnly ? QStringLiteral("NULL AS %1").arg(name) : QStringLiteral("%1 %2").arg(name, type));
    if (readOnly) {
        if (!query.exec(QStringLiteral("CREATE TEMP VIEW entries AS SELECT *, %1 FROM main.entries")
                                .arg(added.join(QStringLiteral(", ")))))
            return query.lastError().databaseText();
        return {};
    }
    QStringList statements;
    for (const QString &column : std::as_const(added))
        statements.append(QStringLiteral("ALTER TABLE entries ADD COLUMN ") + column);
    return runAll(query, statements, QStringLiteral("BEGIN IMMEDIATE"));
}

QString UpgradeServerTables(QSqlQuery &query, const std::function<void(QSqlQuery &)> &asOwner)
{
    QSet<QString> present;
    if (!query.exec(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                   "WHERE table_schema = 'glenlantern' AND table_name = 'entries'")))
        return query.lastError().databaseText().trimmed();
    while (query.next())
        present.insert(query.value(0).toString());
    if (!query.exec(QStringLiteral("SELECT to_regclass('glenlantern.stamps') IS NOT NULL")) || !query.next())
        return query.lastError().databaseText().trimmed();
    const bool hasStamps = query.value(0).toBool();
    const auto missing = missingColumns(present, true);
    if (missing.isEmpty() && hasStamps)
        return {};
    QStringList statements;
    for (const auto &[name, type] : missing)
        statements.append(QStringLiteral("ALTER TABLE glenlantern.entries ADD COLUMN IF NOT EXISTS %1 %2")
                                  .arg(name, type));
    statements.append(QStringLiteral("CREATE TABLE IF NOT EXISTS glenlantern.stamps (case_key bigint NOT "
                                     "NULL REFERENCES glenlantern.cases (key), file text NOT NULL, "
                                     "data bytea NOT NULL, PRIMARY KEY (case_key, file))"));
    return runAll(query, statements, QStringLiteral("BEGIN"), asOwner);
}

} // namespace Cases
