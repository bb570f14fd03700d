// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebPane.h"
#include "PlainText.h"
#include "WebSiteSearch.h"

#include "WebDownloads.h"
#include "WebFindBar.h"
#include "WebQuestions.h"
#include "WebTab.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>

#include <algorithm>

namespace {

// The zoom levels of the usual browsers.
constexpr qreal kZoomLevels[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                 1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

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

QAction *paneAction(const QString &text, const char *name, QObject *parent)
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

WebPane::WebPane(QWidget *parent, BrowserHost host, bool privateBrowsing)
    : QWidget(parent), m_host(std::move(host)), m_private(privateBrowsing),
      m_tabs(new QTabWidget(this)), m_find(new FindBar(this)),
      m_downloads(new DownloadsBar(
              m_host,
              [this](const QUrl &url) { return mayDownload(url); },
              this))
{
    setObjectName(QStringLiteral("brwEngine"));
    m_tabs->setObjectName(QStringLiteral("brwTabs"));
    m_tabs->tabBar()->setAccessibleName(WebPane::tr("Pages"));
    m_tabs->setDocumentMode(true);
    m_tabs->setTabBarAutoHide(true); // a tab bar only once there are two pages
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_tabs->tabBar()->setElideMode(Qt::ElideRight);
    m_tabs->tabBar()->setExpanding(false);
    new TabBarMiddleClick(m_tabs->tabBar(), [this](int index) { closeTab(index); });
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, &WebPane::closeTab);
    connect(m_tabs, &QTabWidget::currentChanged, this, &WebPane::tabChanged);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_find);
    layout->addWidget(m_downloads);
    connect(m_find, &FindBar::closed, this, [this] {
        if (WebView *view = onView())
            view->setFocus();
    });

    m_actions.back = paneAction(WebPane::tr("&Back"), "brwBack", this);
    m_actions.forward = paneAction(WebPane::tr("&Forward"), "brwForward", this);
    m_actions.openInBrowser = paneAction(WebPane::tr("Open in &Browser"), "brwOpenInBrowser", this);
    m_actions.copyAddress = paneAction(WebPane::tr("Copy &Address"), "brwCopyAddress", this);
    connect(m_actions.back, &QAction::triggered, this, [this] { step(-1); });
    connect(m_actions.forward, &QAction::triggered, this, [this] { step(1); });
    connect(m_actions.openInBrowser, &QAction::triggered, this, [this] {
        const WebView *view = onView();
        if (view && !view->url().isEmpty()
            && !m_host.openInBrowser(view->url().toString(QUrl::FullyEncoded)))
            m_host.showError(WebPane::tr("No web browser could be started for %1")
                                     .arg(view->url().toDisplayString()));
    });
    connect(m_actions.copyAddress, &QAction::triggered, this, [this] {
        if (const WebView *view = onView())
            QGuiApplication::clipboard()->setText(view->url().toString(QUrl::FullyEncoded));
    });
    buildKeys();
    // The first page's view is made now: the engine and its helper processes start while the
    // program is idle, not with the first search.
    WebTab *first = addTab(QString(), true);
    first->spare = createView(first);
    first->spare->prime();
    m_aheadTimer.setSingleShot(true);
    m_aheadTimer.setInterval(AheadDelayMs);
    connect(&m_aheadTimer, &QTimer::timeout, this, &WebPane::startAheadNow);
}

WebPane::~WebPane()
{
    // Pages go before the profiles they live in.
    closeAllTabs();
    delete m_offTheRecord;
    delete m_persistent;
}

void WebPane::buildKeys()
{
    // The pane's keys are those the program's commands leave free, as in any browser; all but
    // Escape work wherever the focus is in the main window.
    const auto key = [this](QKeySequence keys, std::function<void()> run,
                            Qt::ShortcutContext context = Qt::WindowShortcut) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, std::move(run));
        return shortcut;
    };
    key(Qt::ALT | Qt::Key_Left, [this] { step(-1); });
    key(Qt::ALT | Qt::Key_Right, [this] { step(1); });
    key(Qt::Key_F5, [this] {
        if (WebView *view = onView())
            view->reload();
    });
    key(Qt::CTRL | Qt::Key_Plus, [this] { zoom(1); });
    key(Qt::CTRL | Qt::Key_Equal, [this] { zoom(1); });
    key(Qt::CTRL | Qt::Key_Minus, [this] { zoom(-1); });
    key(Qt::CTRL | Qt::Key_0, [this] { zoom(0); });
    key(Qt::CTRL | Qt::Key_F, [this] { m_find->open(); });
    key(Qt::Key_F3, [this] { m_find->findAgain(false); });
    key(Qt::SHIFT | Qt::Key_F3, [this] { m_find->findAgain(true); });
    key(Qt::CTRL | Qt::Key_W, [this] { closeTab(m_tabs->currentIndex()); });
    key(Qt::CTRL | Qt::Key_Tab,
        [this] { m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count()); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, [this] {
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + m_tabs->count() - 1) % m_tabs->count());
    });
    // Escape stops a page that loads, with the focus in the pages; else the page has it.
    m_stop = key(
            Qt::Key_Escape,
            [this] {
                if (WebView *view = onView())
                    view->stop();
            },
            Qt::WidgetWithChildrenShortcut);
    m_stop->setParent(m_tabs);
    m_stop->setEnabled(false);
}

