// SPDX-License-Identifier: GPL-3.0-or-later
#include "Error.h"
#include "ListTestSupport.h"
#include "Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QByteArray dataFile(const QString &name)
{
    return fileBytes(QStringLiteral(GL_TEST_DATA "/rtf/") + name);
}

// The paragraphs joined with '\n', every other character as it is (tabs, line breaks,
// no-break spaces).
QString textOf(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(u'\n');
}

QString colourName(const QTextCharFormat &format, int property)
{
    if (!format.hasProperty(property) || format.brushProperty(property).style() == Qt::NoBrush)
        return QStringLiteral("auto");
    return format.brushProperty(property).color().name();
}

// How a run of text looks, in the terms a note keeps.
QString lookOf(const QTextCharFormat &format, const QFont &base)
{
    const QFont font = format.font().resolve(base);
    QStringList parts;
    parts << font.family() << QString::number(font.pointSizeF());
    if (font.weight() > QFont::Medium)
        parts << QStringLiteral("bold");
    if (font.italic())
        parts << QStringLiteral("italic");
    const int underline = format.underlineStyle() != QTextCharFormat::NoUnderline
            ? int(format.underlineStyle())
            : font.underline() ? int(QTextCharFormat::SingleUnderline)
                               : 0;
    if (underline)
        parts << QStringLiteral("underline%1").arg(underline);
    if (font.strikeOut())
        parts << QStringLiteral("strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        parts << QStringLiteral("super");
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        parts << QStringLiteral("sub");
    parts << QStringLiteral("fg ") + colourName(format, QTextFormat::ForegroundBrush);
    parts << QStringLiteral("bg ") + colourName(format, QTextFormat::BackgroundBrush);
    return parts.join(u',');
}

QString alignmentOf(const QTextBlock &block)
{
    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return QStringLiteral("centre");
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

// One line per paragraph and per run of one look: what a round trip must keep.
QStringList runsOf(const QTextDocument &document)
{
    QStringList runs;
    const QFont base = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        runs << QStringLiteral("paragraph ") + alignmentOf(block);
        QString lastLook;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString look = lookOf(it.fragment().charFormat(), base);
            const QString text = it.fragment().text();
            if (look == lastLook && !runs.isEmpty()) {
                runs.last().insert(runs.last().indexOf(u'\u00bb'), text);
            } else {
                runs << QStringLiteral("\u00ab%1\u00bb %2").arg(text, look);
                lastLook = look;
            }
        }
    }
    return runs;
}

