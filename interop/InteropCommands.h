// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command-line jobs of import and export: each does the whole job and gives back what to
// print, without any window, display or application object.
#include "Interop.h"

struct CommandOutput
{
    QStringList out;    // lines for standard output
    QStringList errors; // lines for standard error
    // 0: done; 2: what the command names cannot be read (no part of the source, or the list);
    // 1: a failure while working (a file not written, a part of the source not read)
    int status = 0;
};

// glenlantern --import SOURCE --into FILE: SOURCE as ImportSourceFromArgument reads it. Appends
// the importable services whose address FILE does not hold yet (creating FILE), keeping its
// bytes as they are; prints one line for each service imported or skipped. Services that were
// read are appended even when another file of the source could not be read.
CommandOutput RunImportCommand(const QString &source, const QString &intoFile,
                               const UserFolders &folders = UserFoldersFromEnvironment());

// glenlantern --export opensearch|kde --services FILE DIR.
CommandOutput RunExportCommand(const QString &format, const QString &servicesFile,
                               const QString &folder);
