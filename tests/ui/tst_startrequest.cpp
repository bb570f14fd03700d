// SPDX-License-Identifier: GPL-3.0-or-later
// What a later start of the program, or a result picked in the desktop's search, makes the
// running main window do.
#include "CommandLine.h"
#include "CommandSet.h"
#include "ErrorBox.h"
#include "MainWindowFixture.h"
#include "SessionBus.h"
#include "StartRequest.h"
#include "TextRules.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QMessageBox>
#include <QProcess>
#include <QDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTest>

#include <atomic>

namespace {

const QByteArray kServices = "Web=http://a/?q=|s|\r\nMaps=http://m/|s|/x\r\n";
const QByteArray kTerms = "red car\r\ndogs\r\n";

void open(MainWindowFixture &f, const QStringList &arguments)
{
    const CommandLine options = ParseCommandLine(arguments, f.folder.path());
    f.window->OpenRequest(PrepareStartRequest(options, f.window->services().list));
}

QStringList texts(const EntryList &list)
{
    QStringList lines;
    for (qsizetype i = 0; i < list.Count(); ++i)
        lines << list.TextAt(i);
    return lines;
}

void sendToTray(MainWindowFixture &f)
{
    f.window->commandSet()->action(QStringLiteral("actTglSendtotray"))->trigger();
    QVERIFY(f.window->trayMode());
}

} // namespace

class TestStartRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searches_data();
    void searches();
    void comesOutOfTheTray();
    void quickLauncher_data();
    void quickLauncher();
    void listsAreReplacedAsLoadDoes_data();
    void listsAreReplacedAsLoadDoes();
    void newTermList();
    void serviceGoneBeforeTheRequestRuns();
    void waitsForTheDialogTheUserAnswers();
    void backgroundShowsNothing();
    void busFloodLeavesTheProgramAnswering();
    void handOverAnswersBeforeTheFilesAreRead();
};

void TestStartRequest::searches_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("selectedService");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<int>("selectedTerm");

    const QStringList unchanged {"red car", "dogs"};
    QTest::newRow("first service, term not added")
            << QStringList {"blue"} << -1 << "http://a/?q=blue" << unchanged << -1;
    QTest::newRow("selected service")
            << QStringList {"blue"} << 1 << "http://m/blue/x" << unchanged << -1;
    QTest::newRow("named service is selected")
            << QStringList {"-s", "maps", "x"} << 0 << "http://m/x/x" << unchanged << -1;
    QTest::newRow("add as Add n' Go")
            << QStringList {"--add", "-s", "Maps", "  cats "} << -1 << "http://m/cats/x"
            << QStringList {"red car", "dogs", "cats"} << 2;
}

void TestStartRequest::searches()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, selectedService);
    QFETCH(QString, address);
    QFETCH(QStringList, terms);
    QFETCH(int, selectedTerm);
    MainWindowFixture f(kServices, kTerms);
    if (selectedService >= 0)
        f.window->services().list.SelectLine(selectedService);
    open(f, arguments);
    QCOMPARE(f.browser->addresses, QStringList {address});
    QCOMPARE(texts(f.window->terms().list), terms);
    QCOMPARE(f.window->terms().list.SelectedIndex(), selectedTerm);
    QCOMPARE(f.window->terms().changed, selectedTerm >= 0);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.errors.isEmpty());
}

void TestStartRequest::comesOutOfTheTray()
{
    MainWindowFixture f(kServices, kTerms);
    f.window->show();
    sendToTray(f);
    QVERIFY(!f.window->isVisible());
    open(f, {QStringLiteral("x")});
    QVERIFY(!f.window->trayMode());
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.tray->shown);
    QCOMPARE(f.window->commandSet()->action(QStringLiteral("actTglSendtotray"))->text(),
             QStringLiteral("Send to Tray"));
    QCOMPARE(f.browser->addresses, QStringList {QStringLiteral("http://a/?q=x")});
}

void TestStartRequest::quickLauncher_data()
{
    QTest::addColumn<bool>("inTray");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");
    QTest::newRow("with term") << false << QStringList {"-q", "red car"} << "red car";
    QTest::newRow("without term keeps the text") << false << QStringList {"-q"} << "before";
    QTest::newRow("main window stays in the tray") << true << QStringList {"-q", "x"} << "x";
}

