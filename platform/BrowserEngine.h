// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QUrl>
#include <QtPlugin>

#include <functional>
#include <optional>

class QWidget;

// The web engine behind the browser pane. It lives in a plugin of its own, loaded once the main
// window is shown: the engine's libraries are large, and a program that only starts should not
// pay for them.
// An OpenSearch description a page offers, with where it came from; or why there is none.
struct SiteSearch
{
    QByteArray document;
    QUrl address;
    QString error;
};
using SiteSearchDone = std::function<void(const SiteSearch &)>;

class BrowserEngine
{
public:
    // A page that opens in a tab of its own, under the title given.
    struct Tab
    {
        QString title;
        QUrl url;
    };

    virtual ~BrowserEngine() = default;
    virtual QWidget *widget() = 0;
    // Shows the address in the current tab, at once when it was loaded ahead; one of a scheme
    // the pane does not open is ignored.
    virtual void navigate(const QUrl &url) = 0;
    // The address to load in a hidden page once the page on view has loaded, so that a step
    // onto it shows it at once; an empty address drops what was loaded ahead.
    virtual void loadAhead(const QUrl &url) = 0;
    // One tab each, the first of them shown; at most four of them load at once.
    virtual void openTabs(const QList<Tab> &tabs) = 0;
    // An off-the-record profile that writes nothing to disk, or the program's own. The pages of
    // the other profile close; the current address opens again in the new one.
    virtual void setPrivate(bool on) = 0;
    // Cookies, cache and visited links of the profile in use, and the history of its pages.
    virtual void clearBrowsingData() = 0;
    // The page with the focus has a selection or an editable field focused: copy and cut are
    // its own.
    virtual bool takesClipboardKeys() const = 0;
    // The search the page on view offers (its <link rel="search">), fetched; `done` is called
    // once, later.
    virtual void findSiteSearch(SiteSearchDone done) = 0;
};

// The schemes the pane opens: web pages, and local files for the program's own pages. Never
// the engine's internal pages (chrome://gpucrash ends the process) nor script addresses.
inline bool IsPaneScheme(const QString &scheme)
{
    return scheme == u"http" || scheme == u"https" || scheme == u"file";
}

// Where the program's own profile keeps cookies, logins and storage, and its cache.
struct ProfileFolders
{
    QString storage;
    QString cache;
};
inline ProfileFolders BrowserProfileFolders()
{
    const auto folder = [](QStandardPaths::StandardLocation location) {
        return QDir(QStandardPaths::writableLocation(location)).filePath(QStringLiteral("browser"));
    };
    return {folder(QStandardPaths::AppDataLocation), folder(QStandardPaths::CacheLocation)};
}

// What the engine tells the program, and what it asks of it.
struct BrowserHost
{
    // The page on view, only: the status line follows these.
    std::function<void()> navigationStarted; // also for a link clicked in the page
    std::function<void()> loadStarted;
    std::function<void()> loadFinished;
    // A text of its own for the status line: a download's progress.
    std::function<void(const QString &)> showStatus;
    // The file a download is saved to, chosen by the user in a dialog that opens in the download
    // folder with the name the page offered made safe; nothing when the user cancels.
    std::function<std::optional<QString>(const QString &folder, const QString &offeredName)>
            chooseDownloadFile;
    // A question where refusing is the default and closing the question refuses: a site's
    // permission, a certificate that is not valid.
    std::function<bool(const QString &title, const QString &message, const QString &acceptText)>
            confirm;
    // A user name and password for a site (or a proxy) that asks; false when the user cancels.
    std::function<bool(const QString &message, QString &user, QString &password)> login;
    // A link clicked in one of the program's own local pages to another local address; true
    // when the program answered it itself (the catalogue's "load" and "add" links).
    std::function<bool(const QUrl &link)> localLink;
    // The address in the user's web browser; false when none could be started.
    std::function<bool(const QString &address)> openInBrowser;
    // A downloaded file, or its folder, with the desktop's application for it.
    std::function<bool(const QUrl &url)> openLocal;
    std::function<void(const QString &message)> showError;
};

class BrowserEngineFactory
{
public:
    virtual ~BrowserEngineFactory() = default;
    // An engine showing its pages in a widget of the parent's.
    virtual BrowserEngine *create(QWidget *parent, BrowserHost host, bool privateBrowsing) = 0;
};

#define BrowserEngineFactory_iid "org.glenlantern.BrowserEngineFactory/3.1"
Q_DECLARE_INTERFACE(BrowserEngineFactory, BrowserEngineFactory_iid)
