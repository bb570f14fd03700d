// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebSiteSearch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

constexpr qint64 kLongestDocument = 1024 * 1024;
constexpr int kTimeoutMs = 15000;

// Runs apart from the page's own scripts, which cannot change what it finds.
const QString kFindLink
        = QStringLiteral("(() => { const link = document.querySelector('link[rel~=\"search\" i]"
                         "[type=\"application/opensearchdescription+xml\" i][href]'); "
                         "return link ? link.href : ''; })()");

void fetch(const QUrl &address, QObject *context, const SiteSearchDone &done)
{
    auto *network = new QNetworkAccessManager(context);
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply *reply = network->get(request);
    const auto fail = [done, address](const QString &why) {
        done({{},
              address,
              QObject::tr("Cannot read the search description at %1: %2")
                      .arg(address.toDisplayString(), why)});
    };
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
        if (received > kLongestDocument)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, network, [=] {
        network->deleteLater();
        if (reply->bytesAvailable() > kLongestDocument
            || reply->error() == QNetworkReply::OperationCanceledError)
            return fail(QObject::tr("it is larger than 1 MB"));
        if (reply->error() != QNetworkReply::NoError)
            return fail(reply->errorString());
        done({reply->readAll(), reply->url(), {}});
    });
}

} // namespace

void FetchSiteSearch(QWebEnginePage *page, QObject *context, SiteSearchDone done)
{
    const QUrl pageAddress = page->url();
    QPointer<QObject> alive(context);
    page->runJavaScript(kFindLink, QWebEngineScript::ApplicationWorld,
                        [alive, done, pageAddress](const QVariant &found) {
                            if (!alive)
                                return;
                            const QUrl address(found.toString());
                            if (found.toString().isEmpty())
                                return done({{},
                                             {},
                                             QObject::tr("The page %1 offers no search "
                                                         "of its own")
                                                     .arg(pageAddress.toDisplayString())});
                            if (address.scheme() != u"http" && address.scheme() != u"https")
                                return done({{},
                                             {},
                                             QObject::tr("The page's search description "
                                                         "is not a web address: %1")
                                                     .arg(address.toDisplayString())});
                            fetch(address, alive, done);
                        });
}
