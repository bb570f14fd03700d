// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser pane as the window sees it: one interface, in Qt's words, that the web engine
// plugin implements. The plugin is loaded once the window is shown (LoadBrowserPane): the
// engine's libraries are large, and a program that only starts should not pay for them.
#include "PaneRequest.h"

#include <QList>
#include <QUrl>
#include <QWidget>
#include <QtPlugin>

#include <functional>

class Prompts;
class QAction;

// An OpenSearch description a page offers, with where it came from; or why there is none.
struct SiteSearch
{
    QByteArray document;
    QUrl address;
    QString error;
};
using SiteSearchDone = std::function<void(const SiteSearch &)>;

// Whose browsing data the pages keep (cookies, storage, cache, permissions): the program's own,
// or a case's, so that one investigation leaves no trace in another.
struct PaneProfile
{
    QString caseId;    // the case's id (a UUID); empty for the program's own
    QString userAgent; // empty for the engine's own
    friend bool operator==(const PaneProfile &, const PaneProfile &) = default;
};

// What the pane needs from the program around it.
struct PaneSetup
{
    // The questions pages ask (permissions, certificates, logins, where a download goes).
    Prompts *prompts = nullptr;
    bool privateBrowsing = false;
    PaneProfile profile;
    // The proxy every page of the program goes through (see PrepareBrowserEngine).
    bool throughProxy = false;
    // A link clicked in one of the program's own local pages to another local address; true
    // when the program answered it itself (the catalogue's "load" and "add" links).
    std::function<bool(const QUrl &link)> localLink;
    // The address in the user's web browser; false when none could be started.
    std::function<bool(const QString &address)> openInBrowser;
    // The program's commands on the page on view, added to the page's context menu.
    QList<QAction *> pageActions;
};

class BrowserPane : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Shows the search in the current tab, at once when it was loaded ahead. An address of a
    // scheme the pane does not open (see IsPaneScheme) is ignored: the window checks first.
    virtual void load(const PaneRequest &request) = 0;
    // The search a step is likely to ask for next, loaded in a hidden page once the page on
    // view has loaded; an empty request keeps nothing ahead.
    virtual void loadAhead(const PaneRequest &request) = 0;
    // A tab for each, named by its title, the first of them shown; at most four load at once.
    virtual void openTabs(const QList<PaneRequest> &requests) = 0;
    // An off-the-record profile that writes nothing to disk, or the program's own. The pages
    // of the other profile close; the page on view opens again in the new one.
    virtual void setPrivateBrowsing(bool on) = 0;
    // Cookies, cache and visited links of the profiles, and the history of the pages.
    virtual void clearBrowsingData() = 0;
    // The pages live in this profile from now on: those of another one close, and the page on
    // view does not open again (it belongs to the other). A new user agent alone keeps them.
    virtual void setProfile(const PaneProfile &profile) = 0;
    // The case's profile removed from disk, cookies, storage, cache and permissions; its pages
    // close. Nothing for the program's own profile.
    virtual void forgetProfile() = 0;
    // The focus is in a page with a selection or an editable field focused: copy and cut
    // are the page's own there.
    virtual bool takesClipboardKeys() const = 0;
    // The search the page on view offers (its <link rel="search">), fetched; `done` is called
    // once, later.
    virtual void findSiteSearch(SiteSearchDone done) = 0;
    // Writes the page of the search `id` (the page on view for 0) to the files in their order,
    // one after the other, never two at once on a page; a capture asked for meanwhile waits its
    // turn and the pages go on meanwhile. captureFinished tells of each file.
    virtual void capturePage(int id, const QList<CaptureFile> &files) = 0;

Q_SIGNALS:
    // The page on view is going somewhere: the window's search, a link, a step back.
    void navigationRequested(const QUrl &url);
    // The page on view started loading, and ended.
    void loadStarted();
    void loadFinished(const PaneOutcome &outcome);
    // A page came on view (a step onto a page loaded ahead, another tab), loaded or not.
    void pageShown(const PaneOutcome &outcome);
    // A tab opened by openTabs ended its first load, on view or not.
    void tabLoaded(const PaneOutcome &outcome);
    // A file of a capture was written, or could not be.
    void captureFinished(const CaptureOutcome &outcome);
    // A text of the pane's own for the status line (a download's progress, a notification).
    void statusBarMessage(const QString &text);
    // Something the user asked for failed; the message says what.
    void errorOccurred(const QString &message);
};

// What the engine plugin makes: the pane, as a child of the parent.
class BrowserPaneFactory
{
public:
    virtual ~BrowserPaneFactory() = default;
    virtual BrowserPane *create(QWidget *parent, const PaneSetup &setup) = 0;
};

#define BrowserPaneFactory_iid "org.glenlantern.BrowserPaneFactory/6.0"
Q_DECLARE_INTERFACE(BrowserPaneFactory, BrowserPaneFactory_iid)

// The pane from the engine plugin; throws CommandError when the plugin cannot be loaded.
BrowserPane *LoadBrowserPane(QWidget *parent, const PaneSetup &setup);
// Call before the application object exists: the engine shares its GL context with the
// windows, Chromium refuses to start its sandbox as root, and the engine takes its proxy for the
// whole process when it starts.
struct ProxySetting;
void PrepareBrowserEngine(const ProxySetting &proxy);
void PrepareBrowserEngine();
// The engine's switches for the proxy: every request through it, loopback addresses too, host
// names looked up by the proxy and never here, no direct UDP for WebRTC. Empty for none.
QStringList BrowserEngineProxyFlags(const ProxySetting &proxy);
// Call before the window that will hold the pane is first shown. The engine's view draws
// through OpenGL, and Qt's widgets give a window with such a child a native window of another
// kind: made so from the start, the window keeps its native window when the engine arrives.
void PrepareBrowserWindow(QWidget *window);
// The file name of the engine plugin, looked for in the library paths (the program's folder
// first).
extern const char *const kBrowserEnginePlugin;

// The schemes the pane opens: web pages, and local files for the program's own pages. Never
// the engine's internal pages (chrome://gpucrash ends the process) nor script addresses.
inline bool IsPaneScheme(const QString &scheme)
{
    return scheme == u"http" || scheme == u"https" || scheme == u"file";
}
// Where the program's own profile keeps cookies, logins and storage, and its cache; a case's
// keeps them under its id.
struct ProfileFolders
{
    QString storage;
    QString cache;
};
// A case's id comes from its folder: one that is not a plain name is hashed into one.
ProfileFolders BrowserProfileFolders(const QString &caseId = {});

// An address as the pane reads it: a path from the root ("/...") is a local file (the readme);
// anything else is an address whose %XX and "+" stay exactly as written, only the characters
// that cannot stand in an address being encoded (EncodedAddress).
QUrl AddressToUrl(const QString &address);
// The address as a URL the pane opens; throws CommandError for an address that does not parse,
// one of another scheme (chrome:, javascript:, data: ...) or one longer than the engine opens.
QUrl CheckedUrl(const QString &address);
// A search as the pane sends it: its checked address, and the form's body for a POST.
struct SearchRequest;
PaneRequest PaneRequestFor(const SearchRequest &search);
