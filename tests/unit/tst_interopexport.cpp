// SPDX-License-Identifier: GPL-3.0-or-later
// Our services written as OpenSearch descriptions and KDE web shortcuts and read back, what
// those formats cannot hold, clashes with existing files, and the command-line jobs.
#include "Error.h"
#include "Interop.h"
#include "InteropCommands.h"
#include "Search.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kHome = QStringLiteral(GL_TEST_DATA "/browsers/home");
const QString kWebData = kHome + QStringLiteral("/.config/chromium/Default/Web Data");

// Services that both formats hold: charsets, the term in the path and twice, names that are no
// file names, a name used twice, text that XML and desktop files escape.
const QList<QByteArray> kServices = {
        "Plain=http://127.0.0.1:8080/search?q=|s|&lang=en",
        "Cyrillic=http://127.0.0.1:8080/cp1251?text=|s:windows-1251|",
        "Path=http://127.0.0.1:8080/p/|s|/view",
        "Twice=http://h.example/?a=|s|&b=|s|",
        "Wiki JP=http://127.0.0.1:8080/wiki/|s:Shift_JIS|?lang=*",
        "\xc3\x9cn\xc3\xaf"
        "code \xe2\x98\x83=https://h.example/?q=|s|",
        "Slash/Name: *?=https://h.example/s/?q=|s|",
        "Plain=https://other.example/?q=|s|#top",
        "Amp & <xml> \"q\"=https://h.example/?q=|s|&a=<b>&c=\"d\"",
        "..=https://dots.example/?q=|s|&path=C:\\dir",
};

QStringList sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

QStringList decoded(const QList<QByteArray> &lines)
{
    QStringList out;
    for (const QByteArray &line : lines)
        out << QString::fromUtf8(line);
    return out;
}

QStringList importedLines(const QString &folder)
{
    const ImportReport report = FindServices({ImportSource::Kind::Path, folder},
                                             UserFoldersUnder(QStringLiteral("/nowhere")));
    QStringList lines;
    for (const FoundService &service : report.services)
        lines << (service.importable() ? service.line() : service.name + u' ' + service.skipReason);
    return lines + report.problems;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestInteropExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void fileNames();
    void kdeShortcutFile();
    void openSearchBraces();
    void notExpressible_data();
    void notExpressible();
    void formServices_data();
    void formServices();
    void neverReplaces();
    void dropKnownServices();
    void importCommand();
    void importCommandBadSource();
    void importCommandBadList();
    void importCommandKeepsUtf16();
    void exportCommand();
};

void TestInteropExport::roundTrip_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::newRow("OpenSearch") << ExportFormat::OpenSearch;
    QTest::newRow("KDE") << ExportFormat::Kde;
}

void TestInteropExport::roundTrip()
{
    QFETCH(ExportFormat, format);
    QTemporaryDir folder;
    const ExportReport report
            = ExportServices(kServices, format, folder.filePath(QStringLiteral("out")));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.skipped, QStringList());
    QCOMPARE(report.written.size(), kServices.size());
    QCOMPARE(sorted(importedLines(folder.filePath(QStringLiteral("out")))),
             sorted(decoded(kServices)));
}

void TestInteropExport::fileNames()
{
    QTemporaryDir folder;
    const ExportReport report = ExportServices(kServices, ExportFormat::OpenSearch, folder.path());
    QStringList names;
    for (const QString &file : report.written)
        names << QFileInfo(file).fileName();
    QCOMPARE(sorted(names),
             sorted({"Plain.xml", "Cyrillic.xml", "Path.xml", "Twice.xml", "Wiki JP.xml",
                     QStringLiteral(u"\u00dcn\u00efcode _.xml"), "Slash_Name_ __.xml",
                     "Plain-2.xml", "Amp _ _xml_ _q_.xml", "service.xml"}));
    for (const QString &file : report.written)
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
}

void TestInteropExport::kdeShortcutFile()
{
    // As KDE's own files are written: the query with \{@} (its backslash doubled in the file),
    // a keyword of its own for each, and the charset.
    QTemporaryDir folder;
    const ExportReport report = ExportServices({"Cyrillic=http://h.example/?text=|s:cp1251|",
                                                "Cyrillic Two=http://h.example/?t=|s|",
                                                "cyrillic=http://h.example/?x=|s|"},
                                               ExportFormat::Kde, folder.path());
    QCOMPARE(report.written.size(), 3);
    QCOMPARE(
            fileBytes(folder.filePath(QStringLiteral("Cyrillic.desktop"))),
            QByteArray(
                    "[Desktop Entry]\nType=Service\nName=Cyrillic\n"
                    "Query=http://h.example/?text=\\\\{@}\nKeys=cyrillic\nCharset=windows-1251\n"));
    QVERIFY(fileBytes(folder.filePath(QStringLiteral("Cyrillic Two.desktop")))
                    .contains("\nKeys=cyrillictwo\n"));
    QVERIFY(fileBytes(folder.filePath(QStringLiteral("cyrillic-2.desktop")))
                    .contains("\nKeys=cyrillic-2\n"));
}

