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

    // Shows the address; the text goes to the engine as it is, blanks and all.
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

// An address as the user means it: a local file path becomes a file address, anything else is
// parsed leniently so that blanks and other characters are encoded by the engine, not by us.
QUrl AddressToUrl(const QString &address);
