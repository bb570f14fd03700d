// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqliteCaseStore.h"

#include "EntryRows.h"
#include "FillText.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using Cases::CaseFolder;

const QString kDatabaseFile = QString::fromLatin1(CaseFolder::kDatabase);
const QString kNewDatabaseFile = QStringLiteral("case.sqlite.new");
const QString kCaptures = QString::fromLatin1(CaseFolder::kCaptures);
// SQLite's header field for the program that owns a database: "GLCS".
constexpr qint64 kSqliteApplicationId = 0x474C4353;
constexpr char kOpenOptions[] = "QSQLITE_BUSY_TIMEOUT=5000";

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("glcases-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Capture files are named by the store; a name from a record that is anything else (a path,
// a hidden file) is never opened.
bool isCaptureName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,200}$"));
    return pattern.match(name).hasMatch();
}

} // namespace

namespace Cases {

SqliteCaseStore::SqliteCaseStore(QString folder, Access access)
    : m_folder(std::move(folder)), m_access(access), m_connection(nextConnectionName()),
      m_files(m_folder)
{
    m_info.location = m_folder;
}

SqliteCaseStore::~SqliteCaseStore()
{
    disconnect();
}

void SqliteCaseStore::disconnect()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

std::unique_ptr<SqliteCaseStore> SqliteCaseStore::open(const QString &folderName, Access access)
{
    const QString folder = QDir::cleanPath(QFileInfo(folderName).absoluteFilePath());
    std::unique_ptr<SqliteCaseStore> store(new SqliteCaseStore(folder, access));
    CaseFolder &files = store->m_files;
    const bool write = access == Access::Write;
    const bool missing = !QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink();
    if (missing && !write)
        store->fail(SystemErrorText(ENOENT));
    if (const QString problem = files.open(write && missing); !problem.isEmpty())
        store->fail(problem);
    const bool create = !files.holds(kDatabaseFile);
    if (create && (!write || !files.holdsOnlyLeftovers()))
        store->fail(Tr::tr("it is not a case folder (it holds no %1)").arg(kDatabaseFile));
    if (const QString problem = files.databaseProblem(kDatabaseFile); !problem.isEmpty())
        store->fail(problem);
    if (write) {
        files.lock();
        if (create)
            store->create();
        if (const QString problem = files.openCaptures(true); !problem.isEmpty())
            store->fail(problem);
        files.removePartials();
    } else {
        files.openCaptures(false); // a case without captures reads; verify tells of a link
    }
    store->openDatabase(files.filePath(kDatabaseFile), !write);
    return store;
}

void SqliteCaseStore::fail(const QString &reason) const
{
    throw CaseOpenError(FillText(Tr::tr("Cannot open the case \"%1\": %2"), m_folder, reason));
}

void SqliteCaseStore::damaged(const QString &why) const
{
    // A full disk fails SQLite's first read (its shared-memory index cannot be made): that is
    // no damage, and the case is as it was once there is room.
    if (m_files.diskFull())
        fail(Tr::tr("there is no room left on its disk (%1)").arg(SystemErrorText(ENOSPC)));
    fail(Tr::tr("%1 is damaged or not a database (%2)").arg(kDatabaseFile, why));
}

// The database opened and its identity checked; what SQLite made beside it for an open that
// failed is removed again.
void SqliteCaseStore::openDatabase(const QString &file, bool readOnly)
{
    const QString name = QFileInfo(file).fileName();
    const QStringList before = m_files.companions(name);
    try {
        connect(file, readOnly);
        checkIdentity();
    } catch (const CaseOpenError &) {
        disconnect();
        m_files.removeNewCompanions(name, before);
        throw;
    }
}

QSqlDatabase SqliteCaseStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

void SqliteCaseStore::connect(const QString &file, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid())
        fail(QStringLiteral("Qt's SQLite driver is missing (Debian package libqt6sql6-sqlite)"));
    db.setDatabaseName(file);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;") + QLatin1StringView(kOpenOptions)
                                  : QString::fromLatin1(kOpenOptions));
    if (!db.open())
        fail(Tr::tr("%1 cannot be opened (%2)").arg(kDatabaseFile, db.lastError().databaseText()));
}

