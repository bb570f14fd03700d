// SPDX-License-Identifier: GPL-3.0-or-later
#include "NetworkPageLoader.h"

#include "Address.h"
#include "PageText.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(NetworkPageLoader)
};

// Cookies neither sent nor kept: one search must not change what the next one sees.
class NoCookies : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

// One load: the body read up to the limit, then what came handed over.
struct Reading
{
    QByteArray body;
    bool cut = false;     // the limit was reached: the rest was not read
    bool tooLong = false; // the whole load took too long
};

PageOutcome outcomeOf(QNetworkReply *reply, const Reading &load)
{
    PageOutcome outcome;
    outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    outcome.finalAddress = reply->url().toString(QUrl::FullyEncoded);
    if (load.tooLong && !load.cut) {
        outcome.error = Tr::tr("the page took longer than %1 seconds")
                                .arg(NetworkPageLoader::kLongestMs / 1000);
        outcome.status = 0;
        return outcome;
    }
    if (outcome.status == 0 && !load.cut) {
        // Qt's transfer timeout ends a load as cancelled.
        outcome.error = reply->error() == QNetworkReply::OperationCanceledError
                ? Tr::tr("nothing arrived for %1 seconds").arg(NetworkPageLoader::kIdleMs / 1000)
                : reply->errorString();
        return outcome;
    }
    if (outcome.status == 429)
        outcome.retryAfterMs
                = RetryAfterMs(reply->rawHeader("Retry-After"), QDateTime::currentDateTimeUtc());
    outcome.text = PageText(load.body, reply->rawHeader("Content-Type"));
    outcome.title = PageTitle(load.body, reply->rawHeader("Content-Type"));
    return outcome;
}

} // namespace

NetworkPageLoader::NetworkPageLoader(QObject *parent) : QObject(parent)
{
    m_manager.setCookieJar(new NoCookies(&m_manager));
    m_manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_manager.setTransferTimeout(kIdleMs);
}

void NetworkPageLoader::Load(const SearchRequest &search,
                             std::function<void(const PageOutcome &)> done)
{
    // As the browser pane opens it: the address's %XX and "+" exactly as composed.
    QNetworkRequest request(QUrl::fromEncoded(EncodedAddress(search.address), QUrl::TolerantMode));
    request.setMaximumRedirectsAllowed(kMostRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArrayLiteral("Mozilla/5.0 (X11; Linux x86_64) GlenLantern"));
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply *reply = nullptr;
    if (search.postBody) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/x-www-form-urlencoded"));
        reply = m_manager.post(request, *search.postBody);
    } else {
        reply = m_manager.get(request);
    }
    auto load = std::make_shared<Reading>();
    connect(reply, &QIODevice::readyRead, reply, [reply, load] {
        load->body += reply->read(kMostBodyBytes - load->body.size());
        if (load->body.size() >= kMostBodyBytes) {
            load->cut = true;
            reply->abort();
        }
    });
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply, load] {
        load->tooLong = true;
        reply->abort();
    });
    deadline->start(kLongestMs);
    connect(reply, &QNetworkReply::finished, this, [reply, load, done = std::move(done)] {
        if (!load->cut)
            load->body += reply->read(kMostBodyBytes - load->body.size());
        const PageOutcome outcome = outcomeOf(reply, *load);
        reply->deleteLater();
        done(outcome);
    });
}
