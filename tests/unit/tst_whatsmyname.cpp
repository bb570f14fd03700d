// SPDX-License-Identifier: GPL-3.0-or-later
// Sites in the WhatsMyName format that are hostile or wrong, each in a file beside a good one:
// control characters never reach a list line (and the import says what it changed), a code
// that is no HTTP status skips its site with the reason, and the rest imports and reads back.
#include "HitRule.h"
#include "Interop.h"
#include "InteropCommands.h"
#include "ListTestSupport.h"
#include "ServiceLine.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestWhatsMyName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileRows_data();
    void hostileRows();
    void theProjectsWholeList();
};

namespace {

const char *const kGood = R"({"name": "Good", "uri_check": "http://127.0.0.1/u/{account}", "e_code": 200, "e_string": "Profile", "m_code": 404, "m_string": "No user"})";

} // namespace

void TestWhatsMyName::hostileRows_data()
{
    QTest::addColumn<QByteArray>("site");     // the JSON object of one site
    QTest::addColumn<QString>("expected");    // its line, or "skipped: " and the reason
    QTest::addColumn<QString>("change");      // a part of what the import says it changed
    // clang-format off
    QTest::newRow("NUL in e_string") << QByteArray(R"({"name": "Nul", "uri_check": "http://h/{account}", "e_code": 200, "e_string": "Pro\u0000file"})") << "Nul=http://h/|s|\tfound=status:200&text:Profile" << "its e_string held control characters (line ends, tabs, NUL...): 1 left out";
    QTest::newRow("line ends in m_string") << QByteArray(R"({"name": "Lines", "uri_check": "http://h/{account}", "m_code": 404, "m_string": "No\r\nsuch\tuser\u0085"})") << "Lines=http://h/|s|\tmissing=status:404&text:No such user" << "its m_string held control characters (line ends, tabs, NUL...): 4 left out";
    QTest::newRow("controls in name and group") << QByteArray(R"({"name": "Na\nme\u0007", "uri_check": "http://h/{account}", "cat": "so\u0000cial\n", "e_code": 200})") << "Na me=http://h/|s|\tgroup=social\tfound=status:200" << "its cat held control characters (line ends, tabs, NUL...): 2 left out";
    QTest::newRow("controls in address") << QByteArray(R"({"name": "Addr", "uri_check": "http://h/\u0001{account}\n", "e_code": 200})") << "Addr=http://h/|s|\tfound=status:200" << "its uri_check held control characters (line ends, tabs, NUL...): 2 left out";
    QTest::newRow("e_code 999") << QByteArray(R"({"name": "Big", "uri_check": "http://h/{account}", "e_code": 999, "e_string": "x"})") << "skipped: its e_code is 999, which is no HTTP status (100 to 599)" << "";
    QTest::newRow("e_code -1") << QByteArray(R"({"name": "Neg", "uri_check": "http://h/{account}", "e_code": -1})") << "skipped: its e_code is -1, which is no HTTP status (100 to 599)" << "";
    QTest::newRow("e_code 1e300") << QByteArray(R"({"name": "Huge", "uri_check": "http://h/{account}", "e_code": 1e300})") << "skipped: its e_code is 1e+300, which is no HTTP status (100 to 599)" << "";
    QTest::newRow("m_code a fraction") << QByteArray(R"({"name": "Frac", "uri_check": "http://h/{account}", "m_code": 404.5})") << "skipped: its m_code is 404.5, which is no HTTP status (100 to 599)" << "";
    QTest::newRow("m_code a string") << QByteArray(R"({"name": "Str", "uri_check": "http://h/{account}", "m_code": "404"})") << "skipped: its m_code is \"404\", which is no HTTP status (100 to 599)" << "";
    QTest::newRow("e_code an object") << QByteArray(R"({"name": "Obj", "uri_check": "http://h/{account}", "e_code": {"a": 1}})") << "skipped: its e_code is not a number, which is no HTTP status (100 to 599)" << "";
    QTest::newRow("header name with a blank") << QByteArray(R"({"name": "Hdr", "uri_check": "http://h/{account}", "e_code": 200, "headers": {"Bad Name": "v", "X-Ok": "w"}})") << "Hdr=http://h/|s|\theader=X-Ok: w\tfound=status:200" << "its header \"Bad Name\" was left out: a header's name is letters, digits";
    QTest::newRow("marks in a string") << QByteArray(R"({"name": "Marks", "uri_check": "http://h/{account}", "e_code": 200, "e_string": "a|b&c\\"})") << "Marks=http://h/|s|\tfound=status:200&text:a\\|b\\&c\\\\" << "";
    // clang-format on
}

void TestWhatsMyName::hostileRows()
{
    QFETCH(QByteArray, site);
    QFETCH(QString, expected);
    QFETCH(QString, change);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("wmn.json"));
    QVERIFY(writeBytes(file, R"({"sites": [)" + site + ", " + kGood + "]}"));
    QVERIFY(QJsonDocument::fromJson(site).isObject());
    const ImportReport report = FindServices(ImportSourceFromArgument(file));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 2);
    const FoundService &found = report.services.first();
    QCOMPARE(found.importable() ? found.line() : QStringLiteral("skipped: ") + found.skipReason, expected);
    QVERIFY2(change.isEmpty() ? found.changes.isEmpty() : found.changes.join(u'\n').contains(change),
             qPrintable(found.changes.join(u'\n')));

    // Imported as a user would: the list holds no control character and every rule reads.
    const QString into = folder.filePath(QStringLiteral("s.gls"));
    const CommandOutput output = RunImportCommand(file, into);
    QCOMPARE(output.status, 0);
    const QByteArray bytes = fileBytes(into);
    for (const char c : bytes)
        QVERIFY2(uchar(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n', bytes.constData());
    const QList<QByteArray> lines = splitLines(bytes);
    QCOMPARE(lines.count(QByteArray()), lines.size() - (found.importable() ? 2 : 1));
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            HitRules::Of(ServiceLine(line), QStringLiteral("x"));
    }
    if (!change.isEmpty())
        QVERIFY(output.out.join(u'\n').contains(QStringLiteral("changed: ") + found.changes.first()));
}

// The project's own list, taken whole: every site imports (a site whose address an earlier one
// has is the same service) and every rule it makes reads.
void TestWhatsMyName::theProjectsWholeList()
{
    const QString file = QStringLiteral(GL_TEST_DATA "/whatsmyname/wmn-data.json");
    const ImportReport report = FindServices(ImportSourceFromArgument(file));
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.services.size(), 631);
    QSet<QString> addresses;
    for (const FoundService &found : report.services) {
        QVERIFY2(found.importable(), qPrintable(found.name + QStringLiteral(": ") + found.skipReason));
        addresses.insert(found.address);
    }
    QTemporaryDir folder;
    const QString into = folder.filePath(QStringLiteral("wmn.gls"));
    QCOMPARE(RunImportCommand(file, into).status, 0);
    qsizetype lines = 0;
    for (const QByteArray &line : splitLines(fileBytes(into))) {
        if (line.isEmpty())
            continue;
        ++lines;
        HitRules::Of(ServiceLine(line), QStringLiteral("x"));
    }
    QCOMPARE(lines, addresses.size());
}

QTEST_APPLESS_MAIN(TestWhatsMyName)
#include "tst_whatsmyname.moc"
