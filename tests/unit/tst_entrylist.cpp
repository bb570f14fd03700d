// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryList.h"
#include "ListTestSupport.h"
#include "Search.h"
#include "TextRules.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Lines = QList<QByteArray>;

// Text as typed (UTF-8) and the same text as a Windows program writes it (Windows-1252).
static const QByteArray kCafeUtf8 = "caf\xc3\xa9";
static const QByteArray kCafe1252 = "caf\xe9";

class TestEntryList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findPrefixMatchesPlainComparison();
    void findPrefixFollowsEdits();
    void cleanup();

    void lineAt_data();
    void lineAt();
    void replaceLine_data();
    void replaceLine();
    void append_data();
    void append();
    void remove_data();
    void remove();
    void wholeContentLosesSelection_data();
    void wholeContentLosesSelection();
    void selectLine_data();
    void selectLine();
    void displayText_data();
    void displayText();
    void hugeLineIsShownCut();
    void modelSignalsStayConsistent();

    void setByName_data();
    void setByName();
    void serviceStringAt_data();
    void serviceStringAt();
    void setServiceStringAt_data();
    void setServiceStringAt();
    void allText_data();
    void allText();

    void sortOnce_data();
    void sortOnce();
    void sortKeepsSelectedPosition();
    void findPrefix_data();
    void findPrefix();
    void findPrefixFollowsChanges();
    void removeDuplicateLines_data();
    void removeDuplicateLines();

    void sortAndDeduplicationAgreeWithFolding();

    void goAddress_data();
    void goAddress();
};

void TestEntryList::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

void TestEntryList::lineAt_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("error");
    const Lines abc {"a", "", "c"};
    QTest::newRow("first") << abc << qsizetype(0) << QByteArray("a") << QString();
    QTest::newRow("empty line") << abc << qsizetype(1) << QByteArray() << QString();
    QTest::newRow("last") << abc << qsizetype(2) << QByteArray("c") << QString();
    QTest::newRow("past the end") << abc << qsizetype(3) << QByteArray()
                                  << "List index out of bounds (3)";
    QTest::newRow("negative") << abc << qsizetype(-1) << QByteArray()
                              << "List index out of bounds (-1)";
    QTest::newRow("empty list") << Lines() << qsizetype(0) << QByteArray()
                                << "List index out of bounds (0)";
}

void TestEntryList::lineAt()
{
    QFETCH(Lines, lines);
    QFETCH(qsizetype, index);
    QFETCH(QByteArray, expected);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, lines);
    QCOMPARE(list.Count(), lines.size());
    QByteArray line;
    QCOMPARE(errorOf([&] { line = list.LineAt(index); }), error);
    QCOMPARE(line, expected);
}

void TestEntryList::replaceLine_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<qsizetype>("selected");
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Lines>("expected");
    QTest::addColumn<QString>("error");
    const Lines abc {"a", "b", "c"};
    QTest::newRow("the selected line") << abc << qsizetype(1) << qsizetype(1) << QByteArray("x")
                                       << Lines {"a", "x", "c"} << QString();
    QTest::newRow("another line") << abc << qsizetype(2) << qsizetype(0) << QByteArray("x")
                                  << Lines {"x", "b", "c"} << QString();
    QTest::newRow("no selection") << abc << qsizetype(-1) << qsizetype(2) << QByteArray()
                                  << Lines {"a", "b", ""} << QString();
    QTest::newRow("past the end") << abc << qsizetype(0) << qsizetype(3) << QByteArray("x") << abc
                                  << "List index out of bounds (3)";
    QTest::newRow("negative") << abc << qsizetype(0) << qsizetype(-1) << QByteArray("x") << abc
                              << "List index out of bounds (-1)";
}

void TestEntryList::replaceLine()
{
    QFETCH(Lines, lines);
    QFETCH(qsizetype, selected);
    QFETCH(qsizetype, index);
    QFETCH(QByteArray, text);
    QFETCH(Lines, expected);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, lines, selected);
    QSignalSpy selectionSpy(list.selectionModel(), &QItemSelectionModel::selectionChanged);
    QCOMPARE(errorOf([&] { list.ReplaceLine(index, text); }), error);
    QCOMPARE(list.Lines(), expected);
    QCOMPARE(list.SelectedIndex(), selected);
    QCOMPARE(selectionSpy.count(), 0);
}

void TestEntryList::append_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<qsizetype>("selected");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("to an empty list") << Lines() << qsizetype(-1) << QByteArray("a");
    QTest::newRow("after a selected line") << Lines {"b", "a"} << qsizetype(0) << QByteArray("a");
    QTest::newRow("a duplicate") << Lines {"a"} << qsizetype(0) << QByteArray("a");
    QTest::newRow("an empty line") << Lines {"a"} << qsizetype(-1) << QByteArray();
}

void TestEntryList::append()
{
    QFETCH(Lines, lines);
    QFETCH(qsizetype, selected);
    QFETCH(QByteArray, text);
    EntryList list;
    fillList(list, lines, selected);
    list.Append(text);
    QCOMPARE(list.Lines(), lines + Lines {text});
    QCOMPARE(list.SelectedIndex(), selected);
}

