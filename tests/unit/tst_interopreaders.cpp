// SPDX-License-Identifier: GPL-3.0-or-later
// The readers against files the real programs wrote (tests/data/browsers, tests/data/kde), the
// automatic discovery in a home folder, every kind of path, and files that cannot be read.
#include "HitRule.h"
#include "Interop.h"
#include "ServiceLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <lz4.h>
#include <sys/stat.h>

namespace {

const QString kHome = QStringLiteral(GL_TEST_DATA "/browsers/home");
const QString kKdeShare = QStringLiteral(GL_TEST_DATA "/kde/share");
const QString kKdeFolder = kKdeShare + QStringLiteral("/kservices5/searchproviders");
const QString kOpenSearch = QStringLiteral(GL_TEST_DATA "/opensearch");
const QString kWhatsMyName = QStringLiteral(GL_TEST_DATA "/whatsmyname/sites.json");

QString firefoxRoot()
{
    return kHome + QStringLiteral("/.config/mozilla/firefox");
}

QString firefoxProfile()
{
    const QDir root(firefoxRoot());
    return root.filePath(root.entryList({QStringLiteral("*.glfixture")}, QDir::Dirs).value(0));
}

QString webData()
{
    return kHome + QStringLiteral("/.config/chromium/Default/Web Data");
}

ImportReport readPath(const QString &path)
{
    return FindServices({ImportSource::Kind::Path, path},
                        UserFoldersUnder(QStringLiteral("/nowhere")));
}

// The service of that name (from that source); one named "(missing)" when there is none, so
// that the checks fail.
FoundService named(const ImportReport &report, const QString &name, const QString &source = {})
{
    for (const FoundService &service : report.services) {
        if (service.name == name && (source.isEmpty() || service.source == source))
            return service;
    }
    return FoundService {{}, {}, QStringLiteral("(missing)"), {}, {}, {}, {}};
}

qsizetype importable(const ImportReport &report)
{
    return std::count_if(report.services.cbegin(), report.services.cend(),
                         [](const FoundService &s) { return s.importable(); });
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void copyFile(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    QVERIFY2(QFile::copy(from, to), qPrintable(to));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A search file as Firefox packs one, around any text.
QByteArray packed(const QByteArray &text)
{
    QByteArray out("mozLz40\0", 8);
    out.resize(12 + LZ4_compressBound(int(text.size())));
    qToLittleEndian<quint32>(quint32(text.size()), out.data() + 8);
    out.resize(12
               + LZ4_compress_default(text.constData(), out.data() + 12, int(text.size()),
                                      int(out.size() - 12)));
    return out;
}

QByteArray withSize(QByteArray bytes, quint32 size)
{
    qToLittleEndian<quint32>(size, bytes.data() + 8);
    return bytes;
}

// Every file under the folder with its size and time: a read must leave them all as they were.
QStringList listing(const QString &folder)
{
    QStringList out;
    QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        out << info.fileName() + u' ' + QString::number(info.size()) + u' '
                        + QString::number(info.lastModified().toMSecsSinceEpoch());
        if (info.isDir())
            out += listing(info.filePath());
    }
    return out;
}

} // namespace

class TestInteropReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtures_data();
    void fixtures();
    void firefoxLegacyFolder();
    void chromiumProfileNames();
    void kdeUserShortcutsFirst();
    void openSearchFolder();
    void whatsMyName_data();
    void whatsMyName();
    void missingSources();
    void paths_data();
    void paths();
    void sniffedFiles();
    void webDataNeverWritten();
    void lockedWebData();
    void writeAheadLogRead();
    void hugeFileNotRead();
    void badSearchFile_data();
    void badSearchFile();
    void badFiles_data();
    void badFiles();
    void pipeIsNotRead();
};

