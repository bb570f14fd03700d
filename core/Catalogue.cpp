// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"

#include "EntryList.h"
#include "Error.h"
#include "FileIo.h"
#include "Prompts.h"
#include "Search.h"
#include "TextRules.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

// From the installed program's folder to the installed catalogue (cmake/Install.cmake).
#ifndef GL_CATALOGUE_FROM_PROGRAM
#    error "GL_CATALOGUE_FROM_PROGRAM must name the catalogue folder relative to the program's"
#endif

namespace {

struct Catalogue
{
    Q_DECLARE_TR_FUNCTIONS(Catalogue)
};

const QString kIndexFile = QStringLiteral("catalogue.ini");
const QString kListSuffix = QStringLiteral(".gls");

// A value of the index. QSettings reads an unquoted text holding commas as a list of texts.
QString indexText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString().trimmed();
}

QStringList serviceNames(const QString &file)
{
    QStringList names;
    for (const QByteArray &line : ReadListLines(file)) {
        if (TrimBlanks(line).isEmpty())
            continue;
        names.append(ServiceDisplayName(line));
    }
    return names;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString servicesCount(qsizetype count)
{
    return count == 1 ? Catalogue::tr("1 service")
                      : Catalogue::tr("%1 services").arg(QString::number(count));
}

QString listSection(const CatalogueList &list)
{
    QString html = QStringLiteral("<section>\n<h2>%1</h2>\n").arg(escaped(list.title));
    if (!list.description.isEmpty())
        html += QStringLiteral("<p>%1</p>\n").arg(escaped(list.description));
    const auto link = [&](CatalogueAction action, const QString &caption) {
        const QString href = CatalogueLink(list.file, action).toString(QUrl::FullyEncoded);
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(escaped(href), escaped(caption));
    };
    html += QStringLiteral("<p class=\"links\">%1 &middot; %2</p>\n")
                    .arg(link(CatalogueAction::Load, Catalogue::tr("Load this list")),
                         link(CatalogueAction::Add, Catalogue::tr("Add its services")));
    html += QStringLiteral("<p class=\"count\">%1</p>\n<ul>\n")
                    .arg(escaped(servicesCount(list.services.size())));
    for (const QString &name : list.services)
        html += QStringLiteral("<li>%1</li>\n").arg(escaped(name));
    return html + QStringLiteral("</ul>\n</section>\n");
}

std::optional<CatalogueAction> actionOf(const QUrl &link)
{
    const QString query = link.query(QUrl::FullyDecoded);
    if (query == QLatin1String("action=load"))
        return CatalogueAction::Load;
    if (query == QLatin1String("action=add"))
        return CatalogueAction::Add;
    return std::nullopt;
}

} // namespace

QString FindCatalogueFolder(const QString &programFolder)
{
    const QDir program(programFolder);
    for (const QString &relative :
         {QStringLiteral("catalogue"), QStringLiteral(GL_CATALOGUE_FROM_PROGRAM)}) {
        const QFileInfo folder(program.filePath(relative));
        if (folder.isDir())
            return QDir::cleanPath(folder.absoluteFilePath());
    }
    return {};
}

QString CatalogueFolder()
{
    const QString folder = FindCatalogueFolder(ProgramFolder());
    if (folder.isEmpty())
        throw CommandError(
                Catalogue::tr("The catalogue of service lists is not installed: it "
                              "is neither in \"%1\" nor in \"%2\"")
                        .arg(QDir(ProgramFolder()).filePath(QStringLiteral("catalogue")),
                             QDir::cleanPath(QDir(ProgramFolder())
                                                     .filePath(QStringLiteral(
                                                             GL_CATALOGUE_FROM_PROGRAM)))));
    return folder;
}