// Made whole under another name and renamed into place: a case is there complete or not at all.
// The file is made 0600 before SQLite is given it, so its log and index are made so too.
void SqliteCaseStore::create(const CopySource &source)
{
    m_files.removeWithCompanions(kNewDatabaseFile);
    if (const QString problem = m_files.createDatabase(kNewDatabaseFile); !problem.isEmpty())
        fail(Tr::tr("the case cannot be created (%1)").arg(problem));
    if (m_info.id.isEmpty()) {
        m_info.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_info.created = RecordTimeNow();
    }
    try {
        connect(m_files.filePath(kNewDatabaseFile), false);
        fillNew(source);
        disconnect();
    } catch (...) {
        disconnect();
        m_files.removeWithCompanions(kNewDatabaseFile);
        throw;
    }
    if (const QString problem = m_files.rename(kNewDatabaseFile, kDatabaseFile); !problem.isEmpty())
        fail(Tr::tr("the case cannot be created (%1)").arg(problem));
}

void SqliteCaseStore::fillNew(const CopySource &source)
{
    QString columns;
    for (const EntryField &field : EntryFields()) {
        columns += QLatin1StringView(field.name) + u' '
                + (field.number ? QStringLiteral("INTEGER") : QStringLiteral("TEXT"))
                + (field.kinds.isEmpty() ? QStringLiteral(" NOT NULL, ") : QStringLiteral(", "));
    }
    const QStringList statements = {
            QStringLiteral("PRAGMA application_id = %1").arg(kSqliteApplicationId),
            QStringLiteral("PRAGMA journal_mode = WAL"),
            QStringLiteral("BEGIN"),
            QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE entries (%1hash TEXT NOT NULL, "
                           "PRIMARY KEY (seq))").arg(columns),
            QStringLiteral("CREATE INDEX entries_search ON entries (search_seq)"),
    };
    const QList<std::pair<QString, QString>> meta = {
            {QStringLiteral("application"), QString::fromLatin1(kApplication)},
            {QStringLiteral("schema"), QString::number(kSchemaVersion)},
            {QStringLiteral("case_id"), m_info.id},
            {QStringLiteral("created"), m_info.created},
            {QStringLiteral("head_seq"), QStringLiteral("0")},
            {QStringLiteral("head_hash"), GenesisHash(m_info.id, m_info.created)},
    };
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (!ok)
            fail(Tr::tr("the case cannot be created (%1)").arg(query.lastError().databaseText()));
    };
    for (const QString &statement : statements)
        check(query.exec(statement));
    check(query.prepare(QStringLiteral("INSERT INTO meta (key, value) VALUES (?, ?)")));
    for (const auto &[key, value] : meta) {
        query.addBindValue(key);
        query.addBindValue(value);
        check(query.exec());
    }
    if (source)
        fillCopy(query, source);
    check(query.exec(QStringLiteral("COMMIT")));
}

std::unique_ptr<SqliteCaseStore> SqliteCaseStore::createCopy(const QString &folderName,
                                                            const CaseInfo &identity,
                                                            const CopySource &source)
{
    const QString folder = QDir::cleanPath(QFileInfo(folderName).absoluteFilePath());
    std::unique_ptr<SqliteCaseStore> store(new SqliteCaseStore(folder, Access::Write));
    CaseFolder &files = store->m_files;
    const bool missing = !QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink();
    if (const QString problem = files.open(missing); !problem.isEmpty())
        store->fail(problem);
    if (!files.holdsOnlyLeftovers())
        store->fail(Tr::tr("a copy goes into a new or empty folder"));
    files.lock();
    if (const QString problem = files.openCaptures(true); !problem.isEmpty())
        store->fail(problem);
    store->m_info.id = identity.id;
    store->m_info.created = identity.created;
    try {
        store->create(source);
    } catch (...) {
        files.removeCaptures();
        QDir(folder + QStringLiteral("/stamps")).removeRecursively();
        throw;
    }
    store->openDatabase(files.filePath(kDatabaseFile), false);
    return store;
}

