// SPDX-License-Identifier: GPL-3.0-or-later
// Where the search engines are: the user's browser profiles and KDE's folders, or a path given,
// each file read on its own so that one that cannot be read never stops the others.
#include "DatabaseCopy.h"
#include "DesktopEntry.h"
#include "Error.h"
#include "Readers.h"
#include "InteropText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <functional>
#include <new>

namespace Interop {

namespace {

const QString kKde = QStringLiteral("KDE web shortcuts");
const QString kOpenSearch = QStringLiteral("OpenSearch");
const QString kWhatsMyName = QStringLiteral("WhatsMyName");

QString cannotRead(const QString &path, const QString &what)
{
    return CannotRead(QFileInfo(path).absoluteFilePath(), what);
}

// Runs the reader of one file; what goes wrong becomes the report's problem.
void guarded(ImportReport &report, const QString &path, const std::function<void()> &read)
{
    try {
        read();
    } catch (const CommandError &error) {
        report.problems.append(error.message());
    } catch (const std::bad_alloc &) {
        report.problems.append(cannotRead(path, Tr::tr("out of memory")));
    }
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

// ---- Firefox ----

QStringList firefoxRoots(const UserFolders &folders)
{
    return {folders.home + QStringLiteral("/.mozilla/firefox"),
            folders.configHome + QStringLiteral("/mozilla/firefox"),
            folders.home + QStringLiteral("/snap/firefox/common/.mozilla/firefox"),
            folders.home + QStringLiteral("/.var/app/org.mozilla.firefox/.mozilla/firefox")};
}

void readFirefoxProfile(const QString &folder, const QString &source, ImportReport &report)
{
    const QString search = folder + QStringLiteral("/search.json.mozlz4");
    const QString places = folder + QStringLiteral("/places.sqlite");
    if (isFile(search))
        guarded(report, search, [&] { ReadFirefoxSearch(search, source, report); });
    if (isFile(places))
        guarded(report, places, [&] { ReadFirefoxPlaces(places, source, report); });
}

// profiles.ini: a [ProfileN] group for each profile, its folder in Path (relative to the file
// unless IsRelative=0) and its name in Name.
void readProfilesIni(const QString &ini, QSet<QString> &seen, ImportReport &report)
{
    const QByteArray content = ReadInputFile(ini);
    const QDir root = QFileInfo(ini).absoluteDir();
    bool listed = false;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (!line.startsWith("[Profile") || !line.endsWith(']'))
            continue;
        const QString group = QString::fromUtf8(line.mid(1, line.size() - 2));
        const QString path
                = KeyFileValue(content, group, QStringLiteral("Path")).value_or(QString());
        if (path.isEmpty())
            continue;
        listed = true;
        const bool relative = KeyFileValue(content, group, QStringLiteral("IsRelative")) != u"0";
        const QString folder = relative ? root.absoluteFilePath(path) : path;
        const QString key = QFileInfo(folder).canonicalFilePath();
        if (key.isEmpty() || seen.contains(key))
            continue; // a profile listed but gone, or found already through another root
        seen.insert(key);
        QString name = KeyFileValue(content, group, QStringLiteral("Name")).value_or(QString());
        if (name.isEmpty())
            name = QFileInfo(folder).fileName();
        readFirefoxProfile(folder, QStringLiteral("Firefox: ") + name, report);
    }
    if (!listed)
        report.problems.append(cannotRead(ini, Tr::tr("it lists no Firefox profile")));
}

bool readFirefox(const UserFolders &folders, ImportReport &report)
{
    QSet<QString> seen;
    bool found = false;
    for (const QString &root : firefoxRoots(folders)) {
        const QString ini = root + QStringLiteral("/profiles.ini");
        if (!isFile(ini))
            continue;
        found = true;
        guarded(report, ini, [&] { readProfilesIni(ini, seen, report); });
    }
    return found;
}

// ---- Chromium and Google Chrome ----

struct Product
{
    QString name;
    QString folder; // the user data folder, holding Local State and the profile folders
};

QList<Product> chromiumProducts(const UserFolders &f)
{
    const QString flatpak = f.home + QStringLiteral("/.var/app/");
    return {{QStringLiteral("Chromium"), f.configHome + QStringLiteral("/chromium")},
            {QStringLiteral("Google Chrome"), f.configHome + QStringLiteral("/google-chrome")},
            {QStringLiteral("Google Chrome Beta"),
             f.configHome + QStringLiteral("/google-chrome-beta")},
            {QStringLiteral("Google Chrome Dev"),
             f.configHome + QStringLiteral("/google-chrome-unstable")},
            {QStringLiteral("Chromium"), f.home + QStringLiteral("/snap/chromium/common/chromium")},
            {QStringLiteral("Chromium"),
             flatpak + QStringLiteral("org.chromium.Chromium/config/chromium")},
            {QStringLiteral("Google Chrome"),
             flatpak + QStringLiteral("com.google.Chrome/config/google-chrome")}};
}

QString productOfFolder(const QString &userDataFolder)
{
    const QString name = QFileInfo(userDataFolder).fileName();
    for (const Product &product : chromiumProducts({})) {
        if (QFileInfo(product.folder).fileName() == name)
            return product.name;
    }
    return QStringLiteral("Chromium");
}

// The names the user gave the profiles, from Local State; the folder's name where it has none.
QJsonObject profileNames(const QString &userDataFolder)
{
    const QString localState = userDataFolder + QStringLiteral("/Local State");
    if (!isFile(localState))
        return {};
    try {
        const QJsonDocument state = QJsonDocument::fromJson(ReadInputFile(localState));
        return state.object().value(u"profile").toObject().value(u"info_cache").toObject();
    } catch (const CommandError &) {
        return {}; // only the labels are lost
    }
}

void readChromiumProfile(const QString &folder, const QString &source, ImportReport &report)
{
    const QString webData = folder + QStringLiteral("/Web Data");
    guarded(report, webData, [&] { ReadChromiumWebData(webData, source, report); });
}

bool readChromiumUserData(const QString &folder, const QString &product, ImportReport &report)
{
    const QJsonObject names = profileNames(folder);
    bool found = false;
    const QDir dir(folder);
    for (const QString &profile : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!isFile(dir.filePath(profile) + QStringLiteral("/Web Data")))
            continue;
        found = true;
        QString name = names.value(profile).toObject().value(u"name").toString();
        if (name.isEmpty())
            name = profile;
        readChromiumProfile(dir.filePath(profile), product + QStringLiteral(": ") + name, report);
    }
    return found;
}

bool readChromium(const UserFolders &folders, ImportReport &report)
{
    bool found = false;
    for (const Product &product : chromiumProducts(folders)) {
        if (QFileInfo(product.folder).isDir())
            found = readChromiumUserData(product.folder, product.name, report) || found;
    }
    return found;
}

// ---- KDE ----

QStringList kdeFolders(const UserFolders &folders)
{
    QStringList out;
    for (const QString &base : QStringList(folders.dataHome) + folders.dataDirs) {
        if (base.isEmpty())
            continue;
        out << base + QStringLiteral("/kf6/searchproviders")
            << base + QStringLiteral("/kservices5/searchproviders");
    }
    return out;
}

// The user's files first: one of the same name hides the system's (that is how the user
// changes or deletes one of KDE's shortcuts).
bool readKdeFolders(const QStringList &folders, ImportReport &report)
{
    QSet<QString> seen;
    bool found = false;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList files
                = dir.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            found = true;
            if (seen.contains(file))
                continue;
            seen.insert(file);
            guarded(report, dir.filePath(file),
                    [&] { ReadKdeShortcut(dir.filePath(file), kKde, report); });
        }
    }
    return found;
}