// The character format at the first occurrence of the text.
QTextCharFormat formatAt(const QTextDocument &document, const QString &text)
{
    const QTextCursor found = document.find(text);
    if (found.isNull())
        return {};
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

// Documents in tests get a font of a known size, as a text box's document has.
void setTestFont(QTextDocument &document)
{
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
}

QByteArray repeated(char c, qsizetype n)
{
    return QByteArray(n, c);
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void roundTrip_data();
    void roundTrip();
    void roundTripUnderlineStyles();
    void writtenForm_data();
    void writtenForm();
    void writtenFileIsSevenBitWithBalancedGroups();
    void readReplacesContent();

    void unrtfReadsOurText();
    void unrtfReadsOurNonAsciiText();

    void foreignFiles_data();
    void foreignFiles();
    void foreignFormats();

    void badInput_data();
    void badInput();
    void mutatedFilesStayStable();

    void plainTextRetry_data();
    void plainTextRetry();
    void tooLongFails();

    void saveAndOpenFile();
    void openKeepsNulBytes();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRtf::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestRtf::roundTrip_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("html");

    QTest::newRow("every character format") << QStringLiteral(
            "<p>plain <b>bold</b> <i>italic</i> <u>underline</u> <s>strike</s> "
            "<b><i><u><s>all four</s></u></i></b> x<sup>super</sup> "
            "H<sub>2</sub>O</p>"
            "<p><span style=\"font-family:'DejaVu Serif'; font-size:15pt\">serif "
            "15</span> <span style=\"font-family:'No Such Font'; font-size:7.5pt\">"
            "tiny</span> <span style=\"font-size:36pt; color:#ff0000\">big red</span> "
            "<span style=\"background-color:#00ff00\">green behind</span> "
            "<span style=\"color:#123456; background-color:#fedcba\">both</span> "
            "<span style=\"color:#000000\">explicit black</span></p>")
                                            << true;
    QTest::newRow("paragraph alignment")
            << QStringLiteral("<p align=\"center\">centre</p><p align=\"right\">right</p>"
                              "<p align=\"justify\">justified text</p><p>left</p>"
                              "<p align=\"center\"><b>bold centre</b></p>")
            << true;
    QTest::newRow("non-ASCII text") << QStringLiteral(
            u"Cr\u00e8me br\u00fbl\u00e9e, na\u00efve fa\u00e7ade, \u00c6r\u00f8sk"
            u"\u00f8bing, e\u0301\n"
            u"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3"
            u"\u03bc\u03b5\n"
            u"\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 "
            u"\u044d\u0442\u0438\u0445\n"
            u"\u65e5\u672c\u8a9e\u306e\u6587\u7ae0\u3068\u4e2d\u6587\n"
            u"\U0001F600\U0001F389\U0001F44D\U0001F3FD \U0001F468\u200D\U0001F469"
            u"\u200D\U0001F467 \u20ac \u2122 \u00a0 \ufffd \ufeff \uffff")
                                    << false;
    QTest::newRow("non-ASCII with formats")
            << QStringLiteral(u"<p><b>\u00e9t\u00e9</b> <i>\u03b1\u03b2\u03b3</i> "
                              u"<u>\u0416\u0443\u043a</u> <s>\u6f22\u5b57</s> "
                              u"<span style=\"color:#0000ff\">\U0001F600</span></p>")
            << true;
    QTest::newRow("RTF's own characters")
            << QStringLiteral("{braces} \\back\\slash\\ \\par is text; semi;colon \\'e9 \\u233?")
            << false;
    QTest::newRow("tabs and line breaks") << QStringLiteral("a\tb<br>c<br><br>d") << true;
    QTest::newRow("tab at the ends") << QStringLiteral("\tmiddle\t") << false;
    QTest::newRow("empty paragraphs") << QStringLiteral("\n\na\n\n") << false;
    QTest::newRow("one empty line") << QStringLiteral("\n") << false;
    QTest::newRow("empty document") << QString() << false;
    QTest::newRow("control characters") << QStringLiteral("a\x01"
                                                          "b\x1f"
                                                          "c\x7f"
                                                          "d\x0b"
                                                          "e")
                                        << false;
    QTest::newRow("long paragraph") << QString(200000, u'w') << false;
}

void TestRtf::roundTrip()
{
    QFETCH(QString, content);
    QFETCH(bool, html);
    QTextDocument original;
    setTestFont(original);
    if (html)
        original.setHtml(content);
    else
        original.setPlainText(content);

    const QByteArray rtf = WriteRtf(original);
    QTextDocument reread;
    QVERIFY(ReadRtf(rtf, reread));
    QCOMPARE(textOf(reread), textOf(original));
    QCOMPARE(runsOf(reread), runsOf(original));

    // After one round the bytes stay the same: nothing drifts.
    const QByteArray second = WriteRtf(reread);
    QTextDocument third;
    QVERIFY(ReadRtf(second, third));
    QCOMPARE(WriteRtf(third), second);
}

void TestRtf::roundTripUnderlineStyles()
{
    QTextDocument original;
    setTestFont(original);
    QTextCursor cursor(&original);
    const QTextCharFormat::UnderlineStyle styles[] = {
            QTextCharFormat::SingleUnderline, QTextCharFormat::DashUnderline,
            QTextCharFormat::DotLine,         QTextCharFormat::DashDotLine,
            QTextCharFormat::DashDotDotLine,  QTextCharFormat::WaveUnderline,
            QTextCharFormat::NoUnderline,
    };
    for (auto style : styles) {
        QTextCharFormat format;
        format.setUnderlineStyle(style);
        cursor.insertText(QStringLiteral("style %1 ").arg(int(style)), format);
    }
    QTextDocument reread;
    QVERIFY(ReadRtf(WriteRtf(original), reread));
    QCOMPARE(runsOf(reread), runsOf(original));
}

void TestRtf::writtenForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("accent") << QStringLiteral(u"caf\u00e9") << QByteArray("caf\\u233\\'3f");
    QTest::newRow("above 32767 is negative")
            << QStringLiteral(u"\uff21") << QByteArray("\\u-223\\'3f");
    QTest::newRow("emoji as its two UTF-16 halves")
            << QStringLiteral(u"\U0001F600") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
    QTest::newRow("braces and backslash") << QStringLiteral("{a\\b}") << QByteArray("\\{a\\\\b\\}");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("a\\tab b");
    QTest::newRow("paragraphs") << QStringLiteral("a\nb") << QByteArray("a\\par\r\n\\pard");
}