QWebEngineProfile *WebPane::profile()
{
    QWebEngineProfile *&profile = m_private ? m_offTheRecord : m_persistent;
    if (!profile) {
        profile = CreateProfile(m_private, m_host, this);
        m_downloads->watch(profile);
    }
    return profile;
}

// --- tabs ------------------------------------------------------------------------------------

WebTab *WebPane::currentTab() const
{
    return static_cast<WebTab *>(m_tabs->currentWidget());
}

WebView *WebPane::onView() const
{
    const WebTab *tab = currentTab();
    return tab ? tab->visible() : nullptr;
}

WebTab *WebPane::tabOf(const WebView *view) const
{
    for (QWidget *w = view->parentWidget(); w; w = w->parentWidget()) {
        if (auto *tab = qobject_cast<WebTab *>(w))
            return tab;
    }
    return nullptr;
}

WebTab *WebPane::addTab(const QString &title, bool show)
{
    auto *tab = new WebTab;
    tab->fixedTitle = title;
    connect(tab, &WebTab::visibleChanged, this, [this, tab] {
        setTabTitle(tab);
        if (tab == currentTab())
            visibleChanged();
    });
    const int index = m_tabs->addTab(tab, QString());
    setTabTitle(tab);
    if (show)
        m_tabs->setCurrentIndex(index);
    return tab;
}

void WebPane::setTabTitle(WebTab *tab)
{
    const int index = m_tabs->indexOf(tab);
    if (index < 0)
        return;
    const WebView *view = tab->visible();
    QString title = tab->fixedTitle;
    if (title.isEmpty() && view)
        title = view->title().isEmpty() ? view->url().toDisplayString() : view->title();
    if (title.isEmpty())
        title = WebPane::tr("New Tab");
    m_tabs->setTabText(index, QString(title).replace(u'&', QStringLiteral("&&")));
    m_tabs->setTabToolTip(
            index,
            PlainToolTip(view ? view->url().toDisplayString() : tab->waiting.toDisplayString()));
}

void WebPane::closeTab(int index)
{
    if (m_tabs->count() <= 1 || index < 0)
        return; // the last page stays
    QWidget *tab = m_tabs->widget(index);
    m_tabs->removeTab(index);
    tab->deleteLater();
}

void WebPane::closeAllTabs()
{
    m_waiting.clear();
    m_tabLoads.clear();
    m_lastTab = nullptr;
    while (m_tabs->count() > 0) {
        QWidget *tab = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete tab;
    }
    // Tabs closed a moment ago wait for the event loop to delete them; their pages must not
    // outlive the profile that may go next.
    qDeleteAll(findChildren<WebTab *>());
}

void WebPane::tabChanged()
{
    // Pages kept beside the page of the tab left go: the hidden pages serve the tab on view.
    if (m_lastTab && m_lastTab != currentTab()) {
        for (WebView *view : m_lastTab->hiddenViews())
            m_lastTab->dropView(view);
    }
    m_lastTab = currentTab();
    WebTab *tab = currentTab();
    if (tab && !tab->waiting.isEmpty()) {
        // A tab waiting for its turn loads first once the user looks at it.
        m_waiting.removeAll(tab);
        m_waiting.prepend(tab);
        startTabLoads();
    }
    visibleChanged();
    if (WebView *view = onView())
        view->loading() ? m_host.loadStarted() : m_host.loadFinished();
}

void WebPane::visibleChanged()
{
    WebView *view = onView();
    m_find->setPage(view ? view->page() : nullptr);
    m_stop->setEnabled(view && view->loading());
    updateActions();
}

bool WebPane::canStep(int by) const
{
    const WebTab *tab = currentTab();
    const WebView *view = onView();
    if (!tab)
        return false;
    if (view && (by < 0 ? view->history()->canGoBack() : view->history()->canGoForward()))
        return true;
    const int index = tab->current() + by;
    return index >= 0 && index < tab->count();
}

