// SPDX-License-Identifier: GPL-3.0-or-later
// Other programs' search addresses as service strings: the fields of each program mapped to the
// placeholder and its options, and what cannot become a service, with its reason.
#include "Error.h"
#include "Interop.h"
#include "Readers.h"
#include "Search.h"
#include "ServiceAddress.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace Interop;

class TestInteropAddress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openSearchTemplate_data();
    void openSearchTemplate();
    void chromiumKeyword_data();
    void chromiumKeyword();
    void firefoxKeyword_data();
    void firefoxKeyword();
    void firefoxEngine_data();
    void firefoxEngine();
    void kdeShortcut_data();
    void kdeShortcut();
    void openSearchDocument_data();
    void openSearchDocument();
    void siteSearch();
    void lineSafety_data();
    void lineSafety();
    void oneRuleForGoImportAndExport_data();
    void oneRuleForGoImportAndExport();
    void nameOverTheLimit();
    void formEngines_data();
    void formEngines();
};

void TestInteropAddress::openSearchTemplate_data()
{
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("charset"); // the option: empty for UTF-8
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("hasTerm");
    const QString cp = QStringLiteral("windows-1251");
    QTest::newRow("query") << "http://h/s?q={searchTerms}&x=1"
                           << ""
                           << "http://h/s?q=|s|&x=1" << true;
    QTest::newRow("path") << "https://h/wiki/{searchTerms}/v"
                          << ""
                          << "https://h/wiki/|s|/v" << true;
    QTest::newRow("twice") << "http://h/?a={searchTerms}&b={searchTerms}"
                           << ""
                           << "http://h/?a=|s|&b=|s|" << true;
    QTest::newRow("legacy charset") << "http://h/?q={searchTerms}&ie={inputEncoding}" << cp
                                    << "http://h/?q=|s:windows-1251|&ie=windows-1251" << true;
    QTest::newRow("output encoding, language")
            << "http://h/?q={searchTerms}&oe={outputEncoding}&hl={language}"
            << ""
            << "http://h/?q=|s|&oe=UTF-8&hl=*" << true;
    QTest::newRow("paging fields")
            << "http://h/?q={searchTerms}&n={count}&s={startIndex}&p={startPage}"
            << ""
            << "http://h/?q=|s|&n=20&s=1&p=1" << true;
    QTest::newRow("optional fields dropped") << "http://h/?q={searchTerms}&p={startPage?}&z={zz?}"
                                             << ""
                                             << "http://h/?q=|s|&p=&z=" << true;
    QTest::newRow("unknown field kept") << "http://h/?q={searchTerms}&z={zz}"
                                        << ""
                                        << "http://h/?q=|s|&z={zz}" << true;
    QTest::newRow("Chromium's Google")
            << "{google:baseURL}search?q={searchTerms}&{google:RLZ}{google:"
               "originalQueryForSuggestion}"
               "{google:assistedQueryStats}{google:searchFieldtrialParameter}{google:language}"
               "{google:prefetchSource}{google:searchClient}{google:sourceId}{google:searchSource}"
               "{google:contextualSearchVersion}ie={inputEncoding}"
            << ""
            << "https://www.google.com/search?q=|s|&ie=UTF-8" << true;
    QTest::newRow("Chromium's Yahoo path wildcard")
            << "https://search.yahoo.com/"
               "search{google:pathWildcard}?ei={inputEncoding}&p={searchTerms}"
            << ""
            << "https://search.yahoo.com/search?ei=UTF-8&p=|s|" << true;
    QTest::newRow("other prefixes dropped")
            << "http://h/?{yandex:searchPath}q={searchTerms}{mailru:referralID}"
            << ""
            << "http://h/?q=|s|" << true;
    QTest::newRow("no term") << "http://h/?q={count}"
                             << ""
                             << "http://h/?q=20" << false;
    QTest::newRow("a stored |s| is not a placeholder") << "http://h/a|s|b?q={searchTerms}"
                                                       << ""
                                                       << "http://h/a%7Cs|b?q=|s|" << true;
    QTest::newRow("a stored |s: is not a placeholder") << "http://h/?x=|s:raw|&q={searchTerms}"
                                                       << ""
                                                       << "http://h/?x=%7Cs:raw|&q=|s|" << true;
    QTest::newRow("|s just before the term") << "http://h/x|s{searchTerms}"
                                             << ""
                                             << "http://h/x%7Cs|s|" << true;
    QTest::newRow("percent escapes kept") << "http://h/%E4%B8%AD?q={searchTerms}&x=a+b%26c"
                                          << ""
                                          << "http://h/%E4%B8%AD?q=|s|&x=a+b%26c" << true;
}