// The entries as they are and their captures' files, inside the transaction that makes the case.
void SqliteCaseStore::fillCopy(QSqlQuery &query, const CopySource &source)
{
    const auto check = [&](bool ok) {
        if (!ok)
            fail(Tr::tr("the copy cannot be written (%1)").arg(query.lastError().databaseText()));
    };
    check(query.prepare(QStringLiteral("INSERT INTO entries (%1) VALUES (%2)")
                                .arg(EntryColumns(), EntryPlaceholders())));
    CaseEntry last;
    source([&](const CaseEntry &entry, QIODevice *capture) {
        BindEntry(query, entry);
        check(query.exec());
        if (capture && entry.kind == QLatin1StringView(kStamp)) {
            writeCopiedStamp(entry, capture->readAll());
        } else if (capture) {
            if (!isCaptureName(entry.file))
                fail(Tr::tr("\"%1\" is not a file name of %2/").arg(entry.file, kCaptures));
            if (const QString problem = m_files.writeCapture(entry.file, *capture); !problem.isEmpty())
                fail(problem);
        }
        last = entry;
    });
    if (last.seq == 0)
        return;
    check(query.prepare(QStringLiteral("UPDATE meta SET value = ? WHERE key = ?")));
    for (const auto &[key, value] : {std::pair(u"head_seq", QString::number(last.seq)),
                                     std::pair(u"head_hash", last.hash)}) {
        query.addBindValue(value);
        query.addBindValue(QString::fromUtf16(key));
        check(query.exec());
    }
}

// A database of another program reads soundly and names no case of this program; one that does
// not read soundly, is empty or names this program but lacks its tables is damaged.
void SqliteCaseStore::checkIdentity()
{
    QSqlQuery query(database());
    const QString foreign = Tr::tr("%1 is another program's database, not a Glen Lantern case")
                                    .arg(kDatabaseFile);
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        damaged(query.lastError().databaseText());
    const bool ours = query.value(0).toLongLong() == kSqliteApplicationId;
    if (!query.exec(QStringLiteral("PRAGMA page_count")) || !query.next())
        damaged(query.lastError().databaseText());
    if (query.value(0).toLongLong() == 0)
        damaged(Tr::tr("it is empty"));
    // Read through the page cache's map rather than a system call per page: verify and the
    // exports read the whole file.
    query.exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        damaged(query.lastError().databaseText());
    if (query.value(0).toString() != u"ok")
        damaged(query.value(0).toString());
    if (!ours)
        fail(foreign);
    if (!query.exec(QStringLiteral("SELECT key, value FROM meta")))
        damaged(query.lastError().databaseText());
    QHash<QString, QString> meta;
    while (query.next())
        meta.insert(query.value(0).toString(), query.value(1).toString());
    if (meta.value(QStringLiteral("application")) != QLatin1StringView(kApplication))
        damaged(Tr::tr("its identity is incomplete"));
    bool ok = false;
    m_info.schema = meta.value(QStringLiteral("schema")).toInt(&ok);
    if (ok && m_info.schema > kSchemaVersion)
        fail(FillText(Tr::tr("it was written by a newer version of Glen Lantern (record version %1; "
                             "this version reads up to %2)"),
                      m_info.schema, kSchemaVersion));
    m_info.id = meta.value(QStringLiteral("case_id"));
    m_info.created = meta.value(QStringLiteral("created"));
    if (!ok || m_info.schema < 1 || m_info.id.isEmpty() || m_info.created.isEmpty())
        damaged(Tr::tr("its identity is incomplete"));
    if (!query.exec(QStringLiteral("SELECT %1 FROM entries LIMIT 1").arg(EntryColumns(m_info.schema))))
        damaged(query.lastError().databaseText());
    if (m_access == Access::Write) {
        if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL"))
            || !query.exec(QStringLiteral("PRAGMA synchronous = NORMAL")))
            damaged(query.lastError().databaseText());
        if (m_info.schema < kSchemaVersion)
            upgrade();
    }
}

