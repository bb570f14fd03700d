// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadName.h"
#include "Error.h"
#include "PrefixMatcher.h"
#include "PlainRules.h"
#include "TextRules.h"

#include <QRandomGenerator>
#include <QTest>

class TestText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimBlanks_data();
    void trimBlanks();
    void replaceAll_data();
    void replaceAll();
    void replaceAllMatchesPlainReplacement();
    void unifyLineEnds_data();
    void unifyLineEnds();
    void isValidUtf8MatchesPlainDefinition();
    void wrapMode_data();
    void wrapMode();
    void decodeLine_data();
    void decodeLine();
    void foldedKey_data();
    void foldedKey();
    void prefixHead_data();
    void prefixHead();
    void errorBoxText_data();
    void errorBoxText();
    void cleanSystemText();
    void downloadNames_data();
    void downloadNames();
};

void TestText::trimBlanks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks only") << QByteArray(" \t\r\n ") << QByteArray();
    QTest::newRow("both ends") << QByteArray("  cats ") << QByteArray("cats");
    QTest::newRow("inner kept") << QByteArray(" red car ") << QByteArray("red car");
    QTest::newRow("control codes") << QByteArray("\x01\x1f"
                                                 "a\x7f\x20",
                                                 5)
                                   << QByteArray("a\x7f");
    QTest::newRow("NUL counts as blank") << QByteArray("\0a\0", 3) << QByteArray("a");
    QTest::newRow("high bytes kept") << QByteArray("\xa0x\xa0") << QByteArray("\xa0x\xa0");
}

void TestText::trimBlanks()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(TrimBlanks(text), expected);
    // The character-wise version agrees for every text whose high bytes are whole characters.
    if (IsValidUtf8(text))
        QCOMPARE(TrimBlanks(QString::fromUtf8(text)), QString::fromUtf8(expected));
}

void TestText::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence") << "a-b-c"
                                      << "-"
                                      << ""
                                      << "abc";
    QTest::newRow("four CRs become two") << "\r\r\r\r"
                                         << "\r\r"
                                         << "\r"
                                         << "\r\r";
    QTest::newRow("replacement not searched again") << "aa"
                                                    << "a"
                                                    << "aa"
                                                    << "aaaa";
    QTest::newRow("empty pattern") << "abc"
                                   << ""
                                   << "x"
                                   << "abc";
    QTest::newRow("case as written") << "Aa"
                                     << "a"
                                     << "b"
                                     << "Ab";
    QTest::newRow("non-overlapping") << "aaa"
                                     << "aa"
                                     << "b"
                                     << "ba";
    QTest::newRow("no match") << "abc"
                              << "x"
                              << "y"
                              << "abc";
}

void TestText::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceAll(text, pattern, replacement), expected);
    QCOMPARE(ReplaceAll(text.toUtf8(), pattern.toUtf8(), replacement.toUtf8()), expected.toUtf8());
}

void TestText::replaceAllMatchesPlainReplacement()
{
    const QString alphabet = QStringLiteral("ab\r -");
    QRandomGenerator random(31);
    auto randomText = [&](int longest) {
        QString text;
        for (int n = int(random.bounded(longest + 1)); n > 0; --n)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString text = randomText(30), pattern = randomText(3), replacement = randomText(4);
        const QString expected = plainReplaceAll(text, pattern, replacement);
        QCOMPARE(ReplaceAll(text, pattern, replacement), expected);
        QCOMPARE(ReplaceAll(text.toUtf8(), pattern.toUtf8(), replacement.toUtf8()),
                 expected.toUtf8());
    }
}

void TestText::unifyLineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\nb";
    QTest::newRow("lone CR") << "a\rb\r"
                             << "a\nb\n";
    QTest::newRow("lone LF") << "a\nb"
                             << "a\nb";
    QTest::newRow("LF CR is two") << "a\n\rb"
                                  << "a\n\nb";
    QTest::newRow("CR CR LF is two") << "a\r\r\nb"
                                     << "a\n\nb";
    QTest::newRow("CR LF LF is two") << "a\r\n\nb"
                                     << "a\n\nb";
    QTest::newRow("none") << "abc"
                          << "abc";
    QTest::newRow("empty") << ""
                           << "";
}

void TestText::unifyLineEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(UnifyLineEnds(text), expected);
}

// Well-formed UTF-8 as the Unicode standard tabulates it (3.9, table 3-7), byte by byte.
static bool plainIsUtf8(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes.at(i));
        int more = 0;
        uchar low = 0x80, high = 0xBF;
        if (b < 0x80)
            more = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            more = 1;
        else if (b == 0xE0)
            more = 2, low = 0xA0;
        else if (b == 0xED)
            more = 2, high = 0x9F;
        else if (b >= 0xE1 && b <= 0xEF)
            more = 2;
        else if (b == 0xF0)
            more = 3, low = 0x90;
        else if (b == 0xF4)
            more = 3, high = 0x8F;
        else if (b >= 0xF1 && b <= 0xF3)
            more = 3;
        else
            return false;
        if (i + more >= bytes.size() && more > 0)
            return false;
        for (int k = 1; k <= more; ++k) {
            const uchar c = uchar(bytes.at(i + k));
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
                return false;
        }
        i += more + 1;
    }
    return true;
}

