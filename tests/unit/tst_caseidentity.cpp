// SPDX-License-Identifier: GPL-3.0-or-later
// What a case keeps of its identity beside its record (the proxy and user agent as written are
// the command line's test): every key kept, the file for the user alone, and the settings file of
// a hostile folder replaced by a link, a pipe or garbage.
#include "CaseSettings.h"
#include "CaseStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Cases;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestCaseIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsKeepEveryKey();
    void hostileSettingsFiles_data();
    void hostileSettingsFiles();
};

void TestCaseIdentity::settingsKeepEveryKey()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("settings.json"));
    write(file, "{\"stamp-on-close\": \"true\", \"later\": {\"kept\": [1, 2]}}");
    CaseSettings settings = CaseSettings::read(folder.path());
    QVERIFY(settings.flag(QLatin1StringView("stamp-on-close")));
    settings.setValue(QLatin1StringView(kProxySetting), QStringLiteral("socks5://127.0.0.1:9050"));
    settings.save();
    KeepCaseSettings(folder.path(), std::nullopt, QStringLiteral("Lynx"));
    QCOMPARE(CaseProxy(folder.path()).text(), QStringLiteral("socks5://127.0.0.1:9050"));
    QCOMPARE(CaseUserAgent(folder.path()), QStringLiteral("Lynx"));
    QCOMPARE(CaseSettings::read(folder.path()).values().value("later").toObject().value("kept").toArray().size(), 2);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0600u); // a case is confidential
    KeepCaseSettings(folder.path(), ProxySetting(), std::nullopt); // --proxy none
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
    QTest::newRow("not JSON") << "proxy=socks5://h:1" << "it holds no JSON object";
    QTest::newRow("huge") << "huge" << "it is larger than 64 KiB";
    QTest::newRow("a proxy of another kind") << "{\"proxy\": \"socks4://h.example:1\"}" << "The case's proxy cannot be used";
    // clang-format on
}

void TestCaseIdentity::hostileSettingsFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("settings.json"));
    const QString outside = folder.filePath(QStringLiteral("outside.txt"));
    const QByteArray kept = "{\"proxy\": \"socks5://h.example:1\"}";
    write(outside, kept);
    if (kind == u"link")
        QVERIFY(QFile::link(outside, file));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir().mkdir(file));
    else
        write(file, kind == u"huge" ? QByteArray(70000, ' ') + "{}" : kind.toUtf8());
    try {
        CaseProxy(folder.path());
        QFAIL("read");
    } catch (const CommandError &error) {
        QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
    }
    // What cannot be read is not written over either (a proxy that cannot be used may be), nor
    // through the link: the file outside stays as it was.
    if (reason.startsWith(u"it "))
        QVERIFY_THROWS_EXCEPTION(CommandError, KeepCaseSettings(folder.path(), ProxySetting(), std::nullopt));
    else
        KeepCaseSettings(folder.path(), ProxySetting(), std::nullopt);
    QFile f(outside);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), kept);
}

QTEST_APPLESS_MAIN(TestCaseIdentity)
#include "tst_caseidentity.moc"