QList<CatalogueList> ReadCatalogue(const QString &folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        throw CommandError(Catalogue::tr("The catalogue folder \"%1\" does not exist").arg(folder));
    const QString indexPath = dir.filePath(kIndexFile);
    QSettings index(indexPath, QSettings::IniFormat);
    if (index.status() != QSettings::NoError)
        throw CommandError(
                Catalogue::tr("Cannot read the catalogue's index \"%1\"").arg(indexPath));

    QList<CatalogueList> lists;
    const QFileInfoList files = dir.entryInfoList({QLatin1Char('*') + kListSuffix},
                                                  QDir::Files | QDir::CaseSensitive, QDir::Name);
    for (const QFileInfo &info : files) {
        // Only lists its links may ask for: none that leads out of the folder.
        if (!ParseCatalogueLink(CatalogueLink(info.absoluteFilePath(), CatalogueAction::Load),
                                folder))
            continue;
        CatalogueList list;
        list.file = info.absoluteFilePath();
        const QString name = info.fileName().chopped(kListSuffix.size());
        index.beginGroup(name);
        list.title = indexText(index.value(QStringLiteral("title")));
        list.description = indexText(index.value(QStringLiteral("description")));
        index.endGroup();
        if (list.title.isEmpty())
            list.title = name;
        list.services = serviceNames(list.file);
        lists.append(list);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(lists.begin(), lists.end(), [&](const auto &a, const auto &b) {
        return collator.compare(a.title, b.title) < 0;
    });
    return lists;
}

QString CataloguePage(const QList<CatalogueList> &lists)
{
    const QString title = escaped(Catalogue::tr("Service Lists"));
    QString html
            = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                             "<meta http-equiv=\"Content-Security-Policy\" "
                             "content=\"default-src 'none'; style-src 'unsafe-inline'\">\n"
                             "<title>%1</title>\n<style>\n"
                             "body { font-family: sans-serif; margin: 1.5em; max-width: 60em; }\n"
                             "section { border-top: 1px solid #ccc; padding-top: 0.5em; }\n"
                             "ul { columns: 16em; padding-left: 1.2em; }\n"
                             ".links a { font-weight: bold; }\n"
                             "</style>\n</head>\n<body>\n<h1>%1</h1>\n<p>%2</p>\n");
    html = html.arg(title,
                    escaped(Catalogue::tr("Load a list in place of the service list, or add its "
                                          "services to the service list.")));
    for (const CatalogueList &list : lists)
        html += listSection(list);
    return html + QStringLiteral("</body>\n</html>\n");
}

QUrl CatalogueLink(const QString &file, CatalogueAction action)
{
    QUrl link = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    link.setQuery(action == CatalogueAction::Load ? QStringLiteral("action=load")
                                                  : QStringLiteral("action=add"));
    return link;
}

std::optional<CatalogueRequest> ParseCatalogueLink(const QUrl &link, const QString &folder)
{
    if (!link.isValid() || link.scheme() != QLatin1String("file") || !link.host().isEmpty()
        || link.hasFragment() || !link.userInfo().isEmpty() || link.port() != -1)
        return std::nullopt;
    const std::optional<CatalogueAction> action = actionOf(link);
    if (!action)
        return std::nullopt;

    const QString path = link.path(QUrl::FullyDecoded);
    const QStringList segments = path.split(QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0))
        || segments.contains(QStringLiteral(".")) || segments.contains(QStringLiteral("..")))
        return std::nullopt;
    const QFileInfo file(path);
    const QString name = file.fileName();
    if (name.size() <= kListSuffix.size() || !name.endsWith(kListSuffix) || !file.isFile())
        return std::nullopt;

    // Right inside the folder as written, and still there once links are resolved.
    const QFileInfo catalogue(folder);
    const QString canonicalFolder = catalogue.canonicalFilePath();
    if (folder.isEmpty() || canonicalFolder.isEmpty()
        || QDir::cleanPath(file.absolutePath()) != QDir::cleanPath(catalogue.absoluteFilePath())
        || QFileInfo(file.canonicalFilePath()).absolutePath() != canonicalFolder)
        return std::nullopt;
    return CatalogueRequest {file.absoluteFilePath(), *action};
}
