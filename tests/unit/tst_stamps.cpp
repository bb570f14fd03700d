// SPDX-License-Identifier: GPL-3.0-or-later
// Stamps from a time-stamp authority: the answer checked when it comes and when the case is
// verified, against tokens made by `openssl ts -reply` with a throw-away CA; the job against that
// authority on 127.0.0.1 (and one that is down, refuses or answers wrongly: nothing added); a
// stamped case checked by openssl itself, and a changed token found.
#include "Case.h"
#include "CaseStamp.h"
#include "CaseVerify.h"
#include "LocalTimestampAuthority.h"
#include "TimestampClient.h"

#include <QTcpServer>

#include <sys/stat.h>

using namespace Cases;
using Answer = LocalTimestampAuthority::Answer;

Q_DECLARE_METATYPE(LocalTimestampAuthority::Answer)

class StampsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalTimestampAuthority> m_tsa;
    QTemporaryDir m_dir;
    int m_cases = 0;

    // A new case folder holding one search.
    QString newCase()
    {
        const QString folder = m_dir.filePath(QStringLiteral("case%1").arg(++m_cases));
        CaseEntry search;
        search.service = QStringLiteral("Web");
        search.term = QStringLiteral("ledger");
        search.address = QStringLiteral("http://127.0.0.1/?q=ledger");
        search.outcome = QString::fromLatin1(kLoaded);
        Case::openFolder(folder, Case::Access::Write)->appendSearch(search);
        return folder;
    }
    static QStringList tokens(const QString &folder)
    {
        return QDir(folder + QStringLiteral("/stamps")).entryList(QDir::Files | QDir::Hidden);
    }
    QString ca(const QString &which) const { return which == u"other" ? m_tsa->otherCaFile() : m_tsa->caFile(); }

