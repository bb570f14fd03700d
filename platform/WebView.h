// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A page of the browser pane and the view that shows it (engine plugin).
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

class QAction;

// The pane's own items for the page's context menu; they act on the page on view.
struct PaneActions
{
    QAction *back = nullptr;
    QAction *forward = nullptr;
    QAction *openInBrowser = nullptr;
    QAction *copyAddress = nullptr;
};

class WebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    WebPage(QWebEngineProfile *profile, QObject *parent);
    ~WebPage() override;

    // A page nobody sees (loaded ahead, or waiting in a tab) asks nothing and shows no dialog.
    bool quiet = true;
    // Asked before a link clicked in a local page (file:) is followed to another local address;
    // true when the program answered the link itself, and the page stays.
    std::function<bool(const QUrl &link)> localLink;
    // The navigation in progress reaches the address (after its redirects, if any).
    bool navigatesTo(const QUrl &url) const { return m_navigation.contains(url); }

Q_SIGNALS:
    // Every navigation of the main frame, the program's own loads included.
    void mainFrameNavigation(QWebEnginePage::NavigationType type);
    // A page nobody saw went while it navigated: a download it started may still come.
    void navigationAbandoned(const QList<QUrl> &addresses);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                          const QString &defaultValue, QString *result) override;

private:
    QList<QUrl> m_navigation; // the addresses of the main frame's navigation, redirects included
};

class WebView : public QWebEngineView
{
    Q_OBJECT

public:
    WebView(QWebEngineProfile *profile, const PaneActions &actions, QWidget *parent);

    WebPage *webPage() const { return m_page; }
    // Loads the address and remembers it as the one this page was asked for.
    void open(const QUrl &url);
    // Starts the engine's helper process for the page with an empty page, before its address
    // is known; the empty page leaves no step in the history.
    void prime();
    QUrl requested() const { return m_requested; }
    // Still on the page it was asked for: nothing clicked or typed there has taken it away.
    bool pristine() const;
    // From the moment a load is asked for until it ends (the engine tells of its start later).
    bool loading() const { return m_loading; }

Q_SIGNALS:
    // The mouse's back and forward buttons.
    void backRequested();
    void forwardRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WebPage *m_page;
    PaneActions m_actions;
    QUrl m_requested;
    bool m_loading = false;
    bool m_primed = false; // the empty page is still in the history
    QPointer<QWidget> m_renderWidget;
};
