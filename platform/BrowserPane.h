#pragma once

#include <QWidget>

class QWebEngineView;

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

// Qt WebEngine behind the pane, created on the first navigation so that start-up stays fast.
class WebBrowserPane : public BrowserPane
{
    Q_OBJECT

public:
    explicit WebBrowserPane(QWidget *parent = nullptr);
    void NavigateTo(const QString &address) override;
    QWebEngineView *view() const { return m_view; }

private:
    void createView();

    QWebEngineView *m_view = nullptr;
};

// Chromium refuses to start its sandbox as root: call before the application object exists.
void PrepareBrowserEngine();

// An address as the user means it: a local file path becomes a file address, anything else is
// parsed leniently so that blanks and other characters are encoded by the engine, not by us.
QUrl AddressToUrl(const QString &address);
