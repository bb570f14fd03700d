// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqliteCaseStore.h"

#include "EntryRows.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

constexpr char kDatabaseFile[] = "case.sqlite";
constexpr char kLockFile[] = "case.lock";
constexpr char kCaptures[] = "captures";
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

// What a folder may hold and still be taken as empty: the leftovers of a creation that did not
// finish.
bool holdsOnlyLeftovers(const QString &folder)
{
    const QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString name = info.fileName();
        if (name == QLatin1StringView(kLockFile) || name.startsWith(u"case.sqlite.new"))
            continue;
        if (name == QLatin1StringView(kCaptures) && info.isDir()
            && QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            continue;
        return false;
    }
    return true;
}

} // namespace

namespace Cases {

SqliteCaseStore::SqliteCaseStore(QString folder, Access access)
    : m_folder(std::move(folder)), m_access(access), m_connection(nextConnectionName())
{
    m_info.location = m_folder;
}

SqliteCaseStore::~SqliteCaseStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    if (m_lockFd >= 0)
        ::close(m_lockFd); // the system lets go of the lock with the descriptor
}

std::unique_ptr<SqliteCaseStore> SqliteCaseStore::open(const QString &folderName, Access access)
{
    const QString folder = QDir::cleanPath(QFileInfo(folderName).absoluteFilePath());
    std::unique_ptr<SqliteCaseStore> store(new SqliteCaseStore(folder, access));
    const QFileInfo info(folder);
    const QString file = folder + u'/' + QLatin1StringView(kDatabaseFile);
    bool create = false;
    if (!info.exists()) {
        if (access == Access::ReadOnly)
            store->fail(SystemErrorText(ENOENT));
        create = true;
    } else if (!info.isDir()) {
        store->fail(Tr::tr("it is not a folder"));
    } else if (!QFileInfo::exists(file)) {
        if (access == Access::ReadOnly || !holdsOnlyLeftovers(folder))
            store->fail(Tr::tr("it is not a case folder (it holds no %1)")
                                .arg(QLatin1StringView(kDatabaseFile)));
        create = true;
    }
    if (access == Access::Write) {
        store->lock();
        if (create)
            store->create();
        // Captures a program was writing when it ended: nothing records them.
        const QDir captures(folder + u'/' + QLatin1StringView(kCaptures));
        for (const QString &name : captures.entryList({QStringLiteral(".partial-*")}, QDir::Files | QDir::Hidden))
            QFile::remove(captures.filePath(name));
    }
    store->connect(file, access == Access::ReadOnly);
    store->checkIdentity();
    return store;
}

void SqliteCaseStore::fail(const QString &reason) const
{
    throw CaseOpenError(Tr::tr("Cannot open the case \"%1\": %2").arg(m_folder, reason));
}

// An advisory lock of the system on case.lock: it ends with the process however the process
// ends, so a program killed while it recorded leaves no lock behind to guess about.
void SqliteCaseStore::lock()
{
    if (!QDir().mkpath(m_folder))
        fail(Tr::tr("the folder cannot be created"));
    const QString path = m_folder + u'/' + QLatin1StringView(kLockFile);
    m_lockFd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_lockFd < 0) {
        const int error = errno;
        throw CaseReadOnlyError(Tr::tr("Cannot open the case \"%1\" for writing: %2")
                                        .arg(m_folder, SystemErrorText(error)));
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        char text[256] = {};
        const ssize_t got = ::pread(m_lockFd, text, sizeof text - 1, 0);
        const QStringList holder = QString::fromUtf8(text, got > 0 ? got : 0).split(u'\n');
        const qint64 pid = holder.value(0).toLongLong();
        const QString host = holder.value(1);
        ::close(m_lockFd);
        m_lockFd = -1;
        throw CaseLockedError(Tr::tr("The case \"%1\" is open in another program (process %2 "
                                     "on %3): it is not written to here")
                                      .arg(m_folder, QString::number(pid), host),
                              pid, host);
    }
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + '\n'
            + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(m_lockFd, 0) != 0
        || ::pwrite(m_lockFd, holder.constData(), size_t(holder.size()), 0) != holder.size()) {
        // Who holds it is only told to others; the lock itself holds.
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
        fail(Tr::tr("%1 cannot be opened (%2)")
                     .arg(QLatin1StringView(kDatabaseFile), db.lastError().databaseText()));
}

