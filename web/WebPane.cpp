// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebPane.h"

#include "WebCapture.h"
#include "WebDownloads.h"
#include "WebFindBar.h"
#include "WebProfiles.h"
#include "WebSiteSearch.h"
#include "WebTab.h"
#include "WebTabWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QNetworkProxyFactory>
#include <QShortcut>
#include <QVBoxLayout>

#include <cstdlib>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>

namespace {

QAction *paneAction(const QString &text, const char *name, QObject *parent)
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

// What a load that failed says of the proxy, by Chromium's network errors: the proxy was not
// there, or it did not reach the site (or would not). Empty when the proxy was no reason.
QString proxyProblem(const QWebEngineLoadingInfo &info)
{
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus
        || info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain)
        return {};
    switch (std::abs(info.errorCode())) {
    case 115: // proxy authentication unsupported
    case 127: // proxy authentication requested
    case 130: // proxy connection failed
    case 136: // mandatory proxy configuration failed
        return WebPane::tr("Nothing went out directly: the proxy cannot be reached (%1)")
                .arg(info.errorString());
    case 111: // tunnel connection failed
    case 120: // SOCKS connection failed: the proxy answered, but not with the site
    case 121: // SOCKS host unreachable
        return WebPane::tr("Nothing went out directly: the proxy did not reach the site (%1)")
                .arg(info.errorString());
    default:
        return {};
    }
}

} // namespace

WebPane::WebPane(QWidget *parent, const PaneSetup &setup)
    : BrowserPane(parent), m_setup(setup),
      m_profiles(new WebProfiles(setup.privateBrowsing, setup.profile, this)),
      m_tabs(new WebTabWidget([this](WebTab *tab) { return createView(tab); }, this)),
      m_find(new FindBar(this)),
      m_downloads(new DownloadsBar(
              setup.prompts, [this](const QUrl &url) { return mayDownload(url); }, this)),
      m_capture(new WebCapture(this))
{
    setObjectName(QStringLiteral("brwEngine"));
    // The engine then takes the proxy its switches name, before any other source: never the
    // program's own Qt Network setting, which lets plain host names past the proxy.
    if (setup.throughProxy)
        QNetworkProxyFactory::setUseSystemConfiguration(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_find);
    layout->addWidget(m_downloads);
    connect(m_tabs, &QTabWidget::currentChanged, this, &WebPane::tabChanged);
    connect(m_tabs, &WebTabWidget::pageOnViewChanged, this, &WebPane::visibleChanged);
    connect(m_tabs, &WebTabWidget::tabLoaded, this,
            [this](const WebView *view) { Q_EMIT tabLoaded(view->outcome()); });
    connect(m_capture, &WebCapture::finished, this, &BrowserPane::captureFinished);
    connect(m_find, &FindBar::closed, this, [this] {
        if (WebView *view = onView())
            view->setFocus();
    });
    connect(m_profiles, &WebProfiles::profileCreated, m_downloads, &DownloadsBar::watch);
    connect(m_profiles, &WebProfiles::notification, this, &BrowserPane::statusBarMessage);
    connect(m_downloads, &DownloadsBar::statusBarMessage, this, &BrowserPane::statusBarMessage);
    connect(m_downloads, &DownloadsBar::errorOccurred, this, &BrowserPane::errorOccurred);
    buildActions();
    buildKeys();
    // The first page's view is made now: the engine and its helper processes start while the
    // program is idle, not with the first search.
    WebTab *first = m_tabs->addWebTab(QString(), true);
    first->spare = createView(first);
    first->spare->prime();
    // A moment after the page on view is ready, so that it is drawn first; steps in quick
    // succession start one load ahead, not one each.
    m_aheadTimer.setSingleShot(true);
    m_aheadTimer.setInterval(AheadDelayMs);
    connect(&m_aheadTimer, &QTimer::timeout, this, &WebPane::startAhead);
}

WebPane::~WebPane()
{
    // Pages go before the profiles they live in.
    m_tabs->disconnect(this);
    m_tabs->closeAllTabs();
}

