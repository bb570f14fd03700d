// SPDX-License-Identifier: GPL-3.0-or-later
#include "PgCaseStore.h"

#include "CaseStamp.h"
#include "EntryRows.h"
#include "EntryUpgrade.h"

#include <QAtomicInteger>
#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUuid>

#include <algorithm>

#include <dlfcn.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

// The version of the tables this program makes in a database, and the newest it reads.
constexpr int kServerSchemaVersion = 1;
// pg_advisory_xact_lock's key while the tables are made: "GLCS".
constexpr qint64 kSchemaLockKey = 0x474C4353;
constexpr int kRetryMs = 2000;
constexpr int kLongestRetryMs = 60000;

// The server stopped answering while an entry was written: nothing of it is in the case.
struct ServerLost
{
    QString reason;
};

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("glpgcase-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Passwords typed by the user, for the running program only; and the addresses already asked
// for, so that a server that refuses is not asked about again and again.
QHash<QString, QString> &typedPasswords()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QSet<QString> &askedFor()
{
    static QSet<QString> asked;
    return asked;
}

} // namespace

namespace Cases {

PgCaseStore::PgCaseStore(const ServerAddress &address, Access access)
    : m_address(address), m_access(access), m_connection(nextConnectionName())
{
    m_info.location = address.text();
    m_author = address.user + u'@' + QSysInfo::machineHostName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    if (db.isValid()) {
        QObject::connect(db.driver(), &QSqlDriver::notification, this,
                         [this](const QString &, QSqlDriver::NotificationSource source,
                                const QVariant &payload) {
                             if (source == QSqlDriver::OtherSource)
                                 Q_EMIT othersAppended(payload.toLongLong());
                         });
    }
    m_retry.setInterval(kRetryMs);
    m_watch.setInterval(kRetryMs);
    QObject::connect(&m_watch, &QTimer::timeout, this, &PgCaseStore::checkConnection);
    QObject::connect(&m_retry, &QTimer::timeout, this, &PgCaseStore::sendWaiting);
}

PgCaseStore::~PgCaseStore()
{
    // One more try: what still waits is sent at the next start with this case.
    if (m_queue && !m_queue->records().isEmpty())
        sendWaiting();
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void PgCaseStore::fail(const QString &reason) const
{
    throw CaseOpenError(Tr::tr("Cannot open the case \"%1\": %2").arg(m_info.location, reason));
}

QSqlDatabase PgCaseStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

std::unique_ptr<PgCaseStore> PgCaseStore::open(const QString &address, Access access)
{
    std::unique_ptr<PgCaseStore> store(new PgCaseStore(ParseServerAddress(address), access));
    QString problem;
    if (!store->connectToServer(problem)) {
        // Searching goes on while the server is away, into a case this program knows.
        if (access == Access::ReadOnly || !store->recallIdentity())
            store->fail(problem);
        store->m_queue = std::make_unique<CaseQueue>(store->cacheFolder());
        store->m_retry.start();
        return store;
    }
    store->prepareSchema();
    store->openCase();
    if (access == Access::Write) {
        store->rememberIdentity();
        store->m_queue = std::make_unique<CaseQueue>(store->cacheFolder());
        store->listen();
        store->sendWaiting();
    }
    return store;
}

bool PgCaseStore::connectToServer(QString &problem)
{
    QSqlDatabase db = database();
    if (!db.isValid()) {
        problem = Tr::tr("Qt's PostgreSQL driver is missing (Debian package libqt6sql6-psql)");
        return false;
    }
    const ServerAddress &a = m_address;
    const QString key = a.user + u'@' + a.host + u':' + QString::number(a.port) + u'/' + a.database;
    QString filesProblem;
    std::optional<QString> password = typedPasswords().contains(key)
            ? std::optional(typedPasswords().value(key))
            : StoredPassword(a, filesProblem);
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.database);
    db.setUserName(a.user);
    db.setPassword(password.value_or(QString()));
    QString options = QStringLiteral("connect_timeout=5;application_name=glenlantern");
    if (!a.sslMode.isEmpty())
        options += QStringLiteral(";sslmode=") + a.sslMode;
    db.setConnectOptions(options);
    if (db.open())
        return true;
    QString error = db.lastError().databaseText().trimmed();
    const PasswordPrompt &ask = CurrentPasswordPrompt();
    if (error.contains(u"password") && ask && !askedFor().contains(key)) {
        askedFor().insert(key);
        if (const std::optional<QString> typed = ask(a, error)) {
            db.setPassword(*typed);
            if (db.open()) {
                typedPasswords().insert(key, *typed);
                return true;
            }
            error = db.lastError().databaseText().trimmed();
        }
    }
    problem = Tr::tr("the server refused or could not be reached (%1)").arg(error);
    if (!filesProblem.isEmpty())
        problem += QStringLiteral("; ") + filesProblem;
    return false;
}

void PgCaseStore::disconnectFromServer()
{
    QSqlDatabase db = database();
    if (db.isOpen()) {
        db.close();
        Q_EMIT reachableChanged(false);
    }
}

bool PgCaseStore::isConnected() const
{
    QSqlDatabase db = database();
    return db.isOpen() && QSqlQuery(db).exec(QStringLiteral("SELECT 1"));
}

// The tables belong to the database's owner where the user may act as it: a team gives the
// database to a role granted to every analyst, and whoever opens the first case makes tables
// all of them can write. Otherwise they are the user's own.
static void actAsDatabaseOwner(QSqlQuery &query)
{
    const QString owner = QStringLiteral(
            "SELECT r.rolname FROM pg_database d JOIN pg_roles r ON r.oid = d.datdba "
            "WHERE d.datname = current_database() AND r.rolname <> current_user "
            "AND pg_has_role(current_user, d.datdba, 'MEMBER')");
    if (!query.exec(owner) || !query.next())
        return;
    const QString role = query.value(0).toString().replace(u'"', QStringLiteral("\"\""));
    query.exec(QStringLiteral("SET LOCAL ROLE \"%1\"").arg(role));
}

void PgCaseStore::prepareSchema()
{
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (!ok)
            fail(query.lastError().databaseText().trimmed());
    };
    const QString present = QStringLiteral("SELECT to_regnamespace('glenlantern') IS NOT NULL, "
                                           "to_regclass('glenlantern.meta') IS NOT NULL");
    check(query.exec(present) && query.next());
    if (!query.value(0).toBool()) {
        if (m_access == Access::ReadOnly)
            fail(Tr::tr("the database %1 holds no Glen Lantern cases").arg(m_address.database));
        // Two programs making the tables at once: the second waits and finds them made. The
        // lock is the session's, taken before the transaction, so that the look that follows
        // sees the catalogue as the first left it.
        check(query.exec(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kSchemaLockKey)));
        check(query.exec(present) && query.next());
        if (!query.value(0).toBool()) {
            check(query.exec(QStringLiteral("BEGIN")));
            actAsDatabaseOwner(query);
            QString columns;
            for (const EntryField &field : EntryFields())
                columns += QStringLiteral("%1 %2%3, ")
                                   .arg(QLatin1StringView(field.name),
                                        field.number ? QStringLiteral("bigint") : QStringLiteral("text"),
                                        field.kinds.isEmpty() ? QStringLiteral(" NOT NULL") : QString());
            const QStringList create = {
                    QStringLiteral("CREATE SCHEMA glenlantern"),
                    QStringLiteral("CREATE TABLE glenlantern.meta (key text PRIMARY KEY, value text NOT NULL)"),
                    QStringLiteral("INSERT INTO glenlantern.meta VALUES ('application', '%1'), ('schema', '%2')")
                            .arg(QLatin1StringView(kApplication))
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
            };
            for (const QString &statement : create)
                check(query.exec(statement));
            check(query.exec(QStringLiteral("COMMIT")));
        }
        check(query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kSchemaLockKey)));
        check(query.exec(present) && query.next());
    }
    const QString foreign = Tr::tr("the database's schema \"glenlantern\" is not Glen Lantern's");
    if (!query.value(1).toBool() || !query.exec(QStringLiteral("SELECT key, value FROM glenlantern.meta")))
        fail(foreign);
    QHash<QString, QString> meta;
    while (query.next())
        meta.insert(query.value(0).toString(), query.value(1).toString());
    bool number = false;
    m_info.schema = meta.value(QStringLiteral("schema")).toInt(&number);
    if (meta.value(QStringLiteral("application")) != QLatin1StringView(kApplication) || !number)
        fail(foreign);
    if (m_info.schema > kServerSchemaVersion)
        fail(Tr::tr("its tables were made by a newer version of Glen Lantern (version %1; this "
                    "version reads up to %2)")
                     .arg(m_info.schema)
                     .arg(kServerSchemaVersion));
    // Two programs adding the same columns: the second waits, then finds them there.
    const auto asOwner = [](QSqlQuery &inTransaction) {
        inTransaction.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey));
        actAsDatabaseOwner(inTransaction);
    };
    if (const QString problem = UpgradeServerTables(query, asOwner); !problem.isEmpty())
        fail(problem);
}

