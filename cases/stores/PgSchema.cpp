// SPDX-License-Identifier: GPL-3.0-or-later
// A session's tables: made when the database has none, brought up to this version, checked to
// be Glen Lantern's; and the case found or made in them.
#include "EntryRows.h"
#include "PgSession.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// The version of the tables this program makes in a database, and the newest it reads. Its
// entries' columns are those of the case folder's schema of the same number.
constexpr int kServerSchemaVersion = 2;
static_assert(kServerSchemaVersion == Cases::kSchemaVersion);
// pg_advisory_lock's key while the tables are made or brought up to date: "GLCS".
constexpr qint64 kSchemaLockKey = 0x474C4353;

// Acts as the role that owns what is changed where the user may: a team gives the database to a
// role granted to every analyst, and whoever opens the first case makes tables all of them can
// write. Otherwise the user's own.
void actAsOwner(QSqlQuery &query, const QString &ownerSql)
{
    if (!query.exec(ownerSql) || !query.next())
        return;
    const QString role = query.value(0).toString().replace(u'"', QStringLiteral("\"\""));
    query.exec(QStringLiteral("SET LOCAL ROLE \"%1\"").arg(role));
}

const QString kDatabaseOwner = QStringLiteral(
        "SELECT r.rolname FROM pg_database d JOIN pg_roles r ON r.oid = d.datdba "
        "WHERE d.datname = current_database() AND r.rolname <> current_user "
        "AND pg_has_role(current_user, d.datdba, 'MEMBER')");
const QString kTablesOwner = QStringLiteral(
        "SELECT tableowner FROM pg_tables WHERE schemaname = 'glenlantern' AND tablename = "
        "'entries' AND tableowner <> current_user AND pg_has_role(current_user, tableowner, 'MEMBER')");

QString columnDefinition(const Cases::EntryField &field)
{
    return QStringLiteral("%1 %2%3")
            .arg(QLatin1StringView(field.name),
                 field.number ? QStringLiteral("bigint") : QStringLiteral("text"),
                 field.kinds.isEmpty() ? QStringLiteral(" NOT NULL") : QString());
}

// A stamp's token as the authority sent it, under the stamp's file name (version 2 on).
const QString kCreateStamps = QStringLiteral(
        "CREATE TABLE IF NOT EXISTS glenlantern.stamps (case_key bigint NOT NULL REFERENCES "
        "glenlantern.cases (key), file text NOT NULL, data bytea NOT NULL, "
        "PRIMARY KEY (case_key, file))");

QStringList createStatements()
{
    QString columns;
    for (const Cases::EntryField &field : Cases::EntryFields())
        columns += columnDefinition(field) + QStringLiteral(", ");
    // origin: the UUID a record was given when it was made, unique in its case, so that a record
    // sent again after its answer was lost is found, never written twice.
    return {QStringLiteral("CREATE SCHEMA glenlantern"),
            QStringLiteral("CREATE TABLE glenlantern.meta (key text PRIMARY KEY, value text NOT NULL)"),
            QStringLiteral("INSERT INTO glenlantern.meta VALUES ('application', '%1'), ('schema', '%2')")
                    .arg(QLatin1StringView(Cases::kApplication))
                    .arg(kServerSchemaVersion),
            QStringLiteral("CREATE TABLE glenlantern.cases (key bigserial PRIMARY KEY, "
                           "name text NOT NULL UNIQUE, case_id text NOT NULL, created text NOT NULL, "
                           "head_seq bigint NOT NULL, head_hash text NOT NULL)"),
            QStringLiteral("CREATE TABLE glenlantern.entries (case_key bigint NOT NULL "
                           "REFERENCES glenlantern.cases (key), %1hash text NOT NULL, "
                           "origin text, PRIMARY KEY (case_key, seq), UNIQUE (case_key, origin))")
                    .arg(columns),
            QStringLiteral("CREATE INDEX entries_search ON glenlantern.entries (case_key, search_seq)"),
            QStringLiteral("CREATE TABLE glenlantern.captures (case_key bigint NOT NULL "
                           "REFERENCES glenlantern.cases (key), file text NOT NULL, "
                           "data bytea NOT NULL, PRIMARY KEY (case_key, file))"),
            kCreateStamps};
}

const QString kPresent = QStringLiteral("SELECT to_regnamespace('glenlantern') IS NOT NULL, "
                                        "to_regclass('glenlantern.meta') IS NOT NULL");

} // namespace

