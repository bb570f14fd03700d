// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop's search (GNOME Shell, KRunner) is offered for the text typed there, and
// what a picked result searches.
#include "DesktopSearch.h"
#include "EntryList.h"
#include "ListTestSupport.h"

#include <QTest>

namespace {

const QList<QByteArray> kSevenServices
        = {"One=http://1/|s|",  "Two=http://2/|s|",  "=http://nameless/|s|", "Three=http://3/|s|",
           "Four=http://4/|s|", "Five=http://5/|s|", "Six=http://6/|s|",     "Seven=http://7/|s|"};

QString shown(const QList<DesktopSearchResult> &results)
{
    QStringList lines;
    for (const DesktopSearchResult &r : results)
        lines << QStringLiteral("%1 | %2 | %3%4")
                         .arg(r.id, r.title, r.description,
                              r.exact ? QStringLiteral(" | exact") : QString());
    return lines.join(u'\n');
}

} // namespace

class TestDesktopSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void results_data();
    void results();
    void resultsStillMeanTheSameLater();
    void requestOfAResult_data();
    void requestOfAResult();
};

void TestDesktopSearch::results_data()
{
    QTest::addColumn<QList<QByteArray>>("services");
    QTest::addColumn<int>("selectedService");
    QTest::addColumn<QList<QByteArray>>("terms");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QList<QByteArray> two = {"Web=http://a/?q=|s|", "Maps=http://m/|s|"};
    QTest::newRow("first five services in order, nameless left out")
            << kSevenServices << -1 << QList<QByteArray>() << QStringLiteral("x")
            << QStringLiteral("service:One=x | Search One for x | http://1/x\n"
                              "service:Two=x | Search Two for x | http://2/x\n"
                              "service:Three=x | Search Three for x | http://3/x\n"
                              "service:Four=x | Search Four for x | http://4/x\n"
                              "service:Five=x | Search Five for x | http://5/x");
    QTest::newRow("terms that begin with the text, any case, with the selected service")
            << two << 1 << QList<QByteArray> {"Apple pie", "grape", "apricot", "APPLE", "Ap"}
            << QStringLiteral("  ap ")
            << QStringLiteral("service:Web=ap | Search Web for ap | http://a/?q=ap\n"
                              "service:Maps=ap | Search Maps for ap | http://m/ap\n"
                              "term:Apple pie | Apple pie | Search Maps for Apple pie\n"
                              "term:apricot | apricot | Search Maps for apricot\n"
                              "term:APPLE | APPLE | Search Maps for APPLE\n"
                              "term:Ap | Ap | Search Maps for Ap | exact");
    QTest::newRow("unicode case and windows-1252 terms")
            << QList<QByteArray> {"W=http://w/"} << -1
            << QList<QByteArray> {"\xC3\x84pfel", "\xC4pfel", "apfel"} << QStringLiteral("\u00E4p")
            << QStringLiteral("service:W=\u00E4p | Search W for \u00E4p | http://w/\n"
                              "term:\u00C4pfel | \u00C4pfel | Search W for \u00C4pfel\n"
                              "term:\u00C4pfel | \u00C4pfel | Search W for \u00C4pfel");
    // clang-format off
    QTest::newRow("a form") << QList<QByteArray> {"F=http://f/s\tpost=q=|s|"} << -1 << QList<QByteArray>() << QStringLiteral("a b") << QStringLiteral("service:F=a b | Search F for a b | http://f/s (sends the form q=a+b)");
    // clang-format on
    QTest::newRow("blank text offers nothing")
            << two << -1 << QList<QByteArray> {"a"} << QStringLiteral(" \t") << QString();
    QTest::newRow("no services: nothing to search with")
            << QList<QByteArray>() << -1 << QList<QByteArray> {"apple"} << QStringLiteral("a")
            << QString();
    QList<QByteArray> many;
    for (int i = 0; i < 30; ++i)
        many << "t" + QByteArray::number(i);
    QStringList tenTerms {QStringLiteral("service:S=t | Search S for t | http://s/t")};
    for (int i = 0; i < kDesktopSearchTerms; ++i)
        tenTerms << QStringLiteral("term:t%1 | t%1 | Search S for t%1").arg(i);
    QTest::newRow("at most ten terms") << QList<QByteArray> {"S=http://s/|s|"} << -1 << many
                                       << QStringLiteral("t") << tenTerms.join(u'\n');
    // Every result goes back over the bus, whose messages have a limit.
    const QByteArray address = "http://l/?" + QByteArray(400, 'a');
    QTest::newRow("no name or term over the limit, addresses cut")
            << QList<QByteArray> {"L=" + address + "|s|", QByteArray(1001, 'n') + "=http://n/|s|"}
            << -1 << QList<QByteArray> {QByteArray(1001, 'x')} << "x"
            << QString::fromLatin1("service:L=x | Search L for x | " + address.left(297) + "...");
    QTest::newRow("no text over the limit")
            << two << -1 << QList<QByteArray>() << QString(1001, u'x') << QString();
}

