// SPDX-License-Identifier: GPL-3.0-or-later
// Cases: the chain and verify against tampering, texts kept exactly, refusal of what is not a
// case of this program, the lock, a write that fails, and a writer killed while it records.
#include "Case.h"
#include "CaseExport.h"
#include "CaseVerify.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Cases;

namespace {

CaseEntry search(const QString &term)
{
    CaseEntry entry;
    entry.service = QStringLiteral("Web");
    entry.term = term;
    entry.address = QStringLiteral("http://127.0.0.1/?q=") + term;
    entry.outcome = QString::fromLatin1(kLoaded);
    entry.startedBy = QString::fromLatin1(StartedBy::kClick);
    return entry;
}

// 1 search, 2 its capture, 3 search, 4 a note on 3, 5 search, 6 its capture, 7 search.
void fill(Case &target)
{
    const auto capture = [&](qint64 seq, const char *kind) {
        const QString path = target.captureScratchPath(QString::fromLatin1(kind));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("page bytes ") == 11);
        file.close();
        target.recordCapture(seq, QString::fromLatin1(kind), path);
    };
    capture(target.appendSearch(search(QStringLiteral("a"))).seq, kMhtml);
    target.appendNote(target.appendSearch(search(QStringLiteral("b"))).seq, QStringLiteral("n"));
    capture(target.appendSearch(search(QStringLiteral("c"))).seq, kPng);
    target.appendSearch(search(QStringLiteral("d")));
}

// What anyone with sqlite3 can do to the file.
void tamper(const QString &folder, const QStringList &statements)
{
    if (statements.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(folder + QStringLiteral("/case.sqlite"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

QString captureOf(const QString &folder, qint64 seq)
{
    const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly);
    QString file;
    store->read([&](const CaseEntry &e) { file = e.seq == seq ? e.file : file; });
    return folder + QStringLiteral("/captures/") + file;
}

VerifyReport verify(const QString &folder)
{
    return VerifyCase(*SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly));
}

} // namespace

class TestCases : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tamperingIsFound_data();
    void tamperingIsFound();
    void textsAreKeptExactly();
    void refusesWhatIsNotACase_data();
    void refusesWhatIsNotACase();
    void openElsewhereIsNotWritten();
    void failedWriteLeavesNoHalfRecord();
    void killedWriterLosesAtMostOne();
    void olderCaseOpensAndGrows();
};

void TestCases::tamperingIsFound_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("file"); // a capture's file: "change", "remove" or "truncate"
    QTest::addColumn<QString>("expected");
    // A record inserted as one who knows the chain would: its own hashes right.
    CaseEntry inserted = search(QStringLiteral("x"));
    inserted.kind = QString::fromLatin1(kSearch);
    inserted.seq = 4;
    const QString columns = QStringLiteral("seq, kind, time, author, service, service_line, term, address, post_body, final_address, title, outcome, started_by, prev_hash, hash");
    const QString insert = QStringLiteral("INSERT INTO entries (%1) SELECT 4, 'search', '', '', 'Web', '', 'x', 'http://127.0.0.1/?q=x', '', '', '', 'loaded', 'click', hash, '%2' FROM entries WHERE seq = 3");
    using L = QStringList;
    // clang-format off
    QTest::newRow("untouched") << L {} << "" << "";
    QTest::newRow("record edited") << L {"UPDATE entries SET term = 'B' WHERE seq = 3"} << "" << "record 3 was changed";
    QTest::newRow("note edited") << L {"UPDATE entries SET note = 'm' WHERE seq = 4"} << "" << "record 4 was changed";
    QTest::newRow("record removed") << L {"DELETE FROM entries WHERE seq = 4"} << "" << "record 4 is missing";
    QTest::newRow("last record removed") << L {"DELETE FROM entries WHERE seq = 7"} << "" << "record 7 is missing (the case's head names record 7)";
    QTest::newRow("capture entry removed") << L {"DELETE FROM entries WHERE seq = 2"} << "" << "record 2 is missing";
    QTest::newRow("record inserted") << L {"UPDATE entries SET seq = seq + 100 WHERE seq >= 4", "UPDATE entries SET seq = seq - 99 WHERE seq >= 100", insert.arg(columns, QStringLiteral("h"))} << "" << "record 4 was changed";
    QTest::newRow("records reordered") << L {"UPDATE entries SET seq = 100 WHERE seq = 3", "UPDATE entries SET seq = 3 WHERE seq = 5", "UPDATE entries SET seq = 5 WHERE seq = 100"} << "" << "record 3 was changed";
    QTest::newRow("head moved back") << L {"UPDATE meta SET value = '6' WHERE key = 'head_seq'"} << "" << "record 7 was added outside the program";
    QTest::newRow("capture changed") << L {} << "change" << "the capture of record 2: 000001-";
    QTest::newRow("capture removed") << L {} << "remove" << "is missing";
    QTest::newRow("capture truncated") << L {} << "truncate" << "has 5 bytes where 11 were recorded";
    // clang-format on
}

