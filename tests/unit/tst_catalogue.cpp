// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"
#include "EntryList.h"
#include "ListTestSupport.h"
#include "Search.h"
#include "TextRules.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QString kShipped = QStringLiteral(GL_SOURCE_DIR "/samples/catalogue");

QStringList shippedLists()
{
    return QDir(kShipped).entryList({QStringLiteral("*.gls")}, QDir::Files, QDir::Name);
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shippedList_data();
    void shippedList();
    void shippedIndex();
    void folderInBuildTree();
    void folderInstalled();
    void page();
    void pageLinksRoundTrip();
    void refusedLink_data();
    void refusedLink();

private:
    QTemporaryDir m_root;
    QString m_folder; // a catalogue of the tests' own
};

void TestCatalogue::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QDir root(m_root.path());
    m_folder = root.filePath(QStringLiteral("catalogue"));
    for (const char *dir : {"catalogue/sub", "catalogue/dir.gls", "other"})
        QVERIFY(root.mkpath(QLatin1String(dir)));
    QVERIFY(writeBytes(
            root.filePath("catalogue/b.gls"),
            "<b>&\"x\"</b>=https://a.example/?q=|s|\r\n\r\nPlain=https://b.example/|s|\r\n"));
    for (const char *other :
         {"catalogue/my list #1.gls", "catalogue/plain.gls", "catalogue/sub/b.gls",
          "catalogue/notes.glt", "catalogue/a.gls.txt", "other/b.gls", "x.gls"})
        QVERIFY(writeBytes(root.filePath(QLatin1String(other)), "A=https://a.example/|s|\r\n"));
    QVERIFY(QFile::link(root.filePath("x.gls"), root.filePath("catalogue/out.gls")));
    QSettings index(root.filePath("catalogue/catalogue.ini"), QSettings::IniFormat);
    index.setValue("b/title", "Tags <i>&\"</i>");
    index.setValue("b/description", "<script>alert(1)</script>, too");
    index.setValue("my list #1/title", "Zeta");
    index.sync();
    QCOMPARE(index.status(), QSettings::NoError);
}

void TestCatalogue::shippedList_data()
{
    QTest::addColumn<QString>("file");
    QVERIFY(shippedLists().size() >= 8);
    for (const QString &file : shippedLists())
        QTest::newRow(qPrintable(file)) << QDir(kShipped).filePath(file);
}

void TestCatalogue::shippedList()
{
    QFETCH(QString, file);
    const QByteArray bytes = fileBytes(file);
    QVERIFY(IsValidUtf8(bytes));
    // CR LF after every line, the last one included, and no other line ends.
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QCOMPARE(bytes.count('\r'), bytes.count('\n'));
    EntryList list;
    list.LoadFile(file);
    QCOMPARE(list.Count(), bytes.count('\n'));
    QVERIFY2(list.Count() >= 8 && list.Count() <= 15, qPrintable(QString::number(list.Count())));

    QSet<QString> names;
    for (const QByteArray &line : list.Lines()) {
        const QString name = DecodeLine(EntryList::NameOf(line));
        const QString service = DecodeLine(EntryList::ServiceStringOf(line));
        QVERIFY2(!IsBlank(name) && TrimBlanks(name) == name, line.constData());
        names.insert(name.toCaseFolded());
        QVERIFY2(service.startsWith(QLatin1String("https://")), line.constData());
        QVERIFY2(std::all_of(service.begin(), service.end(), [](QChar c) { return c > u' '; }),
                 line.constData());
        // The placeholder exactly once, with options the program takes: the address Go opens
        // holds the term once and nothing of the placeholder, on the service's own host.
        const QString host = QUrl(service.left(service.indexOf(u'|'))).host();
        for (const QString &term : {QStringLiteral("glenlanternmarker"),
                                    QStringLiteral(u"C++ & more #1 Ελληνικά 漢字")}) {
            QString address;
            QCOMPARE(errorOf([&] { address = GoAddressFor(line, term); }), QString());
            const QUrl url(address, QUrl::StrictMode);
            QVERIFY2(url.isValid() && url.scheme() == QLatin1String("https"), qPrintable(address));
            QVERIFY2(!host.isEmpty() && url.host() == host, qPrintable(address));
            QVERIFY2(!address.contains(u'|'), qPrintable(address));
            if (term == QLatin1String("glenlanternmarker"))
                QVERIFY2(address.count(term) == 1, qPrintable(address));
        }
    }
    QCOMPARE(names.size(), list.Count());
}

