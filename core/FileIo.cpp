// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files read and written: only regular files are read, and a save counts only when every
// byte reached the disk.
#include "FileIo.h"

#include "Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(FileIo)
};

} // namespace

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

// Closes the file however the reading or writing ends.
struct FileDescriptor
{
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Why the file is not read or written, or nothing when it is a regular file. A named pipe
// would wait for a writer, a device might never end, a socket cannot be read at all.
QString refusalOf(const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        return SystemErrorText(EISDIR);
    if (!S_ISREG(info.st_mode))
        return Tr::tr("Not a regular file");
    return {};
}

} // namespace

bool IsOtherThanRegularFile(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !refusalOf(info).isEmpty();
}

QByteArray ReadFileBytes(const QString &path, const QString &readErrorText,
                         const ReadProgress &progress)
{
    const auto readFailed = [&](int error) {
        if (!readErrorText.isEmpty())
            ThrowWriteError(readErrorText.arg(fullPath(path)), SystemErrorText(error));
        ThrowCannotOpen(fullPath(path), SystemErrorText(error));
    };
    const QByteArray name = QFile::encodeName(path);
    // Opened without waiting, so that a named pipe cannot hold the program up.
    const FileDescriptor file {
            ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    struct stat info;
    if (file.fd < 0) {
        const int error = errno;
        if (::stat(name.constData(), &info) == 0 && !refusalOf(info).isEmpty())
            ThrowCannotOpen(fullPath(path), refusalOf(info));
        ThrowCannotOpen(fullPath(path), SystemErrorText(error));
    }
    if (::fstat(file.fd, &info) != 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    if (const QString refusal = refusalOf(info); !refusal.isEmpty())
        ThrowCannotOpen(fullPath(path), refusal);

    QByteArray bytes;
    try {
        qsizetype used = 0;
        const qsizetype capacity = qsizetype(info.st_size) + 1;
        // Checked block by block: the whole size is asked for only once the first block passed.
        qsizetype block = progress ? kFirstReadBlock : capacity;
        bytes.resize(std::min(capacity, block));
        AdviseHugePages(bytes.constData(), size_t(bytes.size()));
        for (;;) {
            if (used == bytes.size()) {
                // The first block passed its check, or the file grew while it was read.
                bytes.resize(used < capacity ? capacity : used * 2);
                AdviseHugePages(bytes.constData(), size_t(bytes.size()));
            }
            const ssize_t got = ::read(file.fd, bytes.data() + used,
                                       size_t(std::min(bytes.size() - used, block)));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                readFailed(errno);
            if (got == 0)
                break;
            used += got;
            if (progress) {
                if (!progress(QByteArrayView(bytes.constData(), used), used - got))
                    break;
                block = std::max(block, used); // blocks double: few calls for a large file
            }
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc &) {
        // A file larger than the memory left: an error the user can read, not a crash.
        readFailed(ENOMEM);
    }
    return bytes;
}

namespace {

// Writes straight to a file descriptor and keeps the system's error of a write that failed.
// (Qt's file devices lose it when a write stops part way.)
class DescriptorWriter : public QIODevice
{
public:
    explicit DescriptorWriter(int fd) : m_fd(fd)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    qint64 written() const { return m_written; }
    // The system's text for the failure; none when every write went through.
    QString errorText() const { return m_error ? SystemErrorText(m_error) : QString(); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        for (qint64 done = 0; done < size;) {
            const ssize_t put = ::write(m_fd, data + done, size_t(size - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                m_error = put < 0 ? errno : EIO;
                return -1;
            }
            done += put;
            m_written += put;
        }
        return size;
    }

private:
    int m_fd;
    int m_error = 0;
    qint64 m_written = 0;
};

[[noreturn]] void writeFailed(const QString &path, const QString &writeErrorText,
                              const QString &systemText)
{
    const QString text = writeErrorText.isEmpty() ? Tr::tr("Stream write error in file \"%1\"")
                                                  : writeErrorText;
    ThrowWriteError(text.arg(fullPath(path)), systemText);
}

// Writes the content to the descriptor and makes sure it reached the disk: the system's text
// of the first failure, none when all went well.
std::optional<QString> writeAll(int fd, const std::function<bool(QIODevice &)> &write,
                                bool truncate)
{
    DescriptorWriter writer(fd);
    if (!write(writer))
        return writer.errorText();
    if ((truncate && ::ftruncate(fd, off_t(writer.written())) != 0) || ::fsync(fd) != 0)
        return SystemErrorText(errno);
    return std::nullopt;
}

bool writeAllAt(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put
                = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// Where no file can be made beside it (a read-only folder), the file is written where it is.
// What it held is kept in memory and put back when the new content does not all get there.
void writeInPlace(const QString &path, int fd, const std::function<bool(QIODevice &)> &write,
                  const QString &writeErrorText)
{
    std::optional<QByteArray> old;
    try {
        old = ReadFileBytes(path);
    } catch (const CommandError &) { } // unreadable: written all the same, without the way back
    const std::optional<QString> failure = writeAll(fd, write, true);
    if (!failure)
        return;
    if (old && writeAllAt(fd, *old))
        (void)(::ftruncate(fd, off_t(old->size())) == 0 && ::fsync(fd) == 0);
    writeFailed(path, writeErrorText, *failure);
}

} // namespace

void WriteFileWith(const QString &path, const std::function<bool(QIODevice &)> &write,
                   const QString &writeErrorText)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    const bool exists = ::stat(name.constData(), &info) == 0;
    if (exists && !refusalOf(info).isEmpty())
        ThrowCannotCreate(fullPath(path), refusalOf(info));

    // Written beside the old file and renamed over it: a failed save leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        QString reason = CleanSystemText(file.errorString());
        if (exists) {
            // The file is written where it is when it can be; else its own open says why it
            // cannot ("Read-only file system" on a read-only mount, whatever the permissions).
            const FileDescriptor target {::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY)};
            if (target.fd >= 0) {
                writeInPlace(path, target.fd, write, writeErrorText);
                return;
            }
            reason = SystemErrorText(errno);
        }
        ThrowCannotCreate(fullPath(path), reason);
    }
    // The bytes go straight to the temporary file, past QSaveFile's buffer: Qt's commit does
    // not check its last flush. A save counts only when every byte reached the disk.
    if (const std::optional<QString> failure = writeAll(file.handle(), write, false)) {
        file.cancelWriting();
        writeFailed(path, writeErrorText, *failure);
    }
    if (!file.commit())
        writeFailed(path, writeErrorText, CleanSystemText(file.errorString()));
}

namespace {

// Makes the folder and those above it where missing: 0, else the system's error.
int makeFolder(const QByteArray &path)
{
    struct stat info;
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    if (const qsizetype slash = path.lastIndexOf('/'); slash > 0) {
        if (const int error = makeFolder(path.left(slash)))
            return error;
    }
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

} // namespace

std::optional<QString> MakeWritableFolder(const QString &path)
{
    const QString folder = fullPath(path);
    const QByteArray name = QFile::encodeName(folder);
    if (const int error = makeFolder(name))
        return Tr::tr("Cannot create folder \"%1\". %2").arg(folder, SystemErrorText(error));
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return Tr::tr("Cannot write to folder \"%1\". %2").arg(folder, SystemErrorText(errno));
    return std::nullopt;
}
