// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue of service lists in the browser pane: its page, and what its links ask for.
#include "Catalogue.h"
#include "FileIo.h"
#include "Main.h"
#include "Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

void TfrmMain::actDlSrvListsExecute()
{
    // The page is written where the pane can open it as a local page; its links name the lists
    // in the catalogue folder, which the program answers itself (followCatalogueLink).
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(folder);
    const QString page = QDir(folder).filePath(QStringLiteral("catalogue.html"));
    const QByteArray html = CataloguePage(ReadCatalogue(CatalogueFolder())).toUtf8();
    WriteFileWith(page, [&](QIODevice &file) { return file.write(html) == html.size(); });
    navigate(page);
}

bool TfrmMain::followCatalogueLink(const QUrl &link)
{
    const QString folder = FindCatalogueFolder(ProgramFolder());
    const std::optional<CatalogueRequest> request
            = folder.isEmpty() ? std::nullopt : ParseCatalogueLink(link, folder);
    if (!request)
        return false;
    // Later, not inside the engine's question: loading may ask about unsaved changes first.
    QTimer::singleShot(0, this, [this, request = *request] {
        m_commandSet->run([&] { actOnCatalogueRequest(request); });
    });
    return true;
}

// For a while over the status line: the page's own load texts follow the click too.
void TfrmMain::showResult(const QString &text)
{
    statusBar()->showMessage(text, 8000);
}

// The list's title in the catalogue, else its file's name.
static QString catalogueTitle(const QString &file)
{
    for (const CatalogueList &list : ReadCatalogue(QFileInfo(file).path())) {
        if (list.file == file)
            return list.title;
    }
    return QFileInfo(file).completeBaseName();
}

void TfrmMain::actOnCatalogueRequest(const CatalogueRequest &request)
{
    const QString name = catalogueTitle(request.file);
    if (request.action == CatalogueAction::Load) {
        if (m_serviceCommands.LoadUntitled(request.file))
            showResult(tr("Loaded the service list \"%1\"").arg(name));
        return;
    }
    const qsizetype added = m_serviceCommands.AddFrom(request.file);
    showResult(added == 1 ? tr("Added 1 service from \"%1\"").arg(name)
                          : tr("Added %1 services from \"%2\"").arg(added).arg(name));
}