void TestCatalogue::shippedIndex()
{
    const QStringList files = shippedLists();
    QSettings index(QDir(kShipped).filePath("catalogue.ini"), QSettings::IniFormat);
    QCOMPARE(index.status(), QSettings::NoError);
    QStringList described;
    for (const QString &group : index.childGroups()) {
        QVERIFY2(files.contains(group + QLatin1String(".gls")), qPrintable(group));
        described.append(group + QLatin1String(".gls"));
        // A text with an unquoted comma would be read as a list.
        for (const char *key : {"title", "description"})
            QCOMPARE(index.value(group + '/' + QLatin1String(key)).typeId(), QMetaType::QString);
    }
    described.sort();
    QCOMPARE(described, files);

    // The program reads it so: a title and a description for every list, no title twice.
    const QList<CatalogueList> lists = ReadCatalogue(kShipped);
    QCOMPARE(lists.size(), files.size());
    QSet<QString> titles;
    for (const CatalogueList &list : lists) {
        QVERIFY(list.title != QFileInfo(list.file).completeBaseName());
        QVERIFY(!list.description.isEmpty());
        titles.insert(list.title);
    }
    QCOMPARE(titles.size(), lists.size());
}

void TestCatalogue::folderInBuildTree()
{
    // The program in the build tree finds the copy beside it, the same as the sources.
    const QString folder = FindCatalogueFolder(QStringLiteral(GL_BINARY_DIR));
    QCOMPARE(folder, QDir::cleanPath(QStringLiteral(GL_BINARY_DIR "/catalogue")));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QDir(kShipped).entryList(QDir::Files));
    for (const QString &file : QDir(kShipped).entryList(QDir::Files))
        QCOMPARE(fileBytes(QDir(folder).filePath(file)), fileBytes(QDir(kShipped).filePath(file)));
}

void TestCatalogue::folderInstalled()
{
    const QString programDir = QStringLiteral(GL_TEST_PROGRAM_DIR);
    const QString catalogueDir = QStringLiteral(GL_TEST_CATALOGUE_DIR);
    if (QDir::isAbsolutePath(programDir) || QDir::isAbsolutePath(catalogueDir))
        QSKIP("The install folders are absolute paths");
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(programDir));
    const QString program = root.filePath(programDir);
    QCOMPARE(FindCatalogueFolder(program), QString());
    QVERIFY(errorOf([&] { ReadCatalogue(FindCatalogueFolder(program)); }).contains("catalogue"));

    QVERIFY(root.mkpath(catalogueDir));
    QCOMPARE(FindCatalogueFolder(program), QDir::cleanPath(root.filePath(catalogueDir)));
    QVERIFY(root.mkpath(programDir + QLatin1String("/catalogue")));
    QCOMPARE(FindCatalogueFolder(program), QDir::cleanPath(program + QLatin1String("/catalogue")));
}

