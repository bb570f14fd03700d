// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which program a start belongs to. Qt WebEngine takes one proxy for the whole process, so a
// case whose pages go through a proxy runs in a program of its own, known on the session bus by
// a name made from the case; every other case, and a start without a case, belongs to the
// program without a proxy. A start without a case goes to the program the user worked in last.
#include "CommandLine.h"
#include "Proxy.h"

#include <QStringList>

struct BusNames;

struct ProgramRoute
{
    // The case the program runs for; empty for the program without a proxy.
    QString caseLocation;
    ProxySetting proxy;
    // The case's part of its program's bus name; empty for the program without a proxy.
    QString busKey;
    // Where the start goes first, in this order: the first program that runs takes it.
    QStringList handTo;

    bool isCaseProgram() const { return !caseLocation.isEmpty(); }
};

// The case as one text whatever way it was named: a folder's real path, a server's address as
// the program writes it.
QString CaseIdentityKey(const QString &location);
bool SameCase(const QString &a, const QString &b);
// Whether the case is there already (a folder holding case.sqlite; a server case is taken to be).
bool CaseExists(const QString &location);

// The route of a start. CommandError when the case's settings cannot be read or hold a proxy
// that cannot be used.
ProgramRoute RouteStart(const CommandLine &options, const BusNames &main);
