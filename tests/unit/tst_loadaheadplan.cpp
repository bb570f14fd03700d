// SPDX-License-Identifier: GPL-3.0-or-later
// The load-ahead scheduler's decisions, without the engine: which line loads next, which hidden
// pages stay and which go, and which one shows a step at once.
#include "LoadAhead.h"

#include <QTest>

namespace {

// "a:t3" a page loaded ahead for the term t3, "k2:t0" one kept two steps back, "v:t1" the page
// on view; "*" still loading, "!" taken elsewhere by the user.
HiddenPage page(QString token)
{
    HiddenPage page;
    page.loading = token.endsWith(u'*') || token.endsWith(QStringLiteral("*!"));
    page.pristine = !token.endsWith(u'!');
    token.remove(u'*').remove(u'!');
    const QString kind = token.section(u':', 0, 0);
    page.role = kind.startsWith(u'k') ? HiddenPage::Kept : HiddenPage::Ahead;
    page.distance = kind.mid(1).toInt();
    page.request.url = QUrl(QStringLiteral("http://h/?q=") + token.section(u':', 1));
    return page;
}

QList<HiddenPage> pages(const QString &tokens)
{
    QList<HiddenPage> list;
    for (const QString &token : tokens.split(u' ', Qt::SkipEmptyParts))
        list.append(page(token));
    return list;
}

QString drops(const QList<int> &indexes)
{
    QStringList out;
    for (int i : indexes)
        out.append(QString::number(i));
    return out.isEmpty() ? QStringLiteral("none") : QStringLiteral("drop ") + out.join(u',');
}

// The decision asked for in "question | page on view or row | hidden pages or step | wanted".
QString decide(const QString &situation)
{
    const QStringList f = situation.split(u'|');
    const QString ask = f.value(0).trimmed();
    if (ask == u"next") // row | direction | count
        return QString::number(LoadAheadScheduler::nextLine(f.value(1).toInt(), f.value(2).toInt(),
                                                            f.value(3).toInt()));
    if (ask == u"direction") // from | to | previous
        return QString::number(LoadAheadScheduler::stepDirection(
                f.value(1).toInt(), f.value(2).toInt(), f.value(3).toInt()));
    LoadAheadScheduler scheduler;
    const QString wanted = f.value(3).trimmed();
    if (wanted.endsWith(u'+')) // a form sent by POST
        scheduler.setWanted({QUrl(QStringLiteral("http://h/")), "q=" + wanted.toUtf8()});
    else if (!wanted.isEmpty())
        scheduler.setWanted({QUrl(QStringLiteral("http://h/?q=") + wanted)});
    const QList<HiddenPage> hidden = pages(f.value(2));
    if (ask == u"plan") {
        const LoadAheadScheduler::Plan plan = scheduler.plan(page(f.value(1).trimmed()), hidden);
        if (!plan.load)
            return drops(plan.drop);
        return plan.drop.isEmpty() ? QStringLiteral("load") : drops(plan.drop) + QStringLiteral("; load");
    }
    if (ask == u"trim")
        return drops(scheduler.trim(hidden));
    if (ask == u"clear")
        return drops(scheduler.dropAhead(hidden));
    // ready: the hidden page that shows the search on view at once
    return QString::number(scheduler.ready(hidden, page(f.value(1).trimmed()).request));
}

} // namespace

class TestLoadAheadPlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decisions_data();
    void decisions();
};

void TestLoadAheadPlan::decisions_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("the page on view ready: the next line loads") << "plan | v:t1 | | t2" << "load";
    QTest::newRow("nothing ahead while the page on view loads") << "plan | v:t1* | | t2" << "none";
    QTest::newRow("the line wanted is the one on view") << "plan | v:t2 | | t2" << "none";
    QTest::newRow("nothing wanted ahead") << "plan | v:t1 | k1:t0 |" << "none";
    QTest::newRow("a form is never sent ahead") << "plan | v:t1 | | t2+" << "none";
    QTest::newRow("ahead on its way") << "plan | v:t1 | a:t2* | t2" << "none";
    QTest::newRow("ahead and ready") << "plan | v:t1 | a:t2 | t2" << "none";
    QTest::newRow("kept for a step back and ready") << "plan | v:t1 | k1:t2 | t2" << "none";
    QTest::newRow("a page the user took elsewhere loads again") << "plan | v:t1 | a:t2! | t2" << "load";
    QTest::newRow("a turn: the load for the other way gives way") << "plan | v:t1 | a:t3* k1:t2 | t0" << "drop 0; load";
    QTest::newRow("two kept: the one further back goes") << "plan | v:t2 | k1:t1 k2:t0 | t3" << "drop 1; load";
    QTest::newRow("ahead for a step no longer coming goes first") << "plan | v:t2 | a:t4 k1:t1 | t3" << "drop 0; load";
    QTest::newRow("at most two hidden: the far one goes") << "trim | | a:t3 k1:t1 k2:t0 | t3" << "drop 2";
    QTest::newRow("ahead for another step goes before kept pages") << "trim | | a:t3 k1:t1 k3:t9 | t5" << "drop 0";
    QTest::newRow("two hidden stay") << "trim | | a:t3 k1:t1 | t3" << "none";
    QTest::newRow("loading ahead turned off: kept pages stay") << "clear | | a:t3 k1:t1 |" << "drop 0";
    QTest::newRow("a step onto the page ahead") << "ready | v:t3 | k1:t1 a:t3 |" << "1";
    QTest::newRow("a step back onto the kept page") << "ready | v:t1 | a:t3 k1:t1 |" << "1";
    QTest::newRow("a page the user took elsewhere is not shown") << "ready | v:t3 | a:t3! |" << "-1";
    QTest::newRow("a search not loaded ahead") << "ready | v:t5 | a:t3 k1:t1 |" << "-1";
    QTest::newRow("next line down") << "next | 2 | 1 | 5" << "3";
    QTest::newRow("next line up") << "next | 2 | -1 | 5" << "1";
    QTest::newRow("nothing past the last line") << "next | 4 | 1 | 5" << "-1";
    QTest::newRow("nothing above the first line") << "next | 0 | -1 | 5" << "-1";
    QTest::newRow("no line picked") << "next | -1 | 1 | 5" << "-1";
    QTest::newRow("a step up turns the direction") << "direction | 3 | 2 | 1" << "-1";
    QTest::newRow("a pick without a line before keeps it") << "direction | -1 | 2 | -1" << "-1";
    QTest::newRow("the same line keeps it") << "direction | 2 | 2 | -1" << "-1";
    QTest::newRow("a step down") << "direction | 2 | 3 | -1" << "1";
    // clang-format on
}

void TestLoadAheadPlan::decisions()
{
    QFETCH(QString, situation);
    QFETCH(QString, expected);
    QCOMPARE(decide(situation), expected);
}

QTEST_APPLESS_MAIN(TestLoadAheadPlan)
#include "tst_loadaheadplan.moc"
