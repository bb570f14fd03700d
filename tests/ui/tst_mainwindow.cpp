// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, searching on the user's selection, Add n' Go and closing.
#include "CommandSet.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTest>
#include <QToolTip>

namespace {

const QByteArray kServices = "Web=http://a/?q=|s|\r\nMaps=http://m/|s|/x\r\n";
const QByteArray kTerms = "red car\r\ndogs\r\n";

QListView *view(TfrmMain *w, const char *name)
{
    return w->findChild<QListView *>(QString::fromUtf8(name));
}

// Clicks a row as a user would.
void clickRow(TfrmMain *w, const char *list, int row)
{
    QListView *v = view(w, list);
    const QRect rect = v->visualRect(v->model()->index(row, 0));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, rect.center());
}

void trigger(TfrmMain *w, const char *name)
{
    w->commandSet()->action(QString::fromUtf8(name))->trigger();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithDefaultLists();
    void startsEmptyWithoutDefaults();
    void unreadableDefaultStopsLoading();
    void layout();
    void goRules_data();
    void goRules();
    void programSelectionDoesNotSearch();
    void arrowKeysSearchAtEachStep();
    void addAndGo();
    void addAndGoCancelled();
    void statusLineFollowsTheLoad();
    void fixedPages();
    void closing_data();
    void closing();
    void closingSaveFailureKeepsProgramOpen();
    void serviceTooltipShowsTheAddress();
    void rememberedAfterRestart();
    void missingRecentListIsDropped();
};

void TestMainWindow::startsWithDefaultLists()
{
    MainWindowFixture f(kServices, kTerms);
    QCOMPARE(f.window->services().list.Count(), 2);
    QCOMPARE(f.window->terms().list.Count(), 2);
    QCOMPARE(f.window->services().file, QStringLiteral("Default.gls"));
    QCOMPARE(f.window->terms().file, QStringLiteral("Default.glt"));
    QVERIFY(!f.window->services().changed);
    QVERIFY(!f.window->terms().changed);
    QVERIFY(f.errors.isEmpty());
    QCOMPARE(f.window->statusText(), QString());
}

void TestMainWindow::startsEmptyWithoutDefaults()
{
    MainWindowFixture f;
    QCOMPARE(f.window->services().list.Count(), 0);
    QCOMPARE(f.window->terms().list.Count(), 0);
    QVERIFY(f.window->services().file.isEmpty());
    QVERIFY(f.window->terms().file.isEmpty());
    QVERIFY(f.errors.isEmpty());
}

void TestMainWindow::unreadableDefaultStopsLoading()
{
    MainWindowFixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("Default.gls")));
    f.writeFile(QStringLiteral("Default.glt"), kTerms);
    f.start();
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors.first().startsWith(QStringLiteral("Cannot open file \"")),
             qPrintable(f.errors.first()));
    QVERIFY(f.errors.first().endsWith(QStringLiteral("Default.gls\". Is a directory")));
    QCOMPARE(f.window->terms().list.Count(), 0);
    QVERIFY(f.window->services().file.isEmpty());
    QVERIFY(f.window->terms().file.isEmpty());
}

void TestMainWindow::layout()
{
    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    QCOMPARE(w->windowTitle(), QStringLiteral("Glen Lantern"));
    QCOMPARE(w->size(), QSize(616, 491));
    for (const char *name : {"gbList", "spltGbList", "MainSplitter", "lstbxServices", "lstbxTerms",
                             "brwWeb", "StatusLine", "pmServices", "pmTerms"})
        QVERIFY2(w->findChild<QObject *>(QString::fromUtf8(name)), name);
    // The lists show every line as stored.
    QCOMPARE(view(w, "lstbxServices")->model()->index(0, 0).data().toString(),
             QStringLiteral("Web=http://a/?q=|s|"));
}

