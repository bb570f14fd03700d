// SPDX-License-Identifier: GPL-3.0-or-later
// The real browser pane against a local server: searches, history, tabs, downloads, the find
// bar, the profile, permissions and the clipboard keys in a page.
#include "LocalWebServer.h"
#include "Text.h"
#include "WebPaneFixture.h"

#include "CaseRecorder.h"
#include "EntryList.h"

#include <QClipboard>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QOpenGLContext>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QWebEngineHistory>

using Response = LocalWebServer::Response;

namespace {

// "Local=<server>/s?q=|s|": every search is a page titled by its term.
QByteArray searchService(const LocalWebServer &server, const QByteArray &path = "/s?q=")
{
    return "Local=" + server.base() + path + "|s|";
}

QWidget *pageWidget(const WebPaneFixture &f)
{
    return f.onView()->focusProxy();
}

} // namespace

class TestWebPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sharedContext();
    void searchReachesTheServer();
    void backAndForward_data();
    void backAndForward();
    void newWindowsOpenAsTabs_data();
    void newWindowsOpenAsTabs();
    void tabKeys();
    void download_data();
    void download();
    void findBar();
    void cookiesPersist_data();
    void cookiesPersist();
    void profileNotKept();
    void permissions_data();
    void permissions();
    void login_data();
    void login();
    void clipboardKeysInPage_data();
    void clipboardKeysInPage();
    void paneKeys_data();
    void paneKeys();
    void contextMenuItems();
    void catalogue();
    void addSiteSearch();
    void certificateQuestion_data();
    void certificateQuestion();
    void pageStatus_data();
    void pageStatus();
};

// The context made on a thread is the windows' own, as the application object's would be:
// made current anywhere else, Qt refuses it.
void TestWebPane::sharedContext()
{
    const QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    QVERIFY(shared);
    QCOMPARE(shared->thread(), qApp->thread());
}

void TestWebPane::searchReachesTheServer()
{
    LocalWebServer server;
    WebPaneFixture f;
    f.start({searchService(server)}, {"red car"});
    f.click("lstbxTerms", 0);
    QCOMPARE(f.window->statusText(), QStringLiteral("Navigating..."));
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=red+car"), 60000);
    QCOMPARE(server.requests.first().path, QByteArray("/s?q=red+car"));
    QVERIFY(f.errors.isEmpty());
}

void TestWebPane::backAndForward_data()
{
    QTest::addColumn<bool>("ahead");
    QTest::addColumn<QString>("how");
    for (bool ahead : {true, false}) {
        for (const char *how : {"Alt+arrows", "mouse buttons", "context menu"})
            QTest::addRow("%s, %s", how, ahead ? "loading ahead" : "no loading ahead")
                    << ahead << QString::fromLatin1(how);
    }
}

// Back and forward after two searches, from the list the user walks.
void TestWebPane::backAndForward()
{
    QFETCH(bool, ahead);
    QFETCH(QString, how);
    LocalWebServer server;
    WebPaneFixture f;
    f.start({searchService(server)}, {"one", "two"});
    if (!ahead)
        f.trigger("actLoadAhead");
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=one"), 60000);
    // The first search is the first step: nothing (not the engine's empty page) before it.
    QVERIFY(!f.window->findChild<QAction *>("brwBack")->isEnabled());
    f.click("lstbxTerms", 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=two"), 30000);
    const auto go = [&](bool back) {
        if (how == u"Alt+arrows")
            f.key("lstbxTerms", back ? Qt::Key_Left : Qt::Key_Right, Qt::AltModifier);
        else if (how == u"mouse buttons")
            QTest::mouseClick(pageWidget(f), back ? Qt::BackButton : Qt::ForwardButton);
        else
            f.window->findChild<QAction *>(back ? "brwBack" : "brwForward")->trigger();
    };
    go(true);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=one"), 30000);
    go(false);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=two"), 30000);
    if (ahead) // the pages were kept: neither was asked for again
        QCOMPARE(server.pathsFor("/s?q="), (QByteArrayList {"/s?q=one", "/s?q=two"}));
    QVERIFY(f.errors.isEmpty());
}

void TestWebPane::newWindowsOpenAsTabs_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("modifiers"); // with Enter on the element "go"; -1 for no key
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("shown");
    QTest::newRow("target=_blank link")
            << QByteArray("<a id=go target=_blank href='/second'>second</a>") << int(Qt::NoModifier)
            << true << true;
    QTest::newRow("window.open on a click")
            << QByteArray("<button id=go onclick=\"window.open('/second')\">open</button>")
            << int(Qt::NoModifier) << true << true;
    QTest::newRow("link to a new tab behind, as a middle click")
            << QByteArray("<a id=go href='/second'>second</a>") << int(Qt::ControlModifier) << true
            << false;
    QTest::newRow("window.open without a click")
            << QByteArray("<script>window.open('/second')</script><p>nothing</p>") << -1 << false
            << false;
}