void TestEntryList::remove_data()
{
    QTest::addColumn<qsizetype>("selected");
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<Lines>("expected");
    QTest::addColumn<qsizetype>("selectedAfter");
    QTest::addColumn<QString>("error");
    QTest::newRow("the selected line")
            << qsizetype(1) << qsizetype(1) << Lines {"a", "c"} << qsizetype(-1) << QString();
    QTest::newRow("a line before the selection")
            << qsizetype(2) << qsizetype(0) << Lines {"b", "c"} << qsizetype(-1) << QString();
    QTest::newRow("a line after the selection")
            << qsizetype(0) << qsizetype(2) << Lines {"a", "b"} << qsizetype(-1) << QString();
    QTest::newRow("no selection") << qsizetype(-1) << qsizetype(2) << Lines {"a", "b"}
                                  << qsizetype(-1) << QString();
    QTest::newRow("past the end") << qsizetype(1) << qsizetype(3) << Lines {"a", "b", "c"}
                                  << qsizetype(1) << "List index out of bounds (3)";
}

void TestEntryList::remove()
{
    QFETCH(qsizetype, selected);
    QFETCH(qsizetype, index);
    QFETCH(Lines, expected);
    QFETCH(qsizetype, selectedAfter);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, {"a", "b", "c"}, selected);
    QCOMPARE(errorOf([&] { list.Remove(index); }), error);
    QCOMPARE(list.Lines(), expected);
    QCOMPARE(list.SelectedIndex(), selectedAfter);
}

void TestEntryList::wholeContentLosesSelection_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("Clear") << "Clear" << Lines();
    QTest::newRow("CopyFrom") << "CopyFrom" << Lines {"x"};
    QTest::newRow("CopyFrom with the same lines") << "CopyFrom" << Lines {"a", "b", "c"};
    QTest::newRow("LoadFile") << "LoadFile" << Lines {"x", "", "z"};
}

void TestEntryList::wholeContentLosesSelection()
{
    QFETCH(QString, operation);
    QFETCH(Lines, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    EntryList list;
    fillList(list, {"a", "b", "c"}, 1);
    if (operation == u"Clear") {
        list.Clear();
    } else if (operation == u"CopyFrom") {
        list.CopyFrom(expected);
    } else {
        const QString path = dir.filePath(QStringLiteral("terms.glt"));
        QVERIFY(writeBytes(path, "x\r\n\r\nz\r\n"));
        list.LoadFile(path);
    }
    QCOMPARE(list.Lines(), expected);
    QCOMPARE(list.SelectedIndex(), qsizetype(-1));
    QVERIFY(!list.selectionModel()->currentIndex().isValid());
}

void TestEntryList::selectLine_data()
{
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<qsizetype>("expected");
    QTest::addColumn<QString>("error");
    QTest::newRow("first") << qsizetype(0) << qsizetype(0) << QString();
    QTest::newRow("last") << qsizetype(2) << qsizetype(2) << QString();
    QTest::newRow("none") << qsizetype(-1) << qsizetype(-1) << QString();
    QTest::newRow("past the end") << qsizetype(3) << qsizetype(1) << "List index out of bounds (3)";
    QTest::newRow("below -1") << qsizetype(-2) << qsizetype(1) << "List index out of bounds (-2)";
}

void TestEntryList::selectLine()
{
    QFETCH(qsizetype, index);
    QFETCH(qsizetype, expected);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, {"a", "b", "c"}, 1);
    QCOMPARE(errorOf([&] { list.SelectLine(index); }), error);
    QCOMPARE(list.SelectedIndex(), expected);
}

void TestEntryList::displayText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii") << QByteArray("Web=http://a/?q=|s|")
                           << QStringLiteral("Web=http://a/?q=|s|");
    QTest::newRow("utf-8") << kCafeUtf8 << QStringLiteral("caf\u00e9");
    QTest::newRow("windows-1252") << kCafe1252 << QStringLiteral("caf\u00e9");
    QTest::newRow("1252 quotes") << QByteArray("\x93x\x94") << QStringLiteral("\u201cx\u201d");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestEntryList::displayText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    EntryList list;
    fillList(list, {"first", line});
    QCOMPARE(list.TextAt(1), expected);
    QCOMPARE(list.data(list.index(1)).toString(), expected);
    QCOMPARE(list.rowCount(), 2);
    // Lines are stored as they came, whatever the display shows.
    QCOMPARE(list.LineAt(1), line);
}

void TestEntryList::hugeLineIsShownCut()
{
    // Qt lays out an item's whole text at each paint: a line of megabytes held the window.
    EntryList list;
    fillList(list, {"\xC3\xA9" + QByteArray(EntryList::kLongestShownLine, 'a')});
    QCOMPARE(list.data(list.index(0)).toString(),
             u'\u00e9' + QString(EntryList::kLongestShownLine - 3, u'a') + QStringLiteral("..."));
}

