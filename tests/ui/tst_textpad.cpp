// SPDX-License-Identifier: GPL-3.0-or-later
#include "Error.h"
#include "FakePrompts.h"
#include "Rtf.h"
#include "ShortcutDispatcher.h"
#include "TextPad.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read>";
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The note in a file, as the notepad would open it.
QString textInFile(const QString &path)
{
    QTextDocument document;
    LoadNoteFile(path, document);
    return document.toPlainText();
}

QString textOf(const TfrmTextPad &pad)
{
    return pad.txtPad->toPlainText();
}

void typeInto(TfrmTextPad &pad, const QString &text)
{
    QTextCursor cursor = pad.txtPad->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
}

} // namespace

class TestTextPad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void window_data();
    void window();
    void fileMenu();

    void openLoadsNoteAndClearsMark();
    void openOfMissingFileIsIgnored();
    void openCancelled();
    void openFailureLeavesEverything();
    void openPlainText();
    void saveWithoutFileAsksForOne();
    void saveWritesOpenedFile();
    void saveAsLeavesFileNameAlone();
    void saveFailureKeepsMark();
    void replacingChangedTextAsks_data();
    void replacingChangedTextAsks();
    void newClearsTextAndFileName();
    void formattedTextSurvivesSaveAndOpen();
    void longWordsWrapAnywhere();

    void eachWindowHasItsOwnFile();
    void eachWindowHasItsOwnMark();

    void closeAsks_data();
    void closeAsks();
    void closeUnchangedDoesNotAsk();
    void mainWindowAsksForEachNotepad();

    void shortcutsRunOwnCommands_data();
    void shortcutsRunOwnCommands();
    void shortcutsStayInTheirWindow();

private:
    TfrmTextPad *newPad(int number);
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void expectOpen(const QString &file);
    void expectSave(const std::optional<QString> &file);
    // The question before New or Open replaces changed text.
    void expectReplace(bool ok);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePrompts> m_prompts;
    QStringList m_errors;
    QList<QPointer<TfrmTextPad>> m_pads;
};

void TestTextPad::initTestCase()
{
    // Keys reach a window's commands through the dispatcher the main window installs.
    qApp->installEventFilter(new ShortcutDispatcher(nullptr, nullptr, qApp));
}

void TestTextPad::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompts = std::make_unique<FakePrompts>();
    m_errors.clear();
}

void TestTextPad::cleanup()
{
    for (const QPointer<TfrmTextPad> &pad : std::as_const(m_pads))
        delete pad.data();
    m_pads.clear();
    QVERIFY(m_prompts->verifyDone());
}

TfrmTextPad *TestTextPad::newPad(int number)
{
    auto *pad = new TfrmTextPad(*m_prompts, number,
                                [this](QWidget *, const QString &message) { m_errors << message; });
    m_pads << pad;
    return pad;
}

void TestTextPad::expectOpen(const QString &file)
{
    m_prompts->expectFile(Prompts::FileMode::Open, QStringLiteral("Select Text File"), file)
            .withFilter(QStringLiteral("Glen Lantern Texts (*.gln)|*.gln"), QString())
            .inFolder(ProgramFolder());
}

void TestTextPad::expectReplace(bool ok)
{
    m_prompts->expectOkCancel(QStringLiteral("Are you sure?"), ok);
}

void TestTextPad::expectSave(const std::optional<QString> &file)
{
    m_prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Save Text File"), file)
            .withFilter(QStringLiteral("Glen Lantern TextPad (*.gln)|*.gln"),
                        QStringLiteral(".gln"))
            .inFolder(ProgramFolder());
}

void TestTextPad::window_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::newRow("first") << 1 << QStringLiteral("Text Document 1");
    QTest::newRow("third") << 3 << QStringLiteral("Text Document 3");
    QTest::newRow("twelfth") << 12 << QStringLiteral("Text Document 12");
}

