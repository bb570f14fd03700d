// The real browser pane: a search reaches a local server and the status line follows the load.
#include "BrowserPane.h"
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "Main.h"

#include <QDir>
#include <QListView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

// Answers every request with a small page and keeps the request lines.
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
    QList<QByteArray> requests;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        requests.append(buffer.left(buffer.indexOf("\r\n")));
        const QByteArray body = "<html><body><h1>Result</h1></body></html>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                      "Content-Length: "
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

class TestWebPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchReachesTheServer();
};

void TestWebPane::searchReachesTheServer()
{
    RecordingServer server;
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    MainWindowParts parts;
    parts.prompts = std::make_unique<FakePrompts>();
    parts.browser = std::make_unique<WebBrowserPane>();
    parts.trayIcon = std::make_unique<FakeTrayIcon>();
    QStringList errors;
    parts.showError = [&](QWidget *, const QString &message) { errors.append(message); };
    parts.clockMs = [] { return qint64(0); };
    parts.openInDefaultBrowser = [](const QString &) { return false; };
    TfrmMain window(std::move(parts));
    QDir::setCurrent(previous);
    window.services().list.Append("Local=http://127.0.0.1:" + QByteArray::number(server.port())
                                  + "/s?q=|s|");
    window.terms().list.Append("red car");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *terms = window.findChild<QListView *>(QStringLiteral("lstbxTerms"));
    QTest::mouseClick(terms->viewport(), Qt::LeftButton, {},
                      terms->visualRect(terms->model()->index(0, 0)).center());
    QCOMPARE(window.statusText(), QStringLiteral("Navigating..."));
    QTRY_VERIFY_WITH_TIMEOUT(!server.requests.isEmpty(), 60000);
    QCOMPARE(server.requests.first(), QByteArray("GET /s?q=red%20car HTTP/1.1"));
    QTRY_COMPARE_WITH_TIMEOUT(window.statusText(), QStringLiteral("Navigation Complete"), 60000);
    QVERIFY(errors.isEmpty());
}

int main(int argc, char *argv[])
{
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    // The engine plugin is built beside the program, not beside the tests.
    QCoreApplication::addLibraryPath(QStringLiteral(GL_BINARY_DIR));
    TestWebPane test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_webpane.moc"
