// SPDX-License-Identifier: GPL-3.0-or-later
// Groups over the service list, and the result matrix filling in from a local server: hits,
// misses, a service without rules and a dead port, then a click showing a cell's page.
#include "Case.h"
#include "CaseRecorder.h"
#include "EditGroups.h"
#include "EntryListView.h"
#include "LocalWebServer.h"
#include "MainWindowFixture.h"
#include "NetworkPageLoader.h"
#include "ResultMatrix.h"
#include "SessionBus.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

class TestMatrixWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groups();
    void matrix();
    void stop();
    void keyboard();
};

namespace {

// A page for every path: /u/<term>, alice has a profile, bob's says there is none, any other
// is not there; /plain/<term> always answers.
LocalWebServer::Response page(const LocalWebServer::Request &request)
{
    if (request.path.startsWith("/plain/"))
        return {"200 OK", "text/html", {}, "<p>Results</p>"};
    if (request.path == "/u/alice")
        return {"200 OK", "text/html", {}, "<h1>alice</h1><p>Profile</p>"};
    if (request.path == "/u/bob")
        return {"200 OK", "text/html", {}, "<p>No such user</p>"};
    return {"404 Not Found", "text/html", {}, "<p>Not here</p>"};
}

QString wordAt(const TfrmMatrix &matrix, int row, int column)
{
    return matrix.Model().index(row, column).data().toString();
}

} // namespace

void TestMatrixWindow::groups()
{
    const QByteArray services = "A=http://a/?q=|s|\tgroup=News\r\nB=http://b/?q=|s|\r\n"
                                "C=http://c/?q=|s|\tgroup=news,Art\tfound=status:200\r\n";
    MainWindowFixture f(services, "cats\r\n");
    auto *picker = f.window->findChild<QComboBox *>(QStringLiteral("cmbGroups"));
    auto *list = f.window->findChild<EntryListView *>(QStringLiteral("lstbxServices"));
    QCOMPARE(picker->count(), 3); // All services, Art, News
    picker->setCurrentIndex(2);
    Q_EMIT picker->activated(2);
    QCOMPARE(f.window->servicesOnView(), (QList<qsizetype> {0, 2}));
    QVERIFY(list->isRowHidden(1) && !list->isRowHidden(2));
    QCOMPARE(f.window->busProgram().group(), QStringLiteral("News"));
    f.window->showGroup(QStringLiteral("Art"));
    f.window->terms().list.SelectLine(0);
    f.window->commandSet()->action(QStringLiteral("actGo"))->trigger();
    QCOMPARE(f.browser->addresses.constLast(), QStringLiteral("http://c/?q=cats"));
    f.window->services().list.Append("D=http://d/\tgroup=art");
    QCOMPARE(f.window->groupOnView(), QStringLiteral("Art"));
    f.window->services().list.Append("E=http://e/");
    QVERIFY(f.window->groupOnView().isNull() && !list->isRowHidden(4));
    f.window->services().list.Remove(4);
    f.window->services().list.Remove(3);

    // Edit Groups as a user would: the group typed, B ticked with Space, Enter.
    f.window->showGroup({});
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<TfrmEditGroups *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTest::keyClicks(dialog->findChild<QComboBox *>()->lineEdit(), QStringLiteral("Art"));
        auto *services = dialog->findChild<QListWidget *>(QStringLiteral("lstServices"));
        QCOMPARE(services->item(2)->checkState(), Qt::Checked);
        services->setFocus();
        services->setCurrentRow(1);
        QTest::keyClick(services, Qt::Key_Space);
        QTest::keyClick(services, Qt::Key_Return);
    });
    f.window->commandSet()->action(QStringLiteral("actEditGroups"))->trigger();
    QCOMPARE(f.errors, QStringList());
    QCOMPARE(f.window->services().list.LineAt(1), QByteArray("B=http://b/?q=|s|\tgroup=Art"));
    // Saved whole, in order, the other lines byte for byte.
    f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Save Services File"),
                          f.folder.filePath(QStringLiteral("out.gls")));
    f.window->commandSet()->action(QStringLiteral("actSaveServicesAs"))->trigger();
    QCOMPARE(f.readFile(QStringLiteral("out.gls")),
             QByteArray(services).replace("B=http://b/?q=|s|", "B=http://b/?q=|s|\tgroup=Art"));
}