// Every engine of the fixtures, found for a user whose home and system data folders hold them:
// Firefox's made by tests/data/browsers/drive_firefox.py, Chromium's by drive_chromium.py and
// Chromium itself, KDE's from the kio package.
void TestInteropReaders::fixtures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address"); // empty: not checked
    QTest::addColumn<QString>("reason");  // a part of the skip reason; empty: importable
    const QString ff = QStringLiteral("Firefox: glfixture");
    QTest::newRow("Firefox user engine") << ff << "Loopback Search"
                                         << "http://127.0.0.1:8080/search?q=|s|&lang=en"
                                         << "";
    QTest::newRow("Firefox user engine, windows-1251")
            << ff << "Loopback Cyrillic"
            << "http://127.0.0.1:8080/cp1251?text=|s:windows-1251|"
            << "";
    QTest::newRow("Firefox site's engine, Shift_JIS, term in the path")
            << ff << "Loopback Wiki JP"
            << "http://127.0.0.1:8080/wiki/|s:Shift_JIS|?lang=*&n=20"
            << "";
    QTest::newRow("Firefox site's engine with params") << ff << "Loopback Params"
                                                       << "http://127.0.0.1:8080/find?q=|s|&src=os"
                                                       << "";
    QTest::newRow("Firefox POST engine") << ff << "Loopback Post"
                                         << "http://127.0.0.1:8080/post\tpost=q=|s|&x=1"
                                         << "";
    QTest::newRow("Firefox built-in engine") << ff << "Wikipedia (en)"
                                             << ""
                                             << "built into Firefox";
    QTest::newRow("Firefox keyword %s") << ff << "Loopback Bookmark"
                                        << "http://127.0.0.1:8080/bm?q=|s|&kind=all"
                                        << "";
    QTest::newRow("Firefox keyword %S") << ff << "Loopback Raw"
                                        << "http://127.0.0.1:8080/raw/|s:raw|"
                                        << "";
    QTest::newRow("Firefox keyword with the page's charset")
            << ff << "Loopback KOI8"
            << "http://127.0.0.1:8080/koi?q=|s:KOI8-R|"
            << "";
    QTest::newRow("Firefox keyword with POST data") << ff << "Loopback Form Post"
                                                    << "http://127.0.0.1:8080/form\tpost=q=|s|&go=1"
                                                    << "";
    QTest::newRow("Firefox bookmarklet") << ff << "Bookmarklet"
                                         << ""
                                         << "javascript:";
    const QString cr = QStringLiteral("Chromium: Default");
    QTest::newRow("Chromium, added in settings") << cr << "Loopback Chromium"
                                                 << "http://127.0.0.1:8080/c?q=|s|&src=chromium"
                                                 << "";
    QTest::newRow("Chromium, term in the path") << cr << "Loopback Path"
                                                << "http://127.0.0.1:8080/p/|s|/view"
                                                << "";
    QTest::newRow("Chromium, Google fields") << cr << "Loopback Google Style"
                                             << "http://127.0.0.1:8080/search?q=|s|&ie=UTF-8"
                                             << "";
    QTest::newRow("Chromium, site's engine, windows-1251")
            << cr << "Loopback Cyrillic Site"
            << "http://127.0.0.1:8080/ru?text=|s:windows-1251|&ie=windows-1251"
            << "";
    QTest::newRow("Chromium's Google") << cr << "Google"
                                       << "https://www.google.com/search?q=|s|&ie=UTF-8"
                                       << "";
    QTest::newRow("Chromium's Yahoo!")
            << cr << "Yahoo!"
            << "https://search.yahoo.com/search?ei=UTF-8&fr=crmas_sfp&p=|s|"
            << "";
    QTest::newRow("Chromium chrome: starter") << cr << "Bookmarks"
                                              << ""
                                              << "a chrome: address";
    QTest::newRow("Chromium web starter") << cr << "Gemini"
                                          << "https://gemini.google.com/app?q=|s|"
                                          << "";
    const QString kde = QStringLiteral("KDE web shortcuts");
    QTest::newRow("KDE duckduckgo") << kde << "Duck Duck Go"
                                    << "https://duckduckgo.com/?q=|s|&t=kde"
                                    << "";
    QTest::newRow("KDE cp 1251") << kde << "Multitran - Translate Between English and Russian"
                                 << "https://multitran.ru/c/m.exe?l1=1&l2=2&s=|s:windows-1251|"
                                 << "";
    QTest::newRow("KDE ISO-8859-15")
            << kde
            << QStringLiteral(u"Great Dictionary of the Catalan Language (GRan Enciclop\u00e8dia "
                              u"Catalana)")
            << "http://ec.grec.net/cgi-bin/AppDLC3.exe?APP=CERCADLC&GECART=|s:ISO-8859-15|"
            << "";
    QTest::newRow("KDE two words") << kde << "Telephonebook Search Provider"
                                   << ""
                                   << "several words or named fields (\\{1} \\{2})";
    QTest::newRow("KDE first word") << kde << "DocBook - The Definitive Guide"
                                    << ""
                                    << "(\\{1})";
    QTest::newRow("KDE named fields") << kde << "CPAN - Comprehensive Perl Archive Network"
                                      << ""
                                      << "named fields (\\{mode,2,\"\"} \\{query,q,1})";
}

