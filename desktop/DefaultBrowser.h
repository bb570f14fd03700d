// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopEntry.h"

#include <QString>
#include <QStringList>
#include <optional>

struct BrowserLaunch
{
    QString program;
    QStringList arguments;
    QString workingDirectory; // empty: the program's own
    QString desktopFile;
    QString problem; // why the entry is refused; then nothing is started
};

// The command of the desktop's default handler for http addresses, with the address as one of
// its arguments: the x-scheme-handler/http defaults of the mimeapps.list files, then their added
// associations, then the mimeinfo.cache files. Nothing when no installed application handles it.
// An installed handler whose command this program refuses (LaunchCommand) ends the search with
// the reason in `problem`: another browser is not started behind the user's back.
std::optional<BrowserLaunch> DefaultBrowserLaunch(const QString &address,
                                                  const XdgFolders &folders);

// The longest single argument the system passes to a program (32 pages), in bytes: no browser
// can be given a longer address on its command line.
qsizetype LongestProgramArgument();

// Starts the default web browser on the address, never through a shell: the address reaches it
// as one argument whatever it holds. False when there is no browser, its entry is refused, the
// address is longer than a program can be given, or it could not be started; then `error` (when
// given) says which, in words for the user.
bool OpenInDefaultBrowser(const QString &address, QString *error = nullptr);
