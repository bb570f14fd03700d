// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultBrowser.h"
#include "MetaSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Files = QMap<QString, QByteArray>; // path below the temporary folder -> content

class TestDefaultBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlerSearch_data();
    void handlerSearch();
    void openRecordsOneArgument_data();
    void openRecordsOneArgument();
    void noBrowser();
    void refusedEntryEndsTheSearch();
    void shellEntryRefused_data();
    void shellEntryRefused();
    void longestArgument();

private:
    static void write(const QString &path, const QByteArray &content)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    static XdgFolders folders(const QString &root)
    {
        XdgFolders f;
        f.configHome = root + QStringLiteral("/config");
        f.configDirs = {root + QStringLiteral("/etc1"), root + QStringLiteral("/etc2")};
        f.dataHome = root + QStringLiteral("/data");
        f.dataDirs = {root + QStringLiteral("/share1"), root + QStringLiteral("/share2")};
        f.desktops = {QStringLiteral("test")};
        return f;
    }
    static void pointXdgAt(const QString &root)
    {
        const XdgFolders f = folders(root);
        qputenv("XDG_CONFIG_HOME", f.configHome.toUtf8());
        qputenv("XDG_CONFIG_DIRS", f.configDirs.join(u':').toUtf8());
        qputenv("XDG_DATA_HOME", f.dataHome.toUtf8());
        qputenv("XDG_DATA_DIRS", f.dataDirs.join(u':').toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
};

static QByteArray app(const char *program)
{
    return QByteArray("[Desktop Entry]\nType=Application\nName=App\nExec=") + program + " %u\n";
}

static QByteArray defaults(const char *ids)
{
    return QByteArray("[Default Applications]\nx-scheme-handler/http=") + ids + "\n";
}

// The freedesktop files present and the desktop file (below the temporary folder) whose command
// opens http addresses; empty when none does.
void TestDefaultBrowser::handlerSearch_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("nothing registered")
            << Files {{"data/applications/a.desktop", app("a")}} << QString();
    QTest::newRow("default in config home")
            << Files {{"config/mimeapps.list", defaults("a.desktop")},
                      {"share2/applications/a.desktop", app("a")}}
            << "share2/applications/a.desktop";
    QTest::newRow("first installed of a list")
            << Files {{"config/mimeapps.list", defaults("gone.desktop;b.desktop;a.desktop")},
                      {"share1/applications/a.desktop", app("a")},
                      {"share1/applications/b.desktop", app("b")}}
            << "share1/applications/b.desktop";
    QTest::newRow("config home before config dirs")
            << Files {{"config/mimeapps.list", defaults("a.desktop")},
                      {"etc1/mimeapps.list", defaults("b.desktop")},
                      {"data/applications/a.desktop", app("a")},
                      {"data/applications/b.desktop", app("b")}}
            << "data/applications/a.desktop";
    QTest::newRow("config dirs in order") << Files {{"etc2/mimeapps.list", defaults("b.desktop")},
                                                    {"etc1/mimeapps.list", defaults("a.desktop")},
                                                    {"data/applications/a.desktop", app("a")},
                                                    {"data/applications/b.desktop", app("b")}}
                                          << "data/applications/a.desktop";
    QTest::newRow("desktop's own list first")
            << Files {{"config/mimeapps.list", defaults("a.desktop")},
                      {"config/test-mimeapps.list", defaults("b.desktop")},
                      {"data/applications/a.desktop", app("a")},
                      {"data/applications/b.desktop", app("b")}}
            << "data/applications/b.desktop";
    QTest::newRow("config dirs before data home list")
            << Files {{"data/applications/mimeapps.list", defaults("a.desktop")},
                      {"etc2/mimeapps.list", defaults("b.desktop")},
                      {"data/applications/a.desktop", app("a")},
                      {"data/applications/b.desktop", app("b")}}
            << "data/applications/b.desktop";
    QTest::newRow("list in a data dir")
            << Files {{"share2/applications/mimeapps.list", defaults("a.desktop")},
                      {"share2/applications/a.desktop", app("a")}}
            << "share2/applications/a.desktop";
    QTest::newRow("data home entry shadows data dirs")
            << Files {{"config/mimeapps.list", defaults("a.desktop")},
                      {"data/applications/a.desktop", app("home")},
                      {"share1/applications/a.desktop", app("system")}}
            << "data/applications/a.desktop";
    QTest::newRow("hidden entry hides the one below")
            << Files {{"config/mimeapps.list", defaults("a.desktop;b.desktop")},
                      {"data/applications/a.desktop", "[Desktop Entry]\nHidden=true\n"},
                      {"share1/applications/a.desktop", app("a")},
                      {"share1/applications/b.desktop", app("b")}}
            << "share1/applications/b.desktop";
    QTest::newRow("not an application")
            << Files {{"config/mimeapps.list", defaults("a.desktop")},
                      {"data/applications/a.desktop", "[Desktop Entry]\nType=Link\nExec=a %u\n"}}
            << QString();
    QTest::newRow("TryExec not installed")
            << Files {{"config/mimeapps.list", defaults("a.desktop;b.desktop")},
                      {"data/applications/a.desktop",
                       app("a") + "TryExec=/nonexistent/glenlantern-browser\n"},
                      {"data/applications/b.desktop", app("b")}}
            << "data/applications/b.desktop";
    QTest::newRow("ID with a dash names a sub-folder")
            << Files {{"config/mimeapps.list", defaults("org-example-web.desktop")},
                      {"share1/applications/org/example-web.desktop", app("a")}}
            << "share1/applications/org/example-web.desktop";
    QTest::newRow("added association when no default") << Files {
            {"config/mimeapps.list", "[Added Associations]\nx-scheme-handler/http=a.desktop;\n"},
            {"data/applications/a.desktop", app("a")}} << "data/applications/a.desktop";
    QTest::newRow("default before added association") << Files {
            {"config/mimeapps.list", "[Added Associations]\nx-scheme-handler/http=a.desktop;\n"},
            {"etc2/mimeapps.list", defaults("b.desktop")},
            {"data/applications/a.desktop", app("a")},
            {"data/applications/b.desktop", app("b")}} << "data/applications/b.desktop";
    QTest::newRow("removed association") << Files {
            {"config/mimeapps.list", "[Removed Associations]\nx-scheme-handler/http=a.desktop;\n"},
            {"etc1/mimeapps.list", "[Added Associations]\nx-scheme-handler/http=a.desktop\n"},
            {"data/applications/a.desktop",
             app("a")}} << QString();
    QTest::newRow("MIME cache as a last resort")
            << Files {{"share2/applications/mimeinfo.cache",
                       "[MIME Cache]\nx-scheme-handler/http=a.desktop;\n"},
                      {"share2/applications/a.desktop", app("a")}}
            << "share2/applications/a.desktop";
    QTest::newRow("https handler is not an http handler") << Files {
            {"config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=a.desktop\n"},
            {"data/applications/a.desktop", app("a")}} << QString();
}

