// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpFetch.h"

#include "Search.h"

#include <QCoreApplication>
#include <QSslSocket>
#include <QTcpSocket>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(HttpFetch)
};

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QByteArray hostHeader(const QUrl &url)
{
    QByteArray host = url.host(QUrl::EncodeUnicode).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int port = url.port();
    const int usual = url.scheme() == u"https" ? 443 : 80;
    if (port >= 0 && port != usual)
        host += ':' + QByteArray::number(port);
    return host;
}

} // namespace

HttpFetch::HttpFetch(HttpRequest request, const QNetworkProxy &proxy, QObject *parent)
    : QObject(parent), m_request(std::move(request)), m_proxy(proxy)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        end(Tr::tr("nothing arrived for %1 seconds").arg(kIdleMs / 1000));
    });
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kLongestMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        end(Tr::tr("the page took longer than %1 seconds").arg(kLongestMs / 1000));
    });
}

HttpFetch::~HttpFetch()
{
    dropSocket();
}

void HttpFetch::start()
{
    m_deadline.start();
    connectTo(m_request.url);
}

void HttpFetch::dropSocket()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void HttpFetch::connectTo(const QUrl &url)
{
    dropSocket();
    m_url = url;
    m_reader = std::make_unique<HttpReader>();
    const bool tls = url.scheme() == u"https";
    if (!tls && url.scheme() != u"http")
        return end(Tr::tr("\"%1\" is no http or https address")
                           .arg(url.toDisplayString().left(200)));
    QTcpSocket *socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
    m_socket = socket;
    socket->setProxy(m_proxy);
    connect(socket, &QAbstractSocket::errorOccurred, this, &HttpFetch::socketError);
    connect(socket, &QIODevice::readyRead, this, &HttpFetch::readSome);
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket] {
        readSome();
        // What was read may have sent the search on to a connection of its own.
        if (socket != m_socket || !m_reader || m_ended)
            return;
        m_reader->closed();
        answered();
    });
    m_idle.start();
    const QString host = url.host(QUrl::EncodeUnicode);
    if (auto *secure = qobject_cast<QSslSocket *>(socket)) {
        connect(secure, &QSslSocket::encrypted, this, &HttpFetch::sendRequest);
        // The certificate must be good: a page behind a bad one is no page of that site.
        connect(secure, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
            end(Tr::tr("the site's certificate is not valid (%1)").arg(errors.first().errorString()));
        });
        secure->connectToHostEncrypted(host, quint16(url.port(443)));
    } else {
        connect(socket, &QAbstractSocket::connected, this, &HttpFetch::sendRequest);
        socket->connectToHost(host, quint16(url.port(80)));
    }
}

void HttpFetch::sendRequest()
{
    QByteArray target = m_url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority
                                        | QUrl::RemoveFragment);
    if (!target.startsWith('/'))
        target.prepend('/');
    const bool post = m_request.body.has_value();
    QList<std::pair<QByteArray, QByteArray>> headers = {
            {"User-Agent", kUserAgent.toByteArray()},
            {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
            {"Accept-Language", "en-US,*"},
            {"Accept-Encoding", "gzip, deflate"},
    };
    if (post)
        headers.append({QByteArray("Content-Type"), QByteArray("application/x-www-form-urlencoded")});
    for (const auto &[name, value] : std::as_const(m_request.headers)) {
        if (FramesRequest(name))
            continue;
        headers.removeIf([&name](const auto &own) {
            return own.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        headers.append({name, value});
    }
    QByteArray text = (post ? "POST " : "GET ") + target + " HTTP/1.1\r\nHost: "
            + hostHeader(m_url) + "\r\n";
    for (const auto &[name, value] : std::as_const(headers))
        text += name + ": " + value + "\r\n";
    if (post)
        text += "Content-Length: " + QByteArray::number(m_request.body->size()) + "\r\n";
    text += "Connection: close\r\n\r\n";
    if (post)
        text += *m_request.body;
    m_socket->write(text);
}

void HttpFetch::readSome()
{
    if (!m_socket || !m_reader)
        return;
    char buffer[64 * 1024];
    while (m_socket && m_socket->bytesAvailable() > 0) {
        const qint64 got = m_socket->read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        m_idle.start();
        m_reader->feed(buffer, got);
        if (m_reader->state() == HttpReader::State::Done
            || m_reader->state() == HttpReader::State::Failed)
            return answered();
    }
}

void HttpFetch::socketError()
{
    if (!m_socket || m_ended)
        return;
    // A body that runs until the connection closes ends with the close.
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
        return; // disconnected follows
    end(m_socket->errorString());
}

void HttpFetch::answered()
{
    if (m_ended || !m_reader)
        return;
    const HttpReader &reader = *m_reader;
    if (reader.state() == HttpReader::State::Failed) {
        m_answer.overCap = reader.overCap();
        m_answer.status = reader.status();
        return end(reader.error());
    }
    const QByteArray location = reader.header("Location");
    if (m_request.followRedirects && isRedirect(reader.status()) && !location.isEmpty()) {
        const QUrl next = m_url.resolved(QUrl::fromEncoded(location, QUrl::TolerantMode));
        if (++m_redirects > kMostRedirects)
            return end(Tr::tr("too many redirects: the site sent the search on more than %1 "
                              "times")
                               .arg(kMostRedirects));
        if (m_url.scheme() == u"https" && next.scheme() == u"http")
            return end(Tr::tr("the site sent the search on from https to an http address"));
        // As browsers do: a form sent on by 301, 302 or 303 becomes a plain GET.
        if (reader.status() != 307 && reader.status() != 308)
            m_request.body.reset();
        return connectTo(next);
    }
    m_answer.status = reader.status();
    m_answer.url = m_url;
    m_answer.body = reader.body();
    m_answer.contentType = reader.header("Content-Type");
    m_answer.retryAfter = reader.header("Retry-After");
    m_answer.location = location;
    end({});
}

void HttpFetch::end(const QString &error)
{
    if (m_ended)
        return;
    m_ended = true;
    m_answer.error = error;
    if (m_answer.url.isEmpty())
        m_answer.url = m_url;
    m_idle.stop();
    m_deadline.stop();
    m_reader.reset();
    dropSocket();
    QMetaObject::invokeMethod(this, &HttpFetch::finished, Qt::QueuedConnection);
}
