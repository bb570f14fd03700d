// SPDX-License-Identifier: GPL-3.0-or-later
// The link to a team's server: the first messages of PostgreSQL's protocol (what the server
// offers before a password), and the watch that ends an operation the server stopped answering.
#include "PgLink.h"
#include "PgSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd watched {fd, events, 0};
    int ready = 0;
    do
        ready = ::poll(&watched, 1, int(std::max<qint64>(0, deadline.remainingTime())));
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

bool sendAll(int fd, const QByteArray &bytes, const QDeadlineTimer &deadline)
{
    for (qsizetype sent = 0; sent < bytes.size();) {
        if (!waitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        sent += std::max<ssize_t>(0, n);
    }
    return true;
}

bool receive(int fd, char *into, qsizetype size, const QDeadlineTimer &deadline)
{
    for (qsizetype got = 0; got < size;) {
        if (!waitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t n = ::recv(fd, into + got, size_t(size - got), 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return false;
        got += std::max<ssize_t>(0, n);
    }
    return true;
}

QByteArray int32(quint32 value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return {bytes, 4};
}

quint32 int32At(const char *bytes)
{
    return quint32(uchar(bytes[0])) << 24 | quint32(uchar(bytes[1])) << 16
            | quint32(uchar(bytes[2])) << 8 | quint32(uchar(bytes[3]));
}

// SSLRequest; then, refused, the startup message and the server's first request.
Cases::ServerOffer talk(int fd, const Cases::ServerAddress &address, const QDeadlineTimer &deadline)
{
    using Cases::ServerOffer;
    const ServerOffer silent {ServerOffer::NoAnswer, Tr::tr("the server did not answer")};
    char answer[9] = {};
    if (!sendAll(fd, int32(8) + int32(80877103), deadline) || !receive(fd, answer, 1, deadline))
        return silent;
    if (answer[0] == 'S')
        return {ServerOffer::Tls, {}};
    if (answer[0] != 'N')
        return {ServerOffer::Other, {}};
    QByteArray startup = int32(196608) + "user" + '\0' + address.user.toUtf8() + '\0' + "database"
            + '\0' + address.database.toUtf8() + '\0' + '\0';
    if (!sendAll(fd, int32(quint32(startup.size() + 4)) + startup, deadline)
        || !receive(fd, answer, 9, deadline))
        return silent;
    constexpr quint32 kClearTextPassword = 3; // AuthenticationCleartextPassword
    if (answer[0] == 'R' && int32At(answer + 1) >= 8 && int32At(answer + 5) == kClearTextPassword)
        return {ServerOffer::ClearTextPassword, {}};
    return {ServerOffer::Other, {}};
}

} // namespace

namespace Cases {

ServerOffer ProbeServer(const ServerAddress &address, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int lookup = ::getaddrinfo(address.host.toUtf8().constData(),
                                     QByteArray::number(address.port).constData(), &hints, &found);
    if (lookup != 0)
        return {ServerOffer::NoAnswer, QString::fromLocal8Bit(::gai_strerror(lookup))};
    const std::unique_ptr<addrinfo, void (*)(addrinfo *)> list(found, ::freeaddrinfo);
    ServerOffer result {ServerOffer::NoAnswer, Tr::tr("the server did not answer")};
    for (const addrinfo *at = found; at && !deadline.hasExpired(); at = at->ai_next) {
        Descriptor socket {::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                                    at->ai_protocol)};
        if (socket.fd < 0)
            continue;
        int error = 0;
        socklen_t length = sizeof error;
        if (::connect(socket.fd, at->ai_addr, at->ai_addrlen) != 0 && errno != EINPROGRESS)
            error = errno;
        else if (!waitFor(socket.fd, POLLOUT, deadline))
            error = ETIMEDOUT;
        else
            ::getsockopt(socket.fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            result.reason = SystemErrorText(error);
            continue;
        }
        return talk(socket.fd, address, deadline);
    }
    return result;
}

bool SafeSslMode(const ServerAddress &address, int timeoutMs, QString &sslMode, QString &problem)
{
    sslMode = address.effectiveSslMode();
    if (address.host.startsWith(u'/') || (sslMode != u"allow" && sslMode != u"prefer"))
        return true;
    const ServerOffer offer = ProbeServer(address, timeoutMs);
    switch (offer.kind) {
    case ServerOffer::Tls:
        // Required now that it is offered: a second answer cannot take it back.
        sslMode = QStringLiteral("require");
        return true;
    case ServerOffer::Other:
        sslMode = QStringLiteral("disable");
        return true;
    case ServerOffer::ClearTextPassword:
        problem = Tr::tr("the server offers no TLS and asks for the password in clear text: the "
                         "password is not sent (sslmode=disable in the address sends it anyway)");
        return false;
    case ServerOffer::NoAnswer:
        break;
    }
    problem = Tr::tr("the server could not be reached (%1)").arg(offer.reason);
    return false;
}

} // namespace Cases

namespace {

// One thread for the program's sessions, looking twice a second at the operations that run.
class SilenceWatch
{
public:
    static SilenceWatch &instance()
    {
        // Never destroyed: its thread runs until the program ends.
        static SilenceWatch *watch = new SilenceWatch;
        return *watch;
    }

    quint64 arm(const void *owner, int socket)
    {
        // A descriptor of its own for the socket: shut from here, it cannot be another's that
        // took the number after libpq let go of it.
        const int own = socket >= 0 ? ::fcntl(socket, F_DUPFD_CLOEXEC, 0) : -1;
        std::lock_guard lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        m_watched[++m_last] = {owner, own, now()};
        return m_last;
    }

    void interrupt(const void *owner)
    {
        std::lock_guard lock(m_mutex);
        for (auto &[ticket, watched] : m_watched) {
            if (watched.owner == owner && watched.fd >= 0)
                ::shutdown(watched.fd, SHUT_RDWR);
        }
    }

    void disarm(quint64 ticket)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_watched.find(ticket);
        if (it == m_watched.end())
            return;
        if (it->second.fd >= 0)
            ::close(it->second.fd);
        m_watched.erase(it);
    }

private:
    struct Watched
    {
        const void *owner = nullptr;
        int fd = -1;
        qint64 since = 0; // armed, in ms of the steady clock
        bool shut = false;
    };

    static qint64 now()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    // When the other end last answered: data, or while what this end sent is not all
    // acknowledged (a capture on its way), an acknowledgement. Not the acknowledgement of a
    // keepalive: a stopped server's machine, or a proxy, sends those for ever.
    static qint64 lastHeard(int fd, qint64 at)
    {
        tcp_info info {};
        socklen_t length = sizeof info;
        if (fd < 0 || ::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
            return 0;
        const quint32 ago = info.tcpi_unacked > 0 ? std::min(info.tcpi_last_data_recv, info.tcpi_last_ack_recv)
                                                  : info.tcpi_last_data_recv;
        return at - ago;
    }

    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait_for(lock, std::chrono::milliseconds(500));
            const qint64 at = now();
            for (auto &[ticket, watched] : m_watched) {
                const qint64 heard = std::max(watched.since, lastHeard(watched.fd, at));
                if (!watched.shut && watched.fd >= 0
                    && at - heard > Cases::SilenceGuard::kSilenceLimitMs) {
                    ::shutdown(watched.fd, SHUT_RDWR);
                    watched.shut = true;
                }
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<quint64, Watched> m_watched;
    quint64 m_last = 0;
    std::thread m_thread;
};

} // namespace

namespace Cases {

SilenceGuard::SilenceGuard(const PgSession &session)
    : m_ticket(SilenceWatch::instance().arm(&session, session.socket()))
{
}

void SilenceGuard::interrupt(const PgSession *session)
{
    SilenceWatch::instance().interrupt(session);
}

SilenceGuard::~SilenceGuard()
{
    SilenceWatch::instance().disarm(m_ticket);
}

} // namespace Cases
