#include "BrowserPane.h"

#include "BrowserEngine.h"
#include "Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QUrl>
#include <QVBoxLayout>

#include <unistd.h>

const char *const kBrowserEnginePlugin = "libglwebengine.so";

WebBrowserPane::WebBrowserPane(QWidget *parent) : BrowserPane(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebBrowserPane::~WebBrowserPane() = default;

void WebBrowserPane::createEngine()
{
    QString problem = QStringLiteral("the plugin %1 was not found")
                              .arg(QString::fromUtf8(kBrowserEnginePlugin));
    for (const QString &folder : QCoreApplication::libraryPaths()) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(kBrowserEnginePlugin));
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        if (auto *factory = qobject_cast<BrowserEngineFactory *>(loader.instance())) {
            BrowserEvents events;
            events.navigationStarted = [this] { Q_EMIT BeforeNavigate2(); };
            events.loadStarted = [this] { Q_EMIT DownloadBegin(); };
            // The engine reports no separate commit of a navigation: the page has arrived
            // when it ends.
            events.loadFinished = [this] {
                Q_EMIT NavigateComplete2();
                Q_EMIT DownloadComplete();
                Q_EMIT DocumentComplete();
            };
            m_engine.reset(factory->create(this, std::move(events)));
            layout()->addWidget(m_engine->widget());
            return;
        }
        problem = loader.errorString();
    }
    throw CommandError(QStringLiteral("The web browser engine cannot be started: %1").arg(problem));
}

void WebBrowserPane::NavigateTo(const QString &address)
{
    if (!m_engine)
        createEngine();
    const QUrl url = AddressToUrl(address);
    if (!url.isValid())
        throw CommandError(url.errorString());
    Q_EMIT BeforeNavigate2();
    m_engine->navigate(url);
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
    // The engine reports its GL set-up on every start; a user has nothing to do with it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // The engine shares its GL context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
