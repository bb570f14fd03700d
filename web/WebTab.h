// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One tab of the browser pane (engine plugin): the page on view, the pages kept beside it for a
// step back or loaded ahead for a step on, and the steps that lead through them.
#include "LoadAhead.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QStackedLayout;
class WebView;

class WebTab : public QWidget
{
    Q_OBJECT

public:
    // A step of the tab's history: a page of its own, kept while it is near, else its search.
    // A page's own history (links followed in it) lives in the page.
    struct Entry
    {
        PaneRequest request;
        QPointer<WebView> view;
    };

    explicit WebTab(QWidget *parent = nullptr);

    WebView *visible() const;
    // The tab's title when the program named it (Search All); else the page's title is shown.
    QString fixedTitle;
    // The search of a tab that waits for its turn to load, and the view made for it ahead of
    // its turn.
    PaneRequest waiting;
    QPointer<WebView> spare;

    // A view of the tab, under the one on view until it is shown.
    void adopt(WebView *view);
    // The first page of the tab, or the page a step leads to: a new step after the present one.
    // Steps ahead of the present one are forgotten, as in any browser.
    void push(const PaneRequest &request, WebView *view);
    void dropForward();
    // Moves to the step, showing its page; false when it has no page left (load it then).
    bool moveTo(int index);
    void setView(int index, WebView *view);
    int current() const { return m_current; }
    int count() const { return int(m_entries.size()); }
    const Entry &entry(int index) const { return m_entries.at(index); }

    // A page loaded for a step to come, not in the history yet.
    void addAhead(WebView *view);
    // The pages other than the one on view, loaded ahead first, and how the scheduler sees them.
    QList<WebView *> hiddenViews() const;
    QList<HiddenPage> hiddenPages() const;
    // Takes a hidden page out of where it was, to be shown by push().
    void take(WebView *view);
    // Closes a hidden page; its step keeps where the page had got to.
    void dropView(WebView *view);
    void dropViews(const QList<int> &indexes);
    // Only the present step stays, and its page forgets where it has been.
    void forgetHistory();

Q_SIGNALS:
    void visibleChanged(WebView *view);

private:
    void raise(WebView *view);

    QStackedLayout *m_stack;
    QList<Entry> m_entries;
    QList<QPointer<WebView>> m_ahead;
    int m_current = -1;
};
