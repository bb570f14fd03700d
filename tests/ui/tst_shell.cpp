// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with its other windows: console, Quick Launcher, notepads and tray mode.
#include "CommandSet.h"
#include "ErrorBox.h"
#include "MainWindowFixture.h"
#include "QLaunch.h"
#include "Text.h"
#include "TextPad.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

void trigger(TfrmMain *w, const char *name)
{
    w->commandSet()->action(QString::fromUtf8(name))->trigger();
}

QStringList captionsOf(TfrmMain *w, const char *command)
{
    QStringList texts;
    const QList<QMenu *> menus = {w->menuBar()->actions().first()->menu(),
                                  w->findChild<QMenu *>(QStringLiteral("pmTray"))};
    for (QMenu *menu : menus) {
        for (QAction *item : menu->actions()) {
            if (item->objectName() == QString::fromUtf8(command))
                texts.append(item->text());
        }
    }
    return texts;
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsCreatedHidden();
    void consoleRoundTrip();
    void massAddMarksTheTermList();
    void quickLauncherFromTheMenu();
    void notepadCaptionsCount();
    void closingAsksForChangedNotepads_data();
    void closingAsksForChangedNotepads();
    void trayRoundTrip();
    void trayClicks();
    void noNotificationArea();
    void trayIconRemovedWithTheWindow();
    void trayTipShowsTheWholeText();
    void errorBox();
    void aboutBox();
};

void TestShell::windowsCreatedHidden()
{
    MainWindowFixture f;
    QVERIFY(f.window->console());
    QVERIFY(!f.window->console()->isVisible());
    QVERIFY(f.window->quickLauncher());
    QVERIFY(!f.window->quickLauncher()->isVisible());
    QCOMPARE(f.window->notepads().size(), 1);
    QVERIFY(!f.window->notepads().first()->isVisible());
}

void TestShell::consoleRoundTrip()
{
    MainWindowFixture f({}, "alpha\r\nbeta\r\n\r\ne-mail\r\n");
    trigger(f.window.get(), "actLstbxtoTxt");
    TfrmText *console = f.window->console();
    QVERIFY(console->isVisible());
    QCOMPARE(console->ConsoleText(), QStringLiteral("alpha\r\nbeta\r\n\r\ne-mail\r\n"));
    trigger(f.window.get(), "actFormatText");
    QCOMPARE(console->ConsoleText(), QStringLiteral("alpha - \r\nbeta - \r\n - \r\ne-mail - \r\n"));
    QVERIFY(!f.window->terms().changed); // Format Text leaves the list alone
}

void TestShell::massAddMarksTheTermList()
{
    MainWindowFixture f({}, "old\r\n");
    TfrmText *console = f.window->console();
    trigger(f.window.get(), "actDisplayConsole");
    QVERIFY(console->isVisible());
    console->SetConsoleText(QStringLiteral("e-mail \r\n  two\r\n") + QString(5000, u'x'));
    trigger(f.window.get(), "actMassAdd");
    QCOMPARE(f.window->terms().list.Lines(),
             (QList<QByteArray> {"email", "  two", QByteArray(5000, 'x')}));
    QVERIFY(f.window->terms().changed);
    QVERIFY(!console->isVisible());
    QCOMPARE(console->ConsoleText(), QString());
}

void TestShell::quickLauncherFromTheMenu()
{
    MainWindowFixture f;
    trigger(f.window.get(), "actQLaunch");
    TfrmQLaunch *launcher = f.window->quickLauncher();
    QVERIFY(launcher->isVisible());
    launcher->txtSearch->setText(QStringLiteral("red car"));
    launcher->btnGoClick();
    QCOMPARE(f.launched.size(), 1);
    QVERIFY(f.launched.first().endsWith(QStringLiteral("search=red+car&searchtype=1")));
}

void TestShell::notepadCaptionsCount()
{
    MainWindowFixture f;
    for (int i = 0; i < 3; ++i)
        trigger(f.window.get(), "actOpenText");
    QStringList captions;
    for (TfrmTextPad *pad : f.window->notepads()) {
        if (pad->isVisible())
            captions.append(pad->windowTitle());
    }
    QCOMPARE(captions, (QStringList {"Text Document 1", "Text Document 2", "Text Document 3"}));
}

void TestShell::closingAsksForChangedNotepads_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK closes everything") << true;
    QTest::newRow("Cancel keeps the program") << false;
}