// A case of an older version opened for writing gets the columns the later versions added; its
// entries keep their hashes, the new columns NULL where they were not known.
void SqliteCaseStore::upgrade()
{
    QSqlQuery query(database());
    const auto check = [&](bool ok) {
        if (ok)
            return;
        const QString why = query.lastError().databaseText();
        query.exec(QStringLiteral("ROLLBACK"));
        throw CaseReadOnlyError(Tr::tr("Cannot open the case \"%1\" for writing: its record of "
                                       "version %2 cannot be brought up to date (%3)")
                                        .arg(m_folder)
                                        .arg(m_info.schema)
                                        .arg(why));
    };
    check(query.exec(QStringLiteral("BEGIN IMMEDIATE")));
    for (const EntryField &field : EntryFields()) {
        if (field.since > m_info.schema)
            check(query.exec(QStringLiteral("ALTER TABLE entries ADD COLUMN %1 %2")
                                     .arg(QLatin1StringView(field.name),
                                          field.number ? QStringLiteral("INTEGER") : QStringLiteral("TEXT"))));
    }
    check(query.exec(QStringLiteral("UPDATE meta SET value = '%1' WHERE key = 'schema'").arg(kSchemaVersion)));
    check(query.exec(QStringLiteral("COMMIT")));
    m_info.schema = kSchemaVersion;
}

QString SqliteCaseStore::integrityProblem() const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return query.lastError().databaseText();
    const QString result = query.value(0).toString();
    return result == u"ok" ? QString() : result;
}

QString SqliteCaseStore::scratchPath(const QString &extension) const
{
    return FillText(QStringLiteral("%1/.partial-%2.%3"), m_files.capturesPath(),
                    QUuid::createUuid().toString(QUuid::WithoutBraces), extension);
}

QString SqliteCaseStore::captureName(const CaseEntry &entry) const
{
    QString stamp = entry.time;
    stamp.remove(u'-').remove(u':');
    const QString stem = QStringLiteral("%1-").arg(entry.searchSeq, 6, 10, QChar(u'0')) + stamp;
    QString name = stem + u'.' + entry.captureKind;
    for (int n = 2; m_files.holdsCapture(name); ++n)
        name = FillText(QStringLiteral("%1-%2.%3"), stem, n, entry.captureKind);
    return name;
}

CaseEntry SqliteCaseStore::append(CaseEntry entry)
{
    return appendInTransaction(std::move(entry), {});
}

CaseEntry SqliteCaseStore::appendCapture(CaseEntry entry, const QString &writtenFile)
{
    const QFileInfo written(writtenFile);
    if (written.absolutePath() != m_files.capturesPath())
        throw CaseWriteError(Tr::tr("The capture was not recorded: it was not written in the case's folder"));
    const QString scratch = written.fileName();
    QString taken;
    try {
        return appendInTransaction(std::move(entry), [&](CaseEntry &added) {
            added.file = captureName(added);
            if (const QString problem = m_files.takeCapture(scratch, added.file); !problem.isEmpty())
                throw CaseWriteError(Tr::tr("The capture was not recorded: %1").arg(problem));
            taken = added.file;
        });
    } catch (const CaseWriteError &) {
        if (!taken.isEmpty())
            (void)m_files.renameCapture(taken, scratch);
        throw;
    }
}

