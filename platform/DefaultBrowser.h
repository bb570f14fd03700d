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
};

// The command of the desktop's default handler for http addresses, with the address as one of
// its arguments: the x-scheme-handler/http defaults of the mimeapps.list files, then their added
// associations, then the mimeinfo.cache files. Nothing when no installed application handles it.
std::optional<BrowserLaunch> DefaultBrowserLaunch(const QString &address,
                                                  const XdgFolders &folders);

// Starts the default web browser on the address, never through a shell: the address reaches it
// as one argument whatever it holds. False when there is no browser or it could not be started.
bool OpenInDefaultBrowser(const QString &address);