void TestInteropAddress::openSearchTemplate()
{
    QFETCH(QString, templ);
    QFETCH(QString, charset);
    QFETCH(QString, address);
    QFETCH(bool, hasTerm);
    const TemplateAddress result = FillTemplate(
            templ, Placeholder(charset), charset.isEmpty() ? QStringLiteral("UTF-8") : charset);
    QCOMPARE(result.address, address);
    QCOMPARE(result.hasTerm, hasTerm);
}

void TestInteropAddress::chromiumKeyword_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("encodings");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reason"); // a part of the skip reason; empty: importable
    QTest::newRow("first encoding") << "http://h/?q={searchTerms}&ie={inputEncoding}"
                                    << "windows-1251;UTF-8"
                                    << "http://h/?q=|s:windows-1251|&ie=windows-1251"
                                    << "";
    QTest::newRow("tis-620 is windows-874") << "http://h/?q={searchTerms}&ie={inputEncoding}"
                                            << "TIS-620"
                                            << "http://h/?q=|s:windows-874|&ie=windows-874"
                                            << "";
    QTest::newRow("x-user-defined") << "http://h/?q={searchTerms}"
                                    << "x-user-defined"
                                    << "http://h/?q=|s:x-user-defined|"
                                    << "";
    QTest::newRow("encoding Chromium does not know falls back to UTF-8")
            << "http://h/?q={searchTerms}&ie={inputEncoding}"
            << "x-bogus"
            << "http://h/?q=|s|&ie=UTF-8"
            << "";
    QTest::newRow("chrome: address") << "chrome://bookmarks/?q={searchTerms}"
                                     << ""
                                     << "chrome://bookmarks/?q=|s|"
                                     << "a chrome: address";
    QTest::newRow("file: address") << "file:///tmp/{searchTerms}"
                                   << ""
                                   << "file:///tmp/|s|"
                                   << "a file: address";
    QTest::newRow("no place for the term") << "https://h/"
                                           << ""
                                           << "https://h/"
                                           << "no place for the search term";
    QTest::newRow("no host") << "http:/{searchTerms}"
                             << ""
                             << "http:/|s|"
                             << "no valid host";
    QTest::newRow("relative") << "/search?q={searchTerms}"
                              << ""
                              << "/search?q=|s|"
                              << "not an http or https address";
}

void TestInteropAddress::chromiumKeyword()
{
    QFETCH(QString, url);
    QFETCH(QString, encodings);
    QFETCH(QString, address);
    QFETCH(QString, reason);
    const FoundService found
            = ChromiumKeyword(QStringLiteral("Chromium: Default"), QStringLiteral("Web Data"),
                              QStringLiteral("Engine"), url, encodings);
    QCOMPARE(found.address, address);
    QCOMPARE(found.importable(), reason.isEmpty());
    QVERIFY2(found.skipReason.contains(reason), qPrintable(found.skipReason));
}