// ---- a path given ----

void readFileByContent(const QString &path, ImportReport &report)
{
    const QByteArray bytes = ReadInputFile(path);
    const QString parent = QFileInfo(QFileInfo(path).absolutePath()).fileName();
    if (bytes.startsWith(QByteArray("mozLz40\0", 8)))
        return ReadFirefoxSearch(path, QStringLiteral("Firefox: ") + parent, report);
    if (bytes.startsWith(QByteArray("SQLite format 3\0", 16))) {
        bool places = false;
        bool keywords = false;
        {
            DatabaseCopy db(path);
            places = db.hasTable(QStringLiteral("moz_keywords"));
            keywords = db.hasTable(QStringLiteral("keywords"));
        }
        if (places)
            return ReadFirefoxPlaces(path, QStringLiteral("Firefox: ") + parent, report);
        if (keywords)
            return ReadChromiumWebData(path, QStringLiteral("Chromium: ") + parent, report);
    } else if (bytes.contains("[Desktop Entry]")) {
        return ReadKdeShortcut(path, kKde, report);
    } else if (bytes.trimmed().startsWith('<') || bytes.startsWith("\xEF\xBB\xBF")) {
        return ReadOpenSearch(path, kOpenSearch, report);
    } else if (bytes.trimmed().startsWith('{') && bytes.contains("\"sites\"")) {
        return ReadWhatsMyName(path, kWhatsMyName, report);
    }
    throw CommandError(
            cannotRead(path,
                       Tr::tr("it holds no search engines this program can read (a Firefox "
                              "search.json.mozlz4 or places.sqlite, a Chromium Web Data, a "
                              "KDE .desktop web shortcut, an OpenSearch .xml or a "
                              "WhatsMyName .json)")));
}

