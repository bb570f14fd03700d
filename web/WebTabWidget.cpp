// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebTabWidget.h"

#include "PlainText.h"
#include "WebTab.h"
#include "WebView.h"

#include <QMouseEvent>
#include <QTabBar>

namespace {

// A middle click on a tab closes it.
class TabBarMiddleClick : public QObject
{
public:
    TabBarMiddleClick(QTabBar *bar, std::function<void(int)> close)
        : QObject(bar), m_bar(bar), m_close(std::move(close))
    {
        bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const int index = m_bar->tabAt(mouse->position().toPoint());
        if (mouse->button() != Qt::MiddleButton || index < 0)
            return false;
        m_close(index);
        return true;
    }

private:
    QTabBar *m_bar;
    std::function<void(int)> m_close;
};

} // namespace

WebTabWidget::WebTabWidget(ViewMaker makeView, QWidget *parent)
    : QTabWidget(parent), m_makeView(std::move(makeView))
{
    setObjectName(QStringLiteral("brwTabs"));
    setAccessibleName(tr("Web pages"));
    tabBar()->setAccessibleName(tr("Pages"));
    setDocumentMode(true);
    setTabBarAutoHide(true); // a tab bar only once there are two pages
    setTabsClosable(true);
    setMovable(true);
    tabBar()->setElideMode(Qt::ElideRight);
    tabBar()->setExpanding(false);
    new TabBarMiddleClick(tabBar(), [this](int index) { closeTab(index); });
    connect(this, &QTabWidget::tabCloseRequested, this, &WebTabWidget::closeTab);
    connect(this, &QTabWidget::currentChanged, this, [this] {
        // A tab waiting for its turn loads first once the user looks at it.
        if (WebTab *tab = currentTab(); tab && !tab->waiting.isEmpty()) {
            m_waiting.removeAll(tab);
            m_waiting.prepend(tab);
            startTabLoads();
        }
    });
}

WebTab *WebTabWidget::currentTab() const
{
    return static_cast<WebTab *>(currentWidget());
}

WebTab *WebTabWidget::tabAt(int index) const
{
    return static_cast<WebTab *>(widget(index));
}

WebTab *WebTabWidget::addWebTab(const QString &title, bool show)
{
    auto *tab = new WebTab;
    tab->fixedTitle = title;
    connect(tab, &WebTab::visibleChanged, this, [this, tab] {
        updateTitle(tab);
        if (tab == currentTab())
            Q_EMIT pageOnViewChanged();
    });
    const int index = addTab(tab, QString());
    updateTitle(tab);
    if (show)
        setCurrentIndex(index);
    return tab;
}

void WebTabWidget::openWaiting(const QList<PaneRequest> &requests)
{
    for (const PaneRequest &request : requests) {
        WebTab *tab = addWebTab(request.title, false);
        tab->waiting = request;
        updateTitle(tab);
        m_waiting.append(tab);
    }
    startTabLoads();
    if (!requests.isEmpty())
        setCurrentIndex(count() - int(requests.size()));
}

void WebTabWidget::updateTitle(WebTab *tab)
{
    const int index = indexOf(tab);
    if (index < 0)
        return;
    const WebView *view = tab->visible();
    QString title = tab->fixedTitle;
    if (title.isEmpty() && view)
        title = view->title().isEmpty() ? view->url().toDisplayString() : view->title();
    if (title.isEmpty())
        title = tr("New Tab");
    setTabText(index, QString(title).replace(u'&', QStringLiteral("&&")));
    setTabToolTip(index, PlainToolTip(view ? view->url().toDisplayString()
                                           : tab->waiting.url.toDisplayString()));
}

void WebTabWidget::closeTab(int index)
{
    if (count() <= 1 || index < 0)
        return; // the last page stays
    QWidget *tab = widget(index);
    removeTab(index);
    tab->deleteLater();
}

void WebTabWidget::closeAllTabs()
{
    m_waiting.clear();
    m_tabLoads.clear();
    while (count() > 0) {
        QWidget *tab = widget(0);
        removeTab(0);
        delete tab;
    }
    // Tabs closed a moment ago wait for the event loop to delete them; their pages must not
    // outlive the profile that may go next.
    qDeleteAll(findChildren<WebTab *>());
}

void WebTabWidget::stepTab(int by)
{
    setCurrentIndex((currentIndex() + by + count()) % count());
}

// Tabs opened together load at most MaxTabLoads at a time, in their order. The next ones have
// their views made and primed meanwhile, so that their turn does not wait for the engine.
void WebTabWidget::startTabLoads()
{
    while (m_tabLoads.size() < MaxTabLoads && !m_waiting.isEmpty()) {
        WebTab *tab = m_waiting.takeFirst();
        if (!tab || tab->waiting.isEmpty())
            continue;
        const PaneRequest request = tab->waiting;
        tab->waiting = {};
        WebView *view = tab->spare ? tab->spare.data() : m_makeView(tab);
        tab->spare = nullptr;
        tab->push(request, view);
        m_tabLoads.insert(view);
        const auto done = [this, view] {
            if (m_tabLoads.remove(view))
                startTabLoads();
        };
        connect(view, &WebView::loadEnded, this, [this, view, done] {
            if (m_tabLoads.contains(view))
                Q_EMIT tabLoaded(view);
            done();
        });
        connect(view, &QObject::destroyed, this, done);
        view->open(request);
    }
    for (qsizetype i = 0; i < std::min(m_waiting.size(), qsizetype(MaxTabLoads)); ++i) {
        WebTab *tab = m_waiting.at(i);
        if (tab && !tab->spare) {
            tab->spare = m_makeView(tab);
            tab->spare->prime();
        }
    }
}