CaseEntry SqliteCaseStore::appendInTransaction(CaseEntry entry,
                                               const std::function<void(CaseEntry &)> &prepare)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    NormaliseTexts(entry);
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const auto failed = [&](const QString &why) {
        throw CaseWriteError(Tr::tr("The record was not written: %1").arg(why));
    };
    const auto check = [&](bool ok) {
        if (!ok)
            failed(query.lastError().databaseText());
    };
    check(query.exec(QStringLiteral("BEGIN IMMEDIATE")));
    try {
        check(query.exec(QStringLiteral("SELECT seq, hash FROM entries ORDER BY seq DESC LIMIT 1")));
        const bool first = !query.next();
        entry.seq = first ? 1 : query.value(0).toLongLong() + 1;
        entry.prevHash = first ? GenesisHash(m_info.id, m_info.created) : query.value(1).toString();
        if (entry.kind == QLatin1StringView(kCapture) || entry.kind == QLatin1StringView(kNote)) {
            check(query.prepare(QStringLiteral("SELECT kind FROM entries WHERE seq = ?")));
            query.addBindValue(entry.searchSeq);
            check(query.exec());
            if (!query.next() || query.value(0).toString() != QLatin1StringView(kSearch))
                failed(Tr::tr("there is no search %1 in the case").arg(entry.searchSeq));
        }
        if (prepare)
            prepare(entry);
        entry.hash = EntryHash(entry);
        check(query.prepare(QStringLiteral("INSERT INTO entries (%1) VALUES (%2)")
                                    .arg(EntryColumns(), EntryPlaceholders())));
        BindEntry(query, entry);
        check(query.exec());
        check(query.prepare(QStringLiteral("UPDATE meta SET value = ? WHERE key = ?")));
        for (const auto &[key, value] : {std::pair(u"head_seq", QString::number(entry.seq)),
                                         std::pair(u"head_hash", entry.hash)}) {
            query.addBindValue(value);
            query.addBindValue(QString::fromUtf16(key));
            check(query.exec());
        }
        check(query.exec(QStringLiteral("COMMIT")));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    return entry;
}

void SqliteCaseStore::read(const std::function<void(const CaseEntry &)> &visit, Order order,
                           const QString &kind) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT %1 FROM entries").arg(EntryColumns(m_info.schema));
    if (!kind.isEmpty())
        sql += QStringLiteral(" WHERE kind = ?");
    sql += order == Order::Sequence ? QStringLiteral(" ORDER BY seq")
                                    : QStringLiteral(" ORDER BY service, seq");
    if (!query.prepare(sql))
        fail(query.lastError().databaseText());
    if (!kind.isEmpty())
        query.addBindValue(kind);
    if (!query.exec())
        fail(query.lastError().databaseText());
    while (query.next())
        visit(EntryAt(query));
    if (query.lastError().isValid())
        fail(query.lastError().databaseText());
}

ChainHead SqliteCaseStore::head() const
{
    QSqlQuery query(database());
    ChainHead head;
    if (!query.exec(QStringLiteral("SELECT key, value FROM meta WHERE key LIKE 'head_%'")))
        fail(query.lastError().databaseText());
    while (query.next()) {
        if (query.value(0).toString() == u"head_seq")
            head.seq = query.value(1).toLongLong();
        else if (query.value(0).toString() == u"head_hash")
            head.hash = query.value(1).toString();
    }
    return head;
}

void SqliteCaseStore::snapshot(const std::function<void()> &work) const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("BEGIN")))
        fail(query.lastError().databaseText());
    try {
        work();
    } catch (...) {
        query.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    query.exec(QStringLiteral("COMMIT"));
}

std::unique_ptr<QIODevice> SqliteCaseStore::openCapture(const QString &file, QString &problem) const
{
    if (!isCaptureName(file)) {
        problem = Tr::tr("\"%1\" is not a file name of %2/").arg(file, kCaptures);
        return nullptr;
    }
    return m_files.openCapture(file, problem);
}

} // namespace Cases
