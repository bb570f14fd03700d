// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileTestSupport.h"

#include <QFile>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

uid_t UnprivilegedUid()
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}

static gid_t unprivilegedGid()
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_gid : 65534;
}

std::optional<QString> RunUnprivileged(const std::function<QString()> &call)
{
    if (::geteuid() != 0)
        return call();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(unprivilegedGid()) != 0
            || ::setuid(UnprivilegedUid()) != 0)
            ::_exit(2);
        const QByteArray message = call().toUtf8();
        const bool written = ::write(pipeEnds[1], message.constData(), size_t(message.size()))
                == message.size();
        ::_exit(written ? 0 : 3);
    }
    ::close(pipeEnds[1]);
    QByteArray message;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        message.append(buffer, got);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(message);
}

bool FillFileSystem(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) { }
    // Whatever room a smaller write still finds goes too.
    while (filler.write("f", 1) == 1) { }
    return filler.error() != QFileDevice::NoError;
}
