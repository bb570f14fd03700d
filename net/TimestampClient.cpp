// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimestampClient.h"

#include "Error.h"
#include "NetworkProxy.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(TimestampClient)
};

} // namespace

TimestampClient::TimestampClient(const ProxySetting &proxy, QObject *parent) : QObject(parent)
{
    m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_manager.setTransferTimeout(kLongestMs);
    if (!proxy.isNone())
        m_manager.setProxy(NetworkProxyFor(proxy));
}

// A query given up: its reply goes with the manager and says nothing more.
TimestampClient::~TimestampClient()
{
    for (QNetworkReply *reply : m_manager.findChildren<QNetworkReply *>())
        reply->disconnect(this);
}

void TimestampClient::Send(const QString &tsaUrl, const QByteArray &query, Done done)
{
    auto answered = std::make_shared<Done>(std::move(done));
    connect(this, &TimestampClient::answered, this,
            [answered](const QByteArray &answer) { (*answered)(answer, {}); });
    connect(this, &TimestampClient::failed, this,
            [answered](const QString &reason) { (*answered)({}, reason); });
    send(tsaUrl, query);
}

void TimestampClient::send(const QString &tsaUrl, const QByteArray &query)
{
    const QUrl url(tsaUrl, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https")) {
        QTimer::singleShot(0, this, [this] {
            Q_EMIT failed(Tr::tr("the authority's address must be an http or https address"));
        });
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/timestamp-query"));
    request.setRawHeader("Accept", "application/timestamp-reply");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply *reply = m_manager.post(request, query);
    // An authority that sends more than an answer's size is cut off there.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
        if (received > kLargestAnswer)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

void TimestampClient::finish(QNetworkReply *reply)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->bytesAvailable() <= kLargestAnswer ? reply->read(kLargestAnswer + 1) : QByteArray();
    if (status == 0) {
        Q_EMIT failed(reply->error() == QNetworkReply::OperationCanceledError
                              ? Tr::tr("no answer within %1 seconds, or more than an answer's size").arg(kLongestMs / 1000)
                              : CleanSystemText(reply->errorString()));
    } else if (status != 200) {
        Q_EMIT failed(Tr::tr("the authority answered HTTP %1 %2")
                              .arg(QString::number(status),
                                   QString::fromLatin1(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                                                               .toByteArray())
                                           .simplified()));
    } else if (body.isEmpty() || body.size() > kLargestAnswer) {
        Q_EMIT failed(Tr::tr("the authority's answer is empty or too large"));
    } else {
        Q_EMIT answered(body);
    }
}

QByteArray TimestampClient::sendAndWait(const QString &tsaUrl, const QByteArray &query)
{
    return sendThroughAndWait({}, tsaUrl, query);
}

QByteArray TimestampClient::sendThroughAndWait(const ProxySetting &proxy, const QString &tsaUrl,
                                               const QByteArray &query)
{
    TimestampClient client(proxy);
    QEventLoop loop;
    QByteArray answer;
    QString problem;
    connect(&client, &TimestampClient::answered, &loop, [&](const QByteArray &bytes) {
        answer = bytes;
        loop.quit();
    });
    connect(&client, &TimestampClient::failed, &loop, [&](const QString &reason) {
        problem = reason;
        loop.quit();
    });
    client.send(tsaUrl, query);
    loop.exec();
    if (!problem.isEmpty())
        throw CommandError(problem);
    return answer;
}
