// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sends a time-stamp query (RFC 3161, application/timestamp-query) to an authority over HTTP
// or HTTPS and hands back its answer's bytes as they came; checking them is the record's
// business. Nothing is kept: no cookies, no cache, no redirects followed.
#include <QNetworkAccessManager>
#include <QObject>

class QNetworkReply;

class TimestampClient : public QObject
{
    Q_OBJECT

public:
    // An answer is a few kilobytes: more than this is not one.
    static constexpr qint64 kLargestAnswer = 1024 * 1024;
    // The query ends when the authority has not answered within this time.
    static constexpr int kLongestMs = 30'000;

    explicit TimestampClient(QObject *parent = nullptr);

    // Sends the query; answered or failed follows, once. An address that is not http or https
    // fails at once.
    void send(const QString &tsaUrl, const QByteArray &query);

    // The same, waited for: the answer, or CommandError with the reason.
    static QByteArray sendAndWait(const QString &tsaUrl, const QByteArray &query);

Q_SIGNALS:
    void answered(const QByteArray &answer);
    void failed(const QString &reason);

private:
    void finish(QNetworkReply *reply);

    QNetworkAccessManager m_manager;
};