void TestCases::tamperingIsFound()
{
    QFETCH(QStringList, statements);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    fill(*Case::openFolder(folder, Case::Access::Write));
    QVERIFY(verify(folder).holds());
    tamper(folder, statements);
    const QString capture = captureOf(folder, 2);
    QFile captured(capture);
    if (file == u"change")
        QVERIFY(captured.open(QIODevice::ReadWrite) && captured.write("P") == 1 && captured.flush());
    else if (file == u"remove")
        QVERIFY(captured.remove());
    else if (file == u"truncate")
        QVERIFY(captured.resize(5));
    const VerifyReport report = verify(folder);
    if (expected.isEmpty()) {
        QVERIFY2(report.holds(), qPrintable(report.problem));
        QCOMPARE(report.summary(folder).left(20), QStringLiteral("The case \"%1\" holds").arg(folder).left(20));
        QCOMPARE((QList<qint64> {report.entries, report.searches, report.captures, report.notes}), (QList<qint64> {7, 4, 2, 1}));
    } else {
        QVERIFY2(report.problem.contains(expected), qPrintable(report.problem));
    }
}

// Whatever a page or a list holds comes back as it went in (a lone surrogate as U+FFFD), and
// the chain still holds: the hash taken before writing is the one found after reading.
void TestCases::textsAreKeptExactly()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    QList<QString> written;
    {
        const auto target = Case::openFolder(folder, Case::Access::Write);
        auto *random = QRandomGenerator::global();
        for (int i = 0; i < 200; ++i) {
            QString text;
            for (int n = int(random->bounded(40)); n > 0; --n) {
                static const char16_t pick[] = {0, 1, 9, 10, 13, 0x1f, '"', '\\', '/', 0x7f, 0xe9, 0x2028, 0xd800, 0xdc00, 0xfeff};
                text += random->bounded(3) ? QChar(char16_t(0x20 + random->bounded(0x2ff))) : QChar(pick[random->bounded(int(std::size(pick)))]);
            }
            CaseEntry entry = search(text);
            entry.title = text;
            written.append(target->appendSearch(entry).title);
            QVERIFY(!written.last().contains(QChar(0xd800)) || written.last().contains(QChar(0xdc00)));
        }
    }
    QList<QString> read;
    SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly)->read([&](const CaseEntry &e) { read.append(e.title); });
    QCOMPARE(read, written);
    const VerifyReport report = verify(folder);
    QVERIFY2(report.holds(), qPrintable(report.problem));
}

