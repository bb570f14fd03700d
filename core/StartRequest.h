// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class EntryList;

// A list file read whole, to be put in place of a list.
struct ListFileLines
{
    QString file;
    QList<QByteArray> lines;
};

// What a start of the program, or a result picked in the desktop's search, asks the running
// program to do, with the list files it names already read.
struct StartRequest
{
    CommandLine options;
    std::optional<ListFileLines> services;
    std::optional<ListFileLines> terms;
};

// Reads the list files the request names, however long they take; touches nothing else, so
// that it may run on a thread of its own. Throws UsageError.
StartRequest ReadStartRequest(const CommandLine &options);
// Checks a request whose files were read against the program's lists without changing
// anything: finds the service it names in the service list it will search (the one read, else
// `currentServices`) and makes sure there is a service to search a term with. Throws
// UsageError.
void CheckStartRequest(const StartRequest &request, const EntryList &currentServices);
// Both.
StartRequest PrepareStartRequest(const CommandLine &options, const EntryList &currentServices);

// What --print-url writes: the address of the named (or first) service, or with --all-services
// a line "Name<TAB>address" for every service. The service list is the one named, else the
// working folder's Default.gls.
struct PrintUrlOutput
{
    QString out;
    QString err; // one line for each service whose address cannot be made
    int status = 0;
};
// Throws UsageError when the list cannot be read, is empty or has no service of the name.
PrintUrlOutput PrintUrl(const CommandLine &options, const QString &workingDirectory);