void TestEntryList::modelSignalsStayConsistent()
{
    // The tester checks every change notification against the model's state.
    EntryList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.Append("b");
    list.Append("A");
    list.Append("c");
    list.ReplaceLine(2, "C");
    list.SelectLine(2);
    list.SortOnce();
    QCOMPARE(list.Lines(), (Lines {"A", "b", "C"}));
    list.Remove(0);
    list.SetByName("x", "1");
    list.SetServiceStringAt(0, "2");
    list.CopyFrom({"z"});
    list.Clear();
    QCOMPARE(list.rowCount(), 0);
}

void TestEntryList::setByName_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("serviceString");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("other case, replaced in place")
            << Lines {"Bing=b", "Google=y", "Yahoo=z"} << QByteArray("google") << QByteArray("x")
            << Lines {"Bing=b", "google=x", "Yahoo=z"};
    QTest::newRow("no match appends") << Lines {"Bing=b"} << QByteArray("Google") << QByteArray("x")
                                      << Lines {"Bing=b", "Google=x"};
    QTest::newRow("empty list appends")
            << Lines() << QByteArray("Google") << QByteArray("x") << Lines {"Google=x"};
    QTest::newRow("first of two matches")
            << Lines {"a=1", "A=2"} << QByteArray("a") << QByteArray("3") << Lines {"a=3", "A=2"};
    QTest::newRow("name is the text before the first =")
            << Lines {"a=b=c"} << QByteArray("a") << QByteArray("x") << Lines {"a=x"};
    QTest::newRow("a name holding = matches no shorter name")
            << Lines {"a=b=c"} << QByteArray("a=b") << QByteArray("x") << Lines {"a=b=c", "a=b=x"};
    QTest::newRow("line without = never matches the empty name")
            << Lines {"abc"} << QByteArray() << QByteArray("x") << Lines {"abc", "=x"};
    QTest::newRow("line without = never matches its text")
            << Lines {"abc"} << QByteArray("abc") << QByteArray("x") << Lines {"abc", "abc=x"};
    QTest::newRow("empty name matches a line starting with =")
            << Lines {"a=1", "=old"} << QByteArray() << QByteArray("x") << Lines {"a=1", "=x"};
    QTest::newRow("prefix of a name is no match")
            << Lines {"Googles=y"} << QByteArray("Google") << QByteArray("x")
            << Lines {"Googles=y", "Google=x"};
    QTest::newRow("non-ASCII case variant")
            << Lines {"\xc3\x84pfel=1"} << QByteArray("\xc3\xa4PFEL") << QByteArray("2")
            << Lines {"\xc3\xa4PFEL=2"};
    QTest::newRow("Windows-1252 name matched by its UTF-8 text")
            << Lines {"CAF\xc9=1"} << kCafeUtf8 << QByteArray("2") << Lines {kCafeUtf8 + "=2"};
    // A line that is not UTF-8 as a whole shows its name in Windows-1252.
    QTest::newRow("attributes kept") << Lines {"Web=old\tgroup=G"} << QByteArray("WEB")
                                     << QByteArray("x") << Lines {"WEB=x\tgroup=G"};
    QTest::newRow("name read as its whole line")
            << Lines {"Caf\xc3\xa9=x\xe9"} << kCafeUtf8 << QByteArray("2")
            << Lines {"Caf\xc3\xa9=x\xe9", kCafeUtf8 + "=2"};
    QTest::newRow("name read as its whole line, as shown")
            << Lines {"Caf\xc3\xa9=x\xe9"} << QByteArray("caf\xc3\x83\xc2\xa9") << QByteArray("2")
            << Lines {"caf\xc3\x83\xc2\xa9=2"};
}

void TestEntryList::setByName()
{
    QFETCH(Lines, lines);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, serviceString);
    QFETCH(Lines, expected);
    EntryList list;
    fillList(list, lines, lines.isEmpty() ? -1 : 0);
    const qsizetype selected = list.SelectedIndex();
    list.SetByName(name, serviceString);
    QCOMPARE(list.Lines(), expected);
    QCOMPARE(list.SelectedIndex(), selected);
}

