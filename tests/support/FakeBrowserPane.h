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
        requests.append(request);
        Q_EMIT navigationRequested(request.url);
    }
    void loadAhead(const PaneRequest &) override { }
    void openTabs(const QList<PaneRequest> &tabs) override { requests += tabs; }
    void setPrivateBrowsing(bool) override { }
    void clearBrowsingData() override { }
    void setProfile(const PaneProfile &profile) override { profiles.append(profile); }
    void forgetProfile() override { ++forgotten; }
    bool takesClipboardKeys() const override { return false; }
    void findSiteSearch(SiteSearchDone done) override { done({{}, {}, QStringLiteral("none")}); }
    void capturePage(int id, const QList<CaptureFile> &files) override { captures.append({id, files}); }

    // The events of a page that loads completely, in the order the engine raises them.
    void finishLoading()
    {
        Q_EMIT loadStarted();
        Q_EMIT loadFinished({});
    }

    // The page of a request loaded as the engine tells it, with the title given.
    void finish(const PaneRequest &request, const QString &title)
    {
        Q_EMIT loadFinished({request.id, request.url, request.url, title, PaneOutcome::Loaded});
    }

    QStringList addresses;
    QList<PaneRequest> requests;
    QList<std::pair<int, QList<CaptureFile>>> captures;
    QList<PaneProfile> profiles; // each profile the window asked for, in turn
    int forgotten = 0;
};