void TestMainWindow::goRules_data()
{
    QTest::addColumn<QByteArray>("services");
    QTest::addColumn<QByteArray>("terms");
    QTest::addColumn<int>("service"); // the row clicked, -1 for none
    QTest::addColumn<int>("term");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("both selected") << kServices << kTerms << 1 << 0
                                   << QStringList {"http://a/?q=red+car", "http://m/red%20car/x"};
    QTest::newRow("term only: first service")
            << kServices << kTerms << -1 << 1 << QStringList {"http://a/?q=dogs"};
    QTest::newRow("service only: first term")
            << kServices << kTerms << 1 << -1 << QStringList {"http://m/red%20car/x"};
    QTest::newRow("service, empty term list")
            << kServices << QByteArray("") << 0 << -1 << QStringList {};
    QTest::newRow("term, empty service list")
            << QByteArray("") << kTerms << -1 << 0 << QStringList {};
    QTest::newRow("line without '='")
            << QByteArray("abc\r\n") << kTerms << 0 << -1 << QStringList {"http://bc"};
    QTest::newRow("1252 term") << kServices << QByteArray("caf\xe9\r\n") << -1 << 0
                               << QStringList {QStringLiteral("http://a/?q=caf%C3%A9")};
}

void TestMainWindow::goRules()
{
    QFETCH(QByteArray, services);
    QFETCH(QByteArray, terms);
    QFETCH(int, service);
    QFETCH(int, term);
    QFETCH(QStringList, expected);
    MainWindowFixture f(services, terms);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    if (term >= 0)
        clickRow(f.window.get(), "lstbxTerms", term);
    if (service >= 0)
        clickRow(f.window.get(), "lstbxServices", service);
    QCOMPARE(f.browser->addresses, expected);
    // Go on its own searches the same pair again and changes nothing.
    const qsizetype before = f.browser->addresses.size();
    trigger(f.window.get(), "actGo");
    QCOMPARE(f.browser->addresses.size(), before + (expected.isEmpty() ? 0 : 1));
    QVERIFY(!f.window->terms().changed);
    QVERIFY(!f.window->services().changed);
}

void TestMainWindow::programSelectionDoesNotSearch()
{
    MainWindowFixture f(kServices, kTerms);
    f.window->terms().list.SelectLine(1);
    f.window->services().list.SelectLine(0);
    QVERIFY(f.browser->addresses.isEmpty());
    // The view shows the program's selection.
    QCOMPARE(view(f.window.get(), "lstbxTerms")->selectionModel()->selectedRows().value(0).row(),
             1);
    trigger(f.window.get(), "actGo");
    QCOMPARE(f.browser->addresses, QStringList {"http://a/?q=dogs"});
}

void TestMainWindow::arrowKeysSearchAtEachStep()
{
    MainWindowFixture f(kServices, "one\r\ntwo\r\nthree\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    clickRow(f.window.get(), "lstbxTerms", 0);
    QListView *terms = view(f.window.get(), "lstbxTerms");
    QTest::keyClick(terms, Qt::Key_Down);
    QTest::keyClick(terms, Qt::Key_Down);
    QTest::keyClick(terms, Qt::Key_Up);
    QCOMPARE(f.browser->addresses,
             (QStringList {"http://a/?q=one", "http://a/?q=two", "http://a/?q=three",
                           "http://a/?q=two"}));
    QCOMPARE(f.window->terms().list.SelectedIndex(), 1);
}

void TestMainWindow::addAndGo()
{
    MainWindowFixture f(kServices, kTerms);
    f.prompts
            ->expectText(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"),
                         QStringLiteral("  cats "))
            .startingWith(QString());
    trigger(f.window.get(), "actAddGo");
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.window->terms().list.Count(), 3);
    QCOMPARE(f.window->terms().list.LineAt(2), QByteArray("cats"));
    QCOMPARE(f.window->terms().list.SelectedIndex(), 2);
    QCOMPARE(f.browser->addresses, QStringList {"http://a/?q=cats"});
    // Without the mark the new term would be lost on closing without a question.
    QVERIFY(f.window->terms().changed);
}

void TestMainWindow::addAndGoCancelled()
{
    MainWindowFixture f(kServices, kTerms);
    f.prompts->expectText(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"),
                          QStringLiteral(" \t "));
    trigger(f.window.get(), "actAddGo");
    f.prompts->expectCancel(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"));
    trigger(f.window.get(), "actAddGo");
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.window->terms().list.Count(), 2);
    QVERIFY(f.browser->addresses.isEmpty());
    QVERIFY(!f.window->terms().changed);
}

