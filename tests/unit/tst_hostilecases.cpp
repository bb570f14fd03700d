// SPDX-License-Identifier: GPL-3.0-or-later
// Case folders as someone else may hand them over (links out of the folder, a pipe for the
// database, an empty or scrambled database, a full disk) and records appended through SQL with a
// right hash and a forged field: each refused with its reason, nothing outside the case written.
// Names are printed as they are, and what the program writes for a case is the user's alone.
#include "Case.h"
#include "CaseCommands.h"
#include "CaseVerify.h"
#include "PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Cases;

namespace {

// A name a chain of QString::arg calls once mangled.
const QString kCaseName = QStringLiteral("rates_50%25_%3B");

// 1 search, 2 its MHTML, 3 search, 4 a note on 3, 5 search, 6 its PNG, 7 search.
void fill(const QString &folder)
{
    const auto target = Case::openFolder(folder, Case::Access::Write);
    const auto capture = [&](qint64 seq, const char *kind) {
        const QString path = target->captureScratchPath(QString::fromLatin1(kind));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("page bytes ") == 11);
        file.close();
        target->recordCapture(seq, QString::fromLatin1(kind), path);
    };
    const auto search = [&](const char *term) {
        CaseEntry entry;
        entry.service = QStringLiteral("Web");
        entry.term = QString::fromLatin1(term);
        entry.outcome = QString::fromLatin1(kLoaded);
        entry.startedBy = QString::fromLatin1(StartedBy::kClick);
        return target->appendSearch(entry).seq;
    };
    capture(search("a"), kMhtml);
    target->appendNote(search("b"), QStringLiteral("n"));
    capture(search("c"), kPng);
    search("d");
}

