// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Error.h"
#include "Proxy.h"

#include <QString>
#include <QStringList>
#include <optional>

class EntryList;

// A mistake on the command line, or in what it names: the program says so on one line and ends
// with status 2 without opening anything.
class UsageError : public CommandError
{
public:
    using CommandError::CommandError;
};

// Runs the call; a CommandError it throws becomes a UsageError with the same text.
template<typename Call> decltype(auto) AsUsageError(Call &&call)
{
    try {
        return call();
    } catch (const UsageError &) {
        throw;
    } catch (const CommandError &error) {
        throw UsageError(error.message());
    }
}

// What one start of the program asks for.
struct CommandLine
{
    // Jobs other than Windows run without a window and need no display.
    enum class Job {
        Windows, PrintUrl, Import, Export, VerifyCase, ExportCase, CopyCase, Matrix, Help, Version,
        StampCase, RerunCase
    };

    Job job = Job::Windows;
    std::optional<QString> term;        // the words of the command line, joined by blanks
    std::optional<QString> serviceName; // --service
    QString servicesFile;               // --services, absolute; empty for the folder's Default.gls
    QString termsFile;                  // --terms, absolute; empty for the folder's Default.glt
    bool add = false;
    bool allServices = false;
    bool quickLaunch = false;
    bool newTerms = false;
    bool background = false; // started by the session bus for the desktop's search
    bool fromDesktopSearch = false; // a result picked in the desktop's search
    QString importSource;    // --import: firefox, chromium, kde or a path
    QString intoFile;        // --into, absolute; created when missing
    QString exportFormat;    // --export: opensearch or kde
    QString exportFolder;    // the folder --export writes into, absolute
    // --verify-case, --export-case, --stamp-case, --copy-case FROM, --matrix --case, --rerun-case: the case folder,
    // absolute, or a server's address (postgresql://...) as given
    QString caseFolder;
    QString copyTo;          // --copy-case FROM TO: TO, as caseFolder
    QString caseFormat;      // --format with --export-case
    QString tsaUrl;          // --tsa with --stamp-case: the time-stamp authority's address
    QString tsaCaFile;       // --tsa-ca with --verify-case, absolute; empty for the system's
    QString group;           // --matrix, --rerun-case --group: the services of this group; null for all
    QString outFile;         // --out, absolute: the export's file; the matrix's CSV, else standard output
    qint64 pauseMs = -1;     // --matrix --pause, in milliseconds; -1 for the default
    int connections = 0;     // --matrix --connections; 0 for the default
    QString openCase;        // --case: the case folder to record into, absolute
    bool capture = false;    // --capture: the page on view into the open case
    std::optional<QString> note; // --note with --capture
    // --proxy and --user-agent with --case: what the case keeps from now on
    std::optional<ProxySetting> proxy;
    std::optional<QString> userAgent;
    // The start as it came, to pass it on to the program it belongs to.
    QStringList arguments;
    QString workingDirectory;
};

// How much of the list files named is looked at while the command line is read: the first
// block of each (CheckListFileStart), or nothing but the name.
enum class ListFileCheck { FirstBlock, NameOnly };

// Reads the arguments that follow the program's name; relative file names are taken from the
// working folder, and the list files named must be readable. Throws UsageError naming the
// problem.
CommandLine ParseCommandLine(const QStringList &arguments, const QString &workingDirectory,
                             ListFileCheck check = ListFileCheck::FirstBlock);

QString HelpText();
QString VersionText();

// The service with this name: the first whose name is the same, else the first whose name is
// the same ignoring case; blanks around names do not count. UsageError when there is none.
qsizetype FindServiceByName(const EntryList &services, const QString &name);
