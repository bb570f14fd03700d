// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntry.h"

#include <QTest>

class TestDesktopEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitExec_data();
    void splitExec();
    void launchCommand_data();
    void launchCommand();
    void launchProblem_data();
    void launchProblem();
    void desktopEntry();
    void keyFileValue_data();
    void keyFileValue();
    void mimeAppsEntries();
};

void TestDesktopEntry::splitExec_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("plain") << "firefox %u" << true << QStringList {"firefox", "%u"};
    QTest::newRow("runs of blanks") << "  a \t b  " << true << QStringList {"a", "b"};
    QTest::newRow("quoted path with blank") << "\"/opt/My Browser/run\" --new %U" << true
                                            << QStringList {"/opt/My Browser/run", "--new", "%U"};
    QTest::newRow("escapes inside quotes") << R"("a\"b" "c\$d" "e\`f" "g\\h" "i\xj")" << true
                                           << QStringList {"a\"b", "c$d", "e`f", "g\\h", "i\\xj"};
    QTest::newRow("empty quoted argument") << "a \"\" b" << true << QStringList {"a", "", "b"};
    QTest::newRow("quotes join with text") << "--x=\"1 2\"y" << true << QStringList {"--x=1 2y"};
    QTest::newRow("single quotes as GLib reads them")
            << "sh -c 'exec b \"$1\"' sh %u" << true
            << QStringList {"sh", "-c", "exec b \"$1\"", "sh", "%u"};
    QTest::newRow("backslash outside quotes") << R"(a\ b)" << true << QStringList {"a b"};
    QTest::newRow("unterminated double quote") << "\"a b" << false << QStringList {};
    QTest::newRow("unterminated single quote") << "'a b" << false << QStringList {};
    QTest::newRow("empty") << "" << true << QStringList {};
}

void TestDesktopEntry::splitExec()
{
    QFETCH(QString, exec);
    QFETCH(bool, valid);
    QFETCH(QStringList, args);
    const std::optional<QStringList> result = SplitExec(exec);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, args);
}

void TestDesktopEntry::launchCommand_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QStringList>("command"); // empty: no command
    const QString a = QStringLiteral("http://h/p?search=\"; rm -rf ~ # $(reboot) %u&searchtype=1");
    QTest::newRow("%u") << "browser %u"
                        << "" << QStringList {"browser", a};
    QTest::newRow("%U") << "browser %U"
                        << "" << QStringList {"browser", a};
    QTest::newRow("%f") << "browser %f"
                        << "" << QStringList {"browser", a};
    QTest::newRow("%F") << "browser %F"
                        << "" << QStringList {"browser", a};
    QTest::newRow("inside an argument") << "browser --url=%u"
                                        << "" << QStringList {"browser", "--url=" + a};
    QTest::newRow("no field code: appended") << "browser --new-window"
                                             << "" << QStringList {"browser", "--new-window", a};
    QTest::newRow("%i with icon") << "browser %i %u"
                                  << "web" << QStringList {"browser", "--icon", "web", a};
    QTest::newRow("%i without icon") << "browser %i %u"
                                     << "" << QStringList {"browser", a};
    QTest::newRow("%c and %k") << "browser --class=%c --file %k %u"
                               << ""
                               << QStringList {"browser", "--class=Web", "--file",
                                               "/apps/w.desktop", a};
    QTest::newRow("%% is a percent sign") << "browser 100%% %u"
                                          << "" << QStringList {"browser", "100%", a};
    QTest::newRow("deprecated and unknown codes dropped") << "browser %d %D %n %N %v %m %z x%dy %u"
                                                          << "" << QStringList {"browser", "xy", a};
    QTest::newRow("quoted program") << "\"/opt/B b/run\" %u"
                                    << "" << QStringList {"/opt/B b/run", a};
    QTest::newRow("env prefix") << "env A=1 browser %u"
                                << "" << QStringList {"env", "A=1", "browser", a};
    QTest::newRow("no Exec") << ""
                             << "" << QStringList {};
    QTest::newRow("only a field code") << "%u"
                                       << "" << QStringList {};
    QTest::newRow("open quote") << "\"browser %u"
                                << "" << QStringList {};
    // Quoting elsewhere is fine, and so is the shell idiom that keeps the address an argument
    // of its own.
    QTest::newRow("quotes around other arguments")
            << "\"/opt/B b/run\" --x=\"1 2\" %u"
            << "" << QStringList {"/opt/B b/run", "--x=1 2", a};
    QTest::newRow("%% inside quotes") << "browser \"100%%\" %u"
                                      << "" << QStringList {"browser", "100%", a};
    QTest::newRow("sh -c with the address as its own argument")
            << "sh -c 'exec browser \"$1\"' sh %u"
            << "" << QStringList {"sh", "-c", "exec browser \"$1\"", "sh", a};
    // Refused: a field code inside a quoted or escaped argument would hand the address to
    // whatever reads that argument (a shell here).
    QTest::newRow("sh -c with %u in double quotes") << "sh -c \"browser %u\""
                                                    << "" << QStringList {};
    QTest::newRow("sh -c with %u in single quotes") << "sh -c 'browser %u'"
                                                    << "" << QStringList {};
    QTest::newRow("sh -c with an escaped blank") << R"(sh -c browser\ %u)"
                                                 << "" << QStringList {};
    QTest::newRow("quotes ending before the code") << "sh -c \"browser \"%u"
                                                   << "" << QStringList {};
    QTest::newRow("quoted field code alone") << "browser \"%u\""
                                             << "" << QStringList {};
    QTest::newRow("quoted %i") << "browser \"%i\" %u"
                               << "web" << QStringList {};
    QTest::newRow("quoted %c") << "browser --class=\"%c\" %u"
                               << "" << QStringList {};
    QTest::newRow("two codes for the address") << "browser %u %F"
                                               << "" << QStringList {};
}

