#pragma once

#include <QString>
#include <QtPlugin>

#include <functional>

class QUrl;
class QWidget;

// The web engine behind the browser pane. It lives in a plugin of its own, loaded with the
// first search: the engine's libraries are large, and a program that only starts should not
// pay for them.
class BrowserEngine
{
public:
    virtual ~BrowserEngine() = default;
    virtual QWidget *widget() = 0;
    // Shows the address; one of a scheme the pane does not open is ignored.
    virtual void navigate(const QUrl &url) = 0;
};

// The schemes the pane opens: web pages, and local files for the program's own pages. Never
// the engine's internal pages (chrome://gpucrash ends the process) nor script addresses.
inline bool IsPaneScheme(const QString &scheme)
{
    return scheme == u"http" || scheme == u"https" || scheme == u"file";
}

// What the engine tells while it loads a page.
struct BrowserEvents
{
    std::function<void()> navigationStarted; // also for a link clicked in the page
    std::function<void()> loadStarted;
    std::function<void()> loadFinished;
};

class BrowserEngineFactory
{
public:
    virtual ~BrowserEngineFactory() = default;
    // An engine showing its pages in a widget of the parent's.
    virtual BrowserEngine *create(QWidget *parent, BrowserEvents events) = 0;
};

#define BrowserEngineFactory_iid "org.glenlantern.BrowserEngineFactory/1.0"
Q_DECLARE_INTERFACE(BrowserEngineFactory, BrowserEngineFactory_iid)
