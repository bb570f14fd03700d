// Glen Lantern: web searches from saved lists of search services and terms.
// The command line decides first, before any application object exists: a job without a window
// (--print-url, --help, --version) runs with QtCore alone and needs no display; anything else
// goes to the windows module, which reaches the running program over the session bus or opens
// the windows.
#include "CommandLine.h"
#include "EntryPoints.h"
#include "InteropCommands.h"
#include "StartRequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

QStringList argumentsAfterProgram(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int runPrintUrl(int argc, char *argv[], const CommandLine &options)
{
    QCoreApplication app(argc, argv);
    try {
        const PrintUrlOutput output = PrintUrl(options, QDir::currentPath());
        WriteText(stdout, output.out);
        WriteText(stderr, output.err);
        return output.status;
    } catch (const UsageError &error) {
        return Fail(error.message(), 2);
    } catch (const CommandError &error) {
        return Fail(error.message(), 1);
    }
}

// The import and export jobs: what they did on standard output, what failed on standard error.
int runFileJob(int argc, char *argv[], const CommandLine &options)
{
    QCoreApplication app(argc, argv);
    const CommandOutput output = options.job == CommandLine::Job::Import
            ? RunImportCommand(options.importSource, options.intoFile)
            : RunExportCommand(options.exportFormat, options.servicesFile, options.exportFolder);
    for (const QString &line : output.out)
        WriteText(stdout, line + u'\n');
    for (const QString &line : output.errors)
        WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
    return output.status;
}

// The windows module is looked for beside the binary (bin/glenlantern is a link to it).
int runWindows(int argc, char *argv[], const QStringList &arguments, const CommandLine &options)
{
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QLibrary module(QDir(folder).filePath(QString::fromLatin1(kWindowsModule)));
    const auto run = reinterpret_cast<RunWindowsFunction>(module.resolve(kRunWindowsSymbol));
    if (!run)
        return Fail(QStringLiteral("The windows cannot be opened: %1").arg(module.errorString()),
                    1);
    return run(argc, argv, &arguments, &options);
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = argumentsAfterProgram(argc, argv);
    CommandLine options;
    try {
        options = ParseCommandLine(arguments, QDir::currentPath());
    } catch (const CommandError &error) {
        return Fail(error.message(), 2);
    }
    switch (options.job) {
    case CommandLine::Job::Help:
        WriteText(stdout, HelpText());
        return 0;
    case CommandLine::Job::Version:
        WriteText(stdout, VersionText());
        return 0;
    case CommandLine::Job::PrintUrl:
        return runPrintUrl(argc, argv, options);
    case CommandLine::Job::Import:
    case CommandLine::Job::Export:
        return runFileJob(argc, argv, options);
    case CommandLine::Job::Windows:
        break;
    }
    return runWindows(argc, argv, arguments, options);
}