void TestStartRequest::quickLauncher()
{
    QFETCH(bool, inTray);
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    MainWindowFixture f(kServices, kTerms);
    f.window->quickLauncher()->txtSearch->setText(QStringLiteral("before"));
    if (inTray)
        sendToTray(f);
    open(f, arguments);
    QVERIFY(f.window->quickLauncher()->isVisible());
    QCOMPARE(f.window->quickLauncher()->txtSearch->text(), text);
    QCOMPARE(f.window->trayMode(), inTray);
    QCOMPARE(f.window->isVisible(), !inTray);
    // The Quick Launcher searches only when the user says Go!
    QVERIFY(f.browser->addresses.isEmpty());
    QVERIFY(f.launched.isEmpty());
}

void TestStartRequest::listsAreReplacedAsLoadDoes_data()
{
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::newRow("no") << Prompts::Answer::No;
    QTest::newRow("cancel") << Prompts::Answer::Cancel;
}

void TestStartRequest::listsAreReplacedAsLoadDoes()
{
    QFETCH(Prompts::Answer, answer);
    MainWindowFixture f(kServices, kTerms);
    f.writeFile(QStringLiteral("other.gls"), "Books=http://b/|s|\r\n");
    f.window->services().changed = true;
    f.prompts->expectAnswer(QStringLiteral("Save changes to service list?"), answer);
    open(f, {QStringLiteral("--services"), QStringLiteral("other.gls"), QStringLiteral("x")});
    QVERIFY(f.prompts->verifyDone());
    if (answer == Prompts::Answer::Cancel) {
        // Cancel ends the request: the user's list stays and nothing is searched.
        QCOMPARE(texts(f.window->services().list).size(), 2);
        QVERIFY(f.window->services().changed);
        QVERIFY(f.browser->addresses.isEmpty());
        return;
    }
    QCOMPARE(texts(f.window->services().list), QStringList {"Books=http://b/|s|"});
    QCOMPARE(f.window->services().file, f.folder.filePath(QStringLiteral("other.gls")));
    QVERIFY(!f.window->services().changed);
    QCOMPARE(f.browser->addresses, QStringList {QStringLiteral("http://b/x")});
}

void TestStartRequest::newTermList()
{
    MainWindowFixture f(kServices, kTerms);
    f.window->terms().changed = true;
    f.prompts->expectAnswer(QStringLiteral("Save changes to term list?"), Prompts::Answer::No);
    open(f, {QStringLiteral("--new-terms")});
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.window->terms().list.Count(), 0);
    QVERIFY(f.window->terms().file.isEmpty());
    QVERIFY(f.window->isVisible());
}

void TestStartRequest::serviceGoneBeforeTheRequestRuns()
{
    MainWindowFixture f(kServices, kTerms);
    const StartRequest request = PrepareStartRequest(
            ParseCommandLine({QStringLiteral("-s"), QStringLiteral("Maps"), QStringLiteral("x")},
                             f.folder.path()),
            f.window->services().list);
    f.window->services().list.Remove(1);
    f.window->OpenRequest(request);
    QCOMPARE(
            f.errors,
            QStringList {QStringLiteral("There is no service named \"Maps\" in the service list")});
    QVERIFY(f.browser->addresses.isEmpty());
}

void TestStartRequest::waitsForTheDialogTheUserAnswers()
{
    MainWindowFixture f(kServices, kTerms);
    f.window->show();
    QDialog dialog(f.window.get());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
    open(f, {QStringLiteral("x")});
    QTest::qWait(500);
    QVERIFY(f.browser->addresses.isEmpty());
    dialog.close();
    QTRY_COMPARE(f.browser->addresses, QStringList {QStringLiteral("http://a/?q=x")});
}

void TestStartRequest::backgroundShowsNothing()
{
    MainWindowFixture f(kServices, kTerms);
    open(f, {QStringLiteral("--background")});
    QVERIFY(!f.window->isVisible());
    QVERIFY(!f.window->quickLauncher()->isVisible());
}

