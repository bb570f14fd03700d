// SPDX-License-Identifier: GPL-3.0-or-later
// The case in the main window: what is recorded of the searches the user sees, captures of the
// page on view, the log with its notes, and cases refused.
#include "CaseLog.h"
#include "CaseRecorder.h"
#include "MainWindowFixture.h"
#include "ServerAddress.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

using namespace Cases;

namespace {

QList<CaseEntry> entries(TfrmMain *w, const char *kind)
{
    QList<CaseEntry> found;
    w->caseRecorder()->openCase()->store().read([&](const CaseEntry &e) { found.append(e); },
                                                CaseStore::Order::Sequence, QString::fromLatin1(kind));
    return found;
}

void trigger(TfrmMain *w, const char *name)
{
    w->commandSet()->action(QString::fromUtf8(name))->trigger();
}

} // namespace

class TestCaseWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordsWhatIsShown();
    void capturesThePageOnView();
    void logEditsNotesAndRunsAgain();
    void refusesWhatIsNoCase();
    void asksTheServersPassword();
    void namesTheCase();
    void logShowsWhatHappened();
    void jobsRunBesideTheWindow_data();
    void jobsRunBesideTheWindow();
};

void TestCaseWindow::recordsWhatIsShown()
{
    MainWindowFixture f("Web=http://a/?q=|s|\tpost=q=|s|\r\n", "red car\r\ndogs\r\n");
    TfrmMain *w = f.window.get();
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QStringLiteral("inquiry")));
    trigger(w, "actNewCase");
    QCOMPARE(w->windowTitle(), QStringLiteral("Glen Lantern - case inquiry"));
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("CaseMark"))->text(), QStringLiteral("Recording: inquiry"));

    QListView *terms = w->findChild<QListView *>(QStringLiteral("lstbxTerms"));
    QTest::mouseClick(terms->viewport(), Qt::LeftButton, {}, terms->visualRect(terms->model()->index(0, 0)).center());
    trigger(w, "actGo"); // the click's page never ended: the user moved on
    f.browser->finish(f.browser->requests.at(1), QStringLiteral("Results"));
    f.browser->finish(f.browser->requests.at(1), QStringLiteral("Again")); // told twice, kept once
    w->quickLauncher()->txtSearch->setText(QStringLiteral("owls"));
    w->quickLauncher()->btnGoClick();

    const QList<CaseEntry> searches = entries(w, kSearch);
    QCOMPARE(searches.size(), 3);
    // clang-format off
    const QList<QStringList> expected = {
        {"Web", "red car", "http://a/?q=red+car", "q=red+car", "", "not finished", "click"},
        {"Web", "red car", "http://a/?q=red+car", "q=red+car", "Results", "loaded", "go"},
        {"", "owls", f.launched.value(0), "", "", "sent to browser", "quick launcher"},
    };
    // clang-format on
    for (qsizetype i = 0; i < searches.size(); ++i) {
        const CaseEntry &e = searches.at(i);
        QStringList got = {i == 2 ? QString() : e.service, e.term, e.address, e.postBody, e.title, e.outcome, e.startedBy};
        QCOMPARE(got, expected.at(i));
    }
    QCOMPARE(searches.at(0).serviceLine, QStringLiteral("Web=http://a/?q=|s|\tpost=q=|s|"));
    QCOMPARE(f.browser->requests.at(1).postData, QByteArray("q=red+car"));
}