void TestInteropReaders::fixtures()
{
    QFETCH(QString, source);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, reason);
    const ImportReport report = FindServices({}, UserFoldersUnder(kHome, {kKdeShare}));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 15 + 20 + 8);
    const FoundService found = named(report, name, source);
    QCOMPARE(found.source, source);
    QCOMPARE(found.importable(), reason.isEmpty());
    QVERIFY2(found.skipReason.contains(reason), qPrintable(found.skipReason));
    if (!address.isEmpty())
        QCOMPARE(found.line().mid(found.name.size() + 1), address); // with a form's body
}

void TestInteropReaders::firefoxLegacyFolder()
{
    // Older Firefox keeps its profiles in ~/.mozilla/firefox.
    QTemporaryDir home;
    const QString root = home.filePath(QStringLiteral(".mozilla/firefox"));
    const QString profile = QFileInfo(firefoxProfile()).fileName();
    copyFile(firefoxRoot() + QStringLiteral("/profiles.ini"),
             root + QStringLiteral("/profiles.ini"));
    copyFile(firefoxProfile() + QStringLiteral("/places.sqlite"),
             root + u'/' + profile + QStringLiteral("/places.sqlite"));
    const ImportReport report = FindServices(ImportSourceFromArgument(QStringLiteral("firefox")),
                                             UserFoldersUnder(home.path()));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 5);
    QCOMPARE(named(report, QStringLiteral("Loopback Raw")).source,
             QStringLiteral("Firefox: glfixture"));
}

void TestInteropReaders::chromiumProfileNames()
{
    // The name the user gave a profile is in Local State; Google Chrome has a folder of its own.
    QTemporaryDir home;
    const QString chrome = home.filePath(QStringLiteral(".config/google-chrome"));
    copyFile(webData(), chrome + QStringLiteral("/Profile 1/Web Data"));
    copyFile(webData(), chrome + QStringLiteral("/Default/Web Data"));
    writeFile(chrome + QStringLiteral("/Local State"),
              R"({"profile": {"info_cache": {"Profile 1": {"name": "Work"}}}})");
    const ImportReport report
            = FindServices({ImportSource::Kind::Chromium, {}}, UserFoldersUnder(home.path()));
    QCOMPARE(report.problems, QStringList());
    QStringList sources;
    for (const FoundService &service : report.services) {
        if (!sources.contains(service.source))
            sources << service.source;
    }
    QCOMPARE(sources, (QStringList {"Google Chrome: Default", "Google Chrome: Work"}));
}

void TestInteropReaders::kdeUserShortcutsFirst()
{
    // The user's folder (Frameworks 5 or 6) comes first: a file of the same name changes or
    // deletes KDE's own shortcut.
    QTemporaryDir home;
    const QString kf5 = home.filePath(QStringLiteral(".local/share/kservices5/searchproviders/"));
    const QString kf6 = home.filePath(QStringLiteral(".local/share/kf6/searchproviders/"));
    writeFile(kf5 + QStringLiteral("google.desktop"), "[Desktop Entry]\nHidden=true\n");
    QByteArray duck = fileBytes(kKdeFolder + QStringLiteral("/duckduckgo.desktop"));
    duck.replace("Query=https://duckduckgo.com/?q=\\\\{@}&t=kde",
                 "Query=https://duckduckgo.com/html/?q=\\\\{@}");
    writeFile(kf6 + QStringLiteral("duckduckgo.desktop"), duck);
    writeFile(
            kf6 + QStringLiteral("mine.desktop"),
            "[Desktop "
            "Entry]\nType=Service\nName=Mine\nKeys=mine\nQuery=https://mine.example/?q=\\\\{@}\n");
    const ImportReport report = FindServices({ImportSource::Kind::Kde, {}},
                                             UserFoldersUnder(home.path(), {kKdeShare}));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 9);
    QVERIFY(named(report, QStringLiteral("google")).skipReason.contains(u"deleted"));
    QCOMPARE(named(report, QStringLiteral("Duck Duck Go")).address,
             QStringLiteral("https://duckduckgo.com/html/?q=|s|"));
    QCOMPARE(named(report, QStringLiteral("Mine")).address,
             QStringLiteral("https://mine.example/?q=|s|"));
}