void TestRtf::writtenForm()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QTextDocument document;
    document.setPlainText(text);
    const QByteArray rtf = WriteRtf(document);
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"), rtf.left(40).constData());
    QVERIFY2(rtf.contains(written), rtf.constData());
}

void TestRtf::writtenFileIsSevenBitWithBalancedGroups()
{
    QTextDocument document;
    document.setHtml(QStringLiteral(u"<p><span style=\"font-family:'Caf\u00e9 Sans'\">"
                                    u"\u00e9{}\\</span> <b>\u4e2d</b>\U0001F600</p><p>x</p>"));
    const QByteArray rtf = WriteRtf(document);
    int depth = 0;
    bool escaped = false;
    for (const char c : rtf) {
        QVERIFY2(uchar(c) < 0x80, rtf.constData());
        if (escaped) {
            escaped = false;
            continue;
        }
        if (c == '\\')
            escaped = true;
        else if (c == '{')
            ++depth;
        else if (c == '}')
            --depth;
        QVERIFY(depth >= 0);
    }
    QCOMPARE(depth, 0);
    QVERIFY(rtf.contains("{\\fonttbl"));
    QVERIFY(rtf.contains("{\\colortbl"));
    // The font name outside ASCII comes back too.
    QTextDocument reread;
    QVERIFY(ReadRtf(rtf, reread));
    QCOMPARE(formatAt(reread, QStringLiteral(u"\u00e9")).fontFamilies().toStringList(),
             QStringList {QStringLiteral(u"Caf\u00e9 Sans")});
}

void TestRtf::readReplacesContent()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old text\nold second"));
    QVERIFY(ReadRtf("{\\rtf1 new\\par}", document));
    QCOMPARE(textOf(document), QStringLiteral("new"));
    QVERIFY(!ReadRtf("not rtf", document));
    QCOMPARE(textOf(document), QString());
}

static QString runUnrtf(const QString &mode, const QString &file)
{
    QProcess unrtf;
    unrtf.setWorkingDirectory(QFileInfo(file).path()); // where it would put pictures
    unrtf.start(QStringLiteral("unrtf"), {mode, file});
    if (!unrtf.waitForFinished(60000) || unrtf.exitCode() != 0)
        return QStringLiteral("<unrtf failed: %1>").arg(unrtf.errorString());
    return QString::fromUtf8(unrtf.readAllStandardOutput());
}

void TestRtf::unrtfReadsOurText()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty())
        QFAIL("unrtf is missing: scripts/setup-deps.sh installs it");
    QTextDocument document;
    document.setHtml(QStringLiteral(
            "<p>First paragraph, <b>bold</b>, <i>italic</i>, <u>underlined</u>, <s>struck</s>.</p>"
            "<p align=\"center\"><span style=\"font-family:'DejaVu Serif'; font-size:20pt; "
            "color:#ff0000; background-color:#ffff00\">Big red on yellow</span> and "
            "{braces} and back\\slash.</p><p></p><p>After an empty one.</p>"));
    const QString file = path(QStringLiteral("note.gln"));
    SaveNoteFile(file, document);

    // unrtf's text mode writes a header, a rule, then one line per paragraph.
    const QString out = runUnrtf(QStringLiteral("--text"), file);
    const qsizetype rule = out.indexOf(QStringLiteral("-----------------\n"));
    QVERIFY2(rule >= 0, qPrintable(out));
    QCOMPARE(out.mid(rule + 18), textOf(document) + u'\n');
}

