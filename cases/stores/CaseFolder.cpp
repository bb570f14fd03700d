// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseFolder.h"

#include "CaseStore.h"
#include "FillText.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <limits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

using Cases::FileDescriptor;

const char *const kCompanions[] = {"-wal", "-shm", "-journal"};

QByteArray bytesOf(const QString &name)
{
    return QFile::encodeName(name);
}

// The names in an open folder ("." and ".." left out), read through a descriptor of its own.
QStringList namesIn(int folderFd)
{
    QStringList names;
    const int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    return names;
}

bool statAt(int folderFd, const QString &name, struct stat &info)
{
    return ::fstatat(folderFd, bytesOf(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

QString notRegular(const QString &name, mode_t mode)
{
    return Tr::tr("%1 is %2, not a regular file").arg(name, Cases::FileKindText(mode));
}

} // namespace

namespace Cases {

QString CaseFolder::open(bool create)
{
    if (create && !MakePrivateFolder(m_path))
        return Tr::tr("the folder cannot be made (%1)").arg(SystemErrorText(errno));
    m_fd.reset(::open(bytesOf(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_fd.isOpen())
        return errno == ENOTDIR ? Tr::tr("it is not a folder") : SystemErrorText(errno);
    return {};
}

bool CaseFolder::holds(const QString &name) const
{
    struct stat info;
    return statAt(m_fd.get(), name, info);
}

bool CaseFolder::holdsOnlyLeftovers() const
{
    for (const QString &name : namesIn(m_fd.get())) {
        struct stat info;
        if (!statAt(m_fd.get(), name, info))
            return false;
        if (name == QLatin1StringView(kLock))
            continue; // taking the lock looks at what it is
        if (name.startsWith(u"case.sqlite.new") && !S_ISDIR(info.st_mode))
            continue;
        if (name == QLatin1StringView(kCaptures) && S_ISDIR(info.st_mode)) {
            QString problem;
            const FileDescriptor captures(OpenPrivateSubfolder(m_fd.get(), name, false, problem));
            if (captures.isOpen() && namesIn(captures.get()).isEmpty())
                continue;
        }
        return false;
    }
    return true;
}

QString CaseFolder::databaseProblem(const QString &database) const
{
    struct stat info;
    if (statAt(m_fd.get(), database, info) && !S_ISREG(info.st_mode))
        return notRegular(database, info.st_mode);
    for (const char *suffix : kCompanions) {
        const QString name = database + QLatin1StringView(suffix);
        if (statAt(m_fd.get(), name, info) && !S_ISREG(info.st_mode))
            return notRegular(name, info.st_mode);
    }
    return {};
}

QStringList CaseFolder::companions(const QString &database) const
{
    QStringList there;
    for (const char *suffix : kCompanions) {
        if (holds(database + QLatin1StringView(suffix)))
            there.append(database + QLatin1StringView(suffix));
    }
    return there;
}

void CaseFolder::removeNewCompanions(const QString &database, const QStringList &before) const
{
    if (!m_lockFd.isOpen()) {
        // A writer holds the lock while its write-ahead log may hold what it wrote.
        const FileDescriptor lock(::openat(m_fd.get(), kLock,
                                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (lock.isOpen() && ::flock(lock.get(), LOCK_SH | LOCK_NB) != 0)
            return;
    }
    for (const QString &name : companions(database)) {
        struct stat info;
        // Without the lock another program may just have begun to read: only an index SQLite
        // only began (its first bytes), an empty log or journal.
        const qint64 barelyBegun = m_lockFd.isOpen() ? std::numeric_limits<qint64>::max()
                : name.endsWith(u"-shm")             ? 4096
                                                     : 1;
        if (!before.contains(name) && statAt(m_fd.get(), name, info) && S_ISREG(info.st_mode)
            && info.st_size < barelyBegun)
            ::unlinkat(m_fd.get(), bytesOf(name).constData(), 0);
    }
}

void CaseFolder::removeWithCompanions(const QString &database) const
{
    QStringList names {database};
    for (const char *suffix : kCompanions)
        names.append(database + QLatin1StringView(suffix));
    for (const QString &name : std::as_const(names))
        ::unlinkat(m_fd.get(), bytesOf(name).constData(), 0); // a folder there stays
}

QString CaseFolder::createDatabase(const QString &database) const
{
    const FileDescriptor fd(CreatePrivateFile(m_fd.get(), database));
    return fd.isOpen() ? QString() : FillText(Tr::tr("%1 cannot be made (%2)"), database, SystemErrorText(errno));
}

QString CaseFolder::rename(const QString &from, const QString &to) const
{
    if (::renameat(m_fd.get(), bytesOf(from).constData(), m_fd.get(), bytesOf(to).constData()) == 0)
        return {};
    return SystemErrorText(errno);
}

bool CaseFolder::diskFull() const
{
    struct statvfs disk;
    if (::fstatvfs(m_fd.get(), &disk) != 0)
        return false;
    // What SQLite needs to open a case is its shared-memory index, 32 KiB at least.
    const fsblkcnt_t blocks = ::geteuid() == 0 ? disk.f_bfree : disk.f_bavail;
    return double(blocks) * double(disk.f_frsize) < 1024.0 * 1024.0
            || (disk.f_files > 0 && disk.f_favail == 0);
}

// An advisory lock of the system on case.lock: it ends with the process however the process
// ends, so a program killed while it recorded leaves no lock behind to guess about.
void CaseFolder::lock()
{
    const auto refuse = [this](const QString &why) {
        m_lockFd.reset();
        throw CaseReadOnlyError(
                FillText(Tr::tr("Cannot open the case \"%1\" for writing: %2"), m_path, why));
    };
    const QString name = QLatin1StringView(kLock);
    struct stat info;
    // Looked at before it is opened: opening a device or a pipe can itself do something.
    if (statAt(m_fd.get(), name, info) && !S_ISREG(info.st_mode))
        refuse(notRegular(name, info.st_mode));
    m_lockFd.reset(::openat(m_fd.get(), kLock,
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    if (!m_lockFd.isOpen())
        refuse(errno == ELOOP ? notRegular(name, S_IFLNK) : SystemErrorText(errno));
    if (::fstat(m_lockFd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        refuse(notRegular(name, info.st_mode));
    // Another name of the same file may be anywhere on the disk; what is written here goes there.
    if (info.st_nlink > 1)
        refuse(Tr::tr("%1 has other names (hard links), so writing it would change another file")
                       .arg(name));
    if (::flock(m_lockFd.get(), LOCK_EX | LOCK_NB) != 0) {
        char text[256] = {};
        const ssize_t got = ::pread(m_lockFd.get(), text, sizeof text - 1, 0);
        const QStringList holder = QString::fromUtf8(text, got > 0 ? got : 0).split(u'\n');
        const qint64 pid = holder.value(0).toLongLong();
        const QString host = holder.value(1);
        m_lockFd.reset();
        throw CaseLockedError(FillText(Tr::tr("The case \"%1\" is open in another program (process "
                                              "%2 on %3): it is not written to here"),
                                       m_path, pid, host),
                              pid, host);
    }
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + '\n'
            + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(m_lockFd.get(), 0) != 0
        || ::pwrite(m_lockFd.get(), holder.constData(), size_t(holder.size()), 0) != holder.size()) {
        // Who holds it is only told to others; the lock itself holds.
    }
}

QString CaseFolder::openCaptures(bool create)
{
    m_capturesProblem.clear();
    m_capturesFd.reset(OpenPrivateSubfolder(m_fd.get(), QLatin1StringView(kCaptures), create,
                                            m_capturesProblem));
    return m_capturesProblem;
}

QString CaseFolder::problem() const
{
    struct stat info;
    const QString lock = QLatin1StringView(kLock);
    if (statAt(m_fd.get(), lock, info) && !S_ISREG(info.st_mode))
        return notRegular(lock, info.st_mode);
    const QString captures = QLatin1StringView(kCaptures);
    if (statAt(m_fd.get(), captures, info) && !S_ISDIR(info.st_mode))
        return Tr::tr("%1 is %2, not a folder").arg(captures, FileKindText(info.st_mode));
    return {};
}

std::unique_ptr<QIODevice> CaseFolder::openCapture(const QString &name, QString &problem) const
{
    if (!m_capturesFd.isOpen()) {
        problem = m_capturesProblem;
        return nullptr;
    }
    const int fd = OpenRegularFile(m_capturesFd.get(), name, problem);
    if (fd < 0) {
        problem = QLatin1StringView(kCaptures) + u'/' + problem;
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        problem = FillText(Tr::tr("%1/%2 cannot be read (%3)"), QLatin1StringView(kCaptures), name,
                           CleanSystemText(file->errorString()));
        return nullptr;
    }
    return file;
}

bool CaseFolder::holdsCapture(const QString &name) const
{
    struct stat info;
    return statAt(m_capturesFd.get(), name, info);
}

QString CaseFolder::takeCapture(const QString &scratch, const QString &name) const
{
    QString problem;
    const FileDescriptor fd(OpenRegularFile(m_capturesFd.get(), scratch, problem));
    if (!fd.isOpen())
        return problem;
    // Renderers write with the umask's mode (a PNG came out 0644); a capture is the user's alone.
    if (!MakePrivate(fd.get()))
        return SystemErrorText(errno);
    return renameCapture(scratch, name);
}

QString CaseFolder::renameCapture(const QString &from, const QString &to) const
{
    if (::renameat(m_capturesFd.get(), bytesOf(from).constData(), m_capturesFd.get(),
                   bytesOf(to).constData())
        != 0)
        return SystemErrorText(errno);
    return {};
}

QString CaseFolder::writeCapture(const QString &name, QIODevice &from) const
{
    const int fd = CreatePrivateFile(m_capturesFd.get(), name);
    if (fd < 0)
        return FillText(Tr::tr("%1/%2 cannot be written (%3)"), QLatin1StringView(kCaptures), name,
                        SystemErrorText(errno));
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = from.read(buffer.data(), buffer.size());
        if (got < 0)
            return FillText(Tr::tr("%1/%2 cannot be written (%3)"), QLatin1StringView(kCaptures),
                            name, CleanSystemText(from.errorString()));
        if (got == 0)
            break;
        if (file.write(buffer.constData(), got) != got)
            return FillText(Tr::tr("%1/%2 cannot be written (%3)"), QLatin1StringView(kCaptures),
                            name, CleanSystemText(file.errorString()));
    }
    if (!file.flush())
        return FillText(Tr::tr("%1/%2 cannot be written (%3)"), QLatin1StringView(kCaptures), name,
                        CleanSystemText(file.errorString()));
    return {};
}

void CaseFolder::removePartials() const
{
    if (!m_capturesFd.isOpen())
        return;
    for (const QString &name : namesIn(m_capturesFd.get())) {
        struct stat info;
        // Only within captures/ itself: a link named so is removed, never what it points to.
        if (name.startsWith(u".partial-") && statAt(m_capturesFd.get(), name, info)
            && !S_ISDIR(info.st_mode))
            ::unlinkat(m_capturesFd.get(), bytesOf(name).constData(), 0);
    }
}

void CaseFolder::removeCaptures()
{
    if (!m_capturesFd.isOpen())
        return;
    for (const QString &name : namesIn(m_capturesFd.get()))
        ::unlinkat(m_capturesFd.get(), bytesOf(name).constData(), 0);
    m_capturesFd.reset();
    ::unlinkat(m_fd.get(), kCaptures, AT_REMOVEDIR);
}

} // namespace Cases
