// SPDX-License-Identifier: GPL-3.0-or-later
// What a case keeps of its identity: the proxy and user agent as a user writes them (and what a
// case folder from elsewhere must not slip onto the web engine's command line), and the settings
// file beside the case, which a hostile folder may have replaced by a link, a pipe or garbage.
#include "CaseSettings.h"
#include "CaseStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Cases;

class TestCaseIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void proxies_data();
    void proxies();
    void userAgents_data();
    void userAgents();
    void settingsKeepEveryKey();
    void hostileSettingsFiles_data();
    void hostileSettingsFiles();
};

void TestCaseIdentity::proxies_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected"); // the text kept, or "error: " and the message's start
    // clang-format off
    QTest::newRow("socks5") << "socks5://127.0.0.1:9050" << "socks5://127.0.0.1:9050";
    QTest::newRow("scheme in capitals, blanks") << " SOCKS5://Tunnel.Example:1080/ " << "socks5://Tunnel.Example:1080";
    QTest::newRow("socks5h is socks5") << "socks5h://tor.example:9050" << "socks5://tor.example:9050";
    QTest::newRow("http") << "http://proxy.example:3128" << "http://proxy.example:3128";
    QTest::newRow("IPv6 in one spelling") << "http://[0:0::1]:8080" << "http://[::1]:8080";
    QTest::newRow("none") << "None" << "none";
    QTest::newRow("empty") << "" << "none";
    QTest::newRow("socks4 resolves here") << "socks4://h.example:1080" << "error: The proxy \"socks4://h.example:1080\" is of the kind";
    QTest::newRow("https") << "https://h.example:443" << "error: The proxy \"https://h.example:443\" is of the kind";
    QTest::newRow("no port") << "socks5://h.example" << "error: \"socks5://h.example\" is no proxy";
    QTest::newRow("port 0") << "socks5://h.example:0" << "error: The proxy \"socks5://h.example:0\" has the port 0";
    QTest::newRow("port too large") << "socks5://h.example:65536" << "error: The proxy \"socks5://h.example:65536\" has the port 65536";
    QTest::newRow("user name") << "socks5://me@h.example:1080" << "error: \"socks5://me@h.example:1080\" is no proxy";
    QTest::newRow("a path") << "http://h.example:80/x" << "error: \"http://h.example:80/x\" is no proxy";
    QTest::newRow("another switch after it") << "socks5://h.example:1 --no-sandbox" << "error: \"socks5://h.example:1 --no-sandbox\" is no proxy";
    QTest::newRow("a rule after the host") << "socks5://h,EXCLUDE*:1" << "error: The proxy \"socks5://h,EXCLUDE*:1\" names the host";
    QTest::newRow("quote in the host") << "socks5://h\"x:1" << "error: The proxy \"socks5://h\"x:1\" names the host";
    QTest::newRow("no such address") << "socks5://999.1.1.1:1" << "error: The proxy \"socks5://999.1.1.1:1\" names the host";
    QTest::newRow("label starts with -") << "socks5://-h.example:1" << "error: The proxy \"socks5://-h.example:1\" names the host";
    QTest::newRow("IPv6 not an address") << "socks5://[fe80::zz]:1" << "error: \"socks5://[fe80::zz]:1\" is no proxy";
    // clang-format on
}

void TestCaseIdentity::proxies()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    try {
        const ProxySetting proxy = ParseProxy(given);
        QCOMPARE(proxy.text(), expected);
        QCOMPARE(ParseProxy(proxy.text()), proxy); // what is kept reads back the same
    } catch (const CommandError &error) {
        QVERIFY2(expected.startsWith(u"error: ") && error.message().startsWith(expected.mid(7)),
                 qPrintable(error.message()));
    }
}