void TestEntryList::serviceStringAt_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("error");
    QTest::newRow("after the name") << Lines {"Web=http://a/?q=|s|"} << qsizetype(0)
                                    << QByteArray("http://a/?q=|s|") << QString();
    QTest::newRow("further = kept") << Lines {"W=http://a/?q=|s|&b=c"} << qsizetype(0)
                                    << QByteArray("http://a/?q=|s|&b=c") << QString();
    QTest::newRow("empty name") << Lines {"=x"} << qsizetype(0) << QByteArray("x") << QString();
    QTest::newRow("attributes left out") << Lines {"W=http://a/\tgroup=G"} << qsizetype(0)
                                         << QByteArray("http://a/") << QString();
    QTest::newRow("empty string") << Lines {"a="} << qsizetype(0) << QByteArray() << QString();
    QTest::newRow("no = drops the first character")
            << Lines {"abc"} << qsizetype(0) << QByteArray("bc") << QString();
    QTest::newRow("no = drops a whole UTF-8 character")
            << Lines {"\xc3\xa9xy"} << qsizetype(0) << QByteArray("xy") << QString();
    QTest::newRow("no = drops one Windows-1252 character")
            << Lines {"\xe9xy"} << qsizetype(0) << QByteArray("xy") << QString();
    QTest::newRow("single character") << Lines {"a"} << qsizetype(0) << QByteArray() << QString();
    QTest::newRow("empty line") << Lines {""} << qsizetype(0) << QByteArray() << QString();
    QTest::newRow("second line") << Lines {"a=1", "b=2"} << qsizetype(1) << QByteArray("2")
                                 << QString();
    QTest::newRow("no selection is empty")
            << Lines {"a=1"} << qsizetype(-1) << QByteArray() << QString();
    QTest::newRow("no selection on an empty list")
            << Lines() << qsizetype(-1) << QByteArray() << QString();
    QTest::newRow("past the end") << Lines {"a=1"} << qsizetype(1) << QByteArray()
                                  << "List index out of bounds (1)";
}

void TestEntryList::serviceStringAt()
{
    QFETCH(Lines, lines);
    QFETCH(qsizetype, index);
    QFETCH(QByteArray, expected);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, lines);
    QByteArray serviceString;
    QCOMPARE(errorOf([&] { serviceString = list.ServiceStringAt(index); }), error);
    QCOMPARE(serviceString, expected);
}

void TestEntryList::setServiceStringAt_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<qsizetype>("index");
    QTest::addColumn<Lines>("expected");
    QTest::addColumn<QString>("error");
    QTest::newRow("-1 appends =x")
            << Lines {"a=1"} << qsizetype(-1) << Lines {"a=1", "=x"} << QString();
    QTest::newRow("-1 on an empty list") << Lines() << qsizetype(-1) << Lines {"=x"} << QString();
    QTest::newRow("keeps the name")
            << Lines {"a=1", "Web=old=y"} << qsizetype(1) << Lines {"a=1", "Web=x"} << QString();
    QTest::newRow("line without = gets an empty name")
            << Lines {"abc"} << qsizetype(0) << Lines {"=x"} << QString();
    QTest::newRow("attributes kept") << Lines {"W=old\tgroup=G\tzz=1"} << qsizetype(0)
                                     << Lines {"W=x\tgroup=G\tzz=1"} << QString();
    QTest::newRow("Windows-1252 name kept as bytes")
            << Lines {"CAF\xc9=1"} << qsizetype(0) << Lines {"CAF\xc9=x"} << QString();
    QTest::newRow("past the end") << Lines {"a=1"} << qsizetype(1) << Lines {"a=1"}
                                  << "List index out of bounds (1)";
}

void TestEntryList::setServiceStringAt()
{
    QFETCH(Lines, lines);
    QFETCH(qsizetype, index);
    QFETCH(Lines, expected);
    QFETCH(QString, error);
    EntryList list;
    fillList(list, lines, lines.isEmpty() ? -1 : 0);
    const qsizetype selected = list.SelectedIndex();
    QCOMPARE(errorOf([&] { list.SetServiceStringAt(index, "x"); }), error);
    QCOMPARE(list.Lines(), expected);
    QCOMPARE(list.SelectedIndex(), selected);
}

void TestEntryList::allText_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty list") << Lines() << QByteArray();
    QTest::newRow("one empty line") << Lines {""} << QByteArray("\r\n");
    QTest::newRow("a, empty, b") << Lines {"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("bytes kept") << Lines {kCafe1252, kCafeUtf8}
                                << QByteArray(kCafe1252 + "\r\n" + kCafeUtf8 + "\r\n");
}

void TestEntryList::allText()
{
    QFETCH(Lines, lines);
    QFETCH(QByteArray, expected);
    EntryList list;
    fillList(list, lines);
    QCOMPARE(JoinLines(list.Lines()), expected);
    QCOMPARE(splitLines(expected), lines);
}

