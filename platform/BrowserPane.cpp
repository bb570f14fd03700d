#include "BrowserPane.h"

#include "Address.h"
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
    const QUrl url = CheckedUrl(address);
    if (!m_engine)
        createEngine();
    Q_EMIT BeforeNavigate2();
    m_engine->navigate(url);
}

QUrl AddressToUrl(const QString &address)
{
    if (address.startsWith(u'/'))
        return QUrl::fromLocalFile(address);
    // Encoded first, so that the parser has nothing left to repair: a tolerant parse of the raw
    // text would turn every "%" into "%25" as soon as one of them is not an escape.
    return QUrl::fromEncoded(EncodedAddress(address), QUrl::TolerantMode);
}

QUrl CheckedUrl(const QString &address)
{
    const QUrl url = AddressToUrl(address);
    if (!url.isValid())
        throw CommandError(url.errorString());
    // Web pages and the program's own local pages only: the engine's internal pages
    // (chrome://gpucrash ends the process) and script addresses never.
    if (url.scheme().isEmpty())
        throw CommandError(QStringLiteral("The browser pane cannot open \"%1\": it is neither a "
                                          "web address nor a local file")
                                   .arg(address.left(60)));
    if (!IsPaneScheme(url.scheme()))
        throw CommandError(QStringLiteral("The browser pane opens only http, https and local file "
                                          "addresses, not \"%1:\" addresses")
                                   .arg(url.scheme()));
    const qsizetype length = url.toEncoded().size();
    if (length > kLongestAddress)
        throw CommandError(QStringLiteral("The address is %1 characters long; the browser pane "
                                          "opens addresses of up to %2 characters")
                                   .arg(length)
                                   .arg(kLongestAddress));
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
