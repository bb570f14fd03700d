// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"
#include "PlainRules.h"
#include "TextRules.h"

#include <QRandomGenerator>
#include <QTest>

using Terms = QList<QByteArray>;

class TestConsoleRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void massAdd_data();
    void massAdd();
    void consoleLines_data();
    void consoleLines();
    void formatText_data();
    void formatText();
    void termsToText_data();
    void termsToText();
    void longLineStaysWhole();
    void linesMatchPlainReading();
};

// The console text as typed, whether Format Text runs first, and the terms Mass Add gives.
void TestConsoleRules::massAdd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("format");
    QTest::addColumn<Terms>("terms");

    QTest::newRow("format then mass add") << "a\r\nb" << true << Terms {"a ", "b"};
    QTest::newRow("hyphen inside a word") << "e-mail" << false << Terms {"email"};
    QTest::newRow("every hyphen goes") << "-a--b-\r\n-\r\nc" << false << Terms {"ab", "", "c"};
    QTest::newRow("two blanks before a break keep one") << "a  \r\nb" << false << Terms {"a ", "b"};
    QTest::newRow("last line keeps both blanks") << "a\r\nb  " << false << Terms {"a", "b  "};
    QTest::newRow("last line with break keeps one") << "b  \r\n" << false << Terms {"b "};
    QTest::newRow("blank after a break stays") << "a\r\n b" << false << Terms {"a", " b"};
    QTest::newRow("empty console") << "" << false << Terms {};
    QTest::newRow("empty lines become empty terms")
            << "a\r\n\r\n\r\nb" << false << Terms {"a", "", "", "b"};
    QTest::newRow("one line break is one empty term") << "\r\n" << false << Terms {""};
    QTest::newRow("empty last line does not count") << "a\r\nb\r\n" << false << Terms {"a", "b"};
    QTest::newRow("blank last line counts") << "a\r\n " << false << Terms {"a", " "};
    // Lone CRs are what steps three and four work on: CR blank and CR CR become one CR.
    QTest::newRow("lone CR then blank") << "a\r b" << false << Terms {"a", "b"};
    QTest::newRow("double CR joined") << "a\r\r\nb" << false << Terms {"a", "b"};
    QTest::newRow("four CRs become two") << "a\r\r\r\rb" << false << Terms {"a", "", "b"};
    QTest::newRow("lone LF is a break") << "a\nb" << false << Terms {"a", "b"};
    QTest::newRow("blanks only line") << "  \r\nx" << false << Terms {" ", "x"};
    QTest::newRow("format of terms with breaks") << "a\r\nb\r\n" << true << Terms {"a ", "b "};
    QTest::newRow("format of an empty console") << "" << true << Terms {};
    QTest::newRow("format of an empty line") << "\r\nb" << true << Terms {" ", "b"};
    QTest::newRow("non-ASCII as UTF-8") << QStringLiteral("caf\u00e9\r\n\u65e5\u672c") << false
                                        << Terms {"caf\xc3\xa9", "\xe6\x97\xa5\xe6\x9c\xac"};
    QTest::newRow("no-break space kept") << QStringLiteral("a\u00a0b") << false
                                         << Terms {"a\xc2\xa0"
                                                   "b"};
}

void TestConsoleRules::massAdd()
{
    QFETCH(QString, text);
    QFETCH(bool, format);
    QFETCH(Terms, terms);
    if (format)
        text = FormatConsoleText(text);
    QCOMPARE(MassAddTerms(text), terms);
}

void TestConsoleRules::consoleLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList {};
    QTest::newRow("one line") << "a" << QStringList {"a"};
    QTest::newRow("trailing break") << "a\r\n" << QStringList {"a"};
    QTest::newRow("two trailing breaks") << "a\r\n\r\n" << QStringList {"a", ""};
    QTest::newRow("only a break") << "\r\n" << QStringList {""};
    QTest::newRow("CR LF is one break") << "a\r\nb" << QStringList {"a", "b"};
    QTest::newRow("LF CR is two") << "a\n\rb" << QStringList {"a", "", "b"};
    QTest::newRow("lone CR at the end") << "a\r" << QStringList {"a"};
    // The cleaning steps do not run here: hyphens and blanks stay.
    QTest::newRow("text kept as it is") << " a-b \r\n c " << QStringList {" a-b ", " c "};
}

void TestConsoleRules::consoleLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(ConsoleLines(text), lines);
}

void TestConsoleRules::formatText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two lines") << "a\r\nb"
                               << "a - \r\nb";
    QTest::newRow("trailing break") << "a\r\n"
                                    << "a - \r\n";
    QTest::newRow("no break") << "abc"
                              << "abc";
    QTest::newRow("empty lines") << "\r\n\r\n"
                                 << " - \r\n - \r\n";
    QTest::newRow("inserted text not formatted again") << "\r"
                                                       << " - \r";
}

void TestConsoleRules::formatText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FormatConsoleText(text), expected);
}

// Display Terms as Text then Mass Add gives the list back when Mass Add has nothing to clean.
void TestConsoleRules::termsToText_data()
{
    QTest::addColumn<Terms>("terms");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << Terms {} << "";
    QTest::newRow("one empty term") << Terms {""} << "\r\n";
    QTest::newRow("empty term last") << Terms {"a", ""} << "a\r\n\r\n";
    QTest::newRow("two") << Terms {"red car", "cats"} << "red car\r\ncats\r\n";
    QTest::newRow("UTF-8 decoded") << Terms {"caf\xc3\xa9"} << QStringLiteral("caf\u00e9\r\n");
    QTest::newRow("Windows-1252 decoded")
            << Terms {"caf\xe9 \x80"} << QStringLiteral("caf\u00e9 \u20ac\r\n");
}

void TestConsoleRules::termsToText()
{
    QFETCH(Terms, terms);
    QFETCH(QString, text);
    QCOMPARE(TermsToConsoleText(terms), text);
    Terms utf8;
    for (const QByteArray &term : std::as_const(terms))
        utf8.append(EncodeLine(DecodeLine(term)));
    QCOMPARE(MassAddTerms(text), utf8);
}

void TestConsoleRules::longLineStaysWhole()
{
    // Far past any window's width and past 4096 characters: one term, not cut, not split.
    const QString line = QStringLiteral("lantern ").repeated(1249) + QStringLiteral("lantern!");
    QCOMPARE(line.size(), 10000);
    const Terms terms
            = MassAddTerms(QStringLiteral("first\r\n") + line + QStringLiteral("\r\nlast"));
    QCOMPARE(terms.size(), 3);
    QCOMPARE(terms.at(1), line.toUtf8());
    QCOMPARE(terms.at(2), QByteArray("last"));
}

void TestConsoleRules::linesMatchPlainReading()
{
    const QString alphabet = QStringLiteral(u"a -\r\n\r\n\u00e9");
    QRandomGenerator random(17);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int n = int(random.bounded(25)); n > 0; --n)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        QCOMPARE(ConsoleLines(text), plainLines(text));
    }
}

QTEST_APPLESS_MAIN(TestConsoleRules)
#include "tst_consolerules.moc"
