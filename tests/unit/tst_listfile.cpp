// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryList.h"
#include "FileIo.h"
#include "ListTestSupport.h"
#include "PlainRules.h"
#include "TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using Lines = QList<QByteArray>;

class TestListFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void denseLineEnds_data();
    void denseLineEnds();
    void splitMatchesPlainReading();
    void init();

    void readRules_data();
    void readRules();
    void refusedFiles_data();
    void refusedFiles();
    void startOfAFileAlone();
    void utf16_data();
    void utf16();
    void utf16AfterEdits();
    void loadedLinesAreIndependent();
    void lineOutlivesTheText();
    void writeRules_data();
    void writeRules();
    void roundTripKeepsEveryByte();
    void saveOverwritesLongerFile();

    void hugeFile();
    void hugeLine();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList folderContents() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestListFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QStringList TestListFile::folderContents() const
{
    return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void TestListFile::readRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << Lines {"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << Lines {"a", "b"};
    QTest::newRow("lone LF") << QByteArray("a\nb\n") << Lines {"a", "b"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << Lines {"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << Lines {"a", "", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << Lines {"a", "b"};
    QTest::newRow("final end adds no line") << QByteArray("a\r\n") << Lines {"a"};
    QTest::newRow("CR LF CR LF at the end: one empty last line")
            << QByteArray("a\r\n\r\n") << Lines {"a", ""};
    QTest::newRow("empty lines inside")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << Lines {"a", "", "", "b"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << Lines {""};
    QTest::newRow("only LF CR") << QByteArray("\n\r") << Lines {"", ""};
    QTest::newRow("empty file") << QByteArray() << Lines();
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\rc\nd\n\re\r\n\nf")
                                << Lines {"a", "b", "c", "d", "", "e", "", "f"};
    QTest::newRow("blanks kept") << QByteArray(" a \t\r\n  \r\n") << Lines {" a \t", "  "};
    QTest::newRow("Windows-1252 and invalid UTF-8 kept")
            << QByteArray("caf\xe9\r\n\xff\xfe\xc3\r\n") << Lines {"caf\xe9", "\xff\xfe\xc3"};
}

void TestListFile::readRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Lines, expected);

    const QString file = path(QStringLiteral("list.glt"));
    QVERIFY(writeBytes(file, bytes));
    EntryList fromFile;
    fillList(fromFile, {"old"}, 0);
    fromFile.LoadFile(file);
    QCOMPARE(fromFile.Lines(), expected);
    QCOMPARE(fromFile.SelectedIndex(), qsizetype(-1));
    QCOMPARE(splitLines(bytes), expected);
    // Heads found while splitting serve a prefix search as well as heads built later.
    EntryList copied;
    copied.CopyFrom(expected);
    for (const QByteArray &line : expected) {
        const QString prefix = DecodeLine(line).left(3).toUpper();
        QCOMPARE(fromFile.FindPrefix(prefix), copied.FindPrefix(prefix));
    }
    // Each line's bytes end in a NUL, as code handing them on as C strings expects.
    for (const QByteArray &line : fromFile.Lines())
        QCOMPARE(qstrnlen(line.constData(), line.size() + 1), line.size());
}

void TestListFile::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QString nul = QStringLiteral("Not a text file: line %1 holds a NUL byte");
    const QString utf16 = QStringLiteral("Not valid UTF-16 text");
    // Reading up to the NUL and saving would lose the rest of the file.
    QTest::newRow("NUL inside a line")
            << QByteArray("alpha\r\nbe\0ta\r\ngamma\r\n", 20) << nul.arg(2);
    QTest::newRow("NUL first") << QByteArray("\0ab\r\n", 5) << nul.arg(1);
    QTest::newRow("NUL right after a line end") << QByteArray("ab\r\n\0cd", 7) << nul.arg(2);
    QTest::newRow("NUL between CR and LF") << QByteArray("ab\r\0\ncd", 7) << nul.arg(2);
    QTest::newRow("LF CR counts two lines") << QByteArray("a\n\r\0", 4) << nul.arg(3);
    QTest::newRow("NUL at the end") << QByteArray("a\r\nb\r\n\0", 7) << nul.arg(3);
    QTest::newRow("binary: PNG header")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0", 18) << nul.arg(3);
    QTest::newRow("binary: ELF header") << QByteArray("\x7f"
                                                      "ELF\x02\x01\x01\0\0\0",
                                                      10)
                                        << nul.arg(1);
    QTest::newRow("UTF-16 holding a NUL") << QByteArray("\xFF\xFE"
                                                        "a\0\r\0\n\0b\0\0\0",
                                                        12)
                                          << nul.arg(2);
    QTest::newRow("UTF-16 of an odd length") << QByteArray("\xFF\xFE"
                                                           "a\0b",
                                                           5)
                                             << utf16;
    QTest::newRow("UTF-16 with a lone surrogate") << QByteArray("\xFF\xFE"
                                                                "a\0\x00\xD8"
                                                                "b\0",
                                                                8)
                                                  << utf16;
}

void TestListFile::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("list.glt"));
    QVERIFY(writeBytes(file, bytes));
    EntryList list;
    fillList(list, {"a", "b"}, 1);
    list.SetFileEncoding(ListFileEncoding::Utf16BE);
    QSignalSpy resetSpy(&list, &EntryList::modelReset);
    QCOMPARE(errorOf([&] { list.LoadFile(file); }),
             QStringLiteral("Cannot open file \"%1\". %2").arg(file, reason));
    QCOMPARE(list.Lines(), (Lines {"a", "b"}));
    QCOMPARE(list.SelectedIndex(), qsizetype(1));
    QCOMPARE(list.FileEncoding(), ListFileEncoding::Utf16BE);
    QCOMPARE(resetSpy.count(), 0);
    QCOMPARE(fileBytes(file), bytes);
}

