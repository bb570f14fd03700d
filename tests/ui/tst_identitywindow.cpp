// SPDX-License-Identifier: GPL-3.0-or-later
// A case's identity in the window: which program a start belongs to (a case with a proxy runs in
// one of its own), the pane's pages kept in the open case's profile, a case handed to the program
// it belongs to, Case > Settings..., and the Open Case dialog naming the case's proxy.
#include "Case.h"
#include "CaseRecorder.h"
#include "CaseSettings.h"
#include "MainWindowFixture.h"
#include "OpenCaseDialog.h"
#include "ProgramRoute.h"
#include "SessionBus.h"
#include "StartRequest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Cases;

namespace {

const QString kProxy = QStringLiteral("socks5://127.0.0.1:9050");

// A case folder as the program makes it, with the proxy kept (none for an empty text).
QString makeCase(const QString &folder, const QString &proxy)
{
    Case::openFolder(folder, Case::Access::Write);
    KeepCaseSettings(folder, ParseProxy(proxy), std::nullopt);
    return folder;
}

void request(MainWindowFixture &f, const QStringList &arguments)
{
    f.window->OpenRequest(StartRequest {ParseCommandLine(arguments, f.folder.path()), {}, {}});
}

void trigger(MainWindowFixture &f, const char *name)
{
    f.window->commandSet()->action(QString::fromLatin1(name))->trigger();
}

// Answers the modal dialog once it is open, as a user would, from inside its event loop.
void whenOpen(const std::function<void(QWidget *)> &answer, int triesLeft = 400)
{
    QTimer::singleShot(5, [=] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            return answer(dialog);
        if (triesLeft > 0)
            whenOpen(answer, triesLeft - 1);
    });
}

} // namespace

class TestIdentityWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routes_data();
    void routes();
    void engineSwitches();
    void pagesKeepTheOpenCasesProfile();
    void caseGoesWhereItsProxyIs_data();
    void caseGoesWhereItsProxyIs();
    void settingsDialogMovesTheCase();
    void openCaseDialogNamesTheProxy();
};

void TestIdentityWindow::routes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("kept");       // the case's proxy kept in c; "-" for no case there
    QTest::addColumn<QStringList>("handTo"); // front, main, case: the names, in order
    QTest::addColumn<QString>("proxy");      // of the program the start runs when none takes it
    // clang-format off
    QTest::newRow("no case") << QStringList {} << "-" << QStringList {"front", "main"} << "none";
    QTest::newRow("desktop search") << QStringList {"--background"} << "-" << QStringList {"main"} << "none";
    QTest::newRow("case without a proxy") << QStringList {"--case", "c"} << "" << QStringList {"case", "main"} << "none";
    QTest::newRow("case with its proxy") << QStringList {"--case", "c", "x"} << kProxy << QStringList {"case"} << kProxy;
    QTest::newRow("proxy given to a case that had none") << QStringList {"--case", "c", "--proxy", kProxy} << "" << QStringList {"case", "main"} << kProxy;
    QTest::newRow("proxy given to a new case") << QStringList {"--case", "new", "--proxy", kProxy} << "-" << QStringList {"case"} << kProxy;
    QTest::newRow("proxy taken away") << QStringList {"--case", "c", "--proxy", "none"} << kProxy << QStringList {"case", "main"} << "none";
    QTest::newRow("another proxy") << QStringList {"--case", "./c/", "--proxy", "http://h.example:3128"} << kProxy << QStringList {"case"} << "http://h.example:3128";
    // clang-format on
}

