// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files the pages offer (engine plugin). None is saved without the user choosing where; each
// shows its progress under the pages and in the status line, can be cancelled, and once done
// can be opened or shown in its folder.
#include "BrowserEngine.h"

#include <QWidget>

class QVBoxLayout;
class QWebEngineDownloadRequest;
class QWebEngineProfile;

class DownloadsBar : public QWidget
{
    Q_OBJECT

public:
    // Whether a file at this address may be offered: not when only pages nobody sees are
    // navigating to it.
    using AddressFilter = std::function<bool(const QUrl &)>;

    DownloadsBar(const BrowserHost &host, AddressFilter mayDownload, QWidget *parent = nullptr);

    void watch(QWebEngineProfile *profile);

private:
    void requested(QWebEngineDownloadRequest *download, const QString &downloadFolder);
    void addRow(QWebEngineDownloadRequest *download, const QString &path);

    const BrowserHost &m_host;
    AddressFilter m_mayDownload;
    QVBoxLayout *m_rows;
};

// "1.4 MB", "320 KB", "12 bytes".
QString SizeText(qint64 bytes);
