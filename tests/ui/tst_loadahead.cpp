// SPDX-License-Identifier: GPL-3.0-or-later
// Walking a list against a slow server: the next result is loaded ahead in the direction of
// the last step and shown at once; Search All opens a tab per search, four loading at a time;
// the engine starts before the first search.
#include "LocalWebServer.h"
#include "WebPaneFixture.h"

#include <QTabBar>

namespace {

constexpr int kServerDelayMs = 300;

// Every search answered after the delay with a page titled by its path.
LocalWebServer::Response slowPage(const LocalWebServer::Request &request)
{
    LocalWebServer::Response page = LocalWebServer::page(request.path);
    page.delayMs = request.path.startsWith("/favicon") ? 0 : kServerDelayMs;
    return page;
}

// The pages of the current tab other than the one on view.
QList<QWebEngineView *> hiddenPages(const WebPaneFixture &f)
{
    QList<QWebEngineView *> hidden;
    QWidget *tab = f.tabs()->currentWidget();
    for (QWebEngineView *view : tab->findChildren<QWebEngineView *>()) {
        if (view != f.onView() && view->isVisibleTo(tab)) // those closed are hidden first
            hidden.append(view);
    }
    return hidden;
}

// A hidden page has loaded the path.
bool readyAhead(const WebPaneFixture &f, const QByteArray &path)
{
    for (const QWebEngineView *view : hiddenPages(f)) {
        if (view->url().toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) == path
            && !view->page()->isLoading())
            return true;
    }
    return false;
}

} // namespace

class TestLoadAhead : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aheadFollowsTheStep_data();
    void aheadFollowsTheStep();
    void turnedOffLoadsNothingAhead();
    void fileAheadWaitsForTheStep_data();
    void fileAheadWaitsForTheStep();
    void searchAll_data();
    void searchAll();
};

void TestLoadAhead::aheadFollowsTheStep_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("pick");
    QTest::addColumn<int>("step"); // an arrow key after the pick, or 0
    QTest::addColumn<QByteArray>("ahead");
    QTest::addColumn<int>("next"); // the key that steps onto it
    const int down = Qt::Key_Down, up = Qt::Key_Up;
    QTest::newRow("first pick: the term below")
            << QByteArray("lstbxTerms") << 0 << 0 << QByteArray("/s0?q=t1") << down;
    QTest::newRow("a step down") << QByteArray("lstbxTerms") << 1 << down << QByteArray("/s0?q=t3")
                                 << down;
    QTest::newRow("a step up") << QByteArray("lstbxTerms") << 3 << up << QByteArray("/s0?q=t1")
                               << up;
    QTest::newRow("a step down the services")
            << QByteArray("lstbxServices") << 0 << down << QByteArray("/s2?q=t0") << down;
}