// Made whole under another name and renamed into place: a case is there complete or not at all.
void SqliteCaseStore::create(const CopySource &source)
{
    const QString temporary = m_folder + QStringLiteral("/case.sqlite.new");
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(temporary + QLatin1StringView(suffix));
    if (m_info.id.isEmpty()) {
        m_info.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_info.created = RecordTimeNow();
    }
    QString columns;
    for (const EntryField &field : EntryFields()) {
        columns += QStringLiteral("%1 %2%3, ")
                           .arg(QLatin1StringView(field.name),
                                field.number ? QStringLiteral("INTEGER") : QStringLiteral("TEXT"),
                                field.kinds.isEmpty() ? QStringLiteral(" NOT NULL") : QString());
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
    connect(temporary, false);
    {
        QSqlDatabase db = database();
        QSqlQuery query(db);
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
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    const QString file = m_folder + u'/' + QLatin1StringView(kDatabaseFile);
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(file).constData()) != 0)
        fail(Tr::tr("the case cannot be created (%1)").arg(SystemErrorText(errno)));
    QDir(m_folder).mkpath(QLatin1StringView(kCaptures));
}

std::unique_ptr<SqliteCaseStore> SqliteCaseStore::createCopy(const QString &folderName,
                                                            const CaseInfo &identity,
                                                            const CopySource &source)
{
    const QString folder = QDir::cleanPath(QFileInfo(folderName).absoluteFilePath());
    std::unique_ptr<SqliteCaseStore> store(new SqliteCaseStore(folder, Access::Write));
    if (QFileInfo::exists(folder) && (!QFileInfo(folder).isDir() || !holdsOnlyLeftovers(folder)))
        store->fail(Tr::tr("a copy goes into a new or empty folder"));
    store->lock();
    store->m_info.id = identity.id;
    store->m_info.created = identity.created;
    try {
        store->create(source);
    } catch (...) {
        QDir(folder + u'/' + QLatin1StringView(kCaptures)).removeRecursively();
        throw;
    }
    store->connect(folder + u'/' + QLatin1StringView(kDatabaseFile), false);
    store->checkIdentity();
    return store;
}