void TestTextPad::window()
{
    QFETCH(int, number);
    QFETCH(QString, caption);
    TfrmTextPad *pad = newPad(number);
    QCOMPARE(pad->windowTitle(), caption);
    QCOMPARE(pad->pos(), QPoint(216, 168));
    QCOMPARE(pad->size(), QSize(544, 375));
    QVERIFY(pad->isWindow());
    QVERIFY(pad->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(pad->centralWidget(), pad->txtPad);
    QCOMPARE(pad->txtPad->objectName(), QStringLiteral("txtPad"));
    QVERIFY(pad->txtPad->acceptRichText());
    QVERIFY(!pad->hasUnsavedChanges());
    QVERIFY(pad->fileName().isEmpty());

    // A parent does not make it a child widget: it stays a window of its own.
    QWidget owner;
    TfrmTextPad child(*m_prompts, number, {}, &owner);
    QVERIFY(child.isWindow());
}

void TestTextPad::fileMenu()
{
    TfrmTextPad *pad = newPad(1);
    const QList<QAction *> menus = pad->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first()->text(), QStringLiteral("&File"));
    const QList<QAction *> items = menus.first()->menu()->actions();
    QCOMPARE(items, pad->commands());

    struct Expected
    {
        const char *name;
        const char *text;
        QKeySequence keys;
    };
    const Expected expected[] = {
            {"actNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
            {"actOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"actSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"actSaveAs", "S&ave As...", QKeySequence(Qt::CTRL | Qt::Key_A)},
    };
    QCOMPARE(items.size(), 4);
    for (qsizetype i = 0; i < items.size(); ++i) {
        QAction *item = items.at(i);
        QCOMPARE(item->objectName(), QString::fromLatin1(expected[i].name));
        QCOMPARE(item->text(), QString::fromLatin1(expected[i].text));
        QCOMPARE(item->shortcut(), expected[i].keys);
    }
}

void TestTextPad::openLoadsNoteAndClearsMark()
{
    const QString file = path(QStringLiteral("note.gln"));
    QTextDocument note;
    note.setHtml(QStringLiteral(u"<p><b>Bold</b> and caf\u00e9</p><p>second</p>"));
    SaveNoteFile(file, note);

    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("typed before"));
    QVERIFY(pad->hasUnsavedChanges());
    expectReplace(true);
    expectOpen(file);
    pad->actOpen->trigger();
    QCOMPARE(m_errors, QStringList());
    QCOMPARE(textOf(*pad), QStringLiteral(u"Bold and caf\u00e9\nsecond"));
    QTextCursor cursor(pad->txtPad->document());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(pad->fileName(), file);
    QVERIFY(!pad->hasUnsavedChanges());

    // Typing after the open marks the text changed again.
    typeInto(*pad, QStringLiteral("!"));
    QVERIFY(pad->hasUnsavedChanges());
}

void TestTextPad::openOfMissingFileIsIgnored()
{
    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("keep me"));
    expectReplace(true);
    expectOpen(path(QStringLiteral("missing.gln")));
    pad->actOpen->trigger();
    QCOMPARE(m_errors, QStringList());
    QCOMPARE(textOf(*pad), QStringLiteral("keep me"));
    QVERIFY(pad->fileName().isEmpty());
    QVERIFY(pad->hasUnsavedChanges());
}

void TestTextPad::openCancelled()
{
    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("keep me"));
    expectReplace(true);
    m_prompts->expectFile(Prompts::FileMode::Open, QStringLiteral("Select Text File"),
                          std::nullopt);
    pad->actOpen->trigger();
    QCOMPARE(textOf(*pad), QStringLiteral("keep me"));
    QVERIFY(pad->hasUnsavedChanges());
}

