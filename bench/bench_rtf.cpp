// SPDX-License-Identifier: GPL-3.0-or-later
// Notes: saving and opening a 20 MB note, beside unrtf reading the same file as text.
#include "Bench.h"

#include "Prompts.h"
#include "Rtf.h"
#include "TextPad.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>
#include <stdexcept>

namespace {

// Mostly plain prose in paragraphs of a few hundred characters; now and then a bold or
// italic word, a coloured phrase, a larger heading, and some text outside ASCII.
void makeNote(QTextDocument &document, qsizetype targetChars)
{
    static const char *const words[] = {"the",   "lantern", "search", "of",      "notes", "and",
                                        "river", "quick",   "terms",  "service", "glen",  "light"};
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 0));
    red.setBackground(QColor(255, 255, 200));
    QTextCharFormat heading;
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);

    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    qsizetype chars = 0;
    quint32 seed = 1;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    for (qsizetype paragraph = 0; chars < targetChars; ++paragraph) {
        if (paragraph > 0)
            cursor.insertBlock();
        if (paragraph % 50 == 0) {
            const QString title = QStringLiteral("Chapter %1").arg(paragraph / 50 + 1);
            cursor.insertText(title, heading);
            chars += title.size() + 1;
            cursor.insertBlock();
        }
        QString text;
        for (int w = 0; w < 45; ++w) {
            text += QLatin1StringView(words[next() % 12]);
            text += u' ';
        }
        if (paragraph % 7 == 0)
            text += QStringLiteral(u"caf\u00e9 na\u00efve \u0416\u0443\u043a \u4e2d\u6587 ");
        const qsizetype cut = next() % 40;
        cursor.insertText(text.left(cut), plain);
        cursor.insertText(QStringLiteral("important"), paragraph % 3 ? plain : bold);
        cursor.insertText(u' ' + text.mid(cut, 60), plain);
        cursor.insertText(QStringLiteral("in passing"), paragraph % 5 ? plain : italic);
        cursor.insertText(u' ' + text.mid(cut + 60), plain);
        if (paragraph % 11 == 0)
            cursor.insertText(QStringLiteral("marked in red"), red);
        chars += text.size() + 22;
    }
    cursor.endEditBlock();
}

// The file dialog answers with the note; nothing else is asked.
class ChooseNote : public Prompts
{
public:
    explicit ChooseNote(QString path) : m_path(std::move(path)) { }
    bool PromptText(const QString &, const QString &, QString &) override { return false; }
    QString PromptTextOrDefault(const QString &, const QString &, const QString &d) override
    {
        return d;
    }
    Answer AskYesNoCancel(const QString &) override { return Answer::Cancel; }
    void ShowNotice(const QString &) override { }
    bool AskOkCancel(const QString &) override { return true; }
    std::optional<QString> ChooseFile(FileMode, const QString &, const QString &, const QString &,
                                      const QString &) override
    {
        return m_path;
    }
    std::optional<QString> SaveFileAs(const QString &, const QString &) override { return {}; }
    std::optional<QString> ChooseFolder(const QString &, const QString &) override { return {}; }
    bool ConfirmRisk(const QString &, const QString &, const QString &) override { return false; }
    bool AskLogin(const QString &, const QString &, QString &, QString &) override { return false; }
    std::optional<QString> AskPassword(const QString &, const QString &) override { return {}; }
    bool ChooseCase(const QStringList &, const std::function<void(const QString &)> &) override
    {
        return false;
    }

private:
    QString m_path;
};

// Opening the note in a notepad window, until the user sees the first page (the text box lays
// out the rest as it goes) or, with `whole`, until all of it is laid out.
double timeNotepadOpen(const BenchContext &context, const QString &file, bool whole = false)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        throw std::runtime_error("the rtf suite needs a QApplication");
    ChooseNote prompts(file);
    std::unique_ptr<TfrmTextPad> pad;
    return timeOurs(
            context,
            [&] {
                pad->actOpenExecute();
                pad->txtPad->viewport()->repaint(); // the first page laid out and painted
                if (whole)
                    pad->txtPad->document()->pageCount(); // lays out what is left
            },
            [&] {
                pad.reset();
                pad = std::make_unique<TfrmTextPad>(
                        prompts, 1, [](QWidget *, const QString &message) {
                            throw std::runtime_error(message.toStdString());
                        });
                pad->setAttribute(Qt::WA_DeleteOnClose, false);
                pad->show();
                QCoreApplication::processEvents();
            });
}

QString megabytesOf(const QString &file)
{
    return QString::number(double(QFileInfo(file).size()) / 1e6, 'f', 2);
}