void TestCaseWindow::capturesThePageOnView()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "cats\r\n");
    TfrmMain *w = f.window.get();
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QStringLiteral("c")));
    trigger(w, "actNewCase");
    w->terms().list.SelectLine(0);
    trigger(w, "actGo");
    trigger(w, "actCapturePage"); // asked while the page loads: it follows the record
    QVERIFY(f.browser->captures.isEmpty());
    f.browser->finish(f.browser->requests.at(0), QStringLiteral("Cats"));
    QCOMPARE(f.browser->captures.size(), 1);
    const auto [id, files] = f.browser->captures.at(0);
    QCOMPARE(id, f.browser->requests.at(0).id);
    QCOMPARE(files.size(), 3);
    for (const CaptureFile &file : files) {
        QFile written(file.path);
        QVERIFY(file.format == CaptureFormat::Png || written.open(QIODevice::WriteOnly));
        written.write("page");
        written.close();
        const QString error = file.format == CaptureFormat::Png ? QStringLiteral("no picture") : QString();
        Q_EMIT f.browser->captureFinished({id, file.format, file.path, error});
    }
    const QList<CaseEntry> captures = entries(w, kCapture);
    QCOMPARE(captures.size(), 3);
    QCOMPARE(captures.at(0).sha256, Sha256Hex("page"));
    QCOMPARE(captures.at(2).failure, QStringLiteral("no picture"));
    // Every file named once all ended, until the next search.
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Captured the page in part: MHTML (4 bytes), PDF (4 bytes) written to the case; the PNG failed: no picture"));
    trigger(w, "actGo");
    QCOMPARE(w->statusBar()->currentMessage(), QString());
}

void TestCaseWindow::logEditsNotesAndRunsAgain()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "cats\r\ndogs\r\n");
    TfrmMain *w = f.window.get();
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QStringLiteral("c")));
    trigger(w, "actNewCase");
    for (int row : {0, 1}) {
        w->terms().list.SelectLine(row);
        trigger(w, "actGo");
        f.browser->finish(f.browser->requests.constLast(), QStringLiteral("T%1").arg(row));
    }
    trigger(w, "actShowCaseLog");
    TfrmCaseLog *log = w->caseLog();
    QAbstractItemModel *shown = log->table()->model();
    QCOMPARE(shown->rowCount(), 2);
    QVERIFY(shown->setData(shown->index(1, CaseLogModel::Note), QStringLiteral("seen"), Qt::EditRole));
    QCOMPARE(entries(w, kNote).value(0).note, QStringLiteral("seen"));
    QCOMPARE(shown->index(1, CaseLogModel::Note).data().toString(), QStringLiteral("seen"));
    log->filter()->setText(QStringLiteral("DOGS"));
    QCOMPARE(shown->rowCount(), 1);
    log->table()->selectRow(0);
    Q_EMIT log->runAgain(log->selectedSearches());
    QCOMPARE(f.browser->addresses.constLast(), QStringLiteral("http://a/?q=dogs"));
    f.browser->finish(f.browser->requests.constLast(), QStringLiteral("again"));
    QCOMPARE(entries(w, kSearch).constLast().startedBy, QStringLiteral("run again"));
    QCOMPARE(log->model()->rowCount(), 3);
}

void TestCaseWindow::refusesWhatIsNoCase()
{
    MainWindowFixture f;
    f.writeFile(QStringLiteral("notes.txt"), "mine");
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.path());
    trigger(f.window.get(), "actNewCase");
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors.at(0).contains(f.folder.path()), qPrintable(f.errors.at(0)));
    QVERIFY(!f.window->caseRecorder()->isOpen());
    QVERIFY(!f.window->commandSet()->action(QStringLiteral("actShowCaseLog"))->isEnabled());
}

void TestCaseWindow::asksTheServersPassword()
{
    const ServerAddress team = ParseServerAddress(QStringLiteral("postgresql://ann@db.example/team?case=x"));
    {
        MainWindowFixture f;
        f.prompts->expectPassword(QStringLiteral("Case Server Password"), QStringLiteral("s3cret"))
                .textStartingWith(QStringLiteral("The password of ann for the database team on db.example:\nrefused"));
        QCOMPARE(CurrentPasswordPrompt()(team, QStringLiteral("refused")), std::optional<QString>(QStringLiteral("s3cret")));
    }
    QVERIFY(!CurrentPasswordPrompt()); // nothing asks once the window is gone
}