// What anyone with sqlite3 can do to the file.
void runSql(const QString &folder, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(folder + QStringLiteral("/case.sqlite"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement + query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

// The chain made right again after an edit, as one who knows how it is made would.
void rechain(const QString &folder)
{
    QList<CaseEntry> entries;
    {
        const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly);
        store->read([&](const CaseEntry &e) { entries.append(e); });
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rechain"));
    {
        db.setDatabaseName(folder + QStringLiteral("/case.sqlite"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT key, value FROM meta")));
        QHash<QString, QString> meta;
        while (query.next())
            meta.insert(query.value(0).toString(), query.value(1).toString());
        QString previous = GenesisHash(meta.value(QStringLiteral("case_id")), meta.value(QStringLiteral("created")));
        for (CaseEntry &entry : entries) {
            entry.prevHash = previous;
            previous = entry.hash = EntryHash(entry);
            QVERIFY(query.prepare(QStringLiteral("UPDATE entries SET prev_hash = ?, hash = ? WHERE seq = ?")));
            query.addBindValue(entry.prevHash);
            query.addBindValue(entry.hash);
            query.addBindValue(entry.seq);
            QVERIFY(query.exec());
        }
        QVERIFY(query.prepare(QStringLiteral("UPDATE meta SET value = ? WHERE key = 'head_hash'")));
        query.addBindValue(previous);
        QVERIFY(query.exec());
        db.close();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("rechain"));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

int modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// A tmpfs of its own, so that a full disk is this test's alone; only root may mount one.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &where) : m_where(where)
    {
        m_mounted = ::geteuid() == 0
                && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=2m"), QStringLiteral("tmpfs"), where}) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_where});
    }
    bool mounted() const { return m_mounted; }
    // Fills what is left of it; false when the disk took more than it has.
    bool fill() const
    {
        QFile file(m_where + QStringLiteral("/filler"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'f');
        for (int i = 0; i < 4096; ++i) {
            if (file.write(block) != block.size() || !file.flush())
                return true;
        }
        return false;
    }
    void empty() const { QFile::remove(m_where + QStringLiteral("/filler")); }

private:
    QString m_where;
    bool m_mounted = false;
};

} // namespace

class TestHostileCases : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileFolderIsRefused_data();
    void hostileFolderIsRefused();
    void fullDiskChangesNothing();
    void forgedFieldIsRefused_data();
    void forgedFieldIsRefused();
    void namesArePrintedAsTheyAre_data();
    void namesArePrintedAsTheyAre();
    void caseFilesArePrivate();
};

void TestHostileCases::hostileFolderIsRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("writeError"); // opened for writing (the window, --matrix --case)
    QTest::addColumn<int>("verifyStatus");
    QTest::addColumn<QString>("verifyText");
    QTest::addColumn<int>("readStatus"); // --export-case (a WARC, with the captures) and --copy-case
    // clang-format off
    QTest::newRow("lock links out") << "lock link" << "case.lock is a symbolic link, not a regular file" << 1 << "case.lock is a symbolic link" << 0;
    QTest::newRow("only a lock that links out") << "lock link, no case" << "case.lock is a symbolic link, not a regular file" << 2 << "it is not a case folder" << 2;
    QTest::newRow("lock is a pipe") << "lock pipe" << "case.lock is a named pipe, not a regular file" << 1 << "case.lock is a named pipe" << 0;
    QTest::newRow("lock has another name") << "lock hard link" << "case.lock has other names (hard links)" << 0 << "holds: 7 records" << 0;
    QTest::newRow("captures links out") << "captures link" << "captures is a symbolic link, not a folder" << 1 << "does not hold: captures is a symbolic link, not a folder" << 1;
    QTest::newRow("a capture links out") << "capture link" << "" << 1 << "captures/000001-" << 1;
    QTest::newRow("database is a pipe") << "database pipe" << "case.sqlite is a named pipe, not a regular file" << 2 << "case.sqlite is a named pipe, not a regular file" << 2;
    QTest::newRow("database links out") << "database link" << "case.sqlite is a symbolic link, not a regular file" << 2 << "case.sqlite is a symbolic link" << 2;
    QTest::newRow("log links out") << "log link" << "case.sqlite-wal is a symbolic link, not a regular file" << 2 << "case.sqlite-wal is a symbolic link" << 2;
    QTest::newRow("database empty") << "database empty" << "case.sqlite is damaged or not a database (it is empty)" << 2 << "case.sqlite is damaged or not a database (it is empty)" << 2;
    QTest::newRow("database scrambled") << "database scrambled" << "case.sqlite is damaged or not a database" << 2 << "case.sqlite is damaged or not a database" << 2;
    // clang-format on
}

void TestHostileCases::hostileFolderIsRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, writeError);
    QFETCH(int, verifyStatus);
    QFETCH(QString, verifyText);
    QFETCH(int, readStatus);
    QTemporaryDir dir;
    const QString folder = dir.filePath(kCaseName);
    const QString outside = dir.filePath(QStringLiteral("outside"));
    const QString precious = outside + QStringLiteral("/precious");
    QVERIFY(QDir().mkpath(outside));
    {
        QFile file(precious);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("precious\n") == 9);
    }
    if (setup.endsWith(u"no case"))
        QVERIFY(QDir().mkpath(folder));
    else
        fill(folder);
    const QString in = folder + u'/';
    const QString capture = QDir(folder + QStringLiteral("/captures")).entryList(QDir::Files, QDir::Name).value(0);
    const QByteArray bytes = readAll(in + QStringLiteral("case.sqlite"));
    if (setup.startsWith(u"lock link"))
        QVERIFY((QFile::remove(in + QStringLiteral("case.lock")) || setup.endsWith(u"no case")) && QFile::link(precious, in + QStringLiteral("case.lock")));
    else if (setup == u"lock pipe")
        QVERIFY(QFile::remove(in + QStringLiteral("case.lock")) && ::mkfifo(QFile::encodeName(in + QStringLiteral("case.lock")).constData(), 0600) == 0);
    else if (setup == u"lock hard link")
        QVERIFY(QFile::remove(in + QStringLiteral("case.lock")) && ::link(QFile::encodeName(precious).constData(), QFile::encodeName(in + QStringLiteral("case.lock")).constData()) == 0);
    else if (setup == u"captures link") {
        QVERIFY(QDir().rename(in + QStringLiteral("captures"), outside + QStringLiteral("/captures")));
        QVERIFY(QFile(outside + QStringLiteral("/captures/.partial-keep.png")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(outside + QStringLiteral("/captures"), in + QStringLiteral("captures")));
    } else if (setup == u"capture link") {
        QVERIFY(QFile::rename(in + QStringLiteral("captures/") + capture, outside + u'/' + capture));
        QVERIFY(QFile::link(outside + u'/' + capture, in + QStringLiteral("captures/") + capture));
    } else if (setup == u"database pipe")
        QVERIFY(QFile::remove(in + QStringLiteral("case.sqlite")) && ::mkfifo(QFile::encodeName(in + QStringLiteral("case.sqlite")).constData(), 0600) == 0);
    else if (setup == u"database link")
        QVERIFY(QFile::rename(in + QStringLiteral("case.sqlite"), outside + QStringLiteral("/case.sqlite")) && QFile::link(outside + QStringLiteral("/case.sqlite"), in + QStringLiteral("case.sqlite")));
    else if (setup == u"log link")
        QVERIFY(QFile::link(precious, in + QStringLiteral("case.sqlite-wal")));
    else if (setup.startsWith(u"database")) {
        // Scrambled: SQLite's header kept, every page after it noise.
        QByteArray scrambled = setup.endsWith(u"scrambled") ? bytes.left(100) : QByteArray();
        QRandomGenerator random(42);
        while (!scrambled.isEmpty() && scrambled.size() < bytes.size())
            scrambled += char(random.bounded(256));
        QFile file(in + QStringLiteral("case.sqlite"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(scrambled) == scrambled.size());
    }
    const auto outsideNow = [&] { return QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(u' ') + readAll(precious) + QString::number(modeOf(precious), 8); };
    const QString before = outsideNow();
    const auto inside = [&] { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name); };
    const QStringList insideBefore = inside();

    try {
        Case::openFolder(folder, Case::Access::Write);
        QVERIFY2(writeError.isEmpty(), "opened for writing");
    } catch (const CaseOpenError &error) {
        QVERIFY2(!writeError.isEmpty() && error.message().contains(writeError), qPrintable(error.message()));
        QVERIFY2(error.message().contains(u'"' + folder + u'"'), qPrintable(error.message()));
        QCOMPARE(inside(), insideBefore); // a refused open leaves the folder as it found it
    }
    const CaseJobOutput verified = RunVerifyCaseJob(folder);
    const QString said = (verified.out + verified.errors).join(u'\n');
    QCOMPARE(verified.status, verifyStatus);
    QVERIFY2(said.contains(verifyText) && said.contains(u'"' + folder + u'"'), qPrintable(said));
    QCOMPARE(RunExportCaseJob(folder, QStringLiteral("warc"), dir.filePath(QStringLiteral("out.warc.gz"))).status, readStatus);
    QCOMPARE(RunCopyCaseJob(folder, dir.filePath(QStringLiteral("copy"))).status, readStatus);
    QCOMPARE(outsideNow(), before);
}

// No room on the disk when the case is opened: the message says so, nothing is left behind, and
// once there is room again verify says what it said before.
void TestHostileCases::fullDiskChangesNothing()
{
    QTemporaryDir dir;
    SmallDisk disk(dir.path());
    if (!disk.mounted())
        QSKIP("a full disk needs a tmpfs of the test's own, which only root can mount");
    const QString folder = dir.filePath(kCaseName);
    fill(folder);
    const CaseJobOutput before = RunVerifyCaseJob(folder);
    QCOMPARE(before.status, 0);
    // A case as a program leaves it when it ends: no log, no index.
    for (const char *suffix : {"-wal", "-shm"})
        QFile::remove(folder + QStringLiteral("/case.sqlite") + QLatin1StringView(suffix));
    const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    QVERIFY(disk.fill());
    for (int round = 0; round < 2; ++round) {
        const CaseJobOutput full = RunVerifyCaseJob(folder);
        QCOMPARE(full.status, 2);
        QVERIFY2(full.errors.join(u'\n').contains(QStringLiteral("there is no room left on its disk (No space left on device)")), qPrintable(full.errors.join(u'\n')));
        QVERIFY_THROWS_EXCEPTION(CaseOpenError, Case::openFolder(folder, Case::Access::Write));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), files);
    }
    disk.empty();
    const CaseJobOutput after = RunVerifyCaseJob(folder);
    QCOMPARE(after.out, before.out);
    QCOMPARE(after.status, 0);
}