void TestMainWindow::statusLineFollowsTheLoad()
{
    MainWindowFixture f(kServices, kTerms);
    f.window->terms().list.SelectLine(0);
    trigger(f.window.get(), "actGo");
    QCOMPARE(f.window->statusText(), QStringLiteral("Navigating..."));
    Q_EMIT f.browser->loadStarted();
    QCOMPARE(f.window->statusText(), QStringLiteral("Navigating to requested document..."));
    Q_EMIT f.browser->loadFinished({});
    QCOMPARE(f.window->statusText(), QStringLiteral("Navigation Complete"));
    f.browser->finishLoading();
    QCOMPARE(f.window->statusText(), QStringLiteral("Navigation Complete"));
}

void TestMainWindow::fixedPages()
{
    MainWindowFixture f;
    for (const char *name : {"actVwReadMe", "actVisitHomePage", "actContUs", "actDlSrvLists"})
        trigger(f.window.get(), name);
    const QString host = QStringLiteral("http://" GL_TEST_MAKER_HOST);
    QCOMPARE(f.browser->addresses,
             (QStringList {QCoreApplication::applicationDirPath() + QStringLiteral("/ReadMe.html"),
                           host + "/products/glenLantern/", host + "/products/glenLantern/",
                           QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                   .filePath(QStringLiteral("catalogue.html"))}));
    // The catalogue page lists the shipped lists with their links.
    QFile page(f.browser->addresses.last());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("?action=load"));
}

void TestMainWindow::closing_data()
{
    QTest::addColumn<bool>("termsChanged");
    QTest::addColumn<bool>("termsHasFile");
    QTest::addColumn<bool>("servicesChanged");
    QTest::addColumn<QList<int>>("answers"); // Prompts::Answer per question, in order
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("termsSaved");
    QTest::addColumn<bool>("servicesSaved");

    using A = Prompts::Answer;
    const auto yes = int(A::Yes), no = int(A::No), cancel = int(A::Cancel);
    QTest::newRow("nothing changed")
            << false << true << false << QList<int> {} << true << false << false;
    QTest::newRow("terms: yes saves")
            << true << true << false << QList<int> {yes} << true << true << false;
    QTest::newRow("terms: no") << true << true << false << QList<int> {no} << true << false
                               << false;
    QTest::newRow("terms: cancel stays open")
            << true << true << true << QList<int> {cancel} << false << false << false;
    QTest::newRow("both: yes, yes")
            << true << true << true << QList<int> {yes, yes} << true << true << true;
    QTest::newRow("both: no, cancel stays open")
            << true << true << true << QList<int> {no, cancel} << false << false << false;
    QTest::newRow("services only: no")
            << false << true << true << QList<int> {no} << true << false << false;
}

void TestMainWindow::closing()
{
    QFETCH(bool, termsChanged);
    QFETCH(bool, termsHasFile);
    QFETCH(bool, servicesChanged);
    QFETCH(QList<int>, answers);
    QFETCH(bool, closes);
    QFETCH(bool, termsSaved);
    QFETCH(bool, servicesSaved);

    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    if (!termsHasFile)
        w->terms().file.clear();
    w->terms().changed = termsChanged;
    w->services().changed = servicesChanged;
    w->terms().list.Append("new term");
    w->services().list.Append("New=x");
    const QStringList questions = {QStringLiteral("Save changes to term list?"),
                                   QStringLiteral("Save changes to service list?")};
    qsizetype q = termsChanged ? 0 : 1;
    for (int answer : answers)
        f.prompts->expectAnswer(questions.at(q++), Prompts::Answer(answer));
    bool closedSignal = false;
    connect(w, &TfrmMain::closed, this, [&] { closedSignal = true; });
    w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(closedSignal, closes);
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.readFile(QStringLiteral("Default.glt")).contains("new term"), termsSaved);
    QCOMPARE(f.readFile(QStringLiteral("Default.gls")).contains("New=x"), servicesSaved);
}

void TestMainWindow::closingSaveFailureKeepsProgramOpen()
{
    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    // A term list typed from scratch is asked about too; cancelling its file dialog keeps it.
    w->terms().file.clear();
    w->terms().changed = true;
    f.prompts->expectAnswer(QStringLiteral("Save changes to term list?"), Prompts::Answer::Yes);
    f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Save Term File"), std::nullopt);
    w->show();
    QVERIFY(!w->close());
    // A save that fails shows its error and keeps the program open.
    w->terms().file = f.folder.filePath(QStringLiteral("missing/folder/x.glt"));
    f.prompts->expectAnswer(QStringLiteral("Save changes to term list?"), Prompts::Answer::Yes);
    QVERIFY(!w->close());
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors.first().startsWith(QStringLiteral("Cannot create file")),
             qPrintable(f.errors.first()));
    QVERIFY(w->terms().changed);
}