void TestEntryList::sortOnce_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<Lines>("expected");
    // No two lines here are equal ignoring case: their order among themselves is undefined.
    for (const char *name : {"C", "en_US"}) {
        const QString locale = QString::fromLatin1(name);
        QTest::addRow("%s: case ignored", name) << locale << Lines {"cherry", "Banana", "apple"}
                                                << Lines {"apple", "Banana", "cherry"};
        QTest::addRow("%s: upper case not first", name)
                << locale << Lines {"b", "A", "c", "D"} << Lines {"A", "b", "c", "D"};
        QTest::addRow("%s: empty line first", name)
                << locale << Lines {"b", "", "a"} << Lines {"", "a", "b"};
        QTest::addRow("%s: shorter first", name)
                << locale << Lines {"abc", "AB", "a"} << Lines {"a", "AB", "abc"};
        QTest::addRow("%s: empty list", name) << locale << Lines() << Lines();
        QTest::addRow("%s: long common beginning", name)
                << locale << Lines {"abcdefghijklmnopZ", "ABCDEFGHIJKLMNOPa", "abcdefghijklmnop"}
                << Lines {"abcdefghijklmnop", "ABCDEFGHIJKLMNOPa", "abcdefghijklmnopZ"};
    }
    // Without collation rules the order is that of the code points, case folded.
    QTest::newRow("C: non-ASCII after ASCII") << "C" << Lines {"\xc3\xa4pfel", "Zebra", "apple"}
                                              << Lines {"apple", "Zebra", "\xc3\xa4pfel"};
    QTest::newRow("C: Windows-1252 as its characters")
            << "C" << Lines {"\xc9t\xc9", "f", "\xc3\xa9z"}
            << Lines {"f", "\xc9t\xc9", "\xc3\xa9z"};
    QTest::newRow("en_US: accents with their letters")
            << "en_US" << Lines {"Zebra", "\xc3\x84pfel", "Banana", "Apple"}
            << Lines {"\xc3\x84pfel", "Apple", "Banana", "Zebra"};
    QTest::newRow("en_US: Windows-1252 as its characters")
            << "en_US" << Lines {"f", "\xc9t\xc9", "d"} << Lines {"d", "\xc9t\xc9", "f"};
}

void TestEntryList::sortOnce()
{
    QFETCH(QString, locale);
    QFETCH(Lines, lines);
    QFETCH(Lines, expected);
    QLocale::setDefault(QLocale(locale));
    EntryList list;
    fillList(list, lines);
    list.SortOnce();
    QCOMPARE(list.Lines(), expected);

    Lines sorted = lines;
    SortLines(sorted);
    QCOMPARE(sorted, expected);
}

void TestEntryList::sortKeepsSelectedPosition()
{
    EntryList list;
    fillList(list, {"c", "a", "b"}, 0);
    QSignalSpy selectionSpy(list.selectionModel(), &QItemSelectionModel::selectionChanged);
    list.SortOnce();
    QCOMPARE(list.Lines(), (Lines {"a", "b", "c"}));
    // The position keeps its number, so it now marks another line.
    QCOMPARE(list.SelectedIndex(), qsizetype(0));
    QCOMPARE(selectionSpy.count(), 0);
    // The list is not held sorted afterwards.
    list.Append("0");
    QCOMPARE(list.Lines(), (Lines {"a", "b", "c", "0"}));
}

void TestEntryList::findPrefix_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<qsizetype>("expected");
    const Lines lines {
            "apple",
            "Banana",
            "banana split",
            "\xc3\x84pfel", // Äpfel
            "ab",
            "ab\xc3\xa9"
            "c\xc3\xa9"
            "daire", // abécédaire
            kCafe1252,
            "Caf\xc3\xa9 au lait",
            "\xce\x9f\xce\x94\xce\x9f\xce\xa3", // ΟΔΟΣ
            "kelvin",
            "\xf0\x9f\x98\x80 smile", // an emoji, outside the BMP
            "",
            "tail",
    };
    QTest::newRow("exact case") << lines << "apple" << qsizetype(0);
    QTest::newRow("other case") << lines << "BAN" << qsizetype(1);
    QTest::newRow("first match wins") << lines << "a" << qsizetype(0);
    QTest::newRow("longer prefix skips shorter line") << lines << "banana " << qsizetype(2);
    QTest::newRow("whole line") << lines << "TAIL" << qsizetype(12);
    QTest::newRow("longer than every line") << lines << "tails" << qsizetype(-1);
    QTest::newRow("no line") << lines << "zzz" << qsizetype(-1);
    QTest::newRow("empty prefix") << lines << "" << qsizetype(0);
    QTest::newRow("non-ASCII other case") << lines << QStringLiteral(u"\u00e4PF") << qsizetype(3);
    QTest::newRow("ASCII head, non-ASCII after")
            << lines << QStringLiteral(u"AB\u00c9") << qsizetype(5);
    QTest::newRow("Windows-1252 line") << lines << QStringLiteral(u"CAF\u00c9") << qsizetype(6);
    QTest::newRow("ASCII prefix of a Windows-1252 line") << lines << "CAF" << qsizetype(6);
    QTest::newRow("Greek final sigma")
            << lines << QStringLiteral(u"\u03bf\u03b4\u03bf\u03c2") << qsizetype(8);
    QTest::newRow("Kelvin sign folds to k") << lines << QStringLiteral(u"\u212aEL") << qsizetype(9);
    QTest::newRow("outside the BMP") << lines << QStringLiteral(u"\U0001F600 S") << qsizetype(10);
    QTest::newRow("non-ASCII longer than line")
            << lines << QStringLiteral(u"\u00c4pfelkuchen") << qsizetype(-1);
    QTest::newRow("empty list") << Lines() << "a" << qsizetype(-1);
    QTest::newRow("empty prefix, empty list") << Lines() << "" << qsizetype(-1);
    // A line that is not UTF-8 as a whole reads as Windows-1252 from its first byte, even
    // where its head would pass as UTF-8.
    const Lines notUtf8Later {"\xc3\xa4pfel \xff"};
    QTest::newRow("UTF-8 head of a 1252 line: no match")
            << notUtf8Later << QStringLiteral(u"\u00e4p") << qsizetype(-1);
    QTest::newRow("UTF-8 head of a 1252 line: its 1252 reading")
            << notUtf8Later << QStringLiteral(u"\u00c3\u00a4P") << qsizetype(0);
    QTest::newRow("UTF-8 line: no 1252 reading")
            << Lines {"\xc3\xa4pfel"} << QStringLiteral(u"\u00c3") << qsizetype(-1);
    // Two characters outside ASCII fold to ASCII letters.
    const Lines foldToAscii {"kelp",
                             "\xe2\x84\xaa"
                             "elvin",
                             "\xc5\xbf"
                             "tar"};
    QTest::newRow("Kelvin sign line, ASCII prefix") << foldToAscii << "KELV" << qsizetype(1);
    QTest::newRow("long s line, ASCII prefix") << foldToAscii << "ST" << qsizetype(2);
    QTest::newRow("Kelvin sign inside, ASCII prefix") << Lines {"skate",
                                                                "sk\xe2\x84\xaa"
                                                                "i"}
                                                      << "SKK" << qsizetype(1);
    QTest::newRow("Windows-1252 line, non-ASCII first letter")
            << Lines {"\xe9t\xe9", "\xc9T\xc9"} << QStringLiteral(u"\u00c9t\u00e9") << qsizetype(0);
    QTest::newRow("other letters of the same first byte")
            << Lines {"\xc3\xb6l",
                      "\xc3\xbc"
                      "ber",
                      "\xc3\x96L"}
            << QStringLiteral(u"\u00d6L") << qsizetype(0);
    QTest::newRow("1252 line shorter than the prefix")
            << Lines {"\xe9"} << QStringLiteral(u"\u00e9t") << qsizetype(-1);
}