void PgCaseStore::openCase()
{
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (!ok)
            fail(query.lastError().databaseText().trimmed());
    };
    if (m_access == Access::Write) {
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
}

QString PgCaseStore::cacheFolder() const
{
    const QByteArray key = QCryptographicHash::hash(m_address.text().toUtf8(), QCryptographicHash::Sha256);
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/glenlantern/cases/") + QString::fromLatin1(key.toHex().left(24));
}

// The case's identity kept beside its queue, so that the program can record into it while the
// server is away, and a person can tell which case a cache folder is for.
void PgCaseStore::rememberIdentity() const
{
    QDir().mkpath(cacheFolder());
    QSaveFile file(cacheFolder() + QStringLiteral("/case.json"));
    const QJsonObject identity {{QStringLiteral("address"), m_info.location},
                                {QStringLiteral("case_id"), m_info.id},
                                {QStringLiteral("created"), m_info.created},
                                {QStringLiteral("schema"), m_info.schema},
                                {QStringLiteral("key"), m_caseKey}};
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(identity).toJson());
    file.commit();
}

bool PgCaseStore::recallIdentity()
{
    QFile file(cacheFolder() + QStringLiteral("/case.json"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject identity = QJsonDocument::fromJson(file.readAll()).object();
    if (identity.value(QStringLiteral("address")).toString() != m_info.location)
        return false;
    m_info.id = identity.value(QStringLiteral("case_id")).toString();
    m_info.created = identity.value(QStringLiteral("created")).toString();
    m_info.schema = identity.value(QStringLiteral("schema")).toInt();
    m_caseKey = identity.value(QStringLiteral("key")).toInteger();
    return !m_info.id.isEmpty() && !m_info.created.isEmpty();
}

void PgCaseStore::listen()
{
    QSqlDatabase db = database();
    db.driver()->subscribeToNotification(channel());
    m_watch.start();
}

namespace {

// libpq's own view of the connection, without a word to the server. Qt's driver reads the
// connection whenever the server sends something, a notification or its goodbye, and libpq
// then knows it is gone; Qt tells nobody. The library is the one Qt's driver loaded.
bool connectionBroken(const QSqlDatabase &db)
{
    using StatusFunction = int (*)(const void *);
    static const StatusFunction status = [] {
        void *library = ::dlopen("libpq.so.5", RTLD_NOW | RTLD_NOLOAD);
        return library ? reinterpret_cast<StatusFunction>(::dlsym(library, "PQstatus")) : nullptr;
    }();
    const QVariant handle = db.driver()->handle();
    if (!status || !handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return false;
    constexpr int kConnectionBad = 1; // ConnStatusType's CONNECTION_BAD
    return status(*static_cast<void *const *>(handle.constData())) == kConnectionBad;
}

} // namespace

void PgCaseStore::checkConnection()
{
    QSqlDatabase db = database();
    if (m_retry.isActive() || (db.isOpen() && !connectionBroken(db)))
        return;
    disconnectFromServer();
    m_retry.start();
}

QString PgCaseStore::scratchPath(const QString &extension) const
{
    const QString folder = m_queue ? m_queue->scratchFolder() : QDir::tempPath();
    return QStringLiteral("%1/.partial-%2.%3")
            .arg(folder, QUuid::createUuid().toString(QUuid::WithoutBraces), extension);
}

QString PgCaseStore::channel() const
{
    return QStringLiteral("glenlantern_case_%1").arg(m_caseKey);
}


// A capture or note naming a search that waited: the seq it got once sent, or (when it still
// waits) its origin, for the queue. True when the search still waits.
bool PgCaseStore::resolveSearch(CaseEntry &entry, QString &searchOrigin) const
{
    if (entry.kind == QLatin1StringView(kSearch) || entry.searchSeq >= 0)
        return false;
    const QString origin = m_provisional.value(entry.searchSeq);
    if (origin.isEmpty())
        throw CaseWriteError(Tr::tr("The record was not written: there is no search %1 waiting")
                                     .arg(entry.searchSeq));
    if (const auto sent = m_sent.constFind(origin); sent != m_sent.cend()) {
        entry.searchSeq = *sent;
        return false;
    }
    searchOrigin = origin;
    return true;
}

CaseEntry PgCaseStore::append(CaseEntry entry)
{
    return appendCapture(std::move(entry), {});
}

CaseEntry PgCaseStore::appendCapture(CaseEntry entry, const QString &writtenFile)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    NormaliseTexts(entry);
    entry.author = m_author;
    if (m_queue && !m_queue->records().isEmpty() && database().isOpen())
        sendWaiting();
    QString searchOrigin;
    const bool searchWaits = resolveSearch(entry, searchOrigin);
    // In order: while anything waits, what comes after waits behind it.
    if (searchWaits || !database().isOpen() || waiting() > 0)
        return enqueue(std::move(entry), searchOrigin, writtenFile);
    QByteArray bytes;
    if (!writtenFile.isEmpty()) {
        QFile file(writtenFile);
        if (!file.open(QIODevice::ReadOnly))
            throw CaseWriteError(Tr::tr("The capture was not recorded: %1")
                                         .arg(CleanSystemText(file.errorString())));
        bytes = file.readAll();
    }
    try {
        CaseEntry written = write(entry, QUuid::createUuid().toString(QUuid::WithoutBraces), {},
                                  writtenFile.isEmpty() ? nullptr : &bytes);
        if (!writtenFile.isEmpty())
            QFile::remove(writtenFile);
        return written;
    } catch (const ServerLost &) {
        return enqueue(std::move(entry), {}, writtenFile);
    }
}

CaseEntry PgCaseStore::enqueue(CaseEntry entry, const QString &searchOrigin, const QString &writtenCapture)
{
    QueuedRecord record;
    record.entry = entry;
    record.origin = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.searchOrigin = searchOrigin;
    m_queue->add(record, writtenCapture);
    entry.seq = m_nextProvisional--;
    m_provisional.insert(entry.seq, record.origin);
    m_retry.start();
    Q_EMIT waitingChanged(waiting());
    return entry;
}

void PgCaseStore::sendWaiting()
{
    if (!database().isOpen()) {
        QString problem;
        if (!connectToServer(problem)) {
            // A host that drops the packets holds each try for the connect timeout: tried less
            // often the longer it stays away.
            m_retry.setInterval(std::min(m_retry.interval() * 2, kLongestRetryMs));
            return;
        }
        m_retry.setInterval(kRetryMs);
        Q_EMIT reachableChanged(true);
        listen();
        // What the others recorded while this program could not hear them.
        try {
            Q_EMIT othersAppended(head().seq);
        } catch (const CaseOpenError &) {
        }
    }
    try {
        while (m_queue && !m_queue->records().isEmpty())
            sendFirstWaiting();
        m_retry.stop();
    } catch (const ServerLost &) {
    }
    Q_EMIT waitingChanged(waiting());
}

void PgCaseStore::sendFirstWaiting()
{
    const QueuedRecord record = m_queue->records().constFirst();
    QByteArray bytes;
    if (!record.captureFile.isEmpty()) {
        QFile file(m_queue->folder() + u'/' + record.captureFile);
        if (!file.open(QIODevice::ReadOnly)) {
            m_queue->setFirstAside(CleanSystemText(file.errorString()));
            return;
        }
        bytes = file.readAll();
    }
    try {
        const CaseEntry written = write(record.entry, record.origin, record.searchOrigin,
                                        record.captureFile.isEmpty() ? nullptr : &bytes);
        m_sent.insert(record.origin, written.seq);
        m_queue->takeFirst();
        Q_EMIT waitingSent(m_provisional.key(record.origin, 0), written);
    } catch (const CaseWriteError &error) {
        m_queue->setFirstAside(error.message());
    }
}

// One entry in one transaction: the case's row locked (appends of every program wait their
// turn here), the previous hash read under the lock, the entry and its capture written, the
// head moved and the others told at commit. An origin already in the case was written by an
// earlier try whose answer was lost: it is not written twice.
CaseEntry PgCaseStore::write(CaseEntry entry, const QString &origin, const QString &searchOrigin,
                             const QByteArray *capture)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const auto check = [&](bool ok) {
        if (ok)
            return;
        const QString why = query.lastError().databaseText().trimmed();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (!isConnected()) {
            disconnectFromServer();
            throw ServerLost {why};
        }
        throw CaseWriteError(Tr::tr("The record was not written: %1").arg(why));
    };
    const auto refuse = [&](const QString &why) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw CaseWriteError(Tr::tr("The record was not written: %1").arg(why));
    };
    check(query.exec(QStringLiteral("BEGIN")));
    check(query.prepare(QStringLiteral("SELECT head_seq, head_hash FROM glenlantern.cases "
                                       "WHERE key = ? FOR UPDATE")));
    query.addBindValue(m_caseKey);
    check(query.exec());
    if (!query.next())
        refuse(Tr::tr("the case is no longer in the database"));
    entry.seq = query.value(0).toLongLong() + 1;
    entry.prevHash = query.value(1).toString();
    check(query.prepare(QStringLiteral("SELECT %1 FROM glenlantern.entries WHERE case_key = ? AND origin = ?")
                                .arg(EntryColumns())));
    query.addBindValue(m_caseKey);
    query.addBindValue(origin);
    check(query.exec());
    if (query.next()) {
        const CaseEntry earlier = EntryAt(query);
        check(query.exec(QStringLiteral("COMMIT")));
        return earlier;
    }
    if (!searchOrigin.isEmpty()) {
        check(query.prepare(QStringLiteral("SELECT seq FROM glenlantern.entries WHERE case_key = ? AND origin = ?")));
        query.addBindValue(m_caseKey);
        query.addBindValue(searchOrigin);
        check(query.exec());
        if (!query.next())
            refuse(Tr::tr("the search it belongs to was not recorded"));
        entry.searchSeq = query.value(0).toLongLong();
    }
    if (entry.kind == QLatin1StringView(kCapture) || entry.kind == QLatin1StringView(kNote)) {
        check(query.prepare(QStringLiteral("SELECT kind FROM glenlantern.entries WHERE case_key = ? AND seq = ?")));
        query.addBindValue(m_caseKey);
        query.addBindValue(entry.searchSeq);
        check(query.exec());
        if (!query.next() || query.value(0).toString() != QLatin1StringView(kSearch))
            refuse(Tr::tr("there is no search %1 in the case").arg(entry.searchSeq));
    }
    const bool stamp = entry.kind == QLatin1StringView(kStamp);
    if (capture && !stamp)
        entry.file = QStringLiteral("%1-%2.%3")
                             .arg(entry.searchSeq, 6, 10, QChar(u'0'))
                             .arg(entry.seq, 6, 10, QChar(u'0'))
                             .arg(entry.captureKind);
    entry.hash = EntryHash(entry);
    check(query.prepare(QStringLiteral("INSERT INTO glenlantern.entries (case_key, %1, origin) "
                                       "VALUES (?, %2, ?)")
                                .arg(EntryColumns(), EntryPlaceholders())));
    query.addBindValue(m_caseKey);
    BindEntry(query, entry);
    query.addBindValue(origin);
    check(query.exec());
    if (capture) {
        check(query.prepare(stamp ? QStringLiteral("INSERT INTO glenlantern.stamps VALUES (?, ?, ?)")
                                  : QStringLiteral("INSERT INTO glenlantern.captures VALUES (?, ?, ?)")));
        query.addBindValue(m_caseKey);
        query.addBindValue(stamp ? StampFileName(entry) : entry.file);
        query.addBindValue(*capture);
        check(query.exec());
    }
    check(query.prepare(QStringLiteral("UPDATE glenlantern.cases SET head_seq = ?, head_hash = ? "
                                       "WHERE key = ?")));
    query.addBindValue(entry.seq);
    query.addBindValue(entry.hash);
    query.addBindValue(m_caseKey);
    check(query.exec());
    check(query.prepare(QStringLiteral("SELECT pg_notify(?, ?)")));
    query.addBindValue(channel());
    query.addBindValue(QString::number(entry.seq));
    check(query.exec());
    check(query.exec(QStringLiteral("COMMIT")));
    return entry;
}