// The entries as they are and their captures' files, inside the transaction that makes the case.
void SqliteCaseStore::fillCopy(QSqlQuery &query, const CopySource &source)
{
    const auto check = [&](bool ok) {
        if (!ok)
            fail(Tr::tr("the copy cannot be written (%1)").arg(query.lastError().databaseText()));
    };
    const QString captures = m_folder + u'/' + QLatin1StringView(kCaptures) + u'/';
    QDir().mkpath(captures);
    check(query.prepare(QStringLiteral("INSERT INTO entries (%1) VALUES (%2)")
                                .arg(EntryColumns(), EntryPlaceholders())));
    CaseEntry last;
    source([&](const CaseEntry &entry, QIODevice *capture) {
        BindEntry(query, entry);
        check(query.exec());
        if (capture) {
            if (!isCaptureName(entry.file))
                fail(Tr::tr("\"%1\" is not a file name of %2/").arg(entry.file, QLatin1StringView(kCaptures)));
            QFile file(captures + entry.file);
            const QByteArray bytes = capture->readAll();
            if (!file.open(QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
                fail(Tr::tr("%1 cannot be written (%2)").arg(file.fileName(), CleanSystemText(file.errorString())));
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

void SqliteCaseStore::checkIdentity()
{
    QSqlQuery query(database());
    const auto damaged = [&](const QString &why) {
        fail(Tr::tr("%1 is damaged or not a database (%2)").arg(QLatin1StringView(kDatabaseFile), why));
    };
    const QString foreign = Tr::tr("%1 is another program's database, not a Glen Lantern case")
                                    .arg(QLatin1StringView(kDatabaseFile));
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        damaged(query.lastError().databaseText());
    if (query.value(0).toLongLong() != kSqliteApplicationId)
        fail(foreign);
    if (!query.exec(QStringLiteral("SELECT key, value FROM meta")))
        fail(foreign);
    QHash<QString, QString> meta;
    while (query.next())
        meta.insert(query.value(0).toString(), query.value(1).toString());
    if (meta.value(QStringLiteral("application")) != QLatin1StringView(kApplication))
        fail(foreign);
    bool ok = false;
    m_info.schema = meta.value(QStringLiteral("schema")).toInt(&ok);
    if (ok && m_info.schema > kSchemaVersion)
        fail(Tr::tr("it was written by a newer version of Glen Lantern (record version %1; "
                    "this version reads up to %2)")
                     .arg(m_info.schema)
                     .arg(kSchemaVersion));
    m_info.id = meta.value(QStringLiteral("case_id"));
    m_info.created = meta.value(QStringLiteral("created"));
    if (!ok || m_info.schema < 1 || m_info.id.isEmpty() || m_info.created.isEmpty())
        damaged(Tr::tr("its identity is incomplete"));
    // Read through the page cache's map rather than a system call per page: verify and the
    // exports read the whole file.
    query.exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        damaged(query.lastError().databaseText());
    if (query.value(0).toString() != u"ok")
        damaged(query.value(0).toString());
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
    const QString folder = m_folder + u'/' + QLatin1StringView(kCaptures);
    QDir().mkpath(folder);
    return QStringLiteral("%1/.partial-%2.%3")
            .arg(folder, QUuid::createUuid().toString(QUuid::WithoutBraces), extension);
}

QString SqliteCaseStore::captureName(const CaseEntry &entry) const
{
    QString stamp = entry.time;
    stamp.remove(u'-').remove(u':');
    const QString stem = QStringLiteral("%1-%2").arg(entry.searchSeq, 6, 10, QChar(u'0')).arg(stamp);
    const QString folder = m_folder + u'/' + QLatin1StringView(kCaptures) + u'/';
    QString name = stem + u'.' + entry.captureKind;
    for (int n = 2; QFileInfo::exists(folder + name); ++n)
        name = QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(entry.captureKind);
    return name;
}

CaseEntry SqliteCaseStore::append(CaseEntry entry)
{
    return appendInTransaction(std::move(entry), {});
}

CaseEntry SqliteCaseStore::appendCapture(CaseEntry entry, const QString &writtenFile)
{
    QString target;
    const QByteArray from = QFile::encodeName(writtenFile);
    try {
        return appendInTransaction(std::move(entry), [&](CaseEntry &written) {
            written.file = captureName(written);
            target = m_folder + u'/' + QLatin1StringView(kCaptures) + u'/' + written.file;
            if (::rename(from.constData(), QFile::encodeName(target).constData()) != 0) {
                const int error = errno;
                target.clear();
                throw CaseWriteError(Tr::tr("The capture was not recorded: %1").arg(SystemErrorText(error)));
            }
        });
    } catch (const CaseWriteError &) {
        if (!target.isEmpty())
            (void)::rename(QFile::encodeName(target).constData(), from.constData());
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
        if (entry.kind != QLatin1StringView(kSearch)) {
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
        problem = Tr::tr("\"%1\" is not a file name of %2/").arg(file, QLatin1StringView(kCaptures));
        return nullptr;
    }
    const QString path = m_folder + u'/' + QLatin1StringView(kCaptures) + u'/' + file;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        problem = Tr::tr("%1/%2 is missing").arg(QLatin1StringView(kCaptures), file);
    else if (info.isSymLink() || !info.isFile())
        problem = Tr::tr("%1/%2 is not a regular file").arg(QLatin1StringView(kCaptures), file);
    if (!problem.isEmpty())
        return nullptr;
    auto device = std::make_unique<QFile>(path);
    if (!device->open(QIODevice::ReadOnly)) {
        problem = Tr::tr("%1/%2 cannot be read (%3)")
                          .arg(QLatin1StringView(kCaptures), file, CleanSystemText(device->errorString()));
        return nullptr;
    }
    return device;
}

} // namespace Cases
