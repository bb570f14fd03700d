// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: what a start of the program asks for, checked before anything opens.
#include "CommandLine.h"

#include "MatrixScheduler.h"

#include "EntryList.h"
#include "TextRules.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <utility>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

} // namespace

namespace {

struct OptionRow
{
    QStringList names;
    const char *valueName; // nullptr for a switch
    const char *help;
    bool hidden = false;
};

const QList<OptionRow> &optionRows()
{
    static const QList<OptionRow> rows = {
            {{QStringLiteral("s"), QStringLiteral("service")},
             "NAME",
             QT_TRANSLATE_NOOP(
                     "CommandLine",
                     "search with the service of this name, as the service list writes it")},
            {{QStringLiteral("services")},
             "FILE",
             QT_TRANSLATE_NOOP(
                     "CommandLine",
                     "open this service list instead of the current folder's Default.gls")},
            {{QStringLiteral("terms")},
             "FILE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "open this term list instead of the current folder's Default.glt")},
            {{QStringLiteral("add")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine", "add TERM to the term list, as Add n' Go does")},
            {{QStringLiteral("q"), QStringLiteral("quick-launch")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine", "show the Quick Launcher, with TERM in its box")},
            {{QStringLiteral("new-terms")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine", "start a new, empty term list")},
            {{QStringLiteral("print-url")},
             nullptr,
             QT_TRANSLATE_NOOP(
                     "CommandLine",
                     "print the address the search opens and exit (no window, no display needed)")},
            {{QStringLiteral("all-services")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --print-url: one line for every service, NAME<TAB>ADDRESS")},
            {{QStringLiteral("import")},
             "SOURCE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "add the search engines of SOURCE (firefox, chromium, kde, or a "
                               "profile folder or "
                               "file) to the service list named by --into, and exit")},
            {{QStringLiteral("into")},
             "FILE",
             QT_TRANSLATE_NOOP("CommandLine", "with --import: the service list to add to")},
            {{QStringLiteral("export")},
             "FORMAT",
             QT_TRANSLATE_NOOP("CommandLine",
                               "write the services of --services FILE into the folder DIR as "
                               "opensearch or kde "
                               "files, one a service, and exit")},
            {{QStringLiteral("verify-case")},
             "DIR",
             QT_TRANSLATE_NOOP("CommandLine",
                               "check the record of the case in DIR and its captured files, "
                               "and exit (no display needed)")},
            {{QStringLiteral("export-case")},
             "DIR",
             QT_TRANSLATE_NOOP("CommandLine",
                               "write the record of the case in DIR to the file --out FILE as "
                               "--format csv, jsonl, html, warc or wacz, and exit")},
            {{QStringLiteral("stamp-case")},
             "CASE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "ask the time-stamp authority --tsa URL for a token over the last "
                               "record of the case CASE, keep it in the case, and exit")},
            {{QStringLiteral("tsa")},
             "URL",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --stamp-case: the time-stamp authority's address (http or https)")},
            {{QStringLiteral("tsa-ca")},
             "FILE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --verify-case and --export-case: the CA certificates (PEM) the "
                               "stamps must lead to; the system's trusted ones when not given")},
            {{QStringLiteral("copy-case")},
             "FROM",
             QT_TRANSLATE_NOOP("CommandLine",
                               "copy the case FROM (a folder or postgresql://USER@HOST/DATABASE"
                               "?case=NAME) into the new case TO, check the copy, and exit")},
            {{QStringLiteral("format")},
             "FORMAT",
             QT_TRANSLATE_NOOP("CommandLine", "with --export-case: csv, jsonl, html, warc or wacz")},
            {{QStringLiteral("out")},
             "FILE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --export-case: the file to write; with --matrix: the CSV "
                               "file (standard output when not given); with --rerun-case: the "
                               "changes as CSV")},
            {{QStringLiteral("matrix")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine",
                               "search every term of --terms FILE with every service of "
                               "--services FILE, judge each page by the service's rules, write "
                               "CSV and exit")},
            {{QStringLiteral("rerun-case")},
             "CASE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "search every pair of service and term the case CASE holds a search "
                               "for again, as --matrix does, record each, write the pairs whose "
                               "result changed to --out FILE as CSV, and exit")},
            {{QStringLiteral("group")},
             "NAME",
             QT_TRANSLATE_NOOP("CommandLine", "with --matrix and --rerun-case: only the services of this group")},
            {{QStringLiteral("pause")},
             "SECONDS",
             QT_TRANSLATE_NOOP(
                     "CommandLine",
                     "with --matrix and --rerun-case: the pause before a host is asked again (default 1)")},
            {{QStringLiteral("connections")},
             "N",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --matrix and --rerun-case: at most N pages loading at once, over all hosts "
                               "(default 64; each host is asked at most twice at once)")},
            {{QStringLiteral("case")},
             "CASE",
             QT_TRANSLATE_NOOP("CommandLine",
                               "record every search in the case CASE: a folder (made when new) "
                               "or postgresql://USER@HOST/DATABASE?case=NAME; with --matrix, "
                               "every cell's search")},
            {{QStringLiteral("proxy")},
             "PROXY",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --case: the case's pages and searches go through this proxy "
                               "from now on (socks5://HOST:PORT, http://HOST:PORT, or none)")},
            {{QStringLiteral("user-agent")},
             "TEXT",
             QT_TRANSLATE_NOOP("CommandLine",
                               "with --case: the user agent the case's pages name from now on "
                               "(empty for the engine's own)")},
            {{QStringLiteral("capture")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine",
                               "capture the page on view into the open case (MHTML, PDF, PNG)")},
            {{QStringLiteral("note")},
             "TEXT",
             QT_TRANSLATE_NOOP("CommandLine", "with --capture: a note on the page's search")},
            {{QStringLiteral("background")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine",
                               "start without a window, to answer the desktop's search"),
             true},
            {{QStringLiteral("h"), QStringLiteral("help")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine", "show this help and exit")},
            {{QStringLiteral("v"), QStringLiteral("version")},
             nullptr,
             QT_TRANSLATE_NOOP("CommandLine", "show the version and exit")},
    };
    return rows;
}

// Options that ask for things that cannot be done together.
const QList<std::pair<const char *, QList<const char *>>> &conflicts()
{
    static const QList<std::pair<const char *, QList<const char *>>> table = {
            {"print-url", {"add", "quick-launch", "new-terms", "terms", "background"}},
            {"all-services", {"service"}},
            {"quick-launch", {"add", "service", "background"}},
            {"new-terms", {"terms", "background"}},
            {"background", {"add", "service"}},
            {"capture", {"print-url", "add", "quick-launch", "new-terms", "background", "service"}},
            {"case", {"print-url", "background"}},
            {"import",
             {"export", "print-url", "service", "services", "terms", "add", "quick-launch",
              "new-terms", "background", "all-services", "case", "capture"}},
            {"export",
             {"print-url", "service", "terms", "add", "quick-launch", "new-terms", "background",
              "all-services", "into", "case", "capture"}},
            {"matrix",
             {"print-url", "service", "add", "quick-launch", "new-terms", "background",
              "all-services", "import", "export", "into", "capture"}},
    };
    return table;
}

QString dashed(const char *name)
{
    return QStringLiteral("--") + QString::fromLatin1(name);
}

// The list file must be one the program can read: a missing or unreadable file, a folder, a
// device, a named pipe or a file whose first block holds a NUL is a mistake on the command
// line, found before anything opens (and without waiting for a large file). The running
// program, which reads the files a later start names outside its bus's call, only takes the
// name.
QString listFile(const QCommandLineParser &parser, const char *option, const QString &folder,
                 ListFileCheck check)
{
    const QString value = parser.value(QString::fromLatin1(option));
    if (value.isEmpty())
        throw UsageError(Tr::tr("The file name after %1 is empty").arg(dashed(option)));
    const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(value));
    if (check == ListFileCheck::FirstBlock)
        AsUsageError([&] { CheckListFileStart(path); });
    return path;
}

void checkCombinations(const QCommandLineParser &parser, bool hasTerm)
{
    for (const auto &[option, others] : conflicts()) {
        if (!parser.isSet(QString::fromLatin1(option)))
            continue;
        for (const char *other : others) {
            if (parser.isSet(QString::fromLatin1(other)))
                throw UsageError(
                        Tr::tr("%1 cannot be used with %2").arg(dashed(option), dashed(other)));
        }
    }
    if (parser.isSet(QStringLiteral("into")) && !parser.isSet(QStringLiteral("import")))
        throw UsageError(Tr::tr("--into goes only with --import"));
    if (parser.isSet(QStringLiteral("all-services")) && !parser.isSet(QStringLiteral("print-url")))
        throw UsageError(Tr::tr("--all-services goes only with --print-url"));
    for (const char *option : {"print-url", "add"}) {
        if (parser.isSet(QString::fromLatin1(option)) && !hasTerm)
            throw UsageError(Tr::tr("%1 needs a search term").arg(dashed(option)));
    }
    for (const char *option : {"background", "capture"}) {
        if (parser.isSet(QString::fromLatin1(option)) && hasTerm)
            throw UsageError(Tr::tr("%1 takes no search term").arg(dashed(option)));
    }
    if (parser.isSet(QStringLiteral("note")) && !parser.isSet(QStringLiteral("capture")))
        throw UsageError(Tr::tr("--note goes only with --capture"));
    for (const OptionRow &row : optionRows()) {
        if (row.valueName && parser.values(row.names.constLast()).size() > 1)
            throw UsageError(Tr::tr("%1 is given more than once")
                                     .arg(dashed(row.names.constLast().toLatin1().constData())));
    }
}

// A case's folder, made absolute, or a server's address, kept as it is: the address is read
// when the case is opened.
QString caseLocation(const QString &value, const QString &folder)
{
    if (value.startsWith(u"postgresql://", Qt::CaseInsensitive)
        || value.startsWith(u"postgres://", Qt::CaseInsensitive))
        return value;
    return QDir::cleanPath(QDir(folder).absoluteFilePath(value));
}

// --proxy and --user-agent, kept with the case named.
void readCaseIdentity(const QCommandLineParser &parser, CommandLine &result)
{
    if (parser.isSet(QStringLiteral("proxy")))
        result.proxy = AsUsageError([&] { return ParseProxy(parser.value(QStringLiteral("proxy"))); });
    if (parser.isSet(QStringLiteral("user-agent")))
        result.userAgent = AsUsageError(
                [&] { return CheckedUserAgent(parser.value(QStringLiteral("user-agent"))); });
}

// --copy-case FROM TO: nothing else with it.
CommandLine readCopyCaseJob(const QCommandLineParser &parser, const QString &folder)
{
    for (const QString &name : parser.optionNames()) {
        if (name != u"copy-case")
            throw UsageError(Tr::tr("%1 cannot be used with %2")
                                     .arg(dashed("copy-case"), QStringLiteral("--") + name));
    }
    checkCombinations(parser, false);
    const QStringList words = parser.positionalArguments();
    if (IsBlank(parser.value(QStringLiteral("copy-case"))) || words.size() != 1 || IsBlank(words.first()))
        throw UsageError(Tr::tr("--copy-case needs the case to copy and the new case: FROM TO"));
    CommandLine result;
    result.job = CommandLine::Job::CopyCase;
    result.caseFolder = caseLocation(parser.value(QStringLiteral("copy-case")), folder);
    result.copyTo = caseLocation(words.first(), folder);
    if (result.caseFolder == result.copyTo)
        throw UsageError(Tr::tr("--copy-case needs two different cases"));
    return result;
}

// --verify-case DIR [--tsa-ca FILE], --export-case DIR --format FORMAT --out FILE, or
// --stamp-case DIR --tsa URL: nothing else with them.
CommandLine readCaseJob(const QCommandLineParser &parser, const QString &folder)
{
    const bool verify = parser.isSet(QStringLiteral("verify-case"));
    const bool stamp = !verify && parser.isSet(QStringLiteral("stamp-case"));
    const char *job = verify ? "verify-case" : stamp ? "stamp-case" : "export-case";
    const QStringList allowed = verify ? QStringList {QStringLiteral("verify-case"), QStringLiteral("tsa-ca")}
            : stamp                    ? QStringList {QStringLiteral("stamp-case"), QStringLiteral("tsa")}
                                       : QStringList {QStringLiteral("export-case"), QStringLiteral("format"),
                                                      QStringLiteral("out"), QStringLiteral("tsa-ca")};
    for (const QString &name : parser.optionNames()) {
        if (!allowed.contains(name))
            throw UsageError(Tr::tr("%1 cannot be used with %2")
                                     .arg(dashed(job), QStringLiteral("--") + name));
    }
    checkCombinations(parser, false);
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(Tr::tr("%1 takes no search term").arg(dashed(job)));
    const auto path = [&](const char *option) {
        const QString value = parser.value(QString::fromLatin1(option));
        if (IsBlank(value))
            throw UsageError(Tr::tr("%1 needs %2").arg(dashed(job), dashed(option)));
        return QDir::cleanPath(QDir(folder).absoluteFilePath(value));
    };
    CommandLine result;
    result.job = verify ? CommandLine::Job::VerifyCase
            : stamp     ? CommandLine::Job::StampCase
                        : CommandLine::Job::ExportCase;
    if (IsBlank(parser.value(QString::fromLatin1(job))))
        throw UsageError(Tr::tr("%1 needs a case").arg(dashed(job)));
    result.caseFolder = caseLocation(parser.value(QString::fromLatin1(job)), folder);
    if (parser.isSet(QStringLiteral("tsa-ca")))
        result.tsaCaFile = path("tsa-ca");
    if (stamp) {
        result.tsaUrl = parser.value(QStringLiteral("tsa")).trimmed();
        if (result.tsaUrl.isEmpty())
            throw UsageError(Tr::tr("%1 needs %2").arg(dashed(job), dashed("tsa")));
    } else if (!verify) {
        result.caseFormat = parser.value(QStringLiteral("format"));
        if (IsBlank(result.caseFormat))
            throw UsageError(Tr::tr("%1 needs %2").arg(dashed(job), dashed("format")));
        result.outFile = path("out");
    }
    return result;
}

// What --matrix and --rerun-case share: [--group NAME] [--out FILE] [--pause SECONDS]
// [--connections N].
void readMatrixOptions(const QCommandLineParser &parser, const QString &folder, CommandLine &result)
{
    if (parser.isSet(QStringLiteral("group"))) {
        result.group = TrimBlanks(parser.value(QStringLiteral("group")));
        if (result.group.isEmpty())
            throw UsageError(Tr::tr("The group name after --group is blank"));
    }
    if (parser.isSet(QStringLiteral("out"))) {
        const QString out = parser.value(QStringLiteral("out"));
        if (IsBlank(out))
            throw UsageError(Tr::tr("The file name after --out is empty"));
        result.outFile = QDir::cleanPath(QDir(folder).absoluteFilePath(out));
    }
    if (parser.isSet(QStringLiteral("pause"))) {
        bool number = false;
        const double seconds
                = QLocale::c().toDouble(parser.value(QStringLiteral("pause")), &number);
        if (!number || seconds < 0 || seconds > 3600)
            throw UsageError(Tr::tr("--pause takes seconds from 0 to 3600, not \"%1\"")
                                     .arg(parser.value(QStringLiteral("pause"))));
        result.pauseMs = qRound64(seconds * 1000);
    }
    if (parser.isSet(QStringLiteral("connections"))) {
        bool number = false;
        const int connections = parser.value(QStringLiteral("connections")).toInt(&number);
        if (!number || connections < 1 || connections > kMostConnections)
            throw UsageError(Tr::tr("--connections takes a number from 1 to %1, not \"%2\"")
                                     .arg(kMostConnections)
                                     .arg(parser.value(QStringLiteral("connections"))));
        result.connections = connections;
    }
}

// --matrix --services FILE --terms FILE [--group NAME] [--out FILE] [--pause SECONDS]
// [--connections N].
CommandLine readMatrixJob(const QCommandLineParser &parser, const QString &folder,
                          ListFileCheck check)
{
    checkCombinations(parser, false);
    CommandLine result;
    result.job = CommandLine::Job::Matrix;
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(Tr::tr("--matrix takes its terms from --terms FILE"));
    for (const char *option : {"services", "terms"}) {
        if (!parser.isSet(QString::fromLatin1(option)))
            throw UsageError(Tr::tr("--matrix needs %1 FILE").arg(dashed(option)));
    }
    result.servicesFile = listFile(parser, "services", folder, check);
    result.termsFile = listFile(parser, "terms", folder, check);
    if (parser.isSet(QStringLiteral("case"))) {
        if (IsBlank(parser.value(QStringLiteral("case"))))
            throw UsageError(Tr::tr("The case after --case is blank"));
        result.caseFolder = caseLocation(parser.value(QStringLiteral("case")), folder);
    }
    readCaseIdentity(parser, result);
    readMatrixOptions(parser, folder, result);
    return result;
}

// --rerun-case CASE with the matrix's options and nothing else.
CommandLine readRerunJob(const QCommandLineParser &parser, const QString &folder)
{
    for (const QString &name : parser.optionNames()) {
        if (!QStringList {QStringLiteral("rerun-case"), QStringLiteral("group"), QStringLiteral("out"),
                          QStringLiteral("pause"), QStringLiteral("connections")}
                     .contains(name))
            throw UsageError(Tr::tr("%1 cannot be used with %2")
                                     .arg(dashed("rerun-case"), QStringLiteral("--") + name));
    }
    checkCombinations(parser, false);
    if (!parser.positionalArguments().isEmpty())
        throw UsageError(Tr::tr("%1 takes no search term").arg(dashed("rerun-case")));
    CommandLine result;
    result.job = CommandLine::Job::RerunCase;
    if (IsBlank(parser.value(QStringLiteral("rerun-case"))))
        throw UsageError(Tr::tr("%1 needs a case").arg(dashed("rerun-case")));
    result.caseFolder = caseLocation(parser.value(QStringLiteral("rerun-case")), folder);
    readMatrixOptions(parser, folder, result);
    return result;
}

// --import SOURCE --into FILE, or --export FORMAT --services FILE DIR.
CommandLine readFileJob(const QCommandLineParser &parser, const QString &folder,
                        ListFileCheck check)
{
    checkCombinations(parser, false);
    const QStringList words = parser.positionalArguments();
    CommandLine result;
    if (parser.isSet(QStringLiteral("import"))) {
        result.job = CommandLine::Job::Import;
        result.importSource = parser.value(QStringLiteral("import"));
        if (IsBlank(result.importSource))
            throw UsageError(Tr::tr("The source after --import is blank"));
        if (!parser.isSet(QStringLiteral("into")) || IsBlank(parser.value(QStringLiteral("into"))))
            throw UsageError(Tr::tr("--import needs --into FILE"));
        if (!words.isEmpty())
            throw UsageError(Tr::tr("--import takes no search term"));
        result.intoFile = QDir::cleanPath(
                QDir(folder).absoluteFilePath(parser.value(QStringLiteral("into"))));
        return result;
    }
    result.job = CommandLine::Job::Export;
    result.exportFormat = parser.value(QStringLiteral("export"));
    if (result.exportFormat != u"opensearch" && result.exportFormat != u"kde")
        throw UsageError(Tr::tr("--export writes opensearch or kde files, not \"%1\"")
                                 .arg(result.exportFormat));
    if (!parser.isSet(QStringLiteral("services")))
        throw UsageError(Tr::tr("--export needs --services FILE"));
    result.servicesFile = listFile(parser, "services", folder, check);
    if (words.size() != 1 || IsBlank(words.first()))
        throw UsageError(Tr::tr("--export needs one folder to write into"));
    result.exportFolder = QDir::cleanPath(QDir(folder).absoluteFilePath(words.first()));
    return result;
}

} // namespace

namespace {

CommandLine parse(const QStringList &arguments, const QString &workingDirectory,
                  ListFileCheck check)
{
    QCommandLineParser parser;
    for (const OptionRow &row : optionRows()) {
        if (row.valueName)
            parser.addOption({row.names, {}, QString::fromLatin1(row.valueName)});
        else
            parser.addOption(QCommandLineOption(row.names));
    }
    if (!parser.parse(QStringList {QStringLiteral("glenlantern")} + arguments))
        throw UsageError(parser.errorText());

    CommandLine result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.job = CommandLine::Job::Help;
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.job = CommandLine::Job::Version;
        return result;
    }
    if (parser.isSet(QStringLiteral("verify-case")) || parser.isSet(QStringLiteral("export-case"))
        || parser.isSet(QStringLiteral("stamp-case")))
        return readCaseJob(parser, workingDirectory);
    for (const char *option : {"tsa", "tsa-ca"}) {
        if (parser.isSet(QString::fromLatin1(option)))
            throw UsageError(Tr::tr("%1 goes only with %2")
                                     .arg(dashed(option), option[3] ? QStringLiteral("--verify-case or --export-case") : dashed("stamp-case")));
    }
    if (parser.isSet(QStringLiteral("copy-case")))
        return readCopyCaseJob(parser, workingDirectory);
    if (parser.isSet(QStringLiteral("rerun-case")))
        return readRerunJob(parser, workingDirectory);
    for (const char *option : {"group", "pause", "connections"}) {
        if (parser.isSet(QString::fromLatin1(option)) && !parser.isSet(QStringLiteral("matrix")))
            throw UsageError(Tr::tr("%1 goes only with --matrix or --rerun-case").arg(dashed(option)));
    }
    for (const char *option : {"proxy", "user-agent"}) {
        if (parser.isSet(QString::fromLatin1(option)) && !parser.isSet(QStringLiteral("case")))
            throw UsageError(Tr::tr("%1 goes only with --case").arg(dashed(option)));
    }
    if (parser.isSet(QStringLiteral("out")) && !parser.isSet(QStringLiteral("matrix")))
        throw UsageError(Tr::tr("%1 goes only with --export-case, --matrix or --rerun-case").arg(dashed("out")));
    if (parser.isSet(QStringLiteral("format")))
        throw UsageError(Tr::tr("%1 goes only with --export-case").arg(dashed("format")));
    if (parser.isSet(QStringLiteral("import")) || parser.isSet(QStringLiteral("export")))
        return readFileJob(parser, workingDirectory, check);
    if (parser.isSet(QStringLiteral("matrix")))
        return readMatrixJob(parser, workingDirectory, check);
    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty()) {
        result.term = words.join(u' ');
        if (IsBlank(*result.term))
            throw UsageError(Tr::tr("The search term is blank"));
    }
    checkCombinations(parser, result.term.has_value());
    if (parser.isSet(QStringLiteral("service"))) {
        result.serviceName = parser.value(QStringLiteral("service"));
        if (IsBlank(*result.serviceName))
            throw UsageError(Tr::tr("The service name after --service is blank"));
    }
    if (parser.isSet(QStringLiteral("services")))
        result.servicesFile = listFile(parser, "services", workingDirectory, check);
    if (parser.isSet(QStringLiteral("terms")))
        result.termsFile = listFile(parser, "terms", workingDirectory, check);
    result.add = parser.isSet(QStringLiteral("add"));
    result.allServices = parser.isSet(QStringLiteral("all-services"));
    result.quickLaunch = parser.isSet(QStringLiteral("quick-launch"));
    result.newTerms = parser.isSet(QStringLiteral("new-terms"));
    result.background = parser.isSet(QStringLiteral("background"));
    if (parser.isSet(QStringLiteral("case"))) {
        const QString value = parser.value(QStringLiteral("case"));
        if (IsBlank(value))
            throw UsageError(Tr::tr("The folder name after --case is empty"));
        result.openCase = caseLocation(value, workingDirectory);
    }
    readCaseIdentity(parser, result);
    result.capture = parser.isSet(QStringLiteral("capture"));
    if (parser.isSet(QStringLiteral("note")))
        result.note = parser.value(QStringLiteral("note"));
    if (parser.isSet(QStringLiteral("print-url")))
        result.job = CommandLine::Job::PrintUrl;
    return result;
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments, const QString &workingDirectory,
                             ListFileCheck check)
{
    CommandLine result = parse(arguments, workingDirectory, check);
    result.arguments = arguments;
    result.workingDirectory = workingDirectory;
    return result;
}

QString HelpText()
{
    QList<std::pair<QString, QString>> lines;
    qsizetype width = 0;
    for (const OptionRow &row : optionRows()) {
        if (row.hidden)
            continue;
        QString names = row.names.size() > 1 ? QStringLiteral("-%1, ").arg(row.names.first())
                                             : QStringLiteral("    ");
        names += QStringLiteral("--") + row.names.constLast();
        if (row.valueName)
            names += u' ' + QString::fromLatin1(row.valueName);
        width = std::max(width, names.size());
        lines.append({names, Tr::tr(row.help)});
    }
    QString text = Tr::tr(
            "Usage: glenlantern [OPTION...] [TERM...]\n"
            "       glenlantern --import SOURCE --into FILE\n"
            "       glenlantern --export opensearch|kde --services FILE DIR\n"
            "       glenlantern --matrix --services FILE --terms FILE [--group NAME] [--out FILE]\n"
            "       glenlantern --rerun-case CASE [--group NAME] [--out FILE]\n"
            "       glenlantern --copy-case FROM TO\n"
            "Search the web from saved lists of search services and terms.\n\n"
            "Starts Glen Lantern and searches TERM with the selected (or first) service,\n"
            "without adding it to the term list. When the program is already running, the\n"
            "command line goes to it.\n\n"
            "Options:\n");
    for (const auto &[names, help] : std::as_const(lines))
        text += QStringLiteral("  ") + names.leftJustified(width + 2) + help + u'\n';
    text += Tr::tr("\nExit status: 0 when all went well; 2 when the command line is wrong or "
                   "names a file\nthat cannot be read; 1 when a job failed while it worked.\n");
    return text;
}

QString VersionText()
{
    return QStringLiteral("glenlantern " GL_VERSION "\n");
}

qsizetype FindServiceByName(const EntryList &services, const QString &name)
{
    const QString wanted = TrimBlanks(name);
    qsizetype sameIgnoringCase = -1;
    for (qsizetype i = 0; i < services.Count(); ++i) {
        const QByteArray &line = services.LineAt(i);
        // More than three bytes a character cannot be the name: a name of megabytes is passed
        // over without decoding it.
        const QByteArray name = EntryList::NameOf(line);
        if (TrimBlanks(name).size() > 3 * wanted.size())
            continue;
        const QString candidate = TrimBlanks(DecodeLinePart(line, name));
        if (candidate == wanted)
            return i;
        if (sameIgnoringCase < 0 && !candidate.isEmpty()
            && candidate.compare(wanted, Qt::CaseInsensitive) == 0)
            sameIgnoringCase = i;
    }
    if (sameIgnoringCase >= 0)
        return sameIgnoringCase;
    throw UsageError(
            Tr::tr("There is no service named \"%1\" in the service list").arg(TrimBlanks(name)));
}
