#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The folders the freedesktop rules search, most important first.
struct XdgFolders
{
    QString configHome;     // $XDG_CONFIG_HOME, else ~/.config
    QStringList configDirs; // $XDG_CONFIG_DIRS, else /etc/xdg
    QString dataHome;       // $XDG_DATA_HOME, else ~/.local/share
    QStringList dataDirs;   // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    QStringList desktops;   // $XDG_CURRENT_DESKTOP, lower case, for desktop-mimeapps.list
};
XdgFolders XdgFoldersFromEnvironment();

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