void TestDefaultBrowser::handlerSearch()
{
    QFETCH(Files, files);
    QFETCH(QString, chosen);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        write(root.filePath(it.key()), it.value());
    const QString address = QStringLiteral("http://h/?search=a b&searchtype=1");
    const std::optional<BrowserLaunch> launch = DefaultBrowserLaunch(address, folders(root.path()));
    QCOMPARE(launch.has_value(), !chosen.isEmpty());
    if (launch) {
        QCOMPARE(launch->desktopFile, root.filePath(chosen));
        QCOMPARE(launch->arguments, QStringList {address});
    }
}

void TestDefaultBrowser::openRecordsOneArgument_data()
{
    QTest::addColumn<QString>("term");
    QTest::newRow("blanks") << "red car";
    QTest::newRow("shell command") << "\"; rm -rf ~ #";
    QTest::newRow("command substitution") << "$(reboot)";
    QTest::newRow("backquotes and quotes") << "`id` 'a' \"b\" \\n";
    QTest::newRow("field codes and globs") << "%u %U %% * ? ~ > < | & ;";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("non-ASCII") << QStringLiteral("caf\u00e9 \u65e5\u672c");
}

// The real launch: a browser registered in a temporary home whose command records its
// arguments, one file of NUL-separated arguments per start.
void TestDefaultBrowser::openRecordsOneArgument()
{
    QFETCH(QString, term);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    pointXdgAt(root.path());
    const QString record = root.filePath(QStringLiteral("args"));
    // A blank in the program's path checks the quoting of Exec as well.
    const QString script = root.filePath(QStringLiteral("bin/record args.sh"));
    write(script,
          "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" '" + record.toUtf8()
                  + "'\n");
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    write(root.filePath(QStringLiteral("data/applications/recorder.desktop")),
          "[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"" + script.toUtf8()
                  + "\" --new-window %u\n");
    write(root.filePath(QStringLiteral("config/mimeapps.list")), defaults("recorder.desktop"));

    const QString address = MetaSearchAddress(term, SearchTypes().at(1).code);
    QVERIFY(OpenInDefaultBrowser(address));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray content = file.readAll();
    QVERIFY(content.endsWith('\0'));
    content.chop(1);
    const QList<QByteArray> args = content.split('\0');
    QCOMPARE(args, (QList<QByteArray> {"--new-window", address.toUtf8()}));
}