void TestEntryList::findPrefix()
{
    QFETCH(Lines, lines);
    QFETCH(QString, prefix);
    QFETCH(qsizetype, expected);
    EntryList list;
    fillList(list, lines);
    QCOMPARE(list.FindPrefix(prefix), expected);
}

void TestEntryList::findPrefixFollowsChanges()
{
    EntryList list;
    fillList(list, {"apple", "banana"});
    list.ReplaceLine(0, "cherry");
    QCOMPARE(list.FindPrefix(QStringLiteral("A")), qsizetype(-1));
    QCOMPARE(list.FindPrefix(QStringLiteral("C")), qsizetype(0));
    list.ReplaceLine(1, "");
    QCOMPARE(list.FindPrefix(QStringLiteral("b")), qsizetype(-1));
    QCOMPARE(list.FindPrefix(QString()), qsizetype(0));
    list.Append("date");
    QCOMPARE(list.FindPrefix(QStringLiteral("d")), qsizetype(2));
    list.Remove(0);
    QCOMPARE(list.FindPrefix(QStringLiteral("c")), qsizetype(-1));
    QCOMPARE(list.FindPrefix(QStringLiteral("d")), qsizetype(1));
    list.SetByName("Eel", "x");
    QCOMPARE(list.FindPrefix(QStringLiteral("e")), qsizetype(2));
    list.SortOnce();
    QCOMPARE(list.Lines(), (Lines {"", "date", "Eel=x"}));
    QCOMPARE(list.FindPrefix(QStringLiteral("e")), qsizetype(2));
    list.CopyFrom(splitLines("fig\r\n\xc3\xa4pfel"));
    QCOMPARE(list.FindPrefix(QStringLiteral(u"\u00c4")), qsizetype(1));
    list.CopyFrom({"grape"});
    QCOMPARE(list.FindPrefix(QStringLiteral("G")), qsizetype(0));
    list.Clear();
    QCOMPARE(list.FindPrefix(QString()), qsizetype(-1));
}

void TestEntryList::removeDuplicateLines_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("first of each kept")
            << Lines {"Cat", "dog", "cat", "Dog", "bird"} << Lines {"Cat", "dog", "bird"};
    QTest::newRow("non-ASCII case variants")
            << Lines {"\xc3\x84pfel", "\xc3\xa4pfel", "\xc3\x84PFEL", "apfel"}
            << Lines {"\xc3\x84pfel", "apfel"};
    QTest::newRow("Windows-1252 then UTF-8 of the same text")
            << Lines {kCafe1252, "CAF\xc3\x89", kCafeUtf8} << Lines {kCafe1252};
    QTest::newRow("UTF-8 then Windows-1252 of the same text")
            << Lines {kCafeUtf8, "CAF\xc9"} << Lines {kCafeUtf8};
    QTest::newRow("Greek sigmas") << Lines {"\xce\x9f\xce\xa3", "\xce\xbf\xcf\x82",
                                            "\xce\xbf\xcf\x83"}
                                  << Lines {"\xce\x9f\xce\xa3"};
    QTest::newRow("empty lines") << Lines {"", "a", "", "A"} << Lines {"", "a"};
    QTest::newRow("blanks make lines differ")
            << Lines {"a", "a ", " a", "A "} << Lines {"a", "a ", " a"};
    QTest::newRow("accents make lines differ")
            << Lines {"cafe", kCafeUtf8, kCafe1252} << Lines {"cafe", kCafeUtf8};
    QTest::newRow("nothing to remove") << Lines {"b", "a"} << Lines {"b", "a"};
    QTest::newRow("empty list") << Lines() << Lines();
}

