// SPDX-License-Identifier: GPL-3.0-or-later
// A case stamped from the window by a time-stamp authority of the test's own on 127.0.0.1 (tokens
// from `openssl ts -reply`), checked as --verify-case checks them: Stamp Now with the address kept
// or asked for, an authority that is down, answers wrongly or sits behind the case's proxy; the
// stamps the case's settings ask for as the case closes, as the window closes, as another case
// opens, and before an export, which then carries the stamp.
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
#include <QCheckBox>
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

void trigger(MainWindowFixture &f, const char *name)
{
    f.window->commandSet()->action(QString::fromLatin1(name))->trigger();
}

// A case folder holding one search, opened in the window.
QString openCase(MainWindowFixture &f, const QString &name)
{
    const QString folder = f.folder.filePath(name);
    CaseEntry search;
    search.service = QStringLiteral("Web");
    search.term = QStringLiteral("ledger");
    search.address = QStringLiteral("http://127.0.0.1/?q=ledger");
    search.outcome = QString::fromLatin1(kLoaded);
    Case::openFolder(folder, Case::Access::Write)->appendSearch(search);
    f.prompts->expectCase(folder);
    trigger(f, "actOpenCase");
    return folder;
}

// An address where nothing listens.
QString downAddress()
{
    QTcpServer gone;
    [&] { QVERIFY(gone.listen(QHostAddress::LocalHost)); }();
    return QStringLiteral("http://127.0.0.1:%1/tsa").arg(gone.serverPort());
}

// The stamps of the case and whether verify holds with the test's CA: read from the window's
// case while it is open there.
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

QString said(MainWindowFixture &f)
{
    return f.window->statusBar()->currentMessage();
}

} // namespace

class TestStampWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalTimestampAuthority> m_tsa;

private Q_SLOTS:
    void initTestCase() { m_tsa = std::make_unique<LocalTimestampAuthority>(); }
    void stampNow_data();
    void stampNow();
    void stampsAsTheCaseGoes_data();
    void stampsAsTheCaseGoes();
};

void TestStampWindow::stampNow_data()
{
    // The authority's address: kept with the case, asked for, down, behind the case's proxy.
    QTest::addColumn<QString>("authority");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("says");
    QTest::addColumn<int>("stamps");
    // clang-format off
    QTest::newRow("address kept with the case") << "kept" << Answer::Good << "Stamped at " << 1;
    QTest::newRow("address asked for and kept") << "asked" << Answer::Good << "Stamped at " << 1;
    QTest::newRow("authority down") << "down" << Answer::Good << "Connection refused" << 0;
    QTest::newRow("token over another hash") << "kept" << Answer::OtherHash << "was not kept: the token is not the one asked for" << 0;
    QTest::newRow("authority refuses") << "kept" << Answer::Refusal << "was not kept: the authority refused" << 0;
    QTest::newRow("behind the case's proxy") << "proxy" << Answer::Good << "No stamp from http://127.0.0.1:" << 0;
    // clang-format on
}

void TestStampWindow::stampNow()
{
    QFETCH(QString, authority);
    QFETCH(Answer, answer);
    QFETCH(QString, says);
    QFETCH(int, stamps);
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    f.stampSender
            = [](const ProxySetting &proxy) { return std::make_unique<TimestampClient>(proxy); };
    const auto server = m_tsa->serve(answer);
    const QString url = authority == u"down"
            ? downAddress()
            : QString::fromLatin1(server->base()) + QStringLiteral("/tsa");
    const QString c = openCase(f, QStringLiteral("c"));
    CaseSettings settings = CaseSettings::read(c);
    if (authority != u"asked")
        settings.setValue(QLatin1StringView(kAuthoritySetting), url);
    // A proxy that lets nothing through: the query must reach it and nothing else.
    LocalWebServer proxy([](const LocalWebServer::Request &) {
        LocalWebServer::Response refused;
        refused.status = "403 Forbidden";
        return refused;
    });
    if (authority == u"proxy")
        settings.setValue(QLatin1StringView(kProxySetting),
                          QStringLiteral("http://127.0.0.1:%1").arg(proxy.port()));
    settings.save();
    if (authority == u"asked") {
        QTimer::singleShot(0, [url] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog
                    && dialog->findChild<QCheckBox *>(QStringLiteral("chkKeep"))->isChecked());
            dialog->findChild<QLineEdit *>(QStringLiteral("txtAuthority"))->setText(url);
            dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
    }

    QSignalSpy ended(f.window->caseStamper(), &CaseStamper::ended);
    trigger(f, "actStampNow");
    QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join(u'\n')));
    QVERIFY(said(f).startsWith(QStringLiteral("Asking %1 for a stamp").arg(url)));
    QVERIFY(ended.wait(20000));
    QVERIFY2(said(f).contains(says), qPrintable(said(f)));
    QCOMPARE(stampsIn(f, c, m_tsa->caFile()), std::make_pair(stamps, true));
    QCOMPARE(f.window->findChild<QLabel *>(QStringLiteral("CaseMark"))
                     ->text()
                     .contains(u"Last stamp"),
             stamps == 1);
    QCOMPARE(CaseSettings::read(c).value(QLatin1StringView(kAuthoritySetting)), url);
    if (authority == u"proxy") {
        QCOMPARE(server->requests.size(), 0);
        QVERIFY(!proxy.requests.isEmpty()); // Qt asks again once the proxy has closed
        for (const LocalWebServer::Request &asked : std::as_const(proxy.requests))
            QCOMPARE(asked.method + ' ' + asked.path,
                     "CONNECT 127.0.0.1:" + QByteArray::number(server->port()));
    }
}