void TestInteropReaders::openSearchFolder()
{
    const ImportReport report = readPath(kOpenSearch);
    QCOMPARE(report.services.size(), 5);
    QCOMPARE(importable(report), 4);
    QCOMPARE(named(report, QStringLiteral("Loopback Docs")).address,
             QStringLiteral("http://127.0.0.1:8080/docs/search?q=|s|&page=&src=os"));
    // Its name is stored in Shift_JIS, as its XML declaration says.
    QCOMPARE(named(report, QStringLiteral(u"\u691c\u7d22\u30a6\u30a3\u30ad")).address,
             QStringLiteral("http://127.0.0.1:8080/wiki/|s:Shift_JIS|"));
    QCOMPARE(named(report, QStringLiteral("Loopback Forum")).address,
             QStringLiteral("http://127.0.0.1:8080/forum/find?words=|s:windows-1252|&sort=new"));
    QCOMPARE(named(report, QStringLiteral("Loopback Form")).line(),
             QStringLiteral("Loopback Form=http://127.0.0.1:8080/form\tpost=q=|s|"));
    QVERIFY(named(report, QStringLiteral("Loopback Suggest")).skipReason.contains(u"web pages"));
    QCOMPARE(report.problems.size(), 2);
    QVERIFY(report.problems.at(0).contains(
            kOpenSearch + QStringLiteral("/broken.xml\": it is not well-formed XML")));
    QVERIFY(report.problems.at(1).contains(
            QStringLiteral("not-opensearch.xml\": it is not an OpenSearch description")));
}

// Sites of a file in the WhatsMyName format (written by hand, see its README): each a service
// line with its form, group and rules, or the reason it cannot be one.
void TestInteropReaders::whatsMyName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // the line, or the skip reason
    // clang-format off
    QTest::newRow("rules and group") << "Loopback Forum" << "Loopback Forum=http://127.0.0.1:8080/u/|s|\tgroup=social\tfound=status:200&text:Profile of\tmissing=status:404&text:No such user";
    QTest::newRow("form body") << "Loopback Member Search" << "Loopback Member Search=http://127.0.0.1:8080/find\tpost=name=|s|&exact=1\tgroup=coding\tfound=status:200&text:1 member\tmissing=status:200&text:0 members";
    QTest::newRow("markup read as text, marks escaped") << "Loopback Title-Page" << "Loopback Title-Page=https://127.0.0.1:8443/|s|/\tgroup=social\tfound=status:200&text:Tom \\& Jerry \\| Loopback\tmissing=status:404&text:Not found";
    QTest::newRow("headers") << "Loopback Api" << "Loopback Api=http://127.0.0.1:8080/api/users/|s|\tgroup=coding\theader=Accept: application/json\theader=X-Requested-With: XMLHttpRequest\tfound=status:200&text:\"id\":\tmissing=status:404&text:\"error\":";
    QTest::newRow("JSON form") << "Loopback Json Form" << "Loopback Json Form=http://127.0.0.1:8080/lookup\tpost={\"user\": \"|s|\"}\tgroup=coding\theader=Content-Type: application/json\tfound=status:200&text:\"found\": true\tmissing=status:200&text:\"found\": false";
    QTest::newRow("redirect code") << "Loopback Moved" << "Loopback Moved=http://127.0.0.1:8080/m/|s|\tgroup=social\tredirects=no\tfound=status:200&text:Member since\tmissing=status:302&text:Redirecting";
    QTest::newRow("markup only") << "Loopback Markup" << "Loopback Markup=http://127.0.0.1:8080/p/|s|\tgroup=social\tfound=status:200&html:<div class=\"profile-card\">\tmissing=status:404&text:Gone";
    QTest::newRow("not valid") << "Loopback Retired" << "the file marks it as not valid";
    QTest::newRow("account in a text") << "Loopback Greeting" << "Loopback Greeting=http://127.0.0.1:8080/hello/|s|\tgroup=social\tfound=status:200&text:Hello, \\|s\\|\tmissing=status:404&text:Missing";
    QTest::newRow("no place for the account") << "Loopback Home" << "the address has no place for the search term";
    // clang-format on
}

