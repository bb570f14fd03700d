// SPDX-License-Identifier: GPL-3.0-or-later
// The command set: menus, context menus, shortcut dispatch, list keys and type-ahead.
#include "CommandSet.h"
#include "Language.h"
#include "MainWindowFixture.h"
#include "QLaunch.h"
#include "ShortcutDispatcher.h"
#include "Text.h"
#include "TextPad.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

namespace {

const QByteArray kServices = "Web=http://a/?q=|s|\r\nMaps=http://m/|s|\r\n";
const QByteArray kTerms = "red car\r\ndogs\r\nDolphins\r\ncats\r\n";

QListView *view(TfrmMain *w, const char *name)
{
    return w->findChild<QListView *>(QString::fromUtf8(name));
}

// The menus of the menu bar and the console's.
QList<const QMenu *> menusOf(TfrmMain *w)
{
    QList<const QMenu *> menus;
    for (const QAction *a : w->menuBar()->actions())
        menus.append(a->menu());
    for (const QAction *a : w->console()->menuBar()->actions())
        menus.append(a->menu());
    return menus;
}

// The letter after "&", in lower case; none when the text has no access letter.
QChar accessLetter(const QString &text)
{
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

// Records which commands ran.
struct CommandLog
{
    explicit CommandLog(TfrmMain *w)
    {
        for (QAction *a : w->commandSet()->actions())
            QObject::connect(a, &QAction::triggered, a,
                             [this, a] { names.append(a->objectName()); });
    }
    QStringList names;
};

void showAndFocus(TfrmMain *w, QWidget *focus)
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QApplication::setActiveWindow(w);
    focus->setFocus();
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandNames();
    void everyCommandInAMenu();
    void accessLettersDiffer_data();
    void accessLettersDiffer();
    void everyShortcutRunsItsCommand();
    void notepadOwnSetComesFirst();
    void shortcuts_data();
    void shortcuts();
    void sharedCtrlCRunsDisplayConsole();
    void clipboardKeysInTextBoxes();
    void shortcutsFromOtherWindows();
    void deleteAndInsert_data();
    void deleteAndInsert();
    void typeAheadSelectsAndSearches();
    void typeAheadKeepsLettersFromTheList();
    void doubleClickAddsAndGoes();
};

void TestCommands::commandNames()
{
    MainWindowFixture f;
    QSet<QString> names;
    for (QAction *a : f.window->commandSet()->actions()) {
        QVERIFY2(a->objectName().startsWith(u"act"), qPrintable(a->objectName()));
        QVERIFY2(!names.contains(a->objectName()), qPrintable(a->objectName()));
        names.insert(a->objectName());
        QVERIFY(!a->text().isEmpty());
    }
}

void TestCommands::everyCommandInAMenu()
{
    // Every row of the table: a handler (the set refuses a row without one), an item in a menu
    // and a German caption of its own.
    QHash<QString, QString> english;
    {
        MainWindowFixture f;
        for (QAction *a : f.window->commandSet()->actions())
            english.insert(a->objectName(), a->text());
    }
    const LanguageScope german("de");
    MainWindowFixture f;
    QSet<QAction *> shown;
    for (const QMenu *menu : menusOf(f.window.get())) {
        for (QAction *item : menu->actions())
            shown.insert(item);
    }
    QCOMPARE(f.window->commandSet()->actions().size(), english.size());
    for (QAction *a : f.window->commandSet()->actions()) {
        QVERIFY2(shown.contains(a), qPrintable(a->objectName()));
        QVERIFY2(a->text() != english.value(a->objectName()), qPrintable(a->objectName()));
    }
}

void TestCommands::accessLettersDiffer_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::newRow("English") << QByteArray("en");
    QTest::newRow("German") << QByteArray("de");
}

void TestCommands::accessLettersDiffer()
{
    QFETCH(QByteArray, language);
    const LanguageScope scope(language);
    QCOMPARE(scope.language(), language == "en" ? QString() : QString::fromLatin1(language));
    MainWindowFixture f;
    QList<const QMenu *> menus = menusOf(f.window.get());
    for (const char *name : {"pmServices", "pmTerms", "pmTray"})
        menus.append(f.window->findChild<QMenu *>(QString::fromUtf8(name)));
    for (const QMenu *menu : menus) {
        QSet<QChar> letters;
        for (const QAction *item : menu->actions()) {
            const QChar letter = accessLetter(item->text());
            if (letter.isNull())
                continue;
            QVERIFY2(!letters.contains(letter), qPrintable(menu->title() + u' ' + item->text()));
            letters.insert(letter);
        }
    }
    QSet<QChar> titles;
    for (const QAction *menu : f.window->menuBar()->actions()) {
        QVERIFY(!titles.contains(accessLetter(menu->text())));
        titles.insert(accessLetter(menu->text()));
    }
}