void TestDefaultBrowser::noBrowser()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    pointXdgAt(root.path());
    write(root.filePath(QStringLiteral("config/mimeapps.list")), defaults("missing.desktop"));
    QString error;
    QVERIFY(!OpenInDefaultBrowser(QStringLiteral("http://h/"), &error));
    QCOMPARE(error, QStringLiteral("No web browser is set up to open http addresses"));
}

// The default browser's entry is refused: no other browser is started in its place.
void TestDefaultBrowser::refusedEntryEndsTheSearch()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    write(root.filePath(QStringLiteral("config/mimeapps.list")), defaults("a.desktop;b.desktop"));
    write(root.filePath(QStringLiteral("data/applications/a.desktop")),
          "[Desktop Entry]\nType=Application\nName=A\nExec=sh -c \"browser %u\"\n");
    write(root.filePath(QStringLiteral("data/applications/b.desktop")), app("b"));
    const std::optional<BrowserLaunch> launch
            = DefaultBrowserLaunch(QStringLiteral("http://h/"), folders(root.path()));
    QVERIFY(launch);
    QCOMPARE(launch->desktopFile, root.filePath(QStringLiteral("data/applications/a.desktop")));
    QVERIFY(launch->program.isEmpty());
    QCOMPARE(launch->problem,
             QStringLiteral("puts the field code %u inside a quoted argument, "
                            "which the desktop entry rules forbid"));
}

void TestDefaultBrowser::shellEntryRefused_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<bool>("metaSearch"); // the Quick Launcher's address, else the raw text
    QTest::newRow("double quotes, raw address") << "sh -c \": %u\"" << false;
    QTest::newRow("double quotes, Quick Launcher") << "sh -c \": %u\"" << true;
    QTest::newRow("single quotes, raw address") << "sh -c ': %u'" << false;
    QTest::newRow("escaped blank, raw address") << "sh -c :\\\\ %u" << false;
}

// An entry that would hand the address to a shell starts nothing: the command in the term
// never runs, and the user is told why.
void TestDefaultBrowser::shellEntryRefused()
{
    QFETCH(QString, exec);
    QFETCH(bool, metaSearch);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    pointXdgAt(root.path());
    const QString marker = root.filePath(QStringLiteral("PWNED"));
    const QString desktopFile = root.filePath(QStringLiteral("data/applications/shell.desktop"));
    write(desktopFile,
          "[Desktop Entry]\nType=Application\nName=Shell\nExec=" + exec.toUtf8() + "\n");
    write(root.filePath(QStringLiteral("config/mimeapps.list")), defaults("shell.desktop"));
    const QString term = "x $(touch " + marker + ")";
    const QString address = metaSearch ? MetaSearchAddress(term, SearchTypes().at(0).code)
                                       : "http://h/?q=" + term;
    QString error;
    QVERIFY(!OpenInDefaultBrowser(address, &error));
    QVERIFY2(error.startsWith("The default web browser is not started: its desktop entry \""
                              + desktopFile + "\" puts the field code %u inside a quoted argument"),
             qPrintable(error));
    QTest::qWait(500);
    QVERIFY(!QFile::exists(marker));
}

// The longest address a program can be given reaches the browser whole; a longer one is refused
// with the reason instead of failing unseen.
void TestDefaultBrowser::longestArgument()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    pointXdgAt(root.path());
    const QString record = root.filePath(QStringLiteral("args"));
    const QString script = root.filePath(QStringLiteral("bin/record.sh"));
    write(script,
          "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" '" + record.toUtf8()
                  + "'\n");
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    write(root.filePath(QStringLiteral("data/applications/recorder.desktop")),
          "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script.toUtf8() + " %u\n");
    write(root.filePath(QStringLiteral("config/mimeapps.list")), defaults("recorder.desktop"));

    const qsizetype longest = LongestProgramArgument();
    QVERIFY(longest >= 131071);
    const QString start = QStringLiteral("http://h/?q=");
    const QString address = start + QString(longest - start.size(), u'a');
    QString error;
    QVERIFY2(OpenInDefaultBrowser(address, &error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), address.toUtf8());

    QVERIFY(!OpenInDefaultBrowser(address + u'a', &error));
    QCOMPARE(error,
             QStringLiteral("The address is %1 bytes long; a program can be given at most "
                            "%2 bytes in one argument")
                     .arg(longest + 1)
                     .arg(longest));
}

QTEST_GUILESS_MAIN(TestDefaultBrowser)
#include "tst_defaultbrowser.moc"