// Files are offered from the pages the user sees; one that only pages nobody saw were loading is
// not (a search loaded ahead that answers with a file). A file no page is loading (a link with
// a download attribute, a script's) is offered too: the user sees what is saved and where.
bool WebPane::mayDownload(const QUrl &url)
{
    QList<WebView *> unseen;
    for (WebView *view : findChildren<WebView *>()) {
        if (!view->webPage()->navigatesTo(url))
            continue;
        if (!view->webPage()->quiet)
            return true;
        unseen.append(view);
    }
    // Such a page holds nothing to show: the step onto its address loads it where the user
    // sees the file offered.
    for (WebView *view : unseen)
        dropLater(view);
    return unseen.isEmpty() && !m_abandoned.contains(url);
}

// Not at once: the engine may be calling out of the page.
void WebPane::dropLater(WebView *view)
{
    QMetaObject::invokeMethod(
            this,
            [this, view = QPointer<WebView>(view)] {
                if (WebTab *tab = view ? tabOf(view) : nullptr; tab && tab->visible() != view)
                    tab->dropView(view);
            },
            Qt::QueuedConnection);
}

void WebPane::updateActions()
{
    m_actions.back->setEnabled(canStep(-1));
    m_actions.forward->setEnabled(canStep(1));
}

// --- pages -----------------------------------------------------------------------------------

WebView *WebPane::createView(WebTab *tab)
{
    auto *view = new WebView(profile(), m_actions, tab);
    view->setZoomFactor(m_zoom);
    tab->adopt(view);
    connectPage(view);
    return view;
}

void WebPane::connectPage(WebView *view)
{
    WebPage *page = view->webPage();
    page->localLink = m_host.localLink;
    connect(page, &WebPage::navigationAbandoned, this, [this](const QList<QUrl> &addresses) {
        m_abandoned += addresses;
        if (m_abandoned.size() > MaxAbandoned)
            m_abandoned.remove(0, m_abandoned.size() - MaxAbandoned);
    });
    connect(page, &QWebEnginePage::loadStarted, this, [this, view] { loadStarted(view); });
    connect(page, &QWebEnginePage::loadFinished, this, [this, view] { loadFinished(view); });
    connect(page, &WebPage::mainFrameNavigation, this,
            [this, view](QWebEnginePage::NavigationType type) { navigated(view, type); });
    connect(page, &QWebEnginePage::urlChanged, this, [this, view] {
        if (view == onView())
            updateActions();
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this, view] {
        if (WebTab *tab = tabOf(view); tab && tab->visible() == view)
            setTabTitle(tab);
    });
    connect(page, &QWebEnginePage::newWindowRequested, this,
            [this, view](QWebEngineNewWindowRequest &request) { openWindow(view, request); });
    connect(page, &QWebEnginePage::featurePermissionRequested, this,
            [this, page](const QUrl &origin, QWebEnginePage::Feature feature) {
                if (page->quiet)
                    page->setFeaturePermission(origin, feature,
                                               QWebEnginePage::PermissionDeniedByUser);
                else
                    AskPermission(page, origin, feature, m_host);
            });
    connect(page, &QWebEnginePage::certificateError, this,
            [this, view, page](QWebEngineCertificateError error) {
                if (!page->quiet)
                    return AskCertificate(page, error, m_host);
                // Nobody sees the page to answer: it goes, and the step onto the address loads
                // it where the user can.
                error.rejectCertificate();
                dropLater(view);
            });
    connect(page, &QWebEnginePage::authenticationRequired, this,
            [this, page](const QUrl &url, QAuthenticator *authenticator) {
                if (page->quiet) // asked again once the user steps onto it
                    *authenticator = QAuthenticator();
                else
                    AskLogin(WebPane::tr("The site %1").arg(url.host()), authenticator, m_host);
            });
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this, page](const QUrl &, QAuthenticator *authenticator, const QString &proxy) {
                if (page->quiet)
                    *authenticator = QAuthenticator();
                else
                    AskLogin(WebPane::tr("The proxy %1").arg(proxy), authenticator, m_host);
            });
    connect(page, &QWebEnginePage::windowCloseRequested, this, [this, view] {
        if (WebTab *tab = tabOf(view); tab && tab->visible() == view)
            closeTab(m_tabs->indexOf(tab));
    });
    connect(view, &WebView::backRequested, this, [this, view] {
        if (view == onView())
            step(-1);
    });
    connect(view, &WebView::forwardRequested, this, [this, view] {
        if (view == onView())
            step(1);
    });
    connect(view, &QObject::destroyed, this, [this, view] {
        if (m_tabLoads.remove(view))
            startTabLoads();
    });
}