void TestCatalogue::page()
{
    const QList<CatalogueList> lists = ReadCatalogue(m_folder);
    QStringList titles;
    for (const CatalogueList &list : lists)
        titles.append(list.title);
    // By title; a file the index does not describe is titled by its name; a link that leads out
    // of the folder is left out.
    QCOMPARE(titles, (QStringList {"plain", "Tags <i>&\"</i>", "Zeta"}));
    QCOMPARE(lists.at(1).services, (QStringList {"<b>&\"x\"</b>", "Plain"}));
    QCOMPARE(lists.at(1).description, QStringLiteral("<script>alert(1)</script>, too"));

    const QString html = CataloguePage(lists);
    QVERIFY(html.contains("<title>Service Lists</title>")
            && html.contains("<h1>Service Lists</h1>"));
    QVERIFY(html.contains("<h2>Tags &lt;i&gt;&amp;&quot;&lt;/i&gt;</h2>"));
    QVERIFY(html.contains("<li>&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;</li>"));
    QVERIFY(html.contains("&lt;script&gt;alert(1)&lt;/script&gt;, too"));
    QVERIFY(!html.contains("<b>") && !html.contains("<i>") && !html.contains("<script"));
    QVERIFY(html.contains("2 services") && html.contains("1 service<"));
    QCOMPARE(html.count("<section>"), 3);
}

void TestCatalogue::pageLinksRoundTrip()
{
    // Every list of the page has both links, and each leads back to its file and action.
    for (const QString &folder : {m_folder, kShipped}) {
        const QList<CatalogueList> lists = ReadCatalogue(folder);
        QSet<QString> expected, seen;
        for (const CatalogueList &list : lists)
            for (const QLatin1String action : {QLatin1String("load"), QLatin1String("add")})
                expected.insert(list.file + QLatin1Char(' ') + action);
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        auto links = href.globalMatch(CataloguePage(lists));
        while (links.hasNext()) {
            const QString text = links.next().captured(1).replace(QLatin1String("&amp;"), "&");
            const auto request = ParseCatalogueLink(QUrl(text), folder);
            QVERIFY2(request, qPrintable(text));
            seen.insert(request->file + QLatin1Char(' ')
                        + (request->action == CatalogueAction::Load ? "load" : "add"));
        }
        QCOMPARE(seen, expected);
    }
}

void TestCatalogue::refusedLink_data()
{
    QTest::addColumn<QString>("link");
    const QString cat = QStringLiteral("file://") + m_folder;
    QTest::newRow("..") << cat + "/../x.gls?action=load";
    QTest::newRow("encoded ..") << cat + "/%2E%2E/x.gls?action=load";
    QTest::newRow(".. back inside") << cat + "/sub/../b.gls?action=load";
    QTest::newRow("other folder") << "file://" + m_root.path() + "/other/b.gls?action=load";
    QTest::newRow("subfolder") << cat + "/sub/b.gls?action=load";
    QTest::newRow("encoded slash") << cat + "/sub%2Fb.gls?action=load";
    QTest::newRow("term list") << cat + "/notes.glt?action=load";
    QTest::newRow(".gls.txt") << cat + "/a.gls.txt?action=load";
    QTest::newRow("folder named .gls") << cat + "/dir.gls?action=load";
    QTest::newRow("missing") << cat + "/gone.gls?action=load";
    QTest::newRow("link leading out") << cat + "/out.gls?action=load";
    QTest::newRow("host") << "file://localhost" + m_folder + "/b.gls?action=load";
    QTest::newRow("https") << "https://example.com" + m_folder + "/b.gls?action=load";
    QTest::newRow("javascript") << "javascript:alert(1)//" + m_folder + "/b.gls?action=load";
    QTest::newRow("no scheme") << m_folder + "/b.gls?action=load";
    QTest::newRow("no action") << cat + "/b.gls";
    QTest::newRow("unknown action") << cat + "/b.gls?action=delete";
    QTest::newRow("two actions") << cat + "/b.gls?action=load&action=add";
    QTest::newRow("fragment") << cat + "/b.gls?action=load#top";
}

void TestCatalogue::refusedLink()
{
    QFETCH(QString, link);
    const std::optional<CatalogueRequest> request = ParseCatalogueLink(QUrl(link), m_folder);
    QVERIFY2(!request, qPrintable(request ? request->file : QString()));
}

QTEST_APPLESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