void TestWebPane::newWindowsOpenAsTabs()
{
    QFETCH(QByteArray, page);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    QFETCH(bool, shown);
    LocalWebServer server([&](const LocalWebServer::Request &r) {
        return LocalWebServer::page(r.path.startsWith("/second") ? "Second" : "First", page);
    });
    WebPaneFixture f;
    f.start({searchService(server)}, {"first"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=first"), 60000);
    QVERIFY(!f.tabs()->tabBar()->isVisible()); // one page: no tab bar
    if (modifiers >= 0) {
        f.onView()->setFocus();
        QTRY_VERIFY(pageWidget(f)->hasFocus());
        // Under load the page takes its time to move its focus: the key waits for it.
        QTRY_COMPARE_WITH_TIMEOUT(
                f.run(QStringLiteral("go.focus(); document.activeElement.id")).toString(),
                QStringLiteral("go"), 20000);
        QTest::keyClick(pageWidget(f), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
        QTRY_COMPARE_WITH_TIMEOUT(f.tabs()->count(), 2, 30000);
    } else {
        QTest::qWait(1000);
    }
    QCOMPARE(f.tabs()->count(), opens ? 2 : 1);
    if (!opens)
        return;
    QVERIFY(f.tabs()->tabBar()->isVisible());
    QCOMPARE(f.tabs()->currentIndex(), shown ? 1 : 0);
    f.tabs()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/second"), 30000);
    QTRY_COMPARE(f.tabs()->tabText(1), QStringLiteral("Second"));
    // Go shows its search in the current tab.
    f.trigger("actGo");
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=first"), 30000);
    QCOMPARE(f.tabs()->count(), 2);
}

// Ctrl+Tab and Ctrl+Shift+Tab switch tabs, a middle click on a tab and Ctrl+W close one; the tab
// bar goes with the last but one.
void TestWebPane::tabKeys()
{
    LocalWebServer server;
    WebPaneFixture f;
    f.start({"A=" + server.base() + "/a?|s|", "B=" + server.base() + "/b?|s|",
             "C=" + server.base() + "/c?|s|"},
            {"x"});
    f.window->terms().list.SelectLine(0);
    f.trigger("actSearchAllServices");
    QCOMPARE(f.tabs()->count(), 4);
    QCOMPARE(f.tabs()->currentIndex(), 1);
    QWidget *list = f.list("lstbxTerms");
    const QList<std::pair<QKeyCombination, int>> steps = {
            {Qt::CTRL | Qt::Key_Tab, 2},
            {Qt::CTRL | Qt::Key_Tab, 3},
            {Qt::CTRL | Qt::Key_Tab, 0},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 3},
    };
    for (const auto &[key, index] : steps) {
        QTest::keyClick(list, key.key(), key.keyboardModifiers());
        QCOMPARE(f.tabs()->currentIndex(), index);
    }
    QTabBar *bar = f.tabs()->tabBar();
    QTest::mouseClick(bar, Qt::MiddleButton, {}, bar->tabRect(1).center());
    QCOMPARE(f.tabs()->count(), 3);
    QTest::keyClick(list, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(f.tabs()->count(), 1);
    QVERIFY(!bar->isVisible());
    QTest::keyClick(list, Qt::Key_W, Qt::ControlModifier); // the last page stays
    QCOMPARE(f.tabs()->count(), 1);
}

void TestWebPane::download_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("cancelWhileLoading");
    QTest::addColumn<bool>("hostile"); // named by a path, saved over a program of the user's
    QTest::newRow("saved byte for byte") << true << false << false;
    QTest::newRow("save dialog cancelled") << false << false << false;
    QTest::newRow("cancelled while it loads") << true << true << false;
    QTest::newRow("named by a path, over a program") << true << false << true;
}

void TestWebPane::download()
{
    QFETCH(bool, save);
    QFETCH(bool, cancelWhileLoading);
    QFETCH(bool, hostile);
    QByteArray bytes(300 * 1024, Qt::Uninitialized);
    QRandomGenerator random(17);
    for (char &c : bytes)
        c = char(random.bounded(256));
    LocalWebServer server([&](const LocalWebServer::Request &) {
        Response r;
        r.contentType = "application/octet-stream";
        r.extraHeaders = QByteArray("Content-Disposition: attachment; filename=\"")
                + (hostile ? "../.config/autostart/evil.desktop" : "data.bin") + "\"\r\n";
        r.body = bytes;
        r.stallAfter = cancelWhileLoading ? 100 * 1024 : -1;
        return r;
    });
    QTemporaryDir saved;
    const QString target = saved.filePath(QStringLiteral("kept.bin"));
    if (hostile) {
        QFile program(target);
        QVERIFY(program.open(QIODevice::WriteOnly));
        QVERIFY(program.setPermissions(program.permissions() | QFile::ExeOwner | QFile::ExeUser));
    }
    WebPaneFixture f;
    f.start({"Files=" + server.base() + "/file?|s|"}, {"x"});
    f.prompts
            ->expectSaveAs(QStringLiteral("Save Download"),
                           save ? std::optional<QString>(target) : std::nullopt)
            .startingWith(QDir(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation))
                                  .filePath(hostile ? "evil.desktop" : "data.bin"));
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.prompts->pending() == 0, 60000);
    QVERIFY(f.prompts->verifyDone());
    auto *row = f.window->findChild<QWidget *>(QStringLiteral("download"));
    if (!save) {
        QTest::qWait(500);
        QVERIFY(!row);
    } else if (cancelWhileLoading) {
        auto *text = row->findChild<QLabel *>(QStringLiteral("downloadText"));
        QTRY_VERIFY_WITH_TIMEOUT(text->text().contains(u"KB"), 30000);
        QTest::mouseClick(row->findChild<QPushButton *>(QStringLiteral("downloadCancel")),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(text->text().endsWith(u"cancelled"), 30000);
        QTest::qWait(500);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(
                row->findChild<QPushButton *>(QStringLiteral("downloadOpen"))->isVisible(), 30000);
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == bytes);
        QCOMPARE(file.permissions() & (QFile::ExeOwner | QFile::ExeUser), QFile::Permissions());
        QCOMPARE(row->findChild<QLabel *>(QStringLiteral("downloadText"))->text(),
                 QStringLiteral("kept.bin: done, 300 KB"));
        QVERIFY(!row->findChild<QPushButton *>(QStringLiteral("downloadCancel"))->isVisible());
    }
    // Nothing else was left in the folder: no file under the final name unless saved whole,
    // and no part of one under another name.
    const QStringList left = QDir(saved.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, save && !cancelWhileLoading ? QStringList {"kept.bin"} : QStringList());
}

