// SPDX-License-Identifier: GPL-3.0-or-later
// Case > Run All Again and Case > Changes: a case the result matrix recorded, its site changed,
// its searches run again beside the window; the changes as a table, read back from the record
// by a later look, a row's page shown through Go; and Stop.
#include "Accessibility.h"
#include "CaseChanges.h"
#include "CaseRecorder.h"
#include "LocalWebServer.h"
#include "MainWindowFixture.h"
#include "NetworkPageLoader.h"
#include "ResultMatrix.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestChangesWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changes();
    void stop();
};

namespace {

// Once the site changed: bob appears on the forum, ada's profile says more, the limited site
// answers 429, and the plain page says something new for ada.
LocalWebServer::Handler site(const bool &changed)
{
    return [&changed](const LocalWebServer::Request &request) -> LocalWebServer::Response {
        if (request.path == "/u/ada")
            return {"200 OK",
                    "text/html",
                    {},
                    changed ? "<p>ada: 4 posts</p>" : "<p>ada: 3 posts</p>"};
        if (changed && request.path == "/u/bob")
            return {"200 OK", "text/html", {}, "<p>bob: 1 post</p>"};
        if (request.path.startsWith("/l/"))
            return changed ? LocalWebServer::Response {"429 Too Many Requests", "text/html",
                                                       "Retry-After: 0\r\n", "<p>Slow down</p>"}
                           : LocalWebServer::Response {"200 OK", "text/html", {}, "<p>here</p>"};
        if (request.path.startsWith("/p/"))
            return {"200 OK",
                    "text/html",
                    {},
                    changed && request.path == "/p/ada" ? "<p>new</p>" : "<p>old</p>"};
        return {"404 Not Found", "text/html", {}, "<p>No such user</p>"};
    };
}

// The rows in the order the pairs first came in the case, which is the order the matrix's pages
// came: sorted, to compare.
QStringList rows(const TfrmChanges &window)
{
    QStringList rows;
    const QAbstractItemModel *model = window.table()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < RerunChangesModel::Address; ++column)
            cells.append(model->index(row, column).data().toString());
        rows.append(cells.join(u','));
    }
    rows.sort();
    return rows;
}

void trigger(MainWindowFixture &f, const char *command)
{
    f.window->commandSet()->action(QString::fromLatin1(command))->trigger();
}

} // namespace

void TestChangesWindow::changes()
{
    bool changed = false;
    LocalWebServer server(site(changed));
    MainWindowFixture f(
            "Forum=" + server.base()
                    + "/u/|s|\tfound=status:200\tmissing=status:404\r\nLimited=" + server.base()
                    + "/l/|s|\tfound=status:200\r\nPlain=" + server.base() + "/p/|s|\r\n",
            "ada\r\nbob\r\n");
    f.pageLoader = [] { return std::make_unique<NetworkPageLoader>(); };
    f.window->caseRecorder()->open(f.folder.filePath(QStringLiteral("case")));
    trigger(f, "actResultMatrix");
    auto *matrix = f.window->findChild<TfrmMatrix *>();
    QTRY_VERIFY_WITH_TIMEOUT(!matrix->IsRunning(), 20000);
    matrix->close();

    changed = true;
    trigger(f, "actRunAllAgain");
    QCOMPARE(f.errors, QStringList());
    auto *window = f.window->findChild<TfrmChanges *>();
    QVERIFY(window && window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(window->hasRun() && !window->isRunning(), 20000);
    // clang-format off
    const QStringList expected = {"ada,Forum,found,found,changed", "ada,Limited,found,blocked,changed", "ada,Plain,unknown,unknown,changed",
                                  "bob,Forum,not found,found,changed", "bob,Limited,found,blocked,changed"};
    // clang-format on
    QCOMPARE(rows(*window), expected);
    QCOMPARE(window->progressText(),
             QStringLiteral("Done. 6 searched again, 5 changed: new hits 1, hits gone 0, blocked "
                            "2, errors 0, pages changed 2"));
    QVERIFY2(UnnamedControls(window).isEmpty(), qPrintable(UnnamedControls(window).join(u", ")));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("btnChangesStop"))->text(),
             QStringLiteral("S&top (Esc)"));
    int reruns = 0;
    f.window->caseRecorder()->openCase()->store().read(
            [&](const Cases::CaseEntry &e) { reruns += e.startedBy == u"rerun"; });
    QCOMPARE(reruns, 6);

    // Enter on a row: its page in the pane through Go, the lines picked.
    window->table()->setFocus();
    const QAbstractItemModel *model = window->table()->model();
    int bob = 0;
    while (bob < model->rowCount()
           && model->index(bob, 0).data().toString() + model->index(bob, 1).data().toString()
                   != u"bobForum")
        ++bob;
    window->table()->setCurrentIndex(model->index(bob, 0));
    QTest::keyClick(window->table(), Qt::Key_Return);
    QCOMPARE(f.browser->addresses.constLast(), server.base() + "/u/bob");
    QCOMPARE(f.window->terms().list.SelectedIndex(), 1);
    QCOMPARE(f.window->services().list.SelectedIndex(), 0);

    // A later look reads the last run from the record.
    window->close();
    QTRY_VERIFY(!f.window->findChild<TfrmChanges *>());
    trigger(f, "actShowChanges");
    window = f.window->findChild<TfrmChanges *>();
    QTRY_COMPARE(rows(*window), expected);
    QVERIFY(window->progressText().endsWith(QStringLiteral(": 5 of 6 pairs changed")));
}

// Escape ends the loads still open; what was searched stays recorded and shown.
void TestChangesWindow::stop()
{
    LocalWebServer server([](const LocalWebServer::Request &request) {
        LocalWebServer::Response slow;
        slow.delayMs = request.path == "/a" ? 0 : 1500;
        return slow;
    });
    MainWindowFixture f("Slow=" + server.base() + "/|s|\tfound=status:200\r\n", "a\r\nb\r\nc\r\n");
    f.pageLoader = [] { return std::make_unique<NetworkPageLoader>(); };
    f.window->caseRecorder()->open(f.folder.filePath(QStringLiteral("case")));
    for (int row = 0; row < 3; ++row) {
        f.window->terms().list.SelectLine(row);
        trigger(f, "actGo"); // searches seen in the pane: no verdict yet
    }
    f.window->caseRecorder()->close();
    f.window->caseRecorder()->open(f.folder.filePath(QStringLiteral("case")));
    trigger(f, "actRunAllAgain");
    auto *window = f.window->findChild<TfrmChanges *>();
    QTRY_VERIFY_WITH_TIMEOUT(window->isRunning() && window->model()->rowCount() == 1, 10000);
    QTest::keyClick(window->table(), Qt::Key_Escape);
    QVERIFY(!window->isRunning());
    QTest::qWait(1700); // the answers that come late change nothing
    QCOMPARE(rows(*window), QStringList({"a,Slow,no verdict,found,"}));
    QCOMPARE(window->progressText(),
             QStringLiteral(
                     "Stopped after 1 of 3 pairs. 1 searched again, 1 changed: new hits 0, hits "
                     "gone 0, blocked 0, errors 0, pages changed 0, without an earlier verdict 1"));
}

QTEST_MAIN(TestChangesWindow)
#include "tst_changeswindow.moc"
