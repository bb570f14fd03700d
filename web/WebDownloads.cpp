// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebDownloads.h"

#include "DownloadName.h"
#include "FillText.h"
#include "PlainText.h"
#include "Prompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

namespace {

using Download = QWebEngineDownloadRequest;

QPushButton *rowButton(const QString &text, const char *name, QWidget *row)
{
    auto *b = new QPushButton(text, row);
    b->setObjectName(QLatin1String(name));
    row->layout()->addWidget(b);
    return b;
}

QString progressText(const QString &name, const Download *download)
{
    const qint64 total = download->totalBytes();
    const qint64 received = download->receivedBytes();
    if (total > 0)
        return FillText(DownloadsBar::tr("%1: %2% of %3"), name, received * 100 / total,
                        SizeText(total));
    return QStringLiteral("%1: %2").arg(name, SizeText(received));
}

// A page cannot hand the user a program that starts with a click: whatever it sent, and
// whatever had the name before, the file is kept without permission to run.
void dropExecutePermission(const QString &path)
{
    constexpr QFile::Permissions run
            = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
    const QFile::Permissions permissions = QFile::permissions(path);
    if (permissions & run)
        QFile::setPermissions(path, permissions & ~run);
}

} // namespace

QString SizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return DownloadsBar::tr("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
    if (bytes >= 1024)
        return DownloadsBar::tr("%1 KB").arg(bytes / 1024);
    return DownloadsBar::tr("%1 bytes").arg(bytes);
}

DownloadsBar::DownloadsBar(Prompts *prompts, AddressFilter mayDownload, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_mayDownload(std::move(mayDownload)),
      m_rows(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("brwDownloads"));
    m_rows->setContentsMargins(4, 2, 4, 2);
    m_rows->setSpacing(2);
    hide();
}

void DownloadsBar::watch(QWebEngineProfile *profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this, profile](Download *download) { requested(download, profile->downloadPath()); });
}

void DownloadsBar::requested(Download *download, const QString &downloadFolder)
{
    // A page saved by a capture: the program asked for it and watches it itself.
    if (download->isSavePageDownload())
        return;
    // A page nobody sees (loaded ahead) offers nothing: the user has not been there yet. The
    // engine's page() is not asked: it crashes when the page is gone or was never known.
    if (!m_mayDownload(download->url())) {
        download->cancel();
        return;
    }
    // The profile's folder, not the download's: the engine takes a folder part of the page's
    // name ("../.config/autostart/x.desktop") into the download's folder.
    const std::optional<QString> path = m_prompts
            ? m_prompts->SaveFileAs(tr("Save Download"),
                                    DownloadTarget(downloadFolder, download->downloadFileName()))
            : std::nullopt;
    if (!path) {
        download->cancel();
        return;
    }
    const QFileInfo target(*path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
    addRow(download, target.absoluteFilePath());
}

void DownloadsBar::addRow(Download *download, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("download"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = PlainLabel({}, row);
    label->setObjectName(QStringLiteral("downloadText"));
    layout->addWidget(label, 1);
    QPushButton *cancel = rowButton(DownloadsBar::tr("Cancel"), "downloadCancel", row);
    QPushButton *open = rowButton(DownloadsBar::tr("Open"), "downloadOpen", row);
    QPushButton *folder = rowButton(DownloadsBar::tr("Show in Folder"), "downloadFolder", row);
    auto *done = new QToolButton(row);
    done->setObjectName(QStringLiteral("downloadClose"));
    done->setText(QStringLiteral("\u2715"));
    done->setAccessibleName(DownloadsBar::tr("Close"));
    done->setAutoRaise(true);
    layout->addWidget(done);
    open->hide();
    folder->hide();
    m_rows->addWidget(row);
    show();

    QPointer<Download> watched(download);
    connect(download, &Download::stateChanged, row, [watched](Download::DownloadState state) {
        if (watched && state == Download::DownloadCompleted)
            dropExecutePermission(
                    QDir(watched->downloadDirectory()).filePath(watched->downloadFileName()));
    });
    auto update = [=, this] {
        if (!watched)
            return;
        QString text;
        switch (watched->state()) {
        case Download::DownloadRequested:
        case Download::DownloadInProgress:
            text = progressText(name, watched);
            break;
        case Download::DownloadCompleted:
            text = DownloadsBar::tr("%1: done, %2").arg(name, SizeText(watched->receivedBytes()));
            break;
        case Download::DownloadCancelled:
            text = DownloadsBar::tr("%1: cancelled").arg(name);
            break;
        case Download::DownloadInterrupted:
            text = DownloadsBar::tr("%1: failed (%2)").arg(name, watched->interruptReasonString());
            break;
        }
        label->setText(text);
        // By its state: the engine says isFinished() only after it has said the state.
        const bool finished = watched->state() != Download::DownloadRequested
                && watched->state() != Download::DownloadInProgress;
        cancel->setVisible(!finished);
        open->setVisible(watched->state() == Download::DownloadCompleted);
        folder->setVisible(watched->state() == Download::DownloadCompleted);
        Q_EMIT statusBarMessage(DownloadsBar::tr("Download %1").arg(text));
    };
    connect(download, &Download::receivedBytesChanged, label, update);
    connect(download, &Download::stateChanged, label, update);
    update();
    connect(cancel, &QPushButton::clicked, download, &Download::cancel);
    connect(open, &QPushButton::clicked, row, [this, path] {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            Q_EMIT errorOccurred(
                    DownloadsBar::tr("No application could be started to open %1").arg(path));
    });
    connect(folder, &QPushButton::clicked, row, [this, path] {
        const QString where = QFileInfo(path).absolutePath();
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(where)))
            Q_EMIT errorOccurred(
                    DownloadsBar::tr("No application could be started to show %1").arg(where));
    });
    connect(done, &QToolButton::clicked, row, [this, row, watched] {
        if (watched && !watched->isFinished())
            watched->cancel();
        row->deleteLater();
        if (m_rows->count() <= 1)
            hide();
    });
}
