// SPDX-License-Identifier: GPL-3.0-or-later
// The program in the user's language: LANGUAGE chooses it as on a desktop, the program's German
// translation and Qt's own (the standard buttons) come together, English stays as it was.
#include "CommandSet.h"
#include "Language.h"
#include "MainWindowFixture.h"
#include "QLaunch.h"
#include "Text.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

QStringList menuTitles(TfrmMain *w)
{
    QStringList titles;
    for (const QAction *a : w->menuBar()->actions())
        titles.append(a->text());
    return titles;
}

QString cancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text().remove(u'&');
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languageFromTheLocale_data();
    void languageFromTheLocale();
    void germanWindows();
    void englishAgainAfterwards();
};

void TestTranslations::languageFromTheLocale_data()
{
    QTest::addColumn<QByteArray>("languages"); // LANGUAGE, as a desktop sets it
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("German") << QByteArray("de") << QStringLiteral("de")
                            << QStringLiteral("Abbrechen");
    QTest::newRow("Austrian German")
            << QByteArray("de_AT") << QStringLiteral("de") << QStringLiteral("Abbrechen");
    QTest::newRow("German after a language without translation")
            << QByteArray("fr:de") << QStringLiteral("de") << QStringLiteral("Abbrechen");
    QTest::newRow("English before German")
            << QByteArray("en_GB:de") << QString() << QStringLiteral("Cancel");
    QTest::newRow("English") << QByteArray("en") << QString() << QStringLiteral("Cancel");
    QTest::newRow("only a language without translation")
            << QByteArray("fr") << QString() << QStringLiteral("Cancel");
}

void TestTranslations::languageFromTheLocale()
{
    QFETCH(QByteArray, languages);
    QFETCH(QString, chosen);
    QFETCH(QString, cancel);
    const LanguageScope scope(languages);
    QCOMPARE(scope.language(), chosen);
    QCOMPARE(cancelText(), cancel);
    MainWindowFixture f;
    QCOMPARE(menuTitles(f.window.get()).value(0),
             chosen.isEmpty() ? QStringLiteral("&File") : QStringLiteral("&Datei"));
}

void TestTranslations::germanWindows()
{
    const LanguageScope scope("de");
    MainWindowFixture f("Web=http://a/?q=|s|\r\n", "cats\r\n");
    TfrmMain *w = f.window.get();
    QCOMPARE(menuTitles(w),
             (QStringList {QStringLiteral("&Datei"), QStringLiteral("&Extras"),
                           QStringLiteral("&Suchdienste"), QStringLiteral("Such&begriffe"),
                           QStringLiteral("A&kte"), QStringLiteral("&Hilfe")}));
    const CommandSet *commands = w->commandSet();
    QCOMPARE(commands->action(QStringLiteral("actGo"))->text(), QStringLiteral("&Los"));
    QCOMPARE(commands->action(QStringLiteral("actSaveServicesAs"))->text(),
             QStringLiteral("Suchdienste speichern &unter..."));
    // Shortcuts stay as they are in every language.
    QCOMPARE(commands->action(QStringLiteral("actGo"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_G));
    // The recent lists' submenu, the console's menu and a search's status texts.
    const QMenu *services = w->menuBar()->actions().at(2)->menu();
    QStringList items;
    for (const QAction *a : services->actions())
        items.append(a->text());
    QVERIFY2(items.contains(QStringLiteral("&Zuletzt geöffnete Dienstlisten")),
             qPrintable(items.join(u'|')));
    QCOMPARE(w->console()->menuBar()->actions().value(0)->text(), QStringLiteral("&Konsole"));
    w->terms().list.SelectLine(0);
    commands->action(QStringLiteral("actGo"))->trigger();
    QCOMPARE(w->statusText(), QStringLiteral("Navigieren..."));
    f.browser->finishLoading();
    QCOMPARE(w->statusText(), QStringLiteral("Navigation abgeschlossen"));
    // The Quick Launcher's search types are German too, though their table is made once.
    const auto *first
            = w->quickLauncher()->findChild<QRadioButton *>(QStringLiteral("rbSearchType0"));
    QVERIFY(first);
    QCOMPARE(first->text(), QStringLiteral("Websuchmaschinen"));
    QCOMPARE(w->quickLauncher()->windowTitle(), QStringLiteral("Schnellstart"));
    // A prompt's texts come from the core in the same language.
    f.prompts->expectCancel(QStringLiteral("Neuen Suchbegriff hinzufügen"),
                            QStringLiteral("Suchbegriff eingeben:"));
    commands->action(QStringLiteral("actAddTerm"))->trigger();
    QVERIFY(f.prompts->verifyDone());
    QVERIFY(f.errors.isEmpty());
}

void TestTranslations::englishAgainAfterwards()
{
    {
        const LanguageScope scope("de");
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));
    }
    QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    MainWindowFixture f;
    QCOMPARE(menuTitles(f.window.get()).value(1), QStringLiteral("T&ools"));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