void TestDesktopEntry::launchCommand()
{
    QFETCH(QString, exec);
    QFETCH(QString, icon);
    QFETCH(QStringList, command);
    DesktopEntry entry;
    entry.exec = exec;
    entry.icon = icon;
    entry.name = QStringLiteral("Web");
    entry.application = true;
    const QString address
            = QStringLiteral("http://h/p?search=\"; rm -rf ~ # $(reboot) %u&searchtype=1");
    const std::optional<QStringList> result
            = LaunchCommand(entry, QStringLiteral("/apps/w.desktop"), address);
    QCOMPARE(result.has_value(), !command.isEmpty());
    if (result) {
        QCOMPARE(*result, command);
        // The address is exactly one argument, never taken apart.
        QCOMPARE(std::count_if(result->cbegin(), result->cend(),
                               [&](const QString &arg) { return arg.contains(address); }),
                 1);
    }
}

void TestDesktopEntry::launchProblem_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("problem");
    QTest::newRow("quoted %u") << "sh -c \"browser %u\""
                               << "puts the field code %u inside a quoted argument, which the "
                                  "desktop entry rules forbid";
    QTest::newRow("escaped %U") << R"(sh -c browser\ %U)"
                                << "puts the field code %U inside a quoted argument, which the "
                                   "desktop entry rules forbid";
    QTest::newRow("two codes") << "browser %f %u"
                               << "holds more than one of the field codes %f %F %u %U";
    QTest::newRow("open quote") << "'browser %u"
                                << "leaves a quote open in its Exec line";
    QTest::newRow("address as program") << "%u --new"
                                        << "would start the address itself as a program";
    QTest::newRow("no Exec") << ""
                             << "names no program to start";
}

void TestDesktopEntry::launchProblem()
{
    QFETCH(QString, exec);
    QFETCH(QString, problem);
    DesktopEntry entry;
    entry.exec = exec;
    entry.application = true;
    QString why;
    QVERIFY(!LaunchCommand(entry, QStringLiteral("/apps/w.desktop"), QStringLiteral("http://h/"),
                           &why));
    QCOMPARE(why, problem);
}

