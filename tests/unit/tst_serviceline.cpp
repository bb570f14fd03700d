// SPDX-License-Identifier: GPL-3.0-or-later
// The service line and its TAB-separated attributes: what each part is, that every line is
// given back byte for byte, and that setting one attribute changes only its bytes.
#include "Error.h"
#include "ServiceLine.h"

#include <QTest>

class TestServiceLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lines_data();
    void lines();
};

void TestServiceLine::lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QString>("keys");       // the attributes' keys, "," between them
    QTest::addColumn<QString>("groups");     // "|" between them
    QTest::addColumn<QString>("post");       // "-" for none
    QTest::addColumn<QByteArray>("grouped"); // after setting group=G; "!" when refused
    // clang-format off
    QTest::newRow("plain") << QByteArray("W=http://a/?q=|s|") << QByteArray("http://a/?q=|s|") << "" << "" << "-" << QByteArray("W=http://a/?q=|s|\tgroup=G");
    QTest::newRow("post") << QByteArray("W=http://a/s\tpost=q=|s|&lang=en") << QByteArray("http://a/s") << "post" << "" << "q=|s|&lang=en" << QByteArray("W=http://a/s\tpost=q=|s|&lang=en\tgroup=G");
    QTest::newRow("group replaced in place") << QByteArray("W=http://a/\tgroup=A, B,,A\tfound=status:200") << QByteArray("http://a/") << "group,found" << "A|B" << "-" << QByteArray("W=http://a/\tgroup=G\tfound=status:200");
    QTest::newRow("unknown keys kept") << QByteArray("W=http://a/\tx-new=1=2\tpost=\tz9=") << QByteArray("http://a/") << "x-new,post,z9" << "" << "" << QByteArray("W=http://a/\tx-new=1=2\tpost=\tz9=\tgroup=G");
    QTest::newRow("Windows-1252 value") << QByteArray("Caf\xE9=http://a/\tgroup=Caf\xE9") << QByteArray("http://a/") << "group" << QStringLiteral(u"Caf\u00e9") << "-" << QByteArray("Caf\xE9=http://a/\tgroup=G");
    QTest::newRow("TAB before text: an address") << QByteArray("W=http://a/\tq") << QByteArray("http://a/\tq") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("one part not an attribute") << QByteArray("W=http://a/\tgroup=A\tNotKey=1") << QByteArray("http://a/\tgroup=A\tNotKey=1") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("trailing TAB") << QByteArray("W=http://a/\tgroup=A\t") << QByteArray("http://a/\tgroup=A\t") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("empty key") << QByteArray("W=http://a/\t=x") << QByteArray("http://a/\t=x") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("TAB in the name") << QByteArray("N\tme=http://a/") << QByteArray("http://a/") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("no name: the old meaning") << QByteArray("xhttp://a/\tgroup=A") << QByteArray("A") << "" << "" << "-" << QByteArray("!");
    QTest::newRow("CR kept") << QByteArray("W=http://a/\tgroup=A\r") << QByteArray("http://a/") << "group" << "A" << "-" << QByteArray("W=http://a/\tgroup=G");
    // clang-format on
}

void TestServiceLine::lines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, address);
    QFETCH(QString, keys);
    QFETCH(QString, groups);
    QFETCH(QString, post);
    QFETCH(QByteArray, grouped);
    ServiceLine service(line);
    QCOMPARE(service.Bytes(), line);
    QCOMPARE(service.Address(), address);
    QStringList found;
    for (const ServiceLine::Attribute &attribute : service.Attributes())
        found << QString::fromLatin1(attribute.key);
    QCOMPARE(found.join(u','), keys);
    QCOMPARE(service.Groups().join(u'|'), groups);
    QCOMPARE(service.PostBody().value_or(QStringLiteral("-")), post);
    try {
        service.SetValue("group", "G");
        QCOMPARE(service.Bytes(), grouped);
        QCOMPARE(ServiceLine(grouped).Address(), address); // the address means what it meant
    } catch (const CommandError &) {
        QCOMPARE(grouped, QByteArray("!"));
        QCOMPARE(service.Bytes(), line);
    }
}

QTEST_APPLESS_MAIN(TestServiceLine)
#include "tst_serviceline.moc"
