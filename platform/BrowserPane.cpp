#include "BrowserPane.h"

#include "Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// Every navigation of the main frame, link clicks included, tells the status line at once.
class Page : public QWebEnginePage
{
public:
    Page(BrowserPane *pane, QObject *parent) : QWebEnginePage(parent), m_pane(pane) { }

protected:
    bool acceptNavigationRequest(const QUrl &, NavigationType type, bool isMainFrame) override
    {
        if (isMainFrame && type != NavigationTypeTyped)
            Q_EMIT m_pane->BeforeNavigate2();
        return true;
    }

private:
    BrowserPane *m_pane;
};

} // namespace

WebBrowserPane::WebBrowserPane(QWidget *parent) : BrowserPane(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void WebBrowserPane::createView()
{
    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("brwWebView"));
    m_view->setPage(new Page(this, m_view));
    layout()->addWidget(m_view);
    QWebEnginePage *page = m_view->page();
    connect(page, &QWebEnginePage::loadStarted, this, &BrowserPane::DownloadBegin);
    // The engine reports no separate commit of a navigation: the page has arrived when it ends.
    connect(page, &QWebEnginePage::loadFinished, this, [this] {
        Q_EMIT NavigateComplete2();
        Q_EMIT DownloadComplete();
        Q_EMIT DocumentComplete();
    });
}

void WebBrowserPane::NavigateTo(const QString &address)
{
    if (!m_view)
        createView();
    const QUrl url = AddressToUrl(address);
    if (!url.isValid())
        throw CommandError(url.errorString());
    Q_EMIT BeforeNavigate2();
    m_view->setUrl(url);
}

QUrl AddressToUrl(const QString &address)
{
    if (address.startsWith(u'/'))
        return QUrl::fromLocalFile(address);
    QUrl url(address, QUrl::TolerantMode);
    if (url.scheme().isEmpty())
        url = QUrl::fromUserInput(address); // "www.example.org/..." as a browser takes it
    return url;
}

void PrepareBrowserEngine()
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine shares its GL context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