void TestIdentityWindow::routes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, kept);
    QFETCH(QStringList, handTo);
    QFETCH(QString, proxy);
    QTemporaryDir folder;
    if (kept != u"-")
        makeCase(folder.filePath(QStringLiteral("c")), kept);
    const BusNames main = BusNames::ForApplication(QStringLiteral("org.example.Test"));
    const ProgramRoute route = RouteStart(ParseCommandLine(arguments, folder.path()), main);
    // The case's program is named after the case however the case was written.
    const QString caseName = RouteStart(ParseCommandLine({"--case", folder.filePath("c")}, folder.path()), main).handTo.first();
    QStringList names;
    for (const QString &name : route.handTo)
        names << (name == main.front ? "front" : name == main.service ? "main" : name == caseName || arguments.contains("new") ? "case" : name);
    QCOMPARE(names, handTo);
    QCOMPARE(route.proxy.text(), proxy);
    QCOMPARE(route.isCaseProgram(), proxy != u"none");
}

void TestIdentityWindow::engineSwitches()
{
    QVERIFY(BrowserEngineProxyFlags(ProxySetting()).isEmpty());
    QCOMPARE(BrowserEngineProxyFlags(ParseProxy(QStringLiteral("socks5://tunnel.example:1080"))),
             QStringList({"--proxy-server=socks5://tunnel.example:1080", "--proxy-bypass-list=<-loopback>",
                          "--host-resolver-rules=\"MAP * ~NOTFOUND, EXCLUDE tunnel.example\"",
                          "--force-webrtc-ip-handling-policy=disable_non_proxied_udp", "--disable-quic"}));
}

void TestIdentityWindow::pagesKeepTheOpenCasesProfile()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    f.window->terms().list.SelectLine(0);
    trigger(f, "actGo"); // the pane, in the program's own profile
    QList<PaneProfile> after; // the pane's profile after each step
    QStringList ids;
    for (const char *name : {"A", "B"}) {
        f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QString::fromLatin1(name)));
        trigger(f, "actNewCase");
        after.append(f.browser->profiles.value(f.browser->profiles.size() - 1));
        ids.append(f.window->caseRecorder()->openCase()->info().id);
    }
    trigger(f, "actCloseCase");
    after.append(f.browser->profiles.value(f.browser->profiles.size() - 1));
    request(f, {"--case", f.folder.filePath(QStringLiteral("A")), "--user-agent", "Lynx/2.9"});
    after.append(f.browser->profiles.value(f.browser->profiles.size() - 1));
    const QList<PaneProfile> expected = {{ids[0], {}}, {ids[1], {}}, {}, {ids[0], QStringLiteral("Lynx/2.9")}};
    QCOMPARE(after, expected);
    QCOMPARE(CaseUserAgent(f.folder.filePath(QStringLiteral("A"))), QStringLiteral("Lynx/2.9"));
    QVERIFY(f.started.isEmpty()); // no proxy anywhere: all of it in this program
    QVERIFY(!f.window->findChild<QLabel *>(QStringLiteral("ProxyMark"))->isVisibleTo(f.window.get()));
}

void TestIdentityWindow::caseGoesWhereItsProxyIs_data()
{
    QTest::addColumn<QString>("program");   // the case this program runs for; empty for none
    QTest::addColumn<QString>("kept");      // c's proxy before
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("openedHere");
    QTest::addColumn<QString>("keptAfter");
    QTest::addColumn<int>("busLeft");       // 1: this program ended for the case
    // clang-format off
    QTest::newRow("case without a proxy here") << "" << "" << QStringList {"--case", "c"} << true << "none" << 0;
    QTest::newRow("case with a proxy elsewhere") << "" << kProxy << QStringList {"--case", "c", "x"} << false << kProxy << 0;
    QTest::newRow("proxy given, kept before it goes") << "" << "" << QStringList {"--case", "c", "--proxy", kProxy} << false << kProxy << 0;
    QTest::newRow("its own case in its program") << "c" << kProxy << QStringList {"--case", "c"} << true << kProxy << 0;
    QTest::newRow("its case's proxy taken away") << "c" << kProxy << QStringList {"--case", "c", "--proxy", "none"} << false << "none" << 1;
    QTest::newRow("another case from a case's program") << "c" << kProxy << QStringList {"--case", "d"} << false << kProxy << 0;
    // clang-format on
}