void WebPane::loadStarted(WebView *view)
{
    if (view != onView())
        return;
    m_stop->setEnabled(true);
    m_host.loadStarted();
}

void WebPane::loadFinished(WebView *view)
{
    if (m_tabLoads.remove(view))
        startTabLoads();
    if (view != onView())
        return;
    m_stop->setEnabled(false);
    m_host.loadFinished();
    startAhead();
}

void WebPane::navigated(WebView *view, QWebEnginePage::NavigationType type)
{
    WebTab *tab = tabOf(view);
    if (!tab || tab->visible() != view)
        return;
    // A link followed in the page on view: the steps that were ahead of it are no longer its
    // future. The program's own loads (typed) see to that themselves.
    if (type == QWebEnginePage::NavigationTypeLinkClicked
        || type == QWebEnginePage::NavigationTypeFormSubmitted
        || type == QWebEnginePage::NavigationTypeOther)
        tab->dropForward();
    if (view == onView() && type != QWebEnginePage::NavigationTypeTyped)
        m_host.navigationStarted();
}

void WebPane::openWindow(WebView *opener, QWebEngineNewWindowRequest &request)
{
    // Only what the user asked for opens, and only as a tab of the pane: a page never opens a
    // window of its own.
    if (opener->webPage()->quiet || !request.isUserInitiated())
        return;
    const bool show = request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab;
    WebTab *tab = addTab(QString(), false);
    WebView *view = createView(tab);
    tab->push(request.requestedUrl(), view);
    request.openIn(view->page());
    if (show)
        m_tabs->setCurrentWidget(tab);
}

// A page that comes on view at once: the status line goes through its texts to the end.
void WebPane::reportShown(WebView *view)
{
    m_host.loadStarted();
    if (!view->loading())
        m_host.loadFinished();
}

// --- what the program asks -------------------------------------------------------------------

void WebPane::findSiteSearch(SiteSearchDone done)
{
    const WebView *view = onView();
    if (!view || view->url().isEmpty())
        return done({{}, {}, tr("The browser pane shows no page")});
    FetchSiteSearch(view->page(), this, std::move(done));
}

void WebPane::navigate(const QUrl &url)
{
    if (!IsPaneScheme(url.scheme()))
        return; // the pane checks addresses first; never the engine's internal pages
    WebTab *tab = currentTab();
    if (WebView *ready = tab->takeReady(url)) {
        tab->push(url, ready);
        trim(tab);
        reportShown(ready);
        startAhead();
        return;
    }
    WebView *view = tab->visible();
    if (!view) {
        view = tab->spare ? tab->spare.data() : createView(tab);
        tab->spare = nullptr;
        tab->push(url, view);
    }
    tab->dropForward(); // a new search: the steps ahead of this one are no longer its future
    view->open(url);
}

void WebPane::loadAhead(const QUrl &url)
{
    m_wanted = IsPaneScheme(url.scheme()) ? url : QUrl();
    if (m_wanted.isEmpty()) {
        // Nothing ahead: the pages loaded for steps to come go; those kept for a step back stay.
        if (WebTab *tab = currentTab()) {
            for (const QPointer<WebView> &view : QList(tab->ahead)) {
                if (view)
                    tab->dropView(view);
            }
        }
        return;
    }
    startAhead();
}

void WebPane::openTabs(const QList<Tab> &tabs)
{
    int added = 0;
    for (const Tab &wanted : tabs) {
        if (!IsPaneScheme(wanted.url.scheme()))
            continue;
        WebTab *tab = addTab(wanted.title, false);
        tab->waiting = wanted.url;
        setTabTitle(tab);
        m_waiting.append(tab);
        ++added;
    }
    startTabLoads();
    if (added > 0)
        m_tabs->setCurrentIndex(m_tabs->count() - added);
}

void WebPane::setPrivate(bool on)
{
    if (on == m_private)
        return;
    const WebView *view = onView();
    const QUrl address = view ? view->url() : QUrl();
    closeAllTabs();
    m_private = on;
    if (!on && m_offTheRecord) {
        // What was visited off the record is forgotten with its profile.
        m_offTheRecord->deleteLater();
        m_offTheRecord = nullptr;
    }
    addTab(QString(), true);
    if (address.isValid() && !address.isEmpty())
        navigate(address);
}

