// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pages of the result matrix fetched over Qt Network, for the job without a window: no
// scripts run, no cookies are kept, nothing is cached or saved.
#include "Matrix.h"
#include "Proxy.h"

#include <QNetworkAccessManager>
#include <QObject>

class NetworkPageLoader : public QObject, public PageLoader
{
    Q_OBJECT

public:
    // A page's text is read from at most this many bytes of its body.
    static constexpr qint64 kMostBodyBytes = 4 * 1024 * 1024;
    static constexpr int kMostRedirects = 10;
    // A load ends when nothing arrives for kIdleMs, or after kLongestMs in all.
    static constexpr int kIdleMs = 30'000;
    static constexpr int kLongestMs = 60'000;

    // Every page through the proxy, when there is one.
    explicit NetworkPageLoader(const ProxySetting &proxy = {}, QObject *parent = nullptr);

    // The address as the browser pane opens it; a POST sends the form body.
    void Load(const SearchRequest &request, std::function<void(const PageOutcome &)> done) override;

private:
    QNetworkAccessManager m_manager;
};
