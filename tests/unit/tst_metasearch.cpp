#include "MetaSearch.h"

#include <QTest>

class TestMetaSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchTypes();
    void address_data();
    void address();
    void configuredHost();
};

void TestMetaSearch::searchTypes()
{
    const QList<SearchType> &types = SearchTypes();
    QCOMPARE(types.size(), 6);
    const QStringList items {"Web Search Engines", "News",           "Word Definition",
                             "Spell Check",        "Image Searches", "Thesaurus"};
    const QStringList codes {"1", "4", "2", "17", "3", "9"};
    for (int i = 0; i < types.size(); ++i) {
        QCOMPARE(types.at(i).item, items.at(i));
        QCOMPARE(types.at(i).code, codes.at(i));
    }
}

void TestMetaSearch::address_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    const QString start = QStringLiteral("http://ms.example/services/orbitSeek/index.php?search=");
    QTest::newRow("web") << "cats" << 0 << start + "cats&searchtype=1";
    QTest::newRow("news, text with a blank") << "red car" << 1 << start + "red car&searchtype=4";
    QTest::newRow("definition") << "word" << 2 << start + "word&searchtype=2";
    QTest::newRow("spell check") << "x" << 3 << start + "x&searchtype=17";
    QTest::newRow("images") << "moon" << 4 << start + "moon&searchtype=3";
    QTest::newRow("thesaurus") << "big" << 5 << start + "big&searchtype=9";
    // Not trimmed and not escaped: the text goes in exactly as typed.
    QTest::newRow("blanks only") << "   " << 0 << start + "   &searchtype=1";
    QTest::newRow("query characters kept")
            << "a&b=c?d#e %41" << 0 << start + "a&b=c?d#e %41&searchtype=1";
    QTest::newRow("shell characters kept")
            << "\"; rm -rf ~ #" << 0 << start + "\"; rm -rf ~ #&searchtype=1";
    QTest::newRow("non-ASCII kept")
            << QStringLiteral("caf\u00e9") << 0 << start + QStringLiteral("caf\u00e9&searchtype=1");
}

void TestMetaSearch::address()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(QString, expected);
    QCOMPARE(MetaSearchAddress(QStringLiteral("ms.example"), text, SearchTypes().at(type).code),
             expected);
}

void TestMetaSearch::configuredHost()
{
    // The build's setting reaches the address.
    QCOMPARE(MetaSearchHost(), QStringLiteral(GL_EXPECTED_METASEARCH_HOST));
    QVERIFY(MetaSearchAddress(QStringLiteral("t"), QStringLiteral("9"))
                    .startsWith(
                            QStringLiteral("http://" GL_EXPECTED_METASEARCH_HOST "/services/")));
}

QTEST_APPLESS_MAIN(TestMetaSearch)
#include "tst_metasearch.moc"