void TestInteropAddress::firefoxKeyword_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("postData");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reason");
    QTest::newRow("%s") << "http://h/?q=%s&x=1"
                        << ""
                        << ""
                        << "http://h/?q=|s|&x=1"
                        << "";
    QTest::newRow("%S") << "http://h/raw/%S"
                        << ""
                        << ""
                        << "http://h/raw/|s:raw|"
                        << "";
    QTest::newRow("both") << "http://h/%S?q=%s"
                          << ""
                          << ""
                          << "http://h/|s:raw|?q=|s|"
                          << "";
    QTest::newRow("remembered charset") << "http://h/?q=%s"
                                        << ""
                                        << "KOI8-R"
                                        << "http://h/?q=|s:KOI8-R|"
                                        << "";
    QTest::newRow("remembered iso-8859-11") << "http://h/?q=%s"
                                            << ""
                                            << "iso-8859-11"
                                            << "http://h/?q=|s:windows-874|"
                                            << "";
    QTest::newRow("remembered UTF-8") << "http://h/?q=%s"
                                      << ""
                                      << "UTF-8"
                                      << "http://h/?q=|s|"
                                      << "";
    QTest::newRow("mozcharset wins") << "http://h/?q=%s&mozcharset=windows-1251"
                                     << ""
                                     << "KOI8-R"
                                     << "http://h/?q=|s:windows-1251|"
                                     << "";
    QTest::newRow("raw ignores the charset") << "http://h/?q=%S"
                                             << ""
                                             << "KOI8-R"
                                             << "http://h/?q=|s:raw|"
                                             << "";
    QTest::newRow("bookmarklet") << "javascript:alert('%s')"
                                 << ""
                                 << ""
                                 << "javascript:alert('|s|')"
                                 << "javascript:";
    QTest::newRow("keyword without %s") << "http://h/news"
                                        << ""
                                        << ""
                                        << "http://h/news"
                                        << "no place";
    QTest::newRow("escaped percent is no field") << "http://h/?a=%25s&q=%s"
                                                 << ""
                                                 << ""
                                                 << "http://h/?a=%25s&q=|s|"
                                                 << "";
}

void TestInteropAddress::firefoxKeyword()
{
    QFETCH(QString, url);
    QFETCH(QString, postData);
    QFETCH(QString, charset);
    QFETCH(QString, address);
    QFETCH(QString, reason);
    const FoundService found = FirefoxKeyword(QStringLiteral("Firefox"), QStringLiteral("places"),
                                              QStringLiteral("Bookmark"), url, postData, charset);
    QCOMPARE(found.address, address);
    QCOMPARE(found.importable(), reason.isEmpty());
    QVERIFY2(found.skipReason.contains(reason), qPrintable(found.skipReason));
}

