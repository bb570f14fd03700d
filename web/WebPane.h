// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser pane's engine (plugin): tabs of pages, the keys of a browser, a find bar and the
// downloads under them, pages loaded ahead of the user's steps, and the profiles they live in.
#include "BrowserPane.h"
#include "LoadAhead.h"
#include "WebView.h"

#include <QTimer>

class DownloadsBar;
class FindBar;
class QShortcut;
class WebCapture;
class WebProfiles;
class WebTab;
class WebTabWidget;

class WebPane : public BrowserPane
{
    Q_OBJECT

public:
    WebPane(QWidget *parent, const PaneSetup &setup);
    ~WebPane() override;

    void load(const PaneRequest &request) override;
    void loadAhead(const PaneRequest &request) override;
    void openTabs(const QList<PaneRequest> &requests) override;
    void setPrivateBrowsing(bool on) override;
    void clearBrowsingData() override;
    void setProfile(const PaneProfile &profile) override;
    void forgetProfile() override;
    bool takesClipboardKeys() const override;
    void findSiteSearch(SiteSearchDone done) override;
    void capturePage(int id, const QList<CaptureFile> &files) override;

    // The addresses kept of pages that went while they loaded unseen.
    static constexpr int MaxAbandoned = 16;
    // How long after the page on view is ready the load ahead starts.
    static constexpr int AheadDelayMs = 100;

private:
    void buildActions();
    void buildKeys();
    WebView *onView() const;
    WebTab *tabOf(const WebView *view) const;
    WebView *createView(WebTab *tab);
    void connectPage(WebView *view);
    void tabChanged();
    void visibleChanged();
    void pageLoadFinished(WebView *view);
    void navigated(WebView *view, const QUrl &url, QWebEnginePage::NavigationType type);
    void openWindow(WebView *opener, QWebEngineNewWindowRequest &request);
    void reportShown(WebView *view);

    // Back (-1) and forward (1): through the page's own history, then the tab's steps.
    bool canStep(int by) const;
    void step(int by);
    bool mayDownload(const QUrl &url);
    void dropLater(WebView *view);
    void updateActions();
    void startAhead();
    void zoom(void (WebView::*change)());

    PaneSetup m_setup;
    WebProfiles *m_profiles;
    WebTabWidget *m_tabs;
    FindBar *m_find;
    DownloadsBar *m_downloads;
    PaneActions m_actions;
    WebCapture *m_capture;
    QShortcut *m_stop = nullptr;
    QPointer<WebTab> m_lastTab;
    LoadAheadScheduler m_ahead;
    QTimer m_aheadTimer;
    QList<QUrl> m_abandoned; // where pages nobody saw were going when they went
    qreal m_zoom = 1.0;
};
