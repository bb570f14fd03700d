// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sends a time-stamp query (RFC 3161, application/timestamp-query) to an authority over HTTP
// or HTTPS and hands back its answer's bytes as they came; checking them is the record's
// business. Nothing is kept: no cookies, no cache, no redirects followed. A case's proxy carries
// the query: nothing of a proxied case leaves the machine directly.
#include "Proxy.h"
#include "StampSender.h"

#include <QNetworkAccessManager>
#include <QObject>

class QNetworkReply;

class TimestampClient : public QObject, public StampSender
{
    Q_OBJECT

public:
    // An answer is a few kilobytes: more than this is not one.
    static constexpr qint64 kLargestAnswer = 1024 * 1024;
    // The query ends when the authority has not answered within this time.
    static constexpr int kLongestMs = 30'000;

    explicit TimestampClient(const ProxySetting &proxy = {}, QObject *parent = nullptr);
    ~TimestampClient() override;

    // Sends the query; answered or failed follows, once. An address that is not http or https
    // fails at once.
    void send(const QString &tsaUrl, const QByteArray &query);
    void Send(const QString &tsaUrl, const QByteArray &query, Done done) override;

    // The same, waited for: the answer, or CommandError with the reason. Through the proxy
    // given, or none.
    static QByteArray sendAndWait(const QString &tsaUrl, const QByteArray &query);
    static QByteArray sendThroughAndWait(const ProxySetting &proxy, const QString &tsaUrl,
                                         const QByteArray &query);

Q_SIGNALS:
    void answered(const QByteArray &answer);
    void failed(const QString &reason);

private:
    void finish(QNetworkReply *reply);

    QNetworkAccessManager m_manager;
};