void TestCases::refusesWhatIsNotACase_data()
{
    QTest::addColumn<QStringList>("statements"); // run on a new case; "foreign" makes another program's database
    QTest::addColumn<QByteArray>("bytes");       // written over case.sqlite when not empty
    QTest::addColumn<QString>("expected");
    using L = QStringList;
    // clang-format off
    QTest::newRow("newer") << L {"UPDATE meta SET value = '3' WHERE key = 'schema'"} << QByteArray() << "written by a newer version of Glen Lantern (record version 3; this version reads up to 2)";
    QTest::newRow("another program's") << L {"foreign"} << QByteArray() << "case.sqlite is another program's database, not a Glen Lantern case";
    QTest::newRow("no identity") << L {"DELETE FROM meta WHERE key = 'case_id'"} << QByteArray() << "case.sqlite is damaged or not a database (its identity is incomplete)";
    QTest::newRow("not a database") << L {} << QByteArray(8192, 'x') << "case.sqlite is damaged or not a database";
    QTest::newRow("other files") << L {"other files"} << QByteArray() << "it is not a case folder (it holds no case.sqlite)";
    // clang-format on
}

void TestCases::refusesWhatIsNotACase()
{
    QFETCH(QStringList, statements);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    Case::openFolder(folder, Case::Access::Write)->appendSearch(search(QStringLiteral("a")));
    const QString file = folder + QStringLiteral("/case.sqlite");
    if (statements == QStringList {QStringLiteral("foreign")}) {
        QVERIFY(QFile::remove(file));
        statements = {QStringLiteral("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT)")};
    } else if (statements == QStringList {QStringLiteral("other files")}) {
        QVERIFY(QFile::rename(file, folder + QStringLiteral("/notes.db")));
        statements.clear();
    }
    tamper(folder, statements);
    if (!bytes.isEmpty()) {
        QFile over(file);
        QVERIFY(over.open(QIODevice::WriteOnly) && over.write(bytes) == bytes.size());
    }
    for (const auto access : {Case::Access::Write, Case::Access::ReadOnly}) {
        try {
            Case::openFolder(folder, access);
            QFAIL("opened");
        } catch (const CaseOpenError &error) {
            QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
        }
    }
}

void TestCases::openElsewhereIsNotWritten()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    auto first = Case::openFolder(folder, Case::Access::Write);
    try {
        Case::openFolder(folder, Case::Access::Write);
        QFAIL("opened twice for writing");
    } catch (const CaseLockedError &error) {
        QCOMPARE(error.pid(), qint64(::getpid()));
        QVERIFY2(error.message().contains(QStringLiteral("is open in another program (process %1 on ").arg(::getpid())), qPrintable(error.message()));
    }
    const auto reader = Case::openFolder(folder, Case::Access::ReadOnly);
    QVERIFY(reader->isReadOnly());
    QVERIFY_THROWS_EXCEPTION(CaseWriteError, reader->appendSearch(search(QStringLiteral("a"))));
    first.reset();
    QCOMPARE(Case::openFolder(folder, Case::Access::Write)->appendSearch(search(QStringLiteral("b"))).seq, 1);
}

// A disk that fills up while an entry is written: nothing of it is in the case, the case still
// verifies, and the next append goes through once there is room again.
void TestCases::failedWriteLeavesNoHalfRecord()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    const auto target = Case::openFolder(folder, Case::Access::Write);
    target->appendSearch(search(QStringLiteral("a")));
    rlimit old;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const qint64 largest = std::max(QFileInfo(folder + QStringLiteral("/case.sqlite")).size(),
                                    QFileInfo(folder + QStringLiteral("/case.sqlite-wal")).size());
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = old;
    full.rlim_cur = rlim_t(largest + 4096);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
    CaseEntry big = search(QStringLiteral("b"));
    big.title = QString(1 << 20, u't');
    bool failed = false;
    try {
        target->appendSearch(big);
    } catch (const CaseWriteError &error) {
        failed = error.message().startsWith(QStringLiteral("The record was not written: "));
    }
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldSignal);
    QVERIFY(failed);
    const VerifyReport report = verify(folder);
    QVERIFY2(report.holds() && report.entries == 1, qPrintable(report.problem));
    QCOMPARE(target->appendSearch(big).seq, 2);
    QVERIFY(verify(folder).holds());
}