void TestRtf::unrtfReadsOurNonAsciiText()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty())
        QFAIL("unrtf is missing: scripts/setup-deps.sh installs it");
    QTextDocument document;
    document.setHtml(QStringLiteral(
            u"<p>Cr\u00e8me br\u00fbl\u00e9e, <b>na\u00efve</b> fa\u00e7ade</p>"
            u"<p><i>\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1</i> "
            u"\u0421\u044a\u0435\u0448\u044c \u0435\u0449\u0451</p>"
            u"<p><span style=\"color:#0000ff\">\u65e5\u672c\u8a9e \u4e2d\u6587</span> "
            u"\U0001F600\U0001F389 \u20ac5</p>"));
    const QString file = path(QStringLiteral("note.gln"));
    SaveNoteFile(file, document);

    // unrtf's text mode prints '?' for every character outside ASCII; its HTML mode writes
    // them as character references, which Qt's HTML reader turns back into text.
    const QString html = runUnrtf(QStringLiteral("--html"), file);
    QTextDocument fromHtml;
    setTestFont(fromHtml);
    fromHtml.setHtml(html);
    QString text = fromHtml.toPlainText();
    while (text.endsWith(u'\n'))
        text.chop(1);
    QCOMPARE(text, document.toPlainText());
}

void TestRtf::foreignFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("WordPad: 1252, a 1251 font, \\uN with '?', bullet, trailing NUL")
            << QStringLiteral("wordpad.rtf")
            << QStringLiteral(u"Caf\u00e9 na\u00efve bold italic under gone\n"
                              u"red blue on red\n"
                              u"\u041f\u0440\u0438\u0432\u0435\u0442\n"
                              u"\u00b7\t\u20acuro \u4e2d\u6587 \U0001F600\n"
                              u"centred");
    QTest::newRow("LibreOffice: \\uN\\'hh, \\uc2, field, picture, info, page styles")
            << QStringLiteral("libreoffice.rtf")
            << QStringLiteral(u"Gr\u00fc\u00df Gott, cr\u00e8me br\u00fbl\u00e9e \u2013 "
                              u"\u03b1\u03b2\u03b3\n"
                              u"link: example.org \u4e2d\u6587");
    QTest::newRow("Word: 1251, theme and data store, bookmarks, stylesheet")
            << QStringLiteral("word.rtf")
            << QStringLiteral(u"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440! "
                              u"\u0415\u0449\u0451 \u043e\u0434\u043d\u0430 "
                              u"\u0441\u0442\u0440\u043e\u043a\u0430 \u2013 \u2116 5.");
    QTest::newRow("\\ansicpg1251 with a font of the ANSI charset")
            << QStringLiteral("cp1251.rtf")
            << QStringLiteral(u"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440!");
    QTest::newRow("double-byte code page 932, trail byte '{'")
            << QStringLiteral("cp932.rtf")
            << QStringLiteral(u"\u3042\u3044\u65e5\u672c\u8a9e and \u3042\u6587");
    QTest::newRow("nested groups, unknown destinations, \\bin picture, hidden text")
            << QStringLiteral("nested.rtf")
            << QStringLiteral(u"ABCDEFGH IJ\u00a0K\u2028L\tM\nNO{}\\");
}

void TestRtf::foreignFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    const QByteArray bytes = dataFile(file);
    QVERIFY(!bytes.startsWith("<cannot read"));
    QTextDocument document;
    QVERIFY(ReadRtf(bytes, document));
    QCOMPARE(textOf(document), text);
    // The same through the note loader.
    QTextDocument note;
    LoadNote(bytes, note);
    QCOMPARE(textOf(note), text);
}