void TestCaseIdentity::userAgents_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected"); // empty when refused
    // clang-format off
    QTest::newRow("plain") << " Mozilla/5.0 (X11; Linux x86_64) " << "Mozilla/5.0 (X11; Linux x86_64)";
    QTest::newRow("empty: the engine's own") << "" << "";
    QTest::newRow("header after a line end") << "a\r\nCookie: x=1" << "";
    QTest::newRow("tab") << "a\tb" << "";
    QTest::newRow("beyond ASCII") << QStringLiteral("Agent \u00e9") << "";
    QTest::newRow("too long") << QString(kLongestUserAgent + 1, u'a') << "";
    // clang-format on
}

void TestCaseIdentity::userAgents()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    try {
        QCOMPARE(CheckedUserAgent(given), expected);
        QVERIFY(!expected.isEmpty() || given.isEmpty());
    } catch (const CommandError &) {
        QVERIFY(expected.isEmpty());
    }
}

void TestCaseIdentity::settingsKeepEveryKey()
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("settings.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"stamp-on-close\": \"true\", \"later\": {\"kept\": [1, 2]}}");
    file.close();
    CaseSettings settings = CaseSettings::read(folder.path());
    QVERIFY(settings.flag(QLatin1StringView("stamp-on-close")));
    settings.setValue(QLatin1StringView(kProxySetting), QStringLiteral("socks5://127.0.0.1:9050"));
    settings.save();
    KeepCaseSettings(folder.path(), std::nullopt, QStringLiteral("Lynx"));

    QCOMPARE(CaseProxy(folder.path()).text(), QStringLiteral("socks5://127.0.0.1:9050"));
    QCOMPARE(CaseUserAgent(folder.path()), QStringLiteral("Lynx"));
    const QJsonObject values = CaseSettings::read(folder.path()).values();
    QCOMPARE(values.value(QStringLiteral("later")).toObject().value(QStringLiteral("kept")).toArray().size(), 2);
    QVERIFY(values.value(QStringLiteral("stamp-on-close")).toString() == u"true");
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file.fileName()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0600u); // a case is confidential

    KeepCaseSettings(folder.path(), ProxySetting(), std::nullopt); // --proxy none
    QVERIFY(CaseProxy(folder.path()).isNone());
    QVERIFY(!CaseSettings::read(folder.path()).values().contains(QLatin1StringView(kProxySetting)));
    QVERIFY(CaseSettings::read(folder.filePath(QStringLiteral("new case"))).values().isEmpty());
}

void TestCaseIdentity::hostileSettingsFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    // clang-format off
    QTest::newRow("a link out of the folder") << "link" << "it is a link";
    QTest::newRow("a named pipe") << "fifo" << "it is not a regular file";
    QTest::newRow("a folder") << "folder" << "it is not a regular file";
    QTest::newRow("not JSON") << "garbage" << "it holds no JSON object";
    QTest::newRow("a JSON array") << "array" << "it holds no JSON object";
    QTest::newRow("huge") << "huge" << "it is larger than 64 KiB";
    QTest::newRow("a proxy of another kind") << "socks4" << "The case's proxy cannot be used";
    // clang-format on
}

void TestCaseIdentity::hostileSettingsFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("settings.json"));
    const QString outside = folder.filePath(QStringLiteral("outside.txt"));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(outside, "{\"proxy\": \"socks5://h.example:1\"}");
    if (kind == u"link")
        QVERIFY(QFile::link(outside, file));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir().mkdir(file));
    else
        write(file, kind == u"garbage" ? QByteArray("proxy=socks5://h:1") : kind == u"array" ? QByteArray("[]")
                        : kind == u"huge" ? QByteArray(70000, ' ') + "{}" : QByteArray("{\"proxy\": \"socks4://h.example:1\"}"));
    try {
        CaseProxy(folder.path());
        QFAIL("read");
    } catch (const CommandError &error) {
        QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
    }
    if (kind == u"link" || kind == u"fifo") {
        // Written neither through the link nor into the pipe: the file outside stays as it was.
        QVERIFY_THROWS_EXCEPTION(CommandError, KeepCaseSettings(folder.path(), ProxySetting(), std::nullopt));
        QFile f(outside);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("{\"proxy\": \"socks5://h.example:1\"}"));
    }
}

QTEST_APPLESS_MAIN(TestCaseIdentity)
#include "tst_caseidentity.moc"