void TestCommands::everyShortcutRunsItsCommand()
{
    // A key runs its command, or an earlier command that shares it.
    MainWindowFixture f;
    auto *dispatcher = f.window->findChild<ShortcutDispatcher *>();
    QVERIFY(dispatcher);
    QWidget *lists[] = {view(f.window.get(), "lstbxServices"), view(f.window.get(), "lstbxTerms")};
    const QList<QAction *> commands = f.window->commandSet()->actions();
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QAction *a = commands.at(i);
        if (a->shortcut().isEmpty())
            continue;
        for (QWidget *focus : lists) {
            QAction *runs = dispatcher->commandFor(a->shortcut()[0], focus);
            QVERIFY2(runs, qPrintable(a->objectName()));
            QVERIFY2(runs == a || commands.indexOf(runs) < i, qPrintable(a->objectName()));
        }
    }
}

void TestCommands::notepadOwnSetComesFirst()
{
    // Ctrl+A in a notepad is its Save As: not the text box's select-all, not Add Terms.
    MainWindowFixture f(kServices, kTerms);
    CommandLog log(f.window.get());
    f.window->commandSet()->action(QStringLiteral("actOpenText"))->trigger();
    TfrmTextPad *pad = f.window->notepads().last();
    pad->txtPad->setPlainText(QStringLiteral("note"));
    QVERIFY(QTest::qWaitForWindowExposed(pad));
    QApplication::setActiveWindow(pad);
    pad->txtPad->setFocus();
    f.prompts->expectFile(Prompts::FileMode::Save, QStringLiteral("Save Text File"), std::nullopt);
    QTest::keyClick(pad->txtPad, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(!pad->txtPad->textCursor().hasSelection());
    // A key the notepad does not have goes on to the main window's set.
    QTest::keyClick(pad->txtPad, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(log.names, (QStringList {"actOpenText", "actGo"}));
}

void TestCommands::shortcuts_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("command");
    // The dialog the command opens first, answered with Cancel: "text|title|prompt",
    // "file|title", or empty when it opens none.
    QTest::addColumn<QString>("dialog");

    const auto ctrl = Qt::ControlModifier;
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("Ctrl+A") << (ctrl | Qt::Key_A) << "actAddTerm"
                            << "text|Add New Term|Enter Term:";
    QTest::newRow("Ctrl+Alt+A") << (ctrlAlt | Qt::Key_A) << "actAddService"
                                << "text|Add New Service|Enter Service Name:";
    QTest::newRow("Ctrl+Alt+R") << (ctrlAlt | Qt::Key_R) << "actReplaceServices"
                                << "text|Service String|Enter New Service String:";
    QTest::newRow("Ctrl+Alt+N") << (ctrlAlt | Qt::Key_N) << "actNewServices"
                                << "";
    QTest::newRow("Ctrl+Alt+O") << (ctrlAlt | Qt::Key_O) << "actLoadServices"
                                << "file|Select Services File";
    QTest::newRow("Ctrl+Alt+S") << (ctrlAlt | Qt::Key_S) << "actSaveServices"
                                << "";
    QTest::newRow("Ctrl+R") << (ctrl | Qt::Key_R) << "actReplaceTerm"
                            << "text|Enter New Term|Enter Term:";
    QTest::newRow("Ctrl+N") << (ctrl | Qt::Key_N) << "actNewTerms"
                            << "";
    QTest::newRow("Ctrl+O") << (ctrl | Qt::Key_O) << "actLoadTerms"
                            << "file|Select Terms File";
    QTest::newRow("Ctrl+S") << (ctrl | Qt::Key_S) << "actSaveTerms"
                            << "";
    QTest::newRow("Ctrl+T") << (ctrl | Qt::Key_T) << "actTglSendtotray"
                            << "";
    QTest::newRow("Ctrl+G") << (ctrl | Qt::Key_G) << "actGo"
                            << "";
    QTest::newRow("Ctrl+C") << (ctrl | Qt::Key_C) << "actDisplayConsole"
                            << "";
    QTest::newRow("Ctrl+X") << (ctrl | Qt::Key_X) << "actAddGo"
                            << "text|Add New Term|Enter Term:";
    QTest::newRow("Ctrl+Q") << (ctrl | Qt::Key_Q) << "actQLaunch"
                            << "";
}

void TestCommands::shortcuts()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    MainWindowFixture f(kServices, kTerms);
    TfrmMain *w = f.window.get();
    f.window->terms().list.SelectLine(1); // so that Replace Term has a line to work on
    const QStringList parts = dialog.split(u'|');
    if (parts.first() == u"text")
        f.prompts->expectCancel(parts.at(1), parts.at(2));
    else if (parts.first() == u"file")
        f.prompts->expectFile(command.contains(u"Save") ? Prompts::FileMode::Save
                                                        : Prompts::FileMode::Open,
                              parts.at(1), std::nullopt);
    CommandLog log(w);
    QListView *terms = view(w, "lstbxTerms");
    showAndFocus(w, terms);
    QTest::keyClick(terms, key.key(), key.keyboardModifiers());
    QCOMPARE(log.names, QStringList {command});
    QVERIFY(f.prompts->verifyDone());
    QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join(u'\n')));
}

