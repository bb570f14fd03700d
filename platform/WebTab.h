// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One tab of the browser pane (engine plugin): the page on view, the pages kept beside it for a
// step back or loaded ahead for a step on, and the history that leads through them.
#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QStackedLayout;
class WebView;

class WebTab : public QWidget
{
    Q_OBJECT

public:
    // A step of the tab's history: a page of its own, kept while it is near, else its address.
    // A page's own history (links followed in it) lives in the page.
    struct Entry
    {
        QUrl url;
        QPointer<WebView> view;
    };

    explicit WebTab(QWidget *parent = nullptr);

    WebView *visible() const;
    // The tab's title when the program named it (Search All); else the page's title is shown.
    QString fixedTitle;
    // The address of a tab that waits for its turn to load, and the view made for it ahead of
    // its turn.
    QUrl waiting;
    QPointer<WebView> spare;

    // A view of the tab, under the one on view until it is shown.
    void adopt(WebView *view);
    // The first page of the tab, or the page a step leads to: a new step after the present one.
    // Steps ahead of the present one are forgotten, as in any browser.
    void push(const QUrl &url, WebView *view);
    void dropForward();
    // Moves to the step, showing its page; false when it has no page left (load it then).
    bool moveTo(int index);
    void setView(int index, WebView *view);
    int current() const { return m_current; }
    int count() const { return int(m_entries.size()); }
    const Entry &entry(int index) const { return m_entries.at(index); }

    // Pages loaded for steps to come, not in the history yet.
    QList<QPointer<WebView>> ahead;
    // A kept or loaded-ahead page still on the address asked for, taken out of where it was.
    WebView *takeReady(const QUrl &url);
    // Pages other than the one on view, and the one with the least claim to stay.
    QList<WebView *> hiddenViews() const;
    WebView *leastNeeded(const QUrl &wanted) const;
    // Closes a hidden page; its step keeps the address.
    void dropView(WebView *view);
    // Only the present step stays, and its page forgets where it has been.
    void forgetHistory();

Q_SIGNALS:
    void visibleChanged(WebView *view);

private:
    void raise(WebView *view);

    QStackedLayout *m_stack;
    QList<Entry> m_entries;
    int m_current = -1;
};