void TestInteropExport::openSearchBraces()
{
    // Text a browser would fill in as one of its fields is written percent-encoded.
    QTemporaryDir folder;
    ExportServices({"Braces=https://h.example/?q=|s|&n={count}&x={a}b}"}, ExportFormat::OpenSearch,
                   folder.path());
    const QByteArray xml = fileBytes(folder.filePath(QStringLiteral("Braces.xml")));
    const QByteArray templ = "template=\"https://h.example/?q={searchTerms}&amp;n=%7Bcount%7D"
                             "&amp;x=%7Ba%7Db}\"";
    QVERIFY2(xml.contains(templ), xml.constData());
    QCOMPARE(importedLines(folder.path()),
             QStringList {"Braces=https://h.example/?q=|s|&n=%7Bcount%7D&x=%7Ba%7Db}"});
}

void TestInteropExport::notExpressible_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("skipped");
    const auto both = [](const char *name, const QByteArray &line, const QString &skipped) {
        QTest::addRow("%s, OpenSearch", name) << ExportFormat::OpenSearch << line << skipped;
        QTest::addRow("%s, KDE", name) << ExportFormat::Kde << line << skipped;
    };
    both("raw", "Raw=https://h/|s:raw|",
         "Raw: the term as typed (|s:raw|) has no form there: the term is always encoded");
    both("blank as %20", "Blank=https://h/?q=|s:%20|",
         "Blank: the blank as %20 (|s:%20|) has no form there");
    both("blank as +", "Plus=https://h/?q=|s:shift_jis,+|",
         "Plus: the blank as + (|s:+|) has no form there");
    both("unknown charset", "Odd=https://h/?q=|s:x-none|", "Odd: unknown character set \"x-none\"");
    both("two charsets", "Two=https://h/?a=|s:koi8-r|&b=|s|",
         "Two: its placeholders use different character sets");
    both("no placeholder", "None=https://h/", "None: it has no placeholder |s| for the term");
    both("placeholder never closed", "Open=https://h/?q=|s:koi8-r",
         "Open: it has no placeholder |s| for the term");
    // clang-format off
    QTest::newRow("form without a term") << ExportFormat::OpenSearch << QByteArray("N=http://h/f\tpost=q=1") << "N: it has no placeholder |s| for the term";
    QTest::newRow("form field without =") << ExportFormat::OpenSearch << QByteArray("F=http://h/f\tpost=q=|s|&flag") << "F: its form holds \"flag\", which is no name=value field";
    QTest::newRow("term in a form field's name") << ExportFormat::OpenSearch << QByteArray("T=http://h/f\tpost=|s|=1") << "T: the term is in the name of a field of its form";
    QTest::newRow("form with another charset") << ExportFormat::OpenSearch << QByteArray("C=http://h/|s|\tpost=q=|s:koi8-r|") << "C: its placeholders use different character sets";
    QTest::newRow("form, KDE") << ExportFormat::Kde << QByteArray("K=http://h/find\tpost=q=|s|") << "K: it sends a form (POST), which KDE web shortcuts cannot send";
    // clang-format on
    QTest::newRow("a KDE field in the address")
            << ExportFormat::Kde << QByteArray("Field=https://h/\\{x}?q=|s|")
            << "Field: its address holds \\{, which KDE reads as a field";
}