void PgCaseStore::read(const std::function<void(const CaseEntry &)> &visit, Order order,
                       const QString &kind) const
{
    if (!database().isOpen())
        fail(Tr::tr("the server cannot be reached"));
    QSqlQuery query(database());
    QString sql = QStringLiteral("SELECT %1 FROM glenlantern.entries WHERE case_key = ?").arg(EntryColumns());
    if (!kind.isEmpty())
        sql += QStringLiteral(" AND kind = ?");
    // Byte order, as a case folder sorts: the same export from either store.
    sql += order == Order::Sequence ? QStringLiteral(" ORDER BY seq")
                                    : QStringLiteral(" ORDER BY service COLLATE \"C\" NULLS FIRST, seq");
    if (!query.prepare(sql))
        fail(query.lastError().databaseText().trimmed());
    query.addBindValue(m_caseKey);
    if (!kind.isEmpty())
        query.addBindValue(kind);
    if (!query.exec())
        fail(query.lastError().databaseText().trimmed());
    while (query.next())
        visit(EntryAt(query));
}

ChainHead PgCaseStore::head() const
{
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("SELECT head_seq, head_hash FROM glenlantern.cases WHERE key = ?")))
        fail(query.lastError().databaseText().trimmed());
    query.addBindValue(m_caseKey);
    if (!query.exec() || !query.next())
        fail(query.lastError().databaseText().trimmed());
    return {query.value(0).toLongLong(), query.value(1).toString()};
}

