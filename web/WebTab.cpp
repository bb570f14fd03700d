// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebTab.h"

#include "WebView.h"

#include <QStackedLayout>

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
        other->webPage()->setQuiet(!onView);
        other->setFocusPolicy(onView ? Qt::StrongFocus : Qt::NoFocus);
        if (!onView && other->focusProxy())
            other->focusProxy()->clearFocus();
    }
    m_stack->setCurrentWidget(view);
    if (hadFocus)
        view->setFocus();
    Q_EMIT visibleChanged(view);
}

void WebTab::push(const PaneRequest &request, WebView *view)
{
    dropForward();
    adopt(view);
    m_entries.append({request, view});
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

void WebTab::addAhead(WebView *view)
{
    adopt(view);
    m_ahead.append(view);
}

QList<WebView *> WebTab::hiddenViews() const
{
    QList<WebView *> views;
    for (const QPointer<WebView> &view : m_ahead) {
        if (view)
            views.append(view);
    }
    for (int i = 0; i < count(); ++i) {
        if (i != m_current && m_entries.at(i).view)
            views.append(m_entries.at(i).view);
    }
    return views;
}

QList<HiddenPage> WebTab::hiddenPages() const
{
    QList<HiddenPage> pages;
    for (const WebView *view : hiddenViews()) {
        HiddenPage page {HiddenPage::Ahead, 0, view->request(), view->loading(), view->pristine()};
        for (int i = 0; i < count(); ++i) {
            if (m_entries.at(i).view == view) {
                page.role = HiddenPage::Kept;
                page.distance = std::abs(i - m_current);
            }
        }
        pages.append(page);
    }
    return pages;
}

void WebTab::take(WebView *view)
{
    m_ahead.removeAll(view);
    for (Entry &entry : m_entries) {
        if (entry.view == view)
            entry.view = nullptr;
    }
}

void WebTab::dropView(WebView *view)
{
    m_ahead.removeAll(view);
    for (Entry &entry : m_entries) {
        if (entry.view != view)
            continue;
        entry.view = nullptr;
        // Where the page had got to: the form it shows the answer to, else its address.
        if (const std::optional<PaneRequest> form = view->webPage()->formOnView())
            entry.request = {form->url, form->postData, {}, entry.request.id};
        else if (!view->url().isEmpty()
                 && (view->url() != entry.request.url || entry.request.isPost()))
            entry.request = {view->url(), {}, {}, entry.request.id};
    }
    m_stack->removeWidget(view);
    view->hide();
    view->deleteLater();
}

void WebTab::dropViews(const QList<int> &indexes)
{
    const QList<WebView *> views = hiddenViews();
    for (int index : indexes)
        dropView(views.at(index));
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
        present.view->webPage()->clearHistory();
}