void TestWebPane::findBar()
{
    LocalWebServer server([](const LocalWebServer::Request &) {
        return LocalWebServer::page("Fruit", "<p>apple banana apple cherry apple</p>");
    });
    WebPaneFixture f;
    f.start({searchService(server)}, {"fruit"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=fruit"), 60000);
    auto *bar = f.window->findChild<QWidget *>(QStringLiteral("brwFindBar"));
    auto *edit = bar->findChild<QLineEdit *>(QStringLiteral("findEdit"));
    auto *result = bar->findChild<QLabel *>(QStringLiteral("findResult"));
    f.key("lstbxTerms", Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->isVisible());
    QVERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("apple"));
    QTRY_COMPARE_WITH_TIMEOUT(result->text(), QStringLiteral("1 of 3"), 10000);
    const QList<std::tuple<Qt::Key, Qt::KeyboardModifiers, QString>> steps = {
            {Qt::Key_F3, {}, QStringLiteral("2 of 3")},
            {Qt::Key_Return, {}, QStringLiteral("3 of 3")},
            {Qt::Key_F3, Qt::ShiftModifier, QStringLiteral("2 of 3")},
    };
    for (const auto &[key, modifiers, expected] : steps) {
        QTest::keyClick(edit, key, modifiers);
        QTRY_COMPARE_WITH_TIMEOUT(result->text(), expected, 10000);
    }
    QTest::keyClicks(edit, QStringLiteral("zebra"));
    QTRY_COMPARE_WITH_TIMEOUT(result->text(), QStringLiteral("No matches"), 10000);
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
}

void TestWebPane::cookiesPersist_data()
{
    QTest::addColumn<QByteArray>("cookie");
    QTest::addColumn<bool>("privateFirst");
    QTest::addColumn<bool>("privateThen");
    QTest::addColumn<bool>("clear"); // Clear Browsing Data after the login
    QTest::addColumn<QByteArray>("sent");
    const QByteArray lasting = "; Max-Age=86400";
    QTest::newRow("a login's session cookie stays")
            << QByteArray("sid=1") << false << false << false << QByteArray("sid=1");
    QTest::newRow("a lasting cookie stays")
            << "keep=2" + lasting << false << false << false << QByteArray("keep=2");
    QTest::newRow("private browsing keeps nothing")
            << QByteArray("sid=3") << true << true << false << QByteArray();
    QTest::newRow("private browsing sees nothing kept")
            << QByteArray("sid=4") << false << true << false << QByteArray();
    QTest::newRow("private browsing leaves nothing")
            << QByteArray("sid=5") << true << false << false << QByteArray();
    QTest::newRow("browsing data cleared")
            << "keep=6" + lasting << false << false << true << QByteArray();
}

// A cookie set by a site is sent again by a pane with a new profile, as after a restart.
void TestWebPane::cookiesPersist()
{
    QFETCH(QByteArray, cookie);
    QFETCH(bool, privateFirst);
    QFETCH(bool, privateThen);
    QFETCH(bool, clear);
    QFETCH(QByteArray, sent);
    LocalWebServer server([&](const LocalWebServer::Request &r) {
        Response page = LocalWebServer::page("Page");
        if (r.path.contains("login"))
            page.extraHeaders = "Set-Cookie: " + cookie + "; Path=/\r\n";
        return page;
    });
    WebPaneFixture f;
    QSettings().setValue(QStringLiteral("Browser/LoadAhead"), false);
    const bool privateRuns[] = {privateFirst, privateThen};
    for (int run = 0; run < 2; ++run) {
        QSettings().setValue(QStringLiteral("Browser/Private"), privateRuns[run]);
        f.start({searchService(server)}, {"login", "check"});
        QCOMPARE(f.window->findChild<QLabel *>(QStringLiteral("PrivateMark"))->isVisible(),
                 privateRuns[run]);
        f.click("lstbxTerms", run); // logs in, then checks
        QTRY_VERIFY_WITH_TIMEOUT(f.window->statusText() == u"Navigation Complete", 60000);
        if (clear && run == 0) {
            f.prompts->expectOkCancel(QStringLiteral("Clear the cookies, cache and history of the "
                                                     "browser pane? Sites you are logged in to "
                                                     "will ask you to log in again."),
                                      true);
            f.trigger("actClearBrowsingData");
            QVERIFY(f.prompts->verifyDone());
            QVERIFY(!f.onView()->history()->canGoBack());
        }
        f.stop();
    }
    const QList<LocalWebServer::Request> checks = server.requestsFor("/s?q=check");
    QCOMPARE(checks.size(), 1);
    QCOMPARE(checks.first().header("Cookie"), sent);
    if (privateFirst && privateThen) { // nothing written to disk at all
        QDirIterator written(f.data.path(), QDir::Files | QDir::Hidden,
                             QDirIterator::Subdirectories);
        QVERIFY2(!written.hasNext(), qPrintable(written.hasNext() ? written.next() : QString()));
    }
}

// A profile folder that cannot be made is said once, in the status line.
void TestWebPane::profileNotKept()
{
    WebPaneFixture f;
    qputenv("XDG_DATA_HOME", "/dev/null"); // no folder below it, for root too
    f.start({}, {});
    QTRY_COMPARE(f.window->statusBar()->currentMessage(),
                 QStringLiteral("Browsing data is not kept. Cannot create folder \"/dev/null/"
                                "glenlantern/GlenLantern/browser\". Not a directory"));
    QSignalSpy said(f.window->statusBar(), &QStatusBar::messageChanged);
    f.trigger("actPrivateBrowsing");
    f.trigger("actPrivateBrowsing");
    QCOMPARE(said.count(), 0);
}

void TestWebPane::permissions_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("wants"); // the question asked; empty for none
    QTest::addColumn<bool>("allow");
    QTest::addColumn<QString>("outcome");
    const QString notify
            = QStringLiteral("Notification.requestPermission().then(p => document.title = p)");
    const QString location = QStringLiteral(
            "navigator.geolocation.getCurrentPosition(() => document.title = 'granted',"
            " e => document.title = 'error ' + e.code)");
    QTest::newRow("notifications unanswered")
            << notify << "show notifications" << false << "denied";
    QTest::newRow("notifications allowed") << notify << "show notifications" << true << "granted";
    QTest::newRow("location unanswered") << location << "know your location" << false << "error 1";
    QTest::newRow("clipboard reading, never asked")
            << QStringLiteral("navigator.clipboard.readText()"
                              ".then(() => document.title = 'read', () => document.title = 'no')")
            << "" << false << "no";
}