// kill -9 while a writer records searches and captures: the case opens for writing again (no
// lock left behind) and verifies with every entry that was reported written; verified while
// the writer runs, it holds too.
void TestCases::killedWriterLosesAtMostOne()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("case"));
    qint64 reported = 0;
    for (int round = 0; round < 3; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(GL_CASE_WRITER), {folder, QStringLiteral("loop")});
        const qint64 until = reported + 20 + QRandomGenerator::global()->bounded(40);
        while (reported < until && writer.waitForReadyRead(10000)) {
            while (writer.canReadLine())
                reported = writer.readLine().trimmed().toLongLong();
        }
        // Verify while the other program records: it reads one state of the case.
        const VerifyReport during = verify(folder);
        QVERIFY2(during.holds(), qPrintable(during.problem));
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QVERIFY2(reported >= until, writer.readAllStandardError().constData());
        const auto reopened = Case::openFolder(folder, Case::Access::Write);
        const VerifyReport report = VerifyCase(reopened->store());
        QVERIFY2(report.holds(), qPrintable(report.problem));
        QVERIFY(reopened->store().head().seq >= reported);
        reported = reopened->store().head().seq;
    }
}

// A case written before records held a page's status (record version 1, tests/data/cases)
// opens, verifies and exports as it was; opened for writing it takes the new fields, and its
// old entries keep their hashes.
void TestCases::olderCaseOpensAndGrows()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("old"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/captures")));
    const QDir fixture(QStringLiteral(GL_CASE_FIXTURES "/v1-folder"));
    QStringList names = {QStringLiteral("case.sqlite")};
    for (const QString &capture : QDir(fixture.filePath(QStringLiteral("captures"))).entryList(QDir::Files))
        names.append(QStringLiteral("captures/") + capture);
    for (const QString &name : std::as_const(names))
        QVERIFY(QFile::copy(fixture.filePath(name), folder + u'/' + name));
    const VerifyReport before = verify(folder);
    QVERIFY2(before.holds(), qPrintable(before.problem));
    QCOMPARE(before.entries, 8);
    const QString exported = dir.filePath(QStringLiteral("old.jsonl"));
    QCOMPARE(ExportCase(*SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly), ExportFormat::Jsonl, exported), QStringList());
    QFile lines(exported);
    QVERIFY(lines.open(QIODevice::ReadOnly));
    const QList<QByteArray> oldJson = lines.readAll().split('\n');
    QVERIFY(!oldJson.constFirst().contains("\"status\"") && !oldJson.constFirst().contains("\"verdict\""));
    {
        const auto grown = Case::openFolder(folder, Case::Access::Write);
        CaseEntry page = search(QStringLiteral("missing user"));
        page.status = 404;
        page.verdict = QStringLiteral("not found");
        page.textSha256 = Sha256Hex("No such user");
        const CaseEntry written = grown->appendSearch(page);
        QVERIFY(CanonicalContent(written).contains("\"status\":404,"));
        QVERIFY(CanonicalContent(written).contains("\"verdict\":\"not found\""));
        QCOMPARE(grown->info().schema, kSchemaVersion);
    }
    const VerifyReport after = verify(folder);
    QVERIFY2(after.holds(), qPrintable(after.problem));
    QCOMPARE(after.entries, 9);
    QList<CaseEntry> entries;
    SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly)->read([&](const CaseEntry &e) { entries.append(e); });
    QCOMPARE(entries.constLast().status, 404);
    for (qsizetype i = 0; i < 8; ++i)
        QCOMPARE(EntryJson(entries.at(i)), oldJson.at(i)); // as the older version wrote them
}

QTEST_GUILESS_MAIN(TestCases)
#include "tst_cases.moc"