void TestText::isValidUtf8MatchesPlainDefinition()
{
    // Bytes at the edges of every rule, in random texts, and random well-formed text with
    // one byte changed now and then.
    const uchar edges[]
            = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
               0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFE, 0xFF};
    QRandomGenerator random(5);
    for (int round = 0; round < 50000; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            for (int n = int(random.bounded(12)); n > 0; --n)
                bytes += char(edges[random.bounded(int(std::size(edges)))]);
        } else {
            QString text;
            for (int n = int(random.bounded(6)); n > 0; --n) {
                char32_t cp = char32_t(random.bounded(0x110000));
                if (cp >= 0xD800 && cp <= 0xDFFF)
                    cp = 0xFFFE; // a noncharacter, which is still UTF-8
                text += QString::fromUcs4(&cp, 1);
            }
            bytes = text.toUtf8();
            if (!bytes.isEmpty() && random.bounded(3) == 0)
                bytes[random.bounded(int(bytes.size()))]
                        = char(edges[random.bounded(int(std::size(edges)))]);
            if (random.bounded(4) == 0)
                bytes.prepend(QByteArray(int(random.bounded(20)), 'a')); // past the ASCII fast path
        }
        QVERIFY2(IsValidUtf8(bytes) == plainIsUtf8(bytes), bytes.toHex().constData());
    }
}

void TestText::wrapMode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("anywhere"); // else at word boundaries
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("many short words") << QStringLiteral("lantern ").repeated(100000) << false;
    QTest::newRow("a word of 5,000") << QString(5000, u'x') << false;
    QTest::newRow("a word of 5,001") << QString(5001, u'x') << true;
    QTest::newRow("long word after short ones")
            << QStringLiteral("a b\r\n") + QString(20000, u'x') << true;
    QTest::newRow("line ends break words")
            << QString(4000, u'x') + QStringLiteral("\r\n") + QString(4000, u'x') << false;
    QTest::newRow("no-break spaces do not")
            << QString(3000, u'x') + QChar(0x00a0) + QString(3000, u'x') << true;
}

void TestText::wrapMode()
{
    QFETCH(QString, text);
    QFETCH(bool, anywhere);
    QCOMPARE(HoldsWordLongerThan(text), anywhere);
}

void TestText::decodeLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9") << QStringLiteral("caf\u00e9");
    QTest::newRow("1252 accent") << QByteArray("caf\xe9") << QStringLiteral("caf\u00e9");
    QTest::newRow("1252 euro and quotes")
            << QByteArray("\x80\x93\x94") << QStringLiteral("\u20ac\u201c\u201d");
    QTest::newRow("1252 undefined byte") << QByteArray("\x81") << QStringLiteral("\u0081");
    QTest::newRow("overlong utf-8 is 1252")
            << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
    QTest::newRow("surrogate is 1252")
            << QByteArray("\xed\xa0\x80") << QStringLiteral("\u00ed\u00a0\u20ac");
    QTest::newRow("truncated utf-8 is 1252") << QByteArray("a\xc3") << QStringLiteral("a\u00c3");
    QTest::newRow("4-byte utf-8") << QByteArray("\xf0\x9f\x94\xa6") << QStringLiteral("\U0001F526");
    QTest::newRow("1252 after a long ASCII run")
            << QByteArray("abcdefghijklmnopq\xe9") << QStringLiteral(u"abcdefghijklmnopq\u00e9");
    QTest::newRow("utf-8 after a long ASCII run")
            << QByteArray("abcdefghijklmnop\xc3\xa9") << QStringLiteral(u"abcdefghijklmnop\u00e9");
    QTest::newRow("past U+10FFFF is 1252")
            << QByteArray("\xf4\x90\x80\x80") << QStringLiteral(u"\u00f4\u0090\u20ac\u20ac");
}

void TestText::decodeLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(DecodeLine(bytes), expected);
}