void TestWebPane::permissions()
{
    QFETCH(QString, script);
    QFETCH(QString, wants);
    QFETCH(bool, allow);
    QFETCH(QString, outcome);
    LocalWebServer server;
    WebPaneFixture f;
    f.start({searchService(server)}, {"ask"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=ask"), 60000);
    if (!wants.isEmpty())
        f.prompts->expectRisk(QStringLiteral("Permission Request"),
                              QStringLiteral("The site %1 wants to %2.\n\nAllow it?")
                                      .arg(QString::fromLatin1(server.base()), wants),
                              allow);
    f.run(script);
    QTRY_COMPARE_WITH_TIMEOUT(f.onView()->title(), outcome, 20000);
    QVERIFY(f.prompts->verifyDone());
}

void TestWebPane::login_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("ahead"); // a second term, loaded ahead, asks once it is shown
    QTest::newRow("logged in") << true << "reader:secret"
                               << "Welcome" << false;
    QTest::newRow("wrong password, then cancelled") << true << "reader:guess"
                                                    << "Refused" << false;
    QTest::newRow("cancelled") << false << ""
                               << "Refused" << false;
    QTest::newRow("cancelled, the page loaded ahead asks when shown") << false << ""
                                                                      << "Refused" << true;
}

// A site that asks for a user name and password (HTTP authentication) gets them from the user.
void TestWebPane::login()
{
    QFETCH(bool, answer);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    QFETCH(bool, ahead);
    LocalWebServer server([](const LocalWebServer::Request &r) {
        if (r.header("Authorization") == "Basic " + QByteArray("reader:secret").toBase64())
            return LocalWebServer::page("Welcome");
        Response refused = LocalWebServer::page("Refused");
        refused.status = "401 Unauthorized";
        refused.extraHeaders = "WWW-Authenticate: Basic realm=\"Library\"\r\n";
        return refused;
    });
    WebPaneFixture f;
    f.start({searchService(server)}, ahead ? QByteArrayList {"journal", "next"} : QByteArrayList {"journal"});
    const QString message = QStringLiteral("The site 127.0.0.1 asks for a user name and "
                                           "password.\n\nIt says: Library");
    f.prompts->expectLogin(QStringLiteral("Log In"), message, answer, typed);
    if (answer && title == u"Refused") // asked again after a wrong password
        f.prompts->expectLogin(QStringLiteral("Log In"), message, false);
    f.click("lstbxTerms", 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.onView()->title(), title, 60000);
    QVERIFY(f.prompts->verifyDone());
    if (!ahead)
        return;
    QTRY_VERIFY_WITH_TIMEOUT(!server.requestsFor("/s?q=next").isEmpty(), 30000);
    QTest::qWait(500); // nobody is asked for a page nobody sees
    f.prompts->expectLogin(QStringLiteral("Log In"), message, false);
    f.key("lstbxTerms", Qt::Key_Down);
    QTRY_VERIFY_WITH_TIMEOUT(f.pathOnView() == "/s?q=next" && f.onView()->title() == title, 60000);
    QVERIFY(f.prompts->verifyDone());
}

void TestWebPane::clipboardKeysInPage_data()
{
    QTest::addColumn<QString>("select");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("console");
    const QString inField = QStringLiteral("q.focus(); q.select()");
    QTest::newRow("Ctrl+C in a field with its text selected")
            << inField << int(Qt::Key_C) << "hello world"
            << "hello world" << false;
    QTest::newRow("Ctrl+X in a field with its text selected")
            << inField << int(Qt::Key_X) << "hello world"
            << "" << false;
    QTest::newRow("Ctrl+C in a field without a selection")
            << QStringLiteral("q.focus()") << int(Qt::Key_C) << "before"
            << "hello world" << false;
    QTest::newRow("Ctrl+C on text selected in the page")
            << QStringLiteral("getSelection().selectAllChildren(p)") << int(Qt::Key_C)
            << "plain words"
            << "hello world" << false;
    QTest::newRow("Ctrl+C with nothing to copy is the console's")
            << QStringLiteral("document.activeElement.blur()") << int(Qt::Key_C) << "before"
            << "hello world" << true;
}

// Ctrl+C and Ctrl+X belong to the page when it has a selection or a field with the focus.
void TestWebPane::clipboardKeysInPage()
{
    QFETCH(QString, select);
    QFETCH(int, key);
    QFETCH(QString, clipboard);
    QFETCH(QString, field);
    QFETCH(bool, console);
    LocalWebServer server([](const LocalWebServer::Request &) {
        return LocalWebServer::page("Form",
                                    "<input id=q value='hello world'>"
                                    "<p id=p>plain words</p>");
    });
    WebPaneFixture f;
    f.start({searchService(server)}, {"form"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=form"), 60000);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    f.onView()->setFocus();
    QTRY_VERIFY(pageWidget(f)->hasFocus());
    f.run(select);
    if (clipboard != u"before") // the engine tells of the selection later under load
        QTRY_VERIFY_WITH_TIMEOUT(f.onView()->page()->hasSelection(), 20000);
    // The page tells where its focus is on its own time, later under load.
    if (console)
        QTest::qWait(200);
    else
        QTRY_VERIFY_WITH_TIMEOUT(
                f.onView()->page()->hasSelection()
                        || QApplication::focusWidget()->inputMethodQuery(Qt::ImEnabled).toBool(),
                20000);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::clipboard()->text(), clipboard, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(f.run(QStringLiteral("q.value")).toString(), field, 5000);
    QCOMPARE(f.window->console()->isVisible(), console);
}

void TestWebPane::paneKeys_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("expect");
    QTest::newRow("F5 reloads") << QKeyCombination(Qt::Key_F5) << 0 << "2 requests";
    QTest::newRow("Ctrl+Plus zooms in") << (Qt::CTRL | Qt::Key_Plus) << 0 << "zoom 1.1";
    QTest::newRow("Ctrl+Minus zooms out") << (Qt::CTRL | Qt::Key_Minus) << 0 << "zoom 0.9";
    QTest::newRow("Ctrl+0 resets the zoom") << (Qt::CTRL | Qt::Key_0) << 0 << "zoom 1";
    QTest::newRow("Escape stops a load") << QKeyCombination(Qt::Key_Escape) << 30000 << "stopped";
}

// The pane's keys reach it from the page: the command set leaves them free.
void TestWebPane::paneKeys()
{
    QFETCH(QKeyCombination, key);
    QFETCH(int, delayMs);
    QFETCH(QString, expect);
    LocalWebServer server([&](const LocalWebServer::Request &) {
        Response page = LocalWebServer::page("Page");
        page.delayMs = delayMs;
        return page;
    });
    WebPaneFixture f;
    f.start({searchService(server)}, {"k"});
    f.trigger("actLoadAhead");
    f.click("lstbxTerms", 0);
    if (delayMs == 0)
        QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=k"), 60000);
    else
        QTRY_VERIFY_WITH_TIMEOUT(server.inFlight == 1, 60000);
    f.onView()->setFocus();
    QTest::keyClick(pageWidget(f), key.key(), key.keyboardModifiers());
    if (expect == u"2 requests")
        QTRY_COMPARE_WITH_TIMEOUT(server.requestsFor("/s?q=k").size(), 2, 10000);
    else if (expect == u"stopped")
        QTRY_VERIFY_WITH_TIMEOUT(!f.onView()->page()->isLoading(), 10000);
    else
        QTRY_COMPARE(f.onView()->zoomFactor(), expect.mid(5).toDouble());
    QVERIFY(!f.window->console()->isVisible());
}

void TestWebPane::contextMenuItems()
{
    LocalWebServer server;
    WebPaneFixture f;
    f.start({searchService(server)}, {"menu"});
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=menu"), 60000);
    const QString address = QString::fromLatin1(server.base() + "/s?q=menu");
    f.window->findChild<QAction *>(QStringLiteral("brwOpenInBrowser"))->trigger();
    QCOMPARE(f.launched, QStringList {address});
    f.window->findChild<QAction *>(QStringLiteral("brwCopyAddress"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), address);
}

// The catalogue page: its links add a list's services to the service list, or load the list in
// its place as an untitled one, after asking about unsaved changes; the page stays.
void TestWebPane::catalogue()
{
    WebPaneFixture f;
    f.start({"Mine=https://example.org/?q=|s|"}, {"term"});
    f.trigger("actDlSrvLists");
    QTRY_VERIFY_WITH_TIMEOUT(
            f.pathOnView().endsWith("/catalogue.html") && !f.onView()->page()->isLoading(), 60000);
    QTRY_COMPARE(f.onView()->title(), QStringLiteral("Service Lists"));
    // The first list's link for the action: where it is on the screen and the file it names.
    const auto linkFor = [&](const char *action) {
        const QVariantList found
                = f.run(QStringLiteral(
                                "(() => { const a = document.querySelector("
                                "'a[href$=\"action=%1\"]'); a.scrollIntoView(); "
                                "const r = a.getBoundingClientRect(); "
                                "return [r.x + r.width / 2, r.y + r.height / 2, a.href]; })()")
                                .arg(QLatin1String(action)))
                          .toList();
        return std::pair {QPoint(found.value(0).toInt(), found.value(1).toInt()),
                          QUrl(found.value(2).toString()).toLocalFile()};
    };
    const auto [addAt, file] = linkFor("add");
    const QString title
            = f.run(QStringLiteral("document.querySelector('h2').textContent")).toString();
    QVERIFY2(file.endsWith(u".gls"), qPrintable(file));
    QList<QByteArray> expected {"Mine=https://example.org/?q=|s|"};
    for (const QByteArray &line : ReadListLines(file)) {
        if (!line.trimmed().isEmpty())
            expected.append(line);
    }
    QVERIFY(expected.size() > 2);

    QTest::mouseClick(pageWidget(f), Qt::LeftButton, {}, addAt);
    QTRY_COMPARE_WITH_TIMEOUT(f.window->services().list.Lines(), expected, 20000);
    QVERIFY(f.window->services().changed);
    QCOMPARE(f.window->statusBar()->currentMessage(),
             QStringLiteral("Added %1 services from \"%2\"").arg(expected.size() - 1).arg(title));
    QVERIFY(f.pathOnView().endsWith("/catalogue.html"));
    // The same again adds nothing twice.
    QTest::mouseClick(pageWidget(f), Qt::LeftButton, {}, addAt);
    QTRY_VERIFY_WITH_TIMEOUT(f.window->statusBar()->currentMessage().startsWith(u"Added 0 "),
                             20000);
    QCOMPARE(f.window->services().list.Lines(), expected);

    f.prompts->expectAnswer(QStringLiteral("Save changes to service list?"), Prompts::Answer::No);
    QTest::mouseClick(pageWidget(f), Qt::LeftButton, {}, linkFor("load").first);
    QTRY_COMPARE_WITH_TIMEOUT(f.window->services().list.Lines(), expected.mid(1), 20000);
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(!f.window->services().changed);
    QCOMPARE(f.window->services().file, QString()); // saved under a name of the user's
    QCOMPARE(f.window->statusBar()->currentMessage(),
             QStringLiteral("Loaded the service list \"%1\"").arg(title));
    QVERIFY(f.errors.isEmpty());
}

// A page's OpenSearch link becomes a service once the user agrees; a page without one, or a
// search the list holds already, adds nothing.
void TestWebPane::addSiteSearch()
{
    LocalWebServer server([](const LocalWebServer::Request &request) {
        Response response;
        if (request.path.startsWith("/osd.xml")) {
            response.contentType = "application/opensearchdescription+xml";
            response.body = "<?xml version=\"1.0\"?><OpenSearchDescription "
                            "xmlns=\"http://a9.com/-/spec/opensearch/1.1/\"><ShortName>Site "
                            "Search</ShortName><Url type=\"text/html\" "
                            "template=\"/find?q={searchTerms}\"/></OpenSearchDescription>";
        } else if (request.path.startsWith("/s?q=with")) {
            response.body = "<html><head><link rel=\"search\" title=\"Site\" "
                            "type=\"application/opensearchdescription+xml\" href=\"/osd.xml\">"
                            "</head><body>with</body></html>";
        } else {
            response.body = "<html><body>without</body></html>";
        }
        return response;
    });
    WebPaneFixture f;
    f.start({searchService(server)}, {"with", "without"});
    const QByteArray added = "Site Search=" + server.base() + "/find?q=|s|";
    const QString question = QStringLiteral("Add the search \"Site Search\" to the service list?"
                                            "\n\n%1/find?q=|s|")
                                     .arg(QString::fromLatin1(server.base()));
    f.click("lstbxTerms", 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.shows("/s?q=with"), 60000);
    f.prompts->expectOkCancel(question, false);
    f.trigger("actAddSiteSearch");
    QTRY_VERIFY2_WITH_TIMEOUT(f.prompts->pending() == 0, qPrintable(f.errors.join(u'\n')), 20000);
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.window->services().list.Count(), qsizetype(1));

    f.prompts->expectOkCancel(question, true);
    f.trigger("actAddSiteSearch");
    QTRY_COMPARE_WITH_TIMEOUT(f.window->services().list.Count(), qsizetype(2), 20000);
    QCOMPARE(f.window->services().list.LineAt(1), added);
    QCOMPARE(f.window->services().list.SelectedIndex(), qsizetype(1));
    QVERIFY(f.window->services().changed);

    f.prompts->expectNotice(
            QStringLiteral("The search \"Site Search\" is in the service list already."));
    f.trigger("actAddSiteSearch");
    QTRY_VERIFY2_WITH_TIMEOUT(f.prompts->pending() == 0, qPrintable(f.errors.join(u'\n')), 20000);
    QVERIFY(f.prompts->verifyDone());

    f.click("lstbxTerms", 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.pathOnView().startsWith("/find?q=without")
                                     && !f.onView()->page()->isLoading(),
                             60000);
    f.trigger("actAddSiteSearch");
    QTRY_COMPARE_WITH_TIMEOUT(f.errors.size(), 1, 20000);
    QVERIFY2(f.errors.first().contains(u"offers no search of its own"),
             qPrintable(f.errors.first()));
    QCOMPARE(f.window->services().list.Count(), qsizetype(2));
}

// TLS with the self-signed certificate for 127.0.0.1 in tests/data/tls.
static QSslConfiguration selfSigned()
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(
            QSslCertificate::fromPath(QStringLiteral(GL_TEST_DATA "/tls/cert.pem")).value(0));
    QFile key(QStringLiteral(GL_TEST_DATA "/tls/key.pem"));
    if (key.open(QIODevice::ReadOnly))
        tls.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    return tls;
}

