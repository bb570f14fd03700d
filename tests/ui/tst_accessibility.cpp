// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as a screen reader sees it, and the main window used with the keyboard alone.
#include "Accessibility.h"
#include "CommandSet.h"
#include "ExportServices.h"
#include "ImportServices.h"
#include "MainWindowFixture.h"
#include "QLaunch.h"
#include "QtPrompts.h"
#include "Text.h"
#include "TextPad.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QByteArray kServices = "Web=http://a/?q=|s|\r\nMaps=http://m/|s|\r\n";
const QByteArray kTerms = "red car\r\ndogs\r\ncats\r\n";

// The controls without a name in the modal window that `open` shows; the window is then
// closed as Escape closes it.
QStringList unnamedInModal(const std::function<void()> &open)
{
    QStringList unnamed = {QStringLiteral("no window opened")};
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        unnamed = UnnamedControls(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    open();
    return unnamed;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsNameTheirControls();
    void dialogsNameTheirControls_data();
    void dialogsNameTheirControls();
    void keyboardAlone();
};

void TestAccessibility::windowsNameTheirControls()
{
    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    w->show();
    w->commandSet()->action(QStringLiteral("actOpenText"))->trigger();
    w->console()->show();
    w->quickLauncher()->show();
    TfrmImport import(
            {}, {}, [] { return std::optional<QString>(); }, w);
    import.show();
    TfrmExport exportDialog(w);
    exportDialog.show();
    const QList<QWidget *> windows
            = {w, w->console(), w->quickLauncher(), w->notepads().last(), &import, &exportDialog};
    for (QWidget *window : windows) {
        QVERIFY(window->isVisible());
        QVERIFY2(UnnamedControls(window).isEmpty(),
                 qPrintable(window->objectName() + QStringLiteral(": ") + UnnamedControls(window).join(u", ")));
    }
    // The lists say what they hold.
    QCOMPARE(AccessibleName(w->findChild<QListView *>(QStringLiteral("lstbxServices"))),
             QStringLiteral("Search services"));
    QCOMPARE(AccessibleName(w->findChild<QListView *>(QStringLiteral("lstbxTerms"))),
             QStringLiteral("Search terms"));
    // A combo box by what it chooses, not by its current item.
    QCOMPARE(AccessibleName(w->findChild<QComboBox *>(QStringLiteral("cmbGroups"))),
             QStringLiteral("Group of services on view"));
}

void TestAccessibility::dialogsNameTheirControls_data()
{
    QTest::addColumn<std::function<void()>>("open");
    static QtPrompts prompts;
    QTest::newRow("text prompt") << std::function<void()>([] {
        QString text = QStringLiteral("cats");
        prompts.PromptText(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"), text);
    });
    QTest::newRow("question") << std::function<void()>(
            [] { prompts.AskYesNoCancel(QStringLiteral("Save changes to term list?")); });
    QTest::newRow("notice") << std::function<void()>(
            [] { prompts.ShowNotice(QStringLiteral("Done")); });
    QTest::newRow("OK or Cancel") << std::function<void()>(
            [] { prompts.AskOkCancel(QStringLiteral("Are you sure?")); });
    QTest::newRow("risk") << std::function<void()>([] {
        prompts.ConfirmRisk(QStringLiteral("Certificate Not Valid"), QStringLiteral("Go on?"),
                            QStringLiteral("Go On Anyway"));
    });
    QTest::newRow("login") << std::function<void()>([] {
        QString user;
        QString password;
        prompts.AskLogin(QStringLiteral("Log In"), QStringLiteral("The site a asks"), user,
                         password);
    });
    QTest::newRow("About box") << std::function<void()>([] {
        MainWindowFixture f;
        f.window->commandSet()->action(QStringLiteral("actAbout"))->trigger();
    });
}

void TestAccessibility::dialogsNameTheirControls()
{
    QFETCH(std::function<void()>, open);
    const QStringList unnamed = unnamedInModal(open);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
}

// From start to search to closing with keys alone: Tab between the lists, arrows pick a line,
// Enter and Ctrl+G search, F10 and Alt with the access letters reach the menus.
void TestAccessibility::keyboardAlone()
{
    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    QSignalSpy closed(w, &TfrmMain::closed);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QApplication::setActiveWindow(w);
    auto *services = w->findChild<QListView *>(QStringLiteral("lstbxServices"));
    auto *terms = w->findChild<QListView *>(QStringLiteral("lstbxTerms"));
    QTRY_COMPARE(QApplication::focusWidget(), services); // ready for keys at once
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget *target = QApplication::activePopupWidget();
        QTest::keyClick(target ? target : QApplication::focusWidget(), key, modifiers);
    };

    press(Qt::Key_Down); // the first service
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), terms);
    press(Qt::Key_Down); // the first term, searched
    press(Qt::Key_Down);
    QCOMPARE(f.browser->addresses.value(2), QStringLiteral("http://a/?q=dogs"));
    press(Qt::Key_Return);
    press(Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(f.browser->addresses.size(), 5);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), services);
    press(Qt::Key_Down); // Maps, with the term still selected
    QCOMPARE(f.browser->addresses.last(), QStringLiteral("http://m/dogs"));

    // F10 opens the first menu; Alt and an access letter another, and a letter runs its item.
    press(Qt::Key_F10);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&File"));
    press(Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    press(Qt::Key_Escape); // out of the menu bar
    press(Qt::Key_O, Qt::AltModifier);
    menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("T&ools"));
    press(Qt::Key_G); // &Go
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.browser->addresses.size(), 7);
    QCOMPARE(f.browser->addresses.last(), QStringLiteral("http://m/dogs"));

    press(Qt::Key_F, Qt::AltModifier);
    QVERIFY(QApplication::activePopupWidget());
    press(Qt::Key_E); // &Exit
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!w->isVisible());
    QVERIFY(f.errors.isEmpty());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
