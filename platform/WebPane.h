// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser pane's engine (plugin): tabs of pages, the keys of a browser, a find bar and the
// downloads under them, pages loaded ahead of the user's steps, and the profiles they live in.
#include "BrowserEngine.h"
#include "WebView.h"

#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

class DownloadsBar;
class FindBar;
class QShortcut;
class QTabWidget;
class QWebEngineProfile;
class WebTab;

class WebPane : public QWidget, public BrowserEngine
{
    Q_OBJECT

public:
    WebPane(QWidget *parent, BrowserHost host, bool privateBrowsing);
    ~WebPane() override;

    // BrowserEngine
    QWidget *widget() override { return this; }
    void navigate(const QUrl &url) override;
    void loadAhead(const QUrl &url) override;
    void openTabs(const QList<Tab> &tabs) override;
    void setPrivate(bool on) override;
    void clearBrowsingData() override;
    bool takesClipboardKeys() const override;
    void findSiteSearch(SiteSearchDone done) override;

    // The most hidden pages kept at once, loaded ahead or kept for a step back.
    static constexpr int MaxHiddenPages = 2;
    // The addresses kept of pages that went while they loaded unseen.
    static constexpr int MaxAbandoned = 16;
    // The most tabs loading at once when many open together.
    static constexpr int MaxTabLoads = 4;
    // How long after the page on view is ready the load ahead starts.
    static constexpr int AheadDelayMs = 100;

private:
    void buildKeys();
    QWebEngineProfile *profile();
    WebTab *currentTab() const;
    WebView *onView() const;
    WebTab *tabOf(const WebView *view) const;
    WebTab *addTab(const QString &title, bool show);
    WebView *createView(WebTab *tab);
    void connectPage(WebView *view);
    void closeTab(int index);
    void closeAllTabs();
    void tabChanged();
    void visibleChanged();
    void setTabTitle(WebTab *tab);

    void loadStarted(WebView *view);
    void loadFinished(WebView *view);
    void navigated(WebView *view, QWebEnginePage::NavigationType type);
    void openWindow(WebView *opener, QWebEngineNewWindowRequest &request);
    void reportShown(WebView *view);

    // Back (-1) and forward (1): through the page's own history, then the tab's steps.
    bool canStep(int by) const;
    bool mayDownload(const QUrl &url);
    void dropLater(WebView *view);
    void step(int by);
    void updateActions();
    void trim(WebTab *tab);
    void startAhead();
    void startAheadNow();
    void startTabLoads();
    void zoom(int direction);

    BrowserHost m_host;
    bool m_private;
    QWebEngineProfile *m_persistent = nullptr;
    QWebEngineProfile *m_offTheRecord = nullptr;
    QTabWidget *m_tabs;
    FindBar *m_find;
    DownloadsBar *m_downloads;
    PaneActions m_actions;
    QShortcut *m_stop = nullptr;
    QPointer<WebTab> m_lastTab;
    QUrl m_wanted; // the address to load ahead
    QList<QUrl> m_abandoned; // where pages nobody saw were going when they went
    QTimer m_aheadTimer;
    QList<QPointer<WebTab>> m_waiting;
    QSet<QObject *> m_tabLoads;
    qreal m_zoom = 1.0;
};

// The profile of the program's own that persists (cookies, logins and cache in the XDG data
// and cache folders), or one off the record that writes nothing to disk.
QWebEngineProfile *CreateProfile(bool offTheRecord, const BrowserHost &host, QObject *parent);