void TestStampWindow::stampsAsTheCaseGoes_data()
{
    QTest::addColumn<QString>("how");       // close, window, switch, export
    QTest::addColumn<bool>("asked");        // the case's setting
    QTest::addColumn<QString>("authority"); // up, down, mute (never answers)
    QTest::addColumn<QString>("says");
    QTest::addColumn<int>("stamps");
    // clang-format off
    QTest::newRow("Close Case") << "close" << true << "up" << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("Close Case, authority down") << "close" << true << "down" << "The case \"c\" is closed. No stamp from" << 0;
    QTest::newRow("Close Case, not asked for") << "close" << false << "up" << "" << 0;
    QTest::newRow("window closed") << "window" << true << "up" << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("window closed, authority mute") << "window" << true << "mute" << "The case \"c\" is closed. No stamp from http://127.0.0.1:" << 0;
    QTest::newRow("another case opened") << "switch" << true << "up" << "The case \"c\" is closed. Stamped at " << 1;
    QTest::newRow("export") << "export" << true << "up" << "Stamped at " << 1;
    QTest::newRow("export, authority down") << "export" << true << "down" << "No stamp from" << 0;
    // clang-format on
}

void TestStampWindow::stampsAsTheCaseGoes()
{
    QFETCH(QString, how);
    QFETCH(bool, asked);
    QFETCH(QString, authority);
    QFETCH(QString, says);
    QFETCH(int, stamps);
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    f.stampSender
            = [](const ProxySetting &proxy) { return std::make_unique<TimestampClient>(proxy); };
    const auto server = m_tsa->serve(Answer::Good);
    if (authority == u"mute")
        server->setHandler([](const LocalWebServer::Request &) {
            LocalWebServer::Response never;
            never.delayMs = 600'000;
            return never;
        });
    const QString url = authority == u"down"
            ? downAddress()
            : QString::fromLatin1(server->base()) + QStringLiteral("/tsa");
    const QString c = openCase(f, QStringLiteral("c"));
    CaseSettings settings = CaseSettings::read(c);
    settings.setValue(QLatin1StringView(kAuthoritySetting), url);
    settings.setFlag(QLatin1StringView(kStampOnCloseSetting), asked);
    settings.save();
    f.window->caseRecorder()->caseChanged();
    QCOMPARE(f.window->findChild<QLabel *>(QStringLiteral("CaseMark"))
                     ->text()
                     .contains(u"Stamps on close/export"),
             asked);

    QSignalSpy ended(f.window->caseStamper(), &CaseStamper::ended);
    QSignalSpy closed(f.window.get(), &TfrmMain::closed);
    const QString report = f.folder.filePath(QStringLiteral("report.html"));
    if (how == u"close")
        trigger(f, "actCloseCase");
    else if (how == u"window")
        f.window->close();
    else if (how == u"switch")
        openCase(f, QStringLiteral("d"));
    else {
        f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Export Case"), report);
        f.prompts->expectNotice({}).textStartingWith(
                QStringLiteral("The case was written to \"%1\".\n%2").arg(report, says));
        trigger(f, "actExportCase");
    }
    // The case leaves the window at once; the program ends once the stamp has ended.
    QCOMPARE(f.window->caseRecorder()->folder() == c, how == u"export");
    QCOMPARE(closed.size(), how == u"window" && !asked ? 1 : 0);
    QCOMPARE(ended.wait(asked ? 20000 : 100), asked);
    QCOMPARE(said(f).left(says.size()), says);
    if (how == u"window")
        QTRY_COMPARE(closed.size(), 1);
    if (how == u"export") {
        QTRY_VERIFY(QFile::exists(report));
        QVERIFY(f.prompts->verifyDone());
    }
    QCOMPARE(stampsIn(f, c, m_tsa->caFile()), std::make_pair(stamps, true));
    if (how == u"export")
        QCOMPARE(f.readFile(QStringLiteral("report.html")).contains(url.toUtf8()), stamps == 1);
    QCOMPARE(server->requests.size(), asked && authority != u"down" ? 1 : 0);
}

QTEST_MAIN(TestStampWindow)
#include "tst_stampwindow.moc"