void TestInteropExport::notExpressible()
{
    QFETCH(ExportFormat, format);
    QFETCH(QByteArray, line);
    QFETCH(QString, skipped);
    QTemporaryDir folder;
    const ExportReport report = ExportServices({line, "", "  "}, format, folder.path());
    QCOMPARE(report.skipped, QStringList {skipped});
    QCOMPARE(report.written, QStringList());
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestInteropExport::neverReplaces()
{
    QTemporaryDir folder;
    QCOMPARE(ExportServices(kServices, ExportFormat::Kde, folder.path()).written.size(),
             kServices.size());
    const QString mine = folder.filePath(QStringLiteral("Plain.desktop"));
    writeFile(mine, "[Desktop Entry]\nName=Edited by hand\n");
    const ExportReport again = ExportServices(kServices, ExportFormat::Kde, folder.path());
    QCOMPARE(again.written, QStringList());
    QCOMPARE(again.problems.size(), kServices.size());
    QCOMPARE(
            again.problems.first(),
            QStringLiteral("Not written: \"%1\" already exists (it was left as it was)").arg(mine));
    QCOMPARE(fileBytes(mine), QByteArray("[Desktop Entry]\nName=Edited by hand\n"));
}

void TestInteropExport::dropKnownServices()
{
    const auto service = [](const QString &name, const QString &address, const char *reason = "") {
        return FoundService {QStringLiteral("S"), QStringLiteral("f"), name, address,
                             QLatin1String(reason), {}, {}};
    };
    const QList<FoundService> found = {
            service("In the list", "https://a/?q=|s|"),
            service("New", "https://b/?q=|s|"),
            service("New again", "https://b/?q=|s|"),
            service("Skipped", "https://a/?q=|s|", "POST"),
            service("Other case", "https://A/?q=|s|"),
            service("In a 1252 line", QStringLiteral(u"https://c/\u00e9?q=|s|")),
    };
    const QList<QByteArray> list
            = {"Mine=https://a/?q=|s|", "Caf\xe9=https://c/\xe9?q=|s|", "noequals"};
    QList<QString> kept;
    for (const FoundService &s : DropKnownServices(found, list))
        kept << s.name;
    QCOMPARE(kept, (QList<QString> {"New", "Skipped", "Other case"}));
    QCOMPARE(AlreadyListed(found, list), (QList<bool> {true, false, true, false, false, true}));
}

void TestInteropExport::importCommand()
{
    // The list's bytes stay as they were (a Windows-1252 line, no line end at the end); the new
    // lines follow, each with CR LF; a service whose address is in the list is not added.
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.gls"));
    const QByteArray before
            = "Caf\xe9=https://caf\xe9.example/?q=|s|\r\nDuck=https://duckduckgo.com/?q=|s|";
    writeFile(list, before);
    const CommandOutput output = RunImportCommand(kWebData, list);
    QCOMPARE(output.status, 0);
    QCOMPARE(output.errors, QStringList());
    QCOMPARE(output.out.size(), 21);
    QCOMPARE(output.out.last(), QStringLiteral("15 of 20 services imported, 1 already in the list, 4 skipped"));
    QCOMPARE(output.out.first(),
             QStringLiteral("Skipped: DuckDuckGo (Chromium: Default): already in the list"));
    QCOMPARE(output.out.at(1),
             QStringLiteral("Imported: Google=https://www.google.com/search?q=|s|&ie=UTF-8"));
    QVERIFY(output.out.contains(QStringLiteral(
            "Skipped: Bookmarks (Chromium: Default): opens a chrome: address "
            "(\"chrome://bookmarks/?q=|s|\"); only http and https addresses are searched")));
    const QByteArray after = fileBytes(list);
    QVERIFY(after.startsWith(before
                             + "\r\nGoogle=https://www.google.com/search?q=|s|&ie=UTF-8\r\n"));
    QVERIFY(after.endsWith(
            "\r\nLoopback Google Style=http://127.0.0.1:8080/search?q=|s|&ie=UTF-8\r\n"));
    QCOMPARE(after.count("\r\n"), 1 + 1 + 15);

    // A second import adds nothing and leaves the file alone; a new list is made.
    const CommandOutput again = RunImportCommand(kWebData, list);
    QCOMPARE(again.status, 0);
    QCOMPARE(again.out.filter(QStringLiteral("Imported: ")), QStringList());
    QCOMPARE(fileBytes(list), after);
    const QString fresh = folder.filePath(QStringLiteral("new.gls"));
    QCOMPARE(RunImportCommand(kWebData, fresh).status, 0);
    QCOMPARE(fileBytes(fresh).count("\r\n"), 16);
}

void TestInteropExport::importCommandBadSource()
{
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.gls"));
    // Nothing readable: a clear message, status 2, no list made.
    const QString broken = folder.filePath(QStringLiteral("search.json.mozlz4"));
    writeFile(broken, QByteArray("mozLz40\0garbage", 15));
    CommandOutput output = RunImportCommand(broken, list);
    QCOMPARE(output.status, 2);
    QCOMPARE(output.out, QStringList());
    QCOMPARE(output.errors.size(), 1);
    QVERIFY(output.errors.first().startsWith(QStringLiteral("Cannot read \"%1\"").arg(broken)));
    QVERIFY(!QFileInfo::exists(list));

    output = RunImportCommand(QStringLiteral("firefox"), list, UserFoldersUnder(folder.path()));
    QCOMPARE(output.status, 2);
    QVERIFY(output.errors.first().startsWith(u"No Firefox profile found"));
    QVERIFY(!QFileInfo::exists(list));

    // One bad file beside good ones: the good ones are imported, and the status says it.
    QFile::copy(QDir(kHome + QStringLiteral("/.config/mozilla/firefox"))
                                .entryInfoList({QStringLiteral("*.glfixture")}, QDir::Dirs)
                                .value(0)
                                .filePath()
                        + QStringLiteral("/places.sqlite"),
                folder.filePath(QStringLiteral("places.sqlite")));
    output = RunImportCommand(folder.path(), list);
    QCOMPARE(output.status, 1);
    QCOMPARE(output.errors.size(), 1);
    QCOMPARE(output.out.filter(QStringLiteral("Imported: ")).size(), 4);
    QCOMPARE(fileBytes(list).count("\r\n"), 4);
}

void TestInteropExport::importCommandBadList()
{
    QTemporaryDir folder;
    // A list holding a NUL byte is no text: it is left as it was.
    const QString list = folder.filePath(QStringLiteral("list.gls"));
    writeFile(list, QByteArray("A=https://a/?q=|s|\r\n\0junk\r\n", 27));
    CommandOutput output = RunImportCommand(kWebData, list);
    QCOMPARE(output.status, 2);
    QCOMPARE(output.out, QStringList());
    QVERIFY(output.errors.last().contains(u"holds a NUL byte"));
    QCOMPARE(fileBytes(list).size(), 27);
    // A folder is no list.
    output = RunImportCommand(kWebData, folder.path());
    QCOMPARE(output.status, 2);
    QVERIFY(output.errors.last().contains(SystemErrorText(EISDIR)));
}

void TestInteropExport::importCommandKeepsUtf16()
{
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.gls"));
    const QString old = QStringLiteral(u"K\u00fcche=https://k/?q=|s|\r\n");
    writeFile(list, QByteArray("\xff\xfe")
                            + QByteArray(reinterpret_cast<const char *>(old.utf16()),
                                         old.size() * 2));
    const CommandOutput output = RunImportCommand(kWebData, list);
    QCOMPARE(output.errors, QStringList());
    const QByteArray bytes = fileBytes(list);
    QVERIFY(bytes.startsWith("\xff\xfe"));
    const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    QVERIFY(text.startsWith(old));
    QCOMPARE(text.count(QStringLiteral("\r\n")),
             1 + output.out.filter(QStringLiteral("Imported: ")).size());
}

void TestInteropExport::exportCommand()
{
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.gls"));
    writeFile(list, "Plain=https://h.example/?q=|s|\r\nRaw=https://h.example/|s:raw|\r\n");
    const QString out = folder.filePath(QStringLiteral("kde"));
    CommandOutput output = RunExportCommand(QStringLiteral("kde"), list, out);
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out,
             (QStringList {QStringLiteral("Written: ")
                                   + QDir(out).absoluteFilePath(QStringLiteral("Plain.desktop")),
                           QStringLiteral("Skipped: Raw: the term as typed (|s:raw|) has no form "
                                          "there: the term is always encoded")}));
    output = RunExportCommand(QStringLiteral("kde"), list, out);
    QCOMPARE(output.status, 1);
    QCOMPARE(output.errors.size(), 1);

    output = RunExportCommand(QStringLiteral("html"), list, out);
    QCOMPARE(output.status, 2);
    QCOMPARE(output.errors,
             QStringList {QStringLiteral("Unknown export format \"html\": use opensearch or kde")});
    output = RunExportCommand(QStringLiteral("opensearch"),
                              folder.filePath(QStringLiteral("none.gls")), out);
    QCOMPARE(output.status, 2);
    QVERIFY(output.errors.first().startsWith(u"Cannot open file"));
}

