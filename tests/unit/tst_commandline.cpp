// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: what a start asks for, or the one-line message it ends with (status 2).
#include "CommandLine.h"
#include "EntryList.h"
#include "ListTestSupport.h"
#include "StartRequest.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kServices = "Web=http://a/?q=|s|\r\n\r\nMaps=http://m/|s|/x\r\n";

// A start as the program decides it: the job it runs, checked against the lists of the folder
// as a first start checks it, or the message it ends with.
QString outcome(const QStringList &arguments, const QString &folder)
{
    try {
        const CommandLine options = ParseCommandLine(arguments, folder);
        switch (options.job) {
        case CommandLine::Job::Help:
            return QStringLiteral("help");
        case CommandLine::Job::Version:
            return QStringLiteral("version");
        case CommandLine::Job::PrintUrl: {
            const PrintUrlOutput output = PrintUrl(options, folder);
            return output.out + output.err;
        }
        case CommandLine::Job::Import:
            return QStringLiteral("import [%1] into [%2]")
                    .arg(options.importSource, options.intoFile);
        case CommandLine::Job::Export:
            return QStringLiteral("export %1 of [%2] to [%3]")
                    .arg(options.exportFormat, options.servicesFile, options.exportFolder);
        case CommandLine::Job::VerifyCase:
        case CommandLine::Job::ExportCase:
        case CommandLine::Job::CopyCase:
            return QStringLiteral("case [%1] %2 [%3]%4%5")
                    .arg(options.caseFolder, options.caseFormat, options.outFile, options.copyTo,
                         options.tsaCaFile.isEmpty() ? QString() : QStringLiteral(" ca=[%1]").arg(options.tsaCaFile));
        case CommandLine::Job::StampCase:
            return QStringLiteral("stamp [%1] tsa=[%2]").arg(options.caseFolder, options.tsaUrl);
        case CommandLine::Job::Matrix:
            return QStringLiteral("matrix [%1] [%2] group=[%3] out=[%4] pause=%5%6%7")
                           .arg(options.servicesFile, options.termsFile, options.group, options.outFile)
                           .arg(options.pauseMs)
                           .arg(options.caseFolder, options.proxy ? QStringLiteral(" proxy=[%1]").arg(options.proxy->text()) : QString())
                    + (options.connections ? QStringLiteral(" connections=%1").arg(options.connections) : QString());
        case CommandLine::Job::RerunCase:
            return QStringLiteral("rerun [%1] group=[%2] out=[%3] pause=%4 connections=%5")
                    .arg(options.caseFolder, options.group, options.outFile)
                    .arg(options.pauseMs)
                    .arg(options.connections);
        case CommandLine::Job::Windows:
            break;
        }
        EntryList current;
        const QString defaults = QDir(folder).filePath(QStringLiteral("Default.gls"));
        if (QFileInfo::exists(defaults))
            current.LoadFile(defaults);
        PrepareStartRequest(options, current);
        QStringList parts {QStringLiteral("start")};
        if (options.term)
            parts << QStringLiteral("term=[%1]").arg(*options.term);
        if (options.serviceName)
            parts << QStringLiteral("service=[%1]").arg(*options.serviceName);
        if (!options.servicesFile.isEmpty())
            parts << QStringLiteral("services=[%1]").arg(options.servicesFile);
        if (!options.termsFile.isEmpty())
            parts << QStringLiteral("terms=[%1]").arg(options.termsFile);
        const std::pair<bool, const char *> flags[] = {{options.add, "add"},
                                                       {options.quickLaunch, "quick-launch"},
                                                       {options.newTerms, "new-terms"},
                                                       {options.background, "background"}};
        for (const auto &[set, name] : flags) {
            if (set)
                parts << QString::fromLatin1(name);
        }
        if (!options.openCase.isEmpty())
            parts << QStringLiteral("case=[%1]").arg(options.openCase);
        if (options.capture)
            parts << QStringLiteral("capture note=[%1]").arg(options.note.value_or(QStringLiteral("-")));
        if (options.proxy)
            parts << QStringLiteral("proxy=[%1]").arg(options.proxy->text());
        if (options.userAgent)
            parts << QStringLiteral("agent=[%1]").arg(*options.userAgent);
        return parts.join(u' ');
    } catch (const UsageError &error) {
        return QStringLiteral("error: ") + error.message();
    }
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void decide_data();
    void decide();
    void windowsLineEndingsAndLatin1Names();
    void requestReadsTheListsItNames();

private:
    QTemporaryDir m_folder;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("Default.gls")), kServices));
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("other.gls")), "Books=http://b/|s|\r\n"));
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("terms.glt")), "one\r\ntwo\r\n"));
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("empty.gls")), ""));
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("post.gls")),
                       "Form=http://f/s\tgroup=x\tpost=q=|s|&l=en\r\n"));
    QVERIFY(writeBytes(m_folder.filePath(QStringLiteral("raw.gls")),
                       "Raw=http://r/|s:raw|?q=|s:raw|\r\nRaw\x01" "Form=http://f/\tpost=q=|s:raw|\r\n"));
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("bare"))); // no Default.gls in it
}

