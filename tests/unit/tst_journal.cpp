// SPDX-License-Identifier: GPL-3.0-or-later
// The server case's journal and its writer's decisions against a real PostgreSQL 15
// (tests/e2e/pgserver.py): the program killed at each point of a record's way, then started
// again, and the records the case holds afterwards, each once, in order, the chain verified.
#include "CaseVerify.h"
#include "PgCaseStore.h"
#include "PgSession.h"
#include "PgWriter.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace Cases;

namespace {

// What a kill leaves: the program stops where it is.
struct Killed
{
};

QueuedRecord search(const QString &term)
{
    QueuedRecord record;
    record.origin = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.entry.kind = QString::fromLatin1(kSearch);
    record.entry.time = RecordTimeNow();
    record.entry.author = QStringLiteral("ann@desk");
    record.entry.term = term;
    record.entry.address = QStringLiteral("http://127.0.0.1/?q=") + term;
    record.entry.outcome = QString::fromLatin1(kLoaded);
    record.entry.status = 404;
    record.entry.startedBy = QString::fromLatin1(StartedBy::kStep);
    return record;
}

// A capture of a search that still waits in the journal, its bytes moved in with it.
void addCapture(CaseQueue &journal, const QueuedRecord &of, const QByteArray &bytes)
{
    QueuedRecord record;
    record.origin = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.searchOrigin = of.origin;
    record.entry.kind = QString::fromLatin1(kCapture);
    record.entry.time = RecordTimeNow();
    record.entry.author = QStringLiteral("ann@desk");
    record.entry.captureKind = QString::fromLatin1(kMhtml);
    record.entry.sha256 = Sha256Hex(bytes);
    record.entry.size = bytes.size();
    QFile file(journal.scratchFolder() + QStringLiteral("/page.mhtml"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    journal.add(record, file.fileName());
}

void sendAll(CaseQueue &journal, PgSession &session)
{
    JournalSender sender(journal, session);
    QStringList refused;
    for (int i = 0; i < 10 && journal.size() > 0; ++i)
        sender.sendBatch(refused);
    QCOMPARE(refused, QStringList());
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void killedAnywhere_data();
    void killedAnywhere();
    void textsAsTheyWere();

private:
    std::unique_ptr<PgSession> session(const QString &caseName, bool create);
    QTemporaryDir m_cache;
    QProcess m_server;
    QString m_address;
};

void TestJournal::initTestCase()
{
    m_server.start(QStringLiteral("python3"), {QStringLiteral(GL_PGSERVER), QStringLiteral("serve")});
    QVERIFY(m_server.waitForStarted());
    QVERIFY(m_server.waitForReadyRead(120000));
    const QStringList told = QString::fromUtf8(m_server.readLine()).split(u' ');
    if (told.size() != 4)
        QSKIP("PostgreSQL 15 is not installed (Debian's postgresql-15; make test installs it)");
    m_address = QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?case=").arg(told[1], told[0], told[3].trimmed());
    qputenv("PGPASSWORD", told[2].toUtf8());
    qputenv("XDG_CACHE_HOME", m_cache.path().toUtf8()); // the journals of a store opened here
}

void TestJournal::cleanupTestCase()
{
    m_server.closeWriteChannel();
    m_server.waitForFinished(60000);
}

std::unique_ptr<PgSession> TestJournal::session(const QString &caseName, bool create)
{
    auto opened = std::make_unique<PgSession>(ParseServerAddress(m_address + caseName),
                                              PgSession::Role::Writer, PgSession::Prompt::Never);
    QString problem;
    if (!opened->connect(problem))
        qFatal("%s", qPrintable(problem));
    opened->prepareSchema(true);
    opened->openCase(create);
    return opened;
}

void TestJournal::killedAnywhere_data()
{
    QTest::addColumn<QString>("stage");    // where the program is killed, as CaseQueue names it
    QTest::addColumn<int>("occurrence");   // the how-manyth time it passes there
    QTest::addColumn<QStringList>("held"); // the case afterwards
    const QStringList all = {"search a", "search b", "capture of 2", "search c"};
    // clang-format off
    QTest::newRow("nothing goes wrong") << "" << 0 << all;
    QTest::newRow("before the journal write") << "journal" << 3 << QStringList {"search a", "search b", "capture of 2"};
    QTest::newRow("after the journal write") << "journalled" << 3 << all;
    QTest::newRow("as the batch is sent") << "sending" << 1 << all;
    QTest::newRow("after the commit, before the answer") << "committed" << 1 << all;
    QTest::newRow("cleanup: a record gone, its capture not") << "removed record" << 2 << all;
    QTest::newRow("cleanup: after the first record") << "removed capture" << 1 << all;
    // clang-format on
}

void TestJournal::killedAnywhere()
{
    QFETCH(QString, stage);
    QFETCH(int, occurrence);
    QFETCH(QStringList, held);
    const QString caseName = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
    QTemporaryDir cache;
    {
        const auto first = session(caseName, true);
        CaseQueue journal(cache.path());
        journal.add(search(QStringLiteral("a")));
        sendAll(journal, *first);
        int passed = 0;
        journal.setCheckpoint([&](const char *name) {
            if (name == stage && ++passed == occurrence)
                throw Killed {};
        });
        try {
            const QueuedRecord b = search(QStringLiteral("b"));
            journal.add(b);
            addCapture(journal, b, "page of b");
            journal.add(search(QStringLiteral("c")));
            JournalSender(journal, *first).sendBatch(*std::make_unique<QStringList>());
        } catch (const Killed &) {
        }
    }
    // Started again: a new connection, the journal as the disk holds it.
    const auto again = session(caseName, false);
    CaseQueue journal(cache.path());
    sendAll(journal, *again);
    QCOMPARE(journal.size(), 0);
    QStringList got;
    again->read([&](const CaseEntry &e) {
        got.append(e.kind == QLatin1StringView(kSearch) ? QStringLiteral("search ") + e.term
                                                        : QStringLiteral("capture of %1").arg(e.searchSeq));
    }, CaseStore::Order::Sequence, {});
    QCOMPARE(got, held);
    const VerifyReport report = VerifyCase(*PgCaseStore::open(m_address + caseName, PgCaseStore::Access::ReadOnly));
    QVERIFY2(report.holds(), qPrintable(report.problem));
    QCOMPARE(QDir(journal.folder()).entryList({QStringLiteral("*.capture")}, QDir::Files), QStringList());
}

// What a term or title may hold reaches the server as it was hashed: quotes, backslashes,
// statements, a lone surrogate (as every store keeps it: NormaliseTexts) and a NUL, which
// PostgreSQL's text cannot hold (U+FFFD, before the hash).
void TestJournal::textsAsTheyWere()
{
    const QString address = m_address + QStringLiteral("texts");
    const QString hostile = QStringLiteral("O'Brien \\ \"x\" '); DROP TABLE glenlantern.entries; -- ") + QChar(0xD800)
            + QChar(u'\0') + QStringLiteral("end ü 😀");
    CaseEntry normalised;
    normalised.term = hostile;
    NormaliseTexts(normalised);
    const QString expected = normalised.term.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    {
        const auto store = PgCaseStore::open(address, PgCaseStore::Access::Write);
        CaseEntry entry = search(hostile).entry;
        entry.title = hostile;
        store->append(entry);
        QCOMPARE(store->flush(60000), 0);
    }
    const auto store = PgCaseStore::open(address, PgCaseStore::Access::ReadOnly);
    QList<CaseEntry> entries;
    store->read([&](const CaseEntry &e) { entries.append(e); });
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.constFirst().term, expected);
    QCOMPARE(entries.constFirst().title, expected);
    QVERIFY(VerifyCase(*store).holds());
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