void TestInteropReaders::whatsMyName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const ImportReport report = FindServices(ImportSourceFromArgument(kWhatsMyName));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 10);
    const FoundService found = named(report, name);
    QCOMPARE(found.source, QStringLiteral("WhatsMyName"));
    QCOMPARE(found.importable() ? found.line() : found.skipReason, expected);
    if (found.importable()) // the rules read back as written
        HitRules::Of(ServiceLine(found.line().toUtf8()), name);
}

void TestInteropReaders::missingSources()
{
    // Nothing installed: the dialog lists nothing; a source asked for by name cannot be read.
    QTemporaryDir home;
    const UserFolders folders = UserFoldersUnder(home.path());
    const ImportReport all = FindServices({}, folders);
    QCOMPARE(all.services.size(), 0);
    QCOMPARE(all.problems, QStringList());
    for (const char *source : {"firefox", "chromium", "kde"}) {
        const ImportReport one
                = FindServices(ImportSourceFromArgument(QLatin1String(source)), folders);
        QCOMPARE(one.problems.size(), 1);
        QVERIFY2(one.problems.first().startsWith(u"No "), qPrintable(one.problems.first()));
    }
}

void TestInteropReaders::paths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("found");
    QTest::addColumn<int>("importable");
    const QString profile = firefoxProfile();
    const QString profileName = QFileInfo(profile).fileName();
    QTest::newRow("Firefox folder") << firefoxRoot() << "Firefox: glfixture" << 15 << 9;
    QTest::newRow("profiles.ini") << firefoxRoot() + "/profiles.ini"
                                  << "Firefox: glfixture" << 15 << 9;
    QTest::newRow("profile folder") << profile << "Firefox: " + profileName << 15 << 9;
    QTest::newRow("search.json.mozlz4") << profile + "/search.json.mozlz4"
                                        << "Firefox: " + profileName << 10 << 5;
    QTest::newRow("places.sqlite") << profile + "/places.sqlite"
                                   << "Firefox: " + profileName << 5 << 4;
    QTest::newRow("Chromium folder") << kHome + "/.config/chromium"
                                     << "Chromium: Default" << 20 << 16;
    QTest::newRow("Chromium profile") << kHome + "/.config/chromium/Default"
                                      << "Chromium: Default" << 20 << 16;
    QTest::newRow("Web Data") << webData() << "Chromium: Default" << 20 << 16;
    QTest::newRow("desktop file") << kKdeFolder + "/google.desktop"
                                  << "KDE web shortcuts" << 1 << 1;
    QTest::newRow("folder of desktop files") << kKdeFolder << "KDE web shortcuts" << 8 << 4;
    QTest::newRow("data folder") << kKdeShare << "KDE web shortcuts" << 8 << 4;
    QTest::newRow("OpenSearch file") << kOpenSearch + "/utf8.xml"
                                     << "OpenSearch" << 1 << 1;
}

void TestInteropReaders::paths()
{
    QFETCH(QString, path);
    QFETCH(QString, source);
    QFETCH(int, found);
    QFETCH(int, importable);
    const ImportReport report = FindServices(ImportSourceFromArgument(path),
                                             UserFoldersUnder(QStringLiteral("/nowhere")));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), found);
    QCOMPARE(::importable(report), importable);
    QCOMPARE(report.services.first().source, source);
}

void TestInteropReaders::sniffedFiles()
{
    // Files saved under other names are known by what they hold.
    QTemporaryDir folder;
    const QString profile = firefoxProfile();
    const struct
    {
        QString from;
        const char *to;
        int found;
    } files[] = {{profile + QStringLiteral("/search.json.mozlz4"), "engines.bak", 10},
                 {profile + QStringLiteral("/places.sqlite"), "bookmarks.db", 5},
                 {webData(), "webdata.db", 20},
                 {kKdeFolder + QStringLiteral("/google.desktop"), "google.txt", 1},
                 {kOpenSearch + QStringLiteral("/utf8.xml"), "search-description", 1}};
    for (const auto &file : files) {
        copyFile(file.from, folder.filePath(QLatin1String(file.to)));
        const ImportReport report = readPath(folder.filePath(QLatin1String(file.to)));
        QCOMPARE(report.problems, QStringList());
        QCOMPARE(report.services.size(), file.found);
    }
    writeFile(folder.filePath(QStringLiteral("notes.txt")), "just some text\n");
    const ImportReport report = readPath(folder.filePath(QStringLiteral("notes.txt")));
    QCOMPARE(report.services.size(), 0);
    QCOMPARE(report.problems.size(), 1);
    QVERIFY(report.problems.first().contains(u"notes.txt\": it holds no search engines"));
}

