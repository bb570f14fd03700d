// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program keeps for a case is confidential: the folders it makes are 0700 and the
// files it writes 0600, whatever the umask, and a name inside a case's folder is never followed
// out of it (a link in a folder someone handed over could point anywhere). For the case folder,
// the server case's queue and anything else written for a case.
#include <QString>

#include <sys/types.h>

class QFileDevice;

namespace Cases {

// Makes the folder and every missing folder above it, each 0700; a folder that is there stays as
// it is. False with errno set when one cannot be made (or a name on the way is not a folder).
bool MakePrivateFolder(const QString &path);
// Makes `name` a folder 0700 inside the open folder `folderFd` when it is missing, and opens
// it, never through a link: its descriptor, or -1 with `problem` (a link, not a folder...).
int OpenPrivateSubfolder(int folderFd, const QString &name, bool create, QString &problem);
// Creates `name` anew (never over anything there, never through a link), 0600: its
// descriptor, or -1 with errno set.
int CreatePrivateFile(int folderFd, const QString &name);
// A regular file of the folder opened for reading, never through a link and never waiting on
// a pipe: its descriptor, or -1 with `problem` ("is a symbolic link", "is missing"...).
int OpenRegularFile(int folderFd, const QString &name, QString &problem);

// 0600 for a file written by others' code (a QSaveFile still open, a file a renderer wrote).
bool MakePrivate(int fd);
bool MakePrivate(QFileDevice &openFile);

// What a file is, for messages: "a symbolic link", "a named pipe", "a folder"...
QString FileKindText(mode_t mode);

// A descriptor closed with its owner.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) { }
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) { }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        reset(other.release());
        return *this;
    }
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int m_fd;
};

} // namespace Cases
