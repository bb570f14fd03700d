// Note files: RTF with a plain-text retry, read whole and written through QSaveFile.
#include "Error.h"
#include "FileIo.h"
#include "Rtf.h"
#include "TextRules.h"

#include <QTextCursor>
#include <QTextDocument>

#include <new>

bool ReadPlainText(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
{
    document.clear();
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) // the mark some editors put before UTF-8
        view = view.sliced(3);
    const QString decoded = DecodeLine(view.data(), view.size());
    // One paragraph per line; CR LF, lone CR and lone LF all end a line. NUL shows nothing.
    QString text(decoded.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const QChar *in = decoded.constData();
    const qsizetype size = decoded.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\r') {
            if (i + 1 < size && in[i + 1] == u'\n')
                ++i;
            *out++ = QChar::ParagraphSeparator;
        } else if (c == u'\n') {
            *out++ = QChar::ParagraphSeparator;
        } else if (c != 0) {
            *out++ = in[i];
        }
    }
    text.truncate(out - text.constData());
    if (text.size() > maxChars)
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor(&document).insertText(text);
    document.setUndoRedoEnabled(undo);
    return true;
}

void LoadNote(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
{
    try {
        if (ReadRtf(bytes, document, maxChars) || ReadPlainText(bytes, document, maxChars))
            return;
    } catch (const std::bad_alloc &) { }
    document.clear();
    throw CommandError(QStringLiteral("Failed to Load Stream"));
}

QByteArray SaveNote(const QTextDocument &document)
{
    try {
        return WriteRtf(document);
    } catch (const std::bad_alloc &) {
        throw CommandError(QStringLiteral("Failed to Save Stream"));
    }
}

QByteArray ReadNoteFile(const QString &path)
{
    return ReadFileBytes(path, QStringLiteral("Failed to Load Stream"));
}

void LoadNoteFile(const QString &path, QTextDocument &document)
{
    LoadNote(ReadNoteFile(path), document);
}

void SaveNoteFile(const QString &path, const QTextDocument &document)
{
    const QByteArray bytes = SaveNote(document);
    WriteFileWith(
            path, [&](QIODevice &file) { return file.write(bytes) == bytes.size(); },
            QStringLiteral("Failed to Save Stream"));
}
