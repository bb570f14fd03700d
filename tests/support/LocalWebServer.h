// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An HTTP server on 127.0.0.1 for the browser pane's tests (HTTPS with a TLS configuration). It
// answers each request with what the test's handler says (after a delay, if any), keeps every
// request with its headers, and counts the requests it is still answering.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class LocalWebServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray path; // with its query, as sent
        QByteArray headers;
        QByteArray body; // as much as its Content-Length says
        QByteArray header(const QByteArray &name) const
        {
            for (const QByteArray &line : headers.split('\n')) {
                const qsizetype colon = line.indexOf(':');
                if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
                    return line.mid(colon + 1).trimmed();
            }
            return {};
        }
    };
    struct Response
    {
        QByteArray status = "200 OK";
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray extraHeaders; // whole lines, each ending in \r\n
        QByteArray body;
        int delayMs = 0;
        // Sends the headers and this much of the body, then holds the connection open.
        qsizetype stallAfter = -1;
    };
    using Handler = std::function<Response(const Request &)>;

    explicit LocalWebServer(Handler handler = {}, std::optional<QSslConfiguration> tls = {})
        : m_handler(std::move(handler)), m_tls(tls.has_value())
    {
        if (tls) {
            auto *secure = new QSslServer;
            secure->setSslConfiguration(*tls);
            m_server.reset(secure);
        } else {
            m_server.reset(new QTcpServer);
        }
        // Once a connection is ready: for HTTPS, after its handshake.
        connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(m_server->listen(QHostAddress::LocalHost));
    }

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    QByteArray base() const
    {
        return (m_tls ? "https" : "http") + QByteArray("://127.0.0.1:")
                + QByteArray::number(port());
    }
    quint16 port() const { return m_server->serverPort(); }
    // The requests for paths that start with the prefix.
    QList<Request> requestsFor(const QByteArray &prefix) const
    {
        QList<Request> found;
        for (const Request &r : requests) {
            if (r.path.startsWith(prefix))
                found.append(r);
        }
        return found;
    }
    QList<QByteArray> pathsFor(const QByteArray &prefix) const
    {
        QList<QByteArray> paths;
        for (const Request &r : requestsFor(prefix))
            paths.append(r.path);
        return paths;
    }

    QList<Request> requests;
    // Requests answered after a delay that are not answered yet, and the most at one time.
    int inFlight = 0;
    int maxInFlight = 0;

    // A small page with visible text and a title.
    static Response page(const QByteArray &title, const QByteArray &body = {})
    {
        Response r;
        r.body = "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1>"
                + body + "</body></html>";
        return r;
    }

private:
    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.left(end);
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        Request request;
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        request.headers = head.mid(head.indexOf("\r\n") + 2);
        const qsizetype length = request.header("Content-Length").toLongLong();
        if (buffer.size() < end + 4 + length)
            return; // the body is still on its way
        request.body = buffer.mid(end + 4, length);
        m_buffers.remove(socket);
        requests.append(request);
        const Response response = m_handler ? m_handler(request) : page("Result");
        if (response.delayMs <= 0)
            return answer(socket, response);
        maxInFlight = std::max(maxInFlight, ++inFlight);
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(response.delayMs, this, [this, guard, response] {
            --inFlight;
            if (guard)
                answer(guard, response);
        });
    }

    void answer(QTcpSocket *socket, const Response &response)
    {
        const QByteArray body = response.stallAfter >= 0 ? response.body.left(response.stallAfter)
                                                         : response.body;
        socket->write("HTTP/1.1 " + response.status + "\r\nContent-Type: " + response.contentType
                      + "\r\nContent-Length: " + QByteArray::number(response.body.size())
                      + "\r\nConnection: close\r\n" + response.extraHeaders + "\r\n" + body);
        if (response.stallAfter < 0)
            socket->disconnectFromHost();
    }

    Handler m_handler;
    bool m_tls;
    std::unique_ptr<QTcpServer> m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
