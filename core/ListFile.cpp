// List files: plain text, CR LF after every line; reading accepts CR LF, CR and LF.
#include "EntryList.h"

#include "Error.h"
#include "Text.h"

#include <QCollator>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

QList<QByteArray> SplitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    const char *data = text.constData();
    const qsizetype size = qstrnlen(data, text.size()); // reading stops at the first NUL
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start, size - start));
    return lines;
}

QByteArray JoinLines(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &line : lines)
        total += line.size() + 2;
    QByteArray text;
    text.reserve(total);
    for (const QByteArray &line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

static QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QByteArray ReadWholeFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    auto fail = [&](int error) {
        ::close(fd);
        ThrowCannotOpen(fullPath(path), SystemErrorText(error));
    };
    struct stat info;
    if (::fstat(fd, &info) != 0)
        fail(errno);
    if (S_ISDIR(info.st_mode))
        fail(EISDIR);

    QByteArray bytes;
    qsizetype used = 0;
    qsizetype capacity = S_ISREG(info.st_mode) ? qsizetype(info.st_size) + 1 : 64 * 1024;
    bytes.resize(capacity);
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (got == 0)
            break;
        used += got;
    }
    ::close(fd);
    bytes.truncate(used);
    const void *nul = std::memchr(bytes.constData(), 0, size_t(used));
    if (nul)
        bytes.truncate(static_cast<const char *>(nul) - bytes.constData());
    return bytes;
}

void WriteWholeFile(const QString &path, const QByteArray &bytes)
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
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        ThrowStreamWriteError();
    }
}

QList<QByteArray> RemoveDuplicateLines(const QList<QByteArray> &lines)
{
    QSet<QByteArray> seen;
    seen.reserve(lines.size());
    QList<QByteArray> kept;
    kept.reserve(lines.size());
    for (const QByteArray &line : lines) {
        const qsizetype before = seen.size();
        seen.insert(FoldedKey(line));
        if (seen.size() != before)
            kept.append(line);
    }
    return kept;
}

// Reorders the lines by comparing their positions; equal lines keep their order.
template<typename Less>
static void reorder(QList<QByteArray> &lines, Less less)
{
    std::vector<qsizetype> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    QList<QByteArray> sorted;
    sorted.reserve(lines.size());
    for (qsizetype i : order)
        sorted.append(std::move(lines[i]));
    lines = std::move(sorted);
}

void SortLines(QList<QByteArray> &lines)
{
    const QLocale locale;
    if (locale.language() == QLocale::C) {
        // No collation rules: code-point order of the case-folded text.
        QList<QByteArray> keys;
        keys.reserve(lines.size());
        for (const QByteArray &line : lines)
            keys.append(FoldedKey(line));
        reorder(lines, [&](qsizetype a, qsizetype b) { return keys.at(a) < keys.at(b); });
        return;
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const QByteArray &line : lines)
        keys.append(collator.sortKey(DecodeLine(line)));
    reorder(lines, [&](qsizetype a, qsizetype b) { return keys.at(a).compare(keys.at(b)) < 0; });
}