void PgCaseStore::snapshot(const std::function<void()> &work) const
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

std::unique_ptr<QIODevice> PgCaseStore::openCapture(const QString &file, QString &problem) const
{
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("SELECT data FROM glenlantern.captures WHERE case_key = ? AND file = ?"))) {
        problem = query.lastError().databaseText().trimmed();
        return nullptr;
    }
    query.addBindValue(m_caseKey);
    query.addBindValue(file);
    if (!query.exec()) {
        problem = query.lastError().databaseText().trimmed();
        return nullptr;
    }
    if (!query.next()) {
        problem = Tr::tr("%1 is missing from the database").arg(file);
        return nullptr;
    }
    auto device = std::make_unique<QBuffer>();
    device->setData(query.value(0).toByteArray());
    device->open(QIODevice::ReadOnly);
    return device;
}

void PgCaseStore::createCopy(const QString &address, const CaseInfo &identity, const CopySource &source)
{
    PgCaseStore store(ParseServerAddress(address), Access::Write);
    QString problem;
    if (!store.connectToServer(problem))
        store.fail(problem);
    store.prepareSchema();
    QSqlDatabase db = store.database();
    QSqlQuery query(db);
    const auto failWith = [&](const QSqlQuery &failed) {
        const QString why = failed.lastError().databaseText().trimmed();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        store.fail(why);
    };
    const auto check = [&](bool ok) {
        if (!ok)
            failWith(query);
    };
    check(query.exec(QStringLiteral("BEGIN")));
    check(query.prepare(QStringLiteral("INSERT INTO glenlantern.cases (name, case_id, created, "
                                       "head_seq, head_hash) VALUES (?, ?, ?, 0, ?) "
                                       "ON CONFLICT (name) DO NOTHING RETURNING key")));
    for (const QString &value : {store.m_address.caseName, identity.id, identity.created,
                                 GenesisHash(identity.id, identity.created)})
        query.addBindValue(value);
    check(query.exec());
    if (!query.next()) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        store.fail(Tr::tr("the case is already in the database: a copy goes into a new case"));
    }
    const qint64 key = query.value(0).toLongLong();
    CaseEntry last;
    QSqlQuery insertEntry(db);
    QSqlQuery insertCapture(db);
    check(insertEntry.prepare(QStringLiteral("INSERT INTO glenlantern.entries (case_key, %1) VALUES (?, %2)")
                                      .arg(EntryColumns(), EntryPlaceholders())));
    check(insertCapture.prepare(QStringLiteral("INSERT INTO glenlantern.captures VALUES (?, ?, ?)")));
    QSqlQuery insertStamp(db);
    check(insertStamp.prepare(QStringLiteral("INSERT INTO glenlantern.stamps VALUES (?, ?, ?)")));
    source([&](const CaseEntry &entry, QIODevice *capture) {
        insertEntry.addBindValue(key);
        BindEntry(insertEntry, entry);
        if (!insertEntry.exec())
            failWith(insertEntry);
        if (capture && entry.kind == QLatin1StringView(kStamp)) {
            insertStamp.addBindValue(key);
            insertStamp.addBindValue(StampFileName(entry));
            insertStamp.addBindValue(capture->readAll());
            if (!insertStamp.exec())
                failWith(insertStamp);
        } else if (capture) {
            insertCapture.addBindValue(key);
            insertCapture.addBindValue(entry.file);
            insertCapture.addBindValue(capture->readAll());
            if (!insertCapture.exec())
                failWith(insertCapture);
        }
        last = entry;
    });
    if (last.seq > 0) {
        check(query.prepare(QStringLiteral("UPDATE glenlantern.cases SET head_seq = ?, head_hash = ? WHERE key = ?")));
        query.addBindValue(last.seq);
        query.addBindValue(last.hash);
        query.addBindValue(key);
        check(query.exec());
    }
    check(query.exec(QStringLiteral("COMMIT")));
}