void TestTextPad::openFailureLeavesEverything()
{
    // Open a good file first, so there is a file name to keep.
    const QString good = path(QStringLiteral("good.gln"));
    QVERIFY(writeBytes(good, "{\\rtf1 good}"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(good);
    pad->actOpen->trigger();
    typeInto(*pad, QStringLiteral(" edited"));

    const QString folder = path(QStringLiteral("folder.gln"));
    QVERIFY(QDir().mkdir(folder));
    expectReplace(true);
    expectOpen(folder);
    pad->actOpen->trigger();
    QCOMPARE(m_errors,
             QStringList {QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(folder, SystemErrorText(EISDIR))});
    QCOMPARE(textOf(*pad), QStringLiteral("good edited"));
    QCOMPARE(pad->fileName(), good);
    QVERIFY(pad->hasUnsavedChanges());
}

void TestTextPad::openPlainText()
{
    const QString file = path(QStringLiteral("plain.txt"));
    QVERIFY(writeBytes(file, "line one\nline two\rline three\r\n"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(file);
    pad->actOpen->trigger();
    QCOMPARE(textOf(*pad), QStringLiteral("line one\nline two\nline three\n"));
    QCOMPARE(pad->txtPad->document()->blockCount(), 4);
}

void TestTextPad::saveWithoutFileAsksForOne()
{
    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("new note"));
    const QString file = path(QStringLiteral("saved.gln"));
    expectSave(file);
    pad->actSave->trigger();
    QCOMPARE(m_errors, QStringList());
    QCOMPARE(textInFile(file), QStringLiteral("new note"));
    QVERIFY(fileBytes(file).startsWith("{\\rtf1"));
    QVERIFY(!pad->hasUnsavedChanges());

    // A cancelled dialog saves nothing and keeps the mark.
    typeInto(*pad, QStringLiteral(" more"));
    expectSave(std::nullopt);
    pad->actSave->trigger();
    QVERIFY(pad->hasUnsavedChanges());
    QCOMPARE(textInFile(file), QStringLiteral("new note"));
}

void TestTextPad::saveWritesOpenedFile()
{
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, "{\\rtf1 first}"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(file);
    pad->actOpen->trigger();
    typeInto(*pad, QStringLiteral(" and second"));
    pad->actSave->trigger(); // no dialog
    QCOMPARE(textInFile(file), QStringLiteral("first and second"));
    QVERIFY(!pad->hasUnsavedChanges());
}

void TestTextPad::saveAsLeavesFileNameAlone()
{
    const QString opened = path(QStringLiteral("opened.gln"));
    QVERIFY(writeBytes(opened, "{\\rtf1 opened}"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(opened);
    pad->actOpen->trigger();
    typeInto(*pad, QStringLiteral(" copy"));

    const QString copy = path(QStringLiteral("copy.gln"));
    expectSave(copy);
    pad->actSaveAs->trigger();
    QCOMPARE(textInFile(copy), QStringLiteral("opened copy"));
    QCOMPARE(textInFile(opened), QStringLiteral("opened"));
    QCOMPARE(pad->fileName(), opened);
    QVERIFY(!pad->hasUnsavedChanges());
}

void TestTextPad::saveFailureKeepsMark()
{
    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("text"));
    const QString file = path(QStringLiteral("nowhere/note.gln"));
    expectSave(file);
    pad->actSaveAs->trigger();
    QCOMPARE(m_errors,
             QStringList {QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(file, SystemErrorText(ENOENT))});
    QVERIFY(pad->hasUnsavedChanges());
    QCOMPARE(textOf(*pad), QStringLiteral("text"));
}

void TestTextPad::replacingChangedTextAsks_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("ok");
    for (const char *command : {"New", "Open"}) {
        QTest::addRow("%s, OK", command) << QString::fromLatin1(command) << true;
        QTest::addRow("%s, Cancel", command) << QString::fromLatin1(command) << false;
    }
}

void TestTextPad::replacingChangedTextAsks()
{
    QFETCH(QString, command);
    QFETCH(bool, ok);
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, "{\\rtf1 on disk}"));
    TfrmTextPad *pad = newPad(1);
    typeInto(*pad, QStringLiteral("unsaved"));
    expectReplace(ok);
    if (ok && command == u"Open")
        expectOpen(file);
    (command == u"New" ? pad->actNew : pad->actOpen)->trigger();
    QVERIFY(m_prompts->verifyDone());
    if (!ok) {
        QCOMPARE(textOf(*pad), QStringLiteral("unsaved"));
        QVERIFY(pad->hasUnsavedChanges());
    } else {
        QCOMPARE(textOf(*pad), command == u"New" ? QString() : QStringLiteral("on disk"));
        QVERIFY(!pad->hasUnsavedChanges());
    }
}

void TestTextPad::newClearsTextAndFileName()
{
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, "{\\rtf1 kept on disk}"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(file);
    pad->actOpen->trigger();
    typeInto(*pad, QStringLiteral(" edited"));

    expectReplace(true);
    pad->actNew->trigger();
    QCOMPARE(textOf(*pad), QString());
    QVERIFY(pad->fileName().isEmpty());
    QVERIFY(!pad->hasUnsavedChanges());
    QCOMPARE(textInFile(file), QStringLiteral("kept on disk"));

    // Save now asks where, instead of writing over the file that was open.
    typeInto(*pad, QStringLiteral("fresh"));
    expectSave(std::nullopt);
    pad->actSave->trigger();
    QCOMPARE(textInFile(file), QStringLiteral("kept on disk"));
}

void TestTextPad::formattedTextSurvivesSaveAndOpen()
{
    TfrmTextPad *writer = newPad(1);
    writer->txtPad->insertHtml(QStringLiteral(
            u"<b>bold</b> <i>italic</i> <u>under</u> <s>gone</s> "
            u"<span style=\"color:#ff0000; background-color:#ffff00; font-size:20pt\">"
            u"loud \u0416\u00e9\u4e2d\U0001F600</span>"));
    const QString file = path(QStringLiteral("formats.gln"));
    expectSave(file);
    writer->actSaveAs->trigger();

    TfrmTextPad *reader = newPad(2);
    expectOpen(file);
    reader->actOpen->trigger();
    QCOMPARE(textOf(*reader), textOf(*writer));
    QTextDocument *document = reader->txtPad->document();
    auto formatAt = [document](const QString &text) {
        QTextCursor cursor(document);
        cursor.setPosition(document->find(text).selectionStart() + 1);
        return cursor.charFormat();
    };
    QCOMPARE(formatAt(QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatAt(QStringLiteral("italic")).fontItalic());
    QVERIFY(formatAt(QStringLiteral("under")).fontUnderline());
    QVERIFY(formatAt(QStringLiteral("gone")).fontStrikeOut());
    const QTextCharFormat loud = formatAt(QStringLiteral("loud"));
    QCOMPARE(loud.foreground().color(), QColor(255, 0, 0));
    QCOMPARE(loud.background().color(), QColor(255, 255, 0));
    QCOMPARE(loud.fontPointSize(), 20.0);
}

// The note of the report, one paragraph of 6,000 one-letter runs without a blank, is wrapped
// anywhere: at word boundaries its layout took time in the square of its runs.
void TestTextPad::longWordsWrapAnywhere()
{
    const QString runs = path(QStringLiteral("runs.gln"));
    const QString words = path(QStringLiteral("words.gln"));
    QVERIFY(writeBytes(runs,
                       "{\\rtf1 " + QByteArray("{\\b w}{\\i x}\\u1234?").repeated(2000) + "}"));
    QVERIFY(writeBytes(words, "{\\rtf1 " + QByteArray("{\\b w}{\\i x}y ").repeated(2000) + "}"));
    TfrmTextPad *pad = newPad(1);
    pad->show();
    for (const QString &file : {runs, words, runs}) {
        expectOpen(file);
        pad->actOpen->trigger();
        QVERIFY(pad->txtPad->document()->pageCount() > 0); // laid out whole
        QCOMPARE(pad->txtPad->wordWrapMode() == QTextOption::WrapAnywhere, file == runs);
    }
}

void TestTextPad::eachWindowHasItsOwnFile()
{
    // Open in one window, then Save in another: the first window's file must survive.
    const QString first = path(QStringLiteral("first.gln"));
    QVERIFY(writeBytes(first, "{\\rtf1 first note}"));
    TfrmTextPad *one = newPad(1);
    TfrmTextPad *two = newPad(2);
    expectOpen(first);
    one->actOpen->trigger();
    typeInto(*two, QStringLiteral("second note"));

    const QString second = path(QStringLiteral("second.gln"));
    expectSave(second);
    two->actSave->trigger();
    QCOMPARE(textInFile(first), QStringLiteral("first note"));
    QCOMPARE(textInFile(second), QStringLiteral("second note"));
    QCOMPARE(one->fileName(), first);
    QVERIFY(two->fileName().isEmpty());

    // New in the second window leaves the first window's file name alone.
    two->actNew->trigger();
    typeInto(*one, QStringLiteral(" edited"));
    one->actSave->trigger();
    QCOMPARE(textInFile(first), QStringLiteral("first note edited"));
}

void TestTextPad::eachWindowHasItsOwnMark()
{
    TfrmTextPad *one = newPad(1);
    TfrmTextPad *two = newPad(2);
    typeInto(*one, QStringLiteral("changed"));
    QVERIFY(one->hasUnsavedChanges());
    QVERIFY(!two->hasUnsavedChanges());

    typeInto(*two, QStringLiteral("also"));
    expectSave(path(QStringLiteral("two.gln")));
    two->actSave->trigger();
    QVERIFY(!two->hasUnsavedChanges());
    QVERIFY(one->hasUnsavedChanges());
}

void TestTextPad::closeAsks_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK closes and throws the text away") << true;
    QTest::newRow("Cancel keeps the window and its text") << false;
}

void TestTextPad::closeAsks()
{
    QFETCH(bool, ok);
    QPointer<TfrmTextPad> pad = newPad(1);
    pad->show();
    typeInto(*pad, QStringLiteral("unsaved"));
    m_prompts->expectOkCancel(QStringLiteral("Are you sure?"), ok);
    QCOMPARE(pad->close(), ok);
    if (ok) {
        QTRY_VERIFY(pad.isNull()); // destroyed, not kept hidden
    } else {
        QVERIFY(pad->isVisible());
        QCOMPARE(textOf(*pad), QStringLiteral("unsaved"));
        QVERIFY(pad->hasUnsavedChanges());
    }
}

void TestTextPad::closeUnchangedDoesNotAsk()
{
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, "{\\rtf1 saved}"));
    QPointer<TfrmTextPad> opened = newPad(1);
    expectOpen(file);
    opened->actOpen->trigger();
    opened->show();
    QPointer<TfrmTextPad> empty = newPad(2);
    empty->show();
    QVERIFY(opened->close());
    QVERIFY(empty->close());
    QTRY_VERIFY(opened.isNull() && empty.isNull());
}