// Engines as search.json.mozlz4 holds them: the term as {searchTerms} or as %s (where no
// {searchTerms} is), the charset as the engine's queryCharset, named as browsers name it.
void TestInteropAddress::firefoxEngine_data()
{
    QTest::addColumn<QByteArray>("engine");
    QTest::addColumn<QString>("address"); // empty: not importable
    // clang-format off
    QTest::newRow("%s in the template") << QByteArray(R"({"_urls": [{"template": "http://h/?q=%s&x=1"}]})") << "http://h/?q=|s|&x=1";
    QTest::newRow("%s in a parameter") << QByteArray(R"({"_urls": [{"template": "http://h/f", "params": [{"name": "q", "value": "%s"}]}]})") << "http://h/f?q=|s|";
    QTest::newRow("%s in the path") << QByteArray(R"({"_urls": [{"template": "http://h/w/%s"}], "queryCharset": "windows-1251"})") << "http://h/w/|s:windows-1251|";
    QTest::newRow("%s beside {searchTerms} is text") << QByteArray(R"({"_urls": [{"template": "http://h/?q={searchTerms}&f=%s"}]})") << "http://h/?q=|s|&f=%s";
    QTest::newRow("tis-620") << QByteArray(R"({"_urls": [{"template": "http://h/?q={searchTerms}&ie={inputEncoding}"}], "queryCharset": "tis-620"})") << "http://h/?q=|s:windows-874|&ie=tis-620";
    QTest::newRow("x-user-defined") << QByteArray(R"({"_urls": [{"template": "http://h/?q={searchTerms}"}], "queryCharset": "x-user-defined"})") << "http://h/?q=|s:x-user-defined|";
    QTest::newRow("utf-16 sends UTF-8") << QByteArray(R"({"_urls": [{"template": "http://h/?q={searchTerms}&ie={inputEncoding}"}], "queryCharset": "utf-16"})") << "http://h/?q=|s|&ie=UTF-8";
    QTest::newRow("unknown charset sends UTF-8") << QByteArray(R"({"_urls": [{"template": "http://h/?q={searchTerms}&ie={inputEncoding}"}], "queryCharset": "|s:raw|"})") << "http://h/?q=|s|&ie=UTF-8";
    QTest::newRow("no term") << QByteArray(R"({"_urls": [{"template": "http://h/?q=%25s"}]})") << "";
    // clang-format on
}

void TestInteropAddress::firefoxEngine()
{
    QFETCH(QByteArray, engine);
    QFETCH(QString, address);
    const QJsonDocument search = QJsonDocument::fromJson("{\"engines\": [" + engine + "]}");
    QVERIFY(!search.isNull());
    const QList<FoundService> found
            = FirefoxEngines(search, QStringLiteral("search.json.mozlz4"), QStringLiteral("Firefox"));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().importable(), !address.isEmpty());
    if (!address.isEmpty())
        QCOMPARE(found.first().address, address);
}

void TestInteropAddress::kdeShortcut_data()
{
    QTest::addColumn<QByteArray>("lines"); // of the [Desktop Entry] group, as in the file
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reason");
    QTest::newRow("\\{@}") << QByteArray(R"(Query=https://h/?q=\\{@}&t=kde)")
                           << "https://h/?q=|s|&t=kde"
                           << "";
    QTest::newRow("\\{0}") << QByteArray(R"(Query=https://h/w/\\{0})") << "https://h/w/|s|"
                           << "";
    QTest::newRow("cp 1251") << QByteArray("Charset=cp 1251\nQuery=https://h/?s=\\\\{@}")
                             << "https://h/?s=|s:windows-1251|"
                             << "";
    QTest::newRow("\\{1}") << QByteArray(R"(Query=https://h/\\{1}.html)") << "https://h/\\{1}.html"
                           << "several words";
    QTest::newRow("\\{1} and \\{2}")
            << QByteArray(R"(Query=https://h/?a=\\{1}&b=\\{2})") << "https://h/?a=\\{1}&b=\\{2}"
            << "(\\{1} \\{2})";
    QTest::newRow("named field") << QByteArray(R"(Query=https://h/?q=\\{@}&site=\\{site})")
                                 << "https://h/?q=|s|&site=\\{site}"
                                 << "named fields";
    QTest::newRow("range") << QByteArray(R"(Query=https://h/?q=\\{2-})") << "https://h/?q=\\{2-}"
                           << "\\{2-}";
    QTest::newRow("deleted") << QByteArray("Hidden=true\nQuery=https://h/?q=\\\\{@}")
                             << "https://h/?q=\\{@}"
                             << "deleted";
    QTest::newRow("no field") << QByteArray("Query=https://h/") << "https://h/"
                              << "no place";
}

void TestInteropAddress::kdeShortcut()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, address);
    QFETCH(QString, reason);
    const QByteArray content = "[Desktop Entry]\nType=Service\nName=Shortcut\nKeys=k\n" + lines
            + "\n[Other]\nQuery=https://wrong/\\\\{@}\n";
    const FoundService found
            = KdeShortcut(content, QStringLiteral("k.desktop"), QStringLiteral("KDE"));
    QCOMPARE(found.name, QStringLiteral("Shortcut"));
    QCOMPARE(found.address, address);
    QCOMPARE(found.importable(), reason.isEmpty());
    QVERIFY2(found.skipReason.contains(reason), qPrintable(found.skipReason));
}

void TestInteropAddress::openSearchDocument_data()
{
    QTest::addColumn<QString>("body"); // inside <OpenSearchDescription>
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reason");
    const QString site = QStringLiteral("https://site.example/dir/os.xml");
    QTest::newRow("get") << R"(<Url type="text/html" template="https://h/?q={searchTerms}"/>)"
                         << ""
                         << "https://h/?q=|s|"
                         << "";
    QTest::newRow("input encoding")
            << R"(<InputEncoding>EUC-JP</InputEncoding>)"
               R"(<Url type="text/html" template="https://h/?q={searchTerms}"/>)"
            << ""
            << "https://h/?q=|s:EUC-JP|"
            << "";
    QTest::newRow("first input encoding")
            << R"(<InputEncoding>GBK</InputEncoding><InputEncoding>UTF-8</InputEncoding>)"
               R"(<Url type="text/html" template="https://h/?q={searchTerms}"/>)"
            << ""
            << "https://h/?q=|s:GBK|"
            << "";
    QTest::newRow("params")
            << R"(<Url type="text/html" template="https://h/s?x=1"><Param name="q" value="{searchTerms}"/>)"
               R"(<Parameter name="n" value="{count}"/></Url>)"
            << ""
            << "https://h/s?x=1&q=|s|&n=20"
            << "";
    QTest::newRow("params before the fragment")
            << R"(<Url type="text/html" template="https://h/s#top">)"
               R"(<Param name="q" value="{searchTerms}"/></Url>)"
            << ""
            << "https://h/s?q=|s|#top"
            << "";
    QTest::newRow("other method") << R"(<Url type="text/html" method="PUT" template="https://h/s">)"
                                     R"(<Param name="q" value="{searchTerms}"/></Url>)"
                                  << ""
                                  << "https://h/s"
                                  << "by PUT";
    QTest::newRow("results rel chosen")
            << R"(<Url type="text/html" rel="suggestions" template="https://h/x?q={searchTerms}"/>)"
               R"(<Url type="text/html" rel="results" template="https://h/r?q={searchTerms}"/>)"
            << ""
            << "https://h/r?q=|s|"
            << "";
    QTest::newRow("no text/html")
            << R"(<Url type="application/rss+xml" template="https://h/?q={searchTerms}"/>)"
            << ""
            << ""
            << "no address for web pages";
    QTest::newRow("root-relative template")
            << R"(<Url type="text/html" template="/search?q={searchTerms}"/>)" << site
            << "https://site.example/search?q=|s|"
            << "";
    QTest::newRow("relative template")
            << R"(<Url type="text/html" template="find?q={searchTerms}"/>)" << site
            << "https://site.example/dir/find?q=|s|"
            << "";
    // clang-format off
    QTest::newRow("script template") << R"x(<Url type="text/html" template="javascript:alert({searchTerms})"/>)x" << site << "javascript:alert(|s|)" << "a javascript: address";
    QTest::newRow("data template") << R"(<Url type="text/html" template="data:text/html,{searchTerms}"/>)" << site << "data:text/html,|s|" << "a data: address";
    // clang-format on
    QTest::newRow("relative without a base")
            << R"(<Url type="text/html" template="/search?q={searchTerms}"/>)"
            << ""
            << "/search?q=|s|"
            << "not an http or https address";
}

void TestInteropAddress::openSearchDocument()
{
    QFETCH(QString, body);
    QFETCH(QString, base);
    QFETCH(QString, address);
    QFETCH(QString, reason);
    const QByteArray document
            = R"(<?xml version="1.0"?><OpenSearchDescription )"
              R"(xmlns="http://a9.com/-/spec/opensearch/1.1/"><ShortName>Site</ShortName>)"
            + body.toUtf8() + "</OpenSearchDescription>";
    const FoundService found = OpenSearchDocument(document, QStringLiteral("os.xml"),
                                                  QStringLiteral("OpenSearch"), base);
    QCOMPARE(found.name, QStringLiteral("Site"));
    QCOMPARE(found.address, address);
    QCOMPARE(found.importable(), reason.isEmpty());
    QVERIFY2(found.skipReason.contains(reason), qPrintable(found.skipReason));
}

void TestInteropAddress::siteSearch()
{
    // "Add This Site's Search": the description the page links, fetched from the site.
    const QString from = QStringLiteral("https://site.example/os.xml");
    const FoundService found = OpenSearchService(
            R"(<OpenSearchDescription xmlns="http://a9.com/-/spec/opensearch/1.1/">)"
            R"(<ShortName>Site</ShortName><Url type="text/html" template="/s?q={searchTerms}"/>)"
            R"(</OpenSearchDescription>)",
            from);
    QCOMPARE(found.line(), QStringLiteral("Site=https://site.example/s?q=|s|"));
    QCOMPARE(found.file, from);
    try {
        OpenSearchService("<html><body>not found</body></html>", from);
        QFAIL("a page was read as a description");
    } catch (const CommandError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Cannot read \"%1\": it is not an OpenSearch "
                                "description (its root element is <html>)")
                         .arg(from));
    }
}

void TestInteropAddress::lineSafety_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "Search"
                           << "https://h/?q={searchTerms}"
                           << "Search=https://h/?q=|s|";
    QTest::newRow("= in the name") << "a=b"
                                   << "https://h/?q={searchTerms}"
                                   << "a-b=https://h/?q=|s|";
    QTest::newRow("line ends in the name") << "two\r\nlines\t here"
                                           << "https://h/?q={searchTerms}"
                                           << "two lines here=https://h/?q=|s|";
    QTest::newRow("no name: the host") << "  "
                                       << "https://host.example/?q={searchTerms}"
                                       << "host.example=https://host.example/?q=|s|";
    QTest::newRow("line ends and tabs dropped from the address")
            << "S"
            << "https://h/?q=\r\n{searchTerms}\t&x=1"
            << "S=https://h/?q=|s|&x=1";
    QTest::newRow("NUL and other controls encoded")
            << "S" << QStringLiteral("https://h/?a=%1b\x1f&q={searchTerms}").arg(QChar(0))
            << "S=https://h/?a=%00b%1F&q=|s|";
    QTest::newRow("blanks at the ends") << "S"
                                        << "  https://h/?q={searchTerms}  "
                                        << "S=https://h/?q=|s|";
}

void TestInteropAddress::lineSafety()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, line);
    const FoundService found = ChromiumKeyword(QStringLiteral("Chromium"), QStringLiteral("f"),
                                               name, address, QString());
    QVERIFY2(found.importable(), qPrintable(found.skipReason));
    QCOMPARE(found.line(), line);
}

// Go, import and export take a service by one rule: http and https only (an address without a
// scheme is http, and written so), a valid host, at most kLongestAddress characters.
void TestInteropAddress::oneRuleForGoImportAndExport_data()
{
    QTest::addColumn<QString>("serviceString");
    QTest::addColumn<QString>("written"); // as import and export write it; empty when refused
    QTest::addColumn<QString>("reason");  // what all three say when they refuse it
    const QString huge = QStringLiteral("https://h/?q=|s|&") + QString(kLongestAddress, u'a');
    // clang-format off
    QTest::newRow("https")        << "https://h.example/?q=|s|" << "https://h.example/?q=|s|"    << "";
    QTest::newRow("no scheme")    << "h.example/find?q=|s|"     << "http://h.example/find?q=|s|" << "";
    QTest::newRow("term in host") << "https://|s|.example/"     << "https://|s|.example/"        << "";
    QTest::newRow("javascript:")  << "javascript:alert(|s|)"    << "" << "opens a javascript: address";
    QTest::newRow("file:")        << "file:///etc/passwd?|s|"   << "" << "opens a file: address";
    QTest::newRow("no host")      << "evil=|s|"                 << "" << "which names no valid host";
    QTest::newRow("local path")   << "/etc/passwd?|s|"          << "" << "not an http or https address";
    QTest::newRow("over 2 MB")    << huge                       << "" << "makes an address of";
    // clang-format on
}

void TestInteropAddress::oneRuleForGoImportAndExport()
{
    QFETCH(QString, serviceString);
    QFETCH(QString, written);
    QFETCH(QString, reason);
    const QByteArray line = "S=" + serviceString.toUtf8();
    QString goSays;
    try {
        goSays = GoAddressFor(line, QStringLiteral("x"));
    } catch (const CommandError &error) {
        goSays = error.message();
    }
    const FoundService found = MakeService({}, {}, QStringLiteral("S"), serviceString, true);
    QTemporaryDir folder;
    const ExportReport report = ExportServices({line}, ExportFormat::Kde, folder.path());
    QFile file(report.written.value(0));
    const QByteArray exported = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (written.isEmpty()) {
        for (const QString &said : {goSays, found.skipReason, report.skipped.value(0)})
            QVERIFY2(said.contains(reason), qPrintable(said));
        QVERIFY(exported.isEmpty());
        return;
    }
    QCOMPARE(goSays, QString(written).replace(QStringLiteral("|s|"), QStringLiteral("x")));
    QCOMPARE(found.skipReason + found.address, written);
    written.replace(QStringLiteral("|s|"), QStringLiteral("\\\\{@}")); // KDE's field
    QVERIFY(exported.contains("\nQuery=" + written.toUtf8() + '\n'));
}

void TestInteropAddress::nameOverTheLimit()
{
    // Nobody reads such a name, and it swelled every reply of the desktop's search.
    const FoundService found = MakeService({}, {}, QString(kLongestServiceName + 1, u'n'),
                                           QStringLiteral("https://h/?q=|s|"), true);
    QCOMPARE(found.skipReason, QStringLiteral("has a name of more than 1000 characters"));
}

// Engines that send their search as a form (POST): their parameters become the service's body.
void TestInteropAddress::formEngines_data()
{
    QTest::addColumn<QString>("reader"); // firefox (an engine's JSON), opensearch, chromium
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("extra"); // Chromium's post params
    QTest::addColumn<QString>("search"); // the line after the name; or a part of the skip reason
    // clang-format off
    QTest::newRow("Firefox, %s, charset") << "firefox" << R"({"_urls": [{"template": "http://h/p?a=1", "method": "post", "params": [{"name": "q", "value": "%s"}]}], "queryCharset": "windows-1251"})" << "" << "http://h/p?a=1\tpost=q=|s:windows-1251|";
    QTest::newRow("OpenSearch, charset") << "opensearch" << R"(<InputEncoding>Shift_JIS</InputEncoding><Url type="text/html" method="post" template="https://h/s"><Param name="q" value="{searchTerms}"/><Param name="n" value="{count}"/></Url>)" << "" << "https://h/s\tpost=q=|s:Shift_JIS|&n=20";
    QTest::newRow("Chromium") << "chromium" << "https://h/s" << "q={searchTerms},ie={inputEncoding}, s = a b&c ,x={x}y" << "https://h/s\tpost=q=|s|&ie=UTF-8&s=a+b%26c&x=%7Bx%7Dy";
    QTest::newRow("Chromium, field without =") << "chromium" << "https://h/s" << "q={searchTerms},flag" << "form fields cannot be read";
    // clang-format on
}

void TestInteropAddress::formEngines()
{
    QFETCH(QString, reader);
    QFETCH(QString, input);
    QFETCH(QString, extra);
    QFETCH(QString, search);
    const QString name = QStringLiteral("Form");
    const QByteArray document = "<OpenSearchDescription><ShortName>Form</ShortName>"
            + input.toUtf8() + "</OpenSearchDescription>";
    const auto engines = QJsonDocument::fromJson("{\"engines\": [" + input.toUtf8() + "]}");
    const FoundService found = reader == u"firefox"
            ? FirefoxEngines(engines, name, name).value(0)
            : reader == u"chromium" ? ChromiumKeyword(name, name, name, input, {}, extra)
                                    : OpenSearchDocument(document, name, name, {});
    QCOMPARE(found.importable() ? found.line().mid(found.name.size() + 1) : search, search);
    QVERIFY2(found.importable() || found.skipReason.contains(search), qPrintable(found.skipReason));
}

QTEST_APPLESS_MAIN(TestInteropAddress)
#include "tst_interopaddress.moc"