// A stamp goes to the server at once or not at all: its answer proves the head it was asked
// for, and nothing is kept of one the server did not take.
CaseEntry PgCaseStore::appendStamp(CaseEntry entry, const QByteArray &answer)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    NormaliseTexts(entry);
    entry.author = m_author;
    if (!database().isOpen() || waiting() > 0)
        throw CaseWriteError(Tr::tr("The stamp was not recorded: the server has not taken every record yet"));
    try {
        return write(entry, QUuid::createUuid().toString(QUuid::WithoutBraces), {}, &answer);
    } catch (const ServerLost &lost) {
        throw CaseWriteError(Tr::tr("The stamp was not recorded: %1").arg(lost.reason));
    }
}

QByteArray PgCaseStore::readStamp(const CaseEntry &stamp, QString &problem) const
{
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("SELECT data FROM glenlantern.stamps WHERE case_key = ? AND file = ?"))) {
        problem = query.lastError().databaseText().trimmed();
        return {};
    }
    query.addBindValue(m_caseKey);
    query.addBindValue(StampFileName(stamp));
    if (!query.exec()) {
        problem = query.lastError().databaseText().trimmed();
        return {};
    }
    if (!query.next()) {
        problem = Tr::tr("%1 is missing from the database").arg(StampFileName(stamp));
        return {};
    }
    return query.value(0).toByteArray();
}

} // namespace Cases
