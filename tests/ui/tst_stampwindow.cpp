// SPDX-License-Identifier: GPL-3.0-or-later
// A case stamped from the window by a time-stamp authority of the test's own on 127.0.0.1 (tokens
// from `openssl ts -reply`), checked as --verify-case checks them: Stamp Now with the address kept
// or asked for, an authority that is down, mute, answers wrongly or sits behind the case's proxy;
// the stamps the case's settings ask for as the case closes, as the window closes, as another
// case opens, and before an export, which then carries the stamp.
#include "Case.h"
#include "CaseRecorder.h"
#include "CaseSettings.h"
#include "CaseStamper.h"
#include "CaseVerify.h"
#include "LocalTimestampAuthority.h"
#include "MainWindowFixture.h"
#include "TimestampClient.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTcpServer>
#include <QTimer>

using namespace Cases;
using Answer = LocalTimestampAuthority::Answer;

Q_DECLARE_METATYPE(LocalTimestampAuthority::Answer)

namespace {

// A case folder holding one search, opened in the window.
QString openCase(MainWindowFixture &f, const QString &name)
{
    const QString folder = f.folder.filePath(name);
    CaseEntry search;
    search.service = QStringLiteral("Web");
    search.address = QStringLiteral("http://127.0.0.1/?q=ledger");
    search.outcome = QString::fromLatin1(kLoaded);
    Case::openFolder(folder, Case::Access::Write)->appendSearch(search);
    f.prompts->expectCase(folder);
    f.window->commandSet()->action(QStringLiteral("actOpenCase"))->trigger();
    return folder;
}

// The case's stamps, and whether verify holds with the CA; from the window's case while open.
std::pair<int, bool> stampsIn(MainWindowFixture &f, const QString &folder, const QString &caFile)
{
    std::unique_ptr<Case> closed;
    const Case *c = f.window->caseRecorder()->openCase();
    if (!c || c->info().location != folder)
        c = (closed = Case::openFolder(folder, Case::Access::ReadOnly)).get();
    int stamps = 0;
    c->store().read([&](const CaseEntry &) { ++stamps; }, CaseStore::Order::Sequence,
                    QString::fromLatin1(kStamp));
    return {stamps, VerifyCase(c->store(), caFile).holds()};
}

} // namespace

class TestStampWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalTimestampAuthority> m_tsa;

private Q_SLOTS:
    void initTestCase() { m_tsa = std::make_unique<LocalTimestampAuthority>(); }
    void stamps_data();
    void stamps();
};

void TestStampWindow::stamps_data()
{
    QTest::addColumn<QString>("how");  // a command, the window closed, another case opened
    QTest::addColumn<bool>("onClose"); // the case's setting
    // The authority's address: kept with the case, asked for, down, mute (never answers),
    // behind the case's proxy.
    QTest::addColumn<QString>("authority");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("says"); // the status line, once the stamp has ended
    QTest::addColumn<int>("stamps");
    // clang-format off
    QTest::newRow("Stamp Now") << "actStampNow" << false << "kept" << Answer::Good << "Stamped at " << 1;
    QTest::newRow("Stamp Now, address asked for") << "actStampNow" << false << "asked" << Answer::Good << "Stamped at " << 1;
    QTest::newRow("Stamp Now, authority down") << "actStampNow" << false << "down" << Answer::Good << "No stamp from http://127.0.0.1:" << 0;
    QTest::newRow("Stamp Now, another hash") << "actStampNow" << false << "kept" << Answer::OtherHash << "The stamp from http://127.0.0.1:" << 0;
    QTest::newRow("Stamp Now, refused") << "actStampNow" << false << "kept" << Answer::Refusal << "The stamp from http://127.0.0.1:" << 0;
    QTest::newRow("Stamp Now, behind the proxy") << "actStampNow" << false << "proxy" << Answer::Good << "No stamp from http://127.0.0.1:" << 0;
    QTest::newRow("Close Case") << "actCloseCase" << true << "kept" << Answer::Good << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("Close Case, authority down") << "actCloseCase" << true << "down" << Answer::Good << "The case \"c\" is closed. No stamp from" << 0;
    QTest::newRow("Close Case, not asked for") << "actCloseCase" << false << "kept" << Answer::Good << "" << 0;
    QTest::newRow("window closed") << "window" << true << "kept" << Answer::Good << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("window closed, authority mute") << "window" << true << "mute" << Answer::Good << "The case \"c\" is closed. No stamp from http://127.0.0.1:" << 0;
    QTest::newRow("another case opened") << "switch" << true << "kept" << Answer::Good << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("export") << "actExportCase" << true << "kept" << Answer::Good << "Stamped at " << 1;
    QTest::newRow("export, authority down") << "actExportCase" << true << "down" << Answer::Good << "No stamp from" << 0;
    // clang-format on
}

