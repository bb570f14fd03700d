// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A server on 127.0.0.1 that answers with exactly the bytes a test gives, however wrong they
// are as HTTP, for the loader's tests against sites that misbehave: an answer may go on without
// end (each piece sent once the one before has gone, until the client closes, at most
// kMostEndless bytes), or stay open after its bytes. It counts the requests of each path.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>

class RawWebServer : public QObject
{
public:
    static constexpr qint64 kMostEndless = 256LL * 1024 * 1024;

    struct Answer
    {
        Answer(QByteArray b = {}, QByteArray e = {}, bool hold = false)
            : bytes(std::move(b)), endless(std::move(e)), holdOpen(hold)
        {
        }
        QByteArray bytes;
        QByteArray endless; // sent again and again after the bytes, when not empty
        bool holdOpen;      // the connection stays open after the bytes
    };
    using Handler = std::function<Answer(const QByteArray &path)>;

    explicit RawWebServer(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
    }

    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(m_server.serverPort()); }
    int requests(const QByteArray &prefix) const
    {
        int count = 0;
        for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it)
            count += it.key().startsWith(prefix) ? it.value() : 0;
        return count;
    }

private:
    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QByteArray path = buffer.split(' ').value(1);
        m_buffers.remove(socket);
        ++m_paths[path];
        const Answer answer = m_handler(path);
        socket->write(answer.bytes);
        if (answer.endless.isEmpty()) {
            if (!answer.holdOpen)
                socket->disconnectFromHost();
            return;
        }
        auto sent = std::make_shared<qint64>(0);
        QPointer<QTcpSocket> guard(socket);
        const auto more = [guard, sent, piece = answer.endless] {
            while (guard && guard->bytesToWrite() < 4 * piece.size() && *sent < kMostEndless) {
                guard->write(piece);
                *sent += piece.size();
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    QTcpServer m_server;
    Handler m_handler;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QHash<QByteArray, int> m_paths;
};