void TestRtf::foreignFormats()
{
    QTextDocument wordpad;
    QVERIFY(ReadRtf(dataFile(QStringLiteral("wordpad.rtf")), wordpad));
    QCOMPARE(formatAt(wordpad, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(wordpad, QStringLiteral("Caf")).fontWeight(), int(QFont::Normal));
    QVERIFY(formatAt(wordpad, QStringLiteral("italic")).fontItalic());
    QVERIFY(formatAt(wordpad, QStringLiteral("under")).fontUnderline());
    QVERIFY(formatAt(wordpad, QStringLiteral("gone")).fontStrikeOut());
    QCOMPARE(formatAt(wordpad, QStringLiteral("Caf")).fontPointSize(), 11.0);
    QCOMPARE(formatAt(wordpad, QStringLiteral("Caf")).fontFamilies().toStringList(),
             QStringList {QStringLiteral("Calibri")});
    QCOMPARE(formatAt(wordpad, QStringLiteral(u"\u041f")).fontFamilies().toStringList(),
             QStringList {QStringLiteral("Times New Roman")});
    QCOMPARE(formatAt(wordpad, QStringLiteral("red ")).foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat blue = formatAt(wordpad, QStringLiteral("blue on"));
    QCOMPARE(blue.foreground().color(), QColor(0, 77, 187));
    QCOMPARE(blue.background().color(), QColor(255, 0, 0));
    QVERIFY(!formatAt(wordpad, QStringLiteral(u"\u041f"))
                     .hasProperty(QTextFormat::BackgroundBrush));
    QCOMPARE(alignmentOf(wordpad.findBlock(wordpad.find(QStringLiteral("centred")).position())),
             QStringLiteral("centre"));
    QCOMPARE(alignmentOf(wordpad.begin()), QStringLiteral("left"));

    QTextDocument word;
    QVERIFY(ReadRtf(dataFile(QStringLiteral("word.rtf")), word));
    const QTextCharFormat world = formatAt(word, QStringLiteral(u"\u043c\u0438\u0440"));
    QCOMPARE(world.fontWeight(), int(QFont::Bold));
    QCOMPARE(world.foreground().color(), QColor(192, 0, 0));
    QCOMPARE(formatAt(word, QStringLiteral(u"\u041f")).fontWeight(), int(QFont::Normal));

    QTextDocument libre;
    QVERIFY(ReadRtf(dataFile(QStringLiteral("libreoffice.rtf")), libre));
    const QTextCharFormat dessert = formatAt(libre, QStringLiteral(u"cr\u00e8me"));
    QCOMPARE(dessert.fontWeight(), int(QFont::Bold));
    QVERIFY(dessert.fontItalic());
    QCOMPARE(dessert.fontFamilies().toStringList(),
             QStringList {QStringLiteral("Liberation Serif")});
    const QTextCharFormat link = formatAt(libre, QStringLiteral("example.org"));
    QVERIFY(link.fontUnderline());
    QCOMPARE(link.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(formatAt(libre, QStringLiteral(u" \u2013")).fontWeight(), int(QFont::Normal));

    QTextDocument nested;
    QVERIFY(ReadRtf(dataFile(QStringLiteral("nested.rtf")), nested));
    const QTextCharFormat d = formatAt(nested, QStringLiteral("D"));
    QVERIFY(d.fontWeight() == QFont::Bold && d.fontItalic() && d.fontUnderline());
    const QTextCharFormat g = formatAt(nested, QStringLiteral("G"));
    QVERIFY(g.fontWeight() == QFont::Bold && !g.fontItalic() && !g.fontUnderline());
    QCOMPARE(formatAt(nested, QStringLiteral("H")).fontWeight(), int(QFont::Normal));
}

void TestRtf::badInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");
    QTest::addColumn<QString>("text");

    const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard ";
    QTest::newRow("cut in the text")
            << head + "Hello \\b wor" << true << QStringLiteral("Hello wor");
    QTest::newRow("cut in a control word") << head + "abc\\pa" << true << QStringLiteral("abc");
    QTest::newRow("cut after a backslash") << head + "abc\\" << true << QStringLiteral("abc");
    QTest::newRow("cut in \\'hh") << head + "abc\\'e" << true << QStringLiteral("abc");
    QTest::newRow("cut in the font table")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << true << QString();
    QTest::newRow("bad hex digits") << head + "a\\'zzb\\'4" << true << QStringLiteral("azzb");
    QTest::newRow("closing braces too many")
            << head + "abc\\par}}} def\\par}" << true << QStringLiteral("abc");
    QTest::newRow("closing braces missing")
            << head + "{\\b abc {\\i def\\par" << true << QStringLiteral("abc def");
    QTest::newRow("only the head") << QByteArray("{\\rtf") << true << QString();
    QTest::newRow("10 MB control word") << head + "a\\" + repeated('x', 10 * 1024 * 1024) + " b}"
                                        << true << QStringLiteral("ab");
    QTest::newRow("10 MB parameter") << head + "a\\fs" + repeated('9', 10 * 1024 * 1024) + " b}"
                                     << true << QStringLiteral("ab");
    QTest::newRow("10 MB negative \\u") << head + "a\\u-" + repeated('9', 10 * 1024 * 1024) + " b}"
                                        << true << QStringLiteral("a");
    QTest::newRow("100,000 open braces")
            << head + repeated('{', 100000) + "deep" << true << QStringLiteral("deep");
    QTest::newRow("100,000 braces, closed again")
            << head + repeated('{', 100000) + "\\b deep" + repeated('}', 100000) + " after}" << true
            << QStringLiteral("deep after");
    QTest::newRow("100,000 skipped destinations") << head + "a"
                    + QByteArray("{\\*\\x ").repeated(100000) + "hidden" + repeated('}', 100000)
                    + "b}" << true << QStringLiteral("ab");
    QTest::newRow("\\bin longer than the file")
            << head + "a\\bin99999999999 xyz}" << true << QStringLiteral("a");
    QTest::newRow("\\bin negative") << head + "a\\bin-5 xyz}" << true << QStringLiteral("axyz");
    QTest::newRow("huge \\uc") << head + "\\uc99999999 \\u233 abc}" << true
                               << QStringLiteral(u"\u00e9");
    QTest::newRow("\\u out of range")
            << head + "a\\u-99999?b\\u99999999?c}" << true << QStringLiteral("abc");
    QTest::newRow("\\u above 65535")
            << head + "\\u128512?}" << true << QStringLiteral(u"\U0001F600");
    QTest::newRow("unknown code page")
            << QByteArray("{\\rtf1\\ansicpg99999 \\'e9}") << true << QStringLiteral(u"\u00e9");
    QTest::newRow("huge colour and font numbers")
            << head + "\\cf99999999 \\highlight-5 \\f-3 \\fs-7 x}" << true << QStringLiteral("x");
    QTest::newRow("colour table without entries")
            << QByteArray("{\\rtf1{\\colortbl}\\cf1 x}") << true << QStringLiteral("x");
    QTest::newRow("NUL bytes in RTF")
            << head + QByteArray("a\0b\\'00c}", 9) << true << QStringLiteral("abc");

    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(1234);
    for (char &c : garbage)
        c = char(random.bounded(256));
    garbage[0] = 'x';
    // Garbage has no text worth spelling out: "*" takes any.
    QTest::newRow("binary garbage opens as plain text") << garbage << false << QStringLiteral("*");
    QTest::newRow("binary garbage after an RTF head")
            << QByteArray("{\\rtf1 ") + garbage << true << QStringLiteral("*");
    QTest::newRow("\\rtf not at the start")
            << QByteArray(" {\\rtf1 x}") << false << QStringLiteral(" {\\rtf1 x}");
}

void TestRtf::badInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    QCOMPARE(ReadRtf(bytes, document), rtf);
    QTextDocument note;
    LoadNote(bytes, note);
    if (text == u"*")
        QVERIFY(rtf || note.characterCount() > 60000); // as plain text all of it shows
    else
        QCOMPARE(textOf(note), text);
}

void TestRtf::mutatedFilesStayStable()
{
    // Damaged copies of real files open, and what opens saves and reopens unchanged.
    const QList<QByteArray> sources
            = {dataFile(QStringLiteral("wordpad.rtf")), dataFile(QStringLiteral("libreoffice.rtf")),
               dataFile(QStringLiteral("word.rtf")), dataFile(QStringLiteral("cp932.rtf"))};
    QRandomGenerator random(42);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = sources.at(round % sources.size());
        const int edits = random.bounded(1, 8);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(int(bytes.size()));
            switch (random.bounded(4)) {
            case 0:
                bytes[at] = char(random.bounded(256));
                break;
            case 1:
                bytes.remove(at, random.bounded(1, 40));
                break;
            case 2:
                bytes.insert(at, "{}\\'*u-;"[random.bounded(8)]);
                break;
            default:
                bytes.truncate(at);
                break;
            }
            if (bytes.isEmpty())
                bytes = "{";
        }
        QTextDocument document;
        LoadNote(bytes, document);
        QTextDocument reread;
        QVERIFY(ReadRtf(WriteRtf(document), reread));
        QVERIFY2(textOf(reread) == textOf(document), bytes.constData());
    }
}