void TestCommandLine::decide_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");   // below the test's folder; empty for the folder itself
    QTest::addColumn<QString>("expected"); // <dir> stands for the test's folder

    const auto row = [](const char *name, const QStringList &arguments, const char *expected,
                        const char *folder = "") {
        QTest::newRow(name) << arguments << QString::fromUtf8(folder)
                            << QString::fromUtf8(expected);
    };
    using L = QStringList;
    // Starts of the windows.
    row("bare", {}, "start");
    row("term", {"Ada Lovelace"}, "start term=[Ada Lovelace]");
    row("words join", {"Ada", "Lovelace"}, "start term=[Ada Lovelace]");
    row("term after --", {"--", "--add"}, "start term=[--add]");
    row("named service", {"--service", "Maps", "x"}, "start term=[x] service=[Maps]");
    row("name ignoring case", {"--service=maps", "x"}, "start term=[x] service=[maps]");
    row("short service", {"-s", "Web"}, "start service=[Web]");
    row("lists", L {"--services", "other.gls", "--terms", "terms.glt", "x"},
        "start term=[x] services=[<dir>/other.gls] terms=[<dir>/terms.glt]");
    row("service of named list", {"--services", "other.gls", "-s", "Books", "x"},
        "start term=[x] service=[Books] services=[<dir>/other.gls]");
    row("list from a folder up", {"--terms", "../terms.glt"}, "start terms=[<dir>/terms.glt]",
        "bare");
    row("add", {"--add", "cats"}, "start term=[cats] add");
    row("quick launch", {"-q"}, "start quick-launch");
    row("quick launch term", {"--quick-launch", "red car"}, "start term=[red car] quick-launch");
    row("quick launch without services", {"-q", "x"}, "start term=[x] quick-launch", "bare");
    row("new terms", {"--new-terms", "--add", "x"}, "start term=[x] add new-terms");
    row("background", {"--background"}, "start background");
    row("case", {"--case", "smith", "x"}, "start term=[x] case=[<dir>/smith]");
    row("capture with note", {"--capture", "--note", "seen"}, "start capture note=[seen]");
    row("capture into a case", {"--case", "c", "--capture"}, "start case=[<dir>/c] capture note=[-]");
    row("help", {"--help", "--add"}, "help");
    row("short help", {"-h"}, "help");
    row("version", {"--version"}, "version");
    // Addresses printed.
    row("print first", {"--print-url", "red"}, "http://a/?q=red\n");
    row("print named", {"--print-url", "--service", "Maps", "red"}, "http://m/red/x\n");
    row("print from list", {"--print-url", "--services", "other.gls", "x"}, "http://b/x\n");
    row("print all", {"--print-url", "--all-services", "ab"},
        "Web\thttp://a/?q=ab\nMaps\thttp://m/ab/x\n");
    row("print a form", {"--print-url", "--services", "post.gls", "a b"},
        "http://f/s\tPOST\tq=a+b&l=en\n");
    // A term searched as typed cannot make a line or a field of its own.
    row("print raw controls", {"--print-url", "--services", "raw.gls", "--all-services", "a\nPOST\tb\r\x7f\u2028"},
        "Raw\thttp://r/a%0APOST%09b%0D%7F%E2%80%A8?q=a%0APOST%09b%0D%7F%E2%80%A8\nRaw%01Form\thttp://f/\tPOST\tq=a%0APOST%09b%0D%7F%E2%80%A8\n");
    // The result matrix.
    row("matrix", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "--group", " G ",
                   "--out", "o.csv", "--pause", "0.25"},
        "matrix [<dir>/other.gls] [<dir>/terms.glt] group=[G] out=[<dir>/o.csv] pause=250");
    row("matrix connections", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "--connections", "200"},
        "matrix [<dir>/other.gls] [<dir>/terms.glt] group=[] out=[] pause=-1 connections=200");
    row("matrix no connections", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "--connections", "0"},
        "error: --connections takes a number from 1 to 1024, not \"0\"");
    row("connections without matrix", {"--connections", "8", "x"}, "error: --connections goes only with --matrix or --rerun-case");
    row("matrix without terms", {"--matrix", "--services", "other.gls"},
        "error: --matrix needs --terms FILE");
    row("matrix with a term", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "x"},
        "error: --matrix takes its terms from --terms FILE");
    row("matrix and import", {"--matrix", "--import", "kde", "--into", "x.gls"},
        "error: --matrix cannot be used with --import");
    row("pause not a number", {"--matrix", "--services", "other.gls", "--terms", "terms.glt",
                               "--pause", "1s"},
        "error: --pause takes seconds from 0 to 3600, not \"1s\"");
    row("group without matrix", {"--group", "G", "x"}, "error: --group goes only with --matrix or --rerun-case");
    row("out with import", {"--import", "kde", "--into", "x.gls", "--out", "o.csv"},
        "error: --out goes only with --export-case, --matrix or --rerun-case");
    // A case's searches run again.
    // clang-format off
    row("rerun", {"--rerun-case", "c", "--group", " G ", "--out", "changes.csv", "--pause", "0.5", "--connections", "8"}, "rerun [<dir>/c] group=[G] out=[<dir>/changes.csv] pause=500 connections=8");
    row("rerun a server case", {"--rerun-case", "postgresql://u@h/d?case=x"}, "rerun [postgresql://u@h/d?case=x] group=[] out=[] pause=-1 connections=0");
    row("rerun with lists", {"--rerun-case", "c", "--services", "other.gls"}, "error: --rerun-case cannot be used with --services");
    row("rerun with the matrix", {"--rerun-case", "c", "--matrix"}, "error: --rerun-case cannot be used with --matrix");
    row("rerun with a term", {"--rerun-case", "c", "ada"}, "error: --rerun-case takes no search term");
    row("rerun no case", {"--rerun-case", " "}, "error: --rerun-case needs a case");
    row("rerun verify", {"--verify-case", "c", "--rerun-case", "c"}, "error: --verify-case cannot be used with --rerun-case");
    // clang-format on
    // Other programs' search engines in and ours out.
    row("import", {"--import", "firefox", "--into", "mine.gls"},
        "import [firefox] into [<dir>/mine.gls]");
    row("import a path", {"--into=../x.gls", "--import", "./kde"},
        "import [./kde] into [<dir>/x.gls]", "bare");
    row("export", {"--export", "kde", "--services", "other.gls", "out"},
        "export kde of [<dir>/other.gls] to [<dir>/out]");
    row("import without into", {"--import", "kde"}, "error: --import needs --into FILE");
    row("into without import", {"--into", "x.gls"}, "error: --into goes only with --import");
    row("import and a term", {"--import", "kde", "--into", "x.gls", "cats"},
        "error: --import takes no search term");
    row("import and service", {"--import", "kde", "--into", "x.gls", "-s", "Web"},
        "error: --import cannot be used with --service");
    row("export unknown format", {"--export", "xml", "--services", "other.gls", "out"},
        "error: --export writes opensearch or kde files, not \"xml\"");
    row("export without services", {"--export", "kde", "out"},
        "error: --export needs --services FILE");
    row("export without folder", {"--export", "kde", "--services", "other.gls"},
        "error: --export needs one folder to write into");
    row("export of a missing list", {"--export", "kde", "--services", "missing.gls", "out"},
        "error: Cannot open file \"<dir>/missing.gls\". No such file or directory");
    // The jobs on a case.
    // clang-format off
    row("verify case", {"--verify-case", "c"}, "case [<dir>/c]  []");
    row("export case", {"--export-case", "c", "--format", "warc", "--out", "x.warc.gz"}, "case [<dir>/c] warc [<dir>/x.warc.gz]");
    row("export case without out", {"--export-case", "c", "--format", "csv"}, "error: --export-case needs --out");
    row("format without export case", {"--format", "csv", "x"}, "error: --format goes only with --export-case");
    row("verify case and a term", {"--verify-case", "c", "x"}, "error: --verify-case takes no search term");
    row("verify case and service", {"--verify-case", "c", "--service", "Web"}, "error: --verify-case cannot be used with --service");
    row("verify a server case", {"--verify-case", "postgresql://a@h/d?case=x"}, "case [postgresql://a@h/d?case=x]  []");
    row("verify with a CA", {"--verify-case", "c", "--tsa-ca", "ca.pem"}, "case [<dir>/c]  [] ca=[<dir>/ca.pem]");
    row("stamp case", {"--stamp-case", "c", "--tsa", "http://tsa.example/"}, "stamp [<dir>/c] tsa=[http://tsa.example/]");
    row("stamp case without authority", {"--stamp-case", "c"}, "error: --stamp-case needs --tsa");
    row("stamp case and format", {"--stamp-case", "c", "--tsa", "http://t/", "--format", "csv"}, "error: --stamp-case cannot be used with --format");
    row("authority without stamp case", {"--tsa", "http://t/", "x"}, "error: --tsa goes only with --stamp-case");
    row("CA without verify case", {"--tsa-ca", "ca.pem"}, "error: --tsa-ca goes only with --verify-case or --export-case");
    row("copy case", {"--copy-case", "c", "postgres://a@h/d?case=x"}, "case [<dir>/c]  []postgres://a@h/d?case=x");
    row("copy case without TO", {"--copy-case", "c"}, "error: --copy-case needs the case to copy and the new case: FROM TO");
    row("copy case onto itself", {"--copy-case", "c", "./c"}, "error: --copy-case needs two different cases");
    row("copy case and out", {"--copy-case", "c", "d", "--out", "x"}, "error: --copy-case cannot be used with --out");
    row("matrix into a case", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "--case", "c"}, "matrix [<dir>/other.gls] [<dir>/terms.glt] group=[] out=[] pause=-1<dir>/c");
    row("window on a server case", {"--case", "postgresql://a@h/d?case=x", "x"}, "start term=[x] case=[postgresql://a@h/d?case=x]");
    // A case's proxy and user agent.
    row("case through a proxy", {"--case", "c", "--proxy", "SOCKS5://127.0.0.1:9050", "--user-agent", " Lynx/2.9 "}, "start case=[<dir>/c] proxy=[socks5://127.0.0.1:9050] agent=[Lynx/2.9]");
    row("case without a proxy", {"--case", "c", "--proxy", "none"}, "start case=[<dir>/c] proxy=[none]");
    row("matrix through a proxy", {"--matrix", "--services", "other.gls", "--terms", "terms.glt", "--case", "c", "--proxy", "http://[::1]:3128"}, "matrix [<dir>/other.gls] [<dir>/terms.glt] group=[] out=[] pause=-1<dir>/c proxy=[http://[::1]:3128]");
    row("proxy without a case", {"--proxy", "socks5://h:1", "x"}, "error: --proxy goes only with --case");
    row("user agent with import", {"--import", "kde", "--into", "x.gls", "--user-agent", "x"}, "error: --user-agent goes only with --case");
    row("proxy of another kind", {"--case", "c", "--proxy", "socks4://h:1"}, "error: The proxy \"socks4://h:1\" is of the kind \"socks4\": a case goes through socks5:// or http:// proxies");
    row("user agent over two lines", {"--case", "c", "--user-agent", "a\r\nCookie: x=1"}, "error: The user agent may hold only printable ASCII characters (it goes into every request's header)");
    row("user agent beyond ASCII", {"--case", "c", "--user-agent", "Agent \u00e9"}, "error: The user agent may hold only printable ASCII characters (it goes into every request's header)");
    row("user agent too long", {"--case", "c", "--user-agent", QString(501, u'a')}, "error: The user agent is 501 characters long; at most 500 are taken");
    row("proxy spelt otherwise", {"--case", "c", "--proxy", " SOCKS5h://Tunnel.Example:1080/ "}, "start case=[<dir>/c] proxy=[socks5://Tunnel.Example:1080]");
    row("proxy at an IPv6 address", {"--case", "c", "--proxy", "http://[0:0::1]:8080"}, "start case=[<dir>/c] proxy=[http://[::1]:8080]");
    row("proxy without a port", {"--case", "c", "--proxy", "socks5://h.example"}, "error: \"socks5://h.example\" is no proxy: write socks5://HOST:PORT, http://HOST:PORT or none");
    row("proxy port too large", {"--case", "c", "--proxy", "socks5://h:65536"}, "error: The proxy \"socks5://h:65536\" has the port 65536: a port is 1 to 65535");
    row("proxy with a user", {"--case", "c", "--proxy", "socks5://me@h:1"}, "error: \"socks5://me@h:1\" is no proxy: write socks5://HOST:PORT, http://HOST:PORT or none");
    row("proxy with a switch after it", {"--case", "c", "--proxy", "socks5://h:1 --no-sandbox"}, "error: \"socks5://h:1 --no-sandbox\" is no proxy: write socks5://HOST:PORT, http://HOST:PORT or none");
    row("proxy with a resolver rule", {"--case", "c", "--proxy", "socks5://h,EXCLUDE*:1"}, "error: The proxy \"socks5://h,EXCLUDE*:1\" names the host \"h,EXCLUDE*\", which is neither a host name nor an address");
    row("proxy at no address", {"--case", "c", "--proxy", "socks5://999.1.1.1:1"}, "error: The proxy \"socks5://999.1.1.1:1\" names the host \"999.1.1.1\", which is neither a host name nor an address");
    // clang-format on
    // Mistakes.
    row("unknown option", {"--frob"}, "error: Unknown option 'frob'.");
    row("unknown short option", {"-z", "x"}, "error: Unknown option 'z'.");
    row("missing value", {"x", "--services"}, "error: Missing value after '--services'.");
    row("value of a switch", {"--add=yes", "x"}, "error: Unexpected value after '--add'.");
    row("missing list", {"--services", "missing.gls", "x"},
        "error: Cannot open file \"<dir>/missing.gls\". No such file or directory");
    row("list is a folder", {"--terms", "folder"},
        "error: Cannot open file \"<dir>/folder\". Is a directory");
    row("empty file name", {"--services=", "x"}, "error: The file name after --services is empty");
    row("no such service", {"--service", "Nope", "x"},
        "error: There is no service named \"Nope\" in the service list");
    row("no such service in named list", {"--services", "other.gls", "-s", "Web", "x"},
        "error: There is no service named \"Web\" in the service list");
    row("print no such service", {"--print-url", "-s", "Nope", "x"},
        "error: There is no service named \"Nope\" in the service list");
    row("blank service name", {"--service", " ", "x"},
        "error: The service name after --service is blank");
    row("print without term", {"--print-url"}, "error: --print-url needs a search term");
    row("add without term", {"--add"}, "error: --add needs a search term");
    row("blank term", {"  "}, "error: The search term is blank");
    row("all without print", {"--all-services", "x"},
        "error: --all-services goes only with --print-url");
    row("all with service", {"--print-url", "--all-services", "-s", "Web", "x"},
        "error: --all-services cannot be used with --service");
    row("print and add", {"--print-url", "--add", "x"},
        "error: --print-url cannot be used with --add");
    row("print and terms", {"--print-url", "--terms", "terms.glt", "x"},
        "error: --print-url cannot be used with --terms");
    row("quick launch and add", {"-q", "--add", "x"},
        "error: --quick-launch cannot be used with --add");
    row("new terms and terms", {"--new-terms", "--terms", "terms.glt"},
        "error: --new-terms cannot be used with --terms");
    row("background and term", {"--background", "x"}, "error: --background takes no search term");
    row("capture and term", {"--capture", "x"}, "error: --capture takes no search term");
    row("note without capture", {"--note", "x"}, "error: --note goes only with --capture");
    row("blank case", {"--case", " "}, "error: The folder name after --case is empty");
    row("case and matrix without lists", {"--matrix", "--case", "c"}, "error: --matrix needs --services FILE");
    row("service twice", {"-s", "Web", "-s", "Maps", "x"},
        "error: --service is given more than once");
    row("print from empty list", {"--print-url", "--services", "empty.gls", "x"},
        "error: The service list \"<dir>/empty.gls\" is empty");
    row("print without list", {"--print-url", "x"},
        "error: There is no service list: no Default.gls in \"<dir>/bare\" and no --services "
        "FILE",
        "bare");
    row("search without services", {"x"},
        "error: The service list is empty: there is no service to search with", "bare");
}

