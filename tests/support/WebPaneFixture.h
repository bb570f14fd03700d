// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A main window with the real browser pane, scripted dialogs and a temporary current folder,
// for tests against a LocalWebServer. GL_WEB_TEST_MAIN gives the test a home of its own, so
// that the engine's profile, settings and downloads never touch the real one.
#include "BrowserPane.h"
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "Main.h"
#include "SharedContext.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedLayout>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <memory>

struct WebPaneFixture
{
    // Settings as at a first start, and a profile of the fixture's own.
    WebPaneFixture()
    {
        // A page left alive after its profile can crash the engine later, in another test.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^Release of profile requested")));
        QSettings().clear();
        qputenv("XDG_DATA_HOME", QDir(data.path()).filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CACHE_HOME", QDir(data.path()).filePath(QStringLiteral("cache")).toUtf8());
    }
    ~WebPaneFixture() { stop(); }

    // A main window with these lists, shown; the settings in the test's home stay as they are.
    void start(const QByteArrayList &services, const QByteArrayList &terms)
    {
        stop();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        MainWindowParts parts;
        parts.prompts = std::make_unique<FakePrompts>();
        prompts = static_cast<FakePrompts *>(parts.prompts.get());
        parts.createBrowser = LoadBrowserPane;
        parts.prepareBrowser = PreloadBrowserEngine; // as the program does
        parts.trayIcon = std::make_unique<FakeTrayIcon>();
        parts.showError = [this](QWidget *, const QString &message) { errors.append(message); };
        parts.clockMs = [this] { return nowMs += 1000; }; // every typed letter a search of its own
        parts.openInDefaultBrowser = [this](const QString &address, QString *) {
            launched.append(address);
            return true;
        };
        window = std::make_unique<TfrmMain>(std::move(parts));
        QDir::setCurrent(previous);
        for (const QByteArray &line : services)
            window->services().list.Append(line);
        for (const QByteArray &line : terms)
            window->terms().list.Append(line);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        // The engine starts once the window is painted, before any search.
        QTRY_VERIFY_WITH_TIMEOUT(tabs(), 30000);
    }
    void stop()
    {
        window.reset();
        // Pages and profiles go with the events that delete them.
        QTest::qWait(50);
    }

    QListView *list(const char *name) const
    {
        return window->findChild<QListView *>(QString::fromUtf8(name));
    }
    // Clicks a row of a list, as a user picks a line.
    void click(const char *listName, int row) const
    {
        QListView *view = list(listName);
        view->setFocus();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    void key(const char *listName, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QListView *view = list(listName);
        view->setFocus();
        QTest::keyClick(view, key, modifiers);
    }
    void trigger(const char *command) const
    {
        window->commandSet()->action(QString::fromUtf8(command))->trigger();
    }

    QTabWidget *tabs() const { return window->findChild<QTabWidget *>(QStringLiteral("brwTabs")); }
    // The page on view: the top page of the current tab.
    QWebEngineView *onView() const
    {
        QTabWidget *t = tabs();
        QWidget *tab = t ? t->currentWidget() : nullptr;
        auto *stack = tab ? qobject_cast<QStackedLayout *>(tab->layout()) : nullptr;
        return stack ? qobject_cast<QWebEngineView *>(stack->currentWidget()) : nullptr;
    }
    QByteArray pathOnView() const
    {
        const QWebEngineView *view = onView();
        return view ? view->url().toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) : "";
    }
    // The page on view shows the path and has loaded it.
    bool shows(const QByteArray &path) const
    {
        return pathOnView() == path && window->statusText() == u"Navigation Complete"
                && !onView()->page()->isLoading();
    }
    // Runs script in the page on view and waits for its result.
    QVariant run(const QString &script) const
    {
        QVariant result;
        bool done = false;
        onView()->page()->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 20000))
            return QStringLiteral("<no answer>");
        return result;
    }

    QTemporaryDir folder;
    QTemporaryDir data;
    FakePrompts *prompts = nullptr;
    QStringList errors;
    QStringList launched;
    qint64 nowMs = 0;
    std::unique_ptr<TfrmMain> window;
};

// The test's main: a home of its own for the engine and the settings, the program's names,
// the engine plugin from the build, and the OpenGL context shared with the engine made as the
// program makes it.
#define GL_WEB_TEST_MAIN(TestClass) \
    int main(int argc, char *argv[]) \
    { \
        QTemporaryDir home; \
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) \
            qputenv(name, QDir(home.path()).filePath(QString::fromLatin1(name)).toUtf8()); \
        PrepareBrowserEngine(SharedContext::ByProgram); \
        QApplication app(argc, argv); \
        SharedContextMaker sharedContext; \
        sharedContext.install(); \
        QApplication::setApplicationName(QStringLiteral("GlenLantern")); \
        QApplication::setOrganizationName(QStringLiteral("glenlantern")); \
        QCoreApplication::addLibraryPath(QStringLiteral(GL_BINARY_DIR)); \
        TestClass test; \
        return QTest::qExec(&test, argc, argv); \
    }
