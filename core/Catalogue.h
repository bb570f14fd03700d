// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The catalogue of service lists that ships with the program: a folder of list files by topic
// and an index, catalogue.ini, giving each file a title and a one-line description. The program
// shows the catalogue as a local page whose links load a list or add its services to the
// current list.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

struct CatalogueList
{
    QString file; // the list file's absolute path
    QString title;
    QString description;
    QStringList services; // the services' names, in the order of the file
};

enum class CatalogueAction { Load, Add };

// What a link of the catalogue page asks for.
struct CatalogueRequest
{
    QString file; // absolute path of a list file right inside the catalogue folder
    CatalogueAction action;
};

// The catalogue folder of a program that lives in the given folder: the copy beside the program
// in the build tree, else the installed one under share/glenlantern. Empty when there is none.
QString FindCatalogueFolder(const QString &programFolder);
// The same for this program. Throws CommandError when the catalogue is not there.
QString CatalogueFolder();

// The lists of the catalogue (every *.gls file of the folder that its links may name), ordered by
// title. A file the index does not describe is titled by its name. Throws CommandError when the
// folder, its index or a list cannot be read.
QList<CatalogueList> ReadCatalogue(const QString &folder);

// The catalogue page as HTML: the title "Service Lists", then each list with its title,
// description and services, and its two links. Every text from the files is escaped, and the
// page allows no script.
QString CataloguePage(const QList<CatalogueList> &lists);

// The link that asks for the action on a list file: its file: address with "?action=load" or
// "?action=add".
QUrl CatalogueLink(const QString &file, CatalogueAction action);

// The request behind a link of the catalogue page. Nothing for anything else: another scheme, a
// host, a fragment, another query, a file that is not an existing *.gls file right inside the
// folder (no "." or ".." in the path, no other folder, no link that leads out of it).
std::optional<CatalogueRequest> ParseCatalogueLink(const QUrl &link, const QString &folder);
