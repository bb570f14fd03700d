// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserEngine.h"

#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class Prompts;

// What the pane asks of the program around it: the dialogs to ask through, and the user's web
// browser for "Open in Browser".
struct PaneHost
{
    Prompts *prompts = nullptr;
    std::function<bool(const QString &address)> openInBrowser;
    // A link clicked in one of the program's own local pages; true when the program answered it.
    std::function<bool(const QUrl &link)> localLink;
    // A downloaded file or its folder, with the desktop's application for it.
    std::function<bool(const QUrl &url)> openLocal;
};

// A search shown in a tab of its own, under the title given.
struct TitledAddress
{
    QString title;
    QString address;
};

// The pane that shows searches. It raises the five events the status line follows.
class BrowserPane : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Shows the address (CheckedUrl); it goes to the engine as written, its %XX and "+" untouched.
    virtual void NavigateTo(const QString &address) = 0;

    // What a pane with tabs and hidden pages does; a pane without them ignores it.
    virtual void SetHost(PaneHost) { }
    // The address a step is likely to ask for next, loaded in a hidden page once the page on
    // view has loaded; empty to keep nothing ahead.
    virtual void LoadAhead(const QString &) { }
    // A tab for each, at most four of them loading at once. Returns the titles of those whose
    // address is not one the pane can open.
    virtual QStringList OpenTabs(const QList<TitledAddress> &) { return {}; }
    virtual void SetPrivate(bool) { }
    virtual void ClearBrowsingData() { }
    // True when the focus is in a page with a selection or an editable field focused: copy and
    // cut are the page's own there.
    virtual bool TakesClipboardKeys() const { return false; }
    // The search the page on view offers, fetched; `done` is called once, later.
    virtual void FindSiteSearch(SiteSearchDone done)
    {
        done({{}, {}, tr("The browser pane shows no page")});
    }
    // Starts the engine before the first search needs it.
    virtual void WarmUp() { }

Q_SIGNALS:
    void BeforeNavigate2();
    void NavigateComplete2();
    void DocumentComplete();
    void DownloadBegin();
    void DownloadComplete();
    // A text of the pane's own for the status line (a download's progress).
    void StatusText(const QString &text);
    // Something the user asked for failed; the message says what.
    void Failed(const QString &message);
    // Something the user should know, said once in the status line: the profile's folders
    // cannot be written, so nothing of it is kept.
    void Notice(const QString &message);
};

// The web engine behind the pane, loaded from its plugin with the first navigation (or once the
// program is idle after start-up) so that start-up stays fast and small.
class WebBrowserPane : public BrowserPane
{
    Q_OBJECT

public:
    explicit WebBrowserPane(QWidget *parent = nullptr);
    ~WebBrowserPane() override;
    void NavigateTo(const QString &address) override;

    void SetHost(PaneHost host) override;
    void LoadAhead(const QString &address) override;
    QStringList OpenTabs(const QList<TitledAddress> &tabs) override;
    void SetPrivate(bool on) override;
    void ClearBrowsingData() override;
    bool TakesClipboardKeys() const override;
    void FindSiteSearch(SiteSearchDone done) override;
    void WarmUp() override;

private:
    void createEngine();
    BrowserHost engineHost();
    void checkProfileFolders();

    PaneHost m_host;
    bool m_private = false;
    bool m_profileChecked = false;
    std::unique_ptr<BrowserEngine> m_engine;
};

// Call before the application object exists: the engine shares its GL context with the
// windows, and Chromium refuses to start its sandbox as root.
void PrepareBrowserEngine();
// The file name of the engine plugin, looked for in the library paths (the program's folder
// first).
extern const char *const kBrowserEnginePlugin;

// An address as the pane reads it: a path from the root ("/...") is a local file (the readme);
// anything else is an address whose %XX and "+" stay exactly as written, only the characters
// that cannot stand in an address being encoded (EncodedAddress).
QUrl AddressToUrl(const QString &address);
// The address as a URL the pane opens; throws CommandError for an address that does not parse,
// one of another scheme (chrome:, javascript:, data: ...) or one longer than the engine opens.
QUrl CheckedUrl(const QString &address);
