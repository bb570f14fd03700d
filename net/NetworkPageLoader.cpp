// SPDX-License-Identifier: GPL-3.0-or-later
#include "NetworkPageLoader.h"

#include "Address.h"
#include "HttpFetch.h"
#include "NetworkProxy.h"
#include "PageText.h"

namespace {

PageOutcome outcomeOf(const HttpAnswer &answer)
{
    PageOutcome outcome;
    outcome.finalAddress = QString::fromLatin1(answer.url.toEncoded());
    if (!answer.error.isEmpty()) {
        outcome.error = answer.error;
        outcome.overCap = answer.overCap;
        return outcome;
    }
    outcome.status = answer.status;
    if (outcome.status == 429 || outcome.status == 503)
        outcome.retryAfterMs = RetryAfterMs(answer.retryAfter, QDateTime::currentDateTimeUtc());
    // A redirect not followed (redirects=no): url: rules read where it points.
    if (outcome.status >= 300 && outcome.status < 400 && !answer.location.isEmpty())
        outcome.finalAddress = QString::fromLatin1(
                answer.url.resolved(QUrl::fromEncoded(answer.location, QUrl::TolerantMode))
                        .toEncoded());
    PageContent page = ReadPage(answer.body, answer.contentType);
    outcome.text = std::move(page.text);
    outcome.markup = std::move(page.markup);
    outcome.title = PageTitle(answer.body, answer.contentType);
    return outcome;
}

} // namespace

NetworkPageLoader::NetworkPageLoader(const ProxySetting &proxy, QObject *parent) : QObject(parent)
{
    if (!proxy.isNone())
        m_proxy = NetworkProxyFor(proxy);
}

void NetworkPageLoader::Load(const SearchRequest &search,
                             std::function<void(const PageOutcome &)> done)
{
    HttpRequest request;
    // As the browser pane opens it: the address's %XX and "+" exactly as composed.
    request.url = QUrl::fromEncoded(EncodedAddress(search.address), QUrl::TolerantMode);
    request.body = search.postBody;
    request.headers = search.headers;
    request.followRedirects = search.followRedirects;
    auto *fetch = new HttpFetch(std::move(request), m_proxy, this);
    connect(fetch, &HttpFetch::finished, this, [fetch, done = std::move(done)] {
        const PageOutcome outcome = outcomeOf(fetch->answer());
        fetch->deleteLater();
        done(outcome);
    });
    fetch->start();
}

void NetworkPageLoader::Cancel()
{
    for (HttpFetch *fetch : findChildren<HttpFetch *>(Qt::FindDirectChildrenOnly))
        delete fetch;
}
