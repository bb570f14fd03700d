#pragma once

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
    virtual void navigate(const QUrl &url) = 0;
};

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
