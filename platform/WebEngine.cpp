// The browser engine plugin: Qt WebEngine.
#include "BrowserEngine.h"

#include <QObject>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// Every navigation of the main frame, link clicks included, tells the status line at once.
class Page : public QWebEnginePage
{
public:
    Page(std::function<void()> navigationStarted, QObject *parent)
        : QWebEnginePage(parent), m_navigationStarted(std::move(navigationStarted))
    { }

protected:
    bool acceptNavigationRequest(const QUrl &, NavigationType type, bool isMainFrame) override
    {
        if (isMainFrame && type != NavigationTypeTyped)
            m_navigationStarted();
        return true;
    }

private:
    std::function<void()> m_navigationStarted;
};

class WebEngine : public BrowserEngine
{
public:
    WebEngine(QWidget *parent, const BrowserEvents &events) : m_view(new QWebEngineView(parent))
    {
        m_view->setObjectName(QStringLiteral("brwWebView"));
        m_view->setPage(new Page(events.navigationStarted, m_view));
        QWebEnginePage *page = m_view->page();
        // A local page (the readme) reads no other file and has no say over web addresses: a
        // script in a local page cannot read a file to send it away.
        QWebEngineSettings *settings = page->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        QObject::connect(page, &QWebEnginePage::loadStarted, m_view, events.loadStarted);
        QObject::connect(page, &QWebEnginePage::loadFinished, m_view, events.loadFinished);
    }
    QWidget *widget() override { return m_view; }
    void navigate(const QUrl &url) override
    {
        if (IsPaneScheme(url.scheme()))
            m_view->setUrl(url);
    }

private:
    QWebEngineView *m_view;
};

} // namespace

class WebEngineFactory : public QObject, public BrowserEngineFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserEngineFactory_iid)
    Q_INTERFACES(BrowserEngineFactory)

public:
    BrowserEngine *create(QWidget *parent, BrowserEvents events) override
    {
        return new WebEngine(parent, events);
    }
};

#include "WebEngine.moc"