void TestTextPad::mainWindowAsksForEachNotepad()
{
    QPointer<TfrmTextPad> changed = newPad(1);
    QPointer<TfrmTextPad> clean = newPad(2);
    changed->show();
    clean->show();
    typeInto(*changed, QStringLiteral("unsaved"));
    QVERIFY(changed->hasUnsavedChanges());
    QVERIFY(!clean->hasUnsavedChanges());
    QVERIFY(clean->confirmClose()); // nothing to ask

    m_prompts->expectOkCancel(QStringLiteral("Are you sure?"), false);
    QVERIFY(!changed->confirmClose());
    QVERIFY(changed->isVisible());

    // Once the question has been answered, the window closes without asking again.
    m_prompts->expectOkCancel(QStringLiteral("Are you sure?"), true);
    QVERIFY(changed->confirmClose());
    changed->closeDiscarding();
    QTRY_VERIFY(changed.isNull());
}

void TestTextPad::shortcutsRunOwnCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("command");
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << QStringLiteral("New");
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << QStringLiteral("Open");
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << QStringLiteral("Save");
    QTest::newRow("Ctrl+A is Save As, not select all")
            << int(Qt::Key_A) << QStringLiteral("SaveAs");
}

void TestTextPad::shortcutsRunOwnCommands()
{
    QFETCH(int, key);
    QFETCH(QString, command);
    const QString file = path(QStringLiteral("note.gln"));
    QVERIFY(writeBytes(file, "{\\rtf1 on disk}"));
    TfrmTextPad *pad = newPad(1);
    expectOpen(file);
    pad->actOpen->trigger();
    typeInto(*pad, QStringLiteral(" typed"));
    pad->show();
    pad->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pad));
    pad->txtPad->setFocus();
    QTextCursor cursor = pad->txtPad->textCursor();
    cursor.setPosition(2);
    pad->txtPad->setTextCursor(cursor);

    if (command == u"New" || command == u"Open")
        expectReplace(true);
    if (command == u"Open")
        expectOpen(path(QStringLiteral("missing.gln")));
    if (command == u"SaveAs")
        expectSave(std::nullopt);
    QTest::keyClick(pad->txtPad, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(m_prompts->pending(), qsizetype(0)); // the dialog the command asks with came
    if (command == u"New")
        QCOMPARE(textOf(*pad), QString());
    else
        QCOMPARE(textOf(*pad), QStringLiteral("on disk typed"));
    if (command == u"Save")
        QCOMPARE(textInFile(file), QStringLiteral("on disk typed"));
    else
        QCOMPARE(textInFile(file), QStringLiteral("on disk"));
    QVERIFY(!pad->txtPad->textCursor().hasSelection());
}

void TestTextPad::shortcutsStayInTheirWindow()
{
    TfrmTextPad *one = newPad(1);
    TfrmTextPad *two = newPad(2);
    typeInto(*one, QStringLiteral("one"));
    typeInto(*two, QStringLiteral("two"));
    one->show();
    two->show();
    two->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(two));
    two->txtPad->setFocus();
    expectReplace(true);
    QTest::keyClick(two->txtPad, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(textOf(*two), QString());
    QCOMPARE(textOf(*one), QStringLiteral("one"));
}

QTEST_MAIN(TestTextPad)
#include "tst_textpad.moc"
