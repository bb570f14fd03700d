// SPDX-License-Identifier: GPL-3.0-or-later
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
    QTest::newRow("news, text with a blank") << "red car" << 1 << start + "red+car&searchtype=4";
    QTest::newRow("definition") << "word" << 2 << start + "word&searchtype=2";
    QTest::newRow("spell check") << "x" << 3 << start + "x&searchtype=17";
    QTest::newRow("images") << "moon" << 4 << start + "moon&searchtype=3";
    QTest::newRow("thesaurus") << "big" << 5 << start + "big&searchtype=9";
    // Not trimmed; encoded as a form sends it, so that every character reaches the service as
    // typed (expected values from Python's urllib.parse.quote_plus).
    QTest::newRow("blanks only") << "   " << 0 << start + "+++&searchtype=1";
    QTest::newRow("C++ & more #1")
            << "C++ & more #1" << 0 << start + "C%2B%2B+%26+more+%231&searchtype=1";
    QTest::newRow("query characters")
            << "a&b=c?d#e %41" << 0 << start + "a%26b%3Dc%3Fd%23e+%2541&searchtype=1";
    QTest::newRow("shell characters")
            << "\"; rm -rf ~ #" << 0 << start + "%22%3B+rm+-rf+~+%23&searchtype=1";
    QTest::newRow("command substitution") << "x $(touch /tmp/PWNED)" << 0
                                          << start + "x+%24%28touch+%2Ftmp%2FPWNED%29&searchtype=1";
    QTest::newRow("non-ASCII as UTF-8")
            << QStringLiteral(u"caf\u00e9 \u041f\u0440\u0438\u0432\u0435\u0442") << 0
            << start + "caf%C3%A9+%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&searchtype=1";
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
