// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebCapture.h"

#include "WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QThread>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include <csignal>

WebCapture::WebCapture(QObject *parent) : QObject(parent)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(TimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &WebCapture::timedOut);
}

// The engine has no way to cancel a print: the page's renderer is ended, which frees what the
// print held and lets the page load anew. A save is cancelled first, so that no part of it is
// written after the file was given up.
void WebCapture::timedOut()
{
    if (!m_busy)
        return;
    const QPointer<QWebEngineDownloadRequest> save = m_save;
    Job &job = m_jobs.first();
    qint64 renderer = 0;
    if (job.view && m_current.format != CaptureFormat::Png) {
        renderer = job.view->page()->renderProcessPid();
        job.stopped = true;
    }
    // Given up first, so that what the cancel and the end say is no longer heard.
    done(tr("the web engine did not finish writing it in %1 seconds; it was stopped")
                 .arg(m_timeout.interval() / 1000.0));
    if (save)
        save->cancel();
    if (renderer > 0 && renderer != QCoreApplication::applicationPid())
        ::kill(pid_t(renderer), SIGKILL);
}

void WebCapture::add(WebView *view, int id, const QList<CaptureFile> &files)
{
    Job job {view, id, files, {}};
    // What the user sees when asking, kept for when the page has left the view by the PNG's
    // turn. A view not on the screen (a tab behind, a page kept for a step back) draws nothing.
    for (const CaptureFile &file : files) {
        if (file.format == CaptureFormat::Png && view->isVisible())
            job.shown = view->grab().toImage();
    }
    m_jobs.append(job);
    if (!m_busy)
        next();
}

void WebCapture::fail(int id, const QList<CaptureFile> &files, const QString &reason)
{
    for (const CaptureFile &file : files) {
        const CaptureOutcome outcome {id, file.format, file.path, reason};
        QMetaObject::invokeMethod(this, [this, outcome] { Q_EMIT finished(outcome); },
                                  Qt::QueuedConnection);
    }
}

void WebCapture::next()
{
    while (!m_jobs.isEmpty() && m_jobs.first().files.isEmpty())
        m_jobs.removeFirst();
    m_busy = !m_jobs.isEmpty();
    if (!m_busy)
        return;
    Job &job = m_jobs.first();
    const CaptureFile file = job.files.takeFirst();
    m_current = {job.id, file.format, file.path, {}};
    if (!job.view && file.format != CaptureFormat::Png)
        return done(tr("the page was closed before it was captured"));
    if (job.stopped && file.format != CaptureFormat::Png)
        return done(tr("the page was stopped when an earlier file of this capture took too long"));
    // A page closed while the engine writes it (its tab, a step far away) ends the file now,
    // not at the timeout; the picture was taken already.
    if (job.view && file.format != CaptureFormat::Png)
        m_waits.append(connect(job.view, &QObject::destroyed, this, [this] {
            done(tr("the page was closed before it was captured"));
        }));
    // The picture is encoded here, in bounded time; only the engine's work can hang.
    if (file.format != CaptureFormat::Png)
        m_timeout.start();
    start(job, file);
}

void WebCapture::start(Job &job, const CaptureFile &file)
{
    switch (file.format) {
    case CaptureFormat::Mhtml:
        return saveMhtml(job.view, file.path);
    case CaptureFormat::Pdf:
        return printPdf(job.view, file.path);
    case CaptureFormat::Png:
        // Taken now while the page is on view: a page that has just loaded is drawn by now.
        return writePng(job.view && job.view->isVisible() && !job.stopped
                                ? job.view->grab().toImage()
                                : job.shown,
                        file.path);
    }
}

void WebCapture::saveMhtml(WebView *view, const QString &path)
{
    // The engine hands the saved page over as a download of its profile, already accepted.
    m_waits.append(connect(view->page()->profile(), &QWebEngineProfile::downloadRequested, this,
                           [this, path](QWebEngineDownloadRequest *download) {
                               if (download->isSavePageDownload())
                                   watchSave(download, path);
                           }));
    view->page()->save(path, QWebEngineDownloadRequest::MimeHtmlSaveFormat);
}

void WebCapture::watchSave(QWebEngineDownloadRequest *download, const QString &path)
{
    if (QFileInfo(QDir(download->downloadDirectory()).filePath(download->downloadFileName()))
        != QFileInfo(path))
        return;
    m_save = download;
    const auto check = [this, download] {
        switch (download->state()) {
        case QWebEngineDownloadRequest::DownloadCompleted:
            return done({});
        case QWebEngineDownloadRequest::DownloadCancelled:
            return done(tr("the engine cancelled the save"));
        case QWebEngineDownloadRequest::DownloadInterrupted:
            return done(download->interruptReasonString());
        default:
            return;
        }
    };
    m_waits.append(connect(download, &QWebEngineDownloadRequest::stateChanged, this, check));
    check();
}

void WebCapture::printPdf(WebView *view, const QString &path)
{
    m_waits.append(connect(view->page(), &QWebEnginePage::pdfPrintingFinished, this,
                           [this, path](const QString &file, bool ok) {
                               if (file == path)
                                   done(ok ? QString() : tr("the page could not be printed"));
                           }));
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter);
    view->page()->printToPdf(path, layout);
}

// Encoded away from the window's thread: a large view takes a while to compress.
void WebCapture::writePng(const QImage &image, const QString &path)
{
    if (image.isNull())
        return done(tr("the page was not on view, so no picture of it was taken"));
    auto ok = std::make_shared<bool>(false);
    QThread *worker = QThread::create([image, path, ok] { *ok = image.save(path, "PNG"); });
    m_waits.append(connect(worker, &QThread::finished, this, [this, ok] {
        done(*ok ? QString() : tr("the picture could not be written"));
    }));
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void WebCapture::done(const QString &error)
{
    if (!m_busy)
        return;
    for (const QMetaObject::Connection &wait : std::as_const(m_waits))
        disconnect(wait);
    m_waits.clear();
    m_save = nullptr;
    m_timeout.stop();
    CaptureOutcome outcome = m_current;
    outcome.error = error;
    if (!error.isEmpty())
        QFile::remove(outcome.path); // a part written is no capture
    m_busy = false;
    Q_EMIT finished(outcome);
    // Later: the engine may still be calling out of the page that finished.
    QMetaObject::invokeMethod(this, [this] { if (!m_busy) next(); }, Qt::QueuedConnection);
}
