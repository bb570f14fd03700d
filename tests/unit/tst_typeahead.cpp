// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryList.h"
#include "TypeAhead.h"

#include <QTest>

class TestTypeAhead : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing_data();
    void typing();
};

// Each step: a character (\b is Backspace) and the time since the previous one; the expected
// pick is the row or -1 for none.
struct Step
{
    char16_t c;
    qint64 afterMs;
    int pick;
};
Q_DECLARE_METATYPE(QList<Step>)

void TestTypeAhead::typing_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QList<Step>>("steps");
    const QList<QByteArray> animals = {"cow", "Cat", "camel", "dog", "Cat food"};

    QTest::newRow("first line with the prefix, ignoring case")
            << animals << QList<Step> {{u'c', 0, 0}, {u'A', 100, 1}, {u'm', 100, 2}};
    QTest::newRow("pause restarts the search")
            << animals << QList<Step> {{u'c', 0, 0}, {u'd', 499, -1}, {u'd', 500, 3}};
    QTest::newRow("no match keeps nothing picked")
            << animals << QList<Step> {{u'x', 0, -1}, {u'y', 10, -1}};
    QTest::newRow("backspace shortens the text")
            << animals
            << QList<Step> {
                       {u'c', 0, 0}, {u'a', 10, 1}, {u't', 10, 1}, {u' ', 10, 4}, {u'\b', 10, 1}};
    QTest::newRow("backspace emptying picks the first line")
            << animals << QList<Step> {{u'd', 0, 3}, {u'\b', 10, 0}};
    QTest::newRow("backspace on nothing picks the first line")
            << animals << QList<Step> {{u'\b', 0, 0}};
    QTest::newRow("enter is appended") << animals << QList<Step> {{u'c', 0, 0}, {u'\r', 10, -1}};
    QTest::newRow("same line again is picked again")
            << animals << QList<Step> {{u'd', 0, 3}, {u'o', 10, 3}, {u'g', 10, 3}};
    QTest::newRow("non-ASCII prefix")
            << QList<QByteArray> {"apple", "\xc3\x84rger", "\xe4rmel"}
            << QList<Step> {{u'\u00e4', 0, 1}, {u'R', 10, 1}, {u'm', 10, 2}};
    QTest::newRow("empty list") << QList<QByteArray> {}
                                << QList<Step> {{u'a', 0, -1}, {u'\b', 10, -1}};
}

void TestTypeAhead::typing()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QList<Step>, steps);
    EntryList list;
    list.CopyFrom(lines);
    TypeAhead typeAhead;
    qint64 now = 1000;
    for (const Step &step : steps) {
        now += step.afterMs;
        const auto picked = typeAhead.Type(QChar(step.c), now, list);
        QCOMPARE(picked.value_or(-1), step.pick);
    }
}

QTEST_APPLESS_MAIN(TestTypeAhead)
#include "tst_typeahead.moc"