void TestInteropReaders::webDataNeverWritten()
{
    const QStringList before = listing(kHome);
    const QByteArray bytes = fileBytes(webData());
    QCOMPARE(readPath(webData()).services.size(), 20);
    QCOMPARE(readPath(firefoxProfile()).services.size(), 15);
    QCOMPARE(fileBytes(webData()), bytes);
    QCOMPARE(listing(kHome), before);
}

void TestInteropReaders::lockedWebData()
{
    // A running Chromium holds its database locked; the copy is read all the same.
    QTemporaryDir folder;
    const QString live = folder.filePath(QStringLiteral("Default/Web Data"));
    copyFile(webData(), live);
    const QByteArray bytes = fileBytes(live);
    {
        QSqlDatabase db
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("browser"));
        db.setDatabaseName(live);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")));
        QVERIFY(query.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        const ImportReport report = readPath(live);
        QCOMPARE(report.problems, QStringList());
        QCOMPARE(report.services.size(), 20);
        QVERIFY(query.exec(QStringLiteral("ROLLBACK")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("browser"));
    QCOMPARE(fileBytes(live), bytes);
}

void TestInteropReaders::writeAheadLogRead()
{
    // While Firefox runs, recent changes to places.sqlite are in its write-ahead log.
    QTemporaryDir folder;
    const QString live = folder.filePath(QStringLiteral("places.sqlite"));
    copyFile(firefoxProfile() + QStringLiteral("/places.sqlite"), live);
    {
        QSqlDatabase db
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("firefox"));
        db.setDatabaseName(live);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0")));
        QVERIFY(query.exec(QStringLiteral(
                "UPDATE moz_bookmarks SET title = 'Renamed' WHERE title = 'Loopback Raw'")));
        QVERIFY(QFileInfo(live + QStringLiteral("-wal")).size() > 0);
        const QStringList before = listing(folder.path());
        const ImportReport report = readPath(live);
        QCOMPARE(report.problems, QStringList());
        QCOMPARE(named(report, QStringLiteral("Renamed")).address,
                 QStringLiteral("http://127.0.0.1:8080/raw/|s:raw|"));
        QCOMPARE(listing(folder.path()), before);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("firefox"));
}

void TestInteropReaders::hugeFileNotRead()
{
    QTemporaryDir folder;
    const QString huge = folder.filePath(QStringLiteral("huge.xml"));
    QFile file(huge);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(65 * 1024 * 1024)); // sparse: no disk taken
    file.close();
    const ImportReport report = readPath(huge);
    QCOMPARE(report.problems,
             QStringList {QStringLiteral("Cannot read \"%1\": it is too large (68157440 bytes) for "
                                         "a file of search engines")
                                  .arg(huge)});
}

void TestInteropReaders::badSearchFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const QByteArray good = fileBytes(firefoxProfile() + QStringLiteral("/search.json.mozlz4"));
    const quint32 size = qFromLittleEndian<quint32>(good.constData() + 8);
    QByteArray damaged = good;
    for (qsizetype i = 12; i < damaged.size(); i += 7)
        damaged[i] = char(damaged.at(i) ^ 0x5A);
    QTest::newRow("empty") << QByteArray() << "no mozLz40 header";
    QTest::newRow("wrong header") << "mozLz41" + good.mid(7) << "no mozLz40 header";
    QTest::newRow("JSON without header") << QByteArray(R"({"engines": []})") << "no mozLz40 header";
    QTest::newRow("size that lies: 4 GB")
            << withSize(good, 0xFFFFFFFFu) << "header gives a size of 4294967295 bytes";
    QTest::newRow("size that lies: 65 MB of nothing")
            << withSize(QByteArray("mozLz40\0", 8) + QByteArray(300000, '\0'), 65 * 1024 * 1024)
            << "header gives a size of 68157440 bytes";
    QTest::newRow("size one more")
            << withSize(good, size + 1)
            << QStringLiteral("decodes to %1 bytes, its header says %2").arg(size).arg(size + 1);
    QTest::newRow("size one less") << withSize(good, size - 1) << "does not decode";
    QTest::newRow("truncated block") << good.left(good.size() - 40) << "damaged";
    QTest::newRow("damaged block") << damaged << "damaged";
    QTest::newRow("invalid JSON") << packed(R"({"engines": [{"_name": "x",)") << "not valid JSON";
    QTest::newRow("JSON array") << packed("[1, 2]") << "not a JSON object";
    QTest::newRow("no engines") << packed(R"({"version": 14})") << "no list of engines";
}

