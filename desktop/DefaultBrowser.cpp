// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(DefaultBrowser)
};

} // namespace

namespace {

const QString kHttpHandler = QStringLiteral("x-scheme-handler/http");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A desktop file ID names a file below an applications folder, its sub-folders joined by "-":
// "org-example-browser.desktop" may be "org/example-browser.desktop".
QString findDesktopFile(const QString &folder, const QString &id)
{
    const QString direct = folder + QLatin1Char('/') + id;
    if (QFileInfo(direct).isFile())
        return direct;
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1)) {
        const QString sub = folder + QLatin1Char('/') + id.left(dash);
        if (QFileInfo(sub).isDir()) {
            const QString found = findDesktopFile(sub, id.mid(dash + 1));
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

class HandlerSearch
{
public:
    HandlerSearch(const QString &address, const XdgFolders &folders) : m_address(address)
    {
        m_applicationFolders.append(folders.dataHome + QStringLiteral("/applications"));
        for (const QString &dir : folders.dataDirs)
            m_applicationFolders.append(dir + QStringLiteral("/applications"));
        QStringList listFolders {folders.configHome};
        listFolders += folders.configDirs;
        listFolders += m_applicationFolders;
        for (const QString &dir : std::as_const(listFolders)) {
            for (const QString &desktop : folders.desktops)
                addListFile(dir + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list"));
            addListFile(dir + QStringLiteral("/mimeapps.list"));
        }
    }

    std::optional<BrowserLaunch> find()
    {
        const QString defaults = QStringLiteral("Default Applications");
        const QString added = QStringLiteral("Added Associations");
        const QString removed = QStringLiteral("Removed Associations");
        for (const QByteArray &list : std::as_const(m_listFiles)) {
            for (const QString &id : MimeAppsEntries(list, defaults, kHttpHandler)) {
                if (auto launch = launchFor(id))
                    return launch;
            }
        }
        // A removal hides an association of its own file and of the files below it.
        QSet<QString> removedIds;
        for (const QByteArray &list : std::as_const(m_listFiles)) {
            for (const QString &id : MimeAppsEntries(list, removed, kHttpHandler))
                removedIds.insert(id);
            for (const QString &id : MimeAppsEntries(list, added, kHttpHandler)) {
                if (removedIds.contains(id))
                    continue;
                if (auto launch = launchFor(id))
                    return launch;
            }
        }
        for (const QString &folder : std::as_const(m_applicationFolders)) {
            const QByteArray cache = readFile(folder + QStringLiteral("/mimeinfo.cache"));
            for (const QString &id :
                 MimeAppsEntries(cache, QStringLiteral("MIME Cache"), kHttpHandler)) {
                if (removedIds.contains(id))
                    continue;
                if (auto launch = launchFor(id))
                    return launch;
            }
        }
        return std::nullopt;
    }

private:
    void addListFile(const QString &path)
    {
        const QByteArray content = readFile(path);
        if (!content.isEmpty())
            m_listFiles.append(content);
    }

    // The first folder holding the ID decides: a hidden entry there hides the ones below.
    std::optional<BrowserLaunch> launchFor(const QString &id) const
    {
        if (!id.endsWith(QStringLiteral(".desktop")))
            return std::nullopt;
        for (const QString &folder : m_applicationFolders) {
            const QString path = findDesktopFile(folder, id);
            if (path.isEmpty())
                continue;
            const DesktopEntry entry = ParseDesktopEntry(readFile(path));
            if (!entry.application || entry.hidden)
                return std::nullopt;
            if (!entry.tryExec.isEmpty() && QStandardPaths::findExecutable(entry.tryExec).isEmpty())
                return std::nullopt;
            BrowserLaunch launch;
            launch.desktopFile = path;
            std::optional<QStringList> command
                    = LaunchCommand(entry, path, m_address, &launch.problem);
            if (!command)
                return launch;
            launch.program = command->takeFirst();
            launch.arguments = *command;
            launch.workingDirectory = entry.path;
            return launch;
        }
        return std::nullopt;
    }

    QString m_address;
    QStringList m_applicationFolders;
    QList<QByteArray> m_listFiles;
};

} // namespace

std::optional<BrowserLaunch> DefaultBrowserLaunch(const QString &address, const XdgFolders &folders)
{
    return HandlerSearch(address, folders).find();
}

qsizetype LongestProgramArgument()
{
    return qsizetype(::sysconf(_SC_PAGESIZE)) * 32 - 1; // the terminating NUL counts too
}

bool OpenInDefaultBrowser(const QString &address, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const std::optional<BrowserLaunch> launch
            = DefaultBrowserLaunch(address, XdgFoldersFromEnvironment());
    if (!launch)
        return fail(Tr::tr("No web browser is set up to open http addresses"));
    if (!launch->problem.isEmpty())
        return fail(Tr::tr("The default web browser is not started: its desktop entry "
                           "\"%1\" %2")
                            .arg(launch->desktopFile, launch->problem));
    const qsizetype longest = LongestProgramArgument();
    const qsizetype length = address.toLocal8Bit().size();
    if (length > longest)
        return fail(Tr::tr("The address is %1 bytes long; a program can be given at most "
                           "%2 bytes in one argument")
                            .arg(length)
                            .arg(longest));
    QProcess process;
    process.setProgram(launch->program);
    process.setArguments(launch->arguments);
    process.setWorkingDirectory(launch->workingDirectory);
    if (!process.startDetached())
        return fail(Tr::tr("The default web browser \"%1\" could not be started: %2")
                            .arg(launch->program, process.errorString()));
    return true;
}