namespace Cases {

void PgSession::prepareSchema(bool write)
{
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (!ok)
            fail(query.lastError().databaseText().trimmed());
    };
    check(query.exec(kPresent) && query.next());
    if (!query.value(0).toBool()) {
        if (!write)
            fail(Tr::tr("the database %1 holds no Glen Lantern cases").arg(m_address.database));
        // Two programs making the tables at once: the second waits and finds them made. The
        // lock is the session's, taken before the transaction, so that the look that follows
        // sees the catalogue as the first left it.
        check(query.exec(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kSchemaLockKey)));
        check(query.exec(kPresent) && query.next());
        if (!query.value(0).toBool()) {
            check(query.exec(QStringLiteral("BEGIN")));
            actAsOwner(query, kDatabaseOwner);
            for (const QString &statement : createStatements())
                check(query.exec(statement));
            check(query.exec(QStringLiteral("COMMIT")));
        }
        check(query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLockKey)));
        check(query.exec(kPresent) && query.next());
    }
    const QString foreign = Tr::tr("the database's schema \"glenlantern\" is not Glen Lantern's");
    if (!query.value(1).toBool() || !query.exec(QStringLiteral("SELECT key, value FROM glenlantern.meta")))
        fail(foreign);
    QHash<QString, QString> meta;
    while (query.next())
        meta.insert(query.value(0).toString(), query.value(1).toString());
    bool number = false;
    m_schema = meta.value(QStringLiteral("schema")).toInt(&number);
    m_info.schema = m_schema;
    if (meta.value(QStringLiteral("application")) != QLatin1StringView(kApplication) || !number
        || m_schema < 1)
        fail(foreign);
    if (m_schema > kServerSchemaVersion)
        fail(Tr::tr("its tables were made by a newer version of Glen Lantern (version %1; this "
                    "version reads up to %2)")
                     .arg(m_schema)
                     .arg(kServerSchemaVersion));
    if (write && m_schema < kServerSchemaVersion)
        upgradeSchema(query, m_schema);
}

// The columns later versions added, in one transaction under the lock that makes the tables;
// the entries written before keep their hashes (their new columns stay NULL).
void PgSession::upgradeSchema(QSqlQuery &query, int from)
{
    const auto check = [&](bool ok) {
        if (ok)
            return;
        const QString why = query.lastError().databaseText().trimmed();
        query.exec(QStringLiteral("ROLLBACK"));
        query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLockKey));
        fail(Tr::tr("its tables are of an older version (%1) and cannot be brought up to date "
                    "here: %2. Whoever owns them opens the case once to do it.")
                     .arg(from)
                     .arg(why));
    };
    check(query.exec(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kSchemaLockKey)));
    check(query.exec(QStringLiteral("BEGIN")));
    check(query.exec(QStringLiteral("SELECT value FROM glenlantern.meta WHERE key = 'schema' FOR UPDATE"))
          && query.next());
    if (query.value(0).toInt() < kServerSchemaVersion) {
        actAsOwner(query, kTablesOwner);
        QStringList added;
        for (const EntryField &field : EntryFields()) {
            if (field.since > from)
                added.append(QStringLiteral("ADD COLUMN ") + columnDefinition(field));
        }
        check(query.exec(QStringLiteral("ALTER TABLE glenlantern.entries ") + added.join(u", ")));
        check(query.exec(kCreateStamps));
        check(query.exec(QStringLiteral("UPDATE glenlantern.meta SET value = '%1' WHERE key = 'schema'")
                                 .arg(kServerSchemaVersion)));
    }
    check(query.exec(QStringLiteral("COMMIT")));
    check(query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLockKey)));
    m_schema = m_info.schema = kServerSchemaVersion;
}

void PgSession::openCase(bool create, const CaseInfo &expected)
{
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (!ok)
            fail(query.lastError().databaseText().trimmed());
    };
    if (create) {
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString created = RecordTimeNow();
        check(query.prepare(QStringLiteral("INSERT INTO glenlantern.cases (name, case_id, created, head_seq, "
                                           "head_hash) VALUES (?, ?, ?, 0, ?) ON CONFLICT (name) DO NOTHING")));
        for (const QString &value : {m_address.caseName, id, created, GenesisHash(id, created)})
            query.addBindValue(value);
        check(query.exec());
    }
    check(query.prepare(QStringLiteral("SELECT case_id, created, key FROM glenlantern.cases WHERE name = ?")));
    query.addBindValue(m_address.caseName);
    check(query.exec());
    if (!query.next())
        fail(Tr::tr("there is no case \"%1\" in the database %2").arg(m_address.caseName, m_address.database));
    m_info.id = query.value(0).toString();
    m_info.created = query.value(1).toString();
    m_caseKey = query.value(2).toLongLong();
    if (!expected.id.isEmpty() && expected.id != m_info.id)
        fail(Tr::tr("the database holds another case of that name now (case %1, where this "
                    "computer's records are for case %2)")
                     .arg(m_info.id, expected.id));
}

void PgSession::adopt(const CaseInfo &info, qint64 caseKey)
{
    m_info.id = info.id;
    m_info.created = info.created;
    m_info.schema = info.schema;
    m_caseKey = caseKey;
}

} // namespace Cases
