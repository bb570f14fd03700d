// SPDX-License-Identifier: GPL-3.0-or-later
// A case's searches run again: what counts as a change and how it is counted, the pairs a case
// holds (their order, the result each is compared with), and the last run read back from a case.
#include "Case.h"
#include "RerunChanges.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Cases;

namespace {

// A search as the record holds it: "service|term|verdict|hash|started by", the line made from
// the service's name (with its group when the name says "News").
CaseEntry search(const QString &fields)
{
    const QStringList parts = fields.split(u'|');
    CaseEntry entry;
    entry.kind = QString::fromLatin1(kSearch);
    entry.service = parts.at(0);
    entry.serviceLine = parts.at(0).isEmpty()
            ? QString()
            : parts.at(0) + QStringLiteral("=http://127.0.0.1/|s|")
                    + (parts.at(0) == u"News" ? QStringLiteral("\tgroup=news") : QString());
    entry.term = parts.at(1);
    entry.address = QStringLiteral("http://127.0.0.1/") + parts.at(1);
    entry.verdict = parts.at(2);
    entry.textSha256 = parts.at(3).isEmpty() ? QString() : QString(64, parts.at(3).at(0));
    entry.outcome = QString::fromLatin1(kLoaded);
    entry.status = 200;
    entry.startedBy = parts.value(4, QStringLiteral("matrix"));
    return entry;
}

// A change as "term,service,before,after,page".
QString row(const RerunChange &change)
{
    return QStringList {change.after.term, change.after.service, change.before.verdict,
                        change.after.verdict, change.pageWord()}
            .join(u',');
}

} // namespace

class TestRerun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compare_data();
    void compare();
    void pairs();
    void lastRun();
};

void TestRerun::compare_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("expected"); // the change's row, empty for none
    QTest::addColumn<int>("kind");
    // clang-format off
    QTest::newRow("nothing changed") << "Web|ada|found|a" << "Web|ada|found|a" << "" << -1;
    QTest::newRow("a user appears") << "Web|ada|not found|a" << "Web|ada|found|b" << "ada,Web,not found,found,changed" << int(RerunKind::NewHit);
    QTest::newRow("a user goes") << "Web|ada|found|a" << "Web|ada|not found|b" << "ada,Web,found,not found,changed" << int(RerunKind::HitGone);
    QTest::newRow("a hit no rule decides") << "Web|ada|found|a" << "Web|ada|unknown|b" << "ada,Web,found,unknown,changed" << int(RerunKind::HitGone);
    QTest::newRow("a site refuses") << "Web|ada|found|a" << "Web|ada|blocked|b" << "ada,Web,found,blocked,changed" << int(RerunKind::Blocked);
    QTest::newRow("no page came") << "Web|ada|found|a" << "Web|ada|error|" << "ada,Web,found,error," << int(RerunKind::Error);
    QTest::newRow("refused no longer") << "Web|ada|blocked|a" << "Web|ada|found|a" << "ada,Web,blocked,found,same" << int(RerunKind::NewHit);
    QTest::newRow("other verdicts") << "Web|ada|blocked|a" << "Web|ada|not found|b" << "ada,Web,blocked,not found,changed" << int(RerunKind::Other);
    QTest::newRow("a profile's text") << "Web|ada|found|a" << "Web|ada|found|b" << "ada,Web,found,found,changed" << int(RerunKind::PageChanged);
    QTest::newRow("a page without rules") << "Web|ada|unknown|a" << "Web|ada|unknown|b" << "ada,Web,unknown,unknown,changed" << int(RerunKind::PageChanged);
    QTest::newRow("a challenge page's text") << "Web|ada|blocked|a" << "Web|ada|blocked|c" << "ada,Web,blocked,blocked,changed" << int(RerunKind::PageChanged);
    QTest::newRow("no hash before") << "Web|ada|found|" << "Web|ada|found|b" << "" << -1;
    QTest::newRow("no hash after") << "Web|ada|error|a" << "Web|ada|error|" << "" << -1;
    QTest::newRow("no verdict before") << "Web|ada||" << "Web|ada|found|b" << "ada,Web,,found," << int(RerunKind::FirstVerdict);
    QTest::newRow("no verdict before, a miss") << "Web|ada||" << "Web|ada|not found|b" << "ada,Web,,not found," << int(RerunKind::FirstVerdict);
    // clang-format on
}

void TestRerun::compare()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, expected);
    QFETCH(int, kind);
    const std::optional<RerunChange> change = CompareRerun(search(before), search(after));
    QCOMPARE(change ? row(*change) : QString(), expected);
    if (!change)
        return;
    QCOMPARE(int(change->kind()), kind);
    RerunCounts counts;
    counts.pairs = 3;
    counts.add(*change);
    QCOMPARE(counts.changed(), 1);
    QVERIFY(counts.summary().startsWith(QStringLiteral("3 searched again, 1 changed: ")));
}

// Each pair once, in the order it first came; compared with its latest result, which a page
// seen in the pane since (no verdict) does not hide; a search sent to the browser makes none.
void TestRerun::pairs()
{
    RerunPairs collected;
    // clang-format off
    for (const char *fields : {"Web|ada|not found|a", "News|ada|found|b", "Web|bob|||click", "Web|ada|found|c|rerun",
                               "|ada|||quick launcher", "Web|ada|||click", "News|bob|unknown|d", "Web|bob|blocked|e"})
        collected.add(search(QString::fromLatin1(fields)));
    // clang-format on
    QStringList all;
    for (const RerunPair &pair : collected.pairs())
        all.append(pair.term + u' ' + pair.serviceLine.section(u'=', 0, 0) + u' '
                   + pair.before.verdict + u' ' + pair.before.textSha256.left(1));
    QCOMPARE(all,
             QStringList({"ada Web found c", "ada News found b", "bob Web blocked e",
                          "bob News unknown d"}));
    QCOMPARE(collected.pairs(QStringLiteral(" NEWS ")).size(), 2);
    QCOMPARE(collected.pairs(QStringLiteral("none")).size(), 0);
}

// The last run reaches back to the first pair that repeats; each of its searches is compared
// with the result just before it.
void TestRerun::lastRun()
{
    QTemporaryDir folder;
    const std::unique_ptr<Case> target
            = Case::openFolder(folder.filePath(QStringLiteral("c")), Case::Access::Write);
    QCOMPARE(ReadLastRerun(target->store()).pairs, 0);
    // clang-format off
    for (const char *fields : {"Web|ada|not found|a", "Web|bob|found|b", "Web|ada|found|c|rerun", "Web|bob|found|b|rerun",
                               "Web|ada|||click", "Web|bob|blocked|d|rerun", "Web|ada|found|e|rerun", "Web|cat|unknown|f"})
        target->appendSearch(search(QString::fromLatin1(fields)));
    // clang-format on
    const LastRerun last = ReadLastRerun(target->store());
    QCOMPARE(last.pairs, 2);
    QStringList rows;
    for (const RerunChange &change : last.changes)
        rows.append(row(change));
    QCOMPARE(rows, QStringList({"ada,Web,found,found,changed", "bob,Web,found,blocked,changed"}));
    RerunCounts counts;
    counts.pairs = last.pairs;
    for (const RerunChange &change : last.changes)
        counts.add(change);
    QCOMPARE(counts.summary(),
             QStringLiteral("2 searched again, 2 changed: new hits 0, hits gone 0, blocked 1, "
                            "errors 0, pages changed 1"));
    QVERIFY(!last.started.isEmpty());
}

QTEST_APPLESS_MAIN(TestRerun)
#include "tst_rerun.moc"
