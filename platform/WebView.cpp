// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebView.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWebEngineHistory>

WebPage::WebPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
{
    // A page that loaded has no navigation left that could turn into a download.
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_navigation.clear();
    });
}

WebPage::~WebPage()
{
    if (quiet && !m_navigation.isEmpty())
        Q_EMIT navigationAbandoned(m_navigation);
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // Only the program's own local pages (the catalogue) have links the program answers, and only
    // when the user clicks them.
    if (isMainFrame && type == NavigationTypeLinkClicked && localLink && this->url().isLocalFile()
        && url.isLocalFile() && localLink(url))
        return false;
    if (isMainFrame) {
        if (type != NavigationTypeRedirect)
            m_navigation.clear();
        m_navigation.append(url);
        Q_EMIT mainFrameNavigation(type);
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void WebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &message)
{
    if (!quiet)
        QWebEnginePage::javaScriptAlert(securityOrigin, message);
}

bool WebPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &message)
{
    return !quiet && QWebEnginePage::javaScriptConfirm(securityOrigin, message);
}

bool WebPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                               const QString &defaultValue, QString *result)
{
    return !quiet
            && QWebEnginePage::javaScriptPrompt(securityOrigin, message, defaultValue, result);
}

WebView::WebView(QWebEngineProfile *profile, const PaneActions &actions, QWidget *parent)
    : QWebEngineView(parent), m_page(new WebPage(profile, this)), m_actions(actions)
{
    setObjectName(QStringLiteral("brwWebView"));
    setPage(m_page);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_loading = true; });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this] { m_loading = false; });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        if (m_primed && !m_requested.isEmpty() && url != QUrl(QStringLiteral("about:blank"))) {
            m_primed = false;
            m_page->history()->clear(); // the empty page was never the user's
        }
    });
}

void WebView::prime()
{
    m_primed = true;
    load(QUrl(QStringLiteral("about:blank")));
}

void WebView::open(const QUrl &url)
{
    m_requested = url;
    m_loading = true;
    load(url);
}

bool WebView::pristine() const
{
    const QWebEngineHistory *history = m_page->history();
    return !m_requested.isEmpty() && history->count() <= 1 && history->currentItemIndex() <= 0;
}

void WebView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Back and Forward of the tab, which also reach the pages kept beside this one; no other
    // windows and no pages of the engine's own (source view, inspector).
    const QList<std::pair<QWebEnginePage::WebAction, QAction *>> replaced = {
            {QWebEnginePage::Back, m_actions.back},
            {QWebEnginePage::Forward, m_actions.forward},
            {QWebEnginePage::ViewSource, nullptr},
            {QWebEnginePage::SavePage, nullptr},
            {QWebEnginePage::InspectElement, nullptr},
            {QWebEnginePage::OpenLinkInNewWindow, nullptr},
    };
    for (const auto &[action, ours] : replaced) {
        QAction *theirs = pageAction(action);
        if (!menu->actions().contains(theirs))
            continue;
        if (ours)
            menu->insertAction(theirs, ours);
        menu->removeAction(theirs);
    }
    menu->addSeparator();
    menu->addAction(m_actions.openInBrowser);
    menu->addAction(m_actions.copyAddress);
    menu->popup(event->globalPos());
}

// The engine shows its pages in a widget of its own inside the view, made when the page first
// shows: that widget gets the mouse.
bool WebView::event(QEvent *event)
{
    if (event->type() == QEvent::ChildPolished) {
        auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child());
        if (child && child != m_renderWidget) {
            m_renderWidget = child;
            child->installEventFilter(this);
        }
    }
    return QWebEngineView::event(event);
}

bool WebView::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
        || type == QEvent::MouseButtonDblClick) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            if (type == QEvent::MouseButtonRelease)
                Q_EMIT(button == Qt::BackButton ? backRequested() : forwardRequested());
            return true;
        }
    }
    return QWebEngineView::eventFilter(watched, event);
}
