// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Captures of pages (engine plugin): the page as MHTML, printed to PDF, and a PNG of what the
// view showed when the capture was asked for, written one after the other. The engine of Qt 6.4
// ends the process when a page is saved while it prints, so nothing here runs two at once, and
// captures asked for meanwhile wait in line.
#include "PaneRequest.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWebEngineDownloadRequest;
class WebView;

class WebCapture : public QObject
{
    Q_OBJECT
    // The longest the engine may take over one file before the file counts as failed; then the
    // page's save is cancelled and its renderer ended, so that the printing of a huge page
    // neither goes on nor holds up the pane's next search.
    Q_PROPERTY(int timeoutMs READ timeoutMs WRITE setTimeoutMs)

public:
    static constexpr int TimeoutMs = 60000;

    explicit WebCapture(QObject *parent);

    int timeoutMs() const { return m_timeout.interval(); }
    void setTimeoutMs(int ms) { m_timeout.setInterval(ms); }

    // The view's page into the files, after the captures asked for before.
    void add(WebView *view, int id, const QList<CaptureFile> &files);
    // Tells of every file as failed, at once, for a page that is not there.
    void fail(int id, const QList<CaptureFile> &files, const QString &reason);

Q_SIGNALS:
    void finished(const CaptureOutcome &outcome);

private:
    struct Job
    {
        QPointer<WebView> view;
        int id = 0;
        QList<CaptureFile> files;
        QImage shown; // the view as it was when the capture was asked for
        bool stopped = false; // its renderer was ended: only the picture is left to write
    };

    void next();
    void start(Job &job, const CaptureFile &file);
    void saveMhtml(WebView *view, const QString &path);
    void watchSave(QWebEngineDownloadRequest *download, const QString &path);
    void printPdf(WebView *view, const QString &path);
    void writePng(const QImage &image, const QString &path);
    void done(const QString &error);
    void timedOut();

    QList<Job> m_jobs;
    bool m_busy = false;
    CaptureOutcome m_current;
    QList<QMetaObject::Connection> m_waits;
    QPointer<QWebEngineDownloadRequest> m_save; // the save of the file now written, if any
    QTimer m_timeout;
};
