// Note files: RTF with a plain-text retry, read whole and written through QSaveFile.
#include "Error.h"
#include "Rtf.h"
#include "Text.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

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

static QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QByteArray ReadNoteFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    struct stat info;
    const int statError = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (statError) {
        ::close(fd);
        ThrowCannotOpen(fullPath(path), SystemErrorText(statError));
    }
    QByteArray bytes;
    try {
        qsizetype used = 0;
        bytes.resize(S_ISREG(info.st_mode) ? qsizetype(info.st_size) + 1 : 64 * 1024);
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() * 2);
            const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw CommandError(QStringLiteral("Failed to Load Stream"));
            if (got == 0)
                break;
            used += got;
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc &) {
        ::close(fd);
        throw CommandError(QStringLiteral("Failed to Load Stream"));
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return bytes;
}

void LoadNoteFile(const QString &path, QTextDocument &document)
{
    LoadNote(ReadNoteFile(path), document);
}

void SaveNoteFile(const QString &path, const QTextDocument &document)
{
    // Written beside the old file and renamed over it: a failed save leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // QSaveFile words these two cases itself; the system's words read like the others.
        const QFileInfo target(path);
        QString reason = CleanSystemText(file.errorString());
        if (target.isDir())
            reason = SystemErrorText(EISDIR);
        else if (target.exists() && !target.isWritable())
            reason = SystemErrorText(EACCES);
        ThrowCannotCreate(fullPath(path), reason);
    }
    QByteArray bytes;
    try {
        bytes = SaveNote(document);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        throw CommandError(QStringLiteral("Failed to Save Stream"));
    }
}
