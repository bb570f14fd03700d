// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebView.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QTimer>
#include <QWebEngineLoadingInfo>

#include <algorithm>

namespace {

constexpr qreal kZoomLevels[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                 1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

} // namespace

WebView::WebView(WebPage *page, const PaneActions &actions, QWidget *parent)
    : QWebEngineView(parent), m_page(page), m_actions(actions)
{
    setObjectName(QStringLiteral("brwWebView"));
    page->setParent(this);
    setPage(page);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_loading = true; });
    // A page that answers 404 or 500 "fails" to the engine, though it came and shows: the load's
    // information, which follows loadFinished, holds its status in the HTTP status domain (as it
    // does a 200's). A load that ends without it ends by loadFinished alone, a moment later.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_endDue = true;
        QTimer::singleShot(0, this, [this, ok] {
            if (m_endDue)
                end(ok, 0);
        });
    });
    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        const bool statusCame = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain
                && info.errorCode() > 0;
        end(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus || statusCame,
            statusCame ? info.errorCode() : 0);
    });
    // A hidden page whose renderer ended (a capture that took too long, a crash) loads anew, so
    // that a step onto it shows it; the page on view stays as it is until the next search, and
    // a form is never sent again unasked.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                m_loading = false;
                m_loaded = false;
                if (status != QWebEnginePage::NormalTerminationStatus && !isVisible()
                    && !m_request.isEmpty() && !m_request.isPost())
                    QMetaObject::invokeMethod(this, [this] { open(m_request); },
                                              Qt::QueuedConnection);
            });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        if (m_primed && !m_request.isEmpty() && url != QUrl(QStringLiteral("about:blank"))) {
            m_primed = false;
            m_page->clearHistory(); // the empty page was never the user's
        }
    });
}

void WebView::end(bool pageCame, int status)
{
    m_endDue = false;
    m_loading = false;
    m_loaded = pageCame;
    // Qt 6.4 tells a good page's status too; 200 where it does not.
    m_status = pageCame ? (status > 0 ? status : 200) : 0;
    Q_EMIT loadEnded();
}

void WebView::prime()
{
    m_primed = true;
    load(QUrl(QStringLiteral("about:blank")));
}

void WebView::open(const PaneRequest &request)
{
    m_request = request;
    m_loading = true;
    m_page->noteSearch(request);
    if (!request.isPost() && request.headers.isEmpty())
        return load(request.url);
    QWebEngineHttpRequest sent(request.url, request.isPost() ? QWebEngineHttpRequest::Post
                                                             : QWebEngineHttpRequest::Get);
    if (request.isPost()) {
        sent.setHeader("Content-Type", "application/x-www-form-urlencoded");
        sent.setPostData(request.postData);
    }
    // The service's own headers after the program's, so that its Content-Type holds.
    for (const auto &[name, value] : request.headers)
        sent.setHeader(name, value);
    load(sent);
}

bool WebView::pristine() const
{
    const QWebEngineHistory *history = m_page->history();
    return !m_request.isEmpty() && history->count() <= 1 && history->currentItemIndex() <= 0;
}

PaneOutcome WebView::outcome() const
{
    const PaneOutcome::State state = m_loading ? PaneOutcome::Loading
            : m_loaded                         ? PaneOutcome::Loaded
                                               : PaneOutcome::Failed;
    return {m_request.id, m_request.url, url(), title(), state, state == PaneOutcome::Loaded ? m_status : 0};
}

void WebView::zoomIn()
{
    const auto *next = std::upper_bound(std::begin(kZoomLevels), std::end(kZoomLevels),
                                        zoomFactor() + 0.001);
    setZoomFactor(next != std::end(kZoomLevels) ? *next : kZoomLevels[std::size(kZoomLevels) - 1]);
}

void WebView::zoomOut()
{
    const auto *below = std::lower_bound(std::begin(kZoomLevels), std::end(kZoomLevels),
                                         zoomFactor() - 0.001);
    setZoomFactor(below != std::begin(kZoomLevels) ? *(below - 1) : kZoomLevels[0]);
}

void WebView::resetZoom()
{
    setZoomFactor(1.0);
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
    if (!m_actions.program.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_actions.program);
    }
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
