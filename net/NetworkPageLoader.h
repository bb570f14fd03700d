// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pages of the result matrix fetched over HTTP (HttpFetch), for the job without a window
// and the window's matrix: no scripts run, no cookies are kept, nothing is cached or saved, and
// nothing a site sends is held beyond the reader's bounds.
#include "Matrix.h"
#include "Proxy.h"

#include <QNetworkProxy>
#include <QObject>

class NetworkPageLoader : public QObject, public PageLoader
{
    Q_OBJECT

public:
    // Every page through the case's proxy, when it has one.
    explicit NetworkPageLoader(const ProxySetting &proxy = {}, QObject *parent = nullptr);

    // The proxy the loads go through; the application's by default.
    void setProxy(const QNetworkProxy &proxy) { m_proxy = proxy; }

    // The address as the browser pane opens it; a POST sends the form body. Loads still open
    // when the loader goes end with it, and say nothing.
    void Load(const SearchRequest &request, std::function<void(const PageOutcome &)> done) override;
    void Cancel() override;

private:
    QNetworkProxy m_proxy {QNetworkProxy::DefaultProxy};
};