void TestCommandLine::decide()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    const QString dir = QDir::cleanPath(m_folder.path() + u'/' + folder);
    QCOMPARE(outcome(arguments, dir),
             QString(expected).replace(QStringLiteral("<dir>"), m_folder.path()));
}

void TestCommandLine::windowsLineEndingsAndLatin1Names()
{
    // A list written on Windows: its names are Windows-1252 and are found as they read.
    QTemporaryDir folder;
    QVERIFY(writeBytes(folder.filePath(QStringLiteral("Default.gls")),
                       "Caf\xE9=http://c/|s|\r\nZ=http://z/|s|\r\n"));
    const QString dir = folder.path();
    QCOMPARE(outcome({QStringLiteral("--print-url"), QStringLiteral("-s"),
                      QStringLiteral("CAF\u00C9"), QStringLiteral("x")},
                     dir),
             QStringLiteral("http://c/x\n"));
    QCOMPARE(outcome({QStringLiteral("--print-url"), QStringLiteral("--all-services"),
                      QStringLiteral("x")},
                     dir),
             QStringLiteral("Caf\u00E9\thttp://c/x\nZ\thttp://z/x\n"));
}

void TestCommandLine::requestReadsTheListsItNames()
{
    // The running program gets the lines read, and its own list is what a name is found in
    // when the request names no list.
    EntryList current;
    current.CopyFrom({"Mine=http://mine/|s|"});
    const CommandLine options
            = ParseCommandLine({QStringLiteral("--terms"), QStringLiteral("terms.glt"),
                                QStringLiteral("-s"), QStringLiteral("mine"), QStringLiteral("x")},
                               m_folder.path());
    const StartRequest request = PrepareStartRequest(options, current);
    QVERIFY(!request.services);
    QVERIFY(request.terms);
    QCOMPARE(request.terms->file, m_folder.filePath(QStringLiteral("terms.glt")));
    QCOMPARE(request.terms->lines, (QList<QByteArray> {"one", "two"}));
    QCOMPARE(FindServiceByName(current, QStringLiteral(" Mine ")), 0);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