void TestEntryList::removeDuplicateLines()
{
    QFETCH(Lines, lines);
    QFETCH(Lines, expected);
    QCOMPARE(RemoveDuplicateLines(lines), expected);
}

// Many generated lines, checked against the plain definition: text decoded, case folded,
// compared by code points.
void TestEntryList::sortAndDeduplicationAgreeWithFolding()
{
    QLocale::setDefault(QLocale::c());
    const char *const pieces[]
            = {"a",    "B", "\xc3\xa4", "\xc3\x84",         "\xce\xa3", "\xcf\x82",    "\xe9",
               "\xc9", "z", " ",        "\xf0\x9f\x98\x80", "Ab",       "\xef\xbb\xbf"};
    QRandomGenerator random(99);
    Lines lines;
    for (int i = 0; i < 5000; ++i) {
        QByteArray line;
        const int length = int(random.bounded(6));
        for (int j = 0; j < length; ++j)
            line += pieces[random.bounded(int(std::size(pieces)))];
        lines.append(line);
    }
    auto folded = [](const QByteArray &line) { return DecodeLine(line).toCaseFolded().toUcs4(); };

    Lines expectedKept;
    QSet<QString> seen;
    for (const QByteArray &line : lines) {
        const QString key = DecodeLine(line).toCaseFolded();
        if (!seen.contains(key)) {
            seen.insert(key);
            expectedKept.append(line);
        }
    }
    QCOMPARE(RemoveDuplicateLines(lines), expectedKept);

    Lines expectedSorted = lines;
    std::stable_sort(
            expectedSorted.begin(), expectedSorted.end(),
            [&](const QByteArray &a, const QByteArray &b) { return folded(a) < folded(b); });
    Lines sorted = lines;
    SortLines(sorted);
    QCOMPARE(sorted, expectedSorted);
}

void TestEntryList::goAddress_data()
{
    QTest::addColumn<Lines>("services");
    QTest::addColumn<qsizetype>("s");
    QTest::addColumn<Lines>("terms");
    QTest::addColumn<qsizetype>("t");
    QTest::addColumn<bool>("goes");
    QTest::addColumn<QString>("address");
    const Lines services {"A=http://a/?q=|s|", "B=http://b/?q=|s|&x=|s|"};
    const Lines terms {"cat", "red car"};
    QTest::newRow("1: both selected") << services << qsizetype(1) << terms << qsizetype(1) << true
                                      << "http://b/?q=red+car&x=red+car";
    QTest::newRow("2: term selected, first service")
            << services << qsizetype(-1) << terms << qsizetype(1) << true << "http://a/?q=red+car";
    QTest::newRow("3: service selected, first term")
            << services << qsizetype(1) << terms << qsizetype(-1) << true
            << "http://b/?q=cat&x=cat";
    QTest::newRow("4: nothing selected")
            << services << qsizetype(-1) << terms << qsizetype(-1) << false << QString();
    QTest::newRow("4: service selected, no terms")
            << services << qsizetype(0) << Lines() << qsizetype(-1) << false << QString();
    QTest::newRow("4: term selected, no services")
            << Lines() << qsizetype(-1) << terms << qsizetype(0) << false << QString();
    QTest::newRow("4: both lists empty")
            << Lines() << qsizetype(-1) << Lines() << qsizetype(-1) << false << QString();
    QTest::newRow("line without =")
            << Lines {"xhttp://c/"} << qsizetype(0) << terms << qsizetype(0) << true << "http://c/";
    QTest::newRow("no placeholder") << Lines {"A=http://a/"} << qsizetype(0) << terms
                                    << qsizetype(0) << true << "http://a/";
    QTest::newRow("term as stored, blanks kept") << services << qsizetype(0) << Lines {" cats "}
                                                 << qsizetype(0) << true << "http://a/?q=+cats+";
    QTest::newRow("empty term") << services << qsizetype(0) << Lines {""} << qsizetype(0) << true
                                << "http://a/?q=";
    QTest::newRow("Windows-1252 term")
            << services << qsizetype(0) << Lines {kCafe1252} << qsizetype(0) << true
            << QStringLiteral(u"http://a/?q=caf%C3%A9");
    QTest::newRow("Windows-1252 service")
            << Lines {"Caf\xe9=http://x/\xe9?q=|s|"} << qsizetype(0) << terms << qsizetype(0)
            << true << QStringLiteral(u"http://x/\u00e9?q=cat");
    // The address reads the line as the list shows it: a line that is not UTF-8 as a whole
    // is Windows-1252 throughout, even where a part of it would pass as UTF-8.
    QTest::newRow("service part read as its whole line")
            << Lines {"N\xe9=http://q/\xc3\xa9|s|"} << qsizetype(0) << terms << qsizetype(0) << true
            << QStringLiteral(u"http://q/\u00c3\u00a9cat");
    QTest::newRow("no = part read as its whole line")
            << Lines {"\xe9http://q/\xc3\xa9|s|"} << qsizetype(0) << terms << qsizetype(0) << true
            << QStringLiteral(u"http://q/\u00c3\u00a9cat");
}