// Opening, saving and reopening a note of the given RTF: each time should grow with the size.
void benchNoteSizes(const BenchContext &context, BenchTable &table, const QString &kind,
                    const QByteArray &rtf, bool inWindow)
{
    const QString file = context.path(QStringLiteral("sized.gln"));
    const QString copy = context.path(QStringLiteral("sized-copy.gln"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(rtf) != rtf.size())
        throw std::runtime_error("cannot write the note");
    out.close();
    const QString size = megabytesOf(file);
    const Peer unrtf {QStringLiteral("unrtf"),
                      {QStringLiteral("--text"), QStringLiteral("sized.gln")},
                      {},
                      {}};
    const double unrtfMs = timePeer(context, unrtf);

    std::unique_ptr<QTextDocument> note;
    auto fresh = [&] { note = std::make_unique<QTextDocument>(); };
    const double openMs = timeOurs(
            context, [&] { LoadNoteFile(file, *note); }, fresh);
    table.add({QStringLiteral("Open a %1 MB note, %2").arg(size, kind), openMs, unrtfMs,
               unrtf.commandLine()});
    const double saveMs = timeOurs(context, [&] { SaveNoteFile(copy, *note); });
    table.add({QStringLiteral("Save it (%1 MB)").arg(megabytesOf(copy)), saveMs, unrtfMs,
               unrtf.commandLine()});
    const qsizetype characters = note->characterCount();
    const double reopenMs = timeOurs(
            context, [&] { LoadNoteFile(copy, *note); }, fresh);
    table.add({QStringLiteral("Reopen the saved note"), reopenMs, unrtfMs, unrtf.commandLine()});
    if (note->characterCount() != characters)
        throw std::runtime_error("the reopened note is not the saved one");
    if (inWindow) {
        table.add({QStringLiteral("Open it in a notepad window, laid out whole and shown"),
                   timeNotepadOpen(context, file, true), unrtfMs, unrtf.commandLine()});
    }
}

// Notes that change their look every few characters, as a note marked up word by word does
// (the report's note: {\b w}{\i x}\u1234? over and over, one paragraph without a blank), and
// notes in which every character looks other than its neighbours, written as our own writer
// writes them.
void benchNoteGrowth(const BenchContext &context, BenchTable &table)
{
    for (const int runs : {5000, 20000, 80000}) {
        QByteArray rtf = "{\\rtf1\\ansi ";
        for (int i = 0; i < runs; ++i)
            rtf += "{\\b w}{\\i x}\\u1234?";
        rtf += '}';
        benchNoteSizes(context, table, QStringLiteral("{\\b w}{\\i x}\\u1234? %1 times").arg(runs),
                       rtf, true);
    }
    BenchContext once = context; // the large ones take seconds: one run each
    once.runs = 1;
    for (const qsizetype bytes : {12500000, 25000000, 50000000}) {
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Sans;}}\r\n";
        rtf.reserve(bytes + 64);
        while (rtf.size() < bytes) {
            // Paragraphs of 400 characters.
            for (int i = 0; i < 100; ++i) {
                rtf += "\\plain\\f0\\fs24\\b a\\plain\\f0\\fs24\\i b";
                rtf += "\\plain\\f0\\fs20 c\\plain\\f0\\fs24\\ul d\r\n";
            }
            rtf += "\\par\r\n";
        }
        rtf += '}';
        benchNoteSizes(once, table, QStringLiteral("one run per character"), rtf, false);
    }
}

} // namespace

void benchRtf(const BenchContext &context, BenchTable &table)
{
    QTextDocument note;
    makeNote(note, 17350 * 1000);
    const QString name = QStringLiteral("note.gln");
    const QString file = context.path(name);
    SaveNoteFile(file, note);
    const double megabytes = double(QFileInfo(file).size()) / 1e6;
    const QString size = QString::number(megabytes, 'f', 1);

    // The same file read by an independent reader, as text.
    const Peer unrtf {QStringLiteral("unrtf"), {QStringLiteral("--text"), name}, {}, {}};
    const double unrtfMs = timePeer(context, unrtf);

    const double saveMs = timeOurs(context, [&] { SaveNoteFile(file, note); });
    table.add({QStringLiteral("Save a %1 MB note (peer: reading it)").arg(size), saveMs, unrtfMs,
               unrtf.commandLine()});

    std::unique_ptr<QTextDocument> opened;
    const double openMs = timeOurs(
            context,
            [&] {
                LoadNoteFile(file, *opened);
                opened->characterCount(); // everything is in the document, not pending
            },
            [&] { opened = std::make_unique<QTextDocument>(); });
    table.add(
            {QStringLiteral("Open a %1 MB note").arg(size), openMs, unrtfMs, unrtf.commandLine()});
    if (opened->characterCount() != note.characterCount())
        throw std::runtime_error("the opened note is not the saved one");
    opened.reset();

    table.add({QStringLiteral("Open a %1 MB note in a notepad window, first page shown").arg(size),
               timeNotepadOpen(context, file), unrtfMs, unrtf.commandLine()});

    benchNoteGrowth(context, table);
}
