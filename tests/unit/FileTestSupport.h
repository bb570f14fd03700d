// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ways to make a save fail on purpose, for root and for other users alike.
#include <QByteArray>
#include <QString>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>

// While it lives, no file of this process grows past the limit: a write beyond it stops short
// with EFBIG ("File too large"), as a full disk stops it. Works for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_active = ::getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_active = m_active && ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_saved {};
    bool m_active = false;
    void (*m_oldHandler)(int) = nullptr;
};

// A small tmpfs mounted on a folder while it lives; only root may mount one.
class SmallTmpfs
{
public:
    SmallTmpfs(const QString &folder, const char *options) : m_folder(folder.toLocal8Bit())
    {
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallTmpfs()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    // As a disk mounted read-only: what is there stays, nothing can be written.
    bool remountReadOnly()
    {
        return ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
                == 0;
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

// The user id of "nobody", whom permission bits bind as they bind any user but root.
uid_t UnprivilegedUid();

// Runs the call as "nobody" in a child process when the test runs as root, so that permission
// bits hold; otherwise runs it here. The call's result comes back, or nothing when the child
// could not run it.
std::optional<QString> RunUnprivileged(const std::function<QString()> &call);

// Fills the file system holding the folder, so that the next write there fails for want of
// space. False when it would not fill.
bool FillFileSystem(const QString &folder);