void WebPane::buildActions()
{
    m_actions.back = paneAction(tr("&Back"), "brwBack", this);
    m_actions.forward = paneAction(tr("&Forward"), "brwForward", this);
    m_actions.openInBrowser = paneAction(tr("Open in &Browser"), "brwOpenInBrowser", this);
    m_actions.copyAddress = paneAction(tr("Copy &Address"), "brwCopyAddress", this);
    m_actions.program = m_setup.pageActions;
    connect(m_actions.back, &QAction::triggered, this, [this] { step(-1); });
    connect(m_actions.forward, &QAction::triggered, this, [this] { step(1); });
    connect(m_actions.openInBrowser, &QAction::triggered, this, [this] {
        const WebView *view = onView();
        if (view && !view->url().isEmpty() && m_setup.openInBrowser
            && !m_setup.openInBrowser(view->url().toString(QUrl::FullyEncoded)))
            Q_EMIT errorOccurred(
                    tr("No web browser could be started for %1").arg(view->url().toDisplayString()));
    });
    connect(m_actions.copyAddress, &QAction::triggered, this, [this] {
        if (const WebView *view = onView())
            QGuiApplication::clipboard()->setText(view->url().toString(QUrl::FullyEncoded));
    });
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
            view->page()->triggerAction(QWebEnginePage::Reload); // asks before a form goes again
    });
    key(Qt::CTRL | Qt::Key_Plus, [this] { zoom(&WebView::zoomIn); });
    key(Qt::CTRL | Qt::Key_Equal, [this] { zoom(&WebView::zoomIn); });
    key(Qt::CTRL | Qt::Key_Minus, [this] { zoom(&WebView::zoomOut); });
    key(Qt::CTRL | Qt::Key_0, [this] { zoom(&WebView::resetZoom); });
    key(Qt::CTRL | Qt::Key_F, [this] { m_find->open(); });
    key(Qt::Key_F3, [this] { m_find->findAgain(false); });
    key(Qt::SHIFT | Qt::Key_F3, [this] { m_find->findAgain(true); });
    key(Qt::CTRL | Qt::Key_W, [this] { m_tabs->closeTab(m_tabs->currentIndex()); });
    key(Qt::CTRL | Qt::Key_Tab, [this] { m_tabs->stepTab(1); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, [this] { m_tabs->stepTab(-1); });
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

// --- pages -----------------------------------------------------------------------------------

WebView *WebPane::onView() const
{
    const WebTab *tab = m_tabs->currentTab();
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

WebView *WebPane::createView(WebTab *tab)
{
    auto *page = new WebPage(m_profiles->current(), m_setup.prompts, nullptr);
    page->setLocalLinkHandler(m_setup.localLink);
    auto *view = new WebView(page, m_actions, tab);
    view->setZoomFactor(m_zoom);
    tab->adopt(view);
    connectPage(view);
    return view;
}

void WebPane::connectPage(WebView *view)
{
    WebPage *page = view->webPage();
    connect(page, &WebPage::navigationAbandoned, this, [this](const QList<QUrl> &addresses) {
        m_abandoned += addresses;
        if (m_abandoned.size() > MaxAbandoned)
            m_abandoned.remove(0, m_abandoned.size() - MaxAbandoned);
    });
    connect(page, &WebPage::refusedUnseen, this, [this, view] { dropLater(view); });
    connect(page, &QWebEnginePage::loadStarted, this, [this, view] {
        if (view != onView())
            return;
        m_stop->setEnabled(true);
        Q_EMIT loadStarted();
    });
    connect(view, &WebView::loadEnded, this, [this, view] { pageLoadFinished(view); });
    // The engine tells why a load failed after it told that it ended: this comes over the
    // load's last text.
    connect(page, &QWebEnginePage::loadingChanged, this,
            [this, view](const QWebEngineLoadingInfo &info) {
                if (const QString problem = proxyProblem(info); !problem.isEmpty() && view == onView())
                    Q_EMIT statusBarMessage(problem);
            });
    connect(page, &WebPage::mainFrameNavigation, this,
            [this, view](const QUrl &url, QWebEnginePage::NavigationType type) {
                navigated(view, url, type);
            });
    connect(page, &QWebEnginePage::urlChanged, this, [this, view] {
        if (view == onView())
            updateActions();
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this, view] {
        if (WebTab *tab = tabOf(view); tab && tab->visible() == view)
            m_tabs->updateTitle(tab);
    });
    connect(page, &QWebEnginePage::newWindowRequested, this,
            [this, view](QWebEngineNewWindowRequest &request) { openWindow(view, request); });
    connect(page, &QWebEnginePage::windowCloseRequested, this, [this, view] {
        if (WebTab *tab = tabOf(view); tab && tab->visible() == view)
            m_tabs->closeTab(m_tabs->indexOf(tab));
    });
    connect(view, &WebView::backRequested, this, [this, view] {
        if (view == onView())
            step(-1);
    });
    connect(view, &WebView::forwardRequested, this, [this, view] {
        if (view == onView())
            step(1);
    });
}

void WebPane::tabChanged()
{
    // Pages kept beside the page of the tab left go: the hidden pages serve the tab on view.
    if (m_lastTab && m_lastTab != m_tabs->currentTab()) {
        for (WebView *view : m_lastTab->hiddenViews())
            m_lastTab->dropView(view);
    }
    m_lastTab = m_tabs->currentTab();
    visibleChanged();
    if (WebView *view = onView())
        reportShown(view);
}

void WebPane::visibleChanged()
{
    WebView *view = onView();
    m_find->setPage(view ? view->page() : nullptr);
    m_stop->setEnabled(view && view->loading());
    updateActions();
    if (view && !view->request().isEmpty())
        Q_EMIT pageShown(view->outcome());
}

void WebPane::pageLoadFinished(WebView *view)
{
    if (view != onView())
        return;
    m_stop->setEnabled(false);
    Q_EMIT loadFinished(view->outcome());
    m_aheadTimer.start();
}

void WebPane::navigated(WebView *view, const QUrl &url, QWebEnginePage::NavigationType type)
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
        Q_EMIT navigationRequested(url);
}

void WebPane::openWindow(WebView *opener, QWebEngineNewWindowRequest &request)
{
    // Only what the user asked for opens, and only as a tab of the pane: a page never opens a
    // window of its own.
    if (opener->webPage()->isQuiet() || !request.isUserInitiated())
        return;
    const bool show = request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab;
    WebTab *tab = m_tabs->addWebTab(QString(), false);
    WebView *view = createView(tab);
    tab->push({request.requestedUrl()}, view);
    request.openIn(view->page());
    if (show)
        m_tabs->setCurrentWidget(tab);
}

// A page that comes on view at once: the status line goes through its texts to the end.
void WebPane::reportShown(WebView *view)
{
    Q_EMIT loadStarted();
    if (!view->loading())
        Q_EMIT loadFinished(view->outcome());
}

// --- what the window asks --------------------------------------------------------------------

void WebPane::load(const PaneRequest &request)
{
    if (!IsPaneScheme(request.url.scheme()))
        return; // never the engine's internal pages, whatever reaches the pane
    Q_EMIT navigationRequested(request.url);
    WebTab *tab = m_tabs->currentTab();
    QList<HiddenPage> hidden = tab->hiddenPages();
    if (const int ready = m_ahead.ready(hidden, request); ready >= 0) {
        WebView *view = tab->hiddenViews().at(ready);
        tab->take(view);
        view->claim(request);
        tab->push(request, view);
        tab->dropViews(m_ahead.trim(tab->hiddenPages()));
        reportShown(view);
        m_aheadTimer.start();
        return;
    }
    WebView *view = tab->visible();
    if (!view) {
        view = tab->spare ? tab->spare.data() : createView(tab);
        tab->spare = nullptr;
        tab->push(request, view);
    }
    tab->dropForward(); // a new search: the steps ahead of this one are no longer its future
    view->open(request);
}

void WebPane::loadAhead(const PaneRequest &request)
{
    m_ahead.setWanted(IsPaneScheme(request.url.scheme()) ? request : PaneRequest());
    if (m_ahead.wanted().isEmpty()) {
        // Nothing ahead: the pages loaded for steps to come go; those kept for a step back stay.
        if (WebTab *tab = m_tabs->currentTab())
            tab->dropViews(m_ahead.dropAhead(tab->hiddenPages()));
        return;
    }
    m_aheadTimer.start();
}

void WebPane::startAhead()
{
    WebTab *tab = m_tabs->currentTab();
    WebView *view = onView();
    if (!tab || !view)
        return;
    const HiddenPage shown {HiddenPage::Kept, 0, view->request(), view->loading(), true};
    const LoadAheadScheduler::Plan plan = m_ahead.plan(shown, tab->hiddenPages());
    tab->dropViews(plan.drop);
    if (!plan.load)
        return;
    WebView *ahead = createView(tab);
    tab->addAhead(ahead);
    ahead->open(m_ahead.wanted());
}

void WebPane::openTabs(const QList<PaneRequest> &requests)
{
    QList<PaneRequest> valid;
    for (const PaneRequest &request : requests) {
        if (IsPaneScheme(request.url.scheme()))
            valid.append(request);
    }
    m_tabs->openWaiting(valid);
}

void WebPane::setPrivateBrowsing(bool on)
{
    if (on == m_profiles->isPrivate())
        return;
    WebView *view = onView();
    PaneRequest shown = view ? PaneRequest {view->url(), {}, {}, view->request().id}
                             : PaneRequest();
    // A form's answer comes again only by sending the form again, which the user agrees to.
    if (const std::optional<PaneRequest> form = view ? view->webPage()->formOnView() : std::nullopt)
        shown = view->webPage()->confirmResend(form->url)
                ? PaneRequest {form->url, form->postData, {}, view->request().id}
                : PaneRequest();
    m_lastTab = nullptr;
    m_tabs->closeAllTabs();
    m_profiles->setPrivate(on);
    m_tabs->addWebTab(QString(), true);
    if (shown.url.isValid() && !shown.url.isEmpty())
        load(shown);
}

void WebPane::clearBrowsingData()
{
    m_profiles->clearBrowsingData();
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->tabAt(i)->forgetHistory();
}

void WebPane::setProfile(const PaneProfile &profile)
{
    if (profile == m_profiles->profile())
        return;
    if (profile.caseId == m_profiles->profile().caseId)
        return m_profiles->setProfile(profile); // the user agent alone: the pages stay
    // The pages of one case never carry over into another: its cookies would go with them.
    m_lastTab = nullptr;
    m_tabs->closeAllTabs();
    m_abandoned.clear();
    m_profiles->setProfile(profile);
    m_tabs->addWebTab(QString(), true);
}

void WebPane::forgetProfile()
{
    m_lastTab = nullptr;
    m_tabs->closeAllTabs();
    QString problem;
    const bool gone = m_profiles->forget(problem);
    m_tabs->addWebTab(QString(), true);
    if (!gone)
        Q_EMIT errorOccurred(tr("The case's browsing data was not all removed: %1").arg(problem));
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

void WebPane::findSiteSearch(SiteSearchDone done)
{
    const WebView *view = onView();
    if (!view || view->url().isEmpty())
        return done({{}, {}, tr("The browser pane shows no page")});
    FetchSiteSearch(view->page(), this, std::move(done));
}

void WebPane::capturePage(int id, const QList<CaptureFile> &files)
{
    WebView *page = onView();
    if (id != 0 && (!page || page->request().id != id)) {
        page = nullptr;
        for (WebView *view : findChildren<WebView *>()) {
            if (view->request().id == id)
                page = view;
        }
    }
    if (!page || page->request().isEmpty())
        return m_capture->fail(id, files, tr("the page is no longer open"));
    m_capture->add(page, page->request().id, files);
}

// --- steps -----------------------------------------------------------------------------------

bool WebPane::canStep(int by) const
{
    const WebTab *tab = m_tabs->currentTab();
    const WebView *view = onView();
    if (!tab)
        return false;
    if (view && (by < 0 ? view->history()->canGoBack() : view->history()->canGoForward()))
        return true;
    const int index = tab->current() + by;
    return index >= 0 && index < tab->count();
}

void WebPane::step(int by)
{
    WebTab *tab = m_tabs->currentTab();
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
    // A step whose page was let go loads it again: a form only when the user agrees.
    const PaneRequest request = tab->entry(index).request;
    if (!tab->entry(index).view && request.isPost()
        && !(view && view->webPage()->confirmResend(request.url)))
        return;
    Q_EMIT navigationRequested(request.url);
    if (tab->moveTo(index)) {
        tab->dropViews(m_ahead.trim(tab->hiddenPages()));
        reportShown(tab->visible());
        return;
    }
    // The page of that step was let go: it loads again.
    WebView *again = createView(tab);
    tab->setView(index, again);
    again->open(tab->entry(index).request);
    tab->dropViews(m_ahead.trim(tab->hiddenPages()));
}

void WebPane::updateActions()
{
    m_actions.back->setEnabled(canStep(-1));
    m_actions.forward->setEnabled(canStep(1));
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
        if (!view->webPage()->isQuiet())
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

// The view on top owns the zoom; the others follow it.
void WebPane::zoom(void (WebView::*change)())
{
    WebView *view = onView();
    if (!view)
        return;
    (view->*change)();
    m_zoom = view->zoomFactor();
    for (WebView *other : findChildren<WebView *>())
        other->setZoomFactor(m_zoom);
}
