#pragma once

#include <QWidget>

#include <memory>

class BrowserEngine;

// The pane that shows searches. It raises the five events the status line follows.
class BrowserPane : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Shows the address (CheckedUrl); it goes to the engine as written, its %XX and "+" untouched.
    virtual void NavigateTo(const QString &address) = 0;

Q_SIGNALS:
    void BeforeNavigate2();
    void NavigateComplete2();
    void DocumentComplete();
    void DownloadBegin();
    void DownloadComplete();
};

// The web engine behind the pane, loaded from its plugin with the first navigation so that
// start-up stays fast and small.
class WebBrowserPane : public BrowserPane
{
    Q_OBJECT

public:
    explicit WebBrowserPane(QWidget *parent = nullptr);
    ~WebBrowserPane() override;
    void NavigateTo(const QString &address) override;

private:
    void createEngine();

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