// Services that send a form: OpenSearch holds them (method="post", a Param for each field) and
// reads them back to the same search on the wire.
void TestInteropExport::formServices_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("written"); // a part of the file
    // clang-format off
    QTest::newRow("form") << QByteArray("F=http://h.example/find\tpost=q=|s|&lang=en&x=") << R"(method="post" template="http://h.example/find">)";
    QTest::newRow("charset, term in the address too") << QByteArray("C=http://h.example/|s:windows-1251|\tpost=q=|s:cp1251|+x&n={count}\tgroup=g") << R"(<Param name="n" value="%7Bcount%7D"/>)";
    // clang-format on
}

void TestInteropExport::formServices()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, written);
    QTemporaryDir folder;
    const ExportReport report = ExportServices({line}, ExportFormat::OpenSearch, folder.path());
    QCOMPARE(report.written.size(), 1);
    QVERIFY2(fileBytes(report.written.first()).contains(written.toUtf8()), qPrintable(written));
    const QByteArray back = importedLines(folder.path()).value(0).toUtf8();
    const QString term = QStringLiteral(u"a b&\u00e9");
    QCOMPARE(GoRequestFor(back, term).address, GoRequestFor(line, term).address);
    QCOMPARE(GoRequestFor(back, term).postBody, GoRequestFor(line, term).postBody);
}

QTEST_APPLESS_MAIN(TestInteropExport)
#include "tst_interopexport.moc"