void TestWebPane::certificateQuestion_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::newRow("refused: the page does not open") << false;
    QTest::newRow("accepted: the page opens") << true;
}

// A certificate that is not valid is a question naming the site; refusing is the default.
void TestWebPane::certificateQuestion()
{
    QFETCH(bool, goOn);
    LocalWebServer server(
            [](const LocalWebServer::Request &) { return LocalWebServer::page("Secret"); },
            selfSigned());
    WebPaneFixture f;
    f.start({"Secure=" + server.base() + "/s?q=|s|"}, {"in"});
    f.prompts->expectRisk(QStringLiteral("Certificate Not Valid"), QString(), goOn)
            .textStartingWith(QStringLiteral("The certificate of 127.0.0.1 is not valid: "));
    f.click("lstbxTerms", 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts->pending(), qsizetype(0), 60000);
    QVERIFY(f.prompts->verifyDone());
    QTRY_VERIFY_WITH_TIMEOUT(!f.onView()->page()->isLoading(), 60000);
    if (goOn)
        QTRY_COMPARE_WITH_TIMEOUT(f.onView()->title(), QStringLiteral("Secret"), 20000);
    QTest::qWait(300);
    QCOMPARE(!server.requests.isEmpty(), goOn);
    QCOMPARE(f.onView()->title() == u"Secret", goOn);
}