// The recent lists' submenu of a menu of the menu bar, filled as when the menu opens.
QMenu *recentMenu(TfrmMain *w, const QString &menuTitle)
{
    for (QAction *title : w->menuBar()->actions()) {
        if (title->text() != menuTitle)
            continue;
        Q_EMIT title->menu()->aboutToShow();
        for (QAction *item : title->menu()->actions()) {
            if (item->menu())
                return item->menu();
        }
    }
    return nullptr;
}

void TestMainWindow::serviceTooltipShowsTheAddress()
{
    MainWindowFixture f(kServices + "Tags=http://t/?q=<b>|s|</b>\r\n", kTerms);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QListView *services = view(f.window.get(), "lstbxServices");
    const auto tipAt = [&](int row) {
        const QPoint at = services->visualRect(services->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, services->viewport()->mapToGlobal(at));
        QApplication::sendEvent(services->viewport(), &help);
        return QToolTip::text();
    };
    // The whole line, and the address for the first term while none is selected.
    QString tip = tipAt(1);
    QVERIFY2(tip.contains(u"Maps=http://m/|s|/x") && tip.contains(u"http://m/red%20car/x"),
             qPrintable(tip));
    f.window->terms().list.SelectLine(1);
    QVERIFY(tipAt(1).contains(u"http://m/dogs/x"));
    // A line's own markup shows as text.
    tip = tipAt(2);
    QVERIFY2(tip.contains(u"&lt;b&gt;"), qPrintable(tip));
    QVERIFY(f.browser->addresses.isEmpty()); // showing a tooltip searches nothing
}

void TestMainWindow::rememberedAfterRestart()
{
    QSettings().clear();
    MainWindowFixture f(kServices, kTerms);
    f.writeFile(QStringLiteral("other.glt"), "owls\r\n");
    const QString other = f.folder.filePath(QStringLiteral("other.glt"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->resize(700, 520);
    auto *splitter = f.window->findChild<QSplitter *>(QStringLiteral("MainSplitter"));
    splitter->setSizes({180, 500});
    f.prompts->expectFile(Prompts::FileMode::Open, QStringLiteral("Select Terms File"), other);
    trigger(f.window.get(), "actLoadTerms");
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(f.window->close());

    f.start();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->size(), QSize(700, 520));
    splitter = f.window->findChild<QSplitter *>(QStringLiteral("MainSplitter"));
    QCOMPARE(splitter->sizes().first(), 180);
    // Start-up still loads the folder's own lists; the other list is a click away.
    QCOMPARE(f.window->terms().file, QStringLiteral("Default.glt"));
    QMenu *recent = recentMenu(f.window.get(), QStringLiteral("&Terms"));
    QVERIFY(recent);
    QCOMPARE(recent->title(), QStringLiteral("Recen&t Term Lists"));
    QCOMPARE(recent->actions().size(), 1);
    QVERIFY(recent->actions().first()->text().endsWith(other));
    recent->actions().first()->trigger();
    QCOMPARE(f.window->terms().file, other);
    QCOMPARE(f.window->terms().list.Lines(), QList<QByteArray> {"owls"});
    QVERIFY(recentMenu(f.window.get(), QStringLiteral("&Services"))->actions().isEmpty());
}

void TestMainWindow::missingRecentListIsDropped()
{
    QSettings().clear();
    MainWindowFixture f(kServices, kTerms);
    const QString gone = f.folder.filePath(QStringLiteral("gone.gls"));
    QSettings().setValue(QStringLiteral("RecentServiceLists"), QStringList {gone});
    f.start();
    QMenu *recent = recentMenu(f.window.get(), QStringLiteral("&Services"));
    QCOMPARE(recent->actions().size(), 1);
    f.prompts->expectNotice(
            QStringLiteral("\"%1\" no longer exists; it was removed from the recent lists.")
                    .arg(gone));
    recent->actions().first()->trigger();
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.window->services().list.Count(), 2); // the list as it was
    QVERIFY(recentMenu(f.window.get(), QStringLiteral("&Services"))->actions().isEmpty());
    QVERIFY(QSettings().value(QStringLiteral("RecentServiceLists")).toStringList().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
