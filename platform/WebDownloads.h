// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files the pages offer (engine plugin). None is saved without the user choosing where; each
// shows its progress under the pages and in the status line, can be cancelled, and once done
// can be opened or shown in its folder.
#include "BrowserEngine.h"

#include <QWidget>

class QVBoxLayout;
class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;

class DownloadsBar : public QWidget
{
    Q_OBJECT

public:
    // Pages that may offer a file: those the user sees.
    using PageFilter = std::function<bool(QWebEnginePage *)>;

    DownloadsBar(const BrowserHost &host, PageFilter mayDownload, QWidget *parent = nullptr);

    void watch(QWebEngineProfile *profile);

private:
    void requested(QWebEngineDownloadRequest *download);
    void addRow(QWebEngineDownloadRequest *download, const QString &path);

    const BrowserHost &m_host;
    PageFilter m_mayDownload;
    QVBoxLayout *m_rows;
};

// "1.4 MB", "320 KB", "12 bytes".
QString SizeText(qint64 bytes);