void TestHostileCases::forgedFieldIsRefused_data()
{
    QTest::addColumn<QString>("statement"); // then the chain is made right again
    QTest::addColumn<QString>("expected");
    const QString crlf = QStringLiteral(" || char(13, 10) || 'WARC-Type: response'");
    // clang-format off
    QTest::newRow("untouched") << "" << "";
    QTest::newRow("time with a forged header") << "UPDATE entries SET time = time" + crlf + " WHERE seq = 3" << "record 3's time is not a UTC time in the form records hold";
    QTest::newRow("time in another zone") << "UPDATE entries SET time = '2024-05-01T11:30:00.125+02:00' WHERE seq = 3" << "record 3's time is not a UTC time";
    QTest::newRow("time without milliseconds") << "UPDATE entries SET time = '2024-05-01T09:30:00Z' WHERE seq = 1" << "record 1's time is not a UTC time";
    QTest::newRow("time that never was") << "UPDATE entries SET time = '2024-02-30T09:30:00.125Z' WHERE seq = 7" << "record 7's time is not a UTC time";
    QTest::newRow("author with a forged header") << "UPDATE entries SET author = author" + crlf + " WHERE seq = 4" << "record 4's author holds a control character";
    QTest::newRow("kind outside the list") << "UPDATE entries SET kind = 'Search' WHERE seq = 7" << "record 7 is of an unknown kind";
    QTest::newRow("outcome outside the list") << "UPDATE entries SET outcome = 'found' WHERE seq = 5" << "record 5's outcome is none of the outcomes a search has";
    QTest::newRow("started_by with a line break") << "UPDATE entries SET started_by = 'click' || char(10) WHERE seq = 5" << "record 5's started_by holds a control character";
    QTest::newRow("verdict with a forged header") << "UPDATE entries SET verdict = 'found'" + crlf + " WHERE seq = 5" << "record 5's verdict is none of the verdicts";
    QTest::newRow("text hash that is no hash") << "UPDATE entries SET text_sha256 = 'zz' WHERE seq = 5" << "record 5's text_sha256 is not 64 lowercase hex digits";
    QTest::newRow("capture kind outside the list") << "UPDATE entries SET capture_kind = 'exe' WHERE seq = 2" << "record 2's capture_kind is none of the kinds of capture";
    QTest::newRow("sha256 in capitals") << "UPDATE entries SET sha256 = upper(sha256) WHERE seq = 6" << "record 6's sha256 is not 64 lowercase hex digits";
    QTest::newRow("sha256 too short") << "UPDATE entries SET sha256 = substr(sha256, 2) WHERE seq = 2" << "record 2's sha256 is not 64 lowercase hex digits";
    QTest::newRow("size below 0") << "UPDATE entries SET size = -11 WHERE seq = 2" << "record 2's size is below 0";
    QTest::newRow("capture without its file") << "UPDATE entries SET file = '' WHERE seq = 6" << "record 6's file is empty";
    QTest::newRow("failed capture naming a file") << "UPDATE entries SET failure = 'x' WHERE seq = 6" << "record 6 is a failed capture that names a file";
    QTest::newRow("note on no record") << "UPDATE entries SET search_seq = 0 WHERE seq = 4" << "record 4's search_seq names no record";
    QTest::newRow("creation with a forged header") << "UPDATE meta SET value = value" + crlf + " WHERE key = 'created'" << "the case's creation time is not a UTC time";
    QTest::newRow("id that is no UUID") << "UPDATE meta SET value = 'case %1' WHERE key = 'case_id'" << "the case's id is not a UUID";
    // clang-format on
}

