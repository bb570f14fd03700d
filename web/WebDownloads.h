// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files the pages offer (engine plugin). None is saved without the user choosing where; each
// shows its progress under the pages and in the status line, can be cancelled, and once done
// can be opened or shown in its folder.
#include <QWidget>

#include <functional>

class Prompts;
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

    DownloadsBar(Prompts *prompts, AddressFilter mayDownload, QWidget *parent = nullptr);

    void watch(QWebEngineProfile *profile);

Q_SIGNALS:
    // A download's progress, for the status line.
    void statusBarMessage(const QString &text);
    void errorOccurred(const QString &message);

private:
    void requested(QWebEngineDownloadRequest *download, const QString &downloadFolder);
    void addRow(QWebEngineDownloadRequest *download, const QString &path);

    Prompts *m_prompts;
    AddressFilter m_mayDownload;
    QVBoxLayout *m_rows;
};

// "1.4 MB", "320 KB", "12 bytes".
QString SizeText(qint64 bytes);