void TestMatrixWindow::matrix()
{
    LocalWebServer server(page);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QByteArray dead = "http://127.0.0.1:" + QByteArray::number(closed.serverPort());
    closed.close();
    const QByteArray rules = "\tfound=status:200&!text:No such user\tmissing=status:404|text:No such user";
    MainWindowFixture f("Forum=" + server.base() + "/u/|s|\tgroup=p" + rules + "\r\nPlain="
                                + server.base() + "/plain/|s|\tgroup=p\r\nDead=" + dead
                                + "/u/|s|\tgroup=p" + rules + "\r\nOther=http://o/|s|\r\n",
                        "alice\r\nbob\r\ncarol\r\n");
    f.pageLoader = [] { return std::make_unique<NetworkPageLoader>(); };
    f.window->caseRecorder()->open(f.folder.filePath(QStringLiteral("case")));
    f.window->showGroup(QStringLiteral("p"));
    f.window->commandSet()->action(QStringLiteral("actResultMatrix"))->trigger();
    QCOMPARE(f.errors, QStringList());
    auto *matrix = f.window->findChild<TfrmMatrix *>();
    QVERIFY(matrix && matrix->isVisible());
    QCOMPARE(matrix->Model().columnCount(), 3); // the group on view: Other is not in it
    QCOMPARE(wordAt(*matrix, 0, 0), QStringLiteral("waiting"));
    QTRY_VERIFY_WITH_TIMEOUT(!matrix->IsRunning(), 20000);
    int recorded = 0; // the open case holds every cell's search
    f.window->caseRecorder()->openCase()->store().read(
            [&](const Cases::CaseEntry &e) { recorded += e.startedBy == QLatin1String(Cases::StartedBy::kMatrix); },
            Cases::CaseStore::Order::Sequence, QString::fromLatin1(Cases::kSearch));
    QCOMPARE(recorded, 9);
    // clang-format off
    const QStringList expected = {"found", "unknown", "error", "not found", "unknown", "error", "not found", "unknown", "error"};
    // clang-format on
    for (int cell = 0; cell < expected.size(); ++cell)
        QCOMPARE(wordAt(*matrix, cell / 3, cell % 3), expected.at(cell));
    QVERIFY(!matrix->Model().index(0, 2).data(Qt::ToolTipRole).toString().isEmpty());
    QCOMPARE(matrix->Model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("Forum\n1 found"));
    QCOMPARE(matrix->Model().headerData(1, Qt::Vertical).toString(), QStringLiteral("bob (0 found, 1 in error)"));

    // Export: the columns of the CSV the job without a window writes.
    const QString csv = f.folder.filePath(QStringLiteral("m.csv"));
    f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Export Result Matrix"), csv);
    matrix->findChild<CommandSet *>()->action(QStringLiteral("actMatrixExport"))->trigger();
    const QList<QByteArray> rows = f.readFile(QStringLiteral("m.csv")).split('\n');
    QCOMPARE(rows.size(), 11);
    QCOMPARE(rows.at(0), QByteArray("term,service,result,status,address,started,ended\r"));
    QVERIFY(rows.at(4).startsWith("bob,Forum,not found,200," + server.base() + "/u/bob,"));
    QCOMPARE(matrix->statusBar()->currentMessage(), QStringLiteral("Wrote the 9 cells to ") + csv);
    QCOMPARE(matrix->windowTitle(), QStringLiteral("Result Matrix: group p, terms: 3, services: 3"));

    // A click on a cell: its page in the pane, through Go, with the lines picked.
    auto *grid = matrix->findChild<QTableView *>(QStringLiteral("grdMatrix"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(matrix->Model().index(2, 1)).center());
    QCOMPARE(f.browser->addresses.constLast(), server.base() + "/plain/carol");
    QCOMPARE(f.window->terms().list.SelectedIndex(), 2);
    QCOMPARE(f.window->services().list.SelectedIndex(), 1);
}

// Escape stops the loads still open: their cells say so, an answer coming later changes nothing,
// the export holds every cell with the run's times; Resume searches the cells left.
void TestMatrixWindow::stop()
{
    LocalWebServer server([](const LocalWebServer::Request &request) {
        LocalWebServer::Response slow;
        slow.delayMs = request.path == "/a" ? 0 : 300;
        return slow;
    });
    MainWindowFixture f("Slow=" + server.base() + "/|s|\tfound=status:200\r\n", "a\r\nb\r\nc\r\n");
    f.pageLoader = [] { return std::make_unique<NetworkPageLoader>(); };
    f.window->commandSet()->action(QStringLiteral("actResultMatrix"))->trigger();
    auto *matrix = f.window->findChild<TfrmMatrix *>();
    QTRY_COMPARE(wordAt(*matrix, 0, 0), QStringLiteral("found"));
    QTRY_COMPARE(server.requestsFor("/").size(), 3);
    QTest::keyClick(matrix->findChild<QTableView *>(), Qt::Key_Escape);
    QVERIFY(!matrix->IsRunning());
    QTest::qWait(600);
    QCOMPARE(wordAt(*matrix, 1, 0), QStringLiteral("not searched"));
    QCOMPARE(wordAt(*matrix, 2, 0), QStringLiteral("not searched"));

    const QString csv = f.folder.filePath(QStringLiteral("stopped.csv"));
    f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Export Result Matrix"), csv);
    matrix->findChild<CommandSet *>()->action(QStringLiteral("actMatrixExport"))->trigger();
    const QList<QByteArray> rows = f.readFile(QStringLiteral("stopped.csv")).split('\n');
    QCOMPARE(rows.size(), 5);
    QVERIFY(rows.at(1).startsWith("a,Slow,found,200,"));
    QVERIFY(rows.at(3).startsWith("c,Slow,not searched,,"));
    const QList<QByteArray> times = rows.at(3).trimmed().split(',').mid(5);
    QVERIFY(QDateTime::fromString(QString::fromLatin1(times.value(0)), Qt::ISODateWithMs).isValid());
    QVERIFY(QDateTime::fromString(QString::fromLatin1(times.value(1)), Qt::ISODateWithMs).isValid());

    // Resumed: only the cells left are asked for again.
    auto *resume = matrix->findChild<QPushButton *>(QStringLiteral("btnMatrixResume"));
    QVERIFY(resume && resume->isEnabled());
    QCOMPARE(resume->text(), QStringLiteral("&Resume (Ctrl+R)"));
    resume->click();
    QTRY_VERIFY_WITH_TIMEOUT(!matrix->IsRunning(), 10000);
    QCOMPARE(wordAt(*matrix, 2, 0), QStringLiteral("found"));
    QCOMPARE(server.requestsFor("/a").size(), 1);
    QCOMPARE(server.requestsFor("/c").size(), 2);
    QVERIFY(!resume->isEnabled());
}

// Tab goes from the table through every button, each with a name for screen readers.
void TestMatrixWindow::keyboard()
{
    MainWindowFixture f("A=http://127.0.0.1:9/|s|\r\n", "a\r\n");
    f.pageLoader = [] { return std::make_unique<NetworkPageLoader>(); };
    f.window->commandSet()->action(QStringLiteral("actResultMatrix"))->trigger();
    auto *matrix = f.window->findChild<TfrmMatrix *>();
    QApplication::setActiveWindow(matrix);
    QTRY_COMPARE(QApplication::activeWindow(), matrix);
    QTRY_VERIFY(!matrix->IsRunning());
    auto *grid = matrix->findChild<QTableView *>();
    grid->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), grid);
    QStringList reached;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget()))
            reached << button->accessibleName();
    }
    // Stop is not reached once the run has ended, nor Resume before a stop.
    QCOMPARE(reached.mid(0, 2), (QStringList {QStringLiteral("Copy"), QStringLiteral("Export as CSV")}));
    for (QWidget *widget : matrix->findChildren<QWidget *>()) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->isVisible())
            QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
    }
}

QTEST_MAIN(TestMatrixWindow)
#include "tst_matrixwindow.moc"