void TestEntryList::goAddress()
{
    QFETCH(Lines, services);
    QFETCH(qsizetype, s);
    QFETCH(Lines, terms);
    QFETCH(qsizetype, t);
    QFETCH(bool, goes);
    QFETCH(QString, address);
    EntryList serviceList, termList;
    fillList(serviceList, services, s);
    fillList(termList, terms, t);
    const std::optional<QString> chosen = GoAddress(serviceList, termList);
    QCOMPARE(chosen.has_value(), goes);
    if (goes)
        QCOMPARE(*chosen, address);
    // Go changes neither list nor selection.
    QCOMPARE(serviceList.Lines(), services);
    QCOMPARE(termList.Lines(), terms);
    QCOMPARE(serviceList.SelectedIndex(), s);
    QCOMPARE(termList.SelectedIndex(), t);
}

void TestEntryList::findPrefixMatchesPlainComparison()
{
    // Lines of ASCII, UTF-8 and Windows-1252 pieces, including characters whose case folding
    // leads to ASCII (the Kelvin sign) and lines that are not UTF-8 only after their head.
    // The byte-order mark of UTF-8 is read as no character when it begins a UTF-8 line.
    const QList<QByteArray> pieces = {"a",        "A",        "k",    "K",           "e",
                                      "\xc3\xa9", "\xc3\x89", "\xe9", "\xc9",        "\xe2\x84\xaa",
                                      " ",        "ab",       "AB",   "\xef\xbb\xbf"};
    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> lines;
        for (int i = 0; i < 40; ++i) {
            QByteArray line;
            for (int n = int(random.bounded(6)); n > 0; --n)
                line += pieces.at(random.bounded(int(pieces.size())));
            lines.append(line);
        }
        EntryList list;
        list.CopyFrom(lines);
        for (int probe = 0; probe < 10; ++probe) {
            QByteArray prefixBytes;
            for (int n = 1 + int(random.bounded(3)); n > 0; --n)
                prefixBytes += pieces.at(random.bounded(int(pieces.size())));
            const QString prefix = DecodeLine(prefixBytes);
            qsizetype expected = -1;
            for (qsizetype i = 0; i < lines.size() && expected < 0; ++i) {
                if (DecodeLine(lines.at(i)).startsWith(prefix, Qt::CaseInsensitive))
                    expected = i;
            }
            QCOMPARE(list.FindPrefix(prefix), expected);
        }
    }
}

void TestEntryList::findPrefixFollowsEdits()
{
    // The search keeps a summary of every line; each kind of edit must keep it true.
    const QList<QByteArray> words = {"apple",
                                     "Apricot",
                                     "banana",
                                     "\xc3\xa9"
                                     "clair",
                                     "\xe9"
                                     "t\xe9",
                                     "",
                                     "Avocado",
                                     "b"};
    const QStringList prefixes = {"a", "ap", "B", QStringLiteral("\u00c9"), "x", "avo"};
    QRandomGenerator random(11);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("list.glt"));
    EntryList list;
    QList<QByteArray> mirror;
    for (int step = 0; step < 3000; ++step) {
        const QByteArray word = words.at(random.bounded(int(words.size())));
        switch (random.bounded(6)) {
        case 0:
            list.Append(word);
            mirror.append(word);
            break;
        case 1:
            if (!mirror.isEmpty()) {
                const int at = random.bounded(int(mirror.size()));
                list.Remove(at);
                mirror.remove(at);
            }
            break;
        case 2:
            if (!mirror.isEmpty()) {
                const int at = random.bounded(int(mirror.size()));
                list.ReplaceLine(at, word);
                mirror[at] = word;
            }
            break;
        case 3:
            list.SortOnce();
            mirror = list.Lines();
            break;
        case 4:
            if (random.bounded(20) == 0) {
                // Loaded from a file, the lines come with the summaries found while splitting.
                mirror = mirror.mid(0, mirror.size() / 2);
                QVERIFY(writeBytes(file, JoinLines(mirror)));
                list.LoadFile(file);
            }
            break;
        default: {
            const QString prefix = prefixes.at(random.bounded(int(prefixes.size())));
            qsizetype expected = -1;
            for (qsizetype i = 0; i < mirror.size() && expected < 0; ++i) {
                if (DecodeLine(mirror.at(i)).startsWith(prefix, Qt::CaseInsensitive))
                    expected = i;
            }
            QCOMPARE(list.FindPrefix(prefix), expected);
        }
        }
        QCOMPARE(list.Lines(), mirror);
    }
}

QTEST_APPLESS_MAIN(TestEntryList)
#include "tst_entrylist.moc"