// A start checks the first block of the lists it names, without waiting for a large file.
void TestListFile::startOfAFileAlone()
{
    const QString file = path(QStringLiteral("big.gls"));
    QVERIFY(writeBytes(file, QByteArray(kFirstReadBlock, 'a') + QByteArray("\r\nb\0", 4)));
    CheckListFileStart(file); // the NUL is past the first block
    QVERIFY(errorOf([&] { ReadListLines(file); }).endsWith(u"line 2 holds a NUL byte"));
    QVERIFY(writeBytes(file, QByteArray(kFirstReadBlock, '\0')));
    QVERIFY(errorOf([&] { CheckListFileStart(file); }).endsWith(u"line 1 holds a NUL byte"));
}

// UTF-16 as written by hand, code unit by code unit, with its byte-order mark.
static QByteArray utf16Bytes(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

void TestListFile::utf16_data()
{
    QTest::addColumn<bool>("little");
    QTest::addColumn<QString>("text"); // the file's text after its byte-order mark
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("saved"); // the text it is saved back as
    for (const bool little : {true, false}) {
        const char *order = little ? "LE" : "BE";
        const QString services = QStringLiteral(u"Wiki=http://w/?q=|s|\r\ncaf\u00e9\r\n");
        QTest::addRow("%s: CR LF ends", order)
                << little << services << Lines {"Wiki=http://w/?q=|s|", "caf\xc3\xa9"} << services;
        QTest::addRow("%s: outside the BMP and CJK", order)
                << little << QStringLiteral(u"\U0001F526 \u4e2d\u6587")
                << Lines {"\xf0\x9f\x94\xa6 \xe4\xb8\xad\xe6\x96\x87"}
                << QStringLiteral(u"\U0001F526 \u4e2d\u6587\r\n");
        QTest::addRow("%s: a second mark is text", order)
                << little << QStringLiteral(u"\ufeffa\r\n")
                << Lines {"\xef\xbb\xbf"
                          "a"}
                << QStringLiteral(u"\ufeffa\r\n");
        QTest::addRow("%s: lone LF and CR, empty lines", order)
                << little << QStringLiteral("a\nb\r\r\nc") << Lines {"a", "b", "", "c"}
                << QStringLiteral("a\r\nb\r\n\r\nc\r\n");
        QTest::addRow("%s: only the mark", order) << little << QString() << Lines() << QString();
    }
}

void TestListFile::utf16()
{
    QFETCH(bool, little);
    QFETCH(QString, text);
    QFETCH(Lines, lines);
    QFETCH(QString, saved);
    const QString file = path(QStringLiteral("list.glt"));
    QVERIFY(writeBytes(file, utf16Bytes(text, little)));
    EntryList list;
    list.LoadFile(file);
    QCOMPARE(list.Lines(), lines);
    QCOMPARE(list.FileEncoding(), little ? ListFileEncoding::Utf16LE : ListFileEncoding::Utf16BE);
    list.SaveFile(file);
    QCOMPARE(fileBytes(file), utf16Bytes(saved, little));
}

void TestListFile::utf16AfterEdits()
{
    const QString file = path(QStringLiteral("list.glt"));
    QVERIFY(writeBytes(file, utf16Bytes(QStringLiteral("one\r\n"), true)));
    EntryList list;
    list.LoadFile(file);
    // Typed text is UTF-8; a line copied from a Windows-1252 file reads as the list shows it.
    list.Append("\xc3\xbc"
                "ber");
    list.Append("caf\xe9");
    list.SaveFile(file);
    QCOMPARE(fileBytes(file),
             utf16Bytes(QStringLiteral(u"one\r\n\u00fcber\r\ncaf\u00e9\r\n"), true));
    // A file of bytes loaded next is saved as bytes again.
    QVERIFY(writeBytes(file, "caf\xe9\r\n"));
    list.LoadFile(file);
    QCOMPARE(list.FileEncoding(), ListFileEncoding::Bytes);
    list.SaveFile(file);
    QCOMPARE(fileBytes(file), QByteArray("caf\xe9\r\n"));
}

void TestListFile::loadedLinesAreIndependent()
{
    const QString file = path(QStringLiteral("list.glt"));
    QVERIFY(writeBytes(file, "ab\r\ncd\ref"));
    EntryList list;
    list.LoadFile(file);
    QByteArray first = list.LineAt(0);
    first.append("XYZ");
    first[0] = 'Q';
    QCOMPARE(first, QByteArray("QbXYZ"));
    list.Remove(1);
    QByteArray last = list.LineAt(1);
    last.append(" and more");
    QCOMPARE(list.Lines(), (Lines {"ab", "ef"}));
    list.ReplaceLine(0, list.LineAt(0) + "!");
    QCOMPARE(list.Lines(), (Lines {"ab!", "ef"}));
    QCOMPARE(last, QByteArray("ef and more"));
}

void TestListFile::lineOutlivesTheText()
{
    // Lines may share the buffer of the text they were split from. Each must hold its own
    // reference to it: the last line left is the buffer's only owner, and it stays valid.
    std::vector<quint32> heads;
    QList<QByteArray> lines = SplitLines(QByteArray("first\r\nsecond\nthird"), heads);
    QByteArray last = std::move(lines[2]);
    QByteArray middle = lines.at(1);
    lines.clear();
    middle.clear();
    QVERIFY(last.isDetached());
    QCOMPARE(last, QByteArray("third"));
    QCOMPARE(last.constData()[last.size()], '\0');
    last[0] = 'T';
    QCOMPARE(last, QByteArray("Third"));
}

void TestListFile::writeRules_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("a, empty, b") << Lines {"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("empty list, empty file") << Lines() << QByteArray();
    QTest::newRow("one empty line") << Lines {""} << QByteArray("\r\n");
    QTest::newRow("two empty lines") << Lines {"", ""} << QByteArray("\r\n\r\n");
    QTest::newRow("bytes as stored") << Lines {"caf\xe9", "caf\xc3\xa9", " \t"}
                                     << QByteArray("caf\xe9\r\ncaf\xc3\xa9\r\n \t\r\n");
}

void TestListFile::writeRules()
{
    QFETCH(Lines, lines);
    QFETCH(QByteArray, expected);
    EntryList list;
    fillList(list, lines, lines.isEmpty() ? -1 : 0);
    const QString file = path(QStringLiteral("list.gls"));
    list.SaveFile(file);
    QCOMPARE(fileBytes(file), expected);
    // Saving changes neither the list nor its selection.
    QCOMPARE(list.Lines(), lines);
    QCOMPARE(list.SelectedIndex(), lines.isEmpty() ? qsizetype(-1) : qsizetype(0));

    EntryList back;
    back.LoadFile(file);
    QCOMPARE(back.Lines(), lines);
}

void TestListFile::roundTripKeepsEveryByte()
{
    // Every byte but NUL, CR and LF may stand in a line, UTF-8 or not.
    QByteArray bytes = "caf\xe9\r\n\xc3\xa9t\xc3\xa9\r\n\xff\xfe\r\n\xc3\r\n\xc0\xaf\r\n"
                       "\xed\xa0\x80\r\n\xf4\x90\x80\x80\r\n\x1a\x1b\x7f\r\n \t \r\n\r\n";
    QByteArray everyByte;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            everyByte += char(c);
    }
    bytes += everyByte + "\r\n";
    QRandomGenerator random(20240611);
    for (int line = 0; line < 2000; ++line) {
        const int length = random.bounded(0, 80);
        for (int i = 0; i < length; ++i) {
            char c;
            do {
                c = char(random.bounded(1, 256));
            } while (c == '\r' || c == '\n');
            bytes += c;
        }
        bytes += "\r\n";
    }
    const QString in = path(QStringLiteral("in.glt"));
    const QString out = path(QStringLiteral("out.glt"));
    QVERIFY(writeBytes(in, bytes));

    EntryList list;
    list.LoadFile(in);
    QCOMPARE(list.Count(), qsizetype(2011));
    QCOMPARE(list.LineAt(10), everyByte);
    list.SaveFile(out);
    QCOMPARE(fileBytes(out), bytes);
    // Saved over the file it came from, too.
    list.SaveFile(in);
    QCOMPARE(fileBytes(in), bytes);
}

