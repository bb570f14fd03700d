// SPDX-License-Identifier: GPL-3.0-or-later
// Glen Lantern: web searches from saved lists of search services and terms.
// The command line decides first, in a QtCore application that only translates: a job without a
// window (--print-url, --help, --version, the jobs on cases) runs with QtCore alone and needs no display; anything
// else goes to the windows module, which reaches the running program over the session bus or
// opens the windows.
#include "CaseCommands.h"
#include "CommandLine.h"
#include "EntryPoints.h"
#include "InteropCommands.h"
#include "StartRequest.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <optional>

namespace {

QStringList argumentsAfterProgram(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int runPrintUrl(const CommandLine &options)
{
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
int runFileJob(const CommandLine &options)
{
    const CommandOutput output = options.job == CommandLine::Job::Import
            ? RunImportCommand(options.importSource, options.intoFile)
            : RunExportCommand(options.exportFormat, options.servicesFile, options.exportFolder);
    for (const QString &line : output.out)
        WriteText(stdout, line + u'\n');
    for (const QString &line : output.errors)
        WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
    return output.status;
}

// The jobs on a case: the summary or what was written on standard output, problems on
// standard error.
int runCaseJob(const CommandLine &options)
{
    const Cases::CaseJobOutput output = options.job == CommandLine::Job::VerifyCase
            ? Cases::RunVerifyCaseJob(options.caseFolder, options.tsaCaFile)
            : options.job == CommandLine::Job::CopyCase
            ? Cases::RunCopyCaseJob(options.caseFolder, options.copyTo)
            : Cases::RunExportCaseJob(options.caseFolder, options.caseFormat, options.outFile, options.tsaCaFile);
    for (const QString &line : output.out)
        WriteText(stdout, line + u'\n');
    for (const QString &line : output.errors)
        WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(line));
    return output.status;
}

// The modules are looked for beside the binary (bin/glenlantern is a link to it).
template<typename Function>
Function moduleEntry(const char *file, const char *symbol, QString &problem)
{
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QLibrary module(QDir(folder).filePath(QString::fromLatin1(file)));
    // Kept until the process ends: the bus's type registry, torn down at exit, still names the
    // types the module registered ("an instance of an invalid type" on standard error).
    module.setLoadHints(QLibrary::PreventUnloadHint);
    const auto run = reinterpret_cast<Function>(module.resolve(symbol));
    if (!run)
        problem = module.errorString();
    return run;
}

RunWindowsFunction windowsEntry(QString &problem)
{
    return moduleEntry<RunWindowsFunction>(kWindowsModule, kRunWindowsSymbol, problem);
}

int runMatrix(const CommandLine &options)
{
    QString problem;
    const char *symbol = options.job == CommandLine::Job::RerunCase ? kRunRerunSymbol : kRunMatrixSymbol;
    const auto run = moduleEntry<RunMatrixFunction>(kMatrixModule, symbol, problem);
    if (!run)
        return Fail(QCoreApplication::translate("GlenLantern", "The matrix cannot run: %1")
                            .arg(problem),
                    1);
    return run(&options);
}

int runStampCase(const CommandLine &options)
{
    QString problem;
    const auto run = moduleEntry<RunStampCaseFunction>(kStampModule, kRunStampCaseSymbol, problem);
    if (!run)
        return Fail(QCoreApplication::translate("GlenLantern", "The case cannot be stamped: %1")
                            .arg(problem),
                    1);
    return run(&options);
}

// The jobs without a window, with their texts in the user's language. Nothing when the
// windows are to open (runWindows is then their module's entry): they make an application of
// their own.
std::optional<int> runWithoutWindow(int argc, char *argv[], const QStringList &arguments,
                                    CommandLine &options, RunWindowsFunction &runWindows)
{
    QCoreApplication app(argc, argv);
    const Translations translations;
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
        return runPrintUrl(options);
    case CommandLine::Job::Import:
    case CommandLine::Job::Export:
        return runFileJob(options);
    case CommandLine::Job::VerifyCase:
    case CommandLine::Job::ExportCase:
    case CommandLine::Job::CopyCase:
        return runCaseJob(options);
    case CommandLine::Job::Matrix:
    case CommandLine::Job::RerunCase:
        return runMatrix(options);
    case CommandLine::Job::StampCase:
        return runStampCase(options);
    case CommandLine::Job::Windows:
        break;
    }
    QString problem;
    runWindows = windowsEntry(problem);
    if (!runWindows)
        return Fail(QCoreApplication::translate("GlenLantern", "The windows cannot be opened: %1")
                            .arg(problem),
                    1);
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = argumentsAfterProgram(argc, argv);
    CommandLine options;
    RunWindowsFunction runWindows = nullptr;
    if (const std::optional<int> status
        = runWithoutWindow(argc, argv, arguments, options, runWindows))
        return *status;
    return runWindows(argc, argv, &arguments, &options);
}