void TestHostileCases::forgedFieldIsRefused()
{
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath(kCaseName);
    fill(folder);
    if (!statement.isEmpty())
        runSql(folder, {statement});
    rechain(folder);
    const CaseJobOutput output = RunVerifyCaseJob(folder);
    const QString said = (output.out + output.errors).join(u'\n');
    QCOMPARE(output.status, expected.isEmpty() ? 0 : 1);
    QVERIFY2(said.contains(expected.isEmpty() ? QStringLiteral("holds: 7 records") : QStringLiteral("does not hold: ") + expected), qPrintable(said));
}

void TestHostileCases::namesArePrintedAsTheyAre_data()
{
    QTest::addColumn<QString>("name");
    // clang-format off
    QTest::newRow("percent escapes") << kCaseName;
    QTest::newRow("places to fill") << "%1 %2 %3 %9 %10";
    QTest::newRow("quote and comment") << "o'brien;--";
    // clang-format on
}

void TestHostileCases::namesArePrintedAsTheyAre()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString folder = dir.filePath(name);
    fill(folder);
    const CaseJobOutput held = RunVerifyCaseJob(folder);
    QCOMPARE(held.out.size(), 1);
    QVERIFY2(held.out[0].startsWith(QStringLiteral("The case \"") + folder + QStringLiteral("\" holds: 7 records (searches: 4, captures: 2, failed captures: 0, notes: 1), chain head sha256:")), qPrintable(held.out[0]));
    QFile::remove(QDir(folder + QStringLiteral("/captures")).entryInfoList(QDir::Files).value(0).filePath());
    const CaseJobOutput copied = RunCopyCaseJob(folder, dir.filePath(name + QStringLiteral(" copy")));
    QVERIFY2(copied.errors.value(0).startsWith(QStringLiteral("The case \"") + folder + QStringLiteral("\" was not copied: record 2's capture: captures/000001-")), qPrintable(copied.errors.value(0)));
    const QString server = QStringLiteral("postgresql://o'brien;--@db.example/cases?case=") + name;
    VerifyReport report;
    report.entries = 3;
    QCOMPARE(report.summary(server), QStringLiteral("The case \"") + server + QStringLiteral("\" holds: 3 records (searches: 0, captures: 0, failed captures: 0, notes: 0), chain head sha256:-"));
}

