// SPDX-License-Identifier: GPL-3.0-or-later
// Groups of services: which a list names, who is in one, and putting a line in or out of one
// without touching its other bytes.
#include "Error.h"
#include "ServiceGroups.h"

#include <QTest>

class TestServiceGroups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names();
    void membership_data();
    void membership();
};

void TestServiceGroups::names()
{
    const QList<QByteArray> lines = {"A=http://a/\tgroup=social, News", "B=http://b/\tgroup=Social",
                                     "C=http://c/", "D=http://d/\tgroup=art,,news\tfound=status:200",
                                     "E=http://e/group=x"};
    QCOMPARE(ServiceGroupNames(lines), QStringList({"art", "News", "social"}));
    QVERIFY(InServiceGroup(lines.at(1), QStringLiteral("SOCIAL")));
    QVERIFY(!InServiceGroup(lines.at(4), QStringLiteral("x"))); // in the address, no attribute
    QVERIFY(InServiceGroup(lines.at(2), QString()));
    for (const QString bad : {" ", "a,b", "a\tb"})
        QVERIFY_THROWS_EXCEPTION(CommandError, CheckedGroupName(bad));
    QCOMPARE(CheckedGroupName(QStringLiteral("  Social media ")), QStringLiteral("Social media"));
}

void TestServiceGroups::membership_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("member");
    QTest::addColumn<QByteArray>("expected"); // "!" when refused
    // clang-format off
    QTest::newRow("added") << QByteArray("W=http://a/?q=|s|") << "News" << true << QByteArray("W=http://a/?q=|s|\tgroup=News");
    QTest::newRow("joins others in place") << QByteArray("W=http://a/\tgroup=A\tfound=status:200") << "B" << true << QByteArray("W=http://a/\tgroup=A,B\tfound=status:200");
    QTest::newRow("already in: same bytes") << QByteArray("W=http://a/\tgroup= a ,b") << "A" << true << QByteArray("W=http://a/\tgroup= a ,b");
    QTest::newRow("not in: same bytes") << QByteArray("W=http://a/\tx=1") << "A" << false << QByteArray("W=http://a/\tx=1");
    QTest::newRow("taken out, case ignored") << QByteArray("W=http://a/\tgroup=A,b\tx=1") << "B" << false << QByteArray("W=http://a/\tgroup=A\tx=1");
    QTest::newRow("last one out: attribute gone") << QByteArray("W=http://a/\tpost=q=|s|\tgroup=A") << "a" << false << QByteArray("W=http://a/\tpost=q=|s|");
    QTest::newRow("address with TAB refused") << QByteArray("W=http://a/\tq") << "A" << true << QByteArray("!");
    QTest::newRow("no = refused") << QByteArray("http://a/") << "A" << true << QByteArray("!");
    QTest::newRow("Windows-1252 line: the name in it too") << QByteArray("Caf\xe9=http://c/\tgroup=\xc9t\xe9") << "R\u00e9seau" << true << QByteArray("Caf\xe9=http://c/\tgroup=\xc9t\xe9,R\xe9seau");
    QTest::newRow("not in Windows-1252: refused") << QByteArray("Caf\xe9=http://c/") << "\u65e5" << true << QByteArray("!");
    // clang-format on
}

void TestServiceGroups::membership()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, group);
    QFETCH(bool, member);
    QFETCH(QByteArray, expected);
    if (expected == "!") {
        QVERIFY_THROWS_EXCEPTION(CommandError, WithServiceGroup(line, group, member));
        return;
    }
    QCOMPARE(WithServiceGroup(line, group, member), expected);
    QCOMPARE(InServiceGroup(expected, group), member);
}

QTEST_APPLESS_MAIN(TestServiceGroups)
#include "tst_servicegroups.moc"
