// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Freedesktop files: desktop entries, mimeapps.list, mimeinfo.cache, and the folders the rules
// search for them. QtCore only, so that readers of other programs' files can use it too.
#include <QByteArray>
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

// The value of a key in a group of a freedesktop key file, as written (no escapes undone);
// nothing when the group or key is missing. As with GLib, a later duplicate wins.
std::optional<QString> KeyFileValue(const QByteArray &content, const QString &group,
                                    const QString &key);

// A string list value ("a;b;c;"), "\;" being a semicolon inside an item. Empty items dropped.
QStringList SplitStringList(const QString &value);

// The escapes of string values undone: \s \n \t \r \\ (an unknown escape is kept as written).
QString UnescapeString(const QString &value);

// The Exec value (escapes of string values already undone) split into arguments by its quoting
// rules: blanks separate, double quotes group, and inside quotes a backslash makes the next
// of " ` $ \ literal. Files that do not quote as they should are read the way GLib reads them:
// single quotes group literally and a backslash outside quotes makes the next character literal.
// Nothing when a quote is left open.
std::optional<QStringList> SplitExec(const QString &exec);

struct DesktopEntry
{
    QString exec;             // Exec, escapes undone
    QString tryExec;          // TryExec
    QString icon;             // Icon
    QString name;             // Name
    QString path;             // Path: the folder to start it in
    bool hidden = false;      // Hidden=true: the entry counts as deleted
    bool application = false; // Type=Application
};
DesktopEntry ParseDesktopEntry(const QByteArray &content);

// The command line that opens the address: program first, the address as exactly one of the
// arguments. %u %U %f %F become the address (inside an argument too); %i becomes "--icon" and
// the icon when there is one; %c the name; %k the desktop file's path; %% a percent sign;
// every other field code is dropped. Without %u %U %f %F the address is appended.
// Nothing, with the reason in `problem` (a phrase to follow "the entry"), when the entry has no
// usable Exec or one this program refuses: a field code inside a quoted or escaped argument
// (sh -c "browser %u" would hand the address to a shell), or more than one code for the
// address.
std::optional<QStringList> LaunchCommand(const DesktopEntry &entry, const QString &desktopFilePath,
                                         const QString &address, QString *problem = nullptr);

// The desktop file IDs a mimeapps.list (or mimeinfo.cache) lists for a MIME type in a group
// ("Default Applications", "Added Associations", "Removed Associations", "MIME Cache").
QStringList MimeAppsEntries(const QByteArray &content, const QString &group,
                            const QString &mimeType);