void TestIdentityWindow::caseGoesWhereItsProxyIs()
{
    QFETCH(QString, program);
    QFETCH(QString, kept);
    QFETCH(QStringList, arguments);
    QFETCH(bool, openedHere);
    QFETCH(QString, keptAfter);
    QFETCH(int, busLeft);
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    const QString c = makeCase(f.folder.filePath(QStringLiteral("c")), kept);
    makeCase(f.folder.filePath(QStringLiteral("d")), {});
    if (!program.isEmpty()) {
        f.route.caseLocation = c;
        f.route.proxy = ParseProxy(kept);
        f.start();
    }
    QSignalSpy closed(f.window.get(), &TfrmMain::closed);
    request(f, arguments);
    QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join(u'\n')));
    QCOMPARE(f.window->caseRecorder()->isOpen(), openedHere);
    QCOMPARE(CaseProxy(c).text(), keptAfter);
    QCOMPARE(f.started.size(), openedHere ? 0 : 1);
    if (!openedHere)
        QCOMPARE(f.started.first(), std::make_pair(arguments, f.folder.path()));
    QCOMPARE(f.busLeft, busLeft);
    QCOMPARE(closed.size(), busLeft);
}

void TestIdentityWindow::settingsDialogMovesTheCase()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "dogs\r\n");
    const QString c = f.folder.filePath(QStringLiteral("c"));
    f.prompts->expectFolder(QStringLiteral("New Case"), c);
    trigger(f, "actNewCase");
    QString refused;
    whenOpen([&](QWidget *dialog) {
        auto *proxy = dialog->findChild<QLineEdit *>(QStringLiteral("txtProxy"));
        auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("okButton"));
        proxy->setText(QStringLiteral("socks4://h.example:1"));
        ok->click();
        refused = dialog->findChild<QLabel *>(QStringLiteral("lblProblem"))->text();
        proxy->setText(QStringLiteral(" SOCKS5://127.0.0.1:9050 "));
        dialog->findChild<QLineEdit *>(QStringLiteral("txtUserAgent"))->setText(QStringLiteral("Lynx"));
        ok->click();
    });
    trigger(f, "actCaseSettings");
    QVERIFY2(refused.startsWith(u"The proxy \"socks4://h.example:1\""), qPrintable(refused));
    QCOMPARE(CaseProxy(c).text(), kProxy);
    QCOMPARE(CaseUserAgent(c), QStringLiteral("Lynx"));
    // The program without a proxy lets the case go to a program of its own, with the lists.
    QVERIFY(!f.window->caseRecorder()->isOpen());
    const QStringList arguments = {"--services", f.folder.filePath("Default.gls"), "--terms",
                                   f.folder.filePath("Default.glt"), "--case", c};
    QCOMPARE(f.started, (QList<std::pair<QStringList, QString>> {{arguments, QDir::currentPath()}}));
}

void TestIdentityWindow::openCaseDialogNamesTheProxy()
{
    QTemporaryDir folder;
    const QString c = makeCase(folder.filePath(QStringLiteral("c")), kProxy);
    OpenCaseDialog dialog({c}, [](const QString &) { return std::nullopt; }, [](const QString &) {});
    auto *proxy = dialog.findChild<QLabel *>(QStringLiteral("lblProxy"));
    QCOMPARE(proxy->text(), QStringLiteral("Proxy: %1 (the case opens in a program of its own)").arg(kProxy));
    dialog.findChild<QLineEdit *>(QStringLiteral("txtFolder"))->setText(folder.filePath(QStringLiteral("other")));
    QCOMPARE(proxy->text(), QStringLiteral("Proxy: none, its pages go out directly"));
}

QTEST_MAIN(TestIdentityWindow)
#include "tst_identitywindow.moc"