void TestText::foldedKey_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ascii lower") << QByteArray("abc 1") << QByteArray("abc 1");
    QTest::newRow("ascii upper") << QByteArray("ABC@[") << QByteArray("abc@[");
    QTest::newRow("utf-8") << QByteArray("\xc3\x84\xce\xa3") << QByteArray("\xc3\xa4\xcf\x83");
    QTest::newRow("1252 as its UTF-8 text") << QByteArray("CAF\xc9") << QByteArray("caf\xc3\xa9");
    QTest::newRow("1252 euro grows to three bytes")
            << QByteArray("\x80") << QByteArray("\xe2\x82\xac");
    QTest::newRow("folding that grows the UTF-8")
            << QByteArray("\xc8\xba") << QByteArray("\xe2\xb1\xa5"); // U+023A to U+2C65
    QTest::newRow("outside the BMP")
            << QByteArray("\xf0\x90\x90\x80") << QByteArray("\xf0\x90\x90\xa8"); // Deseret
    QTest::newRow("empty") << QByteArray() << QByteArray();
    // A UTF-8 line reads without its byte-order mark; a Windows-1252 line reads it as "ï»¿".
    QTest::newRow("UTF-8 mark") << QByteArray("\xef\xbb\xbf"
                                              "Ab")
                                << QByteArray("ab");
    QTest::newRow("mark before Windows-1252") << QByteArray("\xef\xbb\xbf"
                                                            "\xc9")
                                              << QByteArray("\xc3\xaf\xc2\xbb\xc2\xbf\xc3\xa9");
}

void TestText::foldedKey()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QByteArray key;
    AppendFoldedKey(key, line);
    QCOMPARE(key, expected);
    QCOMPARE(key, DecodeLine(line).toCaseFolded().toUtf8());
    QByteArray keys("before|");
    AppendFoldedKey(keys, line);
    QCOMPARE(keys, "before|" + expected);
}

void TestText::prefixHead_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected"); // four bytes
    QTest::newRow("lower case") << QByteArray("abcdef") << QByteArray("abcd");
    QTest::newRow("upper case") << QByteArray("ABCDE") << QByteArray("abcd");
    QTest::newRow("edges of the letters") << QByteArray("@[`{") << QByteArray("@[`{");
    QTest::newRow("A and Z") << QByteArray("AZaz") << QByteArray("azaz");
    QTest::newRow("high bytes alone") << QByteArray("\xc1\xdaZ\xc3") << QByteArray("\xc1\xdaz\xc3");
    QTest::newRow("short line") << QByteArray("Hi") << QByteArray("hi\0\0", 4);
    QTest::newRow("empty line") << QByteArray() << QByteArray(4, '\0');
}

void TestText::prefixHead()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    const quint32 head = PrefixMatcher::HeadOf(line);
    QByteArray bytes(4, '\0');
    qToLittleEndian(head, bytes.data());
    QCOMPARE(bytes, expected);
}

void TestText::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letter gets a stop") << "Stream write error"
                                        << "Stream write error.";
    QTest::newRow("closing bracket gets none") << "List index out of bounds (3)"
                                               << "List index out of bounds (3)";
    QTest::newRow("full stop kept") << "Done."
                                    << "Done.";
    QTest::newRow("question mark gets one") << "Why?"
                                            << "Why?.";
    QTest::newRow("quote gets none") << "Name \"x\""
                                     << "Name \"x\"";
    QTest::newRow("empty") << ""
                           << "";
}

void TestText::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(ErrorBoxText(message), expected);
}

void TestText::cleanSystemText()
{
    QCOMPARE(CleanSystemText(QStringLiteral("No such file. \r\n")), QStringLiteral("No such file"));
    QCOMPARE(CleanSystemText(QString(300, u'x')).size(), 255);
    QCOMPARE(SystemErrorText(ENOENT), QStringLiteral("No such file or directory"));
}

void TestText::downloadNames_data()
{
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("saved");
    // clang-format off
    QTest::newRow("plain") << "report.pdf" << "report.pdf";
    QTest::newRow("traversal") << "../.config/autostart/evil.desktop" << "evil.desktop";
    QTest::newRow("absolute") << "/etc/passwd" << "passwd";
    QTest::newRow("encoded traversal") << "..%2F.config%2fautostart%2Fx.desktop" << "x.desktop";
    QTest::newRow("backslashes") << "..\\..%5Cx.sh" << "x.sh";
    QTest::newRow("dot file") << ".bashrc" << "bashrc";
    QTest::newRow("dots only") << ".." << "download";
    QTest::newRow("blanks and dots") << " . evil.sh. " << "evil.sh";
    QTest::newRow("control characters") << "a\nb\tc\x01\x7f.txt" << "abc.txt";
    QTest::newRow("direction override") << "invoice\u202Efdp.exe" << "invoicefdp.exe";
    QTest::newRow("markup") << "<img src=x onerror=y>.txt" << "_img src=x onerror=y_.txt";
    QTest::newRow("nothing") << "" << "download";
    QTest::newRow("1,000 characters") << QString(1000, u'a') + ".desktop" << QString(192, u'a') + ".desktop";
    QTest::newRow("1,000 letters of two bytes") << QString(1000, u'\u00e9') + ".txt" << QString(98, u'\u00e9') + ".txt";
    // clang-format on
}

void TestText::downloadNames()
{
    QFETCH(QString, offered);
    QFETCH(QString, saved);
    const QString folder = QStringLiteral("/home/user/Downloads");
    QCOMPARE(DownloadTarget(folder, offered), folder + u'/' + saved);
}

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
