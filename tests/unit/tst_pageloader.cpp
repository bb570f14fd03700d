// SPDX-License-Identifier: GPL-3.0-or-later
// The result matrix's loader against sites that misbehave, on a server of the test's own that
// sends exactly the bytes of each row: bodies and headers without end, redirect loops, broken
// framing, compression bombs, Retry-After values past any clock. Each must end as an error with
// its reason, soon, never as a verdict, and the matrix goes on.
#include "Matrix.h"
#include "NetworkPageLoader.h"
#include "LocalWebServer.h"
#include "RawWebServer.h"

#include <QSignalSpy>
#include <QTest>

class TestPageLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileSites_data();
    void hostileSites();
    void serviceLines_data();
    void serviceLines();
};

namespace {

QByteArray page(const QByteArray &head, const QByteArray &body)
{
    return "HTTP/1.1 " + head + "\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\n\r\n" + body;
}

// zlib's stream of the bytes: qCompress's without its length in front.
QByteArray deflated(const QByteArray &bytes)
{
    return qCompress(bytes).mid(4);
}

RawWebServer::Answer answerFor(const QByteArray &path)
{
    const QByteArray kind = path.split('/').value(1);
    const QByteArray piece(64 * 1024, 'a');
    if (kind == "endless-chunks")
        return {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "10000\r\n" + piece + "\r\n"};
    if (kind == "endless-close")
        return {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", piece};
    if (kind == "loop1" || kind == "loop2")
        return {"HTTP/1.1 302 Found\r\nLocation: /" + QByteArray(kind == "loop1" ? "loop2" : "loop1") + "/x\r\nContent-Length: 0\r\n\r\n"};
    if (kind == "header-line")
        return {page("200 OK\r\nX-Big: " + QByteArray(1024 * 1024, 'a'), "ok")};
    if (kind == "header-lines")
        return {page("200 OK\r\n" + QByteArray("X-A: b\r\n").repeated(200'000).chopped(2), "ok")};
    if (kind == "endless-header")
        return {"HTTP/1.1 200 OK\r\nX-Big: ", piece};
    if (kind == "endless-size")
        return {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", QByteArray(4096, '1')};
    if (kind == "bomb")
        return {page("200 OK\r\nContent-Encoding: deflate", deflated(QByteArray(16 * 1024 * 1024, ' ')))};
    if (kind == "deflate")
        return {page("200 OK\r\nContent-Encoding: deflate\r\nContent-Type: text/html", deflated("<p>Profile</p>"))};
    if (kind == "gzip-bad")
        return {page("200 OK\r\nContent-Encoding: gzip", "not gzip at all")};
    if (kind == "chunked")
        return {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4;ext=1\r\n<p>P\r\n9\r\nrofile</p\r\n1\r\n>\r\n0\r\nX-Trailer: 1\r\n\r\n"};
    if (kind == "cut")
        return {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nten bytes."};
    if (kind == "lengths")
        return {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nok!"};
    if (kind == "silent")
        return {};
    if (kind == "stall")
        return {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nten bytes.", {}, true};
    if (kind == "junk")
        return {"SSH-2.0-OpenSSH_9.2\r\n\r\n"};
    if (kind == "continue")
        return {"HTTP/1.1 100 Continue\r\n\r\n" + page("200 OK", "<p>Profile</p>")};
    if (kind == "retry-huge")
        return {page("429 Too Many Requests\r\nRetry-After: 9223372036854775807", "slow")};
    if (kind == "retry-big")
        return {page("429 Too Many Requests\r\nRetry-After: 18446744073709552", "slow")};
    if (kind == "retry-date")
        return {page("429 Too Many Requests\r\nRetry-After: Fri, 31 Dec 9999 23:59:59 GMT", "slow")};
    return {page("404 Not Found", "nothing")};
}

} // namespace

void TestPageLoader::hostileSites_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("reason"); // a part of the cell's reason
    QTest::addColumn<int>("requests");
    // clang-format off
    QTest::newRow("endless chunked body") << QByteArray("endless-chunks") << "error" << "larger than 4 MB" << 1;
    QTest::newRow("endless body until close") << QByteArray("endless-close") << "error" << "larger than 4 MB" << 1;
    QTest::newRow("redirect loop") << QByteArray("loop1") << "error" << "too many redirects" << 11;
    QTest::newRow("1 MB header line") << QByteArray("header-line") << "error" << "headers are larger than 256 KB" << 1;
    QTest::newRow("200,000 header lines") << QByteArray("header-lines") << "error" << "headers are larger than 256 KB" << 1;
    QTest::newRow("endless header line") << QByteArray("endless-header") << "error" << "headers are larger than 256 KB" << 1;
    QTest::newRow("endless chunk size") << QByteArray("endless-size") << "error" << "chunks" << 1;
    QTest::newRow("compression bomb") << QByteArray("bomb") << "error" << "larger than 4 MB" << 1;
    QTest::newRow("compressed page") << QByteArray("deflate") << "found" << "found rule" << 1;
    QTest::newRow("damaged gzip") << QByteArray("gzip-bad") << "error" << "compressed page is damaged" << 1;
    QTest::newRow("chunked page") << QByteArray("chunked") << "found" << "found rule" << 1;
    QTest::newRow("closed before the end") << QByteArray("cut") << "error" << "before the whole page came" << 1;
    QTest::newRow("two lengths") << QByteArray("lengths") << "error" << "two different lengths" << 1;
    QTest::newRow("closed without answer") << QByteArray("silent") << "error" << "without an answer" << 1;
    QTest::newRow("not HTTP") << QByteArray("junk") << "error" << "not HTTP" << 1;
    QTest::newRow("interim answer first") << QByteArray("continue") << "found" << "found rule" << 1;
    QTest::newRow("Retry-After past 64 bits") << QByteArray("retry-huge") << "blocked" << "longer than the 300 seconds" << 1;
    QTest::newRow("Retry-After past milliseconds") << QByteArray("retry-big") << "blocked" << "longer than the 300 seconds" << 1;
    QTest::newRow("Retry-After in year 9999") << QByteArray("retry-date") << "blocked" << "longer than the 300 seconds" << 1;
    // clang-format on
}

void TestPageLoader::hostileSites()
{
    QFETCH(QByteArray, kind);
    QFETCH(QString, result);
    QFETCH(QString, reason);
    QFETCH(int, requests);
    RawWebServer server(answerFor);
    NetworkPageLoader loader;
    // A second service on the same server shows the matrix going on past the hostile one.
    const QList<QByteArray> services = {"Hostile=" + server.base() + "/" + kind + "/|s|\tfound=!status:404",
                                        "Plain=" + server.base() + "/plain/|s|\tmissing=status:404"};
    MatrixRun run(services, {QStringLiteral("x")}, loader, {2, 8, 0});
    QSignalSpy finished(&run, &MatrixRun::Finished);
    run.Start();
    QVERIFY(finished.wait(40'000));
    const MatrixCell &cell = run.Cells().at(0);
    QCOMPARE(HitResultWord(cell.verdict.result), result);
    QVERIFY2(cell.verdict.reason.contains(reason), qPrintable(cell.verdict.reason));
    QCOMPARE(server.requests("/" + kind.left(4)), requests);
    QCOMPARE(HitResultWord(run.Cells().at(1).verdict.result), QStringLiteral("not found"));
}

// What a service line asks of the loader: its headers sent, a redirect taken as the answer, the
// page's markup read.
void TestPageLoader::serviceLines_data()
{
    QTest::addColumn<QByteArray>("tail"); // the service line after "S=<server>"
    QTest::addColumn<QString>("result");
    // clang-format off
    QTest::newRow("redirect taken as the answer") << QByteArray("/moved/|s|\tredirects=no\tfound=status:200\tmissing=status:302") << "not found";
    QTest::newRow("redirect followed") << QByteArray("/moved/|s|\tfound=status:200&text:Log in") << "found";
    QTest::newRow("url: reads where it points") << QByteArray("/moved/|s|\tredirects=no\tfound=status:200\tmissing=url:/login") << "not found";
    QTest::newRow("header sent") << QByteArray("/key/|s|\theader=X-Key: secret\tfound=text:Profile") << "found";
    QTest::newRow("header left out: refused") << QByteArray("/key/|s|\tfound=!status:404") << "blocked";
    QTest::newRow("JSON body") << QByteArray("/json\tpost={\"user\": \"|s|\"}\theader=Content-Type: application/json\tfound=text:\"found\": true") << "found";
    QTest::newRow("markup") << QByteArray("/markup/|s|\tfound=html:class=\"profile-card\"\tmissing=status:404") << "found";
    QTest::newRow("the term in the page") << QByteArray("/greet/|s|\tfound=text:Hello, \\|s\\|\tmissing=status:404") << "found";
    QTest::newRow("server error") << QByteArray("/broken/|s|\tfound=!status:404") << "error";
    QTest::newRow("challenge page") << QByteArray("/challenge/|s|\tfound=status:200\tblocked=text:Checking your browser") << "blocked";
    // clang-format on
}

void TestPageLoader::serviceLines()
{
    QFETCH(QByteArray, tail);
    QFETCH(QString, result);
    LocalWebServer server([](const LocalWebServer::Request &request) -> LocalWebServer::Response {
        if (request.path.startsWith("/moved/"))
            return {"302 Found", "text/html", "Location: /login\r\n", "Redirecting"};
        if (request.path == "/login")
            return {"200 OK", "text/html", {}, "<p>Log in</p>"};
        if (request.path.startsWith("/key/"))
            return request.header("X-Key") == "secret" ? LocalWebServer::Response {"200 OK", "text/html", {}, "<p>Profile</p>"}
                                                       : LocalWebServer::Response {"403 Forbidden", "text/html", {}, "no"};
        if (request.path == "/json" && request.method == "POST" && request.header("Content-Type") == "application/json")
            return {"200 OK", "application/json", {}, "{\"found\": true}"};
        if (request.path.startsWith("/markup/"))
            return {"200 OK", "text/html", {}, "<div class=\"profile-card\"></div>"};
        if (request.path.startsWith("/greet/"))
            return {"200 OK", "text/html", {}, "<p>Hello, " + request.path.mid(7) + "</p>"};
        if (request.path.startsWith("/broken/"))
            return {"500 Internal Server Error", "text/html", {}, "oops"};
        if (request.path.startsWith("/challenge/"))
            return {"200 OK", "text/html", {}, "<h1>Checking your browser...</h1>"};
        return {"404 Not Found", "text/html", {}, "none"};
    });
    NetworkPageLoader loader;
    MatrixRun run({"S=" + server.base() + tail}, {QStringLiteral("x")}, loader, {2, 8, 0});
    QSignalSpy finished(&run, &MatrixRun::Finished);
    run.Start();
    QVERIFY(finished.wait(20'000));
    QCOMPARE(HitResultWord(run.Cells().at(0).verdict.result), result);
}

QTEST_GUILESS_MAIN(TestPageLoader)
#include "tst_pageloader.moc"