private Q_SLOTS:
    void initTestCase() { m_tsa = std::make_unique<LocalTimestampAuthority>(); }

    // What the program says of an answer when it comes (RecordStamp, on a real case) and what
    // verify says of its token (StampProblem and the time); empty where it holds.
    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("changeByte");
        QTest::addColumn<QString>("caFile");
        QTest::addColumn<QString>("entryTime"); // the stamped entry's, else its own
        QTest::addColumn<QString>("whenItComes");
        QTest::addColumn<QString>("atVerify");
        // clang-format off
        QTest::newRow("good token") << Answer::Good << false << "ca" << "" << "" << "";
        QTest::newRow("token over another hash") << Answer::OtherHash << false << "ca" << "" << "is not the one asked for" << "message imprint mismatch";
        QTest::newRow("wrong nonce") << Answer::OtherNonce << false << "ca" << "" << "nonce mismatch" << "";
        QTest::newRow("authority refuses") << Answer::Refusal << false << "ca" << "" << "the authority refused (status 2" << "status";
        QTest::newRow("untrusted CA") << Answer::Good << false << "other" << "" << "" << "self-signed certificate in certificate chain";
        QTest::newRow("changed byte") << Answer::Good << true << "ca" << "" << "signature does not hold" << "signature failure";
        QTest::newRow("stamp earlier than its entry") << Answer::Good << false << "ca" << "2999-01-01T00:00:00.000Z" << "is before record 1's own" << "before";
        // clang-format on
    }
    void answers()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, changeByte);
        QFETCH(QString, caFile);
        QFETCH(QString, entryTime);
        QFETCH(QString, whenItComes);
        QFETCH(QString, atVerify);
        const QString folder = newCase();
        const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::Write);
        StampRequest request = PrepareStamp(*store);
        if (!entryTime.isEmpty())
            request.time = entryTime;
        QByteArray token = m_tsa->answer(request.query, answer);
        if (changeByte)
            token[token.size() - 1] = char(token.back() ^ 1);

        QString said;
        try {
            RecordStamp(*store, request, QStringLiteral("http://127.0.0.1:9/tsa"), token);
        } catch (const CommandError &error) {
            said = error.message();
        }
        QVERIFY2(whenItComes.isEmpty() ? said.isEmpty() : said.contains(whenItComes), qPrintable(said));
        QCOMPARE(store->head().seq, whenItComes.isEmpty() ? 2 : 1); // a refused stamp adds nothing
        QCOMPARE(tokens(folder).size(), whenItComes.isEmpty() ? 1 : 0);

        StampFacts facts;
        QString problem = StampProblem(token, QByteArray::fromHex(request.hash.toLatin1()), ca(caFile), facts);
        if (problem.isEmpty() && !StampFollows(facts, request.time))
            problem = QStringLiteral("before");
        QVERIFY2(atVerify.isEmpty() ? problem.isEmpty() : problem.contains(atVerify), qPrintable(problem));
        if (problem.isEmpty())
            QCOMPARE(facts.authority, QStringLiteral("CN=Local TSA,O=Glen Lantern tests"));
        if (whenItComes.isEmpty()) {
            const VerifyReport report = VerifyCase(*store, ca(caFile));
            QVERIFY2(atVerify.isEmpty() ? report.holds() : report.problem.contains(atVerify), qPrintable(report.problem));
        }
    }

    // --stamp-case against an authority on 127.0.0.1: kept with its entry, or nothing added.
    void job_data()
    {
        QTest::addColumn<QString>("server"); // up, down, or an address of its own
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("stamped") << "up" << Answer::Good << 0 << "is stamped: record 1 (sha256:";
        QTest::newRow("authority down") << "down" << Answer::Good << 1 << "Connection refused";
        QTest::newRow("server error") << "up" << Answer::ServerError << 1 << "the authority answered HTTP 500 Internal Server Error";
        QTest::newRow("authority refuses") << "up" << Answer::Refusal << 1 << "was not kept: the authority refused";
        QTest::newRow("wrong imprint") << "up" << Answer::OtherHash << 1 << "was not kept: the token is not the one asked for";
        QTest::newRow("not a web address") << "file:///etc/passwd" << Answer::Good << 1 << "must be an http or https address";
        // clang-format on
    }
    void job()
    {
        QFETCH(QString, server);
        QFETCH(Answer, answer);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString folder = newCase();
        const auto authority = m_tsa->serve(answer);
        QString url = QString::fromLatin1(authority->base()) + QStringLiteral("/tsa");
        if (server == u"down") {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/tsa").arg(closed.serverPort());
        } else if (server != u"up") {
            url = server;
        }
        const CaseJobOutput output = RunStampCaseJob(folder, url, &TimestampClient::sendAndWait);
        QCOMPARE(output.status, status);
        QVERIFY2((output.out + output.errors).join(u'\n').contains(message), qPrintable((output.out + output.errors).join(u'\n')));
        const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly);
        QCOMPARE(store->head().seq, status == 0 ? 2 : 1);
        QCOMPARE(tokens(folder).size(), status == 0 ? 1 : 0);
        if (server == u"up" && answer != Answer::ServerError) {
            QCOMPARE(authority->requests.size(), 1);
            QCOMPARE(authority->requests.first().header("Content-Type"), QByteArray("application/timestamp-query"));
        }
    }

    // A stamped case as a third party checks it: openssl ts -verify over the head, verify with
    // the CA; a byte changed in the kept answer, and the case no longer holds.
    void stampedCaseCheckedByOpenssl()
    {
        const QString folder = newCase();
        const auto authority = m_tsa->serve(Answer::Good);
        const QString url = QString::fromLatin1(authority->base()) + QStringLiteral("/tsa");
        QCOMPARE(RunStampCaseJob(folder, url, &TimestampClient::sendAndWait).status, 0);
        const auto store = SqliteCaseStore::open(folder, SqliteCaseStore::Access::ReadOnly);
        CaseEntry stamp;
        store->read([&](const CaseEntry &e) { stamp = e; });
        QCOMPARE(stamp.kind, QString::fromLatin1(kStamp));
        QCOMPARE(stamp.tsaUrl, url);
        const QString file = folder + QStringLiteral("/stamps/") + StampFileName(stamp);
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("000001-%1.tsr").arg(stamp.stampedHash));
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(file).constData(), &info) == 0 && (info.st_mode & 0777) == 0600);
        QVERIFY(::stat(QFile::encodeName(folder + QStringLiteral("/stamps")).constData(), &info) == 0
                && (info.st_mode & 0777) == 0700);
        m_tsa->run({QStringLiteral("ts"), QStringLiteral("-verify"), QStringLiteral("-digest"), stamp.stampedHash,
                    QStringLiteral("-in"), file, QStringLiteral("-CAfile"), m_tsa->caFile()});

        const CaseJobOutput verified = RunVerifyCaseJob(folder, m_tsa->caFile());
        QCOMPARE(verified.status, 0);
        QVERIFY2(verified.out.join(u'\n').contains(QStringLiteral("\nStamps that hold: 1; the last at %1 (UTC) by CN=Local TSA,O=Glen Lantern tests (%2)")
                                                          .arg(stamp.stampTime, url)),
                 qPrintable(verified.out.join(u'\n')));
        QCOMPARE(RunVerifyCaseJob(folder, m_tsa->otherCaFile()).status, 1);
        const QString copy = m_dir.filePath(QStringLiteral("copy%1").arg(m_cases));
        QCOMPARE(RunCopyCaseJob(folder, copy).status, 0); // the token goes with the copy
        QCOMPARE(RunVerifyCaseJob(copy, m_tsa->caFile()).status, 0);
        QCOMPARE(tokens(copy), tokens(folder));

        QFile token(file);
        QVERIFY(token.open(QIODevice::ReadWrite));
        QByteArray bytes = token.readAll();
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x20);
        QVERIFY(token.seek(0) && token.write(bytes) == bytes.size());
        token.close();
        const CaseJobOutput changed = RunVerifyCaseJob(folder, m_tsa->caFile());
        QCOMPARE(changed.status, 1);
        QVERIFY2(changed.errors.join(u'\n').contains(QStringLiteral("the stamp of record 2 (record 1, by %1): stamps/%2 was changed")
                                                              .arg(url, StampFileName(stamp))),
                 qPrintable(changed.errors.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(StampsTest)
#include "tst_stamps.moc"