void TestLoadAhead::aheadFollowsTheStep()
{
    QFETCH(QByteArray, list);
    QFETCH(int, pick);
    QFETCH(int, step);
    QFETCH(QByteArray, ahead);
    QFETCH(int, next);
    LocalWebServer server(slowPage);
    WebPaneFixture f;
    QByteArrayList services;
    for (const char *name : {"s0", "s1", "s2"})
        services.append(QByteArray(name) + '=' + server.base() + '/' + name + "?q=|s|");
    f.start(services, {"t0", "t1", "t2", "t3", "t4"});
    f.click(list, pick);
    // Nothing ahead while the page on view loads.
    QTRY_COMPARE_WITH_TIMEOUT(server.inFlight, 1, 60000);
    QTest::qWait(kServerDelayMs / 2);
    QCOMPARE(server.requests.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.window->statusText() == u"Navigation Complete", 30000);
    if (step) {
        f.key(list, Qt::Key(step));
        QTRY_VERIFY_WITH_TIMEOUT(f.window->statusText() == u"Navigation Complete"
                                         && !f.onView()->page()->isLoading(),
                                 30000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(readyAhead(f, ahead), 30000);
    // The step onto it shows it at once, without asking the server again, and the window is
    // told which search came on view, loaded.
    QList<PaneOutcome> shown;
    QObject::connect(static_cast<BrowserPane *>(f.window->findChild<QWidget *>("brwEngine")),
                     &BrowserPane::pageShown, [&](const PaneOutcome &page) { shown.append(page); });
    f.key(list, Qt::Key(next));
    QVERIFY2(f.shows(ahead), f.pathOnView().constData());
    QCOMPARE(server.requestsFor(ahead).size(), 1);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().url.toEncoded().endsWith(ahead));
    QCOMPARE(shown.first().state, PaneOutcome::Loaded);
    // The page left is kept for a step back, beside the next one ahead, if any.
    QTest::qWait(1000);
    QVERIFY(!hiddenPages(f).isEmpty() && hiddenPages(f).size() <= 2);
    QVERIFY(f.errors.isEmpty());
}

void TestLoadAhead::turnedOffLoadsNothingAhead()
{
    LocalWebServer server(slowPage);
    {
        WebPaneFixture f;
        f.start({"s=" + server.base() + "/o?q=|s|"}, {"t0", "t1", "t2"});
        f.trigger("actLoadAhead");
        f.click("lstbxTerms", 0);
        QTRY_VERIFY_WITH_TIMEOUT(f.shows("/o?q=t0"), 60000);
        f.key("lstbxTerms", Qt::Key_Down);
        QTRY_VERIFY_WITH_TIMEOUT(f.shows("/o?q=t1"), 30000);
        QTest::qWait(3 * kServerDelayMs);
        QCOMPARE(server.pathsFor("/o"), (QByteArrayList {"/o?q=t0", "/o?q=t1"}));
        QVERIFY(hiddenPages(f).isEmpty());
        f.stop();
        // Remembered for the next start.
        f.start({}, {});
        QVERIFY(!f.window->commandSet()->action(QStringLiteral("actLoadAhead"))->isChecked());
    }
    WebPaneFixture fresh; // on by default
    fresh.start({}, {});
    QVERIFY(fresh.window->commandSet()->action(QStringLiteral("actLoadAhead"))->isChecked());
}

void TestLoadAhead::fileAheadWaitsForTheStep_data()
{
    QTest::addColumn<QByteArray>("redirect"); // the search answers with a redirect to the file
    QTest::newRow("the search answers with a file") << QByteArray();
    QTest::newRow("the search redirects to a file") << QByteArray("/files/t1.bin");
}

// A search loaded ahead that answers with a file offers nothing until the user steps onto it;
// then it is offered once.
void TestLoadAhead::fileAheadWaitsForTheStep()
{
    QFETCH(QByteArray, redirect);
    LocalWebServer server([&](const LocalWebServer::Request &request) {
        if (request.path == "/f?q=t1" && !redirect.isEmpty()) {
            LocalWebServer::Response moved;
            moved.status = "302 Found";
            moved.extraHeaders = "Location: " + redirect + "\r\n";
            return moved;
        }
        if (request.path == "/f?q=t1" || request.path == redirect) {
            LocalWebServer::Response file;
            file.contentType = "application/octet-stream";
            file.extraHeaders = "Content-Disposition: attachment; filename=\"t1.bin\"\r\n";
            file.body = "file";
            return file;
        }
        return LocalWebServer::page(request.path);
    });
    WebPaneFixture f;
    f.start({"s=" + server.base() + "/f?q=|s|"}, {"t0", "t1"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/f?q=t0"), 60000);
    const QByteArray last = redirect.isEmpty() ? QByteArray("/f?q=t1") : redirect;
    QTRY_VERIFY_WITH_TIMEOUT(!server.requestsFor(last).isEmpty(), 30000);
    QTest::qWait(1000); // no dialog comes (FakePrompts fails the test on one)
    QCOMPARE(f.prompts->calls().size(), qsizetype(0));

    f.prompts->expectSaveAs(QStringLiteral("Save Download"), std::nullopt);
    f.key("lstbxTerms", Qt::Key_Down);
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts->pending(), qsizetype(0), 30000);
    QTest::qWait(500);
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(f.errors.isEmpty());
}

void TestLoadAhead::searchAll_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("services");
    QTest::addColumn<int>("terms");
    QTest::addColumn<int>("ask");  // -1: no question; 0: refused; 1: accepted
    QTest::addColumn<int>("tabs"); // opened
    QTest::newRow("all services") << QByteArray("actSearchAllServices") << 12 << 3 << -1 << 12;
    QTest::newRow("all terms") << QByteArray("actSearchAllTerms") << 3 << 6 << -1 << 6;
    QTest::newRow("all of 21 terms, asked first")
            << QByteArray("actSearchAllTerms") << 1 << 21 << 1 << 21;
    QTest::newRow("all of 21 terms, refused")
            << QByteArray("actSearchAllTerms") << 1 << 21 << 0 << 0;
}

// One tab per search, titled by the service (or the term), at most four loading at once.
void TestLoadAhead::searchAll()
{
    QFETCH(QByteArray, command);
    QFETCH(int, services);
    QFETCH(int, terms);
    QFETCH(int, ask);
    QFETCH(int, tabs);
    LocalWebServer server(slowPage);
    WebPaneFixture f;
    QByteArrayList serviceLines, termLines;
    for (int i = 0; i < services; ++i)
        serviceLines.append("Service & " + QByteArray::number(i) + '=' + server.base() + "/a"
                            + QByteArray::number(i) + "?q=|s|");
    for (int i = 0; i < terms; ++i)
        termLines.append("term " + QByteArray::number(i));
    f.start(serviceLines, termLines);
    f.window->services().list.SelectLine(services - 1);
    f.window->terms().list.SelectLine(terms - 1);
    if (ask >= 0)
        f.prompts->expectOkCancel(QStringLiteral("This opens %1 tabs. Open them all?").arg(terms),
                                  ask == 1);
    f.trigger(command.constData());
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.tabs()->count(), 1 + tabs);
    for (int i = 0; i < tabs; ++i) {
        const bool allServices = command == "actSearchAllServices";
        const int s = allServices ? i : services - 1;
        const int t = allServices ? terms - 1 : i;
        const QByteArray path = "/a" + QByteArray::number(s) + "?q=term+" + QByteArray::number(t);
        QCOMPARE(f.tabs()->tabText(1 + i).replace(QStringLiteral("&&"), QStringLiteral("&")),
                 allServices ? QStringLiteral("Service & %1").arg(s)
                             : QStringLiteral("term %1").arg(t));
        auto *tab = f.tabs()->widget(1 + i);
        QTRY_VERIFY_WITH_TIMEOUT(
                tab->findChild<QWebEngineView *>()
                        && tab->findChild<QWebEngineView *>()->url().toEncoded().endsWith(path)
                        && !tab->findChild<QWebEngineView *>()->page()->isLoading(),
                60000);
        QCOMPARE(server.requestsFor(path).size(), 1);
    }
    QCOMPARE(server.requestsFor("/a").size(), tabs);
    QCOMPARE(server.maxInFlight, std::min(tabs, 4));
    QCOMPARE(f.tabs()->currentIndex(), tabs ? 1 : 0);
}

GL_WEB_TEST_MAIN(TestLoadAhead)
#include "tst_loadahead.moc"