void TestShell::closingAsksForChangedNotepads()
{
    QFETCH(bool, ok);
    MainWindowFixture f;
    trigger(f.window.get(), "actOpenText");
    trigger(f.window.get(), "actOpenText");
    TfrmTextPad *typed = f.window->notepads().last();
    typed->txtPad->setPlainText(QStringLiteral("a note"));
    QVERIFY(typed->hasUnsavedChanges());
    f.prompts->expectOkCancel(QStringLiteral("Are you sure?"), ok);
    f.window->show();
    QCOMPARE(f.window->close(), ok);
    QVERIFY(f.prompts->verifyDone());
    if (ok) {
        QTRY_VERIFY(f.window->notepads().isEmpty());
    } else {
        QCOMPARE(f.window->notepads().size(), 3);
        QCOMPARE(typed->txtPad->toPlainText(), QStringLiteral("a note"));
    }
}

void TestShell::trayRoundTrip()
{
    MainWindowFixture f;
    TfrmMain *w = f.window.get();
    w->show();
    QCOMPARE(captionsOf(w, "actTglSendtotray"), (QStringList {"&Send to Tray", "&Send to Tray"}));
    trigger(w, "actTglSendtotray");
    QVERIFY(w->trayMode());
    QVERIFY(!w->isVisible());
    QVERIFY(f.tray->shown);
    QCOMPARE(captionsOf(w, "actTglSendtotray"),
             (QStringList {"Show Main Screen", "Show Main Screen"}));
    trigger(w, "actTglSendtotray");
    QVERIFY(!w->trayMode());
    QVERIFY(w->isVisible());
    QVERIFY(!f.tray->shown);
    // Back out, the caption carries no access letter of its own.
    QCOMPARE(captionsOf(w, "actTglSendtotray"), (QStringList {"Send to Tray", "Send to Tray"}));
}

void TestShell::trayClicks()
{
    MainWindowFixture f;
    TfrmMain *w = f.window.get();
    w->show();
    trigger(w, "actTglSendtotray");
    f.tray->click(TrayIcon::Click::Other);
    QVERIFY(w->trayMode());
    QVERIFY(!f.window->quickLauncher()->isVisible());
    f.tray->click(TrayIcon::Click::Middle);
    QVERIFY(f.window->quickLauncher()->isVisible());
    QVERIFY(!w->isVisible());
    f.tray->click(TrayIcon::Click::DoubleLeft);
    QVERIFY(!w->trayMode());
    QVERIFY(w->isVisible());
    QVERIFY(!f.tray->shown);
}

void TestShell::noNotificationArea()
{
    MainWindowFixture f;
    f.tray->available = false;
    f.window->show();
    f.prompts->expectNotice(QStringLiteral(
            "This desktop has no notification area, so the main window stays open."));
    trigger(f.window.get(), "actTglSendtotray");
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->trayMode());
    QCOMPARE(f.tray->adds, 0);
}

void TestShell::trayIconRemovedWithTheWindow()
{
    MainWindowFixture f;
    trigger(f.window.get(), "actTglSendtotray");
    QVERIFY(f.tray->shown);
    bool removedBeforeDestruction = false;
    connect(f.tray, &QObject::destroyed, this, [&] { removedBeforeDestruction = !f.tray->shown; });
    f.window.reset();
    QVERIFY(removedBeforeDestruction);
}

void TestShell::trayTipShowsTheWholeText()
{
    SystemTrayIcon icon;
    icon.add();
    auto *systemIcon = icon.findChild<QSystemTrayIcon *>();
    QVERIFY(systemIcon);
    // All 64 characters: a tip cut to 63 would lose the last letter.
    QCOMPARE(systemIcon->toolTip(),
             QStringLiteral("glenLantern - MidClick: QLaunch; DblClick: MScreen; RClick: Menu"));
    icon.remove();
    QVERIFY(!systemIcon->isVisible());
}

void TestShell::errorBox()
{
    QCoreApplication::setApplicationName(QStringLiteral("GlenLantern"));
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    ShowErrorBox(nullptr, QStringLiteral("Stream write error"));
    QCOMPARE(title, QStringLiteral("GlenLantern"));
    QCOMPARE(text, QStringLiteral("Stream write error."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
}

void TestShell::aboutBox()
{
    MainWindowFixture f;
    QString title, text;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        box->close();
    });
    trigger(f.window.get(), "actAbout");
    QCOMPARE(title, QStringLiteral("About Glen Lantern"));
    for (const QString &part :
         {QStringLiteral("Glen Lantern " GL_TEST_VERSION),
          QStringLiteral("GNU General Public License, version 3"), QStringLiteral("later version"),
          QStringLiteral("running on Qt ") + QString::fromLatin1(qVersion())})
        QVERIFY2(text.contains(part), qPrintable(part));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