void readFile(const QString &path, ImportReport &report)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString parent = QFileInfo(info.absolutePath()).fileName();
    if (name == u"profiles.ini") {
        QSet<QString> seen;
        readProfilesIni(path, seen, report);
    } else if (name.endsWith(u".mozlz4") || name.endsWith(u".jsonlz4")) {
        ReadFirefoxSearch(path, QStringLiteral("Firefox: ") + parent, report);
    } else if (name == u"places.sqlite") {
        ReadFirefoxPlaces(path, QStringLiteral("Firefox: ") + parent, report);
    } else if (name == u"Web Data") {
        const QString product = productOfFolder(QFileInfo(info.absolutePath()).absolutePath());
        ReadChromiumWebData(path, product + QStringLiteral(": ") + parent, report);
    } else if (name.endsWith(u".desktop")) {
        ReadKdeShortcut(path, kKde, report);
    } else if (name.endsWith(u".xml", Qt::CaseInsensitive)) {
        ReadOpenSearch(path, kOpenSearch, report);
    } else if (name.endsWith(u".json", Qt::CaseInsensitive)) {
        ReadWhatsMyName(path, kWhatsMyName, report);
    } else {
        readFileByContent(path, report);
    }
}

void readFolder(const QString &path, ImportReport &report)
{
    const QDir dir(path);
    const QString name = dir.dirName();
    if (isFile(dir.filePath(QStringLiteral("profiles.ini"))))
        return readFile(dir.filePath(QStringLiteral("profiles.ini")), report);
    if (isFile(dir.filePath(QStringLiteral("search.json.mozlz4")))
        || isFile(dir.filePath(QStringLiteral("places.sqlite"))))
        return readFirefoxProfile(dir.absolutePath(), QStringLiteral("Firefox: ") + name, report);
    if (isFile(dir.filePath(QStringLiteral("Web Data")))) {
        const QString product = productOfFolder(QFileInfo(dir.absolutePath()).absolutePath());
        return readChromiumProfile(dir.absolutePath(), product + QStringLiteral(": ") + name,
                                   report);
    }
    if (readChromiumUserData(dir.absolutePath(), productOfFolder(dir.absolutePath()), report))
        return;
    QStringList kde = {dir.filePath(QStringLiteral("searchproviders")),
                       dir.filePath(QStringLiteral("kf6/searchproviders")),
                       dir.filePath(QStringLiteral("kservices5/searchproviders"))};
    bool found = readKdeFolders(kde, report) || readKdeFolders({dir.absolutePath()}, report);
    for (const QString &file : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
        found = true;
        guarded(report, dir.filePath(file),
                [&] { ReadOpenSearch(dir.filePath(file), kOpenSearch, report); });
    }
    if (!found)
        report.problems.append(cannotRead(path, Tr::tr("no search engines found in this folder")));
}

void readPath(const QString &given, ImportReport &report)
{
    // Every reader names its file by the full path, however the path was given.
    const QString path = QFileInfo(given).absoluteFilePath();
    const QFileInfo info(path);
    if (!info.exists())
        report.problems.append(cannotRead(path, Tr::tr("no such file or folder")));
    else if (info.isDir())
        readFolder(path, report);
    else
        guarded(report, path, [&] { readFile(path, report); });
}

} // namespace

} // namespace Interop

using namespace Interop;

UserFolders UserFoldersFromEnvironment()
{
    const XdgFolders xdg = XdgFoldersFromEnvironment();
    return {QDir::homePath(), xdg.configHome, xdg.dataHome, xdg.dataDirs};
}

UserFolders UserFoldersUnder(const QString &home, const QStringList &dataDirs)
{
    return {home, home + QStringLiteral("/.config"), home + QStringLiteral("/.local/share"),
            dataDirs};
}

ImportSource ImportSourceFromArgument(const QString &argument)
{
    const QString word = argument.toLower();
    if (word == u"firefox")
        return {ImportSource::Kind::Firefox, {}};
    if (word == u"chromium" || word == u"chrome")
        return {ImportSource::Kind::Chromium, {}};
    if (word == u"kde")
        return {ImportSource::Kind::Kde, {}};
    return {ImportSource::Kind::Path, argument};
}

ImportReport FindServices(const ImportSource &source, const UserFolders &folders)
{
    using Kind = ImportSource::Kind;
    ImportReport report;
    const bool all = source.kind == Kind::Everything;
    if (source.kind == Kind::Path) {
        readPath(source.path, report);
        return report;
    }
    // Where a browser is not there, the dialog lists nothing for it; asked for by name, it is
    // a source that cannot be read.
    if ((all || source.kind == Kind::Firefox) && !readFirefox(folders, report) && !all)
        report.problems.append(
                Tr::tr("No Firefox profile found (no profiles.ini in "
                       "%1 or %2)")
                        .arg(firefoxRoots(folders).at(0), firefoxRoots(folders).at(1)));
    if ((all || source.kind == Kind::Chromium) && !readChromium(folders, report) && !all)
        report.problems.append(
                Tr::tr("No Chromium or Google Chrome profile found in %1").arg(folders.configHome));
    if ((all || source.kind == Kind::Kde) && !readKdeFolders(kdeFolders(folders), report) && !all)
        report.problems.append(Tr::tr("No KDE web shortcuts found (no searchproviders "
                                      "folder with .desktop files in %1)")
                                       .arg(kdeFolders(folders).join(QStringLiteral(", "))));
    return report;
}