// Whatever the umask, a case's folders are 0700 and its files 0600: the database and the log and
// index beside it, the lock, every capture (a PNG came out 0644), a copy's files; the same helpers
// make the server case's cache folders and files.
void TestHostileCases::caseFilesArePrivate()
{
    const mode_t oldMask = ::umask(022);
    QTemporaryDir dir;
    const QString folder = dir.filePath(kCaseName);
    fill(folder);
    const auto open = Case::openFolder(folder, Case::Access::Write); // its log and index are there
    open->appendNote(1, QStringLiteral("m"));
    QVERIFY(RunCopyCaseJob(folder, dir.filePath(QStringLiteral("copy"))).status == 0);
    const QString queue = dir.filePath(QStringLiteral("cache/glenlantern/cases/key/queue-1"));
    QVERIFY(MakePrivateFolder(queue));
    QSaveFile record(queue + QStringLiteral("/000000000001.json"));
    QVERIFY(record.open(QIODevice::WriteOnly) && MakePrivate(record) && record.write("{}") == 2 && record.commit());
    ::umask(oldMask);
    QMap<QString, int> expected {{folder, 0700}, {dir.filePath(QStringLiteral("copy")), 0700}, {queue, 0700}, {dir.filePath(QStringLiteral("cache")), 0700}, {record.fileName(), 0600}};
    for (const QString &name : {QStringLiteral("case.sqlite"), QStringLiteral("case.sqlite-wal"), QStringLiteral("case.sqlite-shm"), QStringLiteral("case.lock"), QStringLiteral("captures")})
        expected.insert(folder + u'/' + name, name == u"captures" ? 0700 : 0600);
    for (const QString &copy : {folder, dir.filePath(QStringLiteral("copy"))}) {
        const QFileInfoList captures = QDir(copy + QStringLiteral("/captures")).entryInfoList(QDir::Files);
        QCOMPARE(captures.size(), 2);
        for (const QFileInfo &capture : captures)
            expected.insert(capture.filePath(), 0600);
        expected.insert(copy + QStringLiteral("/case.sqlite"), 0600);
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(modeOf(it.key()) == it.value(), qPrintable(QStringLiteral("%1 is %2").arg(it.key(), QString::number(modeOf(it.key()), 8))));
}

QTEST_GUILESS_MAIN(TestHostileCases)
#include "tst_hostilecases.moc"
