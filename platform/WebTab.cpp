// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebTab.h"

#include "WebView.h"

#include <QStackedLayout>
#include <QWebEngineHistory>

WebTab::WebTab(QWidget *parent) : QWidget(parent), m_stack(new QStackedLayout(this))
{
    // Every page of the tab is drawn, the one on view on top: a page loaded ahead has its
    // picture ready the moment it comes up.
    m_stack->setStackingMode(QStackedLayout::StackAll);
    m_stack->setContentsMargins(0, 0, 0, 0);
}

WebView *WebTab::visible() const
{
    return m_current >= 0 ? m_entries.at(m_current).view.data() : nullptr;
}

void WebTab::adopt(WebView *view)
{
    if (m_stack->indexOf(view) >= 0)
        return;
    WebView *top = visible();
    m_stack->addWidget(view);
    view->webPage()->setAudioMuted(true);
    view->setFocusPolicy(Qt::NoFocus);
    if (top)
        raise(top); // a new page stays under the one on view
}

void WebTab::raise(WebView *view)
{
    const bool hadFocus = isAncestorOf(focusWidget()) && focusWidget()->hasFocus();
    for (int i = 0; i < m_stack->count(); ++i) {
        auto *other = static_cast<WebView *>(m_stack->widget(i));
        const bool onView = other == view;
        other->webPage()->quiet = !onView;
        other->webPage()->setAudioMuted(!onView);
        other->setFocusPolicy(onView ? Qt::StrongFocus : Qt::NoFocus);
        if (!onView && other->focusProxy())
            other->focusProxy()->clearFocus();
    }
    m_stack->setCurrentWidget(view);
    if (hadFocus)
        view->setFocus();
    Q_EMIT visibleChanged(view);
}

void WebTab::push(const QUrl &url, WebView *view)
{
    dropForward();
    adopt(view);
    m_entries.append({url, view});
    m_current = int(m_entries.size()) - 1;
    raise(view);
}

void WebTab::dropForward()
{
    while (m_entries.size() > m_current + 1) {
        const Entry dropped = m_entries.takeLast();
        if (dropped.view)
            dropView(dropped.view);
    }
}

bool WebTab::moveTo(int index)
{
    m_current = index;
    if (WebView *view = m_entries.at(index).view) {
        raise(view);
        return true;
    }
    return false;
}

void WebTab::setView(int index, WebView *view)
{
    adopt(view);
    m_entries[index].view = view;
    if (index == m_current)
        raise(view);
}

WebView *WebTab::takeReady(const QUrl &url)
{
    for (qsizetype i = 0; i < ahead.size(); ++i) {
        WebView *view = ahead.at(i);
        if (view && view->requested() == url && view->pristine()) {
            ahead.removeAt(i);
            return view;
        }
    }
    for (int i = 0; i < count(); ++i) {
        WebView *view = m_entries.at(i).view;
        if (i != m_current && view && view->requested() == url && view->pristine()) {
            m_entries[i].view = nullptr;
            return view;
        }
    }
    return nullptr;
}

QList<WebView *> WebTab::hiddenViews() const
{
    QList<WebView *> views;
    for (const QPointer<WebView> &view : ahead) {
        if (view)
            views.append(view);
    }
    for (int i = 0; i < count(); ++i) {
        if (i != m_current && m_entries.at(i).view)
            views.append(m_entries.at(i).view);
    }
    return views;
}

WebView *WebTab::leastNeeded(const QUrl &wanted) const
{
    // Pages loaded ahead for a step no longer coming go first, then kept pages far from the
    // one on view, then the page ahead, and the page just left last of all.
    WebView *least = nullptr;
    int leastClaim = INT_MAX;
    for (const QPointer<WebView> &view : ahead) {
        const int claim = view && view->requested() == wanted ? 2000 : 0;
        if (view && claim < leastClaim) {
            least = view;
            leastClaim = claim;
        }
    }
    for (int i = 0; i < count(); ++i) {
        const int distance = std::abs(i - m_current);
        const int claim = distance == 1 ? 3000 : 1000 - distance;
        if (i != m_current && m_entries.at(i).view && claim < leastClaim) {
            least = m_entries.at(i).view;
            leastClaim = claim;
        }
    }
    return least;
}

void WebTab::dropView(WebView *view)
{
    ahead.removeAll(view);
    for (Entry &entry : m_entries) {
        if (entry.view != view)
            continue;
        entry.view = nullptr;
        if (!view->url().isEmpty())
            entry.url = view->url(); // where the page had got to
    }
    m_stack->removeWidget(view);
    view->hide();
    view->deleteLater();
}

void WebTab::forgetHistory()
{
    for (WebView *view : hiddenViews())
        dropView(view);
    if (m_current < 0)
        return;
    const Entry present = m_entries.at(m_current);
    m_entries = {present};
    m_current = 0;
    if (present.view)
        present.view->history()->clear();
}
