// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A browser pane that records the addresses it was asked to show, and lets a test play the
// engine's loading events.
#include "BrowserPane.h"

#include <QStringList>

class FakeBrowserPane : public BrowserPane
{
public:
    using BrowserPane::BrowserPane;

    // Local files as the paths the window named.
    void load(const PaneRequest &request) override
    {
        addresses.append(request.url.isLocalFile() ? request.url.toLocalFile()
                                                   : request.url.toString(QUrl::FullyEncoded));
        Q_EMIT navigationRequested(request.url);
    }
    void loadAhead(const PaneRequest &) override { }
    void openTabs(const QList<PaneRequest> &) override { }
    void setPrivateBrowsing(bool) override { }
    void clearBrowsingData() override { }
    bool takesClipboardKeys() const override { return false; }
    void findSiteSearch(SiteSearchDone done) override { done({{}, {}, QStringLiteral("none")}); }

    // The events of a page that loads completely, in the order the engine raises them.
    void finishLoading()
    {
        Q_EMIT loadStarted();
        Q_EMIT loadFinished({});
    }

    QStringList addresses;
};