void TestWebPane::pageStatus_data()
{
    QTest::addColumn<QByteArray>("path");   // the service's; /moved redirects to /gone
    QTest::addColumn<QByteArray>("status"); // what the server answers at /gone and /s
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("outcome");   // as the case records it
    QTest::addColumn<int>("code");          // the status it records
    const QString loaded = QStringLiteral("loaded");
    // clang-format off
    QTest::newRow("a page") << QByteArray("/s?q=") << QByteArray("200 OK") << QByteArray("<title>Found</title>Found") << loaded << 200;
    QTest::newRow("404 with a page") << QByteArray("/s?q=") << QByteArray("404 Not Found") << QByteArray("<title>No such user</title>No such user") << loaded << 404;
    QTest::newRow("404 without a body") << QByteArray("/s?q=") << QByteArray("404 Not Found") << QByteArray() << loaded << 404;
    QTest::newRow("500 with a page") << QByteArray("/s?q=") << QByteArray("500 Internal Server Error") << QByteArray("<title>Oops</title>Oops") << loaded << 500;
    QTest::newRow("500 without a body") << QByteArray("/s?q=") << QByteArray("500 Internal Server Error") << QByteArray() << loaded << 500;
    QTest::newRow("redirected to a 404") << QByteArray("/moved?q=") << QByteArray("404 Not Found") << QByteArray("<title>Gone</title>") << loaded << 404;
    QTest::newRow("no server there") << QByteArray() << QByteArray() << QByteArray() << QStringLiteral("failed") << 0;
    // clang-format on
}