void TestRtf::plainTextRetry_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone LF") << QByteArray("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80")
                           << QStringLiteral(u"caf\u00e9 \u20ac \U0001F600");
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xef\xbb\xbfhi") << QStringLiteral("hi");
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9 \x80 \x93q\x94")
                                  << QStringLiteral(u"caf\u00e9 \u20ac \u201cq\u201d");
    QTest::newRow("not quite RTF") << QByteArray("{\\rt1 x}") << QStringLiteral("{\\rt1 x}");
    QTest::newRow("RTF head in capitals")
            << QByteArray("{\\RTF1 x}") << QStringLiteral("{\\RTF1 x}");
    QTest::newRow("tab and NUL") << QByteArray("a\tb\0c", 5) << QStringLiteral("a\tbc");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestRtf::plainTextRetry()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    LoadNote(bytes, document);
    QCOMPARE(textOf(document), text);
}

void TestRtf::tooLongFails()
{
    QTextDocument document;
    LoadNote("{\\rtf1 abc}", document, 5);
    QCOMPARE(textOf(document), QStringLiteral("abc"));
    LoadNote("plain", document, 5);
    QCOMPARE(textOf(document), QStringLiteral("plain"));
    // Too long as RTF, and longer still as plain text.
    QCOMPARE(errorOf([&] { LoadNote("{\\rtf1 abcdef}", document, 5); }),
             QStringLiteral("Failed to Load Stream"));
    QCOMPARE(errorOf([&] { LoadNote("sixsix", document, 5); }),
             QStringLiteral("Failed to Load Stream"));
    QCOMPARE(errorOf([&] { LoadNote("{\\rtf1 a\\par b\\par c}", document, 5); }), QString());
    QCOMPARE(textOf(document), QStringLiteral("a\nb\nc"));
}

