// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Other programs' search engines in, ours out: Firefox, Chromium and Google Chrome profiles,
// KDE web shortcuts and OpenSearch description documents. QtCore only: the import and export
// jobs of the command line run without a display.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A search engine found in another program, as a service line would hold it.
struct FoundService
{
    QString source;     // for grouping: "Firefox: default-esr", "Chromium: Default", "OpenSearch"
    QString file;       // the file it was read from
    QString name;       // a name a service line can hold (no "=", one line)
    QString address;    // the service string, with the placeholder |s| (and its options)
    QString skipReason; // why it cannot be imported; empty when it can
    // What the service line holds after the address, in this order, as key and value: post=,
    // group=, header=, redirects=, found=, missing= (ServiceLine). No value holds a TAB or a
    // line end.
    QList<std::pair<QString, QString>> attributes;
    QStringList changes; // what the import changed from the source's text, as phrases

    bool importable() const { return skipReason.isEmpty(); }
    QString line() const
    {
        QString text = name + u'=' + address;
        for (const auto &[key, value] : attributes)
            text += u'\t' + key + u'=' + value;
        return text;
    }
};

// What a search found: the engines, and one message for each file that could not be read
// ("... "file": what is wrong with it"). A problem never stops the other files being read.
struct ImportReport
{
    QList<FoundService> services;
    QStringList problems;
};

// The folders the automatic sources are looked for in.
struct UserFolders
{
    QString home;         // Firefox: ~/.mozilla/firefox
    QString configHome;   // Firefox: ~/.config/mozilla/firefox; Chromium and Chrome profiles
    QString dataHome;     // the user's KDE web shortcuts
    QStringList dataDirs; // KDE's own web shortcuts
};
// The user running the program: $HOME and the XDG folders.
UserFolders UserFoldersFromEnvironment();
// A home folder with the XDG defaults under it and no system folders (for tests and tools).
UserFolders UserFoldersUnder(const QString &home, const QStringList &dataDirs = {});

struct ImportSource
{
    enum class Kind {
        Everything, // every source found for the user: the Import dialog's list
        Firefox,    // every Firefox and Firefox ESR profile
        Chromium,   // every Chromium and Google Chrome profile
        Kde,        // the user's and the system's KDE web shortcuts
        Path,       // a profile folder or a file of any kind read here, or a folder of them
    };
    Kind kind = Kind::Everything;
    QString path; // for Path
};

// "firefox", "chromium" (or "chrome"), "kde", otherwise a path.
ImportSource ImportSourceFromArgument(const QString &argument);

// Reads the source. Never throws: what cannot be read is in the report's problems.
ImportReport FindServices(const ImportSource &source,
                          const UserFolders &folders = UserFoldersFromEnvironment());

// The search an OpenSearch description document offers (the one a page links), read from
// its bytes; `documentAddress` is where it came from, for a relative template and the label.
// Throws CommandError when the document cannot be read.
FoundService OpenSearchService(const QByteArray &document, const QString &documentAddress);

// For each found service, whether it is importable and its search (address and form body) is
// already one of the list's, or that of an earlier importable found service.
QList<bool> AlreadyListed(const QList<FoundService> &found, const QList<QByteArray> &serviceLines);
// The found services without those AlreadyListed: what the Import dialog offers.
QList<FoundService> DropKnownServices(const QList<FoundService> &found,
                                      const QList<QByteArray> &serviceLines);

enum class ExportFormat { OpenSearch, Kde };
std::optional<ExportFormat> ExportFormatFromName(const QString &name); // "opensearch", "kde"

struct ExportReport
{
    QStringList written;  // the files written
    QStringList skipped;  // "Name: why it is no service Go searches, or has no form in this format"
    QStringList problems; // files not written: a clash with an existing file, a failed write
};

// One file per service line into the folder (made when missing): an OpenSearch description
// (.xml) or a KDE web shortcut (.desktop), for the services Go searches (ServiceProblem), with
// the scheme written out. File names come from the service names; an existing file is never
// replaced, it is reported. Blank lines are passed over.
ExportReport ExportServices(const QList<QByteArray> &serviceLines, ExportFormat format,
                            const QString &folder);