void TestDesktopSearch::results()
{
    QFETCH(QList<QByteArray>, services);
    QFETCH(int, selectedService);
    QFETCH(QList<QByteArray>, terms);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    EntryList serviceList, termList;
    fillList(serviceList, services, selectedService);
    fillList(termList, terms);
    QCOMPARE(shown(DesktopSearch(serviceList, termList, text)), expected);
}

void TestDesktopSearch::resultsStillMeanTheSameLater()
{
    EntryList services, terms;
    fillList(services, {"Web=http://a/?q=|s|", "Maps=http://m/|s|"});
    fillList(terms, {"red car"});
    const QList<DesktopSearchResult> results
            = DesktopSearch(services, terms, QStringLiteral("red"));
    QCOMPARE(results.size(), 3);
    for (const DesktopSearchResult &result : results) {
        const auto again = DescribeDesktopResult(services, result.id);
        QVERIFY2(again, qPrintable(result.id));
        QCOMPARE(again->title, result.title);
        QCOMPARE(again->description, result.description);
    }
    // The service left the list between the query and the click: the result is gone too.
    services.Remove(1);
    QVERIFY(!DescribeDesktopResult(services, QStringLiteral("service:Maps=red")));
    QVERIFY(DescribeDesktopResult(services, QStringLiteral("term:red car")));
    services.Clear();
    QVERIFY(!DescribeDesktopResult(services, QStringLiteral("term:red car")));
}

void TestDesktopSearch::requestOfAResult_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("expected"); // service|term, or "none"
    QTest::newRow("service") << QStringLiteral("service:Web=red car")
                             << QStringLiteral("Web|red car");
    QTest::newRow("text with =") << QStringLiteral("service:Web=a=b") << QStringLiteral("Web|a=b");
    QTest::newRow("term") << QStringLiteral("term:x=y") << QStringLiteral("|x=y");
    QTest::newRow("blank term") << QStringLiteral("term: ") << QStringLiteral("none");
    QTest::newRow("no name") << QStringLiteral("service:=x") << QStringLiteral("none");
    QTest::newRow("no text") << QStringLiteral("service:Web") << QStringLiteral("none");
    QTest::newRow("foreign") << QStringLiteral("file:///etc/passwd") << QStringLiteral("none");
    QTest::newRow("name over the limit")
            << "service:" + QString(kLongestServiceName + 1, u'n') + "=x" << QStringLiteral("none");
    QTest::newRow("term over the limit")
            << "term:" + QString(kLongestDesktopSearchText + 1, u't') << QStringLiteral("none");
}

void TestDesktopSearch::requestOfAResult()
{
    QFETCH(QString, id);
    QFETCH(QString, expected);
    const std::optional<CommandLine> request = DesktopResultRequest(id);
    const QString got = request ? request->serviceName.value_or(QString()) + u'|' + *request->term
                                : QStringLiteral("none");
    QCOMPARE(got, expected);
    if (request) {
        QCOMPARE(request->job, CommandLine::Job::Windows);
        QVERIFY(!request->add && !request->quickLaunch && request->servicesFile.isEmpty());
    }
}

QTEST_APPLESS_MAIN(TestDesktopSearch)
#include "tst_desktopsearch.moc"