void TestRtf::saveAndOpenFile()
{
    QTextDocument document;
    setTestFont(document);
    document.setHtml(QStringLiteral(u"<p><b>Bold</b> caf\u00e9</p><p align=\"right\">"
                                    u"<span style=\"color:#ff0000\">\u0416</span></p>"));
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, repeated('x', 100000))); // a longer old file
    SaveNoteFile(file, document);
    QCOMPARE(fileBytes(file), WriteRtf(document));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("note.gln")});

    QTextDocument reread;
    LoadNoteFile(file, reread);
    QCOMPARE(runsOf(reread), runsOf(document));

    // A relative name works against the current folder.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QTextDocument relative;
    const QString error = errorOf([&] { LoadNoteFile(QStringLiteral("note.gln"), relative); });
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(error, QString());
    QCOMPARE(textOf(relative), textOf(document));
}

void TestRtf::openKeepsNulBytes()
{
    const QString file = path(QStringLiteral("nul.gln"));
    const QByteArray bytes("before\0after\r\nline two", 23);
    QVERIFY(writeBytes(file, bytes));
    QTextDocument document;
    LoadNoteFile(file, document);
    QCOMPARE(textOf(document), QStringLiteral("beforeafter\nline two"));
}

QTEST_APPLESS_MAIN(TestRtf)
#include "tst_rtf.moc"
