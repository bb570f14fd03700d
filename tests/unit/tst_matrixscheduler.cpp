// SPDX-License-Identifier: GPL-3.0-or-later
// The result matrix's scheduler on a clock of the test's: which request goes next under the
// limits per host and overall, the pause before a host is asked again, and 429's deferrals.
#include "Matrix.h"
#include "MatrixScheduler.h"

#include <QTest>

class TestMatrixScheduler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decisions_data();
    void decisions();
    void retryAfter_data();
    void retryAfter();
};

// Steps, ";" between them: "T@t=ids" Take(t) gives these requests (none: "T@t="),
// "F id@t" Finish, "D id@t+ms" Defer, "N@t=time" NextTime ("-" for none), "done".
void TestMatrixScheduler::decisions_data()
{
    QTest::addColumn<int>("perHost");
    QTest::addColumn<int>("overall");
    QTest::addColumn<int>("pause");
    QTest::addColumn<QString>("hosts"); // one a request, in order
    QTest::addColumn<QString>("steps");
    // clang-format off
    QTest::newRow("two at once to a host, then a pause") << 2 << 8 << 1000 << "a a a a" << "T@0=0,1; T@50=; F 0@100; T@500=; N@500=1100; T@1100=2; F 1@1200; F 2@1300; N@1300=2200; T@2200=3; F 3@2300; done";
    QTest::newRow("eight overall") << 2 << 8 << 0 << "a b c d e f g h i j" << "T@0=0,1,2,3,4,5,6,7; N@0=-; F 3@10; T@10=8; T@10=; F 0@20; T@20=9";
    QTest::newRow("the list's order across hosts") << 2 << 8 << 0 << "a a a b b c" << "T@0=0,1,3,4,5; F 4@5; T@5=; F 1@6; T@6=2";
    QTest::newRow("429 leaves the host alone") << 2 << 8 << 0 << "a a b" << "T@0=0,1,2; D 0@10+5000; T@10=; N@10=5010; F 1@20; F 2@20; T@20=; N@20=5010; T@5009=; T@5010=0; F 0@5100; done";
    QTest::newRow("deferred go back in order") << 2 << 8 << 0 << "a a a" << "T@0=0,1; D 1@5+100; D 0@6+100; T@105=; T@106=0,1; F 0@110; T@110=2";
    QTest::newRow("hosts ignore case") << 1 << 8 << 0 << "Example.org example.ORG" << "T@0=0; N@0=-; F 0@1; T@1=1";
    QTest::newRow("each place its own pause") << 2 << 8 << 300 << "a a a a" << "T@0=0,1; F 0@50; F 1@200; N@200=350; T@349=; T@350=2; T@499=; T@500=3";
    QTest::newRow("finish twice counts once") << 1 << 1 << 0 << "a b" << "T@0=0; F 0@1; F 0@2; T@2=1; F 1@3; done";
    // clang-format on
}

void TestMatrixScheduler::decisions()
{
    QFETCH(int, perHost);
    QFETCH(int, overall);
    QFETCH(int, pause);
    QFETCH(QString, hosts);
    QFETCH(QString, steps);
    MatrixScheduler scheduler({perHost, overall, pause});
    for (const QString &host : hosts.split(u' '))
        scheduler.Add(host);
    static const QRegularExpression step(
            QStringLiteral(R"(^(T|N)@(\d+)=(.*)$|^(F|D) (\d+)@(\d+)(?:\+(\d+))?$|^done$)"));
    for (const QString &text : steps.split(u';')) {
        const QRegularExpressionMatch m = step.match(text.trimmed());
        QVERIFY2(m.hasMatch(), qPrintable(text));
        if (m.captured(0) == u"done") {
            QVERIFY(scheduler.Done());
        } else if (m.captured(1) == u"T") {
            QStringList taken;
            for (const int request : scheduler.Take(m.captured(2).toLongLong()))
                taken << QString::number(request);
            QVERIFY2(taken.join(u',') == m.captured(3),
                     qPrintable(text + QStringLiteral(" gave ") + taken.join(u',')));
        } else if (m.captured(1) == u"N") {
            const std::optional<qint64> next = scheduler.NextTime(m.captured(2).toLongLong());
            QCOMPARE(next ? QString::number(*next) : QStringLiteral("-"), m.captured(3));
        } else if (m.captured(4) == u"F") {
            scheduler.Finish(m.captured(5).toInt(), m.captured(6).toLongLong());
        } else {
            scheduler.Defer(m.captured(5).toInt(), m.captured(6).toLongLong(),
                            m.captured(7).toLongLong());
        }
    }
}

// What a 429's Retry-After asks: seconds, or an HTTP date.
void TestMatrixScheduler::retryAfter_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("seconds") << QByteArray(" 120 ") << qint64(120'000);
    QTest::newRow("date") << QByteArray("Wed, 21 Oct 2015 07:28:30 GMT") << qint64(30'000);
    QTest::newRow("date gone by") << QByteArray("Wed, 21 Oct 2015 07:27:00 GMT") << qint64(0);
    QTest::newRow("negative") << QByteArray("-5") << qint64(-1);
    QTest::newRow("words") << QByteArray("soon") << qint64(-1);
    QTest::newRow("signed") << QByteArray("+5") << qint64(-1);
    QTest::newRow("fraction") << QByteArray("1.5") << qint64(-1);
    QTest::newRow("past 64 bits") << QByteArray("9223372036854775807") << kMostRetryAfterMs;
    QTest::newRow("past milliseconds") << QByteArray("18446744073709552") << kMostRetryAfterMs;
    QTest::newRow("a thousand digits") << QByteArray(1000, '9') << kMostRetryAfterMs;
    QTest::newRow("year 9999") << QByteArray("Fri, 31 Dec 9999 23:59:59 GMT") << kMostRetryAfterMs;
}

void TestMatrixScheduler::retryAfter()
{
    QFETCH(QByteArray, value);
    QFETCH(qint64, expected);
    const QDateTime now(QDate(2015, 10, 21), QTime(7, 28), Qt::UTC);
    QCOMPARE(RetryAfterMs(value, now), expected);
}

QTEST_APPLESS_MAIN(TestMatrixScheduler)
#include "tst_matrixscheduler.moc"
