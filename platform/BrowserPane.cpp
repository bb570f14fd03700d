// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserPane.h"

#include "Address.h"
#include "BrowserEngine.h"
#include "DownloadName.h"
#include "Error.h"
#include "FileIo.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
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
    if (!m_private)
        checkProfileFolders();
    QString problem = WebBrowserPane::tr("the plugin %1 was not found")
                              .arg(QString::fromUtf8(kBrowserEnginePlugin));
    for (const QString &folder : QCoreApplication::libraryPaths()) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(kBrowserEnginePlugin));
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        if (auto *factory = qobject_cast<BrowserEngineFactory *>(loader.instance())) {
            m_engine.reset(factory->create(this, engineHost(), m_private));
            layout()->addWidget(m_engine->widget());
            m_engine->widget()->show(); // now, so that its keys work at once
            return;
        }
        problem = loader.errorString();
    }
    throw CommandError(
            WebBrowserPane::tr("The web browser engine cannot be started: %1").arg(problem));
}

BrowserHost WebBrowserPane::engineHost()
{
    BrowserHost host;
    host.navigationStarted = [this] { Q_EMIT BeforeNavigate2(); };
    host.loadStarted = [this] { Q_EMIT DownloadBegin(); };
    // The engine reports no separate commit of a navigation: the page has arrived when it
    // ends.
    host.loadFinished = [this] {
        Q_EMIT NavigateComplete2();
        Q_EMIT DownloadComplete();
        Q_EMIT DocumentComplete();
    };
    host.showStatus = [this](const QString &text) { Q_EMIT StatusText(text); };
    host.chooseDownloadFile
            = [this](const QString &folder, const QString &offered) -> std::optional<QString> {
        if (!m_host.prompts)
            return std::nullopt;
        return m_host.prompts->SaveFileAs(WebBrowserPane::tr("Save Download"),
                                          DownloadTarget(folder, offered));
    };
    host.confirm = [this](const QString &title, const QString &message, const QString &accept) {
        return m_host.prompts && m_host.prompts->ConfirmRisk(title, message, accept);
    };
    host.login = [this](const QString &message, QString &user, QString &password) {
        return m_host.prompts
                && m_host.prompts->AskLogin(WebBrowserPane::tr("Log In"), message, user, password);
    };
    host.openInBrowser = [this](const QString &address) {
        return m_host.openInBrowser && m_host.openInBrowser(address);
    };
    host.localLink = [this](const QUrl &link) { return m_host.localLink && m_host.localLink(link); };
    host.openLocal = [this](const QUrl &url) {
        return m_host.openLocal ? m_host.openLocal(url) : QDesktopServices::openUrl(url);
    };
    host.showError = [this](const QString &message) { Q_EMIT Failed(message); };
    return host;
}

void WebBrowserPane::NavigateTo(const QString &address)
{
    const QUrl url = CheckedUrl(address);
    if (!m_engine)
        createEngine();
    Q_EMIT BeforeNavigate2();
    m_engine->navigate(url);
}

void WebBrowserPane::SetHost(PaneHost host)
{
    m_host = std::move(host);
}

void WebBrowserPane::LoadAhead(const QString &address)
{
    if (!m_engine)
        return; // nothing is on view yet to step from
    QUrl url;
    try {
        if (!address.isEmpty())
            url = CheckedUrl(address);
    } catch (const CommandError &) {
        // An address the pane would not open is not loaded ahead either.
    }
    m_engine->loadAhead(url);
}

QStringList WebBrowserPane::OpenTabs(const QList<TitledAddress> &tabs)
{
    QList<BrowserEngine::Tab> valid;
    QStringList failed;
    for (const TitledAddress &tab : tabs) {
        try {
            valid.append({tab.title, CheckedUrl(tab.address)});
        } catch (const CommandError &) {
            failed.append(tab.title);
        }
    }
    if (valid.isEmpty())
        return failed;
    if (!m_engine)
        createEngine();
    m_engine->openTabs(valid);
    return failed;
}

// The engine keeps nothing, and says nothing, where it cannot write its profile's folders: the
// program says it, once. Made here, the folders are the user's alone.
void WebBrowserPane::checkProfileFolders()
{
    if (m_profileChecked)
        return;
    m_profileChecked = true;
    const ProfileFolders folders = BrowserProfileFolders();
    for (const QString &folder : {folders.storage, folders.cache}) {
        if (const std::optional<QString> problem = MakeWritableFolder(folder)) {
            // What it means first: a long path would push it out of a narrow window.
            Q_EMIT Notice(WebBrowserPane::tr("Browsing data is not kept. %1").arg(*problem));
            return;
        }
    }
}

void WebBrowserPane::SetPrivate(bool on)
{
    if (!on && m_engine)
        checkProfileFolders();
    m_private = on;
    if (m_engine)
        m_engine->setPrivate(on);
}

void WebBrowserPane::ClearBrowsingData()
{
    if (!m_engine)
        createEngine(); // the profile on disk holds what earlier runs kept
    m_engine->clearBrowsingData();
}

bool WebBrowserPane::TakesClipboardKeys() const
{
    return m_engine && m_engine->takesClipboardKeys();
}

void WebBrowserPane::FindSiteSearch(SiteSearchDone done)
{
    if (!m_engine)
        return BrowserPane::FindSiteSearch(std::move(done));
    m_engine->findSiteSearch(std::move(done));
}

void WebBrowserPane::WarmUp()
{
    if (m_engine)
        return;
    try {
        createEngine();
    } catch (const CommandError &) {
        // The first search says what is wrong, when the user is there to read it.
    }
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
        throw CommandError(
                WebBrowserPane::tr("The browser pane cannot open \"%1\": it is neither a "
                                   "web address nor a local file")
                        .arg(address.left(60)));
    if (!IsPaneScheme(url.scheme()))
        throw CommandError(
                WebBrowserPane::tr("The browser pane opens only http, https and local file "
                                   "addresses, not \"%1:\" addresses")
                        .arg(url.scheme()));
    const qsizetype length = url.toEncoded().size();
    if (length > kLongestAddress)
        throw CommandError(WebBrowserPane::tr("The address is %1 characters long; the browser pane "
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