void TestListFile::saveOverwritesLongerFile()
{
    const QString file = path(QStringLiteral("terms.glt"));
    QVERIFY(writeBytes(file, QByteArray(10000, 'x')));
    EntryList list;
    list.SaveFile(file);
    QCOMPARE(fileBytes(file), QByteArray());
    list.Append("a");
    list.SaveFile(file);
    QCOMPARE(fileBytes(file), QByteArray("a\r\n"));
    QCOMPARE(folderContents(), QStringList {QStringLiteral("terms.glt")});
}

void TestListFile::hugeFile()
{
    // About 200 MB of lines of many lengths, ASCII and not, with CR LF ends.
    QByteArray bytes;
    bytes.reserve(205 * 1024 * 1024);
    qsizetype lines = 0;
    QRandomGenerator random(7);
    while (bytes.size() < 200 * 1024 * 1024) {
        bytes += "term ";
        bytes += QByteArray::number(lines);
        bytes += (lines % 3 == 0) ? " \xc3\xa4pfel " : " caf\xe9 ";
        bytes += QByteArray(random.bounded(0, 150), 'x');
        bytes += "\r\n";
        ++lines;
    }
    const QString in = path(QStringLiteral("huge.glt"));
    const QString out = path(QStringLiteral("huge-out.glt"));
    QVERIFY(writeBytes(in, bytes));

    EntryList list;
    list.LoadFile(in);
    QCOMPARE(list.Count(), lines);
    QVERIFY(list.LineAt(0).startsWith("term 0 \xc3\xa4pfel "));
    QVERIFY(list.LineAt(lines - 1).startsWith("term " + QByteArray::number(lines - 1) + ' '));
    QCOMPARE(list.FindPrefix(QStringLiteral("TERM %1 ").arg(lines - 1)), lines - 1);
    list.SaveFile(out);
    QCOMPARE(QFileInfo(out).size(), bytes.size());
    QVERIFY(fileBytes(out) == bytes);
}