void TestCommands::sharedCtrlCRunsDisplayConsole()
{
    MainWindowFixture f(kServices, kTerms);
    QListView *terms = view(f.window.get(), "lstbxTerms");
    showAndFocus(f.window.get(), terms);
    QTest::keyClick(terms, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(f.window->console()->isVisible());
    QCOMPARE(f.window->terms().list.Count(), 4);
    // Clear Terms is still reached through its menu item, which shows the same key.
    f.window->commandSet()->action(QStringLiteral("actClearTerms"))->trigger();
    QCOMPARE(f.window->terms().list.Count(), 0);
}

void TestCommands::clipboardKeysInTextBoxes()
{
    MainWindowFixture f(kServices, kTerms);
    CommandLog log(f.window.get());
    TfrmText *console = f.window->console();
    console->SetConsoleText(QStringLiteral("copy me"));
    console->show();
    QVERIFY(QTest::qWaitForWindowExposed(console));
    QApplication::setActiveWindow(console);
    console->txtPad->setFocus();
    console->txtPad->selectAll();
    QTest::keyClick(console->txtPad, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copy me"));
    QTest::keyClick(console->txtPad, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(console->ConsoleText(), QString());
    QVERIFY(log.names.isEmpty());
    // Every other shortcut still runs its command from the console, Ctrl+A included.
    f.prompts->expectCancel(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"));
    QTest::keyClick(console->txtPad, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(log.names, QStringList {"actAddTerm"});
    QVERIFY(f.prompts->verifyDone());
}

void TestCommands::shortcutsFromOtherWindows()
{
    MainWindowFixture f(kServices, kTerms);
    CommandLog log(f.window.get());
    TfrmQLaunch *launcher = f.window->quickLauncher();
    f.window->show();
    f.window->commandSet()->action(QStringLiteral("actTglSendtotray"))->trigger();
    QVERIFY(!f.window->isVisible());
    launcher->show();
    QVERIFY(QTest::qWaitForWindowExposed(launcher));
    QApplication::setActiveWindow(launcher);
    launcher->txtSearch->setFocus();
    // The main window's keys work while it is in the tray.
    QTest::keyClick(launcher->txtSearch, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(launcher->txtSearch, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(log.names, (QStringList {"actTglSendtotray", "actGo", "actTglSendtotray"}));
    QVERIFY(f.window->isVisible());
}

void TestCommands::deleteAndInsert_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("command");
    for (const char *list : {"lstbxServices", "lstbxTerms"}) {
        const bool services = QByteArray(list) == "lstbxServices";
        for (int modifiers :
             {int(Qt::NoModifier), int(Qt::ShiftModifier), int(Qt::ControlModifier)}) {
            QTest::addRow("%s Delete %d", list, modifiers)
                    << list << int(Qt::Key_Delete) << modifiers
                    << (services ? "actRemoveService" : "actRemoveTerm");
            QTest::addRow("%s Insert %d", list, modifiers)
                    << list << int(Qt::Key_Insert) << modifiers
                    << (services ? "actAddService" : "actAddTerm");
        }
    }
}

void TestCommands::deleteAndInsert()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, command);
    MainWindowFixture f(kServices, kTerms);
    const bool services = list == u"lstbxServices";
    ListDocument &document = services ? f.window->services() : f.window->terms();
    document.list.SelectLine(0);
    if (key == Qt::Key_Insert)
        f.prompts->expectCancel(
                services ? QStringLiteral("Add New Service") : QStringLiteral("Add New Term"),
                services ? QStringLiteral("Enter Service Name:") : QStringLiteral("Enter Term:"));
    QListView *v = view(f.window.get(), list.toUtf8().constData());
    showAndFocus(f.window.get(), v);
    const qsizetype before = document.list.Count();
    QTest::keyClick(v, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(document.list.Count(), key == Qt::Key_Delete ? before - 1 : before);
    QCOMPARE(document.changed, key == Qt::Key_Delete);
    // The view moves its selection to the next line while one is removed: that is no pick,
    // nothing is searched, and no line stays selected.
    QVERIFY(f.browser->addresses.isEmpty());
    if (key == Qt::Key_Delete)
        QCOMPARE(document.list.SelectedIndex(), qsizetype(-1));
}

void TestCommands::typeAheadSelectsAndSearches()
{
    MainWindowFixture f(kServices, kTerms);
    QListView *terms = view(f.window.get(), "lstbxTerms");
    showAndFocus(f.window.get(), terms);
    QTest::keyClick(terms, Qt::Key_D);
    QCOMPARE(f.window->terms().list.SelectedIndex(), 1);
    f.nowMs += 100;
    QTest::keyClick(terms, Qt::Key_O);
    f.nowMs += 100;
    QTest::keyClick(terms, Qt::Key_L);
    QCOMPARE(f.window->terms().list.SelectedIndex(), 2);
    // A pause restarts the search; the same line found again searches again.
    f.nowMs += 500;
    QTest::keyClick(terms, Qt::Key_D, Qt::ShiftModifier);
    f.nowMs += 600;
    QTest::keyClick(terms, Qt::Key_D);
    QCOMPARE(f.window->terms().list.SelectedIndex(), 1);
    QCOMPARE(f.browser->addresses,
             (QStringList {"http://a/?q=dogs", "http://a/?q=dogs", "http://a/?q=Dolphins",
                           "http://a/?q=dogs", "http://a/?q=dogs"}));
    // Backspace emptying the search picks the first line.
    f.nowMs += 100;
    QTest::keyClick(terms, Qt::Key_Backspace);
    QCOMPARE(f.window->terms().list.SelectedIndex(), 0);
    QCOMPARE(f.browser->addresses.last(), QStringLiteral("http://a/?q=red+car"));
}

void TestCommands::typeAheadKeepsLettersFromTheList()
{
    // The list's own one-letter search would jump to "cats"; type-ahead finds no "x" line and
    // the selection stays.
    MainWindowFixture f(kServices, kTerms);
    QListView *services = view(f.window.get(), "lstbxServices");
    showAndFocus(f.window.get(), services);
    f.window->services().list.SelectLine(0);
    QTest::keyClick(services, Qt::Key_X);
    QTest::keyClick(services, Qt::Key_M);
    QCOMPARE(f.window->services().list.SelectedIndex(), 0);
    QCOMPARE(services->selectionModel()->selectedRows().value(0).row(), 0);
    QVERIFY(f.browser->addresses.isEmpty());
    f.nowMs += 1000;
    QTest::keyClick(services, Qt::Key_M);
    QCOMPARE(f.window->services().list.SelectedIndex(), 1);
    QCOMPARE(f.browser->addresses, QStringList {"http://m/red%20car"});
}

void TestCommands::doubleClickAddsAndGoes()
{
    MainWindowFixture f(kServices, kTerms);
    QListView *terms = view(f.window.get(), "lstbxTerms");
    showAndFocus(f.window.get(), terms);
    f.prompts->expectText(QStringLiteral("Add New Term"), QStringLiteral("Enter Term:"),
                          QStringLiteral("owls"));
    const QPoint at = terms->visualRect(terms->model()->index(1, 0)).center();
    QTest::mouseClick(terms->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(terms->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(f.prompts->verifyDone());
    QCOMPARE(f.browser->addresses, (QStringList {"http://a/?q=dogs", "http://a/?q=owls"}));
    QCOMPARE(f.window->terms().list.SelectedIndex(), 4);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