void WebPane::clearBrowsingData()
{
    for (QWebEngineProfile *p : {m_persistent, m_offTheRecord}) {
        if (!p)
            continue;
        p->clearHttpCache();
        p->cookieStore()->deleteAllCookies();
        p->clearAllVisitedLinks();
    }
    for (int i = 0; i < m_tabs->count(); ++i) {
        auto *tab = static_cast<WebTab *>(m_tabs->widget(i));
        tab->forgetHistory();
    }
}

bool WebPane::takesClipboardKeys() const
{
    const WebView *view = onView();
    QWidget *focus = QApplication::focusWidget();
    if (!view || !focus || !view->isAncestorOf(focus))
        return false;
    if (view->page()->hasSelection())
        return true;
    // The engine's own test for an editable field with the focus, password fields included.
    return focus->inputMethodQuery(Qt::ImEnabled).toBool()
            || (focus->inputMethodQuery(Qt::ImHints).toInt() & Qt::ImhHiddenText);
}

// --- steps -----------------------------------------------------------------------------------

void WebPane::step(int by)
{
    WebTab *tab = currentTab();
    WebView *view = onView();
    if (!canStep(by))
        return;
    if (view) {
        QWebEngineHistory *history = view->history();
        if (by < 0 ? history->canGoBack() : history->canGoForward()) {
            by < 0 ? history->back() : history->forward();
            return;
        }
    }
    const int index = tab->current() + by;
    m_host.navigationStarted();
    if (tab->moveTo(index)) {
        trim(tab);
        reportShown(tab->visible());
        return;
    }
    // The page of that step was let go: it loads again.
    WebView *again = createView(tab);
    tab->setView(index, again);
    again->open(tab->entry(index).url);
    trim(tab);
}

// At most MaxHiddenPages pages beside the one on view.
void WebPane::trim(WebTab *tab)
{
    while (tab->hiddenViews().size() > MaxHiddenPages)
        tab->dropView(tab->leastNeeded(m_wanted));
}

// A moment after it is due, so that the page just shown is drawn first; steps in quick
// succession start one load ahead, not one each.
void WebPane::startAhead()
{
    m_aheadTimer.start();
}

void WebPane::startAheadNow()
{
    WebTab *tab = currentTab();
    WebView *view = onView();
    // Nothing ahead while the page on view loads: it comes first.
    if (!tab || !view || m_wanted.isEmpty() || view->loading() || view->requested() == m_wanted)
        return;
    for (WebView *hidden : tab->hiddenViews()) {
        if (hidden->requested() == m_wanted && hidden->pristine())
            return; // ready, or on its way
    }
    // One load ahead at a time: one for a step no longer coming gives way.
    for (const QPointer<WebView> &ahead : QList(tab->ahead)) {
        if (ahead && ahead->loading())
            tab->dropView(ahead);
    }
    while (tab->hiddenViews().size() >= MaxHiddenPages)
        tab->dropView(tab->leastNeeded(m_wanted));
    WebView *ahead = createView(tab);
    tab->ahead.append(ahead);
    ahead->open(m_wanted);
}

// Tabs opened together load at most MaxTabLoads at a time, in their order. The next ones have
// their views made and primed meanwhile, so that their turn does not wait for the engine.
void WebPane::startTabLoads()
{
    while (m_tabLoads.size() < MaxTabLoads && !m_waiting.isEmpty()) {
        WebTab *tab = m_waiting.takeFirst();
        if (!tab || tab->waiting.isEmpty())
            continue;
        const QUrl url = tab->waiting;
        tab->waiting.clear();
        WebView *view = tab->spare ? tab->spare.data() : createView(tab);
        tab->spare = nullptr;
        tab->push(url, view);
        m_tabLoads.insert(view);
        view->open(url);
    }
    for (qsizetype i = 0; i < std::min(m_waiting.size(), qsizetype(MaxTabLoads)); ++i) {
        WebTab *tab = m_waiting.at(i);
        if (tab && !tab->spare) {
            tab->spare = createView(tab);
            tab->spare->prime();
        }
    }
}

void WebPane::zoom(int direction)
{
    if (direction == 0) {
        m_zoom = 1.0;
    } else if (direction > 0) {
        const auto *next
                = std::upper_bound(std::begin(kZoomLevels), std::end(kZoomLevels), m_zoom + 0.001);
        m_zoom = next != std::end(kZoomLevels) ? *next : kZoomLevels[std::size(kZoomLevels) - 1];
    } else {
        const auto *below
                = std::lower_bound(std::begin(kZoomLevels), std::end(kZoomLevels), m_zoom - 0.001);
        m_zoom = below != std::begin(kZoomLevels) ? *(below - 1) : kZoomLevels[0];
    }
    for (WebView *view : findChildren<WebView *>())
        view->setZoomFactor(m_zoom);
}
