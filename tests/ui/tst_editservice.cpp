// SPDX-License-Identifier: GPL-3.0-or-later
// Services > Edit Service and Edit Groups as a user meets them: a line edited field by field
// and written back in its own encoding, the rest byte for byte; groups renamed and deleted.
#include "EditGroups.h"
#include "EditService.h"
#include "MainWindowFixture.h"
#include "CommandSet.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

// Typed key by key; a letter outside ASCII comes as a keyboard layout sends it.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), {});
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), {});
    }
}

} // namespace

class TestEditService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void editsTheSelectedService();
    void groupsRenamedAndDeleted();
};

void TestEditService::roundTrip_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("windowsList"); // another line of the list is Windows-1252
    QTest::addColumn<QString>("field");    // the field typed over; chkPost: ticked or cleared, then the body
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written"); // "!" and the start of the reason when OK is greyed
    // clang-format off
    QTest::newRow("unchanged, attributes") << QByteArray("W\xc3\xa9""b=http://a/?q=|s|\tgroup= A ,b\tfound=status:200\tx-new=1") << false << "" << "" << QByteArray("W\xc3\xa9""b=http://a/?q=|s|\tgroup= A ,b\tfound=status:200\tx-new=1");
    QTest::newRow("unchanged, Windows-1252") << QByteArray("Caf\xe9=http://c/?q=|s|\tgroup=\xc9t\xe9") << true << "" << "" << QByteArray("Caf\xe9=http://c/?q=|s|\tgroup=\xc9t\xe9");
    QTest::newRow("name, UTF-8") << QByteArray("W\xc3\xa9""b=http://a/?q=|s|\tx=1") << false << "txtName" << "Wiki" << QByteArray("Wiki=http://a/?q=|s|\tx=1");
    QTest::newRow("name, Windows-1252") << QByteArray("Caf\xe9=http://c/") << true << "txtName" << "Th\u00e9" << QByteArray("Th\xe9=http://c/");
    QTest::newRow("group added, Windows-1252") << QByteArray("Caf\xe9=http://c/?q=|s|") << true << "txtGroups" << "\u00c9t\u00e9, News" << QByteArray("Caf\xe9=http://c/?q=|s|\tgroup=\xc9t\xe9,News");
    QTest::newRow("group added, ASCII line of a Windows list") << QByteArray("Maps=http://m/") << true << "txtGroups" << "\u00c9t\u00e9" << QByteArray("Maps=http://m/\tgroup=\xc9t\xe9");
    QTest::newRow("group added, ASCII line of a UTF-8 list") << QByteArray("Maps=http://m/") << false << "txtGroups" << "\u00c9t\u00e9" << QByteArray("Maps=http://m/\tgroup=\xc3\x89t\xc3\xa9");
    QTest::newRow("Windows bytes that would read as UTF-8") << QByteArray("X=http://x/\tgroup=\xe9") << true << "txtGroups" << "\u00c3\u00a9" << QByteArray("X=http://x/\tgroup=\xc3\x83\xc2\xa9");
    QTest::newRow("rule changed, unknown ones kept") << QByteArray("W=http://w/\tx-a=1\tfound=status:200\tz=\xe2\x82\xac") << false << "txtFound" << "status:404" << QByteArray("W=http://w/\tx-a=1\tfound=status:404\tz=\xe2\x82\xac");
    QTest::newRow("rule emptied: attribute gone") << QByteArray("W=http://w/\tfound=status:200\tx=1") << false << "txtFound" << "" << QByteArray("W=http://w/\tx=1");
    QTest::newRow("missing rule added") << QByteArray("W=http://w/|s|") << false << "txtMissing" << "text:No such user" << QByteArray("W=http://w/|s|\tmissing=text:No such user");
    QTest::newRow("address, attributes kept") << QByteArray("W=http://old/\tgroup=A\tq-x=\x01") << false << "txtAddress" << "https://new/?q=|s|" << QByteArray("W=https://new/?q=|s|\tgroup=A\tq-x=\x01");
    QTest::newRow("form body added") << QByteArray("W=http://w/") << false << "chkPost" << "q=|s|&x=1" << QByteArray("W=http://w/\tpost=q=|s|&x=1");
    QTest::newRow("form body taken out") << QByteArray("W=http://w/\tpost=q=|s|\tgroup=A") << false << "chkPost" << "" << QByteArray("W=http://w/\tgroup=A");
    QTest::newRow("not in Windows-1252") << QByteArray("Caf\xe9=http://c/") << true << "txtGroups" << "\u65e5\u672c" << QByteArray("!The character \"\u65e5\"");
    QTest::newRow("rule that does not read") << QByteArray("W=http://w/") << false << "txtFound" << "status:abc" << QByteArray("!The found rule of the service \"W\"");
    QTest::newRow("= in the name") << QByteArray("W=http://w/") << false << "txtName" << "a=b" << QByteArray("!A \"=\" cannot stand");
    QTest::newRow("no address") << QByteArray("W=http://w/\tgroup=A") << false << "txtAddress" << " " << QByteArray("!The service needs an address");
    QTest::newRow("comma only: no group") << QByteArray("W=http://w/\tgroup=A") << false << "txtGroups" << " , " << QByteArray("W=http://w/");
    // clang-format on
}