void TestListFile::hugeLine()
{
    QByteArray line(50 * 1024 * 1024, 'x');
    for (qsizetype i = 0; i < line.size(); i += 4096)
        line[i] = '\xe9';
    const QString file = path(QStringLiteral("line.glt"));
    for (const QByteArray &end : {QByteArray(), QByteArray("\r\n")}) {
        QVERIFY(writeBytes(file, line + end));
        EntryList list;
        list.LoadFile(file);
        QCOMPARE(list.Count(), qsizetype(1));
        QVERIFY(list.LineAt(0) == line);
        list.SaveFile(file);
        QCOMPARE(QFileInfo(file).size(), line.size() + 2);
    }
}

void TestListFile::denseLineEnds_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("end");
    // Short lines put hundreds of line ends into every few kilobytes of the file.
    QTest::newRow("one letter, CR LF") << QByteArray("x") << QByteArray("\r\n");
    QTest::newRow("one letter, LF") << QByteArray("x") << QByteArray("\n");
    QTest::newRow("empty lines, CR") << QByteArray() << QByteArray("\r");
    QTest::newRow("non-ASCII, CR LF") << QByteArray("\xc3\xa9") << QByteArray("\r\n");
}

void TestListFile::denseLineEnds()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, end);
    constexpr int count = 100000;
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += line + end;
    const QList<QByteArray> lines = splitLines(text);
    QCOMPARE(lines.size(), count);
    QCOMPARE(lines.first(), line);
    QCOMPARE(lines.last(), line);
    QVERIFY(std::all_of(lines.begin(), lines.end(),
                        [&](const QByteArray &l) { return l == line; }));
}

void TestListFile::splitMatchesPlainReading()
{
    // Random texts of line ends, ASCII and high bytes, across the eight-byte steps of the
    // line-end search.
    const char alphabet[] = {'a', 'Z', ' ', '\r', '\n', '\xc3', '\xa9', '\x80', '\xff', '\r', '\n'};
    quint32 seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 400; ++round) {
        QByteArray text;
        const int size = int(next() % 3000);
        for (int i = 0; i < size; ++i)
            text += alphabet[(next() >> 16) % sizeof(alphabet)];
        if (round % 50 == 0 && !text.isEmpty())
            text[text.size() / 2] = '\0';
        QCOMPARE(splitLines(text), plainSplit(text));
    }
}

QTEST_APPLESS_MAIN(TestListFile)
#include "tst_listfile.moc"
