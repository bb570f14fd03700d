// SPDX-License-Identifier: GPL-3.0-or-later
// Note files: RTF with a plain-text retry, read whole and written through QSaveFile.
#include "Error.h"
#include "FileIo.h"
#include "Rtf.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cerrno>
#include <new>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(NoteFile)
};

} // namespace

namespace {

// Replaces the document's content with the bytes read as plain text. False, leaving the
// document empty, when the text is longer than maxChars characters.
bool readPlainText(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
{
    document.clear();
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) // the mark some editors put before UTF-8
        view = view.sliced(3);
    // One paragraph per line; NUL shows nothing.
    QString text = UnifyLineEnds(DecodeLine(view.data(), view.size()));
    text.replace(u'\n', QChar::ParagraphSeparator);
    text.remove(QChar(0));
    if (text.size() > maxChars)
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor(&document).insertText(text);
    document.setUndoRedoEnabled(undo);
    return true;
}

QString loadFailed()
{
    return Tr::tr("Failed to Load Stream from file \"%1\"");
}

QString saveFailed()
{
    return Tr::tr("Failed to Save Stream to file \"%1\"");
}

QByteArray saveNote(const QString &path, const QTextDocument &document)
{
    try {
        return WriteRtf(document);
    } catch (const std::bad_alloc &) {
        ThrowWriteError(saveFailed().arg(QFileInfo(path).absoluteFilePath()),
                        SystemErrorText(ENOMEM));
    }
}

} // namespace

void LoadNote(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
{
    try {
        if (ReadRtf(bytes, document, maxChars) || readPlainText(bytes, document, maxChars))
            return;
    } catch (const std::bad_alloc &) { }
    document.clear();
    throw CommandError(Tr::tr("Failed to Load Stream"));
}

void LoadNoteFile(const QString &path, QTextDocument &document)
{
    const QByteArray bytes = ReadFileBytes(path, loadFailed());
    try {
        LoadNote(bytes, document);
    } catch (const CommandError &) {
        throw CommandError(loadFailed().arg(QFileInfo(path).absoluteFilePath()));
    }
}

void SaveNoteFile(const QString &path, const QTextDocument &document)
{
    const QByteArray bytes = saveNote(path, document);
    WriteFileWith(
            path, [&](QIODevice &file) { return file.write(bytes) == bytes.size(); }, saveFailed());
}

QTextOption::WrapMode NoteWrapMode(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // A paragraph no longer than the longest word holds no longer one.
        if (block.length() > kLongestNoteWord
            && HoldsWordLongerThan(block.text(), kLongestNoteWord))
            return QTextOption::WrapAnywhere;
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}