// Typed as a user would: the field's text selected and typed over, Space on the check box,
// then Enter.
void TestEditService::roundTrip()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, windowsList);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    TfrmEditService dialog(line, windowsList ? LineCharset::Windows1252 : LineCharset::Utf8);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (field == u"chkPost") {
        auto *post = dialog.findChild<QCheckBox *>(field);
        post->setFocus();
        QTest::keyClick(post, Qt::Key_Space);
        field = QStringLiteral("txtPost");
    }
    if (!field.isEmpty()) {
        auto *edit = dialog.findChild<QLineEdit *>(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        typeText(edit, typed);
        if (typed.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const QString problem = dialog.findChild<QLabel *>(QStringLiteral("lblProblem"))->text();
    if (written.startsWith('!')) {
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
        QVERIFY2(problem.startsWith(QString::fromUtf8(written.mid(1))), qPrintable(problem));
        return;
    }
    QCOMPARE(problem, QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.line(), written);
}

// The command edits the line selected, the list is then unsaved and the window says so; with
// no line selected it says what to do.
void TestEditService::editsTheSelectedService()
{
    MainWindowFixture f("A=http://a/\r\nCaf\xe9=http://c/\r\n", "x\r\n");
    TfrmMain *w = f.window.get();
    QAction *edit = w->commandSet()->action(QStringLiteral("actEditService"));
    edit->trigger();
    QCOMPARE(f.errors, QStringList {"Choose the service to edit in the list first"});
    w->services().list.SelectLine(0);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<TfrmEditService *>(QApplication::activeModalWidget());
        QVERIFY(dialog && QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_G, Qt::AltModifier); // to the Groups field
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtGroups"));
        typeText(QApplication::focusWidget(), QStringLiteral("\u00c9t\u00e9"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    edit->trigger();
    QCOMPARE(w->services().list.LineAt(0), QByteArray("A=http://a/\tgroup=\xc9t\xe9")); // the list is Windows-1252
    QVERIFY(w->services().changed);
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("The service \"A\" is changed; Save Services keeps it"));
    // A line added while the dialog is up, as a caller on the session bus may: nothing changes.
    w->services().list.SelectLine(0);
    QTimer::singleShot(0, [w] {
        auto *dialog = qobject_cast<TfrmEditService *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        w->services().list.Append("D=http://d/");
        dialog->findChild<QLineEdit *>(QStringLiteral("txtName"))->setText(QStringLiteral("Z"));
        dialog->accept();
    });
    edit->trigger();
    QCOMPARE(f.errors.constLast(), QStringLiteral("The service list changed while the service was edited: nothing was changed, edit it again"));
    QCOMPARE(w->services().list.LineAt(0), QByteArray("A=http://a/\tgroup=\xc9t\xe9"));
}

// Rename and Delete in Edit Groups, each asked as a user would; every line's other bytes stay.
void TestEditService::groupsRenamedAndDeleted()
{
    MainWindowFixture f("A=http://a/\tgroup=News,Art\r\nB=http://b/\tgroup=news\tfound=status:200\r\nC=http://c/\r\n", "x\r\n");
    TfrmMain *w = f.window.get();
    const auto editGroups = [w](const QString &group, const char *button) {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<TfrmEditGroups *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *name = dialog->findChild<QComboBox *>()->lineEdit();
            QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(name, group);
            // No name: OK is greyed and the dialog says why.
            auto *problem = dialog->findChild<QLabel *>(QStringLiteral("lblProblem"));
            QCOMPARE(problem->isVisibleTo(dialog), group.trimmed().isEmpty());
            auto *pressed = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
            QCOMPARE(pressed->isEnabled(), !group.trimmed().isEmpty());
            pressed->isEnabled() ? pressed->click() : dialog->reject();
        });
        w->commandSet()->action(QStringLiteral("actEditGroups"))->trigger();
    };
    editGroups(QStringLiteral(" "), "btnRename");
    f.prompts->expectText(QStringLiteral("Rename Group"), QStringLiteral("The new name of the group \"News\":"), QStringLiteral("Papers"));
    editGroups(QStringLiteral("news"), "btnRename");
    QCOMPARE(w->services().list.Lines(), (QList<QByteArray> {"A=http://a/\tgroup=Papers,Art", "B=http://b/\tgroup=Papers\tfound=status:200", "C=http://c/"}));
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("The group \"News\" is now \"Papers\"; services in it: 2"));
    f.prompts->expectOkCancel(QStringLiteral("Delete the group \"Papers\"? The services in it (2) stay in the list; only the group is taken off them."), true);
    editGroups(QStringLiteral("papers"), "btnDelete");
    QCOMPARE(w->services().list.Lines(), (QList<QByteArray> {"A=http://a/\tgroup=Art", "B=http://b/\tfound=status:200", "C=http://c/"}));
    QVERIFY(w->services().changed);
    QCOMPARE(f.errors, QStringList());
}

QTEST_MAIN(TestEditService)
#include "tst_editservice.moc"
