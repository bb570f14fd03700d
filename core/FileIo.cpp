// Whole files read and written: regular reads for any file, saves through QSaveFile.
#include "FileIo.h"

#include "Error.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// A large buffer about to be filled whole is better mapped in huge pages, where the system
// allows it: a list of a million lines then costs far fewer page faults.
void AdviseHugePages(const void *data, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr huge = 2 * 1024 * 1024;
    const quintptr begin = (quintptr(data) + huge - 1) & ~(huge - 1);
    const quintptr end = (quintptr(data) + bytes) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

static QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

namespace {

// Closes the file however the reading ends.
struct FileDescriptor
{
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QByteArray ReadFileBytes(const QString &path, const QString &readErrorText)
{
    const auto readFailed = [&](int error) {
        if (!readErrorText.isEmpty())
            throw CommandError(readErrorText);
        ThrowCannotOpen(fullPath(path), SystemErrorText(error));
    };
    const FileDescriptor file {::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    struct stat info;
    if (::fstat(file.fd, &info) != 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    if (S_ISDIR(info.st_mode))
        ThrowCannotOpen(fullPath(path), SystemErrorText(EISDIR));

    QByteArray bytes;
    try {
        qsizetype used = 0;
        const qsizetype capacity = S_ISREG(info.st_mode) ? qsizetype(info.st_size) + 1 : 64 * 1024;
        bytes.resize(capacity);
        AdviseHugePages(bytes.constData(), size_t(capacity));
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() * 2);
            const ssize_t got = ::read(file.fd, bytes.data() + used, size_t(bytes.size() - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                readFailed(errno);
            if (got == 0)
                break;
            used += got;
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc &) {
        // A file larger than the memory left: an error the user can read, not a crash.
        readFailed(ENOMEM);
    }
    return bytes;
}

QByteArray ReadWholeFile(const QString &path)
{
    QByteArray bytes = ReadFileBytes(path);
    const void *nul = std::memchr(bytes.constData(), 0, size_t(bytes.size()));
    if (nul)
        bytes.truncate(static_cast<const char *>(nul) - bytes.constData());
    return bytes;
}

void WriteFileWith(const QString &path, const std::function<bool(QIODevice &)> &write,
                   const QString &writeErrorText)
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
    if (!write(file) || !file.commit()) {
        file.cancelWriting();
        if (!writeErrorText.isEmpty())
            throw CommandError(writeErrorText);
        ThrowStreamWriteError();
    }
}