void TestDesktopEntry::desktopEntry()
{
    const QByteArray file = "# a comment\r\n"
                            "[Desktop Entry]\r\n"
                            "Type = Application\r\n"
                            "Name=Web\\sBrowser\r\n"
                            "Name[de]=Netz\r\n"
                            "Exec=\"/opt/a\\\\\\\\b/run\" --x=\\\\$HOME %u\r\n"
                            "Icon=web\r\n"
                            "Path=/tmp\r\n"
                            "[Desktop Action new]\r\n"
                            "Exec=other %u\r\n"
                            "Hidden=true\r\n";
    const DesktopEntry entry = ParseDesktopEntry(file);
    QVERIFY(entry.application);
    QVERIFY(!entry.hidden);
    QCOMPARE(entry.name, QStringLiteral("Web Browser"));
    QCOMPARE(entry.icon, QStringLiteral("web"));
    QCOMPARE(entry.path, QStringLiteral("/tmp"));
    // Escapes of the string value first, then the quoting of the command line.
    QCOMPARE(entry.exec, QStringLiteral("\"/opt/a\\\\b/run\" --x=\\$HOME %u"));
    QCOMPARE(*SplitExec(entry.exec), (QStringList {"/opt/a\\b/run", "--x=$HOME", "%u"}));

    const DesktopEntry hidden = ParseDesktopEntry("[Desktop Entry]\nType=Link\nHidden=true\n");
    QVERIFY(hidden.hidden);
    QVERIFY(!hidden.application);
}

void TestDesktopEntry::keyFileValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // null: missing
    const QByteArray list = "[Default Applications]\n"
                            "x-scheme-handler/https=b.desktop\n"
                            "x-scheme-handler/http = a.desktop;b.desktop;\n"
                            "#x-scheme-handler/ftp=c.desktop\n"
                            "[Added Associations]\n"
                            "x-scheme-handler/http=c.desktop\n";
    const QString defaults = QStringLiteral("Default Applications");
    QTest::newRow("blanks around =") << list << defaults << "x-scheme-handler/http"
                                     << "a.desktop;b.desktop;";
    QTest::newRow("other group") << list << "Added Associations"
                                 << "x-scheme-handler/http"
                                 << "c.desktop";
    QTest::newRow("comment") << list << defaults << "#x-scheme-handler/ftp" << QString();
    QTest::newRow("missing key") << list << defaults << "x-scheme-handler/ftp" << QString();
    QTest::newRow("missing group") << list << "MIME Cache"
                                   << "x-scheme-handler/http" << QString();
    QTest::newRow("later duplicate wins") << QByteArray("[G]\nk=1\nk=2\n") << "G"
                                          << "k"
                                          << "2";
    QTest::newRow("empty value") << QByteArray("[G]\nk=\n") << "G"
                                 << "k"
                                 << "";
    QTest::newRow("key before any group") << QByteArray("k=1\n[G]\n") << "G"
                                          << "k" << QString();
}

void TestDesktopEntry::keyFileValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const std::optional<QString> result = KeyFileValue(content, group, key);
    QCOMPARE(result.has_value(), !value.isNull());
    if (result)
        QCOMPARE(*result, value);
}

void TestDesktopEntry::mimeAppsEntries()
{
    const QByteArray list = "[Default Applications]\n"
                            "x-scheme-handler/http=a.desktop;;we\\;ird.desktop;b\\s.desktop\n";
    QCOMPARE(MimeAppsEntries(list, QStringLiteral("Default Applications"),
                             QStringLiteral("x-scheme-handler/http")),
             (QStringList {"a.desktop", "we;ird.desktop", "b .desktop"}));
    QVERIFY(MimeAppsEntries(list, QStringLiteral("Added Associations"),
                            QStringLiteral("x-scheme-handler/http"))
                    .isEmpty());
}

QTEST_APPLESS_MAIN(TestDesktopEntry)
#include "tst_desktopentry.moc"