// A page that came is recorded as loaded with its HTTP status, whatever the status says; only a
// page that never came is failed.
void TestWebPane::pageStatus()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, outcome);
    QFETCH(int, code);
    LocalWebServer server([&](const LocalWebServer::Request &request) {
        Response response;
        response.status = status;
        response.body = body;
        if (request.path.startsWith("/moved")) {
            response.status = "302 Found";
            response.extraHeaders = "Location: /gone\r\n";
            response.body.clear();
        }
        return response;
    });
    WebPaneFixture f;
    // Port 1 of this machine: refused at once.
    f.start({path.isEmpty() ? QByteArray("Local=http://127.0.0.1:1/s?q=|s|") : searchService(server, path)}, {"x"});
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QStringLiteral("case")));
    f.trigger("actNewCase");
    f.click("lstbxTerms", 0);
    Cases::CaseEntry recorded;
    QTRY_VERIFY_WITH_TIMEOUT((f.window->caseRecorder()->openCase()->store().read([&](const Cases::CaseEntry &e) { recorded = e; }), !recorded.outcome.isEmpty()), 60000);
    QCOMPARE(recorded.outcome, outcome);
    QCOMPARE(recorded.status, code);
}

GL_WEB_TEST_MAIN(TestWebPane)
#include "tst_webpane.moc"