// Thousands of desktop search results naming services the list lacks: each error joins one
// notice that keeps nothing waiting, and the program goes on answering the bus.
void TestStartRequest::busFloodLeavesTheProgramAnswering()
{
    QProcess daemon; // a session bus of the test's own, ended with it
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    QVERIFY(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine().trimmed());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    MainWindowFixture f(kServices, kTerms);
    f.callerErrors = ShowErrorNotice; // as the program has it
    f.start();
    SessionBus program(QStringLiteral("org.glenlantern.FloodTest"));
    QCOMPARE(program.claim({}, f.folder.path()), SessionBus::Start::First);
    program.setProgram(f.window->busProgram());
    QDBusConnection caller = QDBusConnection::connectToBus(address, QStringLiteral("caller"));
    const auto call = [&](bool gnome, const char *method, const QVariantList &arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
                program.names().service,
                gnome ? program.names().gnomeSearchPath() : program.names().krunnerPath(),
                gnome ? "org.gnome.Shell.SearchProvider2" : "org.kde.krunner1", method);
        message.setArguments(arguments);
        return caller.asyncCall(message);
    };
    QList<QDBusPendingCall> calls;
    for (int i = 0; i < 5000; ++i) {
        const QString id = QStringLiteral("service:Nope%1=x").arg(i);
        calls << (i % 2 ? call(true, "ActivateResult", {id, QStringList(), 0u})
                        : call(false, "Run", {id, QString()}));
    }
    QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(calls.cbegin(), calls.cend(), [](const auto &c) { return c.isFinished(); }),
            120000);
    // The notice takes the errors in batches: under load the last may come a while later.
    QTRY_COMPARE_WITH_TIMEOUT(f.window->findChildren<QMessageBox *>().size(), 1, 30000);
    // KRunner's and GNOME's calls come by two paths: under load either may be first.
    const QRegularExpression merged(
            QStringLiteral("^There is no service named \"Nope\\d+\" in the service list\\.\n\nand %1 more$")
                    .arg(QRegularExpression::escape(QLocale().toString(4999))));
    QTRY_VERIFY_WITH_TIMEOUT(merged.match(f.window->findChild<QMessageBox *>()->text()).hasMatch(),
                             30000);
    QVERIFY(!QApplication::activeModalWidget());
    QDBusPendingCall run = call(false, "Run", {QStringLiteral("service:Maps=blue"), QString()});
    QTRY_VERIFY_WITH_TIMEOUT(run.isFinished() && !run.isError(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(f.browser->addresses,
                              QStringList {QStringLiteral("http://m/blue/x")}, 30000);
}

// A start that names list files gets its answer from the running program at once: the files
// are read afterwards, outside the bus's call, and what is wrong with them shows in the box.
void TestStartRequest::handOverAnswersBeforeTheFilesAreRead()
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:"); // the calls come straight, not over a bus
    MainWindowFixture f(kServices, kTerms);
    f.writeFile(QStringLiteral("big.gls"), QByteArray("Books=http://b/|s|\r\n\0", 21));
    QSemaphore mayFinish;
    std::atomic<bool> read = false;
    BusProgram program;
    program.read = [&](const CommandLine &options) {
        mayFinish.tryAcquire(1, 5000); // a large file, until the test lets it end
        read = true;
        return ReadStartRequest(options);
    };
    program.check = [](const StartRequest &) {};
    program.act = [&f](const StartRequest &request) { f.window->OpenRequest(request); };
    program.showError = [&f](const QString &message) { f.errors << message; };
    SessionBus bus(QStringLiteral("org.example.GlenLantern"));
    bus.setProgram(program);
    bus.Run({QStringLiteral("--services"), QStringLiteral("big.gls"), "x"}, f.folder.path(), {});
    QVERIFY(!read);
    mayFinish.release();
    QTRY_COMPARE(f.errors.size(), 1);
    QVERIFY(f.errors.first().endsWith(u"Not a text file: line 2 holds a NUL byte"));
}

QTEST_MAIN(TestStartRequest)
#include "tst_startrequest.moc"
