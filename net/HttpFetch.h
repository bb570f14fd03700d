// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One page fetched over HTTP/1.1 on a socket of its own, read by HttpReader so that nothing a
// site sends can hold more than the reader's bounds: the redirects followed up to a limit, an
// https page never sent on to http, no cookies, nothing cached. A load ends when nothing arrives
// for kIdleMs, or after kLongestMs in all.
#include "HttpReader.h"

#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <optional>

class QTcpSocket;

struct HttpRequest
{
    QUrl url;
    std::optional<QByteArray> body; // sent as a POST when there is one
    // Sent after the program's own, in place of one of the same name.
    QList<std::pair<QByteArray, QByteArray>> headers;
    bool followRedirects = true;
};

struct HttpAnswer
{
    QString error; // why no page came; empty when one did
    bool overCap = false;
    int status = 0;
    QUrl url; // of the page that answered, after the redirects followed
    QByteArray body;
    QByteArray contentType;
    QByteArray retryAfter;
    QByteArray location;
};

class HttpFetch : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMostRedirects = 10;
    static constexpr int kIdleMs = 30'000;
    static constexpr int kLongestMs = 60'000;
    static constexpr QByteArrayView kUserAgent = "Mozilla/5.0 (X11; Linux x86_64) GlenLantern";

    HttpFetch(HttpRequest request, const QNetworkProxy &proxy, QObject *parent = nullptr);
    ~HttpFetch() override;

    void start();
    const HttpAnswer &answer() const { return m_answer; }

Q_SIGNALS:
    // Once, from the event loop.
    void finished();

private:
    void connectTo(const QUrl &url);
    void sendRequest();
    void readSome();
    void socketError();
    void answered();
    void end(const QString &error);
    void dropSocket();

    HttpRequest m_request;
    QNetworkProxy m_proxy;
    QUrl m_url;
    QPointer<QTcpSocket> m_socket;
    std::unique_ptr<HttpReader> m_reader;
    QTimer m_idle;
    QTimer m_deadline;
    int m_redirects = 0;
    bool m_ended = false;
    HttpAnswer m_answer;
};
