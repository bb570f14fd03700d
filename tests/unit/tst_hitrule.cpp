// SPDX-License-Identifier: GPL-3.0-or-later
// What a hit looks like: the five verdicts of a service's found=, missing= and blocked= rules
// judged against a page (its status, its final address, its text as PageText reads the body, its
// markup), and the messages of rules that do not parse.
#include "Error.h"
#include "HitRule.h"
#include "PageText.h"
#include "ServiceLine.h"

#include <QTest>

class TestHitRule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void judge_data();
    void judge();
};

void TestHitRule::judge_data()
{
    QTest::addColumn<QString>("found");   // "-": no found= rule
    QTest::addColumn<QString>("missing"); // "-": no missing= rule
    QTest::addColumn<int>("status");      // -1: the load failed ("Connection refused")
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("expected"); // the result, or the message of a rule in error
    const QString user = QStringLiteral("status:200&!text:No such user");
    const QString nouser = QStringLiteral("status:404|text:No such user");
    const QString a = QStringLiteral("http://a/u/ada");
    const QByteArray html = "text/html";
    // clang-format off
    QTest::newRow("hit") << user << nouser << 200 << a << QByteArray("<h1>Ada</h1>") << html << "found";
    QTest::newRow("miss by status") << user << nouser << 404 << a << QByteArray("Gone") << html << "not found";
    QTest::newRow("miss by text, status 200") << user << nouser << 200 << a << QByteArray("<p>No such\n  user</p>") << html << "not found";
    QTest::newRow("neither holds") << user << nouser << 410 << a << QByteArray("oops") << html << "unknown";
    QTest::newRow("server error") << user << nouser << 500 << a << QByteArray("oops") << html << "error";
    QTest::newRow("bad gateway, found rule holds") << "!status:404" << "-" << 502 << a << QByteArray() << html << "error";
    QTest::newRow("403 refuses") << user << nouser << 403 << a << QByteArray("Forbidden") << html << "blocked";
    QTest::newRow("429 never found") << "!status:404" << "-" << 429 << a << QByteArray() << html << "blocked";
    QTest::newRow("503 never found") << "status:503" << "-" << 503 << a << QByteArray() << html << "blocked";
    QTest::newRow("missing rule names 403") << "status:200" << "status:403" << 403 << a << QByteArray() << html << "not found";
    QTest::newRow("missing rule names 403, found holds too") << "status:403|text:Ada" << "status:403" << 403 << a << QByteArray("<h1>Ada</h1>") << html << "unknown";
    QTest::newRow("negated status names none") << "status:200" << "!status:200" << 403 << a << QByteArray() << html << "blocked";
    QTest::newRow("challenge page answers 200") << "status:200\tblocked=text:Checking your browser" << "-" << 200 << a << QByteArray("<h1>Checking your   browser</h1>") << html << "blocked";
    QTest::newRow("no challenge") << "status:200\tblocked=text:Checking your browser" << "-" << 200 << a << QByteArray("<h1>Ada</h1>") << html << "found";
    QTest::newRow("html: in markup") << "html:<div class=\"profile\">" << "-" << 200 << a << QByteArray("<div class=\"profile\">x</div>") << html << "found";
    QTest::newRow("markup is no text") << "text:profile" << "-" << 200 << a << QByteArray("<div class=\"profile\">x</div>") << html << "unknown";
    QTest::newRow("the term in a text") << "text:Profile of \\|s\\|" << "-" << 200 << a << QByteArray("<h1>Profile of ada</h1>") << html << "found";
    QTest::newRow("another's name") << "text:Profile of \\|s\\|" << "-" << 200 << a << QByteArray("<h1>Profile of bob</h1>") << html << "unknown";
    QTest::newRow("html: keeps blanks") << "html:a  b" << "-" << 200 << a << QByteArray("<p>a b</p>") << html << "unknown";
    QTest::newRow("both hold") << "status:200" << "text:gone" << 200 << a << QByteArray("gone") << html << "unknown";
    QTest::newRow("no rules") << "-" << "-" << 200 << a << QByteArray("x") << html << "unknown";
    QTest::newRow("load failed") << user << nouser << -1 << a << QByteArray() << html << "error";
    QTest::newRow("& before |: c") << "text:a&text:b|text:c" << "-" << 200 << a << QByteArray("c") << html << "found";
    QTest::newRow("& before |: a alone") << "text:a&text:b|text:c" << "-" << 200 << a << QByteArray("a") << html << "unknown";
    QTest::newRow("!status") << "!status:404" << "-" << 200 << a << QByteArray() << html << "found";
    QTest::newRow("url") << "url:/u/ada" << "url:/login" << 200 << a << QByteArray() << html << "found";
    QTest::newRow("!url, sent to log in") << "!url:/login" << "url:/login" << 200 << "http://a/login?next=1" << QByteArray() << html << "not found";
    QTest::newRow("script is no text") << "text:secret" << "-" << 200 << a << QByteArray("<script>var s='secret'</script><style>p{}</style><!-- secret --><p>x</p>") << html << "unknown";
    QTest::newRow("title is text") << "text:Ada - Forum" << "-" << 200 << a << QByteArray("<title>Ada - Forum</title>") << html << "found";
    QTest::newRow("references, inline tags, blanks") << "text:Ada \\& Co \u00e9t\u00e9" << "-" << 200 << a << QByteArray("<b>Ada</b> &amp;\n Co &eacute;t&#xE9;") << html << "found";
    QTest::newRow("blocks apart") << "text:No such" << "-" << 200 << a << QByteArray("<div>No</div><div>such</div>") << html << "found";
    QTest::newRow("quoted > in a tag") << "text:x" << "text:y>" << 200 << a << QByteArray("<a title=\"y>\">x</a>") << html << "found";
    QTest::newRow("charset of the header") << QStringLiteral(u"text:\u041f\u0440\u0438\u0432\u0435\u0442") << "-" << 200 << a << QByteArray("<p>\xCF\xF0\xE8\xE2\xE5\xF2</p>") << QByteArray("text/html; charset=windows-1251") << "found";
    QTest::newRow("charset of the page") << QStringLiteral(u"text:\u041c\u0438\u0440") << "-" << 200 << a << QByteArray("<meta charset=\"koi8-r\"><p>\xED\xC9\xD2</p>") << html << "found";
    QTest::newRow("JSON is not markup") << "text:\"name\":\"<b>" << "-" << 200 << a << QByteArray("{\"name\":\"<b>\"}") << QByteArray("application/json") << "found";
    QTest::newRow("escaped bar") << "text:a\\|b" << "-" << 200 << a << QByteArray("a|b") << html << "found";
    QTest::newRow("empty rule") << "" << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" is empty";
    QTest::newRow("& at the end") << "status:200&" << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" holds an empty condition (a \"|\" or \"&\" at an end, or two in a row)";
    QTest::newRow("unknown kind") << "status:200|stat:404" << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" holds \"stat:404\", which is no condition: write status:CODE, text:WORDS, html:PART or url:PART, each may start with \"!\"";
    QTest::newRow("no colon") << "!text" << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" holds \"!text\", which is no condition: write status:CODE, text:WORDS, html:PART or url:PART, each may start with \"!\"";
    QTest::newRow("status out of range") << "-" << "!status:99" << 200 << a << QByteArray() << html << "The missing rule of the service \"Forum\" holds \"!status:99\": \"99\" is no HTTP status (100 to 599)";
    QTest::newRow("status not a number") << "status:2xx" << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" holds \"status:2xx\": \"2xx\" is no HTTP status (100 to 599)";
    QTest::newRow("text of blanks") << "text:  " << "-" << 200 << a << QByteArray() << html << "The found rule of the service \"Forum\" holds \"text:\", which looks for nothing";
    // clang-format on
}

void TestHitRule::judge()
{
    QFETCH(QString, found);
    QFETCH(QString, missing);
    QFETCH(int, status);
    QFETCH(QString, address);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, type);
    QFETCH(QString, expected);
    QString line = QStringLiteral("Forum=http://a/u/|s|");
    if (found != u"-")
        line += QStringLiteral("\tfound=") + found;
    if (missing != u"-")
        line += QStringLiteral("\tmissing=") + missing;
    PageOutcome page;
    if (status < 0) {
        page.error = QStringLiteral("Connection refused");
    } else {
        page.status = status;
        page.finalAddress = address;
        const PageContent content = ReadPage(body, type);
        page.text = content.text;
        page.markup = content.markup;
    }
    try {
        const HitVerdict verdict
                = HitRules::Of(ServiceLine(line.toUtf8()), QStringLiteral("Forum")).Judge(page, QStringLiteral("ada"));
        QCOMPARE(HitResultWord(verdict.result), expected);
        if (status < 0)
            QCOMPARE(verdict.reason, page.error);
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), expected);
    }
}

QTEST_APPLESS_MAIN(TestHitRule)
#include "tst_hitrule.moc"