void TestStampWindow::stamps()
{
    QFETCH(QString, how);
    QFETCH(bool, onClose);
    QFETCH(QString, authority);
    QFETCH(Answer, answer);
    QFETCH(QString, says);
    QFETCH(int, stamps);
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    f.stampSender = [](const ProxySetting &p) { return std::make_unique<TimestampClient>(p); };
    const auto server = m_tsa->serve(answer);
    if (authority == u"mute")
        server->setHandler([](const LocalWebServer::Request &) {
            LocalWebServer::Response never;
            never.delayMs = 600'000;
            return never;
        });
    QString url = QString::fromLatin1(server->base()) + QStringLiteral("/tsa");
    if (authority == u"down") {
        QTcpServer gone; // the port is free again once it goes
        QVERIFY(gone.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/tsa").arg(gone.serverPort());
    }
    // A proxy that lets nothing through: the query reaches it and nothing else.
    LocalWebServer proxy([](const LocalWebServer::Request &) {
        LocalWebServer::Response refused;
        refused.status = "403 Forbidden";
        return refused;
    });
    const QString c = openCase(f, QStringLiteral("c"));
    CaseSettings settings = CaseSettings::read(c);
    settings.setValue(QLatin1StringView(kAuthoritySetting),
                      authority == u"asked" ? QString() : url);
    settings.setFlag(QLatin1StringView(kStampOnCloseSetting), onClose);
    if (authority == u"proxy")
        settings.setValue(QLatin1StringView(kProxySetting),
                          QStringLiteral("http://127.0.0.1:%1").arg(proxy.port()));
    settings.save();
    const auto *mark = f.window->findChild<QLabel *>(QStringLiteral("CaseMark"));
    f.window->caseRecorder()->caseChanged();
    QCOMPARE(mark->text().contains(u"Stamps on close/export"), onClose);
    if (authority == u"asked") {
        QTimer::singleShot(0, [url] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QLineEdit *>(QStringLiteral("txtAuthority"))->setText(url);
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
    }

    QSignalSpy ended(f.window->caseStamper(), &CaseStamper::ended);
    QSignalSpy closed(f.window.get(), &TfrmMain::closed);
    const QString report = f.folder.filePath(QStringLiteral("report.html"));
    if (how == u"actExportCase") {
        f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Export Case"), report);
        f.prompts->expectNotice({}).textStartingWith(
                QStringLiteral("The case was written to \"%1\".\n%2").arg(report, says));
    }
    if (how == u"window")
        f.window->close();
    else if (how == u"switch")
        openCase(f, QStringLiteral("d"));
    else
        f.window->commandSet()->action(how)->trigger();
    QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join(u'\n')));
    // A closing case leaves the window at once; the program ends once its stamp has ended.
    const bool stillOpen = how == u"actStampNow" || how == u"actExportCase";
    QCOMPARE(f.window->caseRecorder()->folder() == c, stillOpen);
    QCOMPARE(closed.size(), 0);
    const bool asked = how == u"actStampNow" || onClose;
    QCOMPARE(ended.wait(asked ? 20000 : 100), asked);
    const QString said = f.window->statusBar()->currentMessage();
    QCOMPARE(said.left(says.size()), says);
    if (how == u"window")
        QTRY_COMPARE(closed.size(), 1);
    QCOMPARE(f.busLeft, int(how == u"window")); // a start meanwhile is another program's
    if (how == u"actExportCase") {
        // The export runs on a worker; its notice comes when the file is whole.
        QTRY_COMPARE_WITH_TIMEOUT(f.prompts->pending(), 0, 20000);
        QVERIFY(QFile::exists(report));
        QVERIFY(f.prompts->verifyDone());
        QCOMPARE(f.readFile(QStringLiteral("report.html")).contains(url.toUtf8()), stamps == 1);
    }
    QCOMPARE(stampsIn(f, c, m_tsa->caFile()), std::make_pair(stamps, true));
    QCOMPARE(mark->text().contains(u"Last stamp"), stillOpen && stamps == 1);
    QCOMPARE(CaseSettings::read(c).value(QLatin1StringView(kAuthoritySetting)), url);
    QCOMPARE(proxy.requests.isEmpty(), authority != u"proxy");
    for (const LocalWebServer::Request &request : std::as_const(proxy.requests))
        QCOMPARE(request.method + ' ' + request.path,
                 "CONNECT 127.0.0.1:" + QByteArray::number(server->port()));
    QCOMPARE(server->requests.size(),
             asked && authority != u"down" && authority != u"proxy" ? 1 : 0);
}

QTEST_MAIN(TestStampWindow)
#include "tst_stampwindow.moc"
