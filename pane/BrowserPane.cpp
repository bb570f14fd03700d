// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserPane.h"

#include "Address.h"
#include "Error.h"
#include "Proxy.h"
#include "Search.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QOpenGLWidget>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

const char *const kBrowserEnginePlugin = "libglweb.so";

BrowserPane *LoadBrowserPane(QWidget *parent, const PaneSetup &setup)
{
    QString problem = BrowserPane::tr("the plugin %1 was not found")
                              .arg(QString::fromUtf8(kBrowserEnginePlugin));
    for (const QString &folder : QCoreApplication::libraryPaths()) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(kBrowserEnginePlugin));
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        if (auto *factory = qobject_cast<BrowserPaneFactory *>(loader.instance()))
            return factory->create(parent, setup);
        problem = loader.errorString();
    }
    throw CommandError(BrowserPane::tr("The web browser engine cannot be started: %1").arg(problem));
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
                BrowserPane::tr("The browser pane cannot open \"%1\": it is neither a "
                                   "web address nor a local file")
                        .arg(address.left(60)));
    if (!IsPaneScheme(url.scheme()))
        throw CommandError(
                BrowserPane::tr("The browser pane opens only http, https and local file "
                                   "addresses, not \"%1:\" addresses")
                        .arg(url.scheme()));
    const qsizetype length = url.toEncoded().size();
    if (length > kLongestAddress)
        throw CommandError(BrowserPane::tr("The address is %1 characters long; the browser pane "
                                              "opens addresses of up to %2 characters")
                                   .arg(length)
                                   .arg(kLongestAddress));
    return url;
}

PaneRequest PaneRequestFor(const SearchRequest &search)
{
    PaneRequest request(CheckedUrl(search.address));
    if (search.postBody) {
        // Not null, so that an empty body still goes as a POST.
        request.postData = search.postBody->isNull() ? QByteArray("", 0) : *search.postBody;
    }
    request.headers = search.headers;
    return request;
}

ProfileFolders BrowserProfileFolders(const QString &caseId)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9-]{0,63}$"));
    QString below = QStringLiteral("browser");
    if (!caseId.isEmpty()) {
        const QString name = plain.match(caseId).hasMatch()
                ? caseId
                : QString::fromLatin1(QCryptographicHash::hash(caseId.toUtf8(),
                                                               QCryptographicHash::Sha256)
                                              .toHex());
        below = QStringLiteral("cases/%1/browser").arg(name);
    }
    const auto folder = [&below](QStandardPaths::StandardLocation location) {
        return QDir(QStandardPaths::writableLocation(location)).filePath(below);
    };
    return {folder(QStandardPaths::AppDataLocation), folder(QStandardPaths::CacheLocation)};
}

QStringList BrowserEngineProxyFlags(const ProxySetting &proxy)
{
    if (proxy.isNone())
        return {};
    // Nothing is looked up here: a name that reached the resolver would leave this machine
    // outside the proxy. The rules map addresses too, so the proxy's own is left out of them.
    const QString rules = QStringLiteral("MAP * ~NOTFOUND, EXCLUDE ") + proxy.host;
    return {QStringLiteral("--proxy-server=") + proxy.text(),
            // Chromium sends loopback addresses past a proxy unless told not to.
            QStringLiteral("--proxy-bypass-list=<-loopback>"),
            QStringLiteral("--host-resolver-rules=\"%1\"").arg(rules),
            QStringLiteral("--force-webrtc-ip-handling-policy=disable_non_proxied_udp"),
            QStringLiteral("--disable-quic")};
}

void PrepareBrowserEngine(const ProxySetting &proxy)
{
    PrepareBrowserEngine();
    const QStringList flags = BrowserEngineProxyFlags(proxy);
    if (flags.isEmpty())
        return;
    // After the user's own switches: the last of a kind is the one the engine takes.
    QByteArray all = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QString &flag : flags)
        all += (all.isEmpty() ? "" : " ") + flag.toLatin1();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", all);
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

void PrepareBrowserWindow(QWidget *window)
{
    // Never shown: its kind alone makes Qt create the window for OpenGL composition, as the
    // engine's view would later, recreating it.
    auto *glChild = new QOpenGLWidget(window);
    glChild->setObjectName(QStringLiteral("brwSurface"));
    glChild->hide();
}
