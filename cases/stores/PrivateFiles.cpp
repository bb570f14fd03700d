// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateFiles.h"

#include "Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kPrivateFile = 0600;

QByteArray nameBytes(const QString &name)
{
    return QFile::encodeName(name);
}

} // namespace

namespace Cases {

bool MakePrivateFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QByteArray bytes = nameBytes(clean);
    if (::mkdir(bytes.constData(), kPrivateFolder) == 0)
        return true;
    if (errno == EEXIST) {
        struct stat info;
        if (::stat(bytes.constData(), &info) != 0)
            return false;
        errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    if (errno != ENOENT || clean == u"/")
        return false;
    if (!MakePrivateFolder(QFileInfo(clean).path()))
        return false;
    return ::mkdir(bytes.constData(), kPrivateFolder) == 0 || errno == EEXIST;
}

int OpenPrivateSubfolder(int folderFd, const QString &name, bool create, QString &problem)
{
    const QByteArray bytes = nameBytes(name);
    if (create && ::mkdirat(folderFd, bytes.constData(), kPrivateFolder) != 0 && errno != EEXIST) {
        problem = Tr::tr("%1/ cannot be made (%2)").arg(name, SystemErrorText(errno));
        return -1;
    }
    const int fd = ::openat(folderFd, bytes.constData(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    const int error = errno;
    struct stat info;
    if (::fstatat(folderFd, bytes.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
        && !S_ISDIR(info.st_mode))
        problem = Tr::tr("%1 is %2, not a folder").arg(name, FileKindText(info.st_mode));
    else
        problem = Tr::tr("%1/ cannot be opened (%2)").arg(name, SystemErrorText(error));
    return -1;
}

int CreatePrivateFile(int folderFd, const QString &name)
{
    return ::openat(folderFd, nameBytes(name).constData(),
                    O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateFile);
}

int OpenRegularFile(int folderFd, const QString &name, QString &problem)
{
    const QByteArray bytes = nameBytes(name);
    struct stat info;
    // Looked at before it is opened: opening a device or a pipe can itself do something.
    if (::fstatat(folderFd, bytes.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        problem = errno == ENOENT ? Tr::tr("%1 is missing").arg(name)
                                  : Tr::tr("%1 cannot be read (%2)").arg(name, SystemErrorText(errno));
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        problem = Tr::tr("%1 is %2, not a regular file").arg(name, FileKindText(info.st_mode));
        return -1;
    }
    FileDescriptor fd(::openat(folderFd, bytes.constData(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0) {
        problem = Tr::tr("%1 cannot be read (%2)").arg(name, SystemErrorText(errno));
        return -1;
    }
    if (!S_ISREG(info.st_mode)) { // replaced meanwhile
        problem = Tr::tr("%1 is %2, not a regular file").arg(name, FileKindText(info.st_mode));
        return -1;
    }
    // Reads of a regular file never wait anyway; the flag was only for the opening.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd.release();
}

bool MakePrivate(int fd)
{
    return ::fchmod(fd, kPrivateFile) == 0;
}

bool MakePrivate(QFileDevice &openFile)
{
    return openFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                   | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

QString FileKindText(mode_t mode)
{
    if (S_ISLNK(mode))
        return Tr::tr("a symbolic link");
    if (S_ISDIR(mode))
        return Tr::tr("a folder");
    if (S_ISFIFO(mode))
        return Tr::tr("a named pipe");
    if (S_ISSOCK(mode))
        return Tr::tr("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Tr::tr("a device");
    if (S_ISREG(mode))
        return Tr::tr("a regular file");
    return Tr::tr("of an unknown kind");
}

void FileDescriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

} // namespace Cases