void TestInteropReaders::badSearchFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    // Beside the bad file, a good places.sqlite: its keyword bookmarks are still found.
    QTemporaryDir folder;
    const QString search = folder.filePath(QStringLiteral("search.json.mozlz4"));
    writeFile(search, bytes);
    copyFile(firefoxProfile() + QStringLiteral("/places.sqlite"),
             folder.filePath(QStringLiteral("places.sqlite")));
    const QStringList before = listing(folder.path());
    const ImportReport report = readPath(folder.path());
    QCOMPARE(report.problems.size(), 1);
    QVERIFY2(report.problems.first().startsWith(QStringLiteral("Cannot read \"%1\": ").arg(search)),
             qPrintable(report.problems.first()));
    QVERIFY2(report.problems.first().contains(problem), qPrintable(report.problems.first()));
    QCOMPARE(report.services.size(), 5);
    QCOMPARE(listing(folder.path()), before);
    QCOMPARE(fileBytes(search), bytes);
}

void TestInteropReaders::badFiles_data()
{
    QTest::addColumn<QString>("name"); // the bad file, in a folder with a good shortcut
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const QByteArray places = fileBytes(firefoxProfile() + QStringLiteral("/places.sqlite"));
    QTest::newRow("Web Data of text")
            << "Default/Web Data" << QByteArray("hello\n") << "it is not a database";
    QTest::newRow("empty Web Data")
            << "Default/Web Data" << QByteArray() << "it is not a Chromium profile database";
    QTest::newRow("Web Data from Firefox")
            << "Default/Web Data" << places << "it is not a Chromium profile database";
    QTest::newRow("places.sqlite of text")
            << "p/places.sqlite" << QByteArray(4096, 'x') << "it is not a database";
    QTest::newRow("desktop file without Query")
            << "nothing.desktop" << QByteArray("[Desktop Entry]\nName=Nothing\nType=Service\n")
            << "it is not a web shortcut (it has no Query= line)";
    QTest::newRow("JSON without sites")
            << "sites.json" << QByteArray("{\"engines\": []}")
            << "it is not a WhatsMyName file (it has no list of sites)";
    QTest::newRow("broken JSON") << "wmn.json" << QByteArray("{\"sites\": [")
                                 << "it is not valid JSON (";
    QTest::newRow("profiles.ini without profiles")
            << "ff/profiles.ini" << QByteArray("[General]\nVersion=2\n")
            << "it lists no Firefox profile";
}

void TestInteropReaders::badFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    copyFile(kKdeFolder + QStringLiteral("/google.desktop"),
             folder.filePath(QStringLiteral("google.desktop")));
    const QString bad = folder.filePath(name);
    writeFile(bad, bytes);
    const QStringList before = listing(folder.path());
    const ImportReport report = readPath(bad);
    QCOMPARE(report.problems.size(), 1);
    QVERIFY2(report.problems.first().contains(QStringLiteral("\"%1\": %2").arg(bad, problem)),
             qPrintable(report.problems.first()));
    // Given relative to the current folder, the file is named by its full path all the same.
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    const ImportReport relative = readPath(name);
    QVERIFY(QDir::setCurrent(current));
    QCOMPARE(relative.problems, report.problems);
    QCOMPARE(listing(folder.path()), before);
    if (name.endsWith(u".desktop")) {
        // In the folder, the other shortcut is still read.
        const ImportReport all = readPath(folder.path());
        QCOMPARE(all.problems, report.problems);
        QCOMPARE(all.services.size(), 1);
    }
}

void TestInteropReaders::pipeIsNotRead()
{
    // A pipe in place of a profile file would block a reader for ever; it is refused.
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("search.json.mozlz4"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const ImportReport report = readPath(pipe);
    QCOMPARE(
            report.problems,
            QStringList {QStringLiteral("Cannot read \"%1\": it is not a regular file").arg(pipe)});
    const ImportReport missing = readPath(folder.filePath(QStringLiteral("gone.xml")));
    QCOMPARE(missing.problems.size(), 1);
    QVERIFY(missing.problems.first().endsWith(u"gone.xml\": no such file or folder"));
}

QTEST_APPLESS_MAIN(TestInteropReaders)
#include "tst_interopreaders.moc"