void TestCaseWindow::namesTheCase()
{
    QCOMPARE(CaseDisplayName(QStringLiteral("/home/ann/cases/inquiry")), QStringLiteral("inquiry"));
    QCOMPARE(CaseDisplayName(QStringLiteral("postgresql://ann@db.example:5433/team?case=fraud%202026")),
             QStringLiteral("fraud 2026 on db.example"));
}

// A matrix's cell and a page the pane showed, in the log: outcome, status, verdict, address and
// what started it are there for the user to show.
void TestCaseWindow::logShowsWhatHappened()
{
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "cats\r\n");
    TfrmMain *w = f.window.get();
    f.prompts->expectFolder(QStringLiteral("New Case"), f.folder.filePath(QStringLiteral("c")));
    trigger(w, "actNewCase");
    CaseEntry cell;
    cell.service = QStringLiteral("Forum");
    cell.term = QStringLiteral("cats");
    cell.address = QStringLiteral("http://forum/u/cats");
    cell.startedBy = QString::fromLatin1(StartedBy::kMatrix);
    SetCellOutcome(cell, 404, QStringLiteral("not found"), QStringLiteral("No such user"), Sha256Hex("No such user"));
    w->caseRecorder()->recordUnseen(cell);
    trigger(w, "actShowCaseLog");
    TfrmCaseLog *log = w->caseLog();
    QHeaderView *header = log->table()->horizontalHeader();
    QVERIFY(header->isSectionHidden(CaseLogModel::Verdict));
    log->findChild<QAction *>(QStringLiteral("actColumn%1").arg(CaseLogModel::Verdict))->trigger();
    QVERIFY(!header->isSectionHidden(CaseLogModel::Verdict));
    const QAbstractItemModel *shown = log->table()->model();
    QStringList row;
    for (int column : {CaseLogModel::Title, CaseLogModel::Outcome, CaseLogModel::Status, CaseLogModel::Verdict, CaseLogModel::Address, CaseLogModel::StartedBy})
        row.append(shown->index(0, column).data().toString());
    QCOMPARE(row, QStringList({"No such user", "loaded", "404", "not found", "http://forum/u/cats", "matrix"}));
    QCOMPARE(entries(w, kSearch).value(0).textSha256, Sha256Hex("No such user"));
}

void TestCaseWindow::jobsRunBesideTheWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("told"); // the notice's start
    // clang-format off
    QTest::newRow("verify") << "actVerifyCase" << "The case \"%1\" holds: 2 records (searches: 2";
    QTest::newRow("export") << "actExportCase" << "The case was written to";
    QTest::newRow("copy") << "actCopyCase" << "The case was copied to";
    // clang-format on
}

// Export, verify and copy read the case on a worker; the window records meanwhile, and the
// user is told how it went.
void TestCaseWindow::jobsRunBesideTheWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, told);
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "cats\r\ndogs\r\n");
    TfrmMain *w = f.window.get();
    const QString folder = f.folder.filePath(QStringLiteral("c"));
    f.prompts->expectFolder(QStringLiteral("New Case"), folder);
    trigger(w, "actNewCase");
    for (int row : {0, 1}) {
        w->terms().list.SelectLine(row);
        trigger(w, "actGo");
        f.browser->finish(f.browser->requests.constLast(), QStringLiteral("T%1").arg(row));
    }
    const QString out = f.folder.filePath(QStringLiteral("out.csv"));
    if (command == u"actExportCase")
        f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Export Case"), out);
    if (command == u"actCopyCase")
        f.prompts->expectFolder(QStringLiteral("Copy Case To"), f.folder.filePath(QStringLiteral("copy")));
    f.prompts->expectNotice(QString()).textStartingWith(told.arg(folder));
    trigger(w, command.toUtf8().constData());
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts->pending(), 0, 30000);
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(f.errors.isEmpty());
    if (command == u"actExportCase")
        QVERIFY(QFileInfo(out).size() > 0);
}

QTEST_MAIN(TestCaseWindow)
#include "tst_casewindow.moc"
