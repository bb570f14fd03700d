// SPDX-License-Identifier: GPL-3.0-or-later
// A case folder's stamps: each authority's answer a file of stamps/ (0600, the folder 0700),
// written under a scratch name and renamed into place inside the transaction that appends its
// entry. Opened below the case's folder without following links: a case handed over may hold
// anything there.
#include "CaseStamp.h"
#include "SqliteCaseStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

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

constexpr char kStamps[] = "stamps";
// An answer is a few kilobytes; anything far larger is not one.
constexpr qint64 kLargestAnswer = 1 << 20;

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// stamps/ of the case, a real folder (made 0700 when `make`); -1 with errno else.
int openStampsFolder(const QString &caseFolder, bool make)
{
    const QByteArray path = QFile::encodeName(caseFolder + u'/' + QLatin1StringView(kStamps));
    if (make && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return -1;
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return ::fsync(fd) == 0;
}

// The answer under a scratch name in stamps/; its name, or CaseWriteError.
QByteArray writeScratch(int folder, const QByteArray &answer)
{
    const QByteArray name = ".partial-" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + ".tsr";
    Descriptor file(::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0 || !writeAll(file.get(), answer)) {
        const int error = errno;
        ::unlinkat(folder, name.constData(), 0);
        throw Cases::CaseWriteError(Tr::tr("The stamp was not recorded: %1").arg(SystemErrorText(error)));
    }
    return name;
}

} // namespace

namespace Cases {

CaseEntry SqliteCaseStore::appendStamp(CaseEntry entry, const QByteArray &answer)
{
    if (isReadOnly())
        throw CaseWriteError(Tr::tr("The case is open read-only: nothing is recorded"));
    const QByteArray name = QFile::encodeName(StampFileName(entry));
    if (name.isEmpty())
        throw CaseWriteError(Tr::tr("The stamp was not recorded: it names no record's hash"));
    const Descriptor folder(openStampsFolder(m_folder, true));
    if (folder.get() < 0)
        throw CaseWriteError(Tr::tr("The stamp was not recorded: %1/ cannot be opened (%2)")
                                     .arg(QLatin1StringView(kStamps), SystemErrorText(errno)));
    const QByteArray scratch = writeScratch(folder.get(), answer);
    bool placed = false;
    try {
        return appendInTransaction(std::move(entry), [&](CaseEntry &) {
            struct stat there;
            if (::fstatat(folder.get(), name.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0)
                throw CaseWriteError(Tr::tr("The stamp was not recorded: %1/%2 is there already")
                                             .arg(QLatin1StringView(kStamps), QFile::decodeName(name)));
            if (::renameat(folder.get(), scratch.constData(), folder.get(), name.constData()) != 0)
                throw CaseWriteError(Tr::tr("The stamp was not recorded: %1").arg(SystemErrorText(errno)));
            placed = true;
        });
    } catch (const CaseWriteError &) {
        ::unlinkat(folder.get(), placed ? name.constData() : scratch.constData(), 0);
        throw;
    }
}

QByteArray SqliteCaseStore::readStamp(const CaseEntry &stamp, QString &problem) const
{
    const QString name = StampFileName(stamp);
    if (name.isEmpty()) {
        problem = Tr::tr("it names no record's hash");
        return {};
    }
    const QString shown = QLatin1StringView(kStamps) + u'/' + name;
    const Descriptor folder(openStampsFolder(m_folder, false));
    const Descriptor file(folder.get() < 0 ? -1
                                           : ::openat(folder.get(), QFile::encodeName(name).constData(),
                                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0) {
        problem = errno == ENOENT ? Tr::tr("%1 is missing").arg(shown)
                                  : Tr::tr("%1 cannot be read (%2)").arg(shown, SystemErrorText(errno));
        return {};
    }
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestAnswer) {
        problem = Tr::tr("%1 is not a time-stamp answer of this case").arg(shown);
        return {};
    }
    QByteArray bytes(info.st_size, Qt::Uninitialized);
    if (::pread(file.get(), bytes.data(), size_t(bytes.size()), 0) != info.st_size) {
        problem = Tr::tr("%1 cannot be read (%2)").arg(shown, SystemErrorText(errno));
        return {};
    }
    return bytes;
}

void SqliteCaseStore::writeCopiedStamp(const CaseEntry &stamp, const QByteArray &answer)
{
    const QByteArray name = QFile::encodeName(StampFileName(stamp));
    const Descriptor folder(openStampsFolder(m_folder, true));
    if (name.isEmpty() || folder.get() < 0)
        fail(Tr::tr("the stamp of record %1 cannot be written").arg(stamp.seq));
    const QByteArray scratch = writeScratch(folder.get(), answer);
    if (::renameat(folder.get(), scratch.constData(), folder.get(), name.constData()) != 0)
        fail(Tr::tr("the stamp of record %1 cannot be written (%2)").arg(stamp.seq).arg(SystemErrorText(errno)));
}

} // namespace Cases
