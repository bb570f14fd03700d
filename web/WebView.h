// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The view that shows a page of the browser pane (engine plugin): the search it was asked for,
// its zoom, its context menu and the mouse's back and forward buttons.
#include "PaneRequest.h"
#include "WebPage.h"

#include <QPointer>
#include <QWebEngineView>

class QAction;

// The pane's own items for the page's context menu; they act on the page on view.
struct PaneActions
{
    QAction *back = nullptr;
    QAction *forward = nullptr;
    QAction *openInBrowser = nullptr;
    QAction *copyAddress = nullptr;
    QList<QAction *> program; // the program's commands on the page on view
};

class WebView : public QWebEngineView
{
    Q_OBJECT

public:
    WebView(WebPage *page, const PaneActions &actions, QWidget *parent);

    WebPage *webPage() const { return m_page; }
    // Loads the search and remembers it as the one this page was asked for.
    void open(const PaneRequest &request);
    // Starts the engine's helper process for the page with an empty page, before its search
    // is known; the empty page leaves no step in the history.
    void prime();
    const PaneRequest &request() const { return m_request; }
    // A page loaded ahead becomes the search the user asked for, shown as it is.
    void claim(const PaneRequest &request) { m_request = request; }
    // Still on the page it was asked for: nothing clicked or typed there has taken it away.
    bool pristine() const;
    // From the moment a load is asked for until it ends (the engine tells of its start later).
    bool loading() const { return m_loading; }
    // The search and where it has got to.
    PaneOutcome outcome() const;

    // The zoom levels of the usual browsers, from 25% to 500%.
    void zoomIn();
    void zoomOut();
    void resetZoom();

Q_SIGNALS:
    // A load ended, its outcome known (after the engine's loadFinished).
    void loadEnded();
    // The mouse's back and forward buttons.
    void backRequested();
    void forwardRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void end(bool pageCame, int status);

    WebPage *m_page;
    PaneActions m_actions;
    PaneRequest m_request;
    bool m_loading = false;
    bool m_loaded = false; // the last load brought a page, whatever its status
    int m_status = 0;      // that page's HTTP status
    bool m_endDue = false; // loadFinished came, the load's information not yet
    bool m_primed = false; // the empty page is still in the history
    QPointer<QWidget> m_renderWidget;
};
