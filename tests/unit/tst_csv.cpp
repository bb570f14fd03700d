// SPDX-License-Identifier: GPL-3.0-or-later
// CSV cells as a spreadsheet must read them: quoted where RFC 4180 asks, and never a formula.
#include "Csv.h"

#include <QTest>

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void field_data();
    void field();
};

void TestCsv::field_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("cell");
    // clang-format off
    QTest::newRow("plain") << "alice" << QByteArray("alice");
    QTest::newRow("empty") << "" << QByteArray("");
    QTest::newRow("comma, quote") << "a,\"b\"" << QByteArray("\"a,\"\"b\"\"\"");
    QTest::newRow("line break") << "a\nb" << QByteArray("\"a\nb\"");
    QTest::newRow("formula") << "=HYPERLINK(\"http://x\")" << QByteArray("\"'=HYPERLINK(\"\"http://x\"\")\"");
    QTest::newRow("plus") << "+1" << QByteArray("'+1");
    QTest::newRow("minus with comma") << "-1,2" << QByteArray("\"'-1,2\"");
    QTest::newRow("at") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
    QTest::newRow("tab first") << "\tx" << QByteArray("'\tx");
    QTest::newRow("inner equals") << "a=b" << QByteArray("a=b");
    QTest::newRow("UTF-8") << "Ж€" << QByteArray("\xD0\x96\xE2\x82\xAC");
    // clang-format on
}

void TestCsv::field()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, cell);
    QCOMPARE(CsvField(text), cell);
    QCOMPARE(CsvRecord({text, text}), cell + ',' + cell + "\r\n");
}

QTEST_APPLESS_MAIN(TestCsv)
#include "tst_csv.moc"
